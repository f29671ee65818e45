#include "app/own_settings.h"

#include <optional>
#include <string>

namespace quorvin {

Path ownSettingsPath;
OwnSettings ownSettings;

namespace {

constexpr std::string_view kUnicodeOutputKey = "unicodeOutput";
constexpr std::string_view kGridVisibleKey = "gridVisible";
constexpr std::string_view kGridSnapKey = "gridSnap";
constexpr std::string_view kGridStepKey = "gridStep";

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

std::optional<bool> parseFlag(std::string_view value) {
  if (value == "1") return true;
  if (value == "0") return false;
  return std::nullopt;
}

std::optional<int> parseGridStep(std::string_view value) {
  for (const int step : kGridSteps)
    if (value == std::to_string(step)) return step;
  return std::nullopt;
}

// Applies one known "key=value" line; false when the key is not one of
// ours (the line is then kept as it was).
bool applyKnownLine(OwnSettings& settings, std::string_view key, std::string_view value) {
  if (key == kGridStepKey) {
    if (const std::optional<int> step = parseGridStep(value)) settings.gridStep = *step;
    return true;
  }
  bool* flag = key == kUnicodeOutputKey ? &settings.unicodeOutput
               : key == kGridVisibleKey ? &settings.gridVisible
               : key == kGridSnapKey    ? &settings.gridSnap
                                        : nullptr;
  if (flag == nullptr) return false;
  if (const std::optional<bool> parsed = parseFlag(value)) *flag = *parsed;
  return true;
}

}  // namespace

OwnSettings parseOwnSettings(std::string_view bytes) {
  OwnSettings settings;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t equals = line.find('=');
    const bool known = equals != std::string_view::npos &&
                       applyKnownLine(settings, trimmed(line.substr(0, equals)),
                                      trimmed(line.substr(equals + 1)));
    if (!known && !trimmed(line).empty()) {
      settings.otherLines.emplace_back(line);
    }
  }
  return settings;
}

std::string serializeOwnSettings(const OwnSettings& settings) {
  std::string text;
  const auto flag = [&text](std::string_view key, bool on) {
    text.append(key).append(on ? "=1\n" : "=0\n");
  };
  flag(kUnicodeOutputKey, settings.unicodeOutput);
  // The grid's lines appear once the user has changed them from the
  // defaults, so a file of an earlier version stays as it was written.
  const OwnSettings defaults;
  if (settings.gridVisible != defaults.gridVisible) flag(kGridVisibleKey, settings.gridVisible);
  if (settings.gridSnap != defaults.gridSnap) flag(kGridSnapKey, settings.gridSnap);
  if (settings.gridStep != defaults.gridStep)
    text.append(kGridStepKey).append("=").append(std::to_string(settings.gridStep)).append("\n");
  for (const std::string& line : settings.otherLines) text.append(line).append("\n");
  return toCrLf(text);
}

OwnSettings readOwnSettings(const Path& path) {
  const std::optional<std::string> bytes = readFileBytes(path, std::size_t(1) << 20);
  return bytes ? parseOwnSettings(*bytes) : OwnSettings{};
}

bool writeOwnSettings(const Path& path, const OwnSettings& settings) {
  return !path.empty() && writeFileReplacing(path, serializeOwnSettings(settings));
}

}  // namespace quorvin

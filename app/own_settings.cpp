#include "app/own_settings.h"

#include <optional>

namespace quorvin {

Path ownSettingsPath;
OwnSettings ownSettings;

namespace {

constexpr std::string_view kUnicodeOutputKey = "unicodeOutput";

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
                       trimmed(line.substr(0, equals)) == kUnicodeOutputKey;
    if (known) {
      if (const std::optional<bool> flag = parseFlag(trimmed(line.substr(equals + 1))))
        settings.unicodeOutput = *flag;
    } else if (!trimmed(line).empty()) {
      settings.otherLines.emplace_back(line);
    }
  }
  return settings;
}

std::string serializeOwnSettings(const OwnSettings& settings) {
  std::string text;
  text.append(kUnicodeOutputKey).append(settings.unicodeOutput ? "=1\n" : "=0\n");
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

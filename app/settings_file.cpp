#include "app/settings_file.h"

#include <array>
#include <limits>

namespace quorvin {


namespace {

// setting.ini is a handful of short lines; anything bigger is not ours.
constexpr std::size_t kMaxSettingsBytes = 64 * 1024;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The five names in the order the file holds them.
std::array<std::string*, 5> inFileOrder(VariableNames& names) {
  return {&names.hfont, &names.hrgn, &names.hwnd, &names.hinstance, &names.point};
}
std::array<const std::string*, 5> inFileOrder(const VariableNames& names) {
  return {&names.hfont, &names.hrgn, &names.hwnd, &names.hinstance, &names.point};
}

}  // namespace

std::optional<std::int32_t> parseNumberLine(std::string_view line) {
  line = trimBlanks(line);
  bool negative = false;
  if (!line.empty() && line.front() == '-') {
    negative = true;
    line.remove_prefix(1);
  }
  if (line.empty()) return std::nullopt;
  // Accumulate as a negative number so that INT32_MIN fits.
  constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (char c : line) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > kLimit) return std::nullopt;
  }
  if (!negative && magnitude == kLimit) return std::nullopt;
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::string_view settingNameAsWritten(std::string_view name) {
  // Written the way the reader takes them back: trimmed, and a blank name as
  // "NO_DATA", the same as an empty field of the Settings dialog. A blank
  // line would make the reader refuse the whole file.
  name = trimBlanks(name);
  return name.empty() ? std::string_view("NO_DATA") : name;
}

std::string serializeSettings(const VariableNames& names) {
  std::array<std::string_view, 5> written;
  const std::array<const std::string*, 5> slots = inFileOrder(names);
  for (std::size_t i = 0; i < 5; ++i) written[i] = settingNameAsWritten(*slots[i]);
  std::string text;
  for (std::string_view name : written) text += std::to_string(name.size()) + '\n';
  for (std::string_view name : written) {
    text += name;
    text += '\n';
  }
  return toCrLf(text);
}

ReadResult parseSettings(std::string_view bytes, VariableNames& names) {
  const auto damaged = [](const char* where) { return ReadResult{ReadProblem::Damaged, where}; };
  std::array<std::string_view, 10> lines;
  std::size_t found = 0;
  while (found < lines.size() && !bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines[found++] = line;
  }
  if (found < lines.size()) return damaged("fewer than ten lines");

  // The stated lengths only prove the file is ours; a name edited by hand
  // to another length is still taken.
  for (std::size_t i = 0; i < 5; ++i) {
    const std::optional<std::int32_t> length = parseNumberLine(lines[i]);
    if (!length || *length < 0) return damaged("a length line");
  }
  std::array<std::string_view, 5> read;
  for (std::size_t i = 0; i < 5; ++i) {
    read[i] = trimBlanks(lines[5 + i]);
    if (read[i].empty()) return damaged("an empty name line");
  }
  const std::array<std::string*, 5> slots = inFileOrder(names);
  for (std::size_t i = 0; i < 5; ++i) slots[i]->assign(read[i]);
  return {};
}

ReadResult readSettings(const Path& path, VariableNames& names) {
  const std::optional<std::string> bytes = readFileBytes(path, kMaxSettingsBytes);
  if (!bytes) return unreadableFile(path);
  return parseSettings(*bytes, names);
}

bool writeSettings(const Path& path, const VariableNames& names) {
  if (path.empty()) return false;  // not fixed yet: never write beside the current folder
  // A line feed inside a name would shift every later line of the file.
  for (const std::string* name : inFileOrder(names))
    if (name->find('\n') != std::string::npos) return false;
  return writeFileReplacing(path, serializeSettings(names));
}


}  // namespace quorvin

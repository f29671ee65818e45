#include "codegen/c_text.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

#include "common/cp932.h"

namespace quorvin {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view upToNul(std::string_view text) {
  const std::size_t nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

// `text` without the blanks around it.
std::string_view withoutBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view trimmed(std::string_view text) { return withoutBlanks(upToNul(text)); }

// An identifier's characters, for a name already trimmed.
bool isIdentifier(std::string_view name) {
  if (name.empty() || (name.front() >= '0' && name.front() <= '9')) return false;
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                    c == '_' || byte >= 0x80;
    if (!ok) return false;
  }
  return true;
}

bool needsEscape(char c) { return c == '\\' || c == '"'; }

// Walks `text` by characters, calling emit(bytes, escaped) for each.
template <typename Emit>
void forEachCharacter(std::string_view text, Emit emit) {
  text = upToNul(text);
  for (std::size_t i = 0; i < text.size();) {
    if (isCp932LeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) {
      emit(text.substr(i, 2), false);
      i += 2;
    } else {
      emit(text.substr(i, 1), needsEscape(text[i]));
      ++i;
    }
  }
}

// Which object first used each ID name: an open-addressing table of object
// indices, the names read back through `nameOf`. One allocation for all the
// names instead of a node each; on large designs the node table was a tenth
// of quorvin-gen's time.
template <typename NameOf>
class FirstUse {
 public:
  FirstUse(std::size_t count, NameOf nameOf) : nameOf_(nameOf) {
    // At most three quarters full: short probes, and a table of 10,000
    // names that stays within 128 kB (every fresh page costs a process).
    std::size_t capacity = 16;
    while (capacity * 3 < count * 4) capacity *= 2;
    slots_.assign(capacity, Slot{});
    mask_ = capacity - 1;
  }

  // The first object whose name equals object `index`'s; `index` itself
  // when none did before.
  std::size_t firstOf(std::size_t index) { return firstOf(index, nameOf_(index)); }
  // The same for a caller that has the name at hand: nameOf(index).
  std::size_t firstOf(std::size_t index, std::string_view name) {
    const auto hash = static_cast<std::uint32_t>(std::hash<std::string_view>{}(name));
    for (std::size_t at = hash & mask_;; at = (at + 1) & mask_) {
      Slot& slot = slots_[at];
      if (slot.index == kEmpty) {
        slot = {hash, static_cast<std::uint32_t>(index)};
        return index;
      }
      if (slot.hash == hash && nameOf_(slot.index) == name) return slot.index;
    }
  }

 private:
  static constexpr std::uint32_t kEmpty = UINT32_MAX;
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t index = kEmpty;
  };
  NameOf nameOf_;
  std::vector<Slot> slots_;
  std::size_t mask_ = 0;
};

// Most texts hold nothing to escape: they are used as they are.
bool nothingToEscape(std::string_view text) {
  return std::none_of(text.begin(), text.end(), needsEscape);
}

void appendEscaped(std::string_view text, std::string& out) {
  forEachCharacter(text, [&out](std::string_view bytes, bool escaped) {
    if (escaped) out += '\\';
    out += bytes;
  });
}

}  // namespace

void escapeCText(std::string_view text, std::string& out) {
  out.clear();
  text = upToNul(text);
  if (nothingToEscape(text)) {
    out.assign(text);
    return;
  }
  appendEscaped(text, out);
}

std::string_view escapedCTextView(std::string_view text, std::string& storage) {
  text = upToNul(text);
  if (nothingToEscape(text)) return text;
  storage.clear();
  appendEscaped(text, storage);
  return storage;
}

std::string escapedCText(std::string_view text) {
  std::string out;
  escapeCText(text, out);
  return out;
}

std::size_t escapedCTextLength(std::string_view text) {
  std::size_t length = 0;
  forEachCharacter(text, [&length](std::string_view bytes, bool escaped) {
    length += bytes.size() + (escaped ? 1 : 0);
  });
  return length;
}

bool isIdentifierName(std::string_view name) { return isIdentifier(trimmed(name)); }

std::vector<WrittenId> writtenIds(std::span<const DesignObject> objects) {
  std::vector<WrittenId> ids;
  ids.reserve(objects.size());
  FirstUse firstUse(objects.size(),
                    [objects](std::size_t i) { return trimmed(objects[i].idName); });
  for (std::size_t i = 0; i < objects.size(); ++i) {
    // Each name cut at its NUL and trimmed once: thousands of controls.
    const std::string_view name = upToNul(objects[i].idName);
    const std::string_view core = withoutBlanks(name);
    WrittenId& id = ids.emplace_back();
    id.defined = isIdentifier(core) && firstUse.firstOf(i, core) == i;
    if (id.defined) {
      id.text.assign(name);
    } else {
      id.text = std::to_string(controlNumber(i));
    }
  }
  return ids;
}

std::vector<IdNameWarning> idNameWarnings(std::span<const DesignObject> objects) {
  std::vector<IdNameWarning> warnings;
  std::unordered_map<std::string_view, std::size_t> repeated;  // name -> warning index
  FirstUse firstUse(objects.size(),
                    [objects](std::size_t i) { return trimmed(objects[i].idName); });
  for (std::size_t i = 0; i < objects.size(); ++i) {
    const std::string_view name = trimmed(objects[i].idName);
    if (name.empty()) continue;
    if (!isIdentifier(name)) {
      warnings.push_back({IdNameWarning::Kind::NotIdentifier, std::string(name), {controlNumber(i)}});
      continue;
    }
    const std::size_t first = firstUse.firstOf(i, name);
    if (first == i) continue;
    const auto [entry, isNewRepeat] = repeated.emplace(name, warnings.size());
    if (isNewRepeat) {
      warnings.push_back(
          {IdNameWarning::Kind::Repeated, std::string(name), {controlNumber(first)}});
    }
    warnings[entry->second].numbers.push_back(controlNumber(i));
  }
  return warnings;
}

std::vector<IdNameWarning> idNameWarnings(std::span<const DesignObject> objects,
                                          std::span<const WrittenId> ids) {
  // A name is warned about exactly when it is not blank and not written as
  // it stands.
  for (std::size_t i = 0; i < objects.size(); ++i) {
    if (i >= ids.size() || (!ids[i].defined && !trimmed(objects[i].idName).empty()))
      return idNameWarnings(objects);
  }
  return {};
}

std::string describeIdNameWarning(const IdNameWarning& warning) {
  std::string numbers;
  for (std::int64_t number : warning.numbers) {
    if (!numbers.empty()) numbers += ", ";
    numbers += std::to_string(number);
  }
  const std::string name = "'" + cp932ToUtf8(warning.name) + "'";
  if (warning.kind == IdNameWarning::Kind::Repeated) {
    return "ID name " + name + " is used by " + std::to_string(warning.numbers.size()) +
           " controls (" + numbers + "); all but the first are written as their numbers";
  }
  return "ID name " + name + " of control " + numbers +
         " is not a C identifier; it is written as its number";
}

std::string idNameQuestion(const std::vector<IdNameWarning>& warnings) {
  // A long list would make the box taller than the screen.
  constexpr std::size_t kShownLines = 10;
  std::string repeated;
  std::string notIdentifiers;
  std::size_t shown = 0;
  for (const IdNameWarning& warning : warnings) {
    if (shown == kShownLines) break;
    ++shown;
    std::string line = "    " + cp932ToUtf8(warning.name) + " (";
    for (std::size_t i = 0; i < warning.numbers.size(); ++i) {
      if (i > 0) line += ", ";
      line += std::to_string(warning.numbers[i]);
    }
    line += ")\n";
    (warning.kind == IdNameWarning::Kind::Repeated ? repeated : notIdentifiers) += line;
  }
  std::string text;
  if (!repeated.empty()) {
    text += "次の ID 名は複数のコントロールで使われています。"
            "2 つ目からのコントロールは番号で出力されます。\n" +
            repeated;
  }
  if (!notIdentifiers.empty()) {
    if (!text.empty()) text += "\n";
    text += "次の ID 名は C の識別子ではないため、番号で出力されます。\n" + notIdentifiers;
  }
  if (warnings.size() > shown) {
    text += "    ほか " + std::to_string(warnings.size() - shown) + " 件\n";
  }
  text += "\nこのままコードを出力しますか？";
  return text;
}

}  // namespace quorvin

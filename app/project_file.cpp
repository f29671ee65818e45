#include "app/project_file.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <optional>

#include "app/settings_file.h"

namespace quorvin {

// The font block is the platform's LOGFONTA as it lies in memory.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr std::string_view kComma = ",";
constexpr std::string_view kEscapedComma = "%20%";


// Extra zeroed entries behind the objects and the points read, so that the
// editor can add some before the arrays grow.
constexpr std::int32_t kSpareEntries = 10;

// The smallest space a record can take in the file: every line has at least
// its line feed, and a number line at least one digit before it.
constexpr std::size_t kMinObjectBytes = 10;
constexpr std::size_t kMinPointBytes = 4;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The digits of a number line read without the general parser: never more
// than an int32 holds.
constexpr std::size_t kShortNumberDigits = 9;
// The digits of a style: a uint32 has at most ten.
constexpr std::size_t kMaxStyleDigits = 10;

// Reads the file from front to back. Every call either takes what it
// expects and moves on, or fails without moving.
class LineReader {
 public:
  explicit LineReader(std::string_view bytes) : rest_(bytes) {}

  std::size_t remaining() const { return rest_.size(); }

  // The next line without its line end (LF or CR LF). A line must end with
  // a line feed: a file cut inside its last line is truncated, not short.
  std::optional<std::string_view> line() {
    const std::size_t end = rest_.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    std::string_view result = rest_.substr(0, end);
    if (!result.empty() && result.back() == '\r') result.remove_suffix(1);
    rest_.remove_prefix(end + 1);
    return result;
  }

  // The numbers and the style are written through `out` rather than
  // returned as optionals: an optional comes back through memory as an int
  // and a flag written apart and read as one word, a stall per field that
  // cost more than reading the digits.
  bool number(std::int32_t& out) { return shortNumber(out) || numberAnyForm(out); }

  // An unsigned 32-bit decimal followed directly by the letters "ld".
  bool style(std::uint32_t& out) {
    // Written by this program: the digits, "ld" and the line end.
    std::uint64_t digits = 0;
    std::size_t at = 0;
    while (at < rest_.size() && at < kMaxStyleDigits && rest_[at] >= '0' && rest_[at] <= '9')
      digits = digits * 10 + static_cast<std::uint64_t>(rest_[at++] - '0');
    if (at > 0 && digits <= std::numeric_limits<std::uint32_t>::max() &&
        rest_.substr(at, 4) == "ld\r\n") {
      rest_.remove_prefix(at + 4);
      out = static_cast<std::uint32_t>(digits);
      return true;
    }
    return styleAnyForm(out);
  }

  // A text line whose escaped length was stated as `length`. The text is the
  // whole line (inner and outer blanks kept); a length of 0 means an empty
  // text, whose line is consumed all the same. A length beyond what is left
  // of the file marks the file as damaged.
  bool text(std::int32_t length, std::string& out) {
    if (length < 0 || static_cast<std::size_t>(length) > rest_.size()) return false;
    const std::optional<std::string_view> content = line();
    if (!content) return false;
    if (length == 0) {
      out.clear();
    } else if (content->find('%') == std::string_view::npos) {
      out.assign(*content);  // nothing escaped: straight into `out`
    } else {
      out = escapeText(*content, kEscapedComma, kComma);
    }
    return true;
  }

  // Nearly every number line is a few digits and its line end: those are
  // read straight away, in a call small enough to be inlined (the optional
  // of the general form, returned through memory, cost more than the digits).
  bool shortNumber(std::int32_t& value) {
    std::size_t at = !rest_.empty() && rest_[0] == '-' ? 1 : 0;
    const std::size_t digitsBegin = at;
    const std::size_t digitsEnd = std::min(rest_.size(), at + kShortNumberDigits);
    std::int32_t magnitude = 0;
    while (at < digitsEnd && rest_[at] >= '0' && rest_[at] <= '9')
      magnitude = magnitude * 10 + (rest_[at++] - '0');
    if (at == digitsBegin || at >= rest_.size()) return false;
    std::size_t end = at;
    if (rest_[end] == '\r' && end + 1 < rest_.size()) ++end;
    if (rest_[end] != '\n') return false;
    rest_.remove_prefix(end + 1);
    value = digitsBegin == 1 ? -magnitude : magnitude;
    return true;
  }

  [[gnu::noinline]] bool numberAnyForm(std::int32_t& out) {
    return anyForm(out, parseNumberLine);
  }
  [[gnu::noinline]] bool styleAnyForm(std::uint32_t& out) { return anyForm(out, parseStyle); }

  // A whole line parsed by `parse`; on failure nothing is taken.
  template <typename Value, typename Parse>
  bool anyForm(Value& out, Parse parse) {
    LineReader saved = *this;
    const std::optional<std::string_view> text = line();
    const std::optional<Value> value = text ? parse(*text) : std::nullopt;
    if (!value) {
      *this = saved;
      return false;
    }
    out = *value;
    return true;
  }

  // The 60 bytes of the font record, each 0x0D 0x0A pair standing for one
  // 0x0A; every other byte value is taken as it is.
  bool font(FontSpec& out) {
    unsigned char raw[sizeof(FontSpec)];
    std::size_t taken = 0;
    std::size_t at = 0;
    while (taken < sizeof raw) {
      if (at >= rest_.size()) return false;
      if (rest_[at] == '\r' && at + 1 < rest_.size() && rest_[at + 1] == '\n') {
        raw[taken++] = '\n';
        at += 2;
      } else {
        raw[taken++] = static_cast<unsigned char>(rest_[at]);
        at += 1;
      }
    }
    std::memcpy(&out, raw, sizeof raw);
    rest_.remove_prefix(at);
    return true;
  }

 private:
  static std::optional<std::uint32_t> parseStyle(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    if (text.size() < 3 || text.substr(text.size() - 2) != "ld") return std::nullopt;
    text.remove_suffix(2);
    std::uint64_t value = 0;
    for (char c : text) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + static_cast<std::uint64_t>(c - '0');
      if (value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
  }

  std::string_view rest_;
};

bool hasLineFeed(std::string_view text) {
  return text.find('\n') != std::string_view::npos;
}

void appendLine(std::string& out, std::string_view text) {
  out += text;
  out += '\n';
}

template <typename Number>
void appendNumber(std::string& out, Number value) {
  appendLine(out, std::to_string(value));
}

// Two length lines, then the two escaped texts, as headers and objects hold
// them.
void appendTextPair(std::string& out, std::string_view first, std::string_view second) {
  const std::string a = escapeText(first, kComma, kEscapedComma);
  const std::string b = escapeText(second, kComma, kEscapedComma);
  appendNumber(out, a.size());
  appendNumber(out, b.size());
  appendLine(out, a);
  appendLine(out, b);
}

}  // namespace

std::string escapeText(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string out;
  out.reserve(text.size());
  std::size_t at = 0;
  for (;;) {
    const std::size_t hit = text.find(from, at);
    if (hit == std::string_view::npos) break;
    out.append(text, at, hit - at);
    out += to;
    at = hit + from.size();
  }
  out.append(text, at);
  return out;
}

bool canSaveProject(const Project& source, const std::vector<DesignObject>& objects) {
  if (source.objectCount < 0 || static_cast<std::size_t>(source.objectCount) > objects.size())
    return false;
  switch (source.regionMode) {
    case RegionMode::Rectangle:
      if (source.pointCount != 0) return false;
      break;
    case RegionMode::Polygon:
      if (source.pointCount < 3 ||
          static_cast<std::size_t>(source.pointCount) > source.markerPoints.size())
        return false;
      break;
    default:
      return false;
  }
  if (hasLineFeed(source.className) || hasLineFeed(source.title)) return false;
  for (std::int32_t i = 0; i < source.objectCount; ++i) {
    const DesignObject& object = objects[static_cast<std::size_t>(i)];
    if (!isKnownObjectKind(static_cast<std::int32_t>(object.kind))) return false;
    if (hasLineFeed(object.caption) || hasLineFeed(object.idName)) return false;
  }
  return true;
}

std::string serializeProject(const Project& source, const std::vector<DesignObject>& objects) {
  const std::size_t objectCount =
      std::min(static_cast<std::size_t>(std::max(source.objectCount, 0)), objects.size());
  const bool polygon = source.regionMode == RegionMode::Polygon;
  const std::int32_t pointCount =
      polygon ? static_cast<std::int32_t>(std::min(
                    static_cast<std::size_t>(std::max(source.pointCount, 0)),
                    source.markerPoints.size()))
              : source.pointCount;

  // Built with LF line ends, then translated as a whole, the font block
  // included: that is how the platform's text mode writes it.
  std::string text;
  appendNumber(text, objectCount);
  appendNumber(text, source.x);
  appendNumber(text, source.y);
  appendNumber(text, source.width);
  appendNumber(text, source.height);
  appendNumber(text, static_cast<std::int32_t>(source.regionMode));
  appendNumber(text, pointCount);
  appendTextPair(text, source.className, source.title);

  if (polygon) {
    for (std::int32_t i = 0; i < pointCount; ++i) {
      const RegionPoint& point = source.markerPoints[static_cast<std::size_t>(i)];
      appendNumber(text, point.x);
      appendNumber(text, point.y);
    }
  }

  char font[sizeof(FontSpec)];
  std::memcpy(font, &source.font, sizeof font);
  text.append(font, sizeof font);

  for (std::size_t i = 0; i < objectCount; ++i) {
    const DesignObject& object = objects[i];
    appendNumber(text, static_cast<std::int32_t>(object.kind));
    appendNumber(text, object.x);
    appendNumber(text, object.y);
    appendNumber(text, object.width);
    appendNumber(text, object.height);
    appendLine(text, std::to_string(object.style) + "ld");
    appendTextPair(text, object.caption, object.idName);
  }
  return toCrLf(text);
}

namespace {

// Reads everything before the controls into `out` as parseProjectWhy does,
// objectCount included; a damaged header leaves `out` untouched and says
// which part.
ReadResult readHeader(LineReader& in, Project& out) {
  const char* part = "header";
  const auto damaged = [&part] { return ReadResult{ReadProblem::Damaged, part}; };
  Project read;  // surface, fontHandle, activeMarker 0; activePoint -1

  std::int32_t objectCount = 0, x = 0, y = 0, width = 0, height = 0, mode = 0, pointCount = 0;
  if (!in.number(objectCount) || !in.number(x) || !in.number(y) || !in.number(width) ||
      !in.number(height) || !in.number(mode) || !in.number(pointCount))
    return damaged();
  if (objectCount < 0) return damaged();
  if (mode == static_cast<std::int32_t>(RegionMode::Rectangle)) {
    if (pointCount != 0) return damaged();
  } else if (mode == static_cast<std::int32_t>(RegionMode::Polygon)) {
    if (pointCount < 3) return damaged();
  } else {
    return damaged();
  }
  read.x = x;
  read.y = y;
  read.width = width;
  read.height = height;
  read.regionMode = static_cast<RegionMode>(mode);

  part = "title and class name";
  std::int32_t classLength = 0, titleLength = 0;
  if (!in.number(classLength) || !in.number(titleLength)) return damaged();
  if (!in.text(classLength, read.className) || !in.text(titleLength, read.title)) return damaged();

  part = "outline points";
  if (read.regionMode == RegionMode::Polygon) {
    // The count must fit in what is left before anything is allocated for it.
    if (static_cast<std::size_t>(pointCount) > in.remaining() / kMinPointBytes ||
        pointCount > std::numeric_limits<std::int32_t>::max() - kSpareEntries)
      return damaged();
    std::vector<RegionPoint> markers;
    for (std::int32_t i = 0; i < pointCount; ++i) {
      RegionPoint point{};
      if (!in.number(point.x) || !in.number(point.y)) return damaged();
      markers.push_back(point);
    }
    read.growPointArrays(pointCount + kSpareEntries);
    std::copy(markers.begin(), markers.end(), read.markerPoints.begin());
    read.pointCount = pointCount;
  }

  part = "font";
  if (!in.font(read.font)) return damaged();
  part = "controls";
  if (static_cast<std::size_t>(objectCount) > in.remaining() / kMinObjectBytes) return damaged();
  read.objectCount = objectCount;

  out = std::move(read);
  return {};
}

// The next control into `object` (kind, position, size, style and both
// texts; the texts keep their room). False when the control is damaged or
// cut short; `object` may then be half filled.
bool readControl(LineReader& in, DesignObject& object) {
  std::int32_t kind = 0, x = 0, y = 0, width = 0, height = 0, captionLength = 0, idLength = 0;
  std::uint32_t style = 0;
  if (!in.number(kind) || !isKnownObjectKind(kind)) return false;
  if (!in.number(x) || !in.number(y) || !in.number(width) || !in.number(height) ||
      !in.style(style) || !in.number(captionLength) || !in.number(idLength))
    return false;
  if (!in.text(captionLength, object.caption) || !in.text(idLength, object.idName))
    return false;
  object.kind = static_cast<ObjectKind>(kind);
  object.x = x;
  object.y = y;
  object.width = width;
  object.height = height;
  object.style = style;
  return true;
}

}  // namespace

ReadResult parseProjectWhy(std::string_view bytes, Project& out,
                           std::vector<DesignObject>& outObjects) {
  LineReader in(bytes);
  Project read;
  if (ReadResult header = readHeader(in, read); !header) return header;
  std::vector<DesignObject> objects;
  objects.reserve(static_cast<std::size_t>(read.objectCount) + kSpareEntries);
  for (std::int32_t i = 0; i < read.objectCount; ++i) {
    // Read in place (the room is reserved): moving each object in copied
    // its short texts once more. A damaged file drops the whole list.
    if (!readControl(in, objects.emplace_back()))  // window and savedProc 0
      return {ReadProblem::Damaged, "controls"};
  }
  objects.resize(objects.size() + kSpareEntries);

  out = std::move(read);
  outObjects = std::move(objects);
  return {};
}

bool saveProject(const Path& path, const Project& source,
                 const std::vector<DesignObject>& objects) {
  if (path.empty() || !canSaveProject(source, objects)) return false;
  return writeFileReplacing(path, serializeProject(source, objects));
}

bool saveProject(const Path& path) { return saveProject(path, project, objects); }

bool parseProject(std::string_view bytes, Project& out, std::vector<DesignObject>& outObjects) {
  return static_cast<bool>(parseProjectWhy(bytes, out, outObjects));
}

ReadResult readProject(const Path& path, Project& out, std::vector<DesignObject>& outObjects) {
  const std::optional<FileView> file = FileView::open(path, kMaxProjectFileBytes);
  if (!file) return unreadableFile(path);
  Project read;
  std::vector<DesignObject> readObjects;
  if (ReadResult parsed = parseProjectWhy(file->bytes(), read, readObjects); !parsed) return parsed;
  out = std::move(read);
  outObjects = std::move(readObjects);
  return {};
}

}  // namespace quorvin

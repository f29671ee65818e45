#include "codegen/code_output.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "codegen/statements.h"
#include "common/cp932.h"
#include "common/file_io.h"

namespace quorvin {

std::filesystem::path templatePath;

namespace {

constexpr std::array<std::string_view, kPlaceholderCount> kPlaceholderTexts = {
    "$TITLE$", "$C_NAME$",  "$HWND$",        "$INST$",     "$HFONT$",  "$X$",
    "$Y$",     "$WIDTH$",   "$HEIGHT$",      "$ADD_OBJ$",  "$DEFINE$", "$CREATE_FONT$",
    "$SET_FONT$", "$POINT$", "$ADD_POINT$", "$DELHRGN$",
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Where rendering continues after the placeholder at `position`: just after
// the first '$' that follows its opening '$', which is its closing one.
std::size_t afterClosingDollar(std::string_view templateText, std::size_t position) {
  const std::size_t closing = templateText.find('$', position + 1);
  return closing == std::string_view::npos ? templateText.size() : closing + 1;
}

// The line indentation of a text that had `before` and then got `appended`.
std::size_t indentationAfter(std::size_t before, std::string_view appended) {
  std::size_t i = appended.size();
  while (i > 0 && isBlank(appended[i - 1])) --i;
  const std::size_t blanks = appended.size() - i;
  if (i == 0) return before + blanks;
  return appended[i - 1] == '\n' ? blanks : 0;
}

// A model text as the C string it stands for.
std::string cText(const std::string& text) { return std::string(text.c_str()); }

}  // namespace

// ---------------------------------------------------------------------------
// Files.

std::optional<std::string> readCodeTemplate(const std::filesystem::path& path) {
  std::optional<std::string> bytes = readFileBytes(path);
  if (!bytes) return std::nullopt;
  const std::size_t nul = bytes->find('\0');
  if (nul != std::string::npos) bytes->resize(nul);
  return fromCrLf(*bytes);
}

bool writeCodeFile(const std::filesystem::path& path, std::string_view text) {
  const std::size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  const std::string bytes = toCrLf(text);
  return writeFileReplacing(path, bytes) && !bytes.empty();
}

std::filesystem::path templateFor(const std::filesystem::path& defaultTemplate,
                                  CodeEncoding encoding) {
  if (encoding == CodeEncoding::Cp932) return defaultTemplate;
  return defaultTemplate.parent_path() / kUnicodeTemplateFileName;
}

CodeOutputResult outputCode(const std::filesystem::path& templateFile,
                            const std::filesystem::path& target, CodeEncoding encoding) {
  const std::optional<std::string> templateText = readCodeTemplate(templateFile);
  if (!templateText) return CodeOutputResult::TemplateUnreadable;
  const std::string output = generateCode(*templateText, encoding);
  return writeCodeFile(target, output) ? CodeOutputResult::Written
                                       : CodeOutputResult::WriteFailed;
}

// ---------------------------------------------------------------------------
// The output text and the shared operations.

OutputBuffer::OutputBuffer(std::size_t capacity, Drain drain)
    : bytes_(new char[capacity + 1]), capacity_(capacity), drain_(std::move(drain)) {
  bytes_[0] = '\0';
}

char* OutputBuffer::reserveTail(std::size_t count) {
  if (size_ + count > capacity_ && drain_) {
    std::size_t finished = size_;
    while (finished > 0 && bytes_[finished - 1] != '\n') --finished;
    if (finished > 0) {
      drain_(std::string_view(bytes_.get(), finished));
      size_ -= finished;
      std::memmove(bytes_.get(), bytes_.get() + finished, size_);
      bytes_[size_] = '\0';
    }
  }
  if (size_ + count > capacity_) {
    const std::size_t capacity = std::max(size_ + count, capacity_ * 2);
    std::unique_ptr<char[]> grown(new char[capacity + 1]);
    std::memcpy(grown.get(), bytes_.get(), size_ + 1);
    bytes_ = std::move(grown);
    capacity_ = capacity;
    grew_ = true;
  }
  return bytes_.get() + size_;
}

void OutputBuffer::append(std::string_view text) {
  if (text.empty()) return;
  char* tail = reserveTail(text.size());
  std::memcpy(tail, text.data(), text.size());
  tail[text.size()] = '\0';
  size_ += text.size();
}

void OutputBuffer::append(char c) { append(std::string_view(&c, 1)); }

void OutputBuffer::dropLast() {
  if (size_ > 0) bytes_[--size_] = '\0';
}

void OutputBuffer::drainAll() {
  if (!drain_ || size_ == 0) return;
  drain_(view());
  size_ = 0;
  bytes_[0] = '\0';
}

namespace {

// True when `format` holds no conversions but %s, %d, %lld and %%: the forms
// of the generated statements, which formatOwn writes without the C
// library's formatter (that formatter was the larger part of generation).
bool onlySimpleConversions(const char* format) {
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == 's' || *p == 'd' || *p == '%') continue;
    if (p[0] == 'l' && p[1] == 'l' && p[2] == 'd') {
      p += 2;
      continue;
    }
    return false;
  }
  return true;
}

// printf for the forms onlySimpleConversions accepts: the same text.
void formatOwn(OutputBuffer& out, const char* format, std::va_list args) {
  const char* run = format;
  const auto flush = [&out, &run](const char* end) {
    if (end > run) out.append(std::string_view(run, static_cast<std::size_t>(end - run)));
  };
  const char* p = format;
  for (;;) {
    p = std::strchr(p, '%');
    if (p == nullptr) {
      p = run + std::strlen(run);
      break;
    }
    flush(p);
    char digits[24];
    switch (p[1]) {
      case 's': {
        const char* text = va_arg(args, const char*);
        out.append(std::string_view(text == nullptr ? "(null)" : text));
        p += 2;
        break;
      }
      case 'd': {
        const auto end = std::to_chars(digits, digits + sizeof digits, va_arg(args, int)).ptr;
        out.append(std::string_view(digits, static_cast<std::size_t>(end - digits)));
        p += 2;
        break;
      }
      case 'l': {
        const auto end =
            std::to_chars(digits, digits + sizeof digits, va_arg(args, long long)).ptr;
        out.append(std::string_view(digits, static_cast<std::size_t>(end - digits)));
        p += 4;
        break;
      }
      default:  // "%%"
        out.append('%');
        p += 2;
        break;
    }
    run = p;
  }
  flush(p);
}

}  // namespace

void appendFormatted(OutputBuffer& out, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  if (onlySimpleConversions(format)) {
    formatOwn(out, format, args);
    va_end(args);
    return;
  }
  std::va_list again;
  va_copy(again, args);
  // Formatted straight into the free room behind the text, which the size
  // bound normally leaves: one pass of the formatter. Only a text that does
  // not fit is formatted a second time, after the buffer has grown.
  const std::size_t room = out.capacity() - out.size();
  const int length = std::vsnprintf(out.reserveTail(0), room + 1, format, args);
  va_end(args);
  if (length > 0) {
    const auto count = static_cast<std::size_t>(length);
    if (count > room) std::vsnprintf(out.reserveTail(count), count + 1, format, again);
    out.commitTail(count);
  }
  va_end(again);
}

std::size_t lineIndentation(std::string_view text, std::string* blanks) {
  std::size_t i = text.size();
  while (i > 0 && isBlank(text[i - 1])) --i;
  const bool lineStart = i == 0 || text[i - 1] == '\n';
  const std::size_t count = lineStart ? text.size() - i : 0;
  if (blanks != nullptr) blanks->assign(text.substr(i, count));
  return count;
}

std::size_t decimalWidth(std::int64_t value) {
  std::size_t width = value < 0 ? 1 : 0;
  std::uint64_t magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  do {
    ++width;
    magnitude /= 10;
  } while (magnitude != 0);
  return width;
}

// ---------------------------------------------------------------------------
// Placeholders.

std::string_view placeholderText(Placeholder placeholder) {
  return kPlaceholderTexts[static_cast<std::size_t>(placeholder)];
}

bool isMultiLine(Placeholder placeholder) { return placeholder >= Placeholder::AddObj; }

void OccurrenceList::add(const PlaceholderOccurrence& occurrence) {
  if (count_ + 1 >= entries_.size()) entries_.resize(entries_.size() + kGrowth);
  entries_[count_++] = occurrence;
}

void OccurrenceList::sortByPosition() {
  for (std::size_t gap = count_ / 2; gap > 0; gap /= 2) {
    for (std::size_t i = gap; i < count_; ++i) {
      const PlaceholderOccurrence moving = entries_[i];
      std::size_t j = i;
      while (j >= gap && entries_[j - gap].position > moving.position) {
        entries_[j] = entries_[j - gap];
        j -= gap;
      }
      entries_[j] = moving;
    }
  }
}

OccurrenceList findPlaceholders(std::string_view templateText) {
  OccurrenceList list;
  for (int index = 0; index < kPlaceholderCount; ++index) {
    const auto placeholder = static_cast<Placeholder>(index);
    const std::string_view text = placeholderText(placeholder);
    for (std::size_t hit = templateText.find(text); hit != std::string_view::npos;
         hit = templateText.find(text, hit + text.size())) {
      list.add({hit, placeholder});
    }
  }
  return list;
}

// ---------------------------------------------------------------------------
// Generation.

VariableNames namesWithDefaults(const VariableNames& names) {
  const auto orDefault = [](const std::string& name, const char* fallback) {
    const std::string text = cText(name);
    return text.empty() ? std::string(fallback) : text;
  };
  VariableNames result;
  result.hwnd = orDefault(names.hwnd, "hWnd");
  result.hinstance = orDefault(names.hinstance, "hInst");
  result.hfont = orDefault(names.hfont, "hFont");
  result.hrgn = orDefault(names.hrgn, "hRgn");
  result.point = orDefault(names.point, "pt");
  return result;
}

namespace {

std::size_t clampCount(std::int32_t count, std::size_t available) {
  return count <= 0 ? std::size_t{0} : std::min(static_cast<std::size_t>(count), available);
}

std::span<const RegionPoint> pointsOf(const Project& project) {
  return {project.regionPoints.data(), clampCount(project.pointCount, project.regionPoints.size())};
}

}  // namespace

CodeSource makeCodeSource(const Project& project, const std::vector<DesignObject>& objects,
                          CodeEncoding encoding) {
  const std::size_t objectCount = clampCount(project.objectCount, objects.size());
  const std::span<const DesignObject> used(objects.data(), objectCount);
  return CodeSource{project,
                    used,
                    pointsOf(project),
                    namesWithDefaults(project.variableNames),
                    writtenIds(used),
                    encoding};
}

std::string singleValueText(Placeholder placeholder, const CodeSource& source) {
  const Project& project = source.project;
  switch (placeholder) {
    case Placeholder::Title:
      return escapedCText(project.title);
    case Placeholder::ClassName:
      return escapedCText(project.className);
    case Placeholder::Hwnd:
      return source.names.hwnd;
    case Placeholder::Inst:
      return source.names.hinstance;
    case Placeholder::HFont:
      return source.names.hfont;
    case Placeholder::X:
      return std::to_string(project.x);
    case Placeholder::Y:
      return std::to_string(project.y);
    case Placeholder::Width:
      return std::to_string(project.width);
    case Placeholder::Height:
      return std::to_string(project.height);
    default:
      return {};
  }
}

std::size_t outputBound(std::string_view templateText,
                        std::span<const PlaceholderOccurrence> sorted, const CodeSource& source) {
  std::size_t bound = templateText.size();
  // The indentation of the output's last line as rendering will leave it,
  // followed through the template text and the replacements in order: text
  // produced earlier on the line counts, so does a blank or empty
  // replacement in front of a placeholder.
  std::size_t indentation = 0;
  std::size_t cursor = 0;
  for (const PlaceholderOccurrence& occurrence : sorted) {
    if (occurrence.position > cursor) {
      indentation = indentationAfter(
          indentation, templateText.substr(cursor, occurrence.position - cursor));
    }
    if (isMultiLine(occurrence.placeholder)) {
      const std::size_t length = replacementLength(occurrence.placeholder, source);
      bound += length + indentation * indentedLineCount(occurrence.placeholder, source);
      // Every producer's text ends in a line feed or in a ';'.
      if (length > 0) indentation = 0;
    } else {
      const std::string text = singleValueText(occurrence.placeholder, source);
      bound += text.size();
      indentation = indentationAfter(indentation, text);
    }
    cursor = std::max(cursor, afterClosingDollar(templateText, occurrence.position));
  }
  return bound;
}

namespace {

// The placeholders of `templateText` in the order of rendering.
OccurrenceList sortedPlaceholders(std::string_view templateText) {
  OccurrenceList occurrences = findPlaceholders(templateText);
  occurrences.sortByPosition();
  return occurrences;
}

// The substitution itself: the template's text with each placeholder
// replaced, appended to `out`.
void renderInto(OutputBuffer& out, std::string_view templateText,
                const OccurrenceList& occurrences, const CodeSource& source) {
  std::size_t cursor = 0;
  for (const PlaceholderOccurrence& occurrence : occurrences.entries()) {
    if (occurrence.position > cursor) {
      out.append(templateText.substr(cursor, occurrence.position - cursor));
    }
    if (isMultiLine(occurrence.placeholder)) {
      produceReplacement(occurrence.placeholder, out, source);
    } else {
      out.append(singleValueText(occurrence.placeholder, source));
    }
    cursor = std::max(cursor, afterClosingDollar(templateText, occurrence.position));
  }
  if (cursor < templateText.size()) out.append(templateText.substr(cursor));
}

// The whole text in one buffer sized from the bound.
OutputBuffer render(std::string_view templateText, const Project& project,
                    const std::vector<DesignObject>& objects, CodeGenerationReport* report,
                    CodeEncoding encoding) {
  const CodeSource source = makeCodeSource(project, objects, encoding);
  const OccurrenceList occurrences = sortedPlaceholders(templateText);
  const std::size_t bound = outputBound(templateText, occurrences.entries(), source);
  OutputBuffer out(4 * bound);
  renderInto(out, templateText, occurrences, source);
  if (report != nullptr) {
    report->occurrences = occurrences.size();
    report->bound = bound;
    report->capacity = 4 * bound;
    report->length = out.size();
    report->grew = out.grew();
  }
  return out;
}

std::string withByteOrderMark(std::string_view cp932) {
  return std::string(kUtf8ByteOrderMark) + cp932ToUtf8(cp932);
}

// Text with LF line ends, handed over in pieces, passed on as the file's
// bytes: up to the first NUL, each LF as CR LF, converted into one buffer
// that every piece reuses.
class CrLfPieces {
 public:
  explicit CrLfPieces(const std::function<void(std::string_view)>& sink) : sink_(sink) {}

  void operator()(std::string_view text) {
    if (ended_) return;
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) {
      text = text.substr(0, nul);
      ended_ = true;
    }
    converted_.clear();
    while (!text.empty()) {
      const std::size_t feed = text.find('\n');
      if (feed == std::string_view::npos) {
        converted_.append(text);
        break;
      }
      converted_.append(text.data(), feed);
      converted_.append("\r\n", 2);
      text.remove_prefix(feed + 1);
    }
    if (!converted_.empty()) sink_(converted_);
  }

 private:
  const std::function<void(std::string_view)>& sink_;
  std::string converted_;
  bool ended_ = false;
};

}  // namespace

std::string generateCode(std::string_view templateText, const Project& project,
                         const std::vector<DesignObject>& objects, CodeGenerationReport* report,
                         CodeEncoding encoding) {
  const OutputBuffer out = render(templateText, project, objects, report, encoding);
  if (encoding == CodeEncoding::Utf8Wide) return withByteOrderMark(out.view());
  return std::string(out.view());
}

void streamCodeFile(std::string_view templateText, const Project& project,
                    const std::vector<DesignObject>& objects, CodeEncoding encoding,
                    const std::function<void(std::string_view)>& sink, std::size_t pieceSize) {
  streamCodeFile(templateText, makeCodeSource(project, objects, encoding), sink, pieceSize);
}

void streamCodeFile(std::string_view templateText, const CodeSource& source,
                    const std::function<void(std::string_view)>& sink, std::size_t pieceSize) {
  CrLfPieces crLf(sink);
  const OccurrenceList occurrences = sortedPlaceholders(templateText);
  if (source.encoding == CodeEncoding::Utf8Wide) {
    // Converted whole: the converter reads a lead byte before a line feed
    // together with it, so a piece must not end there. Sized from the bound
    // as generateCode sizes it.
    OutputBuffer out(4 * outputBound(templateText, occurrences.entries(), source));
    renderInto(out, templateText, occurrences, source);
    std::string_view text = out.view();
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    crLf(withByteOrderMark(text));
    return;
  }
  OutputBuffer out(std::max<std::size_t>(pieceSize, 1),
                   [&crLf](std::string_view piece) { crLf(piece); });
  renderInto(out, templateText, occurrences, source);
  out.drainAll();
}

std::string generateCodeFile(std::string_view templateText, const Project& project,
                             const std::vector<DesignObject>& objects, CodeEncoding encoding) {
  std::string bytes;
  streamCodeFile(templateText, project, objects, encoding,
                 [&bytes](std::string_view piece) { bytes.append(piece); });
  return bytes;
}

std::string generateCode(std::string_view templateText, CodeEncoding encoding) {
  return generateCode(templateText, project, objects, nullptr, encoding);
}

}  // namespace quorvin

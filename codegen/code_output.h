#pragma once
// Code output: reads the template code.txt, replaces its placeholders with
// text computed from the project and writes the result as a source file.
//
// The template is plain text with placeholders, a name between two dollar
// signs ($TITLE$, $ADD_OBJ$, ...). Every known placeholder is replaced; any
// other text, a lone dollar sign included, is copied unchanged. Replacement
// texts are never scanned again. All texts are CP932 bytes; in memory a line
// ends with LF, on disk with CR LF.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/model.h"
#include "codegen/c_text.h"

namespace quorvin {

// The template's file name, and its full path: fixed at start-up by the
// Windows program (the then current directory / "code.txt", or beside the
// program when that folder has none; app/file_folders.h), so that a file
// dialog changing the current directory later does not move it.
inline constexpr const char* kTemplateFileName = "code.txt";
extern std::filesystem::path templatePath;

// How the source is written.
enum class CodeEncoding : std::uint8_t {
  // CP932 text for the 8-bit API: the source as the designer has always
  // written it. Its Japanese texts come out right only where the ANSI code
  // page is 932.
  Cp932,
  // UTF-8 text (with a byte order mark, which GCC, Clang and Visual C++ all
  // read) for the wide API: W calls, L"..." literals and CreateFontW, the
  // texts converted from CP932. Right on every Windows.
  Utf8Wide,
};
// The template of the Unicode output, beside code.txt. Like code.txt it is
// CP932 text; the whole output is converted to UTF-8 after rendering.
inline constexpr const char* kUnicodeTemplateFileName = "code_unicode.txt";
// The template file beside `defaultTemplate` (code.txt) for `encoding`.
std::filesystem::path templateFor(const std::filesystem::path& defaultTemplate,
                                  CodeEncoding encoding);

// The template's text as the platform's text mode reads it: CR LF becomes LF
// and a NUL byte ends the text. The whole file is used, however long.
// Nothing when the file cannot be opened or read.
std::optional<std::string> readCodeTemplate(const std::filesystem::path& path);

// Writes `text` up to its first NUL, each LF as CR LF. The write goes through
// a temporary file, so a failed write leaves an existing file as it was.
// True only when the file was written and holds at least one byte: an empty
// text still leaves an empty file at `path`, but reports false.
bool writeCodeFile(const std::filesystem::path& path, std::string_view text);

// The outcome of the whole code output command.
enum class CodeOutputResult {
  Written,
  TemplateUnreadable,  // nothing was written
  WriteFailed,
};
// Reads the template at `templateFile`, generates from the global project and
// objects and writes the source to `target`. Changes nothing in the project.
CodeOutputResult outputCode(const std::filesystem::path& templateFile,
                            const std::filesystem::path& target,
                            CodeEncoding encoding = CodeEncoding::Cp932);

// ---------------------------------------------------------------------------
// The output text.

// An append-only, always NUL-terminated text whose capacity is fixed when it
// is made. Should an append not fit, it grows instead of overflowing and
// remembers that it had to, so that a size bound that turned out too small
// costs a reallocation, never memory safety. The room behind the text is
// left uninitialised: filling the whole capacity (four times the text's
// bound) cost a third of quorvin-gen's time in page faults and memset.
//
// A buffer made with a drain holds only the end of the text: when an append
// does not fit, everything up to and including the last line feed is handed
// to the drain and dropped, and only when that frees too little does the
// buffer grow. The unfinished line always stays, so the look-backs of the
// producers (the current line's indentation, the last character) see what
// they would see in the whole text.
class OutputBuffer {
 public:
  using Drain = std::function<void(std::string_view)>;

  // Room for `capacity` characters plus the terminator.
  explicit OutputBuffer(std::size_t capacity, Drain drain = {});

  void append(std::string_view text);
  void append(char c);
  // Removes the last character, if there is one.
  void dropLast();

  std::string_view view() const { return {bytes_.get(), size_}; }
  const char* c_str() const { return bytes_.get(); }
  std::size_t size() const { return size_; }
  std::size_t capacity() const { return capacity_; }
  // True once an append did not fit into the capacity given at construction.
  bool grew() const { return grew_; }

  // Makes room for `count` more characters; used by appendFormatted, which
  // formats straight into the buffer. May drain: the text moves.
  char* reserveTail(std::size_t count);
  void commitTail(std::size_t count) { size_ += count; }

  // Hands the whole text held to the drain (when there is one) and empties
  // the buffer.
  void drainAll();

 private:
  std::unique_ptr<char[]> bytes_;  // capacity + 1 bytes: the text, its NUL, room
  std::size_t capacity_ = 0;
  std::size_t size_ = 0;
  bool grew_ = false;
  Drain drain_;
};

// printf-style formatting appended at the end of `out`.
void appendFormatted(OutputBuffer& out, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// The indentation of the line that `text` ends in: walking back from the end
// over blanks (space, tab), the blanks walked over when the walk reaches a
// line feed or the beginning of the text, otherwise none. Returns the number
// of blanks and, when `blanks` is given, stores a copy of them there.
std::size_t lineIndentation(std::string_view text, std::string* blanks = nullptr);

// Number of characters of `value` written in decimal, minus sign included.
std::size_t decimalWidth(std::int64_t value);

// ---------------------------------------------------------------------------
// Placeholders.

// The sixteen placeholders, in the order in which the template is scanned.
enum class Placeholder : std::uint8_t {
  Title,
  ClassName,
  Hwnd,
  Inst,
  HFont,
  X,
  Y,
  Width,
  Height,
  AddObj,
  Define,
  CreateFont,
  SetFont,
  Point,
  AddPoint,
  DelHrgn,
};
inline constexpr int kPlaceholderCount = 16;

// The placeholder's text, both dollar signs included ("$TITLE$").
std::string_view placeholderText(Placeholder placeholder);
// True for the seven placeholders whose replacement a producer writes.
bool isMultiLine(Placeholder placeholder);

// One placeholder found in the template.
struct PlaceholderOccurrence {
  std::size_t position = 0;  // template offset of the opening '$'
  Placeholder placeholder = Placeholder::Title;
};

// The occurrences of one code output. Starts with room for 21 entries and
// grows by 20 whenever the entry about to be written would take the last
// free slot.
class OccurrenceList {
 public:
  static constexpr std::size_t kInitialCapacity = 21;
  static constexpr std::size_t kGrowth = 20;

  OccurrenceList() : entries_(kInitialCapacity) {}

  void add(const PlaceholderOccurrence& occurrence);
  // Orders the entries by position (a Shell sort, gaps n/2, n/4 .. 1).
  void sortByPosition();

  std::size_t size() const { return count_; }
  std::size_t capacity() const { return entries_.size(); }
  std::span<const PlaceholderOccurrence> entries() const {
    return {entries_.data(), count_};
  }

 private:
  std::vector<PlaceholderOccurrence> entries_;
  std::size_t count_ = 0;
};

// Every occurrence of every placeholder, placeholder by placeholder in scan
// order, each from left to right; hits of one placeholder never overlap.
OccurrenceList findPlaceholders(std::string_view templateText);

// ---------------------------------------------------------------------------
// Generation.

// What the generator reads, fixed for one code output. Refers to the project
// and objects it was made from, which must outlive it.
struct CodeSource {
  const Project& project;
  std::span<const DesignObject> objects;  // the objectCount objects in use
  std::span<const RegionPoint> points;    // the pointCount outline points
  VariableNames names;  // absent (empty) names replaced by the defaults
  std::vector<WrittenId> ids;  // what stands for each object's ID
  CodeEncoding encoding = CodeEncoding::Cp932;
};
// Clamps objectCount and pointCount to the entries that exist.
CodeSource makeCodeSource(const Project& project,
                          const std::vector<DesignObject>& objects,
                          CodeEncoding encoding = CodeEncoding::Cp932);

// The default variable names written when a name is absent: hWnd, hInst,
// hFont, hRgn, pt. An empty name would make the generated code uncompilable.
VariableNames namesWithDefaults(const VariableNames& names);

// The text of a single-value placeholder ($TITLE$ .. $HEIGHT$); empty for a
// multi-line one. The title and the class name are escaped for a C string.
std::string singleValueText(Placeholder placeholder, const CodeSource& source);

// The number of characters the output of `templateText` can take at most,
// computed from the sorted occurrences and the project before anything is
// rendered: the template's length, each replacement's length and, for each
// multi-line placeholder, its indentation times the lines that carry it.
std::size_t outputBound(std::string_view templateText,
                        std::span<const PlaceholderOccurrence> sorted,
                        const CodeSource& source);

// What one generation did with its output buffer, for tests and checks.
struct CodeGenerationReport {
  std::size_t occurrences = 0;
  std::size_t bound = 0;     // outputBound
  std::size_t capacity = 0;  // the buffer's capacity, 4 x bound
  std::size_t length = 0;    // the output's length
  bool grew = false;         // the bound was exceeded (never expected)
};

// The whole substitution: scan, order, render. Reports no failure. For
// Utf8Wide the rendered text is converted to UTF-8 and starts with the byte
// order mark; the report describes the rendering before the conversion.
std::string generateCode(std::string_view templateText, const Project& project,
                         const std::vector<DesignObject>& objects,
                         CodeGenerationReport* report = nullptr,
                         CodeEncoding encoding = CodeEncoding::Cp932);
// The same for the global project and objects.
std::string generateCode(std::string_view templateText,
                         CodeEncoding encoding = CodeEncoding::Cp932);
// The bytes of the source file as writeCodeFile writes generateCode's text:
// up to its first NUL, each LF as CR LF. For quorvin-gen, which compares
// them with the file on disk.
std::string generateCodeFile(std::string_view templateText, const Project& project,
                             const std::vector<DesignObject>& objects,
                             CodeEncoding encoding = CodeEncoding::Cp932);

// The same bytes handed to `sink` piece by piece, in order, as they are
// rendered: the source is never held whole, so a large design costs a
// buffer of about `pieceSize` bytes instead of two copies of its source
// (which, fresh from the system, cost quorvin-gen most of its time). A
// piece may be longer than `pieceSize` when a single line is.
inline constexpr std::size_t kCodeFilePieceSize = std::size_t(1) << 16;
void streamCodeFile(std::string_view templateText, const Project& project,
                    const std::vector<DesignObject>& objects, CodeEncoding encoding,
                    const std::function<void(std::string_view)>& sink,
                    std::size_t pieceSize = kCodeFilePieceSize);
// The same from a source made with makeCodeSource (whose ids a caller may
// have used already, for the warnings).
void streamCodeFile(std::string_view templateText, const CodeSource& source,
                    const std::function<void(std::string_view)>& sink,
                    std::size_t pieceSize = kCodeFilePieceSize);

}  // namespace quorvin

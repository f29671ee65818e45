#include "codegen/statements.h"

#include <array>
#include <charconv>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "codegen/c_text.h"
#include "codegen/style_names.h"

namespace quorvin {

namespace {

// The statement forms. Each is written with appendFormatted, or split once by
// splitForm and written with appendForm, and measured with fixedLength, so
// that the size bound and the text cannot drift apart.
// The forms that differ between the 8-bit and the wide output.
struct TextForms {
  const char* buttonHead;
  const char* editHead;
  const char* staticHead;
  const char* listBoxHead;  // a list box has no caption; no conversion
  const char* createFontLine;
  const char* setFontLine;
};
constexpr TextForms kAnsiForms{
    "CreateWindow( \"BUTTON\",\"%s\",WS_CHILD|",
    "CreateWindowEx( WS_EX_CLIENTEDGE, \"EDIT\",\"%s\",WS_CHILD|",
    "CreateWindowEx( WS_EX_TRANSPARENT,\"STATIC\",\"%s\",WS_CHILD|",
    "CreateWindowEx( WS_EX_CLIENTEDGE, \"LISTBOX\", NULL,WS_CHILD|",
    "%s = CreateFont( %d, 0, 0, 0, %s, %s, %s, %s, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, "
    "CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FIXED_PITCH|FF_MODERN, \"%s\" );\n",
    "SendDlgItemMessage( %s, %s, WM_SETFONT, (WPARAM)%s, MAKELPARAM(TRUE, 0) );\n",
};
constexpr TextForms kWideForms{
    "CreateWindowW( L\"BUTTON\",L\"%s\",WS_CHILD|",
    "CreateWindowExW( WS_EX_CLIENTEDGE, L\"EDIT\",L\"%s\",WS_CHILD|",
    "CreateWindowExW( WS_EX_TRANSPARENT,L\"STATIC\",L\"%s\",WS_CHILD|",
    "CreateWindowExW( WS_EX_CLIENTEDGE, L\"LISTBOX\", NULL,WS_CHILD|",
    "%s = CreateFontW( %d, 0, 0, 0, %s, %s, %s, %s, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, "
    "CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FIXED_PITCH|FF_MODERN, L\"%s\" );\n",
    "SendDlgItemMessageW( %s, %s, WM_SETFONT, (WPARAM)%s, MAKELPARAM(TRUE, 0) );\n",
};
constexpr char kStatementTail[] = ", %d, %d, %d, %d, %s, (HMENU)%s, %s, NULL );\n";
constexpr char kDefineLine[] = "#define %s\t%s\n";
constexpr char kRegionDeclaration[] = "static HRGN %s ;\n";
constexpr char kPointDeclaration[] = "POINT %s[%d] ;";
constexpr char kPointX[] = "%s[%d].x = %d ;\n";
constexpr char kPointY[] = "%s[%d].y = %d ;\n";
constexpr char kCreateRegion[] = "%s = CreatePolygonRgn( %s, %d, WINDING ) ;\n";
constexpr char kSetRegion[] = "SetWindowRgn( %s, %s, TRUE ) ;\n";
constexpr char kInvalidate[] = "InvalidateRgn( %s, NULL, TRUE ) ;";
constexpr char kDeleteRegion[] = "DeleteObject( %s ) ;";

constexpr const char* kWeightNames[10] = {
    "FW_DONTCARE", "FW_THIN",   "FW_EXTRALIGHT", "FW_LIGHT",     "FW_NORMAL",
    "FW_MEDIUM",   "FW_SEMIBOLD", "FW_BOLD",     "FW_EXTRABOLD", "FW_HEAVY",
};

// The characters of a form that are written as they stand: everything but its
// conversions (%s, %d, %lld).
constexpr std::size_t fixedLength(const char* format) {
  std::size_t length = 0;
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p == '%') {
      ++p;
      while (*p == 'l') ++p;  // p now stands on the conversion letter
      continue;
    }
    ++length;
  }
  return length;
}

// The fixed lengths of the forms written once per object or point, computed
// at compile time: the size bound adds them up for every object.
constexpr std::size_t kStatementTailLength = fixedLength(kStatementTail);
constexpr std::size_t kDefineLineLength = fixedLength(kDefineLine);
constexpr std::size_t kPointXLength = fixedLength(kPointX);
constexpr std::size_t kPointYLength = fixedLength(kPointY);

struct FormLengths {
  std::size_t buttonHead, editHead, staticHead, listBoxHead, createFontLine, setFontLine;
};
constexpr FormLengths lengthsOf(const TextForms& forms) {
  return {fixedLength(forms.buttonHead),     fixedLength(forms.editHead),
          fixedLength(forms.staticHead),     fixedLength(forms.listBoxHead),
          fixedLength(forms.createFontLine), fixedLength(forms.setFontLine)};
}
constexpr FormLengths kAnsiLengths = lengthsOf(kAnsiForms);
constexpr FormLengths kWideLengths = lengthsOf(kWideForms);

// A form split, at compile time, into the literal runs around its
// conversions: writing a statement then copies runs and arguments without
// reading the form again (re-reading the forms for each of tens of thousands
// of statements was a third of the generator's time).
constexpr std::size_t kMaxConversions = 8;
struct SplitForm {
  std::array<std::string_view, kMaxConversions + 1> runs{};  // runs[i] precedes conversion i
  std::size_t conversions = 0;
};
constexpr SplitForm splitForm(std::string_view form) {
  SplitForm split;
  std::size_t start = 0;
  for (std::size_t i = 0; i < form.size(); ++i) {
    if (form[i] != '%') continue;
    split.runs.at(split.conversions++) = form.substr(start, i - start);
    ++i;
    while (form[i] == 'l') ++i;
    // Only %s and %d (%lld) are split; anything else stops the compilation.
    if (form[i] != 's' && form[i] != 'd') throw "a conversion splitForm does not know";
    start = i + 1;
  }
  split.runs.at(split.conversions) = form.substr(start);
  return split;
}

// One argument of appendForm: a text, or a number written in decimal as %d
// writes it. Refers to the text it was made from, or holds the digits.
class FormArgument {
 public:
  FormArgument(std::string_view text) : text_(text) {}
  FormArgument(std::int64_t value) {
    const char* end = std::to_chars(digits_, digits_ + sizeof digits_, value).ptr;
    text_ = std::string_view(digits_, static_cast<std::size_t>(end - digits_));
  }
  FormArgument(const FormArgument&) = delete;
  FormArgument& operator=(const FormArgument&) = delete;
  std::string_view text() const { return text_; }

 private:
  char digits_[24];
  std::string_view text_;
};

// Copies `text` to `to` and returns the end of the copy. A statement's runs
// and arguments are a few bytes each: copied in words of fixed sizes, which
// the compiler writes inline, instead of through a call of memcpy for each
// (a tenth of the generator's time went into those calls).
inline char* copyShort(char* to, std::string_view text) {
  const char* from = text.data();
  std::size_t left = text.size();
  for (; left >= 8; left -= 8, from += 8, to += 8) std::memcpy(to, from, 8);
  if (left & 4) {
    std::memcpy(to, from, 4);
    from += 4;
    to += 4;
  }
  if (left & 2) {
    std::memcpy(to, from, 2);
    from += 2;
    to += 2;
  }
  if (left & 1) *to++ = *from;
  return to;
}

// The text appendFormatted writes for the form `form` was split from, with
// one argument per conversion, in one reservation of the output.
template <typename... Arguments>
void appendForm(OutputBuffer& out, const SplitForm& form, const Arguments&... arguments) {
  static_assert(sizeof...(Arguments) <= kMaxConversions);
  const FormArgument pieces[] = {FormArgument(arguments)...};
  constexpr std::size_t count = sizeof...(Arguments);
  std::size_t total = form.runs[count].size();
  for (std::size_t i = 0; i < count; ++i) total += form.runs[i].size() + pieces[i].text().size();
  char* tail = out.reserveTail(total);
  const auto put = [&tail](std::string_view text) { tail = copyShort(tail, text); };
  for (std::size_t i = 0; i < count; ++i) {
    put(form.runs[i]);
    put(pieces[i].text());
  }
  put(form.runs[count]);
  *tail = '\0';
  out.commitTail(total);
}

// A model text as %s writes its c_str(): up to its first NUL.
std::string_view cView(const std::string& text) { return std::string_view(text.c_str()); }

struct SplitForms {
  SplitForm buttonHead, editHead, staticHead, setFontLine;
};
constexpr SplitForms splitFormsOf(const TextForms& forms) {
  return {splitForm(forms.buttonHead), splitForm(forms.editHead), splitForm(forms.staticHead),
          splitForm(forms.setFontLine)};
}
constexpr SplitForms kAnsiSplit = splitFormsOf(kAnsiForms);
constexpr SplitForms kWideSplit = splitFormsOf(kWideForms);
constexpr SplitForm kStatementTailSplit = splitForm(kStatementTail);
constexpr SplitForm kDefineLineSplit = splitForm(kDefineLine);
constexpr SplitForm kPointXSplit = splitForm(kPointX);
constexpr SplitForm kPointYSplit = splitForm(kPointY);

std::size_t len(const std::string& text) { return std::strlen(text.c_str()); }

const TextForms& formsOf(const CodeSource& source) {
  return source.encoding == CodeEncoding::Utf8Wide ? kWideForms : kAnsiForms;
}
const SplitForms& splitFormsOf(const CodeSource& source) {
  return source.encoding == CodeEncoding::Utf8Wide ? kWideSplit : kAnsiSplit;
}
const FormLengths& lengthsOf(const CodeSource& source) {
  return source.encoding == CodeEncoding::Utf8Wide ? kWideLengths : kAnsiLengths;
}

enum class HeadKind { Button, Edit, Static, ListBox };

HeadKind headKindOf(ObjectKind kind) {
  if (isEditKind(kind)) return HeadKind::Edit;
  switch (kind) {
    case ObjectKind::STATIC:
      return HeadKind::Static;
    case ObjectKind::LISTBOX:
      return HeadKind::ListBox;
    default:
      // BUTTON, and any kind a damaged project file may hold: the same class
      // the designer would create for it.
      return HeadKind::Button;
  }
}

// The head of a kind that has a caption (all but the list box).
const SplitForm& captionHeadOf(ObjectKind kind, const SplitForms& forms) {
  switch (headKindOf(kind)) {
    case HeadKind::Edit:
      return forms.editHead;
    case HeadKind::Static:
      return forms.staticHead;
    default:
      return forms.buttonHead;
  }
}

// The fixed length of the kind's head, without walking the form for every
// object.
std::size_t headLengthOf(ObjectKind kind, const FormLengths& lengths) {
  switch (headKindOf(kind)) {
    case HeadKind::Edit:
      return lengths.editHead;
    case HeadKind::Static:
      return lengths.staticHead;
    case HeadKind::ListBox:
      return lengths.listBoxHead;
    default:
      return lengths.buttonHead;
  }
}

const char* truthText(std::uint8_t flag) { return flag != 0 ? "TRUE" : "FALSE"; }

// The face name up to its terminator, never past the 32-byte field, escaped
// for the string literal it goes into.
std::string faceNameOf(const FontSpec& font) {
  return escapedCText(
      std::string_view(font.lfFaceName, strnlen(font.lfFaceName, sizeof font.lfFaceName)));
}

std::string indentationOf(const OutputBuffer& out) {
  std::string blanks;
  lineIndentation(out.view(), &blanks);
  return blanks;
}

// The style names of the creation statements, made once for each kind and
// style: a design repeats a few pairs thousands of times. A text replaces the
// bar that ends the statement's head ("WS_CHILD|"), as the two style-name
// functions written after the head leave it.
class StyleNames {
 public:
  std::string_view of(ObjectKind kind, std::uint32_t style) {
    for (const Entry& entry : entries_) {
      if (entry.kind == kind && entry.style == style) return entry.text;
    }
    OutputBuffer text(kRoom);
    text.append('|');
    appendGeneralStyleNames(text, style);
    appendClassStyleNames(text, kind, style);
    if (entries_.size() == kMaxEntries) {
      uncached_.assign(text.view());
      return uncached_;
    }
    entries_.push_back({kind, style, std::string(text.view())});
    return entries_.back().text;
  }

 private:
  // Room for every name of the longest tables; more only grows the buffer.
  static constexpr std::size_t kRoom = 256;
  // Pairs kept; a design with more finds the others made again each time.
  static constexpr std::size_t kMaxEntries = 32;
  struct Entry {
    ObjectKind kind;
    std::uint32_t style;
    std::string text;
  };
  std::vector<Entry> entries_;
  std::string uncached_;
};

}  // namespace

std::string fontWeightText(std::int32_t weight) {
  if (weight >= 0 && weight <= 999) return kWeightNames[weight / 100];
  return std::to_string(weight);
}

void produceAddObj(OutputBuffer& out, const CodeSource& source) {
  const std::string indent = indentationOf(out);
  const VariableNames& names = source.names;
  const TextForms& forms = formsOf(source);
  const SplitForms& split = splitFormsOf(source);
  const std::string_view hwnd = cView(names.hwnd);
  const std::string_view hinstance = cView(names.hinstance);
  std::string caption;
  StyleNames styleNames;
  for (std::size_t i = 0; i < source.objects.size(); ++i) {
    const DesignObject& object = source.objects[i];
    if (i > 0) out.append(indent);
    if (headKindOf(object.kind) == HeadKind::ListBox) {
      out.append(forms.listBoxHead);
    } else {
      appendForm(out, captionHeadOf(object.kind, split), escapedCTextView(object.caption, caption));
    }
    out.dropLast();
    out.append(styleNames.of(object.kind, object.style));
    appendForm(out, kStatementTailSplit, object.x, object.y, object.width, object.height, hwnd,
               std::string_view(source.ids[i].text), hinstance);
  }
}

void produceDefine(OutputBuffer& out, const CodeSource& source) {
  const std::string indent = indentationOf(out);
  bool first = true;
  for (std::size_t i = 0; i < source.ids.size(); ++i) {
    const WrittenId& id = source.ids[i];
    // A control written as its number needs no line.
    if (!id.defined) continue;
    if (!first) out.append(indent);
    first = false;
    appendForm(out, kDefineLineSplit, std::string_view(id.text), controlNumber(i));
  }
}

void produceCreateFont(OutputBuffer& out, const CodeSource& source) {
  const FontSpec& font = source.project.font;
  appendFormatted(out, formsOf(source).createFontLine, source.names.hfont.c_str(), font.lfHeight,
                  fontWeightText(font.lfWeight).c_str(), truthText(font.lfItalic),
                  truthText(font.lfUnderline), truthText(font.lfStrikeOut),
                  faceNameOf(font).c_str());
}

void produceSetFont(OutputBuffer& out, const CodeSource& source) {
  const std::string indent = indentationOf(out);
  const SplitForm& form = splitFormsOf(source).setFontLine;
  const std::string_view hwnd = cView(source.names.hwnd);
  const std::string_view hfont = cView(source.names.hfont);
  for (std::size_t i = 0; i < source.ids.size(); ++i) {
    if (i > 0) out.append(indent);
    appendForm(out, form, hwnd, std::string_view(source.ids[i].text), hfont);
  }
}

void producePoint(OutputBuffer& out, const CodeSource& source) {
  if (source.points.empty()) return;
  const std::string indent = indentationOf(out);
  appendFormatted(out, kRegionDeclaration, source.names.hrgn.c_str());
  out.append(indent);
  appendFormatted(out, kPointDeclaration, source.names.point.c_str(),
                  static_cast<int>(source.points.size()));
}

void produceAddPoint(OutputBuffer& out, const CodeSource& source) {
  if (source.points.empty()) return;
  const std::string indent = indentationOf(out);
  const VariableNames& names = source.names;
  const int count = static_cast<int>(source.points.size());
  const std::string_view point = cView(names.point);
  for (int i = 0; i < count; ++i) {
    const RegionPoint& at = source.points[static_cast<std::size_t>(i)];
    if (i > 0) out.append(indent);
    appendForm(out, kPointXSplit, point, i, at.x);
    out.append(indent);
    appendForm(out, kPointYSplit, point, i, at.y);
  }
  out.append(indent);
  appendFormatted(out, kCreateRegion, names.hrgn.c_str(), names.point.c_str(), count);
  out.append(indent);
  appendFormatted(out, kSetRegion, names.hwnd.c_str(), names.hrgn.c_str());
  out.append(indent);
  appendFormatted(out, kInvalidate, names.hwnd.c_str());
}

void produceDelHrgn(OutputBuffer& out, const CodeSource& source) {
  if (source.points.empty()) return;
  appendFormatted(out, kDeleteRegion, source.names.hrgn.c_str());
}

void produceReplacement(Placeholder placeholder, OutputBuffer& out, const CodeSource& source) {
  switch (placeholder) {
    case Placeholder::AddObj:
      return produceAddObj(out, source);
    case Placeholder::Define:
      return produceDefine(out, source);
    case Placeholder::CreateFont:
      return produceCreateFont(out, source);
    case Placeholder::SetFont:
      return produceSetFont(out, source);
    case Placeholder::Point:
      return producePoint(out, source);
    case Placeholder::AddPoint:
      return produceAddPoint(out, source);
    case Placeholder::DelHrgn:
      return produceDelHrgn(out, source);
    default:
      return;
  }
}

std::size_t replacementLength(Placeholder placeholder, const CodeSource& source) {
  const VariableNames& names = source.names;
  const FormLengths& forms = lengthsOf(source);
  std::size_t length = 0;
  switch (placeholder) {
    case Placeholder::AddObj:
      for (std::size_t i = 0; i < source.objects.size(); ++i) {
        const DesignObject& object = source.objects[i];
        const bool listBox = headKindOf(object.kind) == HeadKind::ListBox;
        length += headLengthOf(object.kind, forms) +
                  (listBox ? 0 : escapedCTextLength(object.caption)) +
                  styleNamesLength(object.kind, object.style) + kStatementTailLength +
                  decimalWidth(object.x) + decimalWidth(object.y) + decimalWidth(object.width) +
                  decimalWidth(object.height) + len(names.hwnd) + source.ids[i].text.size() +
                  len(names.hinstance);
      }
      return length;
    case Placeholder::Define:
      for (std::size_t i = 0; i < source.objects.size(); ++i) {
        if (!source.ids[i].defined) continue;
        length += kDefineLineLength + source.ids[i].text.size() +
                  decimalWidth(controlNumber(i));
      }
      return length;
    case Placeholder::CreateFont: {
      const FontSpec& font = source.project.font;
      return forms.createFontLine + len(names.hfont) + decimalWidth(font.lfHeight) +
             fontWeightText(font.lfWeight).size() + std::strlen(truthText(font.lfItalic)) +
             std::strlen(truthText(font.lfUnderline)) + std::strlen(truthText(font.lfStrikeOut)) +
             faceNameOf(font).size();
    }
    case Placeholder::SetFont:
      for (std::size_t i = 0; i < source.objects.size(); ++i) {
        length += forms.setFontLine + len(names.hwnd) + source.ids[i].text.size() +
                  len(names.hfont);
      }
      return length;
    case Placeholder::Point:
      if (source.points.empty()) return 0;
      return fixedLength(kRegionDeclaration) + len(names.hrgn) + fixedLength(kPointDeclaration) +
             len(names.point) + decimalWidth(static_cast<std::int64_t>(source.points.size()));
    case Placeholder::AddPoint: {
      if (source.points.empty()) return 0;
      const std::size_t count = source.points.size();
      for (std::size_t i = 0; i < count; ++i) {
        const std::size_t indexWidth = decimalWidth(static_cast<std::int64_t>(i));
        length += kPointXLength + len(names.point) + indexWidth +
                  decimalWidth(source.points[i].x);
        length += kPointYLength + len(names.point) + indexWidth +
                  decimalWidth(source.points[i].y);
      }
      return length + fixedLength(kCreateRegion) + len(names.hrgn) + len(names.point) +
             decimalWidth(static_cast<std::int64_t>(count)) + fixedLength(kSetRegion) +
             len(names.hwnd) + len(names.hrgn) + fixedLength(kInvalidate) + len(names.hwnd);
    }
    case Placeholder::DelHrgn:
      return source.points.empty() ? 0 : fixedLength(kDeleteRegion) + len(names.hrgn);
    default:
      return 0;
  }
}

std::size_t indentedLineCount(Placeholder placeholder, const CodeSource& source) {
  const std::size_t objectCount = source.objects.size();
  const std::size_t pointCount = source.points.size();
  switch (placeholder) {
    case Placeholder::AddObj:
    case Placeholder::SetFont:
      return objectCount > 0 ? objectCount - 1 : 0;
    case Placeholder::Define: {
      std::size_t defined = 0;
      for (const WrittenId& id : source.ids) defined += id.defined ? 1 : 0;
      return defined > 0 ? defined - 1 : 0;
    }
    case Placeholder::Point:
      return pointCount > 0 ? 1 : 0;
    case Placeholder::AddPoint:
      // The y line of point 0, both lines of every later point and the three
      // region lines.
      return pointCount > 0 ? 2 * pointCount + 2 : 0;
    default:
      return 0;
  }
}

}  // namespace quorvin

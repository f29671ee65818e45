#pragma once
// The project model: the one document being edited (the designed window, its
// font, its polygon outline) and the controls placed on it. Portable: window,
// font and procedure handles are opaque numbers here; the Windows layer gives
// them meaning. All texts are CP932 bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvin {

// Opaque platform handles (HWND, HFONT, WNDPROC on Windows). 0 means none.
using WindowHandle = std::uintptr_t;
using FontHandle = std::uintptr_t;
using ProcHandle = std::uintptr_t;

enum class ObjectKind : std::int32_t {
  BUTTON = 300,  // push button, check box, radio button, group box
  EDIT = 400,
  EDIT_M = 410,
  EDIT_MV = 420,
  EDIT_MH = 430,
  EDIT_MVH = 440,
  STATIC = 500,
  LISTBOX = 600,
};

// True for the eight values of ObjectKind; project files may hold others.
bool isKnownObjectKind(std::int32_t value);
// True for the five edit variants.
bool isEditKind(ObjectKind kind);
// The window class a control of this kind is made of ("BUTTON", "EDIT", ...).
const char* windowClassOf(ObjectKind kind);
// The extended style of a control re-created from a file (0 or
// WS_EX_CLIENTEDGE 0x200).
std::uint32_t recreatedExStyleOf(ObjectKind kind);

// The current tool or interaction mode; cell ids of the palette and ids of
// the size handles use the same numbers.
enum class ToolCode : std::int32_t {
  Select = 1000,
  Button = 1010,
  Edit = 1030,
  EditM = 1041,
  EditMV = 1042,
  EditMH = 1043,
  EditMVH = 1050,
  Static = 1060,
  ListBox = 1070,
  CheckBox = 1080,
  AddPoint = 1100,
  GroupBox = 1110,
  RadioButton = 1120,
  Moving = 5000,
  SizeTopLeft = 10000,
  SizeTopRight = 11000,
  SizeBottomLeft = 12000,
  SizeBottomRight = 13000,
};

enum class RegionMode : std::int32_t { Rectangle = 1, Polygon = 2 };

// The platform's POINT layout, so an array can go to CreatePolygonRgn as is.
struct RegionPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const RegionPoint&, const RegionPoint&) = default;
};
static_assert(sizeof(RegionPoint) == 8);

// The platform's LOGFONTA, byte for byte (60 bytes, little-endian); stored in
// project files as a raw block.
struct FontSpec {
  std::int32_t lfHeight = 0;
  std::int32_t lfWidth = 0;
  std::int32_t lfEscapement = 0;
  std::int32_t lfOrientation = 0;
  std::int32_t lfWeight = 0;
  std::uint8_t lfItalic = 0;
  std::uint8_t lfUnderline = 0;
  std::uint8_t lfStrikeOut = 0;
  std::uint8_t lfCharSet = 0;
  std::uint8_t lfOutPrecision = 0;
  std::uint8_t lfClipPrecision = 0;
  std::uint8_t lfQuality = 0;
  std::uint8_t lfPitchAndFamily = 0;
  char lfFaceName[32] = {};  // NUL-terminated CP932
  friend bool operator==(const FontSpec&, const FontSpec&) = default;
};
static_assert(sizeof(FontSpec) == 60);
static_assert(offsetof(FontSpec, lfItalic) == 20);
static_assert(offsetof(FontSpec, lfFaceName) == 28);

// The default font of a new project: -13 px, weight 400, SHIFTJIS_CHARSET,
// PROOF_QUALITY, FIXED_PITCH|FF_MODERN, "ＭＳ ゴシック".
FontSpec defaultFontSpec();

// The five identifier names of generated code. An empty text means absent
// (no setting.ini was read); the generator then writes the default name.
struct VariableNames {
  std::string hwnd;
  std::string hinstance;
  std::string hfont;
  std::string hrgn;
  std::string point;
  friend bool operator==(const VariableNames&, const VariableNames&) = default;
};

// One placed control. `window` 0 marks a free entry of `objects`.
struct DesignObject {
  WindowHandle window = 0;
  ObjectKind kind = ObjectKind::BUTTON;
  std::int32_t width = 0;   // pixels
  std::int32_t height = 0;  // pixels
  std::int32_t x = 0;       // surface client coordinates
  std::int32_t y = 0;
  std::string caption;  // CP932; empty for a list box
  std::string idName;   // CP932; identifier in generated code, may be empty
  std::uint32_t style = 0;
  ProcHandle savedProc = 0;  // the control's procedure before subclassing
  friend bool operator==(const DesignObject&, const DesignObject&) = default;
};

// The one document. `surface` 0 means that no project is open.
struct Project {
  std::string className;  // CP932
  VariableNames variableNames;
  std::string title;  // CP932
  WindowHandle surface = 0;
  std::int32_t width = 0;  // outer size of the designed window, pixels
  std::int32_t height = 0;
  std::int32_t x = 0;  // outer left/top, main-window client coordinates
  std::int32_t y = 0;
  std::int32_t objectCount = 0;
  FontSpec font;
  FontHandle fontHandle = 0;  // owned; released through the font deleter
  RegionMode regionMode = RegionMode::Rectangle;
  std::int32_t activePoint = -1;
  // Both point arrays always have pointCapacity() entries; the first
  // pointCount are valid.
  std::vector<RegionPoint> regionPoints;  // relative to the window's origin
  std::vector<RegionPoint> markerPoints;  // marker top-left, main-window client
  std::int32_t pointCount = 0;
  WindowHandle activeMarker = 0;

  std::int32_t pointCapacity() const {
    return static_cast<std::int32_t>(markerPoints.size());
  }
  // Grows (never shrinks) both point arrays to `capacity` zeroed entries.
  void growPointArrays(std::int32_t capacity);

  friend bool operator==(const Project&, const Project&) = default;
};

// The global document, shared by every window procedure. (The selection and
// the tool live with the rest of the editing state, designer/editing_state.h.)
extern Project project;
extern std::vector<DesignObject> objects;  // size() is the capacity

inline std::int32_t objectCapacity() {
  return static_cast<std::int32_t>(objects.size());
}

// The platform layer installs the function that deletes a font handle;
// clearProject calls it for a held fontHandle.
using FontDeleter = void (*)(FontHandle);
void setFontDeleter(FontDeleter deleter);

// Which text of a control or of the project a setter writes.
inline constexpr int kObjectCaption = 1;
inline constexpr int kObjectIdName = 2;
inline constexpr int kProjectTitle = 1;
inline constexpr int kProjectClassName = 3;

// which = 1 caption, 2 idName; anything else does nothing.
void setObjectText(DesignObject& object, int which, std::string_view text);
void freeObjectTexts(DesignObject& object);
// which = 1 title, 3 className, 4..8 hwnd, hinstance, hfont, hrgn, point;
// anything else (2 included) does nothing.
void setProjectText(Project& target, int which, std::string_view text);
inline void setProjectText(int which, std::string_view text) {
  setProjectText(project, which, text);
}
// Frees the texts, names and point arrays; regionMode = Rectangle. Leaves
// objects, fontHandle and windows alone.
void releaseProject(Project& target);
// releaseProject, deletes fontHandle, then every field to zero,
// activePoint -1, regionMode Rectangle.
void clearProject(Project& target);
inline void clearProject() { clearProject(project); }

// The first free entry of `objects` (window 0), growing the array by 5
// zeroed entries when none is free. Returns its index.
std::int32_t takeFreeObjectSlot();

}  // namespace quorvin

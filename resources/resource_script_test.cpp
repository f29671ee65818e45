// Reads the compiled resources (quorvin.rc put through windres into a .res
// file at build time) and checks the menu, the icon and the four dialog
// templates item by item: names, ids, texts as UTF-16, positions, sizes,
// fonts and every style bit. The expected values are written out here by
// hand, so a slip in the resource script shows up as a difference.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "common/file_io.h"

namespace quorvin {
namespace {

constexpr std::uint16_t kRtIcon = 3;
constexpr std::uint16_t kRtMenu = 4;
constexpr std::uint16_t kRtDialog = 5;
constexpr std::uint16_t kRtGroupIcon = 14;
constexpr std::uint16_t kLangJapanese = 0x0411;

// A little-endian reader over one resource's bytes that fails the test
// instead of reading past the end.
class Reader {
 public:
  explicit Reader(std::string_view bytes, std::size_t at = 0) : bytes_(bytes), at_(at) {}

  bool ok() const { return ok_; }
  std::size_t offset() const { return at_; }

  std::uint32_t u16() { return take(2); }
  std::uint32_t u32() { return take(4); }
  std::int16_t s16() { return static_cast<std::int16_t>(take(2)); }
  std::uint32_t u8() { return take(1); }
  void alignTo4() { at_ = (at_ + 3) & ~std::size_t{3}; }

  // A NUL-terminated UTF-16 text, returned as UTF-8.
  std::string text() {
    std::string out;
    for (;;) {
      std::uint32_t unit = u16();
      if (!ok_ || unit == 0) return out;
      if (unit >= 0xD800 && unit < 0xDC00) {
        unit = 0x10000 + ((unit - 0xD800) << 10) + (u16() - 0xDC00);
      }
      appendUtf8(out, unit);
    }
  }

  // A name or ordinal field: 0xFFFF then the ordinal, or a text. Ordinals
  // come back as "#<number>".
  std::string nameOrOrdinal() {
    if (at_ + 2 <= bytes_.size() && static_cast<std::uint8_t>(bytes_[at_]) == 0xFF &&
        static_cast<std::uint8_t>(bytes_[at_ + 1]) == 0xFF) {
      take(2);
      return "#" + std::to_string(u16());
    }
    return text();
  }

 private:
  static void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  std::uint32_t take(std::size_t count) {
    if (!ok_ || at_ + count > bytes_.size()) {
      ok_ = false;
      return 0;
    }
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) {
      value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes_[at_ + i])) << (8 * i);
    }
    at_ += count;
    return value;
  }

  std::string_view bytes_;
  std::size_t at_;
  bool ok_ = true;
};

struct Resource {
  std::string type;  // "#5" for an ordinal type
  std::string name;
  std::uint32_t language = 0;
  std::string data;
};

// Every resource of a .res file, keyed by "type/name".
std::map<std::string, Resource> readResFile(const std::string& bytes) {
  std::map<std::string, Resource> resources;
  std::size_t at = 0;
  while (at + 8 <= bytes.size()) {
    Reader header(bytes, at);
    const std::uint32_t dataSize = header.u32();
    const std::uint32_t headerSize = header.u32();
    Resource resource;
    resource.type = header.nameOrOrdinal();
    resource.name = header.nameOrOrdinal();
    header.alignTo4();
    header.u32();  // data version
    header.u16();  // memory flags
    resource.language = header.u16();
    if (!header.ok() || at + headerSize + dataSize > bytes.size()) {
      ADD_FAILURE() << "damaged .res file at offset " << at;
      break;
    }
    resource.data = bytes.substr(at + headerSize, dataSize);
    // The first entry of every .res file is an empty marker.
    if (dataSize > 0) resources[resource.type + "/" + resource.name] = resource;
    at = (at + headerSize + dataSize + 3) & ~std::size_t{3};
  }
  return resources;
}

const std::map<std::string, Resource>& compiledResources() {
  static const std::map<std::string, Resource> resources = [] {
    const auto bytes = readFileBytes(QUORVIN_RES_FILE);
    if (!bytes) {
      ADD_FAILURE() << "cannot read " << QUORVIN_RES_FILE;
      return std::map<std::string, Resource>{};
    }
    return readResFile(*bytes);
  }();
  return resources;
}

const Resource* findResource(std::uint16_t type, const std::string& name) {
  const auto& resources = compiledResources();
  const auto found = resources.find("#" + std::to_string(type) + "/" + name);
  return found == resources.end() ? nullptr : &found->second;
}

// --- Menu ------------------------------------------------------------------

struct MenuItem {
  int depth;
  std::uint32_t type;  // 0 = string, 0x800 = separator
  std::uint32_t id;
  std::string text;
  bool popup;
};

// Walks one level of a MENUEX template; items end with the 0x80 flag.
bool readMenuLevel(Reader& reader, int depth, std::vector<MenuItem>& items) {
  for (;;) {
    MenuItem item;
    item.depth = depth;
    item.type = reader.u32();
    reader.u32();  // state
    item.id = reader.u32();
    const std::uint32_t flags = reader.u16();
    item.text = reader.text();
    reader.alignTo4();
    item.popup = (flags & 0x01) != 0;
    if (!reader.ok()) return false;
    items.push_back(item);
    if (item.popup) {
      reader.u32();  // help id
      if (!readMenuLevel(reader, depth + 1, items)) return false;
    }
    if (flags & 0x80) return true;
  }
}

TEST(ResourceScript, MenuHasTheFileAndOptionCommands) {
  const Resource* menu = findResource(kRtMenu, "ID_MENU");
  ASSERT_NE(menu, nullptr) << "no menu named ID_MENU";
  EXPECT_EQ(menu->language, kLangJapanese);
  Reader reader(menu->data);
  ASSERT_EQ(reader.u16(), 1u);  // MENUEX version
  const std::uint32_t headerOffset = reader.u16();
  reader.u32();  // help id
  Reader items(menu->data, 4 + headerOffset);
  std::vector<MenuItem> read;
  ASSERT_TRUE(readMenuLevel(items, 0, read));

  const std::vector<MenuItem> expected = {
      {0, 0, 0, "ファイル", true},
      {1, 0, 40001, "新規作成", false},
      {1, 0, 40008, "開く", false},
      {1, 0, 40009, "保存", false},
      {1, 0, 40023, "上書き保存\tCtrl+S", false},
      {1, 0x800, 40004, "", false},
      {1, 0, 40005, "コード出力", false},
      {1, 0x800, 40006, "", false},
      {1, 0, 40002, "終了", false},
      {0, 0, 0, "編集", true},
      {1, 0, 40021, "元に戻す\tCtrl+Z", false},
      {1, 0, 40022, "やり直し\tCtrl+Y", false},
      {1, 0x800, 40122, "", false},
      {1, 0, 40118, "切り取り\tCtrl+X", false},
      {1, 0, 40119, "コピー\tCtrl+C", false},
      {1, 0, 40120, "貼り付け\tCtrl+V", false},
      {1, 0, 40121, "複製\tCtrl+D", false},
      {1, 0x800, 40123, "", false},
      {1, 0, 40117, "すべて選択\tCtrl+A", false},
      {0, 0, 0, "配置", true},
      {1, 0, 40101, "左揃え\tCtrl+Shift+←", false},
      {1, 0, 40102, "右揃え\tCtrl+Shift+→", false},
      {1, 0, 40103, "上揃え\tCtrl+Shift+↑", false},
      {1, 0, 40104, "下揃え\tCtrl+Shift+↓", false},
      {1, 0, 40105, "左右中央揃え\tShift+F9", false},
      {1, 0, 40106, "上下中央揃え\tF9", false},
      {1, 0x800, 40114, "", false},
      {1, 0, 40107, "幅を揃える\tCtrl+Shift+W", false},
      {1, 0, 40108, "高さを揃える\tCtrl+Shift+H", false},
      {1, 0, 40109, "サイズを揃える\tCtrl+Shift+B", false},
      {1, 0x800, 40115, "", false},
      {1, 0, 40110, "左右に等間隔\tCtrl+Shift+A", false},
      {1, 0, 40111, "上下に等間隔\tCtrl+Shift+D", false},
      {1, 0x800, 40116, "", false},
      {1, 0, 40112, "ウィンドウの左右中央\tCtrl+Shift+F9", false},
      {1, 0, 40113, "ウィンドウの上下中央\tCtrl+F9", false},
      {0, 0, 0, "順序", true},
      {1, 0, 40141, "最前面へ移動", false},
      {1, 0, 40142, "最背面へ移動", false},
      {1, 0, 40143, "位置順に並べる", false},
      {1, 0, 40144, "タブ順序の設定", false},
      {0, 0, 0, "オプション", true},
      {1, 0, 40010, "設定", false},
      {1, 0, 40011, "Unicode (UTF-8) でコード出力", false},
      {1, 0, 40131, "グリッドを表示", false},
      {1, 0, 40132, "グリッドに合わせる", false},
      {1, 0, 0, "グリッドの間隔", true},
      {2, 0x200, 40133, "4 ピクセル", false},
      {2, 0x200, 40134, "8 ピクセル", false},
      {2, 0x200, 40135, "16 ピクセル", false},
  };
  ASSERT_EQ(read.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(read[i].depth, expected[i].depth);
    EXPECT_EQ(read[i].type, expected[i].type);
    if (!expected[i].popup) {
      EXPECT_EQ(read[i].id, expected[i].id);
    }
    EXPECT_EQ(read[i].text, expected[i].text);
    EXPECT_EQ(read[i].popup, expected[i].popup);
  }
}

TEST(ResourceScript, IconHasThirtyTwoAndSixteenPixelImages) {
  const Resource* group = findResource(kRtGroupIcon, "IDI_ICON");
  ASSERT_NE(group, nullptr) << "no icon named IDI_ICON";
  Reader reader(group->data);
  reader.u16();
  EXPECT_EQ(reader.u16(), 1u);  // icon
  ASSERT_EQ(reader.u16(), 2u);
  for (const std::uint32_t size : {32u, 16u}) {
    EXPECT_EQ(reader.u8(), size);  // width
    EXPECT_EQ(reader.u8(), size);  // height
    reader.u8();
    reader.u8();
    reader.u16();
    EXPECT_EQ(reader.u16(), 32u);  // bits per pixel
    reader.u32();
    const std::uint32_t imageId = reader.u16();
    EXPECT_NE(findResource(kRtIcon, "#" + std::to_string(imageId)), nullptr);
  }
  EXPECT_TRUE(reader.ok());
}

// --- Dialogs ---------------------------------------------------------------

struct Control {
  std::uint32_t id;
  std::string windowClass;  // "#128" button, "#129" edit, "#130" static
  std::string text;
  std::uint32_t style;
  std::uint32_t exStyle;
  int x, y, width, height;
};

struct Dialog {
  std::uint32_t style;
  std::uint32_t exStyle;
  int x, y, width, height;
  std::string caption;
  std::uint32_t pointSize;
  std::uint32_t weight;
  std::uint32_t charset;
  std::string face;
  std::vector<Control> controls;
};

Dialog readDialogEx(const std::string& data) {
  Reader reader(data);
  Dialog dialog;
  EXPECT_EQ(reader.u16(), 1u);       // DLGTEMPLATEEX version
  EXPECT_EQ(reader.u16(), 0xFFFFu);  // signature
  reader.u32();                      // help id
  dialog.exStyle = reader.u32();
  dialog.style = reader.u32();
  const std::uint32_t count = reader.u16();
  dialog.x = reader.s16();
  dialog.y = reader.s16();
  dialog.width = reader.s16();
  dialog.height = reader.s16();
  EXPECT_EQ(reader.nameOrOrdinal(), "");  // no menu
  EXPECT_EQ(reader.nameOrOrdinal(), "");  // the standard dialog class
  dialog.caption = reader.text();
  dialog.pointSize = reader.u16();
  dialog.weight = reader.u16();
  EXPECT_EQ(reader.u8(), 0u);  // not italic
  dialog.charset = reader.u8();
  dialog.face = reader.text();
  for (std::uint32_t i = 0; i < count && reader.ok(); ++i) {
    reader.alignTo4();
    Control control;
    reader.u32();  // help id
    control.exStyle = reader.u32();
    control.style = reader.u32();
    control.x = reader.s16();
    control.y = reader.s16();
    control.width = reader.s16();
    control.height = reader.s16();
    control.id = reader.u32();
    control.windowClass = reader.nameOrOrdinal();
    control.text = reader.nameOrOrdinal();
    const std::uint32_t extraBytes = reader.u16();
    EXPECT_EQ(extraBytes, 0u);
    dialog.controls.push_back(control);
  }
  EXPECT_TRUE(reader.ok());
  return dialog;
}

void expectDialog(const std::string& name, const Dialog& expected) {
  SCOPED_TRACE(name);
  const Resource* resource = findResource(kRtDialog, name);
  ASSERT_NE(resource, nullptr) << "no dialog named " << name;
  EXPECT_EQ(resource->language, kLangJapanese);
  const Dialog dialog = readDialogEx(resource->data);
  EXPECT_EQ(dialog.style, expected.style);
  EXPECT_EQ(dialog.exStyle, expected.exStyle);
  EXPECT_EQ(dialog.x, expected.x);
  EXPECT_EQ(dialog.y, expected.y);
  EXPECT_EQ(dialog.width, expected.width);
  EXPECT_EQ(dialog.height, expected.height);
  EXPECT_EQ(dialog.caption, expected.caption);
  EXPECT_EQ(dialog.pointSize, expected.pointSize);
  EXPECT_EQ(dialog.weight, expected.weight);
  EXPECT_EQ(dialog.charset, expected.charset);
  EXPECT_EQ(dialog.face, expected.face);
  ASSERT_EQ(dialog.controls.size(), expected.controls.size());
  for (std::size_t i = 0; i < expected.controls.size(); ++i) {
    const Control& got = dialog.controls[i];
    const Control& want = expected.controls[i];
    SCOPED_TRACE("control " + std::to_string(want.id));
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(got.windowClass, want.windowClass);
    EXPECT_EQ(got.text, want.text);
    EXPECT_EQ(got.style, want.style) << std::hex << got.style;
    EXPECT_EQ(got.exStyle, want.exStyle) << std::hex << got.exStyle;
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.width, want.width);
    EXPECT_EQ(got.height, want.height);
  }
}

// Control classes by ordinal.
const std::string kButton = "#128";
const std::string kEdit = "#129";
const std::string kStatic = "#130";

// WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT
constexpr std::uint32_t kModalDialogStyle = 0x80C800C0;
// Right-aligned, transparent labels: WS_EX_RIGHT | WS_EX_TRANSPARENT.
constexpr std::uint32_t kLabelExStyle = 0x00001020;
// WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL
constexpr std::uint32_t kNameFieldStyle = 0x50810080;
// WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, and BS_PUSHBUTTON.
constexpr std::uint32_t kDefaultButtonStyle = 0x50010001;
constexpr std::uint32_t kButtonStyle = 0x50010000;

TEST(ResourceScript, NewDialog) {
  // Labels: WS_CHILD | WS_VISIBLE | WS_GROUP | SS_CENTERIMAGE.
  expectDialog("ID_DLG_NEWFILE",
               {kModalDialogStyle, 0, 0, 0, 101, 61, "新規作成", 9, 400, 128, "ＭＳ Ｐゴシック",
                {
                    {1034, kStatic, "タイトル名：", 0x50020200, kLabelExStyle, 9, 8, 34, 8},
                    {1035, kEdit, "", kNameFieldStyle, 0, 46, 7, 47, 12},
                    {1032, kStatic, "クラス名：", 0x50020200, kLabelExStyle, 9, 24, 34, 8},
                    {1033, kEdit, "", kNameFieldStyle, 0, 46, 23, 47, 12},
                    {1036, kButton, "OK", kDefaultButtonStyle, 0, 11, 40, 41, 14},
                    {1037, kButton, "CANCEL", kButtonStyle, 0, 53, 40, 41, 14},
                }});
}

TEST(ResourceScript, SettingsDialog) {
  // Labels: WS_CHILD | WS_VISIBLE | WS_GROUP.
  constexpr std::uint32_t kLabel = 0x50020000;
  expectDialog("ID_DLG_SETTING",
               {kModalDialogStyle, 0, 0, 0, 131, 109, "Setting", 9, 400, 128, "ＭＳ Ｐゴシック",
                {
                    {1016, kStatic, "HWNDの変数名：", kLabel, kLabelExStyle, 7, 8, 68, 8},
                    {1017, kEdit, "", kNameFieldStyle, 0, 78, 7, 47, 12},
                    {1018, kStatic, "HINSTANCEの変数名：", kLabel, kLabelExStyle, 7, 24, 68, 8},
                    {1019, kEdit, "", kNameFieldStyle, 0, 78, 23, 47, 12},
                    {1020, kStatic, "HFONTの変数名：", kLabel, kLabelExStyle, 7, 40, 68, 8},
                    {1021, kEdit, "", kNameFieldStyle, 0, 78, 39, 47, 12},
                    {1022, kStatic, "HRGNの変数名：", kLabel, kLabelExStyle, 7, 56, 68, 8},
                    {1023, kEdit, "", kNameFieldStyle, 0, 78, 55, 47, 12},
                    {1031, kStatic, "POINTの変数名：", kLabel, kLabelExStyle, 7, 72, 68, 8},
                    {1030, kEdit, "", kNameFieldStyle, 0, 78, 71, 47, 12},
                    {1028, kButton, "OK", kDefaultButtonStyle, 0, 22, 88, 50, 14},
                    {1029, kButton, "CANCEL", kButtonStyle, 0, 74, 88, 50, 14},
                }});
}

TEST(ResourceScript, StyleDialog) {
  // WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT: no system menu.
  expectDialog("ID_DLG_SETSTYLE",
               {0x80C000C0, 0, 0, 0, 253, 205, "SettingStyle", 9, 400, 128, "ＭＳ Ｐゴシック",
                {
                    {1040, kButton, "OK", kDefaultButtonStyle, 0, 144, 184, 50, 14},
                    {1041, kButton, "CANCEL", kButtonStyle, 0, 196, 184, 50, 14},
                    {1039, kStatic, "", 0x50000000, 0, 66, 124, 180, 54},  // SS_LEFT
                    {1038, kButton, "Sample", 0x50000007, 0, 7, 124, 53, 54},  // BS_GROUPBOX
                }});
}

TEST(ResourceScript, EditVariantDialog) {
  // WS_TABSTOP | BS_AUTORADIOBUTTON
  constexpr std::uint32_t kRadio = 0x50010009;
  // WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_3DLOOK | DS_SETFONT
  expectDialog("ID_EDIT_MENU",
               {0x80C80044, 0, 0, 0, 149, 167, "EDIT", 9, 400, 128, "ＭＳ ゴシック",
                {
                    {1005, kButton, "NORMAL", kRadio, 0, 6, 8, 40, 10},
                    {1004, kButton, "MULTILINE", kRadio, 0, 45, 29, 52, 10},
                    {1006, kButton, "VSCROLL", kRadio, 0, 5, 58, 44, 10},
                    {1007, kButton, "HSCROLL", kRadio, 0, 50, 91, 44, 10},
                    {1008, kButton, "VHSCROLL", kRadio, 0, 5, 130, 48, 10},
                    {1009, kEdit, "", 0x50800080, 0, 50, 7, 46, 12},
                    {1010, kEdit, "", 0x50801084, 0, 97, 21, 46, 26},
                    {1011, kEdit, "", 0x50A010C4, 0, 51, 54, 46, 26},
                    {1012, kEdit, "", 0x50901084, 0, 98, 85, 46, 26},
                    {1013, kEdit, "", 0x50B010C4, 0, 54, 113, 46, 45},
                    {1014, kButton, "OK", kButtonStyle, 0, 112, 123, 32, 20},
                    {1015, kButton, "CANCEL", kButtonStyle, 0, 112, 145, 32, 19},
                }});
}

}  // namespace
}  // namespace quorvin

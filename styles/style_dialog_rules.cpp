#include "styles/style_dialog_rules.h"

#include <algorithm>

#include "resources/resource.h"

namespace quorvin {

static_assert(kFirstWindowStyleBoxId == IDC_SETSTYLE_FIRST_WINDOW_STYLE);
static_assert(kFirstKindStyleBoxId == IDC_SETSTYLE_FIRST_CLASS_STYLE);

namespace {

constexpr int kBoxesPerLine = 3;
constexpr std::int32_t kLineStep = 19;

bool rowInside(StyleTable table, int row) {
  return row >= 0 && static_cast<std::size_t>(row) < table.size();
}

}  // namespace

PixelRect windowStyleBoxRect(int row) {
  const int column = row % kBoxesPerLine;
  const int line = row / kBoxesPerLine;
  return {1 + 110 * column, 10 + kLineStep * line, 100, 15};
}

PixelRect kindStyleBoxRect(ObjectKind kind, int row) {
  const int column = row % kBoxesPerLine;
  const int line = row / kBoxesPerLine;
  const std::int32_t columnStep = kind == ObjectKind::LISTBOX ? 220 : 140;
  return {1 + columnStep * column, 60 + kLineStep * line, 130, 15};
}

DialogGrowth styleDialogGrowth(ObjectKind kind) {
  switch (kind) {
    case ObjectKind::BUTTON:
      return {0, 50};
    case ObjectKind::LISTBOX:
      return {215, 50};
    default:
      return {};
  }
}

PixelRect sampleFrameRect(const EdgeRect& client) {
  return {client.left + 5, client.bottom - 150, 100, 100};
}

PixelRect descriptionRect(const EdgeRect& client) {
  return {client.left + 115, client.bottom - 150,
          std::max<std::int32_t>(client.right - client.left - 125, 0), 100};
}

std::vector<bool> initialKindChecks(StyleTable table, std::uint32_t style) {
  std::vector<bool> checks(table.size(), false);
  for (int row : DecomposeStyle(table, style))
    if (rowInside(table, row)) checks[static_cast<std::size_t>(row)] = true;
  return checks;
}

std::uint32_t windowStyleClick(std::uint32_t style, int row, bool checked) {
  if (!rowInside(WindowStyleTable, row)) return style;
  const std::uint32_t bits = WindowStyleTable[static_cast<std::size_t>(row)].value;
  return checked ? (style | bits) : (style & ~bits);
}

std::uint32_t kindStyleClick(StyleTable table, std::uint32_t style, int row,
                             bool checked, const std::vector<bool>& kindChecks,
                             const std::array<bool, 6>& windowChecks) {
  if (!rowInside(table, row)) return style;
  if (checked) return style | table[static_cast<std::size_t>(row)].value;
  const std::uint32_t rebuilt = ComposeStyle(table, kindChecks, windowChecks);
  return rebuilt == 0 ? style : rebuilt;
}

const char* styleBoxDescription(StyleTable kindTable, int controlId) {
  const int windowRow = controlId - kFirstWindowStyleBoxId;
  if (windowRow >= 0 && windowRow < kFirstKindStyleBoxId - kFirstWindowStyleBoxId)
    return rowInside(WindowStyleTable, windowRow)
               ? WindowStyleTable[static_cast<std::size_t>(windowRow)].description
               : nullptr;
  const int kindRow = controlId - kFirstKindStyleBoxId;
  return rowInside(kindTable, kindRow)
             ? kindTable[static_cast<std::size_t>(kindRow)].description
             : nullptr;
}

std::optional<ToolCode> editVariantTool(int radioId) {
  switch (radioId) {
    case IDC_EDITMENU_NORMAL:
      return ToolCode::Edit;
    case IDC_EDITMENU_MULTILINE:
      return ToolCode::EditM;
    case IDC_EDITMENU_VSCROLL:
      return ToolCode::EditMV;
    case IDC_EDITMENU_HSCROLL:
      return ToolCode::EditMH;
    case IDC_EDITMENU_VHSCROLL:
      return ToolCode::EditMVH;
    default:
      return std::nullopt;
  }
}

}  // namespace quorvin

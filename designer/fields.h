#pragma once
// The six property fields of the palette: caption, ID, W, H, x, y. They show
// the selected control, the designed window or the active polygon point, and
// every key release applies all six at once.

#include "app/model.h"
#include "common/win32/win32.h"
#include "designer/field_values.h"

namespace quorvin {

inline constexpr int kCaptionFieldId = 9500;
inline constexpr int kIdFieldId = 9600;
inline constexpr int kWidthFieldId = 9000;
inline constexpr int kHeightFieldId = 9100;
inline constexpr int kXFieldId = 9200;
inline constexpr int kYFieldId = 9300;

// The warning for an ID field left empty (caption "error").
inline constexpr wchar_t kMissingIdMessage[] = L"ID(HMENU)を入れてください";

LRESULT CALLBACK fieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Subclasses the six fields (children of the tool window) with fieldProc.
void subclassFields(HWND toolWindow);

// Fill the fields of the palette `toolWindow` (nothing is written while
// there is none) from the fields' target (editing_state.h): empty for none.
void refillFields();
// Make control `index` the selection and the target, or the designed window
// (no control selected), or polygon point `pointIndex`, and refill. The
// object given to showObjectFields must be an entry of `objects`.
void showControlFields(int index);
void showObjectFields(const DesignObject& object);
void showWindowFields();
// Caption and ID emptied, W and H 0, x and y the point's marker position;
// nothing for an index outside the point arrays.
void showPointFields(int pointIndex);

// True while a key release applies the fields to the design.
bool applyingFieldTexts();

// The six fields' texts as they stand (CP932), read from `palette`.
FieldTexts readFieldTexts(HWND palette);

// Apply the texts to the control (caption, ID, then the numbers; the
// control, its handles and its caption on screen follow) or to the designed
// window (title, class name, numbers; the surface follows). The window is
// moved only when all four numbers were numbers.
void applyObjectFields(DesignObject& object, const FieldTexts& texts);
void applyWindowFields(const FieldTexts& texts);

// When the ID field of `palette` is empty and has the keyboard focus: the
// warning box (owner `palette`), then the focus back to the ID field.
// True when the warning was shown.
bool reportEmptyIdField(HWND palette);

}  // namespace quorvin

#pragma once
// The six property fields of the palette: caption, ID, W, H, x, y. They show
// the selected control, the designed window or the active polygon point, and
// every key release applies all six at once.

#include "app/model.h"
#include "common/win32/win32.h"

namespace quorvin {

inline constexpr int kCaptionFieldId = 9500;
inline constexpr int kIdFieldId = 9600;
inline constexpr int kWidthFieldId = 9000;
inline constexpr int kHeightFieldId = 9100;
inline constexpr int kXFieldId = 9200;
inline constexpr int kYFieldId = 9300;

LRESULT CALLBACK fieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Subclasses the six fields (children of the tool window) with fieldProc.
void subclassFields(HWND toolWindow);

void showObjectFields(const DesignObject& object);
void showWindowFields();
void showPointFields(int pointIndex);

}  // namespace quorvin

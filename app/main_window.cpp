// The main window: its class, its creation and its window procedure. For now
// the window is an empty frame that ends the program when it is destroyed;
// the menu commands, the status line, the tool palette and the close
// question are handled here as they come.
#include "app/main_window.h"

#include "app/model.h"

namespace quorvin {

HWND mainWindow = nullptr;
HWND toolWindow = nullptr;
HWND statusLine = nullptr;
HFONT statusFont = nullptr;

namespace {

constexpr wchar_t kMainClassName[] = L"Quorvin";
constexpr wchar_t kMainTitle[] = L"Quorvin";
constexpr int kMainWidth = 400;   // pixels, outer size
constexpr int kMainHeight = 400;  // pixels, outer size
// CS_VREDRAW | CS_HREDRAW | CS_BYTEALIGNCLIENT
constexpr UINT kMainClassStyle = 0x1003;
constexpr int kGreyBrush = GRAY_BRUSH;

// The project's font handle is an opaque number in the portable model; the
// model calls this to delete it.
void deleteFontHandle(FontHandle font) {
  DeleteObject(reinterpret_cast<HFONT>(font));
}

}  // namespace

ATOM registerWindowClass(const wchar_t* className, UINT classStyle, bool withMenu,
                         HINSTANCE instance, WNDPROC procedure, int backgroundIndex) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = classStyle;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, L"IDI_ICON");
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = backgroundIndex == COLOR_BTNFACE
                                  ? GetSysColorBrush(COLOR_BTNFACE)
                                  : static_cast<HBRUSH>(GetStockObject(backgroundIndex));
  windowClass.lpszMenuName = withMenu ? L"ID_MENU" : nullptr;
  windowClass.lpszClassName = className;
  return RegisterClassExW(&windowClass);
}

bool createMainWindow(const wchar_t* className, HINSTANCE instance, int showCommand) {
  const HWND window = CreateWindowExW(0, className, kMainTitle, WS_OVERLAPPEDWINDOW,
                                      CW_USEDEFAULT, CW_USEDEFAULT, kMainWidth, kMainHeight,
                                      nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return false;
  mainWindow = window;
  ShowWindow(window, showCommand);
  UpdateWindow(window);
  return true;
}

// Handles only what cannot throw; every handler added here must keep
// exceptions inside (catch and report), since none may cross into Windows.
LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      mainWindow = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

bool startDesigner(HINSTANCE instance, int showCommand) {
  setFontDeleter(deleteFontHandle);
  if (registerWindowClass(kMainClassName, kMainClassStyle, true, instance, mainWindowProc,
                          kGreyBrush) == 0)
    return false;
  return createMainWindow(kMainClassName, instance, showCommand);
}

int runMessageLoop() {
  MSG message{};
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 0;  // only for an invalid window filter; never here
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void showError(HWND owner, const wchar_t* text) {
  MessageBoxW(owner, text, L"error", MB_OK);
}

}  // namespace quorvin

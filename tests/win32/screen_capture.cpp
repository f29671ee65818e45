#include "tests/win32/screen_capture.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "common/win32/gdi.h"

namespace quorvin::testing {
namespace {

constexpr DWORD kSettleTimeoutMs = 3000;
constexpr DWORD kPollMs = 50;
constexpr WORD kBmpSignature = 0x4D42;  // "BM"

bool writeBmp(const std::filesystem::path& file, const BITMAPINFOHEADER& info, const void* pixels,
              std::size_t bytes) {
  BITMAPFILEHEADER header{};
  header.bfType = kBmpSignature;
  header.bfOffBits = sizeof header + sizeof info;
  header.bfSize = header.bfOffBits + static_cast<DWORD>(bytes);
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  out.write(reinterpret_cast<const char*>(&info), sizeof info);
  out.write(static_cast<const char*>(pixels), static_cast<std::streamsize>(bytes));
  return static_cast<bool>(out);
}

}  // namespace

bool captureWhenSettled(HWND window, const std::filesystem::path& file,
                        const std::function<void()>& pump) {
  RECT frame{};
  if (!GetWindowRect(window, &frame)) return false;
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  if (width <= 0 || height <= 0) return false;
  WindowDc screen = getWindowDc(nullptr);
  MemoryDc memory(CreateCompatibleDC(screen.get()));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files are
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
  if (!bitmap || pixels == nullptr) return false;
  const std::size_t bytes = static_cast<std::size_t>((width * 3 + 3) & ~3) * height;
  std::vector<unsigned char> previous;
  for (const DWORD start = GetTickCount(); GetTickCount() - start < kSettleTimeoutMs;) {
    pump();
    {
      SelectObjectGuard select(memory.get(), bitmap.get());
      BitBlt(memory.get(), 0, 0, width, height, screen.get(), frame.left, frame.top, SRCCOPY);
    }
    GdiFlush();
    const auto* copy = static_cast<const unsigned char*>(pixels);
    if (!previous.empty() && std::equal(previous.begin(), previous.end(), copy)) break;
    previous.assign(copy, copy + bytes);
    Sleep(kPollMs);
  }
  return writeBmp(file, info.bmiHeader, pixels, bytes);
}

}  // namespace quorvin::testing

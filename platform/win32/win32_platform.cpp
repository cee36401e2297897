// The Windows platform: the game's operations mapped onto user32, gdi32 and kernel32.

#include <memory>

#include "dib_image.h"
#include "gdi_text.h"
#include "platform/seeded_random.h"
#include "win32_api.h"
#include "window_layer.h"

namespace pax {

namespace {

class Win32Platform final : public Platform {
 public:
  void initWindowLayer() override {
    windows_.init();
    // The frame loop sleeps 20 ms a frame; at the default 15.6 ms timer tick that would be
    // 31 ms. The finer tick lasts for the run: Windows drops it when the process ends.
    timeBeginPeriod(1);
  }
  std::intptr_t createTopWindow(int window, int x, int y, int innerWidth, int innerHeight,
                                std::string_view title, std::uint32_t flags) override {
    return reinterpret_cast<std::intptr_t>(
        windows_.createTopWindow(window, x, y, innerWidth, innerHeight, title, flags));
  }
  std::intptr_t createPictureControl(int control, int x, int y, int width, int height,
                                     const Image* image) override {
    return reinterpret_cast<std::intptr_t>(
        windows_.createPictureControl(control, x, y, width, height, BitmapOf(image)));
  }
  void setPictureImage(int control, const Image* image) override {
    windows_.setPictureImage(control, BitmapOf(image));
  }
  void shutdownWindowLayer() override { windows_.shutdown(); }

  int pollEvent() override { return windows_.pollEvent(); }
  int eventAction() override { return windows_.eventAction(); }
  int eventControl() override { return windows_.eventControl(); }
  int pointerX(int window) override { return windows_.pointerX(window); }
  int pointerY(int window) override { return windows_.pointerY(window); }
  int askYesNo(std::string_view title, std::string_view text, int flags) override {
    return windows_.askYesNo(title, text, flags);
  }
  void sleepMs(int milliseconds) override {
    Sleep(static_cast<DWORD>(milliseconds > 0 ? milliseconds : 0));
  }

  std::uint32_t nextRandom() override { return random_.next(); }

  Image createImage(int width, int height) override { return win32::CreateDibImage(width, height); }
  TextEngine& textEngine() override { return text_; }

  [[noreturn]] void exitProcess(int code) override { ExitProcess(static_cast<UINT>(code)); }

 private:
  static HBITMAP BitmapOf(const Image* image) {
    return image ? static_cast<HBITMAP>(image->nativeHandle()) : nullptr;
  }

  win32::WindowLayer windows_;
  win32::GdiTextEngine text_;
  // Seeded from the thread's id combined with the millisecond tick count.
  SeededRandom random_{[] {
    return std::vector<std::uint32_t>{
        static_cast<std::uint32_t>(GetCurrentThreadId() ^ GetTickCount())};
  }};
};

}  // namespace

std::unique_ptr<Platform> CreatePlatform() {
  return std::make_unique<Win32Platform>();
}

}  // namespace pax

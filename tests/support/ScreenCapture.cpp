#include "support/ScreenCapture.h"

#include <cstdlib>

#include "support/MessagePump.h"
#include "support/PngWriter.h"
#include "support/XwdImage.h"

namespace {

// Wine hands window contents to the X server from its own message loop and a
// flush timer, so a picture just drawn needs a few turns of the loop.
constexpr DWORD handOverMs = 150;

// A path as the X server wrote it, as a Windows program opens it (Wine maps
// the Unix root to drive Z:).
std::string framebufferPath() {
    const char* path = std::getenv("ORVELLE_FRAMEBUFFER");
    if (!path || !*path) return {};
    std::string windowsPath = path[0] == '/' ? std::string("Z:") + path : std::string(path);
    for (char& c : windowsPath) {
        if (c == '/') c = '\\';
    }
    return windowsPath;
}

WindowPixels toPixels(const XwdImage& image) {
    WindowPixels pixels;
    pixels.width = image.width();
    pixels.height = image.height();
    pixels.pixels = image.pixels();
    return pixels;
}

}  // namespace

bool ScreenCapture::available(std::string& reason) {
    const std::string path = framebufferPath();
    if (path.empty()) {
        reason = "ORVELLE_FRAMEBUFFER is not set (not under cmake/wine-run.sh's Xvfb)";
        return false;
    }
    return !XwdImage::read(path, reason).empty();
}

WindowPixels ScreenCapture::area(const RECT& area) {
    pumpFor(handOverMs);
    GdiFlush();
    return areaAsIs(area);
}

WindowPixels ScreenCapture::areaAsIs(const RECT& area) {
    const std::string path = framebufferPath();
    if (path.empty()) return {};
    std::string reason;
    const XwdImage screen = XwdImage::read(path, reason);
    return toPixels(screen.crop(area.left, area.top, area.right - area.left, area.bottom - area.top));
}

WindowPixels ScreenCapture::window(HWND window) {
    RECT outer{};
    GetWindowRect(window, &outer);
    return area(outer);
}

WindowPixels ScreenCapture::client(HWND window) {
    RECT inner{};
    GetClientRect(window, &inner);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&inner), 2);
    return area(inner);
}

bool ScreenCapture::keep(const std::string& name, const WindowPixels& pixels) {
    return writePng(name + ".png", pixels.width, pixels.height, pixels.pixels);
}

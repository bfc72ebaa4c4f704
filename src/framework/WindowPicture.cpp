#include "framework/WindowPicture.h"

#include <cstdint>
#include <vector>

#include "common/Png.h"

bool SaveWindowPicture(HWND window, const std::string& path) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return false;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (bitmap) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ok = ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != FALSE;
        ::GdiFlush();
        if (ok) {
            std::vector<uint8_t> rgb(size_t(width) * size_t(height) * 3);
            const auto* source = static_cast<const uint8_t*>(bits);
            for (size_t i = 0; i < size_t(width) * size_t(height); ++i) {
                rgb[i * 3] = source[i * 4 + 2];
                rgb[i * 3 + 1] = source[i * 4 + 1];
                rgb[i * 3 + 2] = source[i * 4];
            }
            ok = WritePngRgb(path, width, height, rgb);
        }
        ::SelectObject(memory, old);
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return ok;
}

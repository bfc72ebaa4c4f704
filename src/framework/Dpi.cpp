#include "Dpi.h"

#include "framework/WinApp.h"

namespace {

// Present from Windows 10 (1607) on; older systems scale every window at the system's scaling.
template <typename Function>
Function User32Function(const char* name) {
    static HMODULE user32 = ::GetModuleHandleA("user32.dll");
    FARPROC address = user32 ? ::GetProcAddress(user32, name) : nullptr;
    // Through a plain function pointer type: the cast between unrelated function types is meant.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

UINT SystemDpi() {
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? UINT(dpi) : kDefaultDpi;
}

}  // namespace

UINT WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (UINT dpi = getDpiForWindow(window))
            return dpi;
    }
    return SystemDpi();
}

int ScaleForDpi(int pixels, UINT dpi) {
    return ::MulDiv(pixels, int(dpi), int(kDefaultDpi));
}

int LineWidthForDpi(UINT dpi) {
    const int width = int(dpi / kDefaultDpi);
    return width < 1 ? 1 : width;
}

int SystemMetricForDpi(int index, UINT dpi) {
    using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
    static const auto getSystemMetricsForDpi =
        User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (getSystemMetricsForDpi)
        return getSystemMetricsForDpi(index, dpi);
    return ::GetSystemMetrics(index);
}

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP description{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof description, &description))
        return {0, 0};
    return {description.bmWidth, description.bmHeight};
}

SIZE ScaleSizeForDpi(SIZE size, UINT dpi, SIZE limit) {
    SIZE scaled{ScaleForDpi(size.cx, dpi), ScaleForDpi(size.cy, dpi)};
    if (limit.cx > 0 && scaled.cx > limit.cx) {
        scaled.cy = ::MulDiv(scaled.cy, limit.cx, scaled.cx);
        scaled.cx = limit.cx;
    }
    if (limit.cy > 0 && scaled.cy > limit.cy) {
        scaled.cx = ::MulDiv(scaled.cx, limit.cy, scaled.cy);
        scaled.cy = limit.cy;
    }
    return scaled;
}

HBITMAP ScaleBitmap(HBITMAP bitmap, SIZE size, bool smooth) {
    const SIZE original = BitmapSize(bitmap);
    if (!bitmap || size.cx <= 0 || size.cy <= 0 ||
        (size.cx == original.cx && size.cy == original.cy))
        return bitmap;
    HDC screen = ::GetDC(nullptr);
    HDC source = ::CreateCompatibleDC(screen);
    HDC target = ::CreateCompatibleDC(screen);
    HBITMAP scaled = ::CreateCompatibleBitmap(screen, size.cx, size.cy);
    bool drawn = false;
    if (source && target && scaled) {
        HGDIOBJ oldSource = ::SelectObject(source, bitmap);
        HGDIOBJ oldTarget = ::SelectObject(target, scaled);
        ::SetStretchBltMode(target, smooth ? HALFTONE : COLORONCOLOR);
        ::SetBrushOrgEx(target, 0, 0, nullptr);  // MSDN: after HALFTONE, set the brush origin
        drawn = ::StretchBlt(target, 0, 0, size.cx, size.cy, source, 0, 0, original.cx, original.cy,
                             SRCCOPY) != FALSE;
        ::SelectObject(target, oldTarget);
        ::SelectObject(source, oldSource);
    }
    if (target)
        ::DeleteDC(target);
    if (source)
        ::DeleteDC(source);
    ::ReleaseDC(nullptr, screen);
    // A picture at its own size is better than none.
    if (!drawn) {
        if (scaled)
            ::DeleteObject(scaled);
        return bitmap;
    }
    ::DeleteObject(bitmap);
    return scaled;
}

void ShowPictureForDpi(HWND control, UINT bitmapId, bool smooth) {
    auto picture = static_cast<HBITMAP>(::LoadImageA(
        CWinApp::ResourceInstance(), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, 0));
    RECT area{};
    ::GetClientRect(control, &area);
    picture = ScaleBitmap(
        picture,
        ScaleSizeForDpi(BitmapSize(picture), WindowDpi(control), {area.right, area.bottom}),
        smooth);
    if (!picture)
        return;
    auto previous = reinterpret_cast<HGDIOBJ>(
        ::SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture)));
    if (previous && previous != picture)
        ::DeleteObject(previous);
}

void FreePicture(HWND control) {
    if (auto picture =
            reinterpret_cast<HGDIOBJ>(::SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, 0)))
        ::DeleteObject(picture);
}

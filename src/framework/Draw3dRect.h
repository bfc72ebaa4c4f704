// The one-pixel outline of a rectangle: top and left edges in one colour, bottom and right in
// another, as the flat controls draw their raised, sunken and plain frames.
#pragma once
#include <windows.h>

inline void Draw3dRect(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0)
        return;
    auto fill = [dc](int x, int y, int w, int h, COLORREF colour) {
        RECT part{x, y, x + w, y + h};
        ::SetBkColor(dc, colour);
        ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &part, nullptr, 0, nullptr);
    };
    fill(r.left, r.top, width - 1, 1, topLeft);
    fill(r.left, r.top, 1, height - 1, topLeft);
    fill(r.right - 1, r.top, 1, height, bottomRight);
    fill(r.left, r.bottom - 1, width, 1, bottomRight);
}

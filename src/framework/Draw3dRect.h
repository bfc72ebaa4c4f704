// The outline of a rectangle, `width` pixels thick inside its edges: top and left edges in one
// colour, bottom and right in another, as the flat controls draw their raised, sunken and plain
// frames. The lines grow with the display's scaling (LineWidthForDpi).
#pragma once
#include <windows.h>

inline void Draw3dRect(HDC dc, const RECT& r, COLORREF topLeft, COLORREF bottomRight,
                       int width = 1) {
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    if (w <= 0 || h <= 0 || width <= 0)
        return;
    auto fill = [dc](int x, int y, int cx, int cy, COLORREF colour) {
        if (cx <= 0 || cy <= 0)
            return;
        RECT part{x, y, x + cx, y + cy};
        ::SetBkColor(dc, colour);
        ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &part, nullptr, 0, nullptr);
    };
    // The top and left lines stop short of the far corners, which take the bottom-right colour.
    fill(r.left, r.top, w - width, width, topLeft);
    fill(r.left, r.top, width, h - width, topLeft);
    fill(r.right - width, r.top, width, h, bottomRight);
    fill(r.left, r.bottom - width, w, width, bottomRight);
}

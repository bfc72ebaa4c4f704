// Display scaling: the pixels per inch a window is drawn at, 96 being 100 %. The program's own
// pixel sizes (frame lines, pictures, remembered window sizes) are given at 96 and scaled with
// these.
#pragma once
#include <windows.h>

constexpr UINT kDefaultDpi = 96;

// Sent to child windows after their top-level window moved to another scaling (per-monitor
// scaling only); named here because the headers give it only to builds for Windows 10.
constexpr UINT kDpiChangedAfterParent = 0x02E3;

// The window's scaling where the system tracks it per window (Windows 10), else the system's.
UINT WindowDpi(HWND window);
// A length in pixels at 96 as many pixels at dpi, rounded.
int ScaleForDpi(int pixels, UINT dpi);
// Drawn lines grow in whole pixels only, so that a frame stays sharp: 1 below 192, 2 from 192.
int LineWidthForDpi(UINT dpi);
// GetSystemMetrics as it is at dpi.
int SystemMetricForDpi(int index, UINT dpi);

// A bitmap's width and height in pixels; 0 by 0 for none.
SIZE BitmapSize(HBITMAP bitmap);
// The size a picture of `size` pixels at 100 % takes at dpi, made smaller where needed to fit
// within `limit` keeping its proportions (a limit of 0 limits nothing).
SIZE ScaleSizeForDpi(SIZE size, UINT dpi, SIZE limit);
// The bitmap drawn at `size`: a new bitmap in its place (the old one deleted), or the bitmap
// itself when it has that size already or cannot be drawn anew. Smooth scaling suits
// photographs; pixel art and pictures with a transparent colour keep their exact colours with
// the nearest pixel.
HBITMAP ScaleBitmap(HBITMAP bitmap, SIZE size, bool smooth);

// A bitmap resource shown in a picture control at the control's scaling, made smaller where
// needed to fit within the control's area, keeping its proportions. The bitmap the control
// showed before is freed; the control never frees the one it holds, so FreePicture frees it as
// the window goes.
void ShowPictureForDpi(HWND control, UINT bitmapId, bool smooth);
void FreePicture(HWND control);

// Saves what a window shows on the screen (caption and frame included) as a PNG file.
#pragma once
#include <windows.h>

#include <string>

bool SaveWindowPicture(HWND window, const std::string& path);

// A minimal PNG writer (24-bit RGB, stored deflate blocks): enough for screenshots that any
// viewer opens, without an image library.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

bool WritePngRgb(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb);

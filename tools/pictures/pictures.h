// The programs' pictures, drawn in code: the two sun bitmaps of the popup and the plain
// application window icon that all three programs carry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pictures {

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

struct Image {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;  // top row first
    std::vector<bool> opaque; // per pixel; false where the icon is transparent
    Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

constexpr Rgb SUN_BACKGROUND = {0, 0, 255}; // the popup's transparent key colour

// Sun pictures, 70 x 68: eight long light blue-grey rays, or eight short darker blue ones.
Image DrawSun(bool longRays);
// A plain application window: a frame, a blue title bar and a white client area.
Image DrawAppWindow(int size);

// File images.
std::vector<uint8_t> Bitmap555(const Image& image); // .bmp, 16 bpp 5-5-5
std::vector<uint8_t> AppIcon(const std::vector<int>& sizes4, const std::vector<int>& sizes8,
                             const std::vector<int>& sizes32); // .ico with those images

} // namespace pictures

#include "pictures.h"

#include <cmath>

namespace pictures {
namespace {

constexpr double PI = 3.14159265358979323846;
constexpr Rgb LONG_RAYS = {176, 196, 222};
constexpr Rgb SHORT_RAYS = {30, 70, 160};
constexpr Rgb FRAME = {64, 64, 64};
constexpr Rgb TITLE = {0, 84, 200};
constexpr Rgb CLIENT = {255, 255, 255};

// The colours an icon uses, first in its palettes.
const Rgb ICON_PALETTE[] = {{0, 0, 0}, FRAME, TITLE, CLIENT};

Image Blank(int width, int height, Rgb fill, bool opaque) {
    Image image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<size_t>(width * height), fill);
    image.opaque.assign(static_cast<size_t>(width * height), opaque);
    return image;
}

double DistanceToSegment(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    double t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy);
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutInfoHeader(std::vector<uint8_t>& out, int width, int height, int bits, uint32_t colours) {
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(bits));
    Put32(out, 0); // BI_RGB
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, colours);
    Put32(out, 0);
}

int RowBytes(int width, int bits) {
    return ((width * bits + 31) / 32) * 4;
}

uint32_t PaletteIndex(Rgb c) {
    for (uint32_t i = 0; i < sizeof ICON_PALETTE / sizeof ICON_PALETTE[0]; ++i) {
        if (ICON_PALETTE[i] == c)
            return i;
    }
    return 0;
}

// One icon image: header, palette, colour rows and the AND mask, rows bottom-up.
std::vector<uint8_t> IconImage(const Image& image, int bits) {
    std::vector<uint8_t> out;
    const uint32_t colours = bits <= 8 ? (1u << bits) : 0;
    PutInfoHeader(out, image.width, image.height * 2, bits, colours);
    for (uint32_t i = 0; i < colours; ++i) {
        const Rgb c = i < 4 ? ICON_PALETTE[i] : Rgb{0, 0, 0};
        out.insert(out.end(), {c.b, c.g, c.r, 0});
    }
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(RowBytes(image.width, bits)), 0);
        for (int x = 0; x < image.width; ++x) {
            const size_t i = static_cast<size_t>(y * image.width + x);
            const Rgb c = image.opaque[i] ? image.pixels[i] : Rgb{0, 0, 0};
            if (bits == 32) {
                const uint8_t alpha = image.opaque[i] ? 255 : 0;
                const uint8_t px[4] = {c.b, c.g, c.r, alpha};
                std::copy(px, px + 4, row.begin() + x * 4);
            } else if (bits == 8) {
                row[static_cast<size_t>(x)] = static_cast<uint8_t>(PaletteIndex(c));
            } else {
                row[static_cast<size_t>(x / 2)] |=
                    static_cast<uint8_t>(PaletteIndex(c) << (x % 2 ? 0 : 4));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(RowBytes(image.width, 1)), 0);
        for (int x = 0; x < image.width; ++x) {
            if (!image.opaque[static_cast<size_t>(y * image.width + x)])
                row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace

Image DrawSun(bool longRays) {
    Image image = Blank(70, 68, SUN_BACKGROUND, true);
    const Rgb colour = longRays ? LONG_RAYS : SHORT_RAYS;
    const double cx = 34.5, cy = 33.5, disc = 11.0, rayStart = 15.0;
    const double rayEnd = longRays ? 32.0 : 22.0;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            bool lit = std::hypot(px - cx, py - cy) <= disc;
            for (int ray = 0; ray < 8 && !lit; ++ray) {
                const double a = ray * PI / 4;
                lit = DistanceToSegment(px, py, cx + rayStart * std::cos(a),
                                        cy + rayStart * std::sin(a), cx + rayEnd * std::cos(a),
                                        cy + rayEnd * std::sin(a)) <= 1.8;
            }
            if (lit)
                image.pixels[static_cast<size_t>(y * image.width + x)] = colour;
        }
    }
    return image;
}

Image DrawAppWindow(int size) {
    Image image = Blank(size, size, CLIENT, false);
    const int margin = size / 16, title = size / 4;
    for (int y = margin; y < size - margin; ++y) {
        for (int x = 0; x < size; ++x) {
            const size_t i = static_cast<size_t>(y * size + x);
            const bool edge = x == 0 || x == size - 1 || y == margin || y == size - margin - 1;
            image.opaque[i] = true;
            image.pixels[i] = edge ? FRAME : (y < margin + title ? TITLE : CLIENT);
        }
    }
    return image;
}

std::vector<uint8_t> Bitmap555(const Image& image) {
    const int rowBytes = RowBytes(image.width, 16);
    const uint32_t pixelBytes = static_cast<uint32_t>(rowBytes * image.height);
    std::vector<uint8_t> out;
    out.insert(out.end(), {'B', 'M'});
    Put32(out, 14 + 40 + pixelBytes);
    Put32(out, 0);
    Put32(out, 14 + 40);
    PutInfoHeader(out, image.width, image.height, 16, 0);
    for (int y = image.height - 1; y >= 0; --y) {
        for (int x = 0; x < image.width; ++x) {
            const Rgb c = image.At(x, y);
            Put16(out, static_cast<uint32_t>((c.r >> 3) << 10 | (c.g >> 3) << 5 | (c.b >> 3)));
        }
        for (int pad = image.width * 2; pad < rowBytes; ++pad)
            out.push_back(0);
    }
    return out;
}

std::vector<uint8_t> AppIcon(const std::vector<int>& sizes4, const std::vector<int>& sizes8,
                             const std::vector<int>& sizes32) {
    struct Entry {
        int size, bits;
        std::vector<uint8_t> data;
    };
    std::vector<Entry> entries;
    for (int s : sizes4)
        entries.push_back({s, 4, IconImage(DrawAppWindow(s), 4)});
    for (int s : sizes8)
        entries.push_back({s, 8, IconImage(DrawAppWindow(s), 8)});
    for (int s : sizes32)
        entries.push_back({s, 32, IconImage(DrawAppWindow(s), 32)});

    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, 1); // icon
    Put16(out, static_cast<uint32_t>(entries.size()));
    uint32_t offset = static_cast<uint32_t>(6 + 16 * entries.size());
    for (const Entry& e : entries) {
        out.push_back(static_cast<uint8_t>(e.size));
        out.push_back(static_cast<uint8_t>(e.size));
        out.push_back(static_cast<uint8_t>(e.bits == 4 ? 16 : 0));
        out.push_back(0);
        Put16(out, 1);
        Put16(out, static_cast<uint32_t>(e.bits));
        Put32(out, static_cast<uint32_t>(e.data.size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(e.data.size());
    }
    for (const Entry& e : entries)
        out.insert(out.end(), e.data.begin(), e.data.end());
    return out;
}

} // namespace pictures

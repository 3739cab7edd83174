// The generated pictures are files that the resource compiler and GDI read: their byte
// layout is checked here field by field.
#include "pictures.h"

#include <gtest/gtest.h>

namespace {

using pictures::Rgb;

uint32_t U16(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8;
}
uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}

TEST(SunBitmap, IsA70By68FiveFiveFiveBitmapOnPureBlue) {
    for (bool longRays : {true, false}) {
        const std::vector<uint8_t> bmp = pictures::Bitmap555(pictures::DrawSun(longRays));
        ASSERT_EQ(bmp.size(), 14u + 40u + 70u * 2u * 68u);
        EXPECT_EQ(bmp[0], 'B');
        EXPECT_EQ(bmp[1], 'M');
        EXPECT_EQ(U32(bmp, 2), bmp.size());
        EXPECT_EQ(U32(bmp, 10), 54u);
        EXPECT_EQ(U32(bmp, 18), 70u);
        EXPECT_EQ(U32(bmp, 22), 68u); // positive: bottom-up rows
        EXPECT_EQ(U16(bmp, 28), 16u);
        EXPECT_EQ(U32(bmp, 30), 0u); // BI_RGB, which is 5-5-5 at 16 bits
        // The corners are background: blue at full strength, nothing else.
        const size_t lastPixel = bmp.size() - 2;
        EXPECT_EQ(U16(bmp, 54), 0x001Fu);
        EXPECT_EQ(U16(bmp, lastPixel), 0x001Fu);
    }
}

TEST(SunBitmap, LongRaysReachFurtherThanShortOnes) {
    const pictures::Image longSun = pictures::DrawSun(true);
    const pictures::Image shortSun = pictures::DrawSun(false);
    // Along the horizontal ray, right of the disc.
    auto reach = [](const pictures::Image& sun) {
        int last = 0;
        for (int x = 35; x < sun.width; ++x) {
            if (!(sun.At(x, 33) == pictures::SUN_BACKGROUND))
                last = x;
        }
        return last;
    };
    EXPECT_GE(reach(longSun), 64);
    EXPECT_LE(reach(shortSun), 58);
    EXPECT_GT(reach(shortSun), 50);
    EXPECT_FALSE(longSun.At(34, 33) == shortSun.At(34, 33)); // different sun colours
}

TEST(AppIcon, HoldsEightImagesAtTheirSizesAndDepths) {
    const std::vector<uint8_t> ico = pictures::AppIcon({32, 16}, {48, 32, 16}, {48, 32, 16});
    ASSERT_GE(ico.size(), 6u + 8u * 16u);
    EXPECT_EQ(U16(ico, 0), 0u);
    EXPECT_EQ(U16(ico, 2), 1u);
    ASSERT_EQ(U16(ico, 4), 8u);
    const struct {
        int size, bits;
    } expected[] = {{32, 4}, {16, 4}, {48, 8}, {32, 8}, {16, 8}, {48, 32}, {32, 32}, {16, 32}};
    size_t end = 6 + 8 * 16;
    for (size_t i = 0; i < 8; ++i) {
        const size_t entry = 6 + 16 * i;
        SCOPED_TRACE(i);
        EXPECT_EQ(ico[entry], expected[i].size);
        EXPECT_EQ(ico[entry + 1], expected[i].size);
        EXPECT_EQ(U16(ico, entry + 6), static_cast<uint32_t>(expected[i].bits));
        const uint32_t bytes = U32(ico, entry + 8), offset = U32(ico, entry + 12);
        EXPECT_EQ(offset, end); // images follow each other without gaps
        end = offset + bytes;
        ASSERT_LE(end, ico.size());
        // The image's own header: double height (colour rows and mask), its depth.
        EXPECT_EQ(U32(ico, offset), 40u);
        EXPECT_EQ(U32(ico, offset + 4), static_cast<uint32_t>(expected[i].size));
        EXPECT_EQ(U32(ico, offset + 8), static_cast<uint32_t>(expected[i].size * 2));
        EXPECT_EQ(U16(ico, offset + 14), static_cast<uint32_t>(expected[i].bits));
        const int palette = expected[i].bits <= 8 ? 4 << expected[i].bits : 0;
        const int row = ((expected[i].size * expected[i].bits + 31) / 32) * 4;
        const int mask = ((expected[i].size + 31) / 32) * 4;
        EXPECT_EQ(bytes, 40u + palette + (row + mask) * expected[i].size);
    }
    EXPECT_EQ(end, ico.size());
}

TEST(AppIcon, WindowHasABlueTitleBarAboveAWhiteClientArea) {
    const pictures::Image window = pictures::DrawAppWindow(32);
    const Rgb title = window.At(16, 5), client = window.At(16, 24);
    EXPECT_GT(title.b, 150);
    EXPECT_LT(title.r, 60);
    EXPECT_TRUE(client == (Rgb{255, 255, 255}));
    EXPECT_FALSE(window.opaque[0]); // above the frame the icon is transparent
    EXPECT_TRUE(window.opaque[static_cast<size_t>(16 * 32 + 16)]);
}

} // namespace

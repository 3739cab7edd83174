// Captions by locale, and the frame each display command draws.
#include "captions.h"
#include "frame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using std::u16string;

struct GroupCase {
    std::vector<uint32_t> lcids;
    u16string volumeUp, volumeDown, muteOn, muteOff;
};

const GroupCase GROUPS[] = {
    {{1030}, u"Skru op for lydstyrken", u"Skru ned for lydstyrken", u"Til", u"Fra"},
    {{1031, 2055, 3079, 4103, 5127},
     u"Lautstarke erhohen",
     u"Lautstarke verringern",
     u"Aus",
     u"Ein"},
    {{1034, 2058, 4106, 5130, 6154, 7178, 8202, 9226, 10250, 11274, 12298, 13322, 14346, 15370,
      16394, 17418, 18442, 19466, 20490},
     u"Aumentar volumen",
     u"Disminuir volumen",
     u"Encendido",
     u"Apagado"},
    {{1035}, u"Suurenna aanenvoimakkuutta", u"Pienenna aanenvoimakkuutta", u"On", u"Off"},
    {{1036, 2060, 3084, 4108, 5132},
     u"Augmenter le volume",
     u"Diminuer le volume",
     u"Active",
     u"Desactive"},
    {{1040, 2064}, u"Alza volume", u"Abbassa volume", u"Attivato", u"Disattivato"},
    {{1043, 2067}, u"Volume omhoog", u"Volume omlaag", u"Aan", u"Uit"},
    {{1044, 2068}, u"Hoyere volum", u"Lavere volum", u"Pa", u"Av"},
    {{1046}, u"Aumentar Volume", u"Diminuir Volume", u"Ligado", u"Desligado"},
    {{1053, 2077}, u"Oka volymen", u"Sank volymen", u"Ljud Av", u"Ljud Pa"},
    {{1028},
     {0x8ABF, 0x9AD8, 0x97F3, 0x91CF},
     {0x8ABF, 0x4F4E, 0x97F3, 0x91CF},
     {0x975C, 0x97F3, 0x958B, 0x555F},
     {0x975C, 0x97F3, 0x95DC, 0x9589}},
    {{1041},
     {0x97F3, 0x91CF, 0x003F, 0x4E0A, 0x003F, 0x003F},
     {0x97F3, 0x91CF, 0x003F, 0x4E0B, 0x003F, 0x003F},
     {0x003F, 0x003F},
     {0x003F, 0x003F}},
    {{1042},
     {0x003F, 0x003F, 0x0020, 0x003F, 0x003F, 0x003F},
     {0x003F, 0x003F, 0x0020, 0x003F, 0x003F, 0x003F},
     {0x003F, 0x003F},
     {0x003F, 0x003F}},
    {{2052},
     {0x589E, 0x5927, 0x97F3, 0x91CF},
     {0x003F, 0x5C0F, 0x97F3, 0x91CF},
     {0x003F, 0x97F3, 0x6253, 0x003F},
     {0x003F, 0x97F3, 0x003F, 0x003F}},
    // The default texts, for LCIDs that no language lists.
    {{1033, 3082, 2070, 3076, 6156, 0x00010407, 0x00050804, 0, 0xFFFFFFFF},
     u"Increasing Volume",
     u"Decreasing Volume",
     u"Mute On",
     u"Mute Off"},
};

TEST(SelectCaption, EveryLocaleOfAGroupGetsItsTexts) {
    for (const GroupCase& g : GROUPS) {
        for (uint32_t lcid : g.lcids) {
            SCOPED_TRACE(testing::Message() << "LCID 0x" << std::hex << lcid);
            EXPECT_EQ(SelectCaption(CaptionKind::VolumeUp, lcid), g.volumeUp);
            EXPECT_EQ(SelectCaption(CaptionKind::VolumeDown, lcid), g.volumeDown);
            EXPECT_EQ(SelectCaption(CaptionKind::MuteOn, lcid), g.muteOn);
            EXPECT_EQ(SelectCaption(CaptionKind::MuteOff, lcid), g.muteOff);
        }
    }
}

TEST(SelectCaption, LatinTextsArePlainAscii) {
    for (const GroupCase& g : GROUPS) {
        if (g.volumeUp[0] > 0x7E)
            continue;
        for (const u16string& text : {g.volumeUp, g.volumeDown, g.muteOn, g.muteOff}) {
            for (char16_t c : text)
                EXPECT_TRUE(c >= 0x20 && c <= 0x7E) << static_cast<int>(c);
        }
    }
}

TEST(FrameForCommand, EachDisplayDrawsItsPictureCaptionAndLevel) {
    const struct {
        uint32_t command;
        bool draw;
        Picture picture;
        u16string caption;
        int32_t level;
    } cases[] = {
        {208 | 7u << 16, true, Picture::BrightnessUp, u"", 7},
        {224 | 60u << 16, true, Picture::BrightnessDown, u"", 60},
        {208 | 0xFFFFu << 16, true, Picture::BrightnessUp, u"", 65535},
        {48 | 30u << 16, true, Picture::None, u"Increasing Volume", 30},
        {49, true, Picture::None, u"Decreasing Volume", 0},
        {50 | 80u << 16, true, Picture::None, u"Mute On", -1}, // mute: no segment
        {51 | 80u << 16, true, Picture::None, u"Mute Off", -1},
        {0, false, Picture::None, u"", 0}, // before the first command
        {104, false, Picture::None, u"", 0},
        {209 | 50u << 16, false, Picture::None, u"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        const DisplayFrame f = FrameForCommand(c.command, 1033);
        EXPECT_EQ(f.draw, c.draw);
        if (!f.draw)
            continue;
        EXPECT_EQ(f.picture, c.picture);
        EXPECT_EQ(f.caption, c.caption);
        EXPECT_EQ(f.level, c.level);
    }
}

TEST(FrameForCommand, CaptionFollowsTheLocaleOfEachPaint) {
    EXPECT_EQ(FrameForCommand(48, 1031).caption, u16string(u"Lautstarke erhohen"));
    EXPECT_EQ(FrameForCommand(48, 1033).caption, u16string(u"Increasing Volume"));
}

TEST(IsDisplayCommand, AcceptsTheSixDisplaysOnly) {
    for (uint32_t id = 0; id <= 0xFFFF; ++id) {
        const bool display = id == 48 || id == 49 || id == 50 || id == 51 || id == 208 || id == 224;
        ASSERT_EQ(IsDisplayCommand(static_cast<uint16_t>(id)), display) << id;
    }
}

} // namespace

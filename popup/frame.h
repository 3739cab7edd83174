// What the popup draws for its last display command. The command's low word names the
// display, its high word carries the level.
#pragma once

#include <cstdint>

constexpr uint16_t OSD_VOLUME_UP = 48;
constexpr uint16_t OSD_VOLUME_DOWN = 49;
constexpr uint16_t OSD_MUTE_ON = 50;
constexpr uint16_t OSD_MUTE_OFF = 51;
constexpr uint16_t OSD_BRIGHTNESS_UP = 208;
constexpr uint16_t OSD_BRIGHTNESS_DOWN = 224;
constexpr uint16_t IDM_ABOUT = 104;
constexpr uint16_t IDM_EXIT = 105;

enum class Picture { None, BrightnessUp, BrightnessDown };

struct DisplayFrame {
    bool draw; // false: nothing is drawn (no display command yet)
    Picture picture;
    const char16_t* caption; // empty for the brightness displays
    int32_t level;           // segments 1 to level are filled; -1 for the mute displays
};

bool IsDisplayCommand(uint16_t id);
// The frame of a display command word, with the captions of the locale lcid.
DisplayFrame FrameForCommand(uint32_t command, uint32_t lcid);

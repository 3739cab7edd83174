#include "frame.h"

#include "captions.h"

bool IsDisplayCommand(uint16_t id) {
    switch (id) {
    case OSD_VOLUME_UP:
    case OSD_VOLUME_DOWN:
    case OSD_MUTE_ON:
    case OSD_MUTE_OFF:
    case OSD_BRIGHTNESS_UP:
    case OSD_BRIGHTNESS_DOWN:
        return true;
    default:
        return false;
    }
}

DisplayFrame FrameForCommand(uint32_t command, uint32_t lcid) {
    const uint16_t id = static_cast<uint16_t>(command & 0xFFFF);
    const int32_t level = static_cast<int32_t>(command >> 16);
    switch (id) {
    case OSD_BRIGHTNESS_UP:
        return {true, Picture::BrightnessUp, u"", level};
    case OSD_BRIGHTNESS_DOWN:
        return {true, Picture::BrightnessDown, u"", level};
    case OSD_VOLUME_UP:
        return {true, Picture::None, SelectCaption(CaptionKind::VolumeUp, lcid), level};
    case OSD_VOLUME_DOWN:
        return {true, Picture::None, SelectCaption(CaptionKind::VolumeDown, lcid), level};
    case OSD_MUTE_ON:
        return {true, Picture::None, SelectCaption(CaptionKind::MuteOn, lcid), -1};
    case OSD_MUTE_OFF:
        return {true, Picture::None, SelectCaption(CaptionKind::MuteOff, lcid), -1};
    default:
        return {false, Picture::None, u"", 0};
    }
}

// The one-line captions of the volume and mute displays, chosen by the system default
// locale identifier (LCID). The brightness displays have none.
#pragma once

#include <cstdint>

enum class CaptionKind { VolumeUp, VolumeDown, MuteOn, MuteOff };

// The caption for the kind in the language of lcid; the default (English) texts for every
// LCID that no language lists, a sort identifier included. The texts live for the program.
const char16_t* SelectCaption(CaptionKind kind, uint32_t lcid);

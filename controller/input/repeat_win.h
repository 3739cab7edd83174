// The two volume keys, shared by the hotkey thread (press, release) and their workers.
#pragma once

#include "input/repeat.h"

extern VolumeKey VOL1; // VOL1State, VOL1Prev, VOL1Count
extern VolumeKey VOL2; // VOL2State, VOL2Prev, VOL2Count

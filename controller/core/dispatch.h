// The dialog's command door: WM_OSD_COMMAND with wParam 0x200 resets the BIOS output size and
// runs the command named by lParam; anything else does nothing.
#pragma once

#include "core/brightness.h"

#include <cstdint>

void DispatchOSDCommand(uint32_t wParam, int32_t lParam, BrightnessState& state, BIOSCall& bios,
                        ControllerSeam& seam);

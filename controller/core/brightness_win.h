// The brightness steps on the real platform: the driver, the popup, "BRIT NOTCHANGE EVENT"
// and the brightness library behind the controller seam.
#pragma once

#include "core/brightness.h"

ControllerSeam& ControllerPlatform();

// The SetBrightnessLevel step on the process-wide BIOS buffer (start-up, the command, resume).
void RunSetBrightnessLevelStep();

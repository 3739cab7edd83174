// Binding the brightness library "BRIGHTNESS.DLL" and its export SetBrightnessLevel.
#pragma once

// Loads the library by name into gBrightnessLibrary; true if it loaded.
bool LoadBrightnessLibrary();
// Looks up SetBrightnessLevel into gSetBrightnessLevel; true if it was found.
bool FindSetBrightnessLevel();

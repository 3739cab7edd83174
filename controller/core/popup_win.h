// Launching the popup program Lumetta and sending it its display commands.
#pragma once

#include <cstdint>

// Forms PopupPath from Corlane's own folder; launches the popup when its window is missing
// and gives it two seconds to come up.
void EnsurePopupRuns();

// Display change: terminates the first running popup process, waits 500 ms and launches the
// popup again, since it lays itself out only when it starts.
void RestartPopup();

// Sends the popup WM_COMMAND with the id and the level's low 16 bits; nothing without a
// popup window. Returns 1.
int NotifyPopup(int id, int32_t level);

// Removal of the legacy install folder "Tarvik\Wintrel" under Program Files.
#pragma once

// Deletes the files of the legacy folder, then removes it and its "Tarvik" parent when they
// are empty. Afterwards savedDirectory is the current directory again.
void CleanLegacyFolder(const char* savedDirectory);

// The portable rules of the popup launch and its display commands.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr const char* POPUP_WINDOW_CLASS = "LUMETTA";
constexpr const char* POPUP_WINDOW_TITLE = "LUMETTA";
constexpr const char* POPUP_FILE_NAME = "Lumetta.exe";
constexpr const char* POPUP_IMAGE_NAME = "LUMETTA.exe";

// Forms "<folder of modulePath>\Lumetta.exe" in popupPath (size bytes, zero-terminated).
// modulePath is a zero-terminated program path. A path whose folder and file name do not fit
// leaves popupPath empty and returns false: a cut-off path would name some other file.
bool FormPopupPath(const char* modulePath, char* popupPath, std::size_t size);

// wParam of the popup's WM_COMMAND: the id in the low word (OSD_BRIGHTNESS_UP as such, any
// other as OSD_BRIGHTNESS_DOWN), the level's low 16 bits in the high word.
uint32_t PopupCommandWParam(int id, int32_t level);

// True when a process image name is the popup's, without regard to case.
bool IsPopupImage(const char* imageName);

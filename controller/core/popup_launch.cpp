#include "core/popup_launch.h"

#include "commands.h"

#include <cctype>
#include <cstring>

bool FormPopupPath(const char* modulePath, char* popupPath, std::size_t size) {
    popupPath[0] = '\0';
    const char* lastSlash = std::strrchr(modulePath, '\\');
    const std::size_t folder = lastSlash ? static_cast<std::size_t>(lastSlash - modulePath) + 1 : 0;
    const std::size_t name = std::strlen(POPUP_FILE_NAME);
    if (folder + name + 1 > size)
        return false;
    std::memcpy(popupPath, modulePath, folder);
    std::memcpy(popupPath + folder, POPUP_FILE_NAME, name + 1);
    return true;
}

uint32_t PopupCommandWParam(int id, int32_t level) {
    const uint32_t sentId = id == OSD_BRIGHTNESS_UP ? OSD_BRIGHTNESS_UP : OSD_BRIGHTNESS_DOWN;
    const uint32_t low16 = static_cast<uint32_t>(level) & 0xFFFFu;
    return sentId | (low16 << 16);
}

bool IsPopupImage(const char* imageName) {
    const char* expected = POPUP_IMAGE_NAME;
    for (; *imageName && *expected; ++imageName, ++expected) {
        if (std::tolower(static_cast<unsigned char>(*imageName)) !=
            std::tolower(static_cast<unsigned char>(*expected)))
            return false;
    }
    return *imageName == '\0' && *expected == '\0';
}

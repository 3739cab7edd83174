// The popup's path, its display command and the image name a display change looks for.
#include "commands.h"
#include "core/popup_launch.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(PopupLaunch, CommandCarriesTheIdAndTheLevelsLow16Bits) {
    const struct {
        int id;
        int32_t level;
        uint32_t wParam;
    } cases[] = {
        {OSD_BRIGHTNESS_UP, 51, 208u | (51u << 16)},
        {OSD_BRIGHTNESS_UP, 101, 208u | (101u << 16)},
        {OSD_BRIGHTNESS_DOWN, 0, 224u},
        {OSD_BRIGHTNESS_UP, -2, 208u | (65534u << 16)},
        {OSD_BRIGHTNESS_DOWN, 70000, 224u | (4464u << 16)},
        {OSD_VOLUME_UP, 5, 224u | (5u << 16)},
        {0, 7, 224u | (7u << 16)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PopupCommandWParam(c.id, c.level), c.wParam) << c.id << " " << c.level;
}

TEST(PopupLaunch, PathIsTheProgramsFolderAndTheFileName) {
    const struct {
        const char* module;
        const char* path;
    } cases[] = {
        {"C:\\Program Files\\Hotkeys\\Corlane.exe", "C:\\Program Files\\Hotkeys\\Lumetta.exe"},
        {"Z:\\work\\bin\\Corlane.exe", "Z:\\work\\bin\\Lumetta.exe"},
        {"C:\\Corlane.exe", "C:\\Lumetta.exe"},
        {"Corlane.exe", "Lumetta.exe"},
    };
    for (const auto& c : cases) {
        char path[256];
        EXPECT_TRUE(FormPopupPath(c.module, path, sizeof path));
        EXPECT_STREQ(path, c.path);
    }
}

TEST(PopupLaunch, PathThatDoesNotFitIsLeftEmpty) {
    const std::string name = "Lumetta.exe";
    // A folder of n characters with its backslash, plus the name and the terminating zero.
    for (std::size_t folder : {243u, 244u, 245u, 250u}) {
        const std::string module = "C:" + std::string(folder - 3, 'd') + "\\Corlane.exe";
        char path[256];
        std::memset(path, 'x', sizeof path);
        const bool fits = folder + name.size() + 1 <= sizeof path;
        EXPECT_EQ(FormPopupPath(module.c_str(), path, sizeof path), fits) << folder;
        EXPECT_EQ(std::string(path), fits ? module.substr(0, folder) + name : "") << folder;
    }
}

TEST(PopupLaunch, ImageNameMatchesWithoutRegardToCase) {
    for (const char* name : {"LUMETTA.exe", "Lumetta.exe", "lumetta.EXE"})
        EXPECT_TRUE(IsPopupImage(name)) << name;
    for (const char* name : {"", "Lumetta", "Lumetta.ex", "Lumetta.exe2", "XLumetta.exe",
                             "Corlane.exe", "LUMETTA.exe "})
        EXPECT_FALSE(IsPopupImage(name)) << name;
}

} // namespace

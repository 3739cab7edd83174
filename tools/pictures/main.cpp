// Writes the programs' pictures into the folder given as the only argument: the popup's two
// suns, the application icon of the popup and the controller, and the session watcher's icons
// (eight 32-bit images from 16 to 128 pixels, and a small one of 16 pixels).
#include "pictures.h"

#include <cstdio>
#include <string>

namespace {

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    using namespace pictures;
    const bool ok =
        WriteFile(dir + "/sun_long.bmp", Bitmap555(DrawSun(true))) &&
        WriteFile(dir + "/sun_short.bmp", Bitmap555(DrawSun(false))) &&
        WriteFile(dir + "/app.ico", AppIcon({32, 16}, {48, 32, 16}, {48, 32, 16})) &&
        WriteFile(dir + "/relaine.ico", AppIcon({}, {}, {16, 20, 24, 32, 40, 48, 64, 128})) &&
        WriteFile(dir + "/relaine_small.ico", AppIcon({}, {}, {16}));
    if (!ok)
        std::fprintf(stderr, "%s: cannot write the pictures into %s\n", argv[0], dir.c_str());
    return ok ? 0 : 1;
}

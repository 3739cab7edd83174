// Writes Relaine's two icons into the folder given as the only argument: the program icon
// (eight images from 16 to 128 pixels) and the small icon (one 16-pixel image), both the
// plain application window picture that all three programs carry.
#include "../../tools/pictures/pictures.h"

#include <cstdio>
#include <string>
#include <vector>

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
    const bool ok = WriteFile(dir + "/relaine.ico",
                              pictures::AppIcon({}, {}, {16, 20, 24, 32, 40, 48, 64, 128})) &&
                    WriteFile(dir + "/relaine_small.ico", pictures::AppIcon({}, {}, {16}));
    if (!ok)
        std::fprintf(stderr, "%s: cannot write the icons into %s\n", argv[0], dir.c_str());
    return ok ? 0 : 1;
}

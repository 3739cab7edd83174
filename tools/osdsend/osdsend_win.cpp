// osdsend ID LEVEL: sends the popup one display command, as the controller does, and
// returns when the popup has taken it. A tool for the demo, not part of the system.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: osdsend ID LEVEL\n");
        return 2;
    }
    HWND popup = FindWindowA("LUMETTA", "LUMETTA");
    if (!popup) {
        std::fprintf(stderr, "osdsend: no popup window\n");
        return 1;
    }
    const WORD id = static_cast<WORD>(std::strtoul(argv[1], nullptr, 0));
    const WORD level = static_cast<WORD>(std::strtoul(argv[2], nullptr, 0));
    SendMessageA(popup, WM_COMMAND, MAKEWPARAM(id, level), 0);
    return 0;
}

// What the soak and fault tests share: the cost of another process as Wine's server knows
// it, the brightness record's bytes, and the commands that drive the programs.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace soak {

constexpr UINT WM_OSD_COMMAND = 0x0501;
constexpr WPARAM OSD_COMMAND_WPARAM = 0x200;
constexpr LPARAM LPARAM_DEBR = 17, LPARAM_INBR = 18, LPARAM_SHOW_OSD = 25;
constexpr LPARAM LPARAM_SET_BRIGHTNESS = 160, LPARAM_TLCD = 162, LPARAM_BRIT_CHANGED = 163;
constexpr WORD OSD_BRIGHTNESS_UP = 208, OSD_BRIGHTNESS_DOWN = 224;

// One process's handle count and memory from the system's process list (Wine answers
// GetProcessHandleCount and GetGuiResources of another process with 0, but its process
// list carries the server's handle count and the memory counters of the Linux process).
struct Usage {
    bool found = false;
    ULONG handles = 0;
    SIZE_T workingSet = 0;
    SIZE_T privateBytes = 0;
};
Usage UsageOf(DWORD pid);

// The brightness record's bytes; exists is false when there is no file.
std::vector<uint8_t> ReadFileBytes(const std::string& path, bool* exists);
void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> Ints(const std::vector<int32_t>& values);
int32_t IntAt(const std::vector<uint8_t>& bytes, size_t offset);

// Posts like a busy input source: when the queue refuses a message, a moment later again,
// answering this thread's messages in between.
void PostPersistently(HWND dialog, LPARAM code);

} // namespace soak

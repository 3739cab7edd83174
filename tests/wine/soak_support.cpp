#include "soak_support.h"

#include <winternl.h>

namespace soak {

namespace {

constexpr ULONG STATUS_INFO_LENGTH_MISMATCH_CODE = 0xC0000004;

std::vector<uint8_t> ProcessList() {
    std::vector<uint8_t> buffer(256 * 1024);
    for (;;) {
        ULONG needed = 0;
        const NTSTATUS status = NtQuerySystemInformation(
            SystemProcessInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (static_cast<ULONG>(status) != STATUS_INFO_LENGTH_MISMATCH_CODE)
            return status == 0 ? buffer : std::vector<uint8_t>();
        buffer.resize(needed + 64 * 1024);
    }
}

} // namespace

Usage UsageOf(DWORD pid) {
    Usage usage;
    const std::vector<uint8_t> list = ProcessList();
    for (size_t at = 0; at < list.size();) {
        const auto* p = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(list.data() + at);
        if (reinterpret_cast<ULONG_PTR>(p->UniqueProcessId) == pid) {
            usage.found = true;
            usage.handles = p->HandleCount;
            usage.workingSet = p->VirtualMemoryCounters.WorkingSetSize;
            usage.privateBytes = p->VirtualMemoryCounters.PagefileUsage;
            break;
        }
        if (p->NextEntryOffset == 0)
            break;
        at += p->NextEntryOffset;
    }
    return usage;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path, bool* exists) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    *exists = file != INVALID_HANDLE_VALUE;
    std::vector<uint8_t> bytes;
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    uint8_t chunk[512];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0)
        bytes.insert(bytes.end(), chunk, chunk + read);
    CloseHandle(file);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::vector<uint8_t> Ints(const std::vector<int32_t>& values) {
    std::vector<uint8_t> bytes;
    for (int32_t v : values) {
        const uint32_t u = static_cast<uint32_t>(v);
        bytes.insert(bytes.end(),
                     {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)});
    }
    return bytes;
}

int32_t IntAt(const std::vector<uint8_t>& bytes, size_t offset) {
    uint32_t u = 0;
    for (int i = 3; i >= 0; --i)
        u = (u << 8) | bytes.at(offset + static_cast<size_t>(i));
    return static_cast<int32_t>(u);
}

void PostPersistently(HWND dialog, LPARAM code) {
    while (!PostMessageA(dialog, WM_OSD_COMMAND, OSD_COMMAND_WPARAM, code)) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(1);
    }
}

} // namespace soak

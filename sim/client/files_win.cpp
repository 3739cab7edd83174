#include "client/files_win.h"

#include <windows.h>

#include <optional>

namespace sim::files {

namespace {

std::optional<std::string> Contents(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    CloseHandle(file);
    return bytes;
}

} // namespace

bool SameContents(const std::string& a, const std::string& b) {
    const auto first = Contents(a);
    const auto second = Contents(b);
    return first && second && *first == *second;
}

bool Place(const std::string& from, const std::string& to) {
    return SameContents(from, to) || CopyFileA(from.c_str(), to.c_str(), FALSE);
}

bool Remove(const std::string& path) {
    return DeleteFileA(path.c_str()) || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

std::string OwnFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\'));
}

} // namespace sim::files

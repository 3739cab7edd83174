#include "client/records_win.h"

#include "records.h"

#include <windows.h>

#include <sstream>

namespace sim::record {

int64_t Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double ToMs(int64_t counter) {
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    return static_cast<double>(counter) * 1000.0 / static_cast<double>(freq.QuadPart);
}

bool Append(const char* path, const std::vector<int64_t>& numbers) {
    CreateDirectoryA(RECORD_FOLDER, nullptr);
    std::string line;
    for (int64_t n : numbers)
        line += (line.empty() ? "" : " ") + std::to_string(n);
    line += "\n";
    HANDLE file =
        CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == line.size();
}

namespace {

std::string ReadAll(const char* path) {
    std::string text;
    HANDLE file =
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return text;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0)
        text.append(chunk, got);
    CloseHandle(file);
    return text;
}

} // namespace

std::vector<std::vector<int64_t>> Read(const char* path) {
    std::vector<std::vector<int64_t>> lines;
    std::istringstream text(ReadAll(path));
    std::string line;
    while (std::getline(text, line)) {
        std::istringstream fields(line);
        std::vector<int64_t> numbers;
        int64_t n;
        while (fields >> n)
            numbers.push_back(n);
        if (!numbers.empty())
            lines.push_back(numbers);
    }
    return lines;
}

bool Clear(const char* path) {
    return DeleteFileA(path) || GetLastError() == ERROR_FILE_NOT_FOUND ||
           GetLastError() == ERROR_PATH_NOT_FOUND;
}

} // namespace sim::record

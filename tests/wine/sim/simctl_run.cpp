#include "simctl_run.h"

#include "harness.h"

#include <algorithm>

namespace sim {

int RunSimctl(const std::string& args, std::string* output) {
    const std::string simctl = harness::SimDir() + "\\simctl.exe";
    char folder[MAX_PATH] = {}, path[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    GetTempFileNameA(folder, "sim", 0, path);
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    std::string line = "\"" + simctl + "\" " + args;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = file;
    PROCESS_INFORMATION pi = {};
    DWORD code = static_cast<DWORD>(-1);
    if (CreateProcessA(simctl.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                       &pi)) {
        if (WaitForSingleObject(pi.hProcess, 10000) == WAIT_OBJECT_0)
            GetExitCodeProcess(pi.hProcess, &code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(file);
    if (output) {
        output->clear();
        HANDLE in = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
        char chunk[4096];
        DWORD got = 0;
        while (in != INVALID_HANDLE_VALUE && ReadFile(in, chunk, sizeof chunk, &got, nullptr) &&
               got > 0)
            output->append(chunk, got);
        if (in != INVALID_HANDLE_VALUE)
            CloseHandle(in);
        output->erase(std::remove(output->begin(), output->end(), '\r'), output->end());
    }
    DeleteFileA(path);
    return static_cast<int>(code);
}

} // namespace sim

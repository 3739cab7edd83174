// The platform side of Relaine's kill and launch loops.
#pragma once

#include "watcher.h"

#include <cstddef>

class PlatformWatcher : public WatcherSeam {
  public:
    void* FindWindowTitled(const char* title) override;
    std::uint32_t WindowProcessId(void* window) override;
    void* OpenProcessAllAccess(std::uint32_t processId) override;
    bool ReadExitCode(void* process, std::uint32_t& code) override;
    void TerminateProcessWith(void* process, std::uint32_t exitCode) override;
    void CloseProcess(void* process) override;
    void Launch(const char* path) override;
    void Pause(unsigned ms) override;
};

// Fills location (size characters) with the folder of Relaine's executable. When the
// executable's path does not fit, location is left empty, so that nothing is launched.
void GetExecuteLocation(char* location, std::size_t size);

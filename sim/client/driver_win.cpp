#include "client/driver_win.h"

#include "client/files_win.h"

#include <windows.h>

namespace sim::driver {

namespace {

constexpr const char* SERVICE_NAME = "VELKACPI";
constexpr DWORD SERVICE_WAIT_MS = 5000;

bool Request(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize,
             DWORD* returned = nullptr) {
    HANDLE device =
        CreateFileA(VELKACPI_DOS_NAME, GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE)
        return false;
    DWORD got = 0;
    const BOOL ok =
        DeviceIoControl(device, code, const_cast<void*>(in), inSize, out, outSize, &got, nullptr);
    CloseHandle(device);
    if (returned)
        *returned = got;
    return ok != FALSE;
}

// An open service handle, closed with its manager on destruction.
class Service {
  public:
    Service() : manager_(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS)) {
        if (manager_)
            service_ = OpenServiceA(manager_, SERVICE_NAME, SERVICE_ALL_ACCESS);
    }
    ~Service() {
        if (service_)
            CloseServiceHandle(service_);
        if (manager_)
            CloseServiceHandle(manager_);
    }
    Service(const Service&) = delete;
    Service& operator=(const Service&) = delete;

    bool Exists() const { return service_ != nullptr; }
    SC_HANDLE Handle() const { return service_; }

    bool Create(const std::string& binary) {
        if (!manager_)
            return false;
        service_ = CreateServiceA(manager_, SERVICE_NAME, SERVICE_NAME, SERVICE_ALL_ACCESS,
                                  SERVICE_KERNEL_DRIVER, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                  binary.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
        return service_ != nullptr;
    }

    DWORD State() const {
        SERVICE_STATUS status = {};
        if (!service_ || !QueryServiceStatus(service_, &status))
            return 0;
        return status.dwCurrentState;
    }

    bool WaitForState(DWORD state) const {
        const ULONGLONG deadline = GetTickCount64() + SERVICE_WAIT_MS;
        while (State() != state) {
            if (GetTickCount64() >= deadline)
                return false;
            Sleep(10);
        }
        return true;
    }

  private:
    SC_HANDLE manager_ = nullptr;
    SC_HANDLE service_ = nullptr;
};

bool WaitForDevice(bool present) {
    const ULONGLONG deadline = GetTickCount64() + SERVICE_WAIT_MS;
    while (Opens() != present) {
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(10);
    }
    return true;
}

} // namespace

bool Opens() {
    HANDLE device =
        CreateFileA(VELKACPI_DOS_NAME, GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (device == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(device);
    return true;
}

bool SetLevel(int32_t level) {
    return Request(SIM_SET_LEVEL, &level, sizeof level, nullptr, 0);
}

std::optional<SimStatus> Status() {
    SimStatus status = {};
    DWORD returned = 0;
    if (!Request(SIM_GET_STATUS, nullptr, 0, &status, sizeof status, &returned) ||
        returned != sizeof status)
        return std::nullopt;
    return status;
}

bool QueueNotifyCode(uint32_t code) {
    return Request(SIM_QUEUE_NOTIFY, &code, sizeof code, nullptr, 0);
}

bool SetFailure(uint32_t request, const char* method, uint32_t times) {
    SimFailure rule = {};
    rule.request = request;
    for (int i = 0; method && i < 4 && method[i]; i++)
        rule.method[i] = method[i];
    rule.times = times;
    return Request(SIM_SET_FAILURE, &rule, sizeof rule, nullptr, 0);
}

std::optional<std::vector<SimLogEntry>> ReadLog() {
    std::vector<SimLogEntry> log(SIM_LOG_CAPACITY);
    DWORD returned = 0;
    if (!Request(SIM_READ_LOG, nullptr, 0, log.data(),
                 static_cast<DWORD>(log.size() * sizeof(SimLogEntry)), &returned))
        return std::nullopt;
    log.resize(returned / sizeof(SimLogEntry));
    return log;
}

bool ClearLog() {
    return Request(SIM_CLEAR_LOG, nullptr, 0, nullptr, 0);
}

bool Reset() {
    return Request(SIM_RESET, nullptr, 0, nullptr, 0);
}

std::string InstalledPath() {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system) + "\\drivers\\velkacpi.sys";
}

bool Install(const std::string& source) {
    const std::string target = InstalledPath();
    if (!(Running() && files::SameContents(source, target))) {
        Stop();
        if (!CopyFileA(source.c_str(), target.c_str(), FALSE))
            return false;
        Service service;
        if (!service.Exists() && !service.Create(target))
            return false;
        if (!Start())
            return false;
    }
    return Reset();
}

bool Start() {
    Service service;
    if (!service.Exists())
        return false;
    if (service.State() != SERVICE_RUNNING && !StartServiceA(service.Handle(), 0, nullptr) &&
        GetLastError() != ERROR_SERVICE_ALREADY_RUNNING)
        return false;
    return service.WaitForState(SERVICE_RUNNING) && WaitForDevice(true);
}

bool Stop() {
    Service service;
    if (!service.Exists() || service.State() == SERVICE_STOPPED)
        return !Opens();
    SERVICE_STATUS status = {};
    ControlService(service.Handle(), SERVICE_CONTROL_STOP, &status);
    return service.WaitForState(SERVICE_STOPPED) && WaitForDevice(false);
}

bool Running() {
    Service service;
    return service.State() == SERVICE_RUNNING && Opens();
}

} // namespace sim::driver

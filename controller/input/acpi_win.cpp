#include "input/acpi_win.h"

#include "core/globals_win.h"

#include <cstring>

namespace {

bool Request(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize, DWORD& returned) {
    returned = 0;
    if (gACPIDriver == INVALID_HANDLE_VALUE)
        return false;
    if (DeviceIoControl(gACPIDriver, code, const_cast<void*>(in), inSize, out, outSize, &returned,
                        nullptr))
        return true;
    gLastDriverError = GetLastError();
    return false;
}

} // namespace

bool OpenACPIDriver() {
    gACPIDriver =
        CreateFileA(ACPI_DEVICE_NAME, GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    return gACPIDriver != INVALID_HANDLE_VALUE;
}

bool SendACPIInit() {
    DWORD returned;
    return Request(IOCTL_OSTREL_ACPI_INIT, nullptr, 0, nullptr, 0, returned);
}

bool AssignDriverEvent(HANDLE event) {
    // The driver takes the handle as a 32-bit value.
    const uint32_t handle = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(event));
    uint32_t ignored = 0;
    DWORD returned;
    return Request(IOCTL_OSTRELEC_ASSIGN_EVENT, &handle, sizeof handle, &ignored, sizeof ignored,
                   returned);
}

bool GetNotifyCode(uint32_t& code) {
    uint32_t value = 0;
    DWORD returned;
    if (!Request(IOCTL_OSTREL_ACPI_GET_NOTIFY_CODE, nullptr, 0, &value, sizeof value, returned))
        return false;
    code = value;
    return true;
}

bool CallBIOSMethod(const char* name, uint8_t* out, uint32_t& size) {
    // The driver writes into a scratch buffer, and only the bytes it returned are copied, so a
    // failed call leaves out untouched.
    uint8_t scratch[BIOS_OUT_BUFFER_SIZE];
    const DWORD capacity = size < sizeof scratch ? size : sizeof scratch;
    const MethodRecord record = EncodeMethodRecord(name);
    DWORD returned;
    if (!Request(IOCTL_OSTREL_ACPI_CALL_METHOD, record.data(), static_cast<DWORD>(record.size()),
                 scratch, capacity, returned))
        return false;
    if (returned > capacity)
        returned = capacity;
    std::memcpy(out, scratch, returned);
    size = returned;
    return true;
}

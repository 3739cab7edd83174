// What crosses the boundary to the ACPI hotkey driver "\\.\VELKACPI": its requests, the
// method record, the shared output buffer of the BIOS method calls and the notify codes.
#pragma once

#include <array>
#include <cstdint>

constexpr const char* ACPI_DEVICE_NAME = "\\\\.\\VELKACPI";
constexpr const char* FENMAR_EVENT_NAME = "FENMAR EVENT";

// Requests: device type 0x22, METHOD_BUFFERED, FILE_ANY_ACCESS.
constexpr uint32_t IOCTL_OSTRELEC_ASSIGN_EVENT = 0x222400;       // in: 4-byte event handle
constexpr uint32_t IOCTL_OSTREL_ACPI_CALL_METHOD = 0x222404;     // in: method record
constexpr uint32_t IOCTL_OSTREL_ACPI_GET_NOTIFY_CODE = 0x222408; // out: 4-byte notify code
constexpr uint32_t IOCTL_OSTREL_ACPI_INIT = 0x22240C;            // no data

// Driver notify codes.
enum : uint32_t {
    ACPI_NC_MUTE = 0xC4,
    ACPI_NC_SHOW_OSD = 0xD0,
    ACPI_NC_VOL1_PRESS = 0xD1,
    ACPI_NC_VOL1_RELEASE = 0xD2,
    ACPI_NC_VOL2_PRESS = 0xD3,
    ACPI_NC_VOL2_RELEASE = 0xD4,
    ACPI_NC_SET_BRIGHTNESS = 0xD9,
};

// The 20-byte method record, little-endian: u32 1, the four characters of the method name in
// order, then three u32 zeros.
constexpr std::size_t METHOD_RECORD_SIZE = 20;
using MethodRecord = std::array<uint8_t, METHOD_RECORD_SIZE>;
MethodRecord EncodeMethodRecord(const char* name);

// One output buffer for every BIOS method call. BIOSOutSize is in/out: the capacity passed,
// replaced by the byte count a successful call returned. A failed call leaves the buffer as
// it was, and callers read BIOSResult either way.
constexpr uint32_t BIOS_OUT_BUFFER_SIZE = 512;
constexpr std::size_t BIOS_RESULT_OFFSET = 16;

struct BIOSCall {
    uint8_t BIOSOutBuffer[BIOS_OUT_BUFFER_SIZE] = {};
    uint32_t BIOSOutSize = BIOS_OUT_BUFFER_SIZE;

    // The signed 32-bit little-endian value at byte offset 16 of the buffer.
    int32_t BIOSResult() const;
};

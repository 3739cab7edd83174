// The ACPI hotkey driver "\\.\VELKACPI": one handle for the life of the process, four
// synchronous requests.
#pragma once

#include <windows.h>

#include "acpi.h"

#include <cstdint>

// Opens the device into gACPIDriver; true if it opened.
bool OpenACPIDriver();
// IOCTL_OSTREL_ACPI_INIT, no data.
bool SendACPIInit();
// IOCTL_OSTRELEC_ASSIGN_EVENT with the event's handle.
bool AssignDriverEvent(HANDLE event);
// IOCTL_OSTREL_ACPI_GET_NOTIFY_CODE: the next notify code.
bool GetNotifyCode(uint32_t& code);
// IOCTL_OSTREL_ACPI_CALL_METHOD with the method record of name (four characters). size is
// the capacity of out on entry and the byte count returned after success. On failure out is
// left as it was and the error goes to gLastDriverError. Without an open device: false,
// nothing sent.
bool CallBIOSMethod(const char* name, uint8_t* out, uint32_t& size);

// User-mode access to the simulated ACPI driver: its control channel (sim/control.h) and the
// kernel service "VELKACPI" that loads it.
#pragma once

#include "control.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim::driver {

// --- Control channel: each call opens the device, sends one request and closes it. ---
bool Opens();
bool SetLevel(int32_t level);
std::optional<SimStatus> Status();
bool QueueNotifyCode(uint32_t code);
// method: four characters for one method of the method-call request, or null for all.
bool SetFailure(uint32_t request, const char* method, uint32_t times);
std::optional<std::vector<SimLogEntry>> ReadLog();
bool ClearLog();
bool Reset();

// --- The service ---
// C:\windows\system32\drivers\velkacpi.sys
std::string InstalledPath();
// Copies the driver file from source (replacing a loaded driver of other bytes), creates the
// service if missing, starts it and resets the driver. True when the device then opens.
bool Install(const std::string& source);
bool Start();
bool Stop();
bool Running();

} // namespace sim::driver

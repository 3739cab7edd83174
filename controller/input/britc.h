// The monitor brightness event watcher: set-up of the WMI notification query for
// WmiMonitorBrightnessEvent and the event loop that posts LPARAM_BRIT_CHANGED per event,
// over a small event source.
#pragma once

#include <cstdint>
#include <string_view>

constexpr int32_t WBEM_S_FALSE_RESULT = 1;
constexpr int32_t WBEM_S_TIMEDOUT_RESULT = 0x40004;
constexpr uint32_t FAILED_NEXT_PAUSE_MS = 1000;
constexpr const char* WATCHER_REPORT_FORMAT = "FAILED: %s: 0x%08x\r\n";

// Results are HRESULT values: negative is failure.
class BrightnessEventSource {
  public:
    // The class name of the current event as a string, valid until ReleaseEvent.
    struct ClassName {
        bool converted = false; // false when the value has no string form
        std::u16string_view text;
    };

    virtual ~BrightnessEventSource() = default;
    virtual int32_t Initialize() = 0; // CoInitialize
    virtual void InitializeSecurity() = 0;
    virtual int32_t CreateLocator() = 0;
    virtual int32_t ConnectServer() = 0; // "root\wmi"
    virtual int32_t ExecNotificationQuery() = 0;
    // Next event without time limit; returned gets the number of objects received.
    virtual int32_t Next(uint32_t& returned) = 0;
    virtual int32_t GetClass(ClassName& name) = 0; // "__Class"
    // "Brightness" of the current event; brightness is 0 when it could not be read.
    virtual int32_t GetBrightness(uint8_t& brightness) = 0;
    virtual void ReleaseEvent() = 0; // the event object and its variants
    virtual void PostBrightnessChanged() = 0;
    // Debugger output and standard output, always.
    virtual void WriteReport(const char* text) = 0;
    virtual void Trace(const char* line) = 0;
    virtual void Pause(uint32_t ms) = 0;
};

// Formats into the watcher's 1024-byte report buffer and writes it out.
void ReportError(BrightnessEventSource& source, const char* format, ...);

// Set-up, each step only after the one before succeeded; false after a reported failure.
bool SetUpBrightnessWatcher(BrightnessEventSource& source);
// One pass of the event loop; false after a reported failure to read an event's class.
bool BrightnessEventPass(BrightnessEventSource& source);
// ThreadFunctionBRITC's work: set-up, then the event loop. Returns only after a reported
// failure.
void WatchBrightnessEvents(BrightnessEventSource& source);

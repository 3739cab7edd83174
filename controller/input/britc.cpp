#include "input/britc.h"

#include <cstdarg>
#include <cstdio>

namespace {

constexpr std::u16string_view BRIGHTNESS_EVENT_CLASS = u"WmiMonitorBrightnessEvent";
char ReportBuffer[1024];

bool Failed(int32_t hr) {
    return hr < 0;
}

void ReportFailure(BrightnessEventSource& source, const char* step, int32_t hr) {
    ReportError(source, WATCHER_REPORT_FORMAT, step, static_cast<unsigned>(hr));
}

} // namespace

bool SetUpBrightnessWatcher(BrightnessEventSource& source) {
    int32_t hr = source.Initialize();
    if (Failed(hr)) {
        ReportFailure(source, "CoInitialize", hr);
        return false;
    }
    source.InitializeSecurity();
    struct Step {
        const char* name;
        int32_t (BrightnessEventSource::*run)();
    };
    const Step steps[] = {
        {"CoCreateInstance", &BrightnessEventSource::CreateLocator},
        {"pLocator->ConnectServer", &BrightnessEventSource::ConnectServer},
        {"pNamespace->ExecNotificationQuery", &BrightnessEventSource::ExecNotificationQuery},
    };
    for (const Step& step : steps) {
        hr = (source.*step.run)();
        if (Failed(hr)) {
            ReportFailure(source, step.name, hr);
            return false;
        }
    }
    return true;
}

namespace {

// Asks for the next event; false when none came (a failure, the end of the enumeration or
// no object), after a pause so that a source that keeps failing does not spin.
bool NextEvent(BrightnessEventSource& source) {
    uint32_t returned = 0;
    int32_t hr;
    do {
        returned = 0;
        hr = source.Next(returned);
    } while (hr == WBEM_S_TIMEDOUT_RESULT);
    if (Failed(hr) || hr == WBEM_S_FALSE_RESULT || returned == 0) {
        source.Pause(FAILED_NEXT_PAUSE_MS);
        return false;
    }
    return true;
}

void PostBrightnessEvent(BrightnessEventSource& source) {
    uint8_t brightness = 0;
    source.GetBrightness(brightness);
    char line[64];
    std::snprintf(line, sizeof line, "Brightness ReturnValue: %d", brightness);
    source.Trace(line);
    source.Trace("[ThreadFunctionBRITC] Call LPARAM_BRIT_CHANGED");
    source.PostBrightnessChanged();
}

// Handles the current event; false when its class could not be read.
bool HandleEvent(BrightnessEventSource& source) {
    BrightnessEventSource::ClassName name;
    int32_t hr = source.GetClass(name);
    if (Failed(hr)) {
        ReportFailure(source, "pEventSource->Get", hr);
        source.ReleaseEvent();
        return false;
    }
    if (name.converted && name.text == BRIGHTNESS_EVENT_CLASS)
        PostBrightnessEvent(source);
    source.ReleaseEvent();
    return true;
}

} // namespace

void ReportError(BrightnessEventSource& source, const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(ReportBuffer, sizeof ReportBuffer, format, args);
    va_end(args);
    source.WriteReport(ReportBuffer);
}

bool BrightnessEventPass(BrightnessEventSource& source) {
    return !NextEvent(source) || HandleEvent(source);
}

void WatchBrightnessEvents(BrightnessEventSource& source) {
    if (!SetUpBrightnessWatcher(source))
        return;
    while (BrightnessEventPass(source)) {
    }
}

// The brightness record on the real platform: the record file relative to the current
// directory, "BRIT NOTCHANGE EVENT" with BritNotChangeThread, and the power messages.
#include "core/record.h"

#include "core/brightness_win.h"
#include "core/framework_win.h"
#include "core/globals_win.h"
#include "input/acpi_win.h"
#include "input/sources_win.h"

#include <cstring>

namespace {

// GUID_MONITOR_POWER_ON {02731015-4510-4526-99E6-E5A17EBD1AEA}
const GUID MonitorPowerOn = {
    0x02731015, 0x4510, 0x4526, {0x99, 0xE6, 0xE5, 0xA1, 0x7E, 0xBD, 0x1A, 0xEA}};

BrightnessRecord gRecord;

class PlatformRecord : public RecordSeam {
  public:
    bool CreateRecord() override {
        file_ = CreateFileA(RECORD_PATH, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
        return file_ != INVALID_HANDLE_VALUE;
    }
    bool OpenRecord() override {
        file_ = CreateFileA(RECORD_PATH, FILE_ALL_ACCESS, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
        return file_ != INVALID_HANDLE_VALUE;
    }
    uint32_t ReadRecord(uint8_t* buffer, uint32_t size) override {
        DWORD count = 0;
        ReadFile(file_, buffer, size, &count, nullptr);
        return count;
    }
    void WriteRecord(const uint8_t* data, uint32_t size) override {
        DWORD count = 0;
        WriteFile(file_, data, size, &count, nullptr);
    }
    void CloseRecord() override {
        CloseHandle(file_);
        file_ = INVALID_HANDLE_VALUE;
    }
    void DeleteRecord() override { DeleteFileA(RECORD_PATH); }
    void SignalHold() override { SetEvent(gBritNotChangeEvent); }
    int32_t ReadPCGBLevel() override {
        gBIOS.BIOSOutSize = BIOS_OUT_BUFFER_SIZE;
        CallBIOSMethod("PCGB", gBIOS.BIOSOutBuffer, gBIOS.BIOSOutSize);
        return gBIOS.BIOSResult();
    }
    void LibrarySetBrightnessLevel(int32_t level) override {
        if (gSetBrightnessLevel)
            gSetBrightnessLevel(level);
    }
    void SetBrightnessLevelStep() override { RunSetBrightnessLevelStep(); }

  private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
};

class PlatformHold : public HoldSeam {
  public:
    void WaitHold() override { WaitForSingleObject(gBritNotChangeEvent, INFINITE); }
    void Sleep(uint32_t ms) override { ::Sleep(ms); }
    void ResetHold() override { ResetEvent(gBritNotChangeEvent); }
};

DWORD WINAPI BritNotChangeThread(void*) {
    PlatformHold seam;
    for (;;)
        BritNotChangePass(seam);
}

// The first four bytes of the power setting's data, when the message carries that many.
bool MonitorState(LPARAM setting, uint32_t& state) {
    const auto* broadcast = reinterpret_cast<const POWERBROADCAST_SETTING*>(setting);
    if (!broadcast || broadcast->DataLength < sizeof state)
        return false;
    std::memcpy(&state, broadcast->Data, sizeof state);
    return true;
}

} // namespace

HPOWERNOTIFY StartBrightnessRecord(HWND dialog) {
    gBritNotChangeEvent = CreateEventA(nullptr, TRUE, FALSE, BRIT_NOTCHANGE_EVENT_NAME);
    CloseHandle(framework::BeginThread(BritNotChangeThread, nullptr));
    PlatformRecord seam;
    gRecord.RestoreAtStartup(gBrightness, seam);
    return RegisterPowerSettingNotification(dialog, &MonitorPowerOn, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void OnQueryEndSession() {
    PlatformRecord seam;
    gRecord.WriteCountRecord(gBrightness, seam);
}

void OnPowerBroadcast(WPARAM event, LPARAM setting) {
    uint32_t state = 0;
    bool hasState = event == PBT_POWERSETTINGCHANGE && MonitorState(setting, state);
    PlatformRecord seam;
    gRecord.OnPowerEvent(static_cast<uint32_t>(event), hasState ? &state : nullptr, gBrightness,
                         seam);
}

// The brightness record Brightness.ini: BRIGHTNESSCount kept over the end of the session,
// sleep and monitor power-off, and put back at resume, monitor power-on and the next start.
// The file holds raw little-endian int32 values: a count record (4 bytes) or a count-and-level
// record (8 bytes, the count and the BIOS "PCGB" level). Readers read 4 bytes at a time and
// test how many each read returned. Everything here runs on the dialog's thread.
#pragma once

#include "core/brightness.h"

#include <cstdint>

constexpr const char* RECORD_PATH = "..\\..\\..\\ProgramData\\Brightness.ini";
constexpr const char* BRIT_NOTCHANGE_EVENT_NAME = "BRIT NOTCHANGE EVENT";
constexpr uint32_t BRIT_NOTCHANGE_HOLD_MS = 10000;

// WM_POWERBROADCAST events handled here, and the monitor states of the power setting.
enum : uint32_t {
    POWER_QUERY_SUSPEND = 0x0000,    // PBT_APMQUERYSUSPEND
    POWER_SUSPEND = 0x0004,          // PBT_APMSUSPEND
    POWER_RESUME_AUTOMATIC = 0x0012, // PBT_APMRESUMEAUTOMATIC
    POWER_SETTING_CHANGE = 0x8013,   // PBT_POWERSETTINGCHANGE
};
enum : uint32_t {
    MONITOR_OFF = 0,
    MONITOR_ON = 1,
};

class RecordSeam {
  public:
    virtual ~RecordSeam() = default;
    // Creates the record anew for writing; false when it cannot be created.
    virtual bool CreateRecord() = 0;
    // Opens an existing record for reading; false when there is none or it cannot be opened.
    virtual bool OpenRecord() = 0;
    // Reads up to size bytes into buffer; returns the byte count (0 at the end of the file).
    virtual uint32_t ReadRecord(uint8_t* buffer, uint32_t size) = 0;
    virtual void WriteRecord(const uint8_t* data, uint32_t size) = 0;
    virtual void CloseRecord() = 0;
    virtual void DeleteRecord() = 0;
    // SetEvent on "BRIT NOTCHANGE EVENT": hold the restored count.
    virtual void SignalHold() = 0;
    // BIOSOutSize := 512, "PCGB", then BIOSResult (also after a failed call).
    virtual int32_t ReadPCGBLevel() = 0;
    // The brightness library's SetBrightnessLevel export, called directly.
    virtual void LibrarySetBrightnessLevel(int32_t level) = 0;
    // The controller's SetBrightnessLevel step (the PCGB level to the library).
    virtual void SetBrightnessLevelStep() = 0;
};

// The record logic with iValue, the value every 4-byte read lands in.
class BrightnessRecord {
  public:
    // WM_QUERYENDSESSION, PBT_APMQUERYSUSPEND, PBT_APMSUSPEND: a count record.
    void WriteCountRecord(BrightnessState& state, RecordSeam& seam);
    // Monitor off: the PCGB level, then a count-and-level record.
    void WriteCountAndLevelRecord(BrightnessState& state, RecordSeam& seam);
    // Monitor on: the count from the record, the stored level (or the count again) to the
    // library; a count-and-level record is consumed. An empty record counts as no record; a
    // record whose count no writer could have stored is removed and changes nothing.
    void RestoreAtMonitorOn(BrightnessState& state, RecordSeam& seam);
    // Resume: the SetBrightnessLevel step, then the count from any record, consumed; a count
    // no writer could have stored is not adopted.
    void RestoreAtResume(BrightnessState& state, RecordSeam& seam);
    // Start-up: the count from any record when it lies within 9 of BRIGHTNESSSave; the
    // record is consumed either way.
    void RestoreAtStartup(BrightnessState& state, RecordSeam& seam);
    // One WM_POWERBROADCAST; monitorState is the first 4 bytes of the setting's data, or
    // null when the message carries none.
    void OnPowerEvent(uint32_t event, const uint32_t* monitorState, BrightnessState& state,
                      RecordSeam& seam);

    int32_t iValue() const { return iValue_; }

  private:
    // Reads up to 4 bytes over iValue (bytes not received leave it as it was).
    uint32_t ReadIValue(RecordSeam& seam);
    void WriteInt(int32_t value, RecordSeam& seam);

    int32_t iValue_ = 0;
};

// What BritNotChangeThread needs: the manual-reset event and a sleep.
class HoldSeam {
  public:
    virtual ~HoldSeam() = default;
    virtual void WaitHold() = 0; // no time limit
    virtual void Sleep(uint32_t ms) = 0;
    virtual void ResetHold() = 0;
};

// One pass of BritNotChangeThread: the hold lasts 10 s from the moment it wakes.
void BritNotChangePass(HoldSeam& seam);

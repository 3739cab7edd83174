#include "core/record.h"

namespace {
constexpr uint32_t INT_SIZE = 4;
constexpr int64_t ACCEPTANCE_DISTANCE = 10; // a stored count must lie strictly within this

void ClampNegativeCount(BrightnessState& state) {
    if (state.BRIGHTNESSCount < 0)
        state.BRIGHTNESSCount = 0;
}

// The writers store counts from 0 to 101 (a count steps within -1 to 101, and -1 is stored
// as 0). Anything else is a damaged record: adopting it would leave the keys stuck at a
// count they can never step, so it is dropped and the count kept.
bool IsStoredCount(int32_t value) {
    return value >= 0 && value <= 101;
}
} // namespace

uint32_t BrightnessRecord::ReadIValue(RecordSeam& seam) {
    uint8_t bytes[INT_SIZE] = {};
    uint32_t count = seam.ReadRecord(bytes, INT_SIZE);
    if (count > INT_SIZE)
        count = INT_SIZE;
    uint32_t value = static_cast<uint32_t>(iValue_);
    for (uint32_t i = 0; i < count; ++i) {
        value &= ~(0xFFu << (8 * i));
        value |= uint32_t(bytes[i]) << (8 * i);
    }
    iValue_ = static_cast<int32_t>(value);
    return count;
}

void BrightnessRecord::WriteInt(int32_t value, RecordSeam& seam) {
    uint32_t bits = static_cast<uint32_t>(value);
    uint8_t bytes[INT_SIZE] = {uint8_t(bits), uint8_t(bits >> 8), uint8_t(bits >> 16),
                               uint8_t(bits >> 24)};
    seam.WriteRecord(bytes, INT_SIZE);
}

void BrightnessRecord::WriteCountRecord(BrightnessState& state, RecordSeam& seam) {
    if (!seam.CreateRecord())
        return;
    ClampNegativeCount(state);
    WriteInt(state.BRIGHTNESSCount, seam);
    seam.CloseRecord();
}

void BrightnessRecord::WriteCountAndLevelRecord(BrightnessState& state, RecordSeam& seam) {
    iValue_ = seam.ReadPCGBLevel();
    if (!seam.CreateRecord())
        return;
    ClampNegativeCount(state);
    WriteInt(state.BRIGHTNESSCount, seam);
    WriteInt(iValue_, seam);
    seam.CloseRecord();
}

void BrightnessRecord::RestoreAtMonitorOn(BrightnessState& state, RecordSeam& seam) {
    if (!seam.OpenRecord())
        return;
    // An empty record holds no count: taking iValue would restore whatever an earlier read
    // or the monitor-off level left there.
    if (ReadIValue(seam) == 0) {
        seam.CloseRecord();
        return;
    }
    if (!IsStoredCount(iValue_)) {
        seam.CloseRecord();
        seam.DeleteRecord();
        return;
    }
    state.BRIGHTNESSCount = iValue_;
    uint32_t levelBytes = ReadIValue(seam);
    seam.LibrarySetBrightnessLevel(iValue_);
    seam.CloseRecord();
    if (levelBytes > 0) {
        seam.SignalHold();
        seam.DeleteRecord();
    }
}

void BrightnessRecord::RestoreAtResume(BrightnessState& state, RecordSeam& seam) {
    seam.SetBrightnessLevelStep();
    if (!seam.OpenRecord())
        return;
    uint32_t count = ReadIValue(seam);
    seam.CloseRecord();
    if (count == 0)
        return;
    if (!IsStoredCount(iValue_)) {
        seam.DeleteRecord();
        return;
    }
    state.BRIGHTNESSCount = iValue_;
    seam.SignalHold();
    seam.DeleteRecord();
}

void BrightnessRecord::RestoreAtStartup(BrightnessState& state, RecordSeam& seam) {
    if (!seam.OpenRecord())
        return;
    uint32_t count = ReadIValue(seam);
    seam.CloseRecord();
    if (count == 0)
        return;
    int64_t save = state.BRIGHTNESSSave;
    if (save - ACCEPTANCE_DISTANCE < iValue_ && iValue_ < save + ACCEPTANCE_DISTANCE)
        state.BRIGHTNESSCount = iValue_;
    seam.SignalHold();
    seam.DeleteRecord();
}

void BrightnessRecord::OnPowerEvent(uint32_t event, const uint32_t* monitorState,
                                    BrightnessState& state, RecordSeam& seam) {
    switch (event) {
    case POWER_QUERY_SUSPEND:
    case POWER_SUSPEND:
        WriteCountRecord(state, seam);
        break;
    case POWER_RESUME_AUTOMATIC:
        RestoreAtResume(state, seam);
        break;
    case POWER_SETTING_CHANGE:
        if (monitorState && *monitorState == MONITOR_OFF)
            WriteCountAndLevelRecord(state, seam);
        else if (monitorState && *monitorState == MONITOR_ON)
            RestoreAtMonitorOn(state, seam);
        break;
    default:
        break;
    }
}

void BritNotChangePass(HoldSeam& seam) {
    seam.WaitHold();
    seam.Sleep(BRIT_NOTCHANGE_HOLD_MS);
    seam.ResetHold();
}

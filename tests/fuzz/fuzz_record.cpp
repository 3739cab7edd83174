// The brightness record logic over arbitrary record files and power events. The input is a
// small header (the events to run, the starting count and BIOS level, whether the record's
// folder takes new files) followed by the file's bytes. Properties: the file is only read
// while open and 4 bytes at a time, every open is closed, a record is deleted only once
// closed, a written record is always 4 or 8 bytes holding the count, and a start-up restore
// takes a count only within 9 of the BIOS level.
#include "core/record.h"
#include "fuzz_check.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

class FileSeam : public RecordSeam {
  public:
    bool CreateRecord() override {
        FUZZ_CHECK(!open);
        if (!folderWritable)
            return false;
        exists = open = true;
        bytes.clear();
        position = 0;
        return true;
    }
    bool OpenRecord() override {
        FUZZ_CHECK(!open);
        if (!exists)
            return false;
        open = true;
        position = 0;
        return true;
    }
    uint32_t ReadRecord(uint8_t* buffer, uint32_t size) override {
        FUZZ_CHECK(open && size == 4);
        uint32_t n = 0;
        while (n < size && position < bytes.size())
            buffer[n++] = bytes[position++];
        return n;
    }
    void WriteRecord(const uint8_t* data, uint32_t size) override {
        FUZZ_CHECK(open && size == 4);
        bytes.insert(bytes.end(), data, data + size);
    }
    void CloseRecord() override {
        FUZZ_CHECK(open);
        open = false;
    }
    void DeleteRecord() override {
        FUZZ_CHECK(!open);
        exists = false;
        bytes.clear();
    }
    void SignalHold() override {}
    int32_t ReadPCGBLevel() override { return pcgbLevel; }
    void LibrarySetBrightnessLevel(int32_t) override {}
    void SetBrightnessLevelStep() override {}

    std::vector<uint8_t> bytes;
    size_t position = 0;
    bool exists = false, open = false, folderWritable = true;
    int32_t pcgbLevel = 0;
};

int32_t ReadI32(const uint8_t* p) {
    uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    return static_cast<int32_t>(v);
}

struct Header {
    uint8_t events[4];
    int32_t count, save, pcgb;
    uint8_t flags; // bit 0: a record exists, bit 1: the folder takes no new file
};
constexpr size_t HEADER_SIZE = 4 + 3 * 4 + 1;

void CheckWrittenRecord(const FileSeam& file, int32_t countBefore, size_t expectedSize) {
    if (!file.folderWritable)
        return;
    FUZZ_CHECK(file.exists && file.bytes.size() == expectedSize);
    const int32_t stored = ReadI32(file.bytes.data());
    FUZZ_CHECK(stored == (countBefore < 0 ? 0 : countBefore));
    if (expectedSize == 8)
        FUZZ_CHECK(ReadI32(file.bytes.data() + 4) == file.pcgbLevel);
}

void RunEvent(uint8_t event, BrightnessRecord& record, BrightnessState& state, FileSeam& file) {
    const int32_t countBefore = state.BRIGHTNESSCount;
    const bool hadRecord = file.exists;
    const std::vector<uint8_t> before = file.bytes;
    const uint32_t off = MONITOR_OFF, on = MONITOR_ON;
    switch (event % 6) {
    case 0:
        record.OnPowerEvent(POWER_SUSPEND, nullptr, state, file);
        CheckWrittenRecord(file, countBefore, 4);
        break;
    case 1:
        record.OnPowerEvent(POWER_SETTING_CHANGE, &off, state, file);
        CheckWrittenRecord(file, countBefore, 8);
        break;
    case 2:
        record.OnPowerEvent(POWER_SETTING_CHANGE, &on, state, file);
        break;
    case 3:
        record.OnPowerEvent(POWER_RESUME_AUTOMATIC, nullptr, state, file);
        break;
    case 4: {
        record.RestoreAtStartup(state, file);
        if (state.BRIGHTNESSCount != countBefore) {
            const int64_t distance = int64_t(state.BRIGHTNESSCount) - state.BRIGHTNESSSave;
            FUZZ_CHECK(distance > -10 && distance < 10);
        }
        // Any record is consumed, whatever it held, unless it was empty.
        if (hadRecord && !before.empty())
            FUZZ_CHECK(!file.exists);
        break;
    }
    case 5:
        record.OnPowerEvent(POWER_SETTING_CHANGE, nullptr, state, file);
        FUZZ_CHECK(file.exists == hadRecord && file.bytes == before);
        break;
    }
    FUZZ_CHECK(!file.open);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < HEADER_SIZE)
        return 0;
    Header h;
    std::memcpy(h.events, data, 4);
    h.count = ReadI32(data + 4);
    h.save = ReadI32(data + 8);
    h.pcgb = ReadI32(data + 12);
    h.flags = data[16];

    FileSeam file;
    file.exists = h.flags & 1;
    file.folderWritable = !(h.flags & 2);
    file.pcgbLevel = h.pcgb;
    file.bytes.assign(data + HEADER_SIZE, data + size);
    BrightnessState state;
    state.BRIGHTNESSCount = h.count;
    state.BRIGHTNESSSave = h.save;
    BrightnessRecord record;
    for (uint8_t event : h.events)
        RunEvent(event, record, state, file);
    return 0;
}

#include "acpi.h"

namespace {

void PutU32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<uint8_t>(value >> (8 * i));
}

} // namespace

MethodRecord EncodeMethodRecord(const char* name) {
    MethodRecord record = {};
    PutU32(&record[0], 1);
    for (int i = 0; i < 4; ++i)
        record[4 + i] = static_cast<uint8_t>(name[i]);
    return record;
}

int32_t BIOSCall::BIOSResult() const {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | BIOSOutBuffer[BIOS_RESULT_OFFSET + i];
    return static_cast<int32_t>(value);
}

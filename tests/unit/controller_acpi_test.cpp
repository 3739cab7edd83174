// The driver's requests, the method record and the result of a BIOS method call.
#include "acpi.h"

#include <gtest/gtest.h>

namespace {

// CTL_CODE(device type, function, METHOD_BUFFERED, FILE_ANY_ACCESS).
constexpr uint32_t BufferedRequest(uint32_t function) {
    return (0x22u << 16) | (function << 2);
}

TEST(Acpi, RequestsAreBufferedRequestsOfTheDriversDeviceType) {
    EXPECT_EQ(IOCTL_OSTRELEC_ASSIGN_EVENT, BufferedRequest(0x900));
    EXPECT_EQ(IOCTL_OSTREL_ACPI_CALL_METHOD, BufferedRequest(0x901));
    EXPECT_EQ(IOCTL_OSTREL_ACPI_GET_NOTIFY_CODE, BufferedRequest(0x902));
    EXPECT_EQ(IOCTL_OSTREL_ACPI_INIT, BufferedRequest(0x903));
}

TEST(Acpi, MethodRecordHoldsOneTheNameInOrderAndZeros) {
    const struct {
        const char* name;
        MethodRecord bytes;
    } cases[] = {
        {"PCGB", {1, 0, 0, 0, 'P', 'C', 'G', 'B', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"SOSD", {1, 0, 0, 0, 'S', 'O', 'S', 'D', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"AP00", {1, 0, 0, 0, 'A', 'P', '0', '0', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EncodeMethodRecord(c.name), c.bytes) << c.name;
}

TEST(Acpi, BIOSResultIsTheSignedLittleEndianIntAtOffsetSixteen) {
    const struct {
        uint8_t bytes[4];
        int32_t value;
    } cases[] = {
        {{0x3C, 0, 0, 0}, 60},
        {{0xFE, 0xFF, 0xFF, 0xFF}, -2},
        {{0x78, 0x56, 0x34, 0x12}, 0x12345678},
        {{0, 0, 0, 0x80}, INT32_MIN},
    };
    for (const auto& c : cases) {
        BIOSCall call;
        for (uint8_t& b : call.BIOSOutBuffer)
            b = 0xAA; // bytes around the result do not count
        for (int i = 0; i < 4; ++i)
            call.BIOSOutBuffer[16 + i] = c.bytes[i];
        EXPECT_EQ(call.BIOSResult(), c.value);
    }
}

TEST(Acpi, FreshBufferYieldsZeroWithTheFullCapacity) {
    BIOSCall call;
    EXPECT_EQ(call.BIOSResult(), 0);
    EXPECT_EQ(call.BIOSOutSize, 512u);
}

} // namespace

// The simulated ACPI driver as a program of the system meets it: the device opened the way
// the controller opens it, the four requests with their record and result layout, the BIOS
// model, the notify-code queue behind an assigned event, and the control channel.
#include "harness.h"
#include "simctl_run.h"
#include "simulator.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr uint32_t SHOW_OSD = 0xD0;
constexpr DWORD RESULT_SIZE = 20;

struct Reply {
    bool ok;
    DWORD returned;
    DWORD error;
};

// The device opened with the controller's parameters.
class Device {
  public:
    Device()
        : handle_(CreateFileA("\\\\.\\VELKACPI", GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                              nullptr)) {}
    ~Device() {
        if (Opened())
            CloseHandle(handle_);
    }
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    bool Opened() const { return handle_ != INVALID_HANDLE_VALUE; }

    Reply Send(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize) const {
        Reply reply = {false, 0, 0};
        reply.ok = DeviceIoControl(handle_, code, const_cast<void*>(in), inSize, out, outSize,
                                   &reply.returned, nullptr) != FALSE;
        reply.error = reply.ok ? 0 : GetLastError();
        return reply;
    }

    // The method record: u32 1, the four characters, three u32 zeros.
    static std::vector<uint8_t> Record(const char* name) {
        std::vector<uint8_t> record(20, 0);
        record[0] = 1;
        std::memcpy(&record[4], name, 4);
        return record;
    }

    Reply Call(const char* name, uint8_t* out, DWORD outSize = 512) const {
        const std::vector<uint8_t> record = Record(name);
        return Send(sim::CALL_METHOD, record.data(), static_cast<DWORD>(record.size()), out,
                    outSize);
    }

    // The result at offset 16 of a successful call, or -999 when it failed.
    int32_t Result(const char* name) const {
        uint8_t out[512] = {};
        if (!Call(name, out).ok)
            return -999;
        int32_t result;
        std::memcpy(&result, out + 16, sizeof result);
        return result;
    }

    bool NotifyCode(uint32_t& code) const {
        code = 0xFFFFFFFF;
        return Send(sim::GET_NOTIFY_CODE, nullptr, 0, &code, sizeof code).ok;
    }

    bool Assign(HANDLE event) const {
        const uint32_t value = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(event));
        uint32_t ignored = 0;
        return Send(sim::ASSIGN_EVENT, &value, sizeof value, &ignored, sizeof ignored).ok;
    }

  private:
    HANDLE handle_;
};

// An auto-reset event, unsignalled at first, as the controller creates "FENMAR EVENT".
class Event {
  public:
    Event() : handle_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}
    ~Event() { CloseHandle(handle_); }
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;
    HANDLE Handle() const { return handle_; }
    bool Signalled(DWORD timeout_ms) const {
        return WaitForSingleObject(handle_, timeout_ms) == WAIT_OBJECT_0;
    }

  private:
    HANDLE handle_;
};

class DriverTest : public ::testing::Test {
  protected:
    static void TearDownTestSuite() { sim::StopDriver(); }
    void SetUp() override {
        harness::KillSystem();
        ASSERT_TRUE(sim::InstallDriver());
        device_ = std::make_unique<Device>();
        ASSERT_TRUE(device_->Opened());
    }
    void TearDown() override { sim::ResetDriver(); }

    std::unique_ptr<Device> device_;
};

TEST_F(DriverTest, OpensWithTheControllersParametersAndIsFreshAfterInstall) {
    EXPECT_EQ(sim::Level(), sim::INITIAL_LEVEL);
    EXPECT_EQ(sim::QueuedCount(), 0u);
    EXPECT_FALSE(sim::EventAssigned());
    EXPECT_TRUE(sim::DriverLog().empty());
}

TEST_F(DriverTest, InitAnswersWithoutData) {
    const Reply reply = device_->Send(sim::INIT, nullptr, 0, nullptr, 0);
    EXPECT_TRUE(reply.ok) << reply.error;
    EXPECT_EQ(reply.returned, 0u);
}

TEST_F(DriverTest, UnknownRequestFails) {
    uint8_t out[16] = {};
    for (DWORD code : {0x222410u, 0x222000u, 0x220000u})
        EXPECT_FALSE(device_->Send(code, nullptr, 0, out, sizeof out).ok) << std::hex << code;
}

TEST_F(DriverTest, ReadingMethodsReturnTheLevelInTheResultRecord) {
    ASSERT_TRUE(sim::SetLevel(37));
    for (const char* name : {"PCGB", "SOSD", "ITLV", "TLCD", "AP00"}) {
        SCOPED_TRACE(name);
        uint8_t out[512];
        std::memset(out, 0xAB, sizeof out);
        const Reply reply = device_->Call(name, out);
        ASSERT_TRUE(reply.ok) << reply.error;
        EXPECT_EQ(reply.returned, RESULT_SIZE);
        int32_t result;
        std::memcpy(&result, out + 16, sizeof result);
        EXPECT_EQ(result, 37);
        EXPECT_EQ(out[RESULT_SIZE], 0xAB) << "wrote past the bytes it returned";
        EXPECT_EQ(sim::Level(), 37);
        EXPECT_EQ(sim::QueuedCount(), 0u);
    }
}

TEST_F(DriverTest, SteppingMethodsMoveTheLevelByTenWithinTheRangeAndRaiseShowOSD) {
    const struct {
        int32_t from;
        const char* method;
        int32_t to;
    } cases[] = {
        {50, "INBR", 60},   {90, "INBR", 100}, {95, "INBR", 100}, {100, "INBR", 100},
        {50, "DEBR", 40},   {10, "DEBR", 0},   {5, "DEBR", 0},    {0, "DEBR", 0},
        {150, "INBR", 100}, {-7, "DEBR", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.method) + " from " + std::to_string(c.from));
        ASSERT_TRUE(sim::SetLevel(c.from));
        EXPECT_EQ(device_->Result(c.method), c.to);
        EXPECT_EQ(sim::Level(), c.to);
        EXPECT_EQ(device_->Result("SOSD"), c.to);
        uint32_t code = 0;
        ASSERT_TRUE(device_->NotifyCode(code));
        EXPECT_EQ(code, SHOW_OSD);
        EXPECT_EQ(sim::QueuedCount(), 0u);
    }
}

TEST_F(DriverTest, MalformedMethodCallsFailAndLeaveTheOutputAlone) {
    const auto bad = [](size_t at, uint8_t value) {
        std::vector<uint8_t> record = Device::Record("SOSD");
        record[at] = value;
        return record;
    };
    const auto shortened = [](size_t size) {
        std::vector<uint8_t> record = Device::Record("SOSD");
        record.resize(size);
        return record;
    };
    const struct {
        const char* what;
        std::vector<uint8_t> record;
        DWORD outSize;
    } cases[] = {
        {"unknown method", Device::Record("XXXX"), 512},
        {"lower case name", Device::Record("sosd"), 512},
        {"first field not 1", bad(0, 2), 512},
        {"nonzero at offset 8", bad(8, 1), 512},
        {"nonzero at offset 16", bad(16, 1), 512},
        {"record too short", shortened(19), 512},
        {"record too long", std::vector<uint8_t>(24, 0), 512},
        {"output smaller than the result", Device::Record("SOSD"), 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        uint8_t out[512];
        std::memset(out, 0x5A, sizeof out);
        const Reply reply = device_->Send(sim::CALL_METHOD, c.record.data(),
                                          static_cast<DWORD>(c.record.size()), out, c.outSize);
        EXPECT_FALSE(reply.ok);
        for (uint8_t byte : out)
            ASSERT_EQ(byte, 0x5A);
    }
    EXPECT_EQ(sim::Level(), sim::INITIAL_LEVEL);
}

TEST_F(DriverTest, NotifyCodesComeOutOldestFirstThenZero) {
    const uint32_t codes[] = {0xC4, 0xD0, 0xD1, 0xD2, 0xD3, 0xD4, 0xD9, 0xC5, 0x12345678};
    for (uint32_t code : codes)
        ASSERT_TRUE(sim::QueueNotifyCode(code));
    EXPECT_EQ(sim::QueuedCount(), std::size(codes));
    for (uint32_t expected : codes) {
        uint32_t code = 0;
        ASSERT_TRUE(device_->NotifyCode(code));
        EXPECT_EQ(code, expected);
    }
    uint32_t code = 0;
    ASSERT_TRUE(device_->NotifyCode(code));
    EXPECT_EQ(code, 0u);
}

TEST_F(DriverTest, NotifyCodeNeedsFourBytesOfOutput) {
    ASSERT_TRUE(sim::QueueNotifyCode(0xC4));
    uint16_t small = 0;
    EXPECT_FALSE(device_->Send(sim::GET_NOTIFY_CODE, nullptr, 0, &small, sizeof small).ok);
    const Reply reply = device_->Send(sim::GET_NOTIFY_CODE, nullptr, 0, nullptr, 0);
    EXPECT_FALSE(reply.ok);
    EXPECT_EQ(sim::QueuedCount(), 1u) << "a refused read must not consume the code";
}

TEST_F(DriverTest, QueueHoldsSixtyFourCodes) {
    for (int i = 0; i < 64; i++)
        ASSERT_TRUE(sim::QueueNotifyCode(0xD0)) << i;
    EXPECT_FALSE(sim::QueueNotifyCode(0xD0));
    EXPECT_EQ(sim::QueuedCount(), 64u);
}

TEST_F(DriverTest, ACodeQueuedByAnotherProcessWakesTheWaitingThreadAndIsReturned) {
    Event event;
    ASSERT_TRUE(device_->Assign(event.Handle()));
    uint32_t path = 0;
    ASSERT_TRUE(sim::EventAssigned(&path));
    EXPECT_TRUE(path == 1 || path == 2) << path;
    std::printf("event reached as %s\n", path == 1 ? "a user-mode handle" : "a duplicate");

    // Waits like the controller's hotkey thread: on the event, then one read.
    bool woke = false, read = false;
    uint32_t code = 0;
    double wokeMs = 0;
    std::thread waiter([&] {
        woke = event.Signalled(10000);
        wokeMs = harness::NowMs();
        read = woke && device_->NotifyCode(code);
    });
    Sleep(200); // the waiter is blocked by now; it must not wake before the code is queued
    const double queuedMs = harness::NowMs();
    const int simctl = sim::RunSimctl("notify 0xD9");
    waiter.join();
    ASSERT_EQ(simctl, 0);
    ASSERT_TRUE(woke);
    EXPECT_GE(wokeMs, queuedMs);
    ASSERT_TRUE(read);
    EXPECT_EQ(code, 0xD9u);
    EXPECT_FALSE(event.Signalled(200)) << "signalled with nothing queued";
}

TEST_F(DriverTest, EventIsSignalledAgainAfterEachReadWhileCodesRemain) {
    Event event;
    ASSERT_TRUE(device_->Assign(event.Handle()));
    for (uint32_t code : {0xD1u, 0xD2u, 0xC4u})
        ASSERT_TRUE(sim::QueueNotifyCode(code));
    std::vector<uint32_t> read;
    while (event.Signalled(1000)) {
        uint32_t code = 0;
        ASSERT_TRUE(device_->NotifyCode(code));
        read.push_back(code);
        ASSERT_LE(read.size(), 3u);
    }
    EXPECT_EQ(read, (std::vector<uint32_t>{0xD1, 0xD2, 0xC4}));
}

TEST_F(DriverTest, SteppingSignalsTheEventWithShowOSD) {
    Event event;
    ASSERT_TRUE(device_->Assign(event.Handle()));
    EXPECT_EQ(device_->Result("INBR"), 60);
    ASSERT_TRUE(event.Signalled(5000));
    uint32_t code = 0;
    ASSERT_TRUE(device_->NotifyCode(code));
    EXPECT_EQ(code, SHOW_OSD);
}

TEST_F(DriverTest, CodesQueuedBeforeTheAssignmentSignalItAtOnce) {
    ASSERT_TRUE(sim::QueueNotifyCode(0xD0));
    Event event;
    ASSERT_TRUE(device_->Assign(event.Handle()));
    EXPECT_TRUE(event.Signalled(5000));
}

TEST_F(DriverTest, AssignmentFailsWithoutAUsableEventHandle) {
    uint32_t ignored = 0;
    EXPECT_FALSE(device_->Send(sim::ASSIGN_EVENT, nullptr, 0, &ignored, sizeof ignored).ok);
    EXPECT_FALSE(device_->Assign(reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x7FF0))));
    HANDLE mutex = CreateMutexA(nullptr, FALSE, nullptr);
    EXPECT_FALSE(device_->Assign(mutex)) << "a mutex is not an event";
    CloseHandle(mutex);
    EXPECT_FALSE(sim::EventAssigned());
}

TEST_F(DriverTest, ALaterAssignmentReplacesTheEarlierEvent) {
    Event first, second;
    ASSERT_TRUE(device_->Assign(first.Handle()));
    ASSERT_TRUE(device_->Assign(second.Handle()));
    ASSERT_TRUE(sim::QueueNotifyCode(0xC4));
    EXPECT_TRUE(second.Signalled(5000));
    EXPECT_FALSE(first.Signalled(100));
}

TEST_F(DriverTest, FailuresHitTheChosenRequestsOnly) {
    struct Case {
        const char* what;
        uint32_t request;
        const char* method;
        std::vector<bool> initOkPcgbOkSosdOk;
    };
    const Case cases[] = {
        {"init", sim::INIT, nullptr, {false, true, true}},
        {"every method", sim::CALL_METHOD, nullptr, {true, false, false}},
        {"SOSD only", sim::CALL_METHOD, "SOSD", {true, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.method ? sim::FailMethod(c.method) : sim::FailRequest(c.request));
        for (int round = 0; round < 2; round++) {
            EXPECT_EQ(device_->Send(sim::INIT, nullptr, 0, nullptr, 0).ok, c.initOkPcgbOkSosdOk[0]);
            EXPECT_EQ(device_->Result("PCGB") != -999, c.initOkPcgbOkSosdOk[1]);
            EXPECT_EQ(device_->Result("SOSD") != -999, c.initOkPcgbOkSosdOk[2]);
        }
        ASSERT_TRUE(c.method ? sim::FailMethod(c.method, 0) : sim::FailRequest(c.request, 0));
        EXPECT_TRUE(device_->Send(sim::INIT, nullptr, 0, nullptr, 0).ok);
        EXPECT_EQ(device_->Result("PCGB"), sim::INITIAL_LEVEL);
        EXPECT_EQ(device_->Result("SOSD"), sim::INITIAL_LEVEL);
    }
}

TEST_F(DriverTest, AFailedStepChangesNothing) {
    ASSERT_TRUE(sim::FailMethod("INBR"));
    uint8_t out[512];
    std::memset(out, 0x33, sizeof out);
    EXPECT_FALSE(device_->Call("INBR", out).ok);
    EXPECT_EQ(out[16], 0x33);
    EXPECT_EQ(sim::Level(), sim::INITIAL_LEVEL);
    EXPECT_EQ(sim::QueuedCount(), 0u);
}

TEST_F(DriverTest, CountedFailuresRunOut) {
    ASSERT_TRUE(sim::FailMethod("PCGB", 2));
    EXPECT_EQ(device_->Result("PCGB"), -999);
    EXPECT_EQ(device_->Result("SOSD"), sim::INITIAL_LEVEL) << "another method counted the failure";
    EXPECT_EQ(device_->Result("PCGB"), -999);
    EXPECT_EQ(device_->Result("PCGB"), sim::INITIAL_LEVEL);
}

TEST_F(DriverTest, AFailedNotifyReadConsumesItsCode) {
    Event event;
    ASSERT_TRUE(device_->Assign(event.Handle()));
    ASSERT_TRUE(sim::FailRequest(sim::GET_NOTIFY_CODE, 1));
    ASSERT_TRUE(sim::QueueNotifyCode(0xD0));
    ASSERT_TRUE(sim::QueueNotifyCode(0xD9));
    ASSERT_TRUE(event.Signalled(5000));
    uint32_t code = 0;
    EXPECT_FALSE(device_->NotifyCode(code));
    ASSERT_TRUE(event.Signalled(5000)) << "the second code must still be announced";
    ASSERT_TRUE(device_->NotifyCode(code));
    EXPECT_EQ(code, 0xD9u);
    EXPECT_FALSE(event.Signalled(200));
}

TEST_F(DriverTest, FailingAssignmentLeavesNoEvent) {
    ASSERT_TRUE(sim::FailRequest(sim::ASSIGN_EVENT));
    Event event;
    EXPECT_FALSE(device_->Assign(event.Handle()));
    EXPECT_FALSE(sim::EventAssigned());
    ASSERT_TRUE(sim::FailRequest(sim::ASSIGN_EVENT, 0));
    EXPECT_TRUE(device_->Assign(event.Handle()));
}

TEST_F(DriverTest, LogRecordsEachRequestWithResultCallerAndTime) {
    Event event;
    const double before = harness::NowMs();
    ASSERT_TRUE(device_->Send(sim::INIT, nullptr, 0, nullptr, 0).ok);
    ASSERT_TRUE(device_->Assign(event.Handle()));
    EXPECT_EQ(device_->Result("SOSD"), 50);
    EXPECT_EQ(device_->Result("INBR"), 60);
    uint32_t code = 0;
    ASSERT_TRUE(device_->NotifyCode(code));
    ASSERT_TRUE(sim::FailMethod("PCGB", 1));
    EXPECT_EQ(device_->Result("PCGB"), -999);
    EXPECT_EQ(device_->Result("NONE"), -999);
    ASSERT_TRUE(sim::SetLevel(20)); // control requests are not logged
    const double after = harness::NowMs();

    const struct {
        uint32_t request;
        const char* method;
        int32_t result;
        bool ok;
    } expected[] = {
        {sim::INIT, "", 0, true},
        {sim::ASSIGN_EVENT, "", 0, true},
        {sim::CALL_METHOD, "SOSD", 50, true},
        {sim::CALL_METHOD, "INBR", 60, true},
        {sim::GET_NOTIFY_CODE, "", 0xD0, true},
        {sim::CALL_METHOD, "PCGB", 0, false},
        {sim::CALL_METHOD, "NONE", 0, false},
    };
    const std::vector<sim::DriverCall> log = sim::DriverLog();
    ASSERT_EQ(log.size(), std::size(expected));
    double previous = before - 50;
    for (size_t i = 0; i < log.size(); i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ(log[i].request, expected[i].request);
        EXPECT_EQ(log[i].method, expected[i].method);
        EXPECT_EQ(log[i].result, expected[i].result);
        EXPECT_EQ(log[i].Succeeded(), expected[i].ok);
        EXPECT_EQ(log[i].processId, GetCurrentProcessId());
        EXPECT_GE(log[i].timeMs, previous);
        EXPECT_LE(log[i].timeMs, after + 50);
        previous = log[i].timeMs;
    }
    EXPECT_EQ(sim::MethodsCalled(), (std::vector<std::string>{"SOSD", "INBR", "PCGB", "NONE"}));

    ASSERT_TRUE(sim::ClearDriverLog());
    EXPECT_TRUE(sim::DriverLog().empty());
    EXPECT_EQ(device_->Result("SOSD"), 20);
    EXPECT_EQ(sim::MethodsCalled(), std::vector<std::string>{"SOSD"});
}

TEST_F(DriverTest, LogKeepsTheNewestEntries) {
    ASSERT_TRUE(sim::SetLevel(0));
    for (int i = 0; i < 520; i++)
        ASSERT_NE(device_->Result(i % 2 ? "PCGB" : "SOSD"), -999);
    const std::vector<sim::DriverCall> log = sim::DriverLog();
    ASSERT_EQ(log.size(), 512u);
    EXPECT_EQ(log.front().method, "SOSD"); // call 8 of 0..519
    EXPECT_EQ(log.back().method, "PCGB");  // call 519
    for (size_t i = 1; i < log.size(); i++)
        ASSERT_GE(log[i].timeMs, log[i - 1].timeMs);
}

TEST_F(DriverTest, ResetRestoresTheFreshState) {
    Event event;
    ASSERT_TRUE(device_->Assign(event.Handle()));
    ASSERT_TRUE(sim::SetLevel(80));
    ASSERT_TRUE(sim::QueueNotifyCode(0xC4));
    ASSERT_TRUE(sim::FailMethod("SOSD"));
    ASSERT_TRUE(sim::ResetDriver());
    EXPECT_EQ(sim::Level(), sim::INITIAL_LEVEL);
    EXPECT_EQ(sim::QueuedCount(), 0u);
    EXPECT_FALSE(sim::EventAssigned());
    EXPECT_TRUE(sim::DriverLog().empty());
    EXPECT_EQ(device_->Result("SOSD"), sim::INITIAL_LEVEL);
    ASSERT_TRUE(event.Signalled(0)); // from the code queued while assigned
    ASSERT_TRUE(sim::QueueNotifyCode(0xC4));
    EXPECT_FALSE(event.Signalled(200)) << "the released event was still signalled";
}

TEST_F(DriverTest, StopRemovesTheDeviceAndStartLoadsAFreshDriver) {
    ASSERT_TRUE(sim::SetLevel(90));
    ASSERT_TRUE(sim::StopDriver());
    EXPECT_FALSE(sim::DriverRunning());
    EXPECT_FALSE(Device().Opened());
    EXPECT_FALSE(sim::Level().has_value());
    EXPECT_FALSE(sim::QueueNotifyCode(0xD0));
    ASSERT_TRUE(sim::StartDriver());
    EXPECT_TRUE(sim::DriverRunning());
    EXPECT_TRUE(Device().Opened());
    EXPECT_EQ(sim::Level(), sim::INITIAL_LEVEL);
}

TEST_F(DriverTest, StopsWhileAProgramStillHoldsTheDevice) {
    Event event;
    ASSERT_TRUE(device_->Assign(event.Handle()));
    ASSERT_TRUE(sim::StopDriver());
    EXPECT_FALSE(device_->Send(sim::INIT, nullptr, 0, nullptr, 0).ok);
    ASSERT_TRUE(sim::StartDriver());
    EXPECT_EQ(Device().Result("SOSD"), sim::INITIAL_LEVEL);
}

TEST_F(DriverTest, SimctlDrivesTheControlChannel) {
    EXPECT_EQ(sim::RunSimctl("level 73"), 0);
    EXPECT_EQ(sim::Level(), 73);
    EXPECT_EQ(sim::RunSimctl("notify 0xC4 208"), 0);
    EXPECT_EQ(sim::QueuedCount(), 2u);
    EXPECT_EQ(sim::RunSimctl("fail SOSD"), 0);
    EXPECT_EQ(device_->Result("SOSD"), -999);
    EXPECT_EQ(sim::RunSimctl("succeed SOSD"), 0);
    EXPECT_EQ(device_->Result("SOSD"), 73);
    std::string log;
    ASSERT_EQ(sim::RunSimctl("log", &log), 0);
    const size_t failed = log.find(" method SOSD result 0 status 0xC0000001\n");
    const size_t answered = log.find(" method SOSD result 73 status 0x00000000\n");
    EXPECT_NE(failed, std::string::npos) << log;
    EXPECT_NE(answered, std::string::npos) << log;
    EXPECT_LT(failed, answered) << log;
    EXPECT_EQ(sim::RunSimctl("clear-log"), 0);
    EXPECT_TRUE(sim::DriverLog().empty());
    EXPECT_EQ(sim::RunSimctl("reset"), 0);
    EXPECT_EQ(sim::Level(), sim::INITIAL_LEVEL);
    EXPECT_EQ(sim::QueuedCount(), 0u);
    EXPECT_EQ(sim::RunSimctl("stop"), 0);
    EXPECT_FALSE(sim::DriverRunning());
    EXPECT_EQ(sim::RunSimctl("level 10"), 1);
    EXPECT_EQ(sim::RunSimctl("start"), 0);
    EXPECT_TRUE(sim::DriverRunning());
    EXPECT_EQ(sim::RunSimctl("level 10"), 0);
    EXPECT_EQ(sim::RunSimctl("install"), 0);
    EXPECT_EQ(sim::Level(), sim::INITIAL_LEVEL);
    EXPECT_EQ(sim::RunSimctl("notify xyz"), 2);
    EXPECT_EQ(sim::RunSimctl("fail PCG"), 2);
    EXPECT_EQ(sim::RunSimctl("bogus"), 2);
}

} // namespace

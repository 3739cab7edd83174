// A fake controller seam: a small driver model that answers BIOS methods with a result at
// offset 16 and a byte count, and a log of every call the brightness code makes.
#pragma once

#include "core/brightness.h"

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

class FakeControllerSeam : public ControllerSeam {
  public:
    std::map<std::string, int32_t> results; // BIOS level each method yields
    std::set<std::string> failing;          // methods whose call fails
    uint32_t returnedBytes = 24;            // byte count a successful call returns
    bool held = false;
    bool bound = true;
    int32_t lastCode = 0;
    std::vector<std::string> calls; // "SOSD@512", "popup 208 51", "library 40"

    bool CallBIOSMethod(const char* name, BIOSCall& call) override {
        calls.push_back(std::string(name, 4) + "@" + std::to_string(call.BIOSOutSize));
        if (failing.count(name))
            return false;
        const uint32_t value = static_cast<uint32_t>(results[name]);
        for (int i = 0; i < 4; ++i)
            call.BIOSOutBuffer[16 + i] = static_cast<uint8_t>(value >> (8 * i));
        call.BIOSOutSize = returnedBytes;
        return true;
    }
    void NotifyPopup(int id, int32_t level) override {
        calls.push_back("popup " + std::to_string(id) + " " + std::to_string(level));
    }
    bool BritNotChangeHeld() override { return held; }
    bool BrightnessLibraryBound() override { return bound; }
    void SetBrightnessLevel(int32_t level) override {
        calls.push_back("library " + std::to_string(level));
    }
    int32_t KWBLastCode() override { return lastCode; }
};

// A buffer whose BIOSResult is value, as a previous successful call would leave it.
inline BIOSCall BufferHolding(int32_t value, uint32_t size = 512) {
    BIOSCall call;
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        call.BIOSOutBuffer[16 + i] = static_cast<uint8_t>(bits >> (8 * i));
    call.BIOSOutSize = size;
    return call;
}

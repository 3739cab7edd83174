// ThreadFunctionBRITC: the monitor brightness watcher on COM and WMI, a single-threaded
// apartment of its own; every WmiMonitorBrightnessEvent becomes LPARAM_BRIT_CHANGED.
#include "input/britc.h"

#include "commands.h"
#include "core/framework_win.h"
#include "core/globals_win.h"
#include "input/sources_win.h"

#include <objbase.h>
#include <wbemidl.h>

#include <cstring>

namespace {

// Made before the program's main code runs and kept for the life of the process.
const BSTR NamespaceName = SysAllocString(L"root\\wmi");
const BSTR QueryText = SysAllocString(L"Select * from WmiMonitorBrightnessEvent");
const BSTR QueryLanguage = SysAllocString(L"WQL");

HANDLE gWatcherThread;

class WmiEventSource : public BrightnessEventSource {
  public:
    WmiEventSource() { VariantInit(&classValue_); }
    // The interfaces are released and COM left when the watcher ends.
    ~WmiEventSource() override {
        ReleaseEvent();
        Release(pEnumerator_);
        Release(pNamespace_);
        Release(pLocator_);
        if (comInitialized_)
            CoUninitialize();
    }
    WmiEventSource(const WmiEventSource&) = delete;
    WmiEventSource& operator=(const WmiEventSource&) = delete;

    int32_t Initialize() override {
        HRESULT hr = CoInitialize(nullptr);
        comInitialized_ = SUCCEEDED(hr);
        return hr;
    }
    void InitializeSecurity() override {
        CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                             RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    }
    int32_t CreateLocator() override {
        return CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                reinterpret_cast<void**>(&pLocator_));
    }
    int32_t ConnectServer() override {
        return pLocator_->ConnectServer(NamespaceName, nullptr, nullptr, nullptr, 0, nullptr,
                                        nullptr, &pNamespace_);
    }
    int32_t ExecNotificationQuery() override {
        return pNamespace_->ExecNotificationQuery(
            QueryLanguage, QueryText, WBEM_FLAG_RETURN_IMMEDIATELY | WBEM_FLAG_FORWARD_ONLY,
            nullptr, &pEnumerator_);
    }
    int32_t Next(uint32_t& returned) override {
        ULONG count = 0;
        HRESULT hr = pEnumerator_->Next(WBEM_INFINITE, 1, &pEventSource_, &count);
        returned = count;
        return hr;
    }
    int32_t GetClass(ClassName& name) override {
        HRESULT hr = pEventSource_->Get(L"__Class", 0, &classValue_, nullptr, nullptr);
        if (FAILED(hr))
            return hr;
        name.converted = V_VT(&classValue_) == VT_BSTR ||
                         SUCCEEDED(VariantChangeType(&classValue_, &classValue_, 0, VT_BSTR));
        if (name.converted)
            name.text = std::u16string_view(reinterpret_cast<const char16_t*>(V_BSTR(&classValue_)),
                                            SysStringLen(V_BSTR(&classValue_)));
        return hr;
    }
    int32_t GetBrightness(uint8_t& brightness) override {
        VARIANT value;
        VariantInit(&value);
        HRESULT hr = pEventSource_->Get(L"Brightness", 0, &value, nullptr, nullptr);
        if (SUCCEEDED(hr) && SUCCEEDED(VariantChangeType(&value, &value, 0, VT_UI1)))
            brightness = V_UI1(&value);
        VariantClear(&value);
        return hr;
    }
    void ReleaseEvent() override {
        VariantClear(&classValue_);
        Release(pEventSource_);
    }
    void PostBrightnessChanged() override {
        PostMessageA(gHWND_DIALOG, WM_OSD_COMMAND, OSD_COMMAND_WPARAM, LPARAM_BRIT_CHANGED);
    }
    // Standard output gets the bytes as they are (no text-mode line end translation).
    void WriteReport(const char* text) override {
        OutputDebugStringA(text);
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, DWORD(std::strlen(text)), &written,
                  nullptr);
    }
    void Trace(const char* line) override { ::Trace("%s", line); }
    void Pause(uint32_t ms) override { Sleep(ms); }

  private:
    template <class T> static void Release(T*& pointer) {
        if (pointer)
            pointer->Release();
        pointer = nullptr;
    }

    bool comInitialized_ = false;
    IWbemLocator* pLocator_ = nullptr;
    IWbemServices* pNamespace_ = nullptr;
    IEnumWbemClassObject* pEnumerator_ = nullptr;
    IWbemClassObject* pEventSource_ = nullptr;
    VARIANT classValue_;
};

DWORD WINAPI ThreadFunctionBRITC(void*) {
    WmiEventSource source;
    WatchBrightnessEvents(source);
    return 0;
}

} // namespace

void StartBrightnessWatcher() {
    gWatcherThread = framework::BeginThread(ThreadFunctionBRITC, nullptr);
}

/* The simulated ACPI hotkey driver: device \Device\VELKACPI (\DosDevices\VELKACPI), a small
 * BIOS model behind the method calls, a queue of notify codes behind the assigned event, a
 * log of the requests, and the control channel of sim/control.h. */
#include <ntddk.h>

#include "../control.h"

/* The DDK header declares ExEventObjectType one indirection wrong; take the import as it is. */
extern POBJECT_TYPE* imp_ExEventObjectType __asm__("__imp__ExEventObjectType");

NTSYSAPI NTSTATUS NTAPI ZwDuplicateObject(HANDLE sourceProcess, HANDLE sourceHandle,
                                          HANDLE targetProcess, PHANDLE targetHandle,
                                          ACCESS_MASK access, ULONG attributes, ULONG options);

#define METHOD_RECORD_SIZE 20u
#define METHOD_RESULT_SIZE 20u
#define NOTIFY_SHOW_OSD 0xD0u
#define LEVEL_STEP 10
#define LEVEL_MIN 0
#define LEVEL_MAX 100

typedef struct Failure {
    uint32_t request;
    char method[4];
    uint32_t times;
} Failure;

/* Everything below is guarded by gLock. */
static KSPIN_LOCK gLock;
static int32_t gLevel = SIM_INITIAL_LEVEL;
static uint32_t gQueue[SIM_QUEUE_CAPACITY];
static uint32_t gQueueHead, gQueueCount;
static SimLogEntry gLog[SIM_LOG_CAPACITY];
static uint32_t gLogHead, gLogCount;
static Failure gFailures[SIM_FAILURE_CAPACITY];
static PKEVENT gEvent;
static uint32_t gEventPath, gAssignCount;

static UNICODE_STRING gDeviceName = RTL_CONSTANT_STRING(L"\\Device\\VELKACPI");
static UNICODE_STRING gDosName = RTL_CONSTANT_STRING(L"\\DosDevices\\VELKACPI");

static int SameName(const char* a, const char* b) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3];
}

static void CopyName(char* to, const char* from) {
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
    to[3] = from[3];
}

static uint32_t ReadU32(const UCHAR* p) {
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

static void WriteU32(UCHAR* p, uint32_t value) {
    p[0] = (UCHAR)value;
    p[1] = (UCHAR)(value >> 8);
    p[2] = (UCHAR)(value >> 16);
    p[3] = (UCHAR)(value >> 24);
}

/* --- State, called with gLock held ------------------------------------------------------ */

static void AppendLog(uint32_t request, const char* method, int32_t result, NTSTATUS status) {
    SimLogEntry* entry = &gLog[(gLogHead + gLogCount) % SIM_LOG_CAPACITY];
    if (gLogCount == SIM_LOG_CAPACITY)
        gLogHead = (gLogHead + 1) % SIM_LOG_CAPACITY;
    else
        gLogCount++;
    RtlZeroMemory(entry, sizeof *entry);
    entry->request = request;
    if (method)
        CopyName(entry->method, method);
    entry->result = result;
    entry->status = (uint32_t)status;
    entry->processId = (uint32_t)(ULONG_PTR)PsGetCurrentProcessId();
    entry->time = KeQueryPerformanceCounter(NULL).QuadPart;
}

static Failure* FindFailure(uint32_t request, const char* method) {
    uint32_t i;
    for (i = 0; i < SIM_FAILURE_CAPACITY; i++) {
        Failure* f = &gFailures[i];
        if (f->times != 0 && f->request == request && SameName(f->method, method))
            return f;
    }
    return NULL;
}

/* True when the request is to fail now; counts the failure off its rule. */
static int TakeFailure(uint32_t request, const char* method) {
    static const char any[4] = {0, 0, 0, 0};
    Failure* f = FindFailure(request, method);
    if (!f && request == VELKACPI_CALL_METHOD)
        f = FindFailure(request, any);
    if (!f)
        return 0;
    if (f->times != SIM_FAIL_ALWAYS)
        f->times--;
    return 1;
}

static NTSTATUS SetFailure(const SimFailure* rule) {
    Failure* slot = NULL;
    uint32_t i;
    for (i = 0; i < SIM_FAILURE_CAPACITY; i++) {
        Failure* f = &gFailures[i];
        if (f->request == rule->request && SameName(f->method, rule->method)) {
            slot = f;
            break;
        }
        if (!slot && f->times == 0)
            slot = f;
    }
    if (!slot)
        return STATUS_INSUFFICIENT_RESOURCES;
    slot->request = rule->request;
    CopyName(slot->method, rule->method);
    slot->times = rule->times;
    return STATUS_SUCCESS;
}

static void SignalIfQueued(void) {
    if (gEvent && gQueueCount > 0)
        KeSetEvent(gEvent, IO_NO_INCREMENT, FALSE);
}

static int QueueCode(uint32_t code) {
    if (gQueueCount == SIM_QUEUE_CAPACITY)
        return 0;
    gQueue[(gQueueHead + gQueueCount) % SIM_QUEUE_CAPACITY] = code;
    gQueueCount++;
    SignalIfQueued();
    return 1;
}

static uint32_t TakeCode(void) {
    uint32_t code;
    if (gQueueCount == 0)
        return 0;
    code = gQueue[gQueueHead];
    gQueueHead = (gQueueHead + 1) % SIM_QUEUE_CAPACITY;
    gQueueCount--;
    return code;
}

static int32_t StepLevel(int32_t step) {
    int32_t level = gLevel + step;
    if (level > LEVEL_MAX)
        level = LEVEL_MAX;
    if (level < LEVEL_MIN)
        level = LEVEL_MIN;
    return level;
}

/* The BIOS model. Returns 0 for an unknown method. */
static int RunMethod(const char* name, int32_t* result) {
    if (SameName(name, "INBR") || SameName(name, "DEBR")) {
        gLevel = StepLevel(SameName(name, "INBR") ? LEVEL_STEP : -LEVEL_STEP);
        QueueCode(NOTIFY_SHOW_OSD);
    } else if (!SameName(name, "PCGB") && !SameName(name, "SOSD") && !SameName(name, "ITLV") &&
               !SameName(name, "TLCD") && !SameName(name, "AP00")) {
        return 0;
    }
    *result = gLevel;
    return 1;
}

/* Takes the event away; the caller dereferences what it returns after releasing the lock. */
static PKEVENT DropEvent(void) {
    PKEVENT old = gEvent;
    gEvent = NULL;
    gEventPath = SIM_EVENT_NONE;
    return old;
}

static void Reset(void) {
    gLevel = SIM_INITIAL_LEVEL;
    gQueueHead = gQueueCount = 0;
    gLogHead = gLogCount = 0;
    RtlZeroMemory(gFailures, sizeof gFailures);
    gAssignCount = 0;
}

/* --- Requests --------------------------------------------------------------------------- */

typedef struct Request {
    uint32_t code;
    UCHAR* buffer; /* METHOD_BUFFERED: input on entry, output on completion */
    ULONG inSize, outSize;
    ULONG_PTR returned;
} Request;

static int ValidMethodRecord(const Request* r) {
    const UCHAR* p = r->buffer;
    return r->inSize == METHOD_RECORD_SIZE && ReadU32(p) == 1 && ReadU32(p + 8) == 0 &&
           ReadU32(p + 12) == 0 && ReadU32(p + 16) == 0;
}

static NTSTATUS CallMethod(Request* r) {
    static const char none[4] = {0, 0, 0, 0};
    KIRQL irql;
    char name[4];
    int32_t result = 0;
    NTSTATUS status = STATUS_SUCCESS;
    const int valid = ValidMethodRecord(r);
    CopyName(name, valid ? (const char*)r->buffer + 4 : none);
    KeAcquireSpinLock(&gLock, &irql);
    if (!valid)
        status = STATUS_INVALID_PARAMETER;
    else if (r->outSize < METHOD_RESULT_SIZE)
        status = STATUS_BUFFER_TOO_SMALL;
    else if (TakeFailure(VELKACPI_CALL_METHOD, name))
        status = STATUS_UNSUCCESSFUL;
    else if (!RunMethod(name, &result))
        status = STATUS_INVALID_PARAMETER;
    AppendLog(VELKACPI_CALL_METHOD, name, result, status);
    KeReleaseSpinLock(&gLock, irql);
    if (status != STATUS_SUCCESS)
        return status;
    RtlZeroMemory(r->buffer, METHOD_RESULT_SIZE);
    WriteU32(r->buffer, 1);
    CopyName((char*)r->buffer + 4, name);
    WriteU32(r->buffer + 16, (uint32_t)result);
    r->returned = METHOD_RESULT_SIZE;
    return STATUS_SUCCESS;
}

static NTSTATUS GetNotifyCode(Request* r) {
    KIRQL irql;
    uint32_t code = 0;
    NTSTATUS status = STATUS_SUCCESS;
    KeAcquireSpinLock(&gLock, &irql);
    if (r->outSize < sizeof code) {
        status = STATUS_BUFFER_TOO_SMALL;
    } else {
        if (TakeFailure(VELKACPI_GET_NOTIFY_CODE, "\0\0\0\0"))
            status = STATUS_UNSUCCESSFUL;
        code = TakeCode();
        SignalIfQueued();
    }
    AppendLog(VELKACPI_GET_NOTIFY_CODE, NULL, status == STATUS_SUCCESS ? (int32_t)code : 0, status);
    KeReleaseSpinLock(&gLock, irql);
    if (status != STATUS_SUCCESS)
        return status;
    WriteU32(r->buffer, code);
    r->returned = sizeof code;
    return STATUS_SUCCESS;
}

/* The handle belongs to the caller. On Windows the request runs in the caller's context and
 * the handle can be referenced as a user-mode handle; where it does not (Wine's driver host
 * runs requests on its own thread), the handle is duplicated out of the caller's process. */
static NTSTATUS ReferenceCallerEvent(HANDLE handle, PKEVENT* event, uint32_t* path) {
    OBJECT_ATTRIBUTES attributes;
    CLIENT_ID caller;
    HANDLE process, duplicate;
    NTSTATUS status = ObReferenceObjectByHandle(handle, EVENT_MODIFY_STATE, *imp_ExEventObjectType,
                                                UserMode, (PVOID*)event, NULL);
    if (NT_SUCCESS(status)) {
        *path = SIM_EVENT_USER_MODE;
        return status;
    }
    InitializeObjectAttributes(&attributes, NULL, 0, NULL, NULL);
    caller.UniqueProcess = PsGetCurrentProcessId();
    caller.UniqueThread = NULL;
    status = ZwOpenProcess(&process, PROCESS_DUP_HANDLE, &attributes, &caller);
    if (!NT_SUCCESS(status))
        return status;
    status = ZwDuplicateObject(process, handle, NtCurrentProcess(), &duplicate,
                               EVENT_MODIFY_STATE | SYNCHRONIZE, 0, 0);
    ZwClose(process);
    if (!NT_SUCCESS(status))
        return status;
    status = ObReferenceObjectByHandle(duplicate, EVENT_MODIFY_STATE, *imp_ExEventObjectType,
                                       KernelMode, (PVOID*)event, NULL);
    ZwClose(duplicate);
    if (NT_SUCCESS(status))
        *path = SIM_EVENT_DUPLICATED;
    return status;
}

static NTSTATUS AssignEvent(Request* r) {
    KIRQL irql;
    PKEVENT event = NULL, old = NULL;
    uint32_t path = SIM_EVENT_NONE;
    NTSTATUS status = STATUS_INVALID_PARAMETER;
    int fail;
    KeAcquireSpinLock(&gLock, &irql);
    fail = TakeFailure(VELKACPI_ASSIGN_EVENT, "\0\0\0\0");
    KeReleaseSpinLock(&gLock, irql);
    if (fail)
        status = STATUS_UNSUCCESSFUL;
    else if (r->inSize >= sizeof(uint32_t))
        status = ReferenceCallerEvent((HANDLE)(ULONG_PTR)ReadU32(r->buffer), &event, &path);
    KeAcquireSpinLock(&gLock, &irql);
    if (NT_SUCCESS(status)) {
        old = DropEvent();
        gEvent = event;
        gEventPath = path;
        gAssignCount++;
        SignalIfQueued();
    }
    AppendLog(VELKACPI_ASSIGN_EVENT, NULL, 0, status);
    KeReleaseSpinLock(&gLock, irql);
    if (old)
        ObDereferenceObject(old);
    if (!NT_SUCCESS(status))
        return status;
    if (r->outSize >= sizeof(uint32_t)) {
        WriteU32(r->buffer, 0);
        r->returned = sizeof(uint32_t);
    }
    return STATUS_SUCCESS;
}

static NTSTATUS Init(void) {
    KIRQL irql;
    NTSTATUS status;
    KeAcquireSpinLock(&gLock, &irql);
    status = TakeFailure(VELKACPI_INIT, "\0\0\0\0") ? STATUS_UNSUCCESSFUL : STATUS_SUCCESS;
    AppendLog(VELKACPI_INIT, NULL, 0, status);
    KeReleaseSpinLock(&gLock, irql);
    return status;
}

/* --- Control channel -------------------------------------------------------------------- */

static NTSTATUS ControlSetLevel(Request* r) {
    KIRQL irql;
    if (r->inSize < sizeof(int32_t))
        return STATUS_INVALID_PARAMETER;
    KeAcquireSpinLock(&gLock, &irql);
    gLevel = (int32_t)ReadU32(r->buffer);
    KeReleaseSpinLock(&gLock, irql);
    return STATUS_SUCCESS;
}

static NTSTATUS ControlGetStatus(Request* r) {
    KIRQL irql;
    SimStatus s;
    if (r->outSize < sizeof s)
        return STATUS_BUFFER_TOO_SMALL;
    KeAcquireSpinLock(&gLock, &irql);
    s.level = gLevel;
    s.queued = gQueueCount;
    s.eventPath = gEventPath;
    s.assignCount = gAssignCount;
    KeReleaseSpinLock(&gLock, irql);
    RtlCopyMemory(r->buffer, &s, sizeof s);
    r->returned = sizeof s;
    return STATUS_SUCCESS;
}

static NTSTATUS ControlQueueNotify(Request* r) {
    KIRQL irql;
    int queued;
    if (r->inSize < sizeof(uint32_t))
        return STATUS_INVALID_PARAMETER;
    KeAcquireSpinLock(&gLock, &irql);
    queued = QueueCode(ReadU32(r->buffer));
    KeReleaseSpinLock(&gLock, irql);
    return queued ? STATUS_SUCCESS : STATUS_INSUFFICIENT_RESOURCES;
}

static NTSTATUS ControlSetFailure(Request* r) {
    KIRQL irql;
    SimFailure rule;
    NTSTATUS status;
    if (r->inSize < sizeof rule)
        return STATUS_INVALID_PARAMETER;
    RtlCopyMemory(&rule, r->buffer, sizeof rule);
    if (rule.request != VELKACPI_CALL_METHOD)
        RtlZeroMemory(rule.method, sizeof rule.method);
    KeAcquireSpinLock(&gLock, &irql);
    status = SetFailure(&rule);
    KeReleaseSpinLock(&gLock, irql);
    return status;
}

static NTSTATUS ControlReadLog(Request* r) {
    KIRQL irql;
    uint32_t i, n;
    SimLogEntry* out = (SimLogEntry*)r->buffer;
    KeAcquireSpinLock(&gLock, &irql);
    n = gLogCount;
    if (n > r->outSize / sizeof(SimLogEntry))
        n = r->outSize / sizeof(SimLogEntry);
    for (i = 0; i < n; i++)
        out[i] = gLog[(gLogHead + i) % SIM_LOG_CAPACITY];
    KeReleaseSpinLock(&gLock, irql);
    r->returned = n * sizeof(SimLogEntry);
    return STATUS_SUCCESS;
}

static NTSTATUS ControlClearLog(void) {
    KIRQL irql;
    KeAcquireSpinLock(&gLock, &irql);
    gLogHead = gLogCount = 0;
    KeReleaseSpinLock(&gLock, irql);
    return STATUS_SUCCESS;
}

static NTSTATUS ControlReset(void) {
    KIRQL irql;
    PKEVENT old;
    KeAcquireSpinLock(&gLock, &irql);
    Reset();
    old = DropEvent();
    KeReleaseSpinLock(&gLock, irql);
    if (old)
        ObDereferenceObject(old);
    return STATUS_SUCCESS;
}

static NTSTATUS Dispatch(Request* r) {
    switch (r->code) {
    case VELKACPI_ASSIGN_EVENT:
        return AssignEvent(r);
    case VELKACPI_CALL_METHOD:
        return CallMethod(r);
    case VELKACPI_GET_NOTIFY_CODE:
        return GetNotifyCode(r);
    case VELKACPI_INIT:
        return Init();
    case SIM_SET_LEVEL:
        return ControlSetLevel(r);
    case SIM_GET_STATUS:
        return ControlGetStatus(r);
    case SIM_QUEUE_NOTIFY:
        return ControlQueueNotify(r);
    case SIM_SET_FAILURE:
        return ControlSetFailure(r);
    case SIM_READ_LOG:
        return ControlReadLog(r);
    case SIM_CLEAR_LOG:
        return ControlClearLog();
    case SIM_RESET:
        return ControlReset();
    default:
        return STATUS_INVALID_DEVICE_REQUEST;
    }
}

static NTSTATUS Complete(PIRP irp, NTSTATUS status, ULONG_PTR returned) {
    irp->IoStatus.Status = status;
    irp->IoStatus.Information = NT_SUCCESS(status) ? returned : 0;
    IoCompleteRequest(irp, IO_NO_INCREMENT);
    return status;
}

static NTSTATUS NTAPI DeviceControl(PDEVICE_OBJECT device, PIRP irp) {
    PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
    Request r;
    NTSTATUS status;
    (void)device;
    r.code = stack->Parameters.DeviceIoControl.IoControlCode;
    r.buffer = (UCHAR*)irp->AssociatedIrp.SystemBuffer;
    r.inSize = stack->Parameters.DeviceIoControl.InputBufferLength;
    r.outSize = stack->Parameters.DeviceIoControl.OutputBufferLength;
    r.returned = 0;
    if (!r.buffer)
        r.inSize = r.outSize = 0;
    status = Dispatch(&r);
    return Complete(irp, status, r.returned);
}

static NTSTATUS NTAPI OpenOrClose(PDEVICE_OBJECT device, PIRP irp) {
    (void)device;
    return Complete(irp, STATUS_SUCCESS, 0);
}

static VOID NTAPI Unload(PDRIVER_OBJECT driver) {
    KIRQL irql;
    PKEVENT old;
    KeAcquireSpinLock(&gLock, &irql);
    old = DropEvent();
    KeReleaseSpinLock(&gLock, irql);
    if (old)
        ObDereferenceObject(old);
    IoDeleteSymbolicLink(&gDosName);
    IoDeleteDevice(driver->DeviceObject);
}

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
    PDEVICE_OBJECT device;
    NTSTATUS status;
    (void)registryPath;
    KeInitializeSpinLock(&gLock);
    Reset();
    status = IoCreateDevice(driver, 0, &gDeviceName, FILE_DEVICE_UNKNOWN, 0, FALSE, &device);
    if (!NT_SUCCESS(status))
        return status;
    status = IoCreateSymbolicLink(&gDosName, &gDeviceName);
    if (!NT_SUCCESS(status)) {
        IoDeleteDevice(device);
        return status;
    }
    device->Flags |= DO_BUFFERED_IO;
    driver->MajorFunction[IRP_MJ_CREATE] = OpenOrClose;
    driver->MajorFunction[IRP_MJ_CLOSE] = OpenOrClose;
    driver->MajorFunction[IRP_MJ_DEVICE_CONTROL] = DeviceControl;
    driver->DriverUnload = Unload;
    return STATUS_SUCCESS;
}

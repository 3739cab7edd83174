/* The simulated ACPI hotkey driver "\\.\VELKACPI": what the controller's requests do there,
 * and the control channel through which tests and the demo drive the simulated notebook.
 * Plain C, shared by the kernel driver and the user-mode tools.
 *
 * The product's requests (device type 0x22, METHOD_BUFFERED, FILE_ANY_ACCESS):
 *   0x222400 assign event   in: 4-byte handle of an auto-reset event in the caller's process.
 *                           The driver signals it whenever a notify code is queued, and again
 *                           after each notify-code read while codes remain.
 *   0x222404 call method    in: the 20-byte method record (u32 1, four name characters,
 *                           three u32 0). out: at least 20 bytes; the driver returns exactly 20:
 *                           u32 1, the name, u32 0, u32 0, and the signed 32-bit result at
 *                           offset 16. Methods of the BIOS model (level 0 to 100, 50 at load):
 *                             "PCGB", "SOSD"  result: the level
 *                             "INBR", "DEBR"  level up / down by 10 within 0..100, then queue
 *                                             notify code 0xD0; result: the new level
 *                             "ITLV", "TLCD", "AP00"  nothing changes; result: the level
 *                           Any other name or a malformed record fails (invalid parameter).
 *   0x222408 notify code    out: 4 bytes, the oldest queued code (0 when none is queued).
 *   0x22240C init           nothing.
 * A request that fails completes with an error status (Win32: DeviceIoControl returns FALSE);
 * its output is not written.
 *
 * The control channel: further requests on the same device, for tests and the demo only.
 * None of them is logged. */
#ifndef SIM_CONTROL_H
#define SIM_CONTROL_H

#include <stdint.h>

#define VELKACPI_DOS_NAME "\\\\.\\VELKACPI"

/* The product's requests, as the driver sees them. */
#define VELKACPI_ASSIGN_EVENT 0x222400u
#define VELKACPI_CALL_METHOD 0x222404u
#define VELKACPI_GET_NOTIFY_CODE 0x222408u
#define VELKACPI_INIT 0x22240Cu

/* in: int32 level. Sets the BIOS level as it is (no clamping: tests may set odd values). */
#define SIM_SET_LEVEL 0x222800u
/* out: SimStatus. */
#define SIM_GET_STATUS 0x222804u
/* in: u32 notify code. Queues it and signals the assigned event. Fails when the queue
 * (SIM_QUEUE_CAPACITY codes) is full. */
#define SIM_QUEUE_NOTIFY 0x222808u
/* in: SimFailure. Makes a request (or one method) fail; times 0 lets it succeed again. */
#define SIM_SET_FAILURE 0x22280Cu
/* out: up to SIM_LOG_CAPACITY SimLogEntry, oldest first; the byte count says how many. */
#define SIM_READ_LOG 0x222810u
/* Empties the log. */
#define SIM_CLEAR_LOG 0x222814u
/* Level 50, empty queue, no failures, empty log, and the assigned event is let go. */
#define SIM_RESET 0x222818u

#define SIM_QUEUE_CAPACITY 64u
#define SIM_LOG_CAPACITY 512u
#define SIM_FAILURE_CAPACITY 16u
#define SIM_INITIAL_LEVEL 50
#define SIM_FAIL_ALWAYS 0xFFFFFFFFu

/* How the assigned event was reached. */
#define SIM_EVENT_NONE 0u
#define SIM_EVENT_USER_MODE 1u  /* the caller's handle, referenced as a user-mode handle */
#define SIM_EVENT_DUPLICATED 2u /* duplicated out of the caller's process first */

typedef struct SimStatus {
    int32_t level;
    uint32_t queued;      /* notify codes waiting */
    uint32_t eventPath;   /* SIM_EVENT_... of the assigned event */
    uint32_t assignCount; /* successful assign requests since load or reset */
} SimStatus;

/* request: one of the four product requests. method: for VELKACPI_CALL_METHOD, the four
 * characters of one method, or four zero bytes for every method. times: how many of the next
 * matching requests fail (SIM_FAIL_ALWAYS: until changed, 0: none). A failing notify-code read
 * still takes the oldest code off the queue, so one queued code gives one failed read. A rule
 * for the same request and method replaces the earlier one. */
typedef struct SimFailure {
    uint32_t request;
    char method[4];
    uint32_t times;
} SimFailure;

/* One product request as the driver answered it. */
typedef struct SimLogEntry {
    uint32_t request;   /* VELKACPI_... */
    char method[4];     /* the method name for VELKACPI_CALL_METHOD, else zeros */
    int32_t result;     /* method: the value at offset 16; notify code: the code; else 0 */
    uint32_t status;    /* NTSTATUS it completed with: 0 success */
    uint32_t processId; /* the caller */
    uint32_t reserved;
    int64_t time; /* KeQueryPerformanceCounter, comparable with QueryPerformanceCounter */
} SimLogEntry;

#endif

// What the controller's start-up and window procedure call in its input sources and in the
// brightness record: raw input, the repeat workers, the hotkey thread, the monitor
// brightness watcher and the record with its power events.
#pragma once

#include <windows.h>

// Start-up, in the order the dialog calls them.
void RegisterRawInput(HWND dialog);           // the three raw input collections
void StartRepeatWorkers();                    // VOL1RepeatThread, VOL2RepeatThread, KWBRepeatThread
void StartHotKeyThread(HANDLE* fenmarEvent);  // HotKeyThread on "FENMAR EVENT"
void StartBrightnessWatcher();                // ThreadFunctionBRITC (complete start-up only)
HPOWERNOTIFY StartBrightnessRecord(HWND dialog); // "BRIT NOTCHANGE EVENT", its worker, the
                                              // start-up restore and the power registration

// Window procedure, before the base processing.
void ReadRawInput(LPARAM rawInput);           // WM_INPUT (and WM_KEYDOWN's lParam)
void OnQueryEndSession();                     // WM_QUERYENDSESSION
void OnPowerBroadcast(WPARAM event, LPARAM setting); // WM_POWERBROADCAST

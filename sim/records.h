// Where the simulated brightness library and keyboard program write down what reached them.
// Each record is a text file of one line per call, appended as the call arrives:
//   levels.txt    "<level> <QueryPerformanceCounter>"            (BRIGHTNESS.DLL)
//   keyboard.txt  "<wParam> <lParam> <QueryPerformanceCounter>"  (the keyboard program)
// all numbers decimal. Readers delete a file to clear it.
#pragma once

namespace sim {

constexpr const char* RECORD_FOLDER = "C:\\ProgramData\\sim";
constexpr const char* LEVELS_RECORD = "C:\\ProgramData\\sim\\levels.txt";
constexpr const char* KEYBOARD_RECORD = "C:\\ProgramData\\sim\\keyboard.txt";

// The keyboard program's window, as the controller looks it up.
constexpr const char* KEYBOARD_CLASS = "TTarvikBattForm";
constexpr const char* KEYBOARD_TITLE = "TarvikKeyboard";
constexpr unsigned WM_OSD_COMMAND = 0x0501;

} // namespace sim

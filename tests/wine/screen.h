// Reading what is on the screen, as a person would see it: a backdrop window of known colour
// behind a window under test, and captures of screen rectangles.
#pragma once

#include <windows.h>

#include <vector>

namespace screen {

// A plain window filling rect with colour, below top-most windows. It paints itself while
// the test pumps its messages (Pump).
class Backdrop {
  public:
    Backdrop(const RECT& rect, COLORREF colour);
    ~Backdrop();
    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;

  private:
    HWND hwnd_;
    HBRUSH brush_;
};

// Answers this thread's window messages for ms milliseconds.
void Pump(DWORD ms);

struct Capture {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels; // top row first
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
    bool operator==(const Capture& o) const { return pixels == o.pixels; }
};

Capture Grab(const RECT& rect);
// Captures until two captures in a row agree (a frame reaches the screen some tens of
// milliseconds after the window is shown), pumping in between; gives up after timeout_ms.
Capture GrabSettled(const RECT& rect, DWORD timeout_ms);

} // namespace screen

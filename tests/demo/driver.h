// Velmora driven as a user drives it, inside the test process: the frame at
// its design place, clicks and drags at screen points, timers advanced tick
// by tick, values read back late-bound and from the windows.
#pragma once
#include <windows.h>
#include <memory>
#include <string>
#include "demo/classes.h"
#include "demo/velmora.h"
#include "forms/capture.h"

namespace demotest {

// True when the class is registered for this process's bitness.
bool Registered(const forms::ClassDef& cls);
// True when every hosted class of the form is registered.
bool Available(const forms::FormDef& form);
// False when the form is available; else says on the output that its
// library is not registered and its checks are skipped.
bool Skipped(const forms::FormDef& form);

// A left click at a screen point through SendInput; where Wine does not
// deliver it to the window there, the button messages are posted to the
// window WindowFromPoint finds. Pending messages are dispatched afterwards.
void ClickAt(POINT screen);
// A press at from, moves in steps to to, a release there (same fallback).
void DragFromTo(POINT from, POINT to, int steps = 10);

// A press held while the test moves the pointer; released by Release or at
// the end of the gesture. Each move is handled before MoveTo returns.
class Gesture {
public:
    explicit Gesture(POINT start);
    ~Gesture();
    Gesture(const Gesture&) = delete;
    Gesture& operator=(const Gesture&) = delete;
    void MoveTo(POINT p);
    void Release();

private:
    HWND m_target = nullptr;
    HHOOK m_hook = nullptr;
    bool m_posted = false;
    bool m_released = false;
    POINT m_last;
};

// The centre of the pixels of the capture, inside area, within tolerance of
// colour (per channel); (-1, -1) when there are none.
POINT CentreOf(const forms::DibCanvas& shot, const RECT& area, COLORREF colour, int tolerance = 24);
// The centre of a window on the screen, or a point of it (client coordinates).
POINT ScreenPoint(HWND hwnd);
POINT ScreenPoint(HWND hwnd, int x, int y);

class Velmora {
public:
    Velmora();   // loads and shows the frame on the test clock, at the screen's bottom right
    ~Velmora();  // unloads every form
    forms::Runtime& rt() { return *m_rt; }
    forms::Form& frame() { return *m_frame; }
    std::shared_ptr<forms::Form> child() { return velmora::CurrentChild(*m_frame); }
    // Clicks the link label and returns the child form then open.
    std::shared_ptr<forms::Form> Open(const char* label);
    void Tick(int n, DWORD interval);  // n timer intervals pass

private:
    std::unique_ptr<forms::Runtime> m_rt;
    std::shared_ptr<forms::Form> m_frame;
};

}  // namespace demotest

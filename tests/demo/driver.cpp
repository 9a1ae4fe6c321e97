#include "driver.h"

#include "host.h"

#include <cstdio>
#include <cstdlib>

namespace demotest {

using testsupport::PumpPending;

bool Registered(const forms::ClassDef& cls) {
    wchar_t guid[40];
    StringFromGUID2(cls.clsid, guid, 40);
    std::wstring key = L"CLSID\\" + std::wstring(guid) + L"\\InprocServer32";
    HKEY hk = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &hk) != ERROR_SUCCESS) return false;
    RegCloseKey(hk);
    return true;
}

bool Available(const forms::FormDef& form) {
    for (const forms::ControlDef& c : form.controls)
        if (c.cls && !Registered(*c.cls)) return false;
    return true;
}

bool Skipped(const forms::FormDef& form) {
    if (Available(form)) return false;
    std::printf("%s: its library is not registered; its checks are skipped\n", form.name.c_str());
    return true;
}

POINT ScreenPoint(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
}

POINT ScreenPoint(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    return ScreenPoint(hwnd, r.right / 2, r.bottom / 2);
}

namespace {

// Button messages this thread took from its queue, seen by a mouse hook.
HWND g_seenDown = nullptr;
HWND g_seenUp = nullptr;
POINT g_seenMove{-1, -1};
LRESULT CALLBACK MouseHook(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION && wp == WM_MOUSEMOVE) g_seenMove = reinterpret_cast<MOUSEHOOKSTRUCT*>(lp)->pt;
    if (code == HC_ACTION && (wp == WM_LBUTTONDOWN || wp == WM_LBUTTONDBLCLK))
        g_seenDown = reinterpret_cast<MOUSEHOOKSTRUCT*>(lp)->hwnd;
    if (code == HC_ACTION && wp == WM_LBUTTONUP) g_seenUp = reinterpret_cast<MOUSEHOOKSTRUCT*>(lp)->hwnd;
    return CallNextHookEx(nullptr, code, wp, lp);
}

void Input(POINT p, DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof in);
}

void Settle() {
    for (int i = 0; i < 5; ++i) {
        PumpPending();
        Sleep(5);
    }
    PumpPending();
}

void Post(HWND target, UINT msg, WPARAM keys, POINT screen) {
    POINT c = screen;
    ScreenToClient(target, &c);
    PostMessageW(target, msg, keys, MAKELPARAM(c.x, c.y));
}

}  // namespace

namespace {
// A press near the last one soon after its release would be a double click.
DWORD g_lastRelease = 0;
POINT g_lastPoint{-1000, -1000};
}  // namespace

Gesture::Gesture(POINT start) : m_last(start) {
    const DWORD since = GetTickCount() - g_lastRelease;
    const bool nearLast = abs(start.x - g_lastPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
                          abs(start.y - g_lastPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK);
    if (g_lastRelease && nearLast && since <= GetDoubleClickTime()) Sleep(GetDoubleClickTime() - since + 20);
    m_target = WindowFromPoint(start);
    m_hook = SetWindowsHookExW(WH_MOUSE, MouseHook, nullptr, GetCurrentThreadId());
    g_seenDown = g_seenUp = nullptr;
    Input(start, 0);
    Input(start, MOUSEEVENTF_LEFTDOWN);
    // Input reaches the queue a little later on a busy machine.
    for (DWORD t = GetTickCount(); !g_seenDown && GetTickCount() - t < testsupport::Patient(1000);) Settle();
    // Routed when the press reached the window under the point; else the
    // gesture goes on as messages posted to that window.
    m_posted = m_target && g_seenDown != m_target;
    std::printf("press at %ld,%ld on %p: seen on %p%s\n", start.x, start.y, (void*)m_target, (void*)g_seenDown,
                m_posted ? ", posting" : "");
    if (m_posted) {
        Post(m_target, WM_MOUSEMOVE, 0, start);
        Post(m_target, WM_LBUTTONDOWN, MK_LBUTTON, start);
        Settle();
    }
}

void Gesture::MoveTo(POINT p) {
    m_last = p;
    if (m_posted) {
        Post(GetCapture() ? GetCapture() : m_target, WM_MOUSEMOVE, MK_LBUTTON, p);
    } else {
        g_seenMove = POINT{-1, -1};
        Input(p, 0);
        DWORD t = GetTickCount();
        for (; GetTickCount() - t < testsupport::Patient(300);) {
            PumpPending();
            if (g_seenMove.x == p.x && g_seenMove.y == p.y) break;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
        }
        if (GetTickCount() - t >= testsupport::Patient(300)) std::printf("move to %ld,%ld not seen (last seen %ld,%ld)\n", p.x, p.y, g_seenMove.x, g_seenMove.y);
        // Other programs on the display can make the platform drop the held
        // button (a move then arrives without it and ends a drag): press
        // again where the pointer is, as a user would.
        if (!(GetAsyncKeyState(VK_LBUTTON) & 0x8000) || !(GetKeyState(VK_LBUTTON) & 0x8000)) {
            std::printf("press lost at %ld,%ld (async %d, key %d): pressed again\n", p.x, p.y,
                        !!(GetAsyncKeyState(VK_LBUTTON) & 0x8000), !!(GetKeyState(VK_LBUTTON) & 0x8000));
            g_seenDown = nullptr;
            Input(p, MOUSEEVENTF_LEFTDOWN);
            for (DWORD t = GetTickCount(); !g_seenDown && GetTickCount() - t < testsupport::Patient(1000);) Settle();
        }
    }
    PumpPending();
}

void Gesture::Release() {
    if (m_released) return;
    m_released = true;
    if (m_posted) {
        Post(GetCapture() ? GetCapture() : m_target, WM_LBUTTONUP, 0, m_last);
    } else {
        Input(m_last, MOUSEEVENTF_LEFTUP);
        for (DWORD t = GetTickCount(); !g_seenUp && GetTickCount() - t < testsupport::Patient(1000);) Settle();
    }
    Settle();
    std::printf("release at %ld,%ld seen on %p\n", m_last.x, m_last.y, (void*)g_seenUp);
    UnhookWindowsHookEx(m_hook);
    g_lastRelease = GetTickCount();
    g_lastPoint = m_last;
}

Gesture::~Gesture() { Release(); }

void DragFromTo(POINT from, POINT to, int steps) {
    Gesture g(from);
    for (int i = 1; i <= steps; ++i)
        g.MoveTo(POINT{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
}

void ClickAt(POINT screen) { Gesture g(screen); }

POINT CentreOf(const forms::DibCanvas& shot, const RECT& area, COLORREF colour, int tolerance) {
    long long sx = 0, sy = 0, n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF p = shot.Pixel(x, y);
            if (p == CLR_INVALID) continue;
            if (abs(GetRValue(p) - GetRValue(colour)) <= tolerance && abs(GetGValue(p) - GetGValue(colour)) <= tolerance &&
                abs(GetBValue(p) - GetBValue(colour)) <= tolerance) {
                sx += x;
                sy += y;
                ++n;
            }
        }
    return n ? POINT{static_cast<LONG>(sx / n), static_cast<LONG>(sy / n)} : POINT{-1, -1};
}

Velmora::Velmora() : m_rt(new forms::Runtime(GetModuleHandleW(nullptr))) {
    m_rt->UseTestClock();
    m_frame = m_rt->Load(velmora::MDIFrmVelmora);
    // In the screen's bottom right corner: the pointer this test moves stays
    // off the other tests' windows near the top left.
    RECT r;
    GetWindowRect(m_frame->hwnd(), &r);
    SetWindowPos(m_frame->hwnd(), nullptr, GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left) - 4,
                 GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top) - 4, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_frame->Show();
    SetForegroundWindow(m_frame->hwnd());
    Settle();
}

Velmora::~Velmora() {
    m_frame.reset();
    m_rt.reset();
    PumpPending();
}

std::shared_ptr<forms::Form> Velmora::Open(const char* label) {
    ClickAt(ScreenPoint(frame()[label].hwnd(), 3, 3));
    return child();
}

void Velmora::Tick(int n, DWORD interval) {
    for (int i = 0; i < n; ++i) m_rt->Advance(interval);
}

}  // namespace demotest

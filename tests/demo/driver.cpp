#include "driver.h"

#include "host.h"

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
LRESULT CALLBACK MouseHook(int code, WPARAM wp, LPARAM lp) {
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

void DragFromTo(POINT from, POINT to, int steps) {
    // A press near the last one soon after its release would be a double click.
    static DWORD lastRelease = 0;
    static POINT lastPoint{-1000, -1000};
    const DWORD since = GetTickCount() - lastRelease;
    const bool nearLast = abs(from.x - lastPoint.x) <= GetSystemMetrics(SM_CXDOUBLECLK) &&
                      abs(from.y - lastPoint.y) <= GetSystemMetrics(SM_CYDOUBLECLK);
    if (lastRelease && nearLast && since <= GetDoubleClickTime()) Sleep(GetDoubleClickTime() - since + 20);
    lastPoint = to;
    struct Stamp {
        ~Stamp() { lastRelease = GetTickCount(); }
    } stamp;
    HWND target = WindowFromPoint(from);
    HHOOK hook = SetWindowsHookExW(WH_MOUSE, MouseHook, nullptr, GetCurrentThreadId());
    g_seenDown = g_seenUp = nullptr;
    Input(from, 0);
    Input(from, MOUSEEVENTF_LEFTDOWN);
    for (int i = 1; i <= steps; ++i) {
        POINT p{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
        Input(p, 0);
        Settle();
    }
    Input(to, MOUSEEVENTF_LEFTUP);
    // Input reaches the queue a little later on a busy machine.
    for (DWORD start = GetTickCount(); !g_seenUp && GetTickCount() - start < testsupport::Patient(1000);) Settle();
    UnhookWindowsHookEx(hook);
    // Routed when the press reached the window under the point (another
    // program's pointer moves on the same display can take it elsewhere).
    if (!target || (g_seenDown == target && g_seenUp)) return;
    // Not routed here: the same gesture as window messages.
    Post(target, WM_MOUSEMOVE, 0, from);
    Post(target, WM_LBUTTONDOWN, MK_LBUTTON, from);
    Settle();
    for (int i = 1; i <= steps; ++i) {
        POINT p{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
        Post(GetCapture() ? GetCapture() : target, WM_MOUSEMOVE, MK_LBUTTON, p);
        Settle();
    }
    Post(GetCapture() ? GetCapture() : target, WM_LBUTTONUP, 0, to);
    Settle();
}

void ClickAt(POINT screen) { DragFromTo(screen, screen, 1); }

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

#include "frame.h"
#include "host.h"
#include <olectl.h>
#include <commctrl.h>
#include <cwchar>

namespace testsupport {

namespace {

struct Watch {
    FrameSeen* seen = nullptr;
    int ticks = 0;
};
Watch g_watch;

BOOL CALLBACK NoteChild(HWND hwnd, LPARAM) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    g_watch.seen->items.push_back({GetDlgCtrlID(hwnd), cls});
    if (_wcsicmp(cls, WC_TABCONTROLW) == 0) g_watch.seen->tabs = (int)SendMessageW(hwnd, TCM_GETITEMCOUNT, 0, 0);
    return TRUE;
}

BOOL CALLBACK FindFrame(HWND hwnd, LPARAM out) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (wcscmp(cls, L"#32770") == 0 && IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(out) = hwnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK WatchFrame(HWND, UINT, UINT_PTR timer, DWORD) {
    ++g_watch.ticks;
    HWND frame = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindFrame, reinterpret_cast<LPARAM>(&frame));
    if (frame) {
        // Asked to close on every tick until it is gone: a frame still
        // setting itself up under load may let the first request pass.
        if (!g_watch.seen->closed) EnumChildWindows(frame, NoteChild, 0);
        g_watch.seen->closed = true;
        PostMessageW(frame, WM_COMMAND, IDCANCEL, 0);
        PostMessageW(frame, WM_CLOSE, 0, 0);
        return;
    }
    if (!g_watch.seen->closed && g_watch.ticks < static_cast<int>(Patient(100))) return;
    KillTimer(nullptr, timer);
}

}  // namespace

bool FrameSeen::Has(int id, const wchar_t* windowClass) const {
    for (const Item& i : items)
        if (i.id == id && _wcsicmp(i.windowClass.c_str(), windowClass) == 0) return true;
    return false;
}

HRESULT OpenPropertiesVerb(IOleObject* object, HWND parent, FrameSeen& seen) {
    seen = FrameSeen();
    g_watch = Watch{&seen, 0};
    UINT_PTR timer = SetTimer(nullptr, 0, 100, WatchFrame);
    if (!timer) return E_FAIL;
    HRESULT hr = object->DoVerb(OLEIVERB_PROPERTIES, nullptr, nullptr, 0, parent, nullptr);
    KillTimer(nullptr, timer);
    return hr;
}

}  // namespace testsupport

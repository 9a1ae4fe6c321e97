// Hosting helpers for tests: control libraries loaded without registration,
// a real top-level window for controls to live in, and a message pump.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <string>

namespace testsupport {

// Directory of the running executable, with a trailing backslash. All
// binaries of a build sit in one directory.
std::wstring ExeDirectory();

// A control library loaded from the executable's directory. Objects come
// from its DllGetClassObject; nothing needs to be registered. The library is
// freed at destruction only when DllCanUnloadNow answers S_OK, so a leaked
// object shows up as CanUnloadNow() == S_FALSE rather than as a crash.
class LoadedLibrary {
public:
    explicit LoadedLibrary(const wchar_t* fileName);  // e.g. L"tarnik.dll"
    ~LoadedLibrary();
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    bool Loaded() const { return m_module != nullptr; }
    HMODULE Handle() const { return m_module; }
    const std::wstring& Path() const { return m_path; }

    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** ppv) const;
    // DllGetClassObject + IClassFactory::CreateInstance(NULL, iid).
    HRESULT Create(REFCLSID clsid, REFIID iid, void** ppv) const;
    HRESULT CanUnloadNow() const;  // the library's DllCanUnloadNow; E_FAIL when not loaded

private:
    std::wstring m_path;
    HMODULE m_module = nullptr;
};

// The library of that file name in the executable's directory, loaded on
// first use and kept for the whole run: objects of it may live on in statics
// of the platform after the tests are done with them.
const LoadedLibrary& KeptLibrary(const wchar_t* fileName);

inline HRESULT CreateFromDll(const LoadedLibrary& dll, REFCLSID clsid, REFIID iid, void** ppv) {
    return dll.Create(clsid, iid, ppv);
}

// A shown top-level popup window (client area == window area) at a fixed
// screen position, not activated. Its background is COLOR_WINDOW. Child
// windows inside it can be read back through a window DC (CaptureWindow).
class TestWindow {
public:
    explicit TestWindow(int width = 400, int height = 300, int x = 16, int y = 16);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND hwnd() const { return m_hwnd; }
    operator HWND() const { return m_hwnd; }

private:
    HWND m_hwnd = nullptr;
};

// The platform's own ActiveX host window (atl.dll's "AtlAxWin") at `pos` in
// `parent`, creating the registered control of `progId`; the window, and the
// control with one reference in *control, or null when any step failed.
HWND CreatePlatformHost(HWND parent, const wchar_t* progId, const RECT& pos, IUnknown** control);

// A limit for waiting on something that takes its time (a window to appear,
// input to arrive, a child process to end), raised where the programs run
// emulated and everything takes longer (QEV_TIMEOUT_SCALE, set by the test
// scripts).
DWORD Patient(DWORD ms);

// A child window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child);

// Dispatches messages of this thread for about ms milliseconds (at least one
// pass over the queue).
void PumpMessages(DWORD ms);
// Dispatches what is queued now (including pending paints) and returns.
void PumpPending();

}  // namespace testsupport

#include "host.h"

#include <cstdlib>
#include <map>

namespace testsupport {

std::wstring ExeDirectory() {
    wchar_t path[MAX_PATH * 2];
    DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(sizeof(path) / sizeof(path[0])));
    std::wstring dir(path, n);
    size_t slash = dir.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : dir.substr(0, slash + 1);
}

// ---------------------------------------------------------------- LoadedLibrary

LoadedLibrary::LoadedLibrary(const wchar_t* fileName) : m_path(ExeDirectory() + fileName) {
    m_module = LoadLibraryW(m_path.c_str());
}

LoadedLibrary::~LoadedLibrary() {
    if (m_module && CanUnloadNow() == S_OK) FreeLibrary(m_module);
}

HRESULT LoadedLibrary::GetClassObject(REFCLSID clsid, REFIID iid, void** ppv) const {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!m_module) return E_FAIL;
    using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
    auto fn = reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(m_module, "DllGetClassObject")));
    if (!fn) return E_FAIL;
    return fn(clsid, iid, ppv);
}

HRESULT LoadedLibrary::Create(REFCLSID clsid, REFIID iid, void** ppv) const {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    IClassFactory* factory = nullptr;
    HRESULT hr = GetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr)) return hr;
    if (!factory) return E_FAIL;
    hr = factory->CreateInstance(nullptr, iid, ppv);
    factory->Release();
    return hr;
}

HRESULT LoadedLibrary::CanUnloadNow() const {
    if (!m_module) return E_FAIL;
    using CanUnloadNowFn = HRESULT(WINAPI*)();
    auto fn = reinterpret_cast<CanUnloadNowFn>(reinterpret_cast<void*>(GetProcAddress(m_module, "DllCanUnloadNow")));
    return fn ? fn() : E_FAIL;
}

const LoadedLibrary& KeptLibrary(const wchar_t* fileName) {
    static std::map<std::wstring, LoadedLibrary*> kept;  // never freed, on purpose
    LoadedLibrary*& lib = kept[fileName];
    if (!lib) lib = new LoadedLibrary(fileName);
    return *lib;
}

// ---------------------------------------------------------------- TestWindow

namespace {
const wchar_t kTestWindowClass[] = L"QevTestWindow";

ATOM RegisterTestWindowClass() {
    static ATOM atom = 0;
    if (atom) return atom;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kTestWindowClass;
    atom = RegisterClassExW(&wc);
    return atom;
}
}  // namespace

TestWindow::TestWindow(int width, int height, int x, int y) {
    RegisterTestWindowClass();
    m_hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kTestWindowClass, L"test", WS_POPUP | WS_CLIPCHILDREN, x, y, width,
                             height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (m_hwnd) {
        ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
        UpdateWindow(m_hwnd);
        PumpPending();
    }
}

TestWindow::~TestWindow() {
    if (m_hwnd) DestroyWindow(m_hwnd);
    PumpPending();
}

// ---------------------------------------------------------------- message pump

DWORD Patient(DWORD ms) {
    wchar_t text[16] = {};
    DWORD n = GetEnvironmentVariableW(L"QEV_TIMEOUT_SCALE", text, 16);
    long scale = n > 0 && n < 16 ? wcstol(text, nullptr, 10) : 1;
    return scale > 1 && scale < 100 ? ms * static_cast<DWORD>(scale) : ms;
}

RECT RectInParent(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void PumpMessages(DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        PumpPending();
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
    }
}

// ---------------------------------------------------------------- platform host

HWND CreatePlatformHost(HWND parent, const wchar_t* progId, const RECT& pos, IUnknown** control) {
    *control = nullptr;
    typedef BOOL(WINAPI * AxWinInit)();
    typedef HRESULT(WINAPI * AxGetControl)(HWND, IUnknown**);
    HMODULE atl = LoadLibraryW(L"atl.dll");
    if (!atl) return nullptr;
    auto init = reinterpret_cast<AxWinInit>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
    auto getControl = reinterpret_cast<AxGetControl>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxGetControl")));
    if (!init || !getControl) return nullptr;
    init();  // FALSE once its classes are registered in this process: a second host is fine

    HWND host = CreateWindowExW(0, L"AtlAxWin", progId, WS_CHILD | WS_VISIBLE, pos.left, pos.top,
                                pos.right - pos.left, pos.bottom - pos.top, parent, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    if (host && FAILED(getControl(host, control))) *control = nullptr;
    return host;
}

}  // namespace testsupport

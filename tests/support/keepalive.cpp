// A hidden window that lives until the process is killed. Kept running in the
// test prefix during a test run, it keeps Wine's desktop and services up, so
// each test program starts in a fraction of a second.
//   keepalive.exe [ready-file]
// creates ready-file once its window exists: by then the desktop is up, and
// test programs started together no longer race to bring it up.
#include <windows.h>

#include <string>

static LRESULT CALLBACK KeepAliveProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

static void SignalReady(const char* commandLine)
{
    std::string path(commandLine ? commandLine : "");
    while (!path.empty() && (path.back() == ' ' || path.back() == '"'))
        path.pop_back();
    size_t start = path.find_first_not_of(" \"");
    if (start == std::string::npos)
        return;
    HANDLE file = CreateFileA(path.c_str() + start, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = KeepAliveProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"QevKeepAlive";
    if (!RegisterClassW(&wc))
        return 1;
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"keepalive", WS_OVERLAPPEDWINDOW,
                                0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
    if (!hwnd)
        return 1;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    SignalReady(commandLine);
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

// Registration tests: a control library loaded by file name with its
// register and unregister entry points, and reads of HKEY_CLASSES_ROOT.
#pragma once
#include <windows.h>
#include <string>

namespace testsupport {

// The library's DllRegisterServer and DllUnregisterServer. The test run
// keeps every library registered, so it registers again when it ends.
struct RegisteringLibrary {
    typedef HRESULT(STDAPICALLTYPE* EntryFn)();
    HMODULE module = nullptr;
    EntryFn registerServer = nullptr;
    EntryFn unregisterServer = nullptr;
    std::wstring path;  // full path of the loaded file

    explicit RegisteringLibrary(const wchar_t* file) {
        module = LoadLibraryW(file);
        if (!module) return;
        registerServer = reinterpret_cast<EntryFn>(GetProcAddress(module, "DllRegisterServer"));
        unregisterServer = reinterpret_cast<EntryFn>(GetProcAddress(module, "DllUnregisterServer"));
        wchar_t buf[MAX_PATH];
        GetModuleFileNameW(module, buf, MAX_PATH);
        path = buf;
    }
    ~RegisteringLibrary() {
        if (registerServer) registerServer();
        if (module) FreeLibrary(module);
    }
    RegisteringLibrary(const RegisteringLibrary&) = delete;
    RegisteringLibrary& operator=(const RegisteringLibrary&) = delete;
    bool ok() const { return module && registerServer && unregisterServer; }
};

inline bool ClassesKeyExists(const std::wstring& key) {
    HKEY h;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

// The string value `name` (null: the default value) of HKCR\key, or
// "<missing>" when there is no such key or string.
inline std::wstring ClassesString(const std::wstring& key, const wchar_t* name) {
    HKEY h;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return L"<missing>";
    wchar_t buf[1024];
    DWORD size = sizeof(buf), type = 0;
    LONG err = RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(h);
    if (err != ERROR_SUCCESS || type != REG_SZ) return L"<missing>";
    return std::wstring(buf, size / sizeof(wchar_t) - 1);
}

}  // namespace testsupport

// Registration tests: a control library loaded by file name with its
// register and unregister entry points, reads of HKEY_CLASSES_ROOT, and the
// entries every library's control and page scripts write.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <string>
#include <vector>

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

std::wstring GuidText(REFGUID g);

// One value (or key) a registration script writes under HKEY_CLASSES_ROOT.
struct RegistryEntry {
    std::wstring key;
    const wchar_t* value;  // null: the default value
    std::wstring data;
    bool keyOnly;          // the key only has to exist
};

// A library's names: "Morvel" (control ProgIDs), "MorvelLib" (page ProgIDs),
// its AppID and LIBID as registry text, and its module's path.
struct LibraryNames {
    std::wstring controlPrefix, pagePrefix, appId, libId, module;
};

// The entries of a control's script (ProgIDs, class key, flags, server,
// toolbox bitmap, misc status, type library, version, verb) and of a page's.
void AddControlEntries(std::vector<RegistryEntry>& e, const LibraryNames& lib, const std::wstring& name,
                       const std::wstring& clsid, int bitmap);
void AddPageEntries(std::vector<RegistryEntry>& e, const LibraryNames& lib, const std::wstring& name,
                    const std::wstring& clsid);

// One line per entry the registry does not hold as expected.
std::vector<std::string> RegistryMismatches(const std::vector<RegistryEntry>& expected);

}  // namespace testsupport

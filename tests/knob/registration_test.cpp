// Registration of Tarnik.dll read back from the registry: every key and value
// its scripts write, the type library and the interface proxies; registering
// twice; unregistering.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "Tarnik.h"
#include "framework/registrar.h"
#include "registry.h"

namespace {

const wchar_t kAppId[] = L"{5A6C30EC-E09A-42FD-9CEB-351AC28E8C89}";
const wchar_t kLibId[] = L"{0BF13BB0-9746-42C7-BFFF-6D1CB59DD8F0}";

typedef testsupport::RegisteringLibrary::EntryFn EntryFn;

struct Library : testsupport::RegisteringLibrary {
    Library() : RegisteringLibrary(L"Tarnik.dll") { REQUIRE(ok()); }
};

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

bool KeyExists(const std::wstring& key) { return testsupport::ClassesKeyExists(key); }

// The string value `name` (null: default) of HKCR\key, or "<missing>".
std::wstring ReadString(const std::wstring& key, const wchar_t* name) { return testsupport::ClassesString(key, name); }

using testsupport::AddControlEntries;
using testsupport::AddPageEntries;
using testsupport::GuidText;
using testsupport::LibraryNames;
using testsupport::RegistryEntry;

LibraryNames Names(const std::wstring& module) {
    return LibraryNames{L"Tarnik", L"TarnikLib", kAppId, kLibId, module};
}

// Everything the library registers. The switch knob and the pages
// (AddControlEntries(e, Names(module), L"QEV_SwitchKnob", ..., 104),
// AddPageEntries(e, Names(module), L"GeneralProp", ...), KnobScale,
// SwitchOthersProp) join as their classes join the object map.
std::vector<RegistryEntry> Expected(const std::wstring& module) {
    std::vector<RegistryEntry> e;
    e.push_back({std::wstring(L"AppID\\") + kAppId, nullptr, L"Tarnik", false});
    e.push_back({L"AppID\\Tarnik.DLL", L"AppID", kAppId, false});
    AddControlEntries(e, Names(module), L"QEV_Knob", GuidText(CLSID_QEV_Knob), 102);
    std::wstring tl = std::wstring(L"TypeLib\\") + kLibId + L"\\3.0";
    e.push_back({tl, nullptr, L"Tarnik 3.0 Type Library", false});
    e.push_back({tl + (sizeof(void*) == 8 ? L"\\0\\win64" : L"\\0\\win32"), nullptr, module, false});
    // The interfaces are marshalled by the library's own proxy/stub.
    std::wstring proxy = GuidText(IID_IQEV_Knob);
    for (const IID* iid : {&IID_IQEV_Knob, &IID_IQEV_SwitchKnob})
        e.push_back({L"Interface\\" + GuidText(*iid) + L"\\ProxyStubClsid32", nullptr, proxy, false});
    e.push_back({L"CLSID\\" + proxy + L"\\InprocServer32", nullptr, module, false});
    return e;
}

void CheckRegistered(const std::vector<RegistryEntry>& expected) {
    for (const std::string& m : testsupport::RegistryMismatches(expected)) FAIL_CHECK(m);
}

// Keys that belong to the library alone and must be gone after unregistration.
std::vector<std::wstring> OwnKeys() {
    return {
        std::wstring(L"AppID\\") + kAppId,
        L"AppID\\Tarnik.DLL",
        L"Tarnik.QEV_Knob.3",
        L"Tarnik.QEV_Knob",
        L"CLSID\\" + GuidText(CLSID_QEV_Knob),
        std::wstring(L"TypeLib\\") + kLibId,
        L"Interface\\" + GuidText(IID_IQEV_Knob),
        L"Interface\\" + GuidText(IID_IQEV_SwitchKnob),
        L"CLSID\\" + GuidText(IID_IQEV_Knob),
    };
}

}  // namespace

TEST_CASE("registration writes every entry, twice alike, and unregistration removes them") {
    Library lib;
    std::vector<RegistryEntry> expected = Expected(lib.path);

    REQUIRE(lib.registerServer() == S_OK);
    CheckRegistered(expected);

    // A stray subkey below a class key is dropped by the next registration,
    // which replaces the class key whole.
    std::wstring classKey = L"CLSID\\" + GuidText(CLSID_QEV_Knob);
    HKEY stray;
    REQUIRE(RegCreateKeyExW(HKEY_CLASSES_ROOT, (classKey + L"\\Stray").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &stray, nullptr) == ERROR_SUCCESS);
    RegCloseKey(stray);

    REQUIRE(lib.registerServer() == S_OK);
    CheckRegistered(expected);
    CHECK_FALSE(KeyExists(classKey + L"\\Stray"));

    // The registered type library is the one built into the module.
    ITypeLib* tl = nullptr;
    REQUIRE(LoadRegTypeLib(LIBID_TarnikLib, 3, 0, 0, &tl) == S_OK);
    TLIBATTR* attr = nullptr;
    REQUIRE(tl->GetLibAttr(&attr) == S_OK);
    CHECK(IsEqualGUID(attr->guid, LIBID_TarnikLib));
    tl->ReleaseTLibAttr(attr);
    tl->Release();

    REQUIRE(lib.unregisterServer() == S_OK);
    for (const std::wstring& key : OwnKeys()) {
        INFO(Narrow(key));
        CHECK_FALSE(KeyExists(key));
    }
    // Shared parents stay.
    CHECK(KeyExists(L"AppID"));
    CHECK(KeyExists(L"CLSID"));

    // Removing what is already removed succeeds and changes nothing.
    CHECK(lib.unregisterServer() == S_OK);
    CHECK(KeyExists(L"CLSID"));
}

TEST_CASE("registration leaves the caller's thread locale as it found it") {
    Library lib;
    LCID before = GetThreadLocale();
    const LCID german = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);
    REQUIRE(SetThreadLocale(german));
    CHECK(lib.registerServer() == S_OK);
    CHECK(GetThreadLocale() == german);
    CHECK(lib.unregisterServer() == S_OK);
    CHECK(GetThreadLocale() == german);
    SetThreadLocale(before);
}

TEST_CASE("every class's script writes and removes its entries") {
    // Run straight from the resources, so the scripts of classes that are not
    // yet in the object map are checked as well.
    Library lib;
    wchar_t oleMisc[] = L"131473";
    fw::RegistryVariable vars[] = {{L"MODULE", lib.path.c_str()}, {L"APPID", kAppId}, {L"OLEMISC", oleMisc}};
    struct Script {
        UINT id;
        const wchar_t* name;
        const CLSID* clsid;
        int bitmap;  // 0: a property page
    } scripts[] = {
        {103, L"QEV_Knob", &CLSID_QEV_Knob, 102},
        {105, L"QEV_SwitchKnob", &CLSID_QEV_SwitchKnob, 104},
        {110, L"GeneralProp", &CLSID_GeneralProp, 0},
        {115, L"KnobScale", &CLSID_KnobScale, 0},
        {120, L"SwitchOthersProp", &CLSID_SwitchOthersProp, 0},
    };
    for (const Script& sc : scripts) {
        INFO(Narrow(sc.name));
        std::vector<RegistryEntry> expected;
        if (sc.bitmap) AddControlEntries(expected, Names(lib.path), sc.name, GuidText(*sc.clsid), sc.bitmap);
        else AddPageEntries(expected, Names(lib.path), sc.name, GuidText(*sc.clsid));
        size_t count = sc.bitmap ? 3 : 2;  // %OLEMISC% belongs to controls only
        REQUIRE(fw::RunRegistryResource(lib.module, sc.id, vars, count, fw::RegistryMode::Register) == S_OK);
        CheckRegistered(expected);
        REQUIRE(fw::RunRegistryResource(lib.module, sc.id, vars, count, fw::RegistryMode::Unregister) == S_OK);
        std::wstring progId = std::wstring(sc.bitmap ? L"Tarnik." : L"TarnikLib.") + sc.name;
        CHECK_FALSE(KeyExists(progId));
        CHECK_FALSE(KeyExists(progId + (sc.bitmap ? L".3" : L".1")));
        CHECK_FALSE(KeyExists(L"CLSID\\" + GuidText(*sc.clsid)));
    }
    // The AppID script.
    REQUIRE(fw::RunRegistryResource(lib.module, 101, vars, 2, fw::RegistryMode::Register) == S_OK);
    CHECK(Narrow(ReadString(std::wstring(L"AppID\\") + kAppId, nullptr)) == "Tarnik");
    CHECK(Narrow(ReadString(L"AppID\\Tarnik.DLL", L"AppID")) == Narrow(kAppId));
}

TEST_CASE("a module path with a quote in it is written as it stands") {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring dir = std::wstring(temp) + L"Tarnik's copy";
    std::wstring copy = dir + L"\\Tarnik.dll";
    CreateDirectoryW(dir.c_str(), nullptr);
    {
        wchar_t original[MAX_PATH];
        HMODULE m = LoadLibraryW(L"Tarnik.dll");
        REQUIRE(m);
        GetModuleFileNameW(m, original, MAX_PATH);
        FreeLibrary(m);
        REQUIRE(CopyFileW(original, copy.c_str(), FALSE));
    }
    HMODULE m = LoadLibraryW(copy.c_str());
    REQUIRE(m);
    auto reg = reinterpret_cast<EntryFn>(GetProcAddress(m, "DllRegisterServer"));
    auto unreg = reinterpret_cast<EntryFn>(GetProcAddress(m, "DllUnregisterServer"));
    CHECK(reg() == S_OK);
    std::wstring key = L"CLSID\\" + GuidText(CLSID_QEV_Knob);
    CHECK(Narrow(ReadString(key + L"\\InprocServer32", nullptr)) == Narrow(copy));
    CHECK(Narrow(ReadString(key + L"\\ToolboxBitmap32", nullptr)) == Narrow(copy + L", 102"));
    CHECK(unreg() == S_OK);
    CHECK_FALSE(KeyExists(key));
    FreeLibrary(m);
    DeleteFileW(copy.c_str());
    RemoveDirectoryW(dir.c_str());
    Library original;  // registers the library in place again
}

namespace {

const wchar_t kScratch[] = L"Software\\QevRegistrarTest";

std::wstring ReadUser(const std::wstring& key, const wchar_t* name, DWORD* number = nullptr) {
    HKEY h;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return L"<no key>";
    BYTE buf[512];
    DWORD size = sizeof(buf), type = 0;
    LONG err = RegQueryValueExW(h, name, nullptr, &type, buf, &size);
    RegCloseKey(h);
    if (err != ERROR_SUCCESS) return L"<missing>";
    if (type == REG_DWORD && number) {
        *number = *reinterpret_cast<DWORD*>(buf);
        return L"<dword>";
    }
    return std::wstring(reinterpret_cast<wchar_t*>(buf), size / sizeof(wchar_t) - 1);
}

bool UserKeyExists(const std::wstring& key) {
    HKEY h;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

struct Scratch {
    Scratch() { RegDeleteTreeW(HKEY_CURRENT_USER, kScratch); }
    ~Scratch() { RegDeleteTreeW(HKEY_CURRENT_USER, kScratch); }
};

using fw::RegistryMode;
using fw::RegistryVariable;
using fw::RunRegistryScript;

const wchar_t kScript[] =
    L"HKCU\n"
    L"{\n"
    L"  NoRemove Software\n"
    L"  {\n"
    L"    NoRemove QevRegistrarTest\n"
    L"    {\n"
    L"      val Shared = s 'kept'\n"
    L"      Plain = s 'it''s %NAME%'\n"
    L"      {\n"
    L"        val Count = d '131473'\n"
    L"        val Hex = d '0x20191'\n"
    L"        'Quoted key' = s '100%% %NAME%'\n"
    L"      }\n"
    L"      ForceRemove {4239AE66-F4F8-4D5F-A26B-CF369C4EDEA6} = s 'Class'\n"
    L"      {\n"
    L"        Empty\n"
    L"      }\n"
    L"    }\n"
    L"  }\n"
    L"}\n";

}  // namespace

TEST_CASE("the registrar runs a script's keys, values and removal rules") {
    Scratch scratch;
    const std::wstring base = kScratch;
    RegistryVariable vars[] = {{L"NAME", L"x'y"}};

    REQUIRE(RunRegistryScript(kScript, vars, 1, RegistryMode::Register) == S_OK);
    CHECK(Narrow(ReadUser(base, L"Shared")) == "kept");
    CHECK(Narrow(ReadUser(base + L"\\Plain", nullptr)) == "it's x'y");
    DWORD n = 0;
    ReadUser(base + L"\\Plain", L"Count", &n);
    CHECK(n == 131473);
    ReadUser(base + L"\\Plain", L"Hex", &n);
    CHECK(n == 0x20191);
    CHECK(Narrow(ReadUser(base + L"\\Plain\\Quoted key", nullptr)) == "100% x'y");
    std::wstring forced = base + L"\\{4239AE66-F4F8-4D5F-A26B-CF369C4EDEA6}";
    CHECK(Narrow(ReadUser(forced, nullptr)) == "Class");
    CHECK(UserKeyExists(forced + L"\\Empty"));

    SUBCASE("ForceRemove replaces the key whole; other keys keep what the script does not name") {
        HKEY h;
        RegCreateKeyExW(HKEY_CURRENT_USER, (forced + L"\\Extra").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h,
                        nullptr);
        RegCloseKey(h);
        RegCreateKeyExW(HKEY_CURRENT_USER, (base + L"\\Plain\\Extra").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h,
                        nullptr);
        RegCloseKey(h);
        REQUIRE(RunRegistryScript(kScript, vars, 1, RegistryMode::Register) == S_OK);
        CHECK_FALSE(UserKeyExists(forced + L"\\Extra"));
        CHECK(UserKeyExists(forced + L"\\Empty"));
        CHECK(UserKeyExists(base + L"\\Plain\\Extra"));
    }
    SUBCASE("unregistering removes all but the NoRemove keys, and their listed values") {
        HKEY h;
        RegCreateKeyExW(HKEY_CURRENT_USER, (base + L"\\Other").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &h,
                        nullptr);
        RegCloseKey(h);
        REQUIRE(RunRegistryScript(kScript, vars, 1, RegistryMode::Unregister) == S_OK);
        CHECK(UserKeyExists(base));
        CHECK(Narrow(ReadUser(base, L"Shared")) == "<missing>");
        CHECK_FALSE(UserKeyExists(base + L"\\Plain"));
        CHECK_FALSE(UserKeyExists(forced));
        CHECK(UserKeyExists(base + L"\\Other"));
        // Nothing left to remove is no failure.
        CHECK(RunRegistryScript(kScript, vars, 1, RegistryMode::Unregister) == S_OK);
    }
    SUBCASE("a key the script did not force keeps what someone else put in it") {
        HKEY h;
        RegCreateKeyExW(HKEY_CURRENT_USER, (base + L"\\Plain\\Theirs").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        &h, nullptr);
        RegCloseKey(h);
        REQUIRE(RunRegistryScript(kScript, vars, 1, RegistryMode::Unregister) == S_OK);
        CHECK(UserKeyExists(base + L"\\Plain\\Theirs"));
        CHECK(Narrow(ReadUser(base + L"\\Plain", nullptr)) == "<missing>");
        CHECK_FALSE(UserKeyExists(base + L"\\Plain\\Quoted key"));
        CHECK_FALSE(UserKeyExists(forced));
    }
}

TEST_CASE("a malformed script or an unknown variable changes nothing") {
    Scratch scratch;
    const HRESULT bad = HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    const wchar_t* scripts[] = {
        L"HKCU { Software { QevRegistrarTest { A = s 'a' } }",          // unclosed block
        L"HKCU { Software { QevRegistrarTest = s 'unterminated } }",    // unclosed quote
        L"HKXX { Software }",                                           // unknown root
        L"HKCU { Software { QevRegistrarTest = x 'a' } }",              // unknown value type
        L"HKCU { Software { QevRegistrarTest { val = s 'a' } } }",      // value without a name
        L"HKCU { Software { QevRegistrarTest { B = d '12z' } } }",      // not a number
        L"HKCU { Software { QevRegistrarTest { C = s '%UNKNOWN%' } } }",  // unknown variable
        L"HKCU { Software { QevRegistrarTest { D = s '%NAME' } } }",    // unclosed variable
    };
    RegistryVariable vars[] = {{L"NAME", L"n"}};
    for (const wchar_t* script : scripts) {
        INFO(Narrow(script));
        CHECK(RunRegistryScript(script, vars, 1, RegistryMode::Register) == bad);
        CHECK_FALSE(UserKeyExists(kScratch));
    }
}

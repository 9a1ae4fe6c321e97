// Registration of Morvel.dll by the platform's regsvr32, read back from the
// registry: every key and value its scripts write, the type library and the
// interface proxies; registering twice; unregistering.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "Morvel.h"
#include "tests/support/host.h"
#include "tests/support/registry.h"
#include "tests/support/typelib.h"

using namespace testsupport;

namespace {

const wchar_t kAppId[] = L"{ACD9E84F-FD7D-4C17-B3B3-5DD9BCDD20FB}";
const wchar_t kLibId[] = L"{DA88E9AA-B667-4387-AC2E-0B2F175CA8B2}";
const wchar_t kGeneralProp[] = L"{79A8CE4B-5D44-493B-99F7-701B35444AAD}";
const wchar_t kOthersProp[] = L"{32498A6B-F488-45A6-A2B6-5F90A331816D}";

std::wstring ModulePath() {
    wchar_t buf[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, buf, MAX_PATH);
    std::wstring exe(buf, n);
    return exe.substr(0, exe.find_last_of(L'\\') + 1) + L"Morvel.dll";
}

// regsvr32 [/u] /s <module>; its exit code.
DWORD RunRegsvr32(const std::wstring& module, bool unregister) {
    std::wstring cmd = std::wstring(L"regsvr32.exe ") + (unregister ? L"/u " : L"") + L"/s \"" + module + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 0xFFFFFFFF;
    WaitForSingleObject(pi.hProcess, Patient(30000));
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

std::vector<RegistryEntry> Expected(const std::wstring& module) {
    const LibraryNames lib{L"Morvel", L"MorvelLib", kAppId, kLibId, module};
    std::vector<RegistryEntry> e;
    e.push_back({std::wstring(L"AppID\\") + kAppId, nullptr, L"Morvel", false});
    e.push_back({L"AppID\\Morvel.DLL", L"AppID", kAppId, false});
    AddControlEntries(e, lib, L"QEV_Slider", L"{A47569DD-4B28-4388-857D-45874088FDC1}", 102);
    AddControlEntries(e, lib, L"QEV_SwitchSlider", L"{36ED955E-C45E-4B15-90D7-AC6494A085A4}", 104);
    AddPageEntries(e, lib, L"GeneralProp", kGeneralProp);
    AddPageEntries(e, lib, L"OthersProp", kOthersProp);
    std::wstring tl = std::wstring(L"TypeLib\\") + kLibId + L"\\3.0";
    e.push_back({tl, nullptr, L"Morvel 3.0 Type Library", false});
    e.push_back({tl + (sizeof(void*) == 8 ? L"\\0\\win64" : L"\\0\\win32"), nullptr, module, false});
    // Both dual interfaces are marshalled by the library's own proxy/stub.
    std::wstring proxy = GuidText(IID_IQEV_Slider);
    for (const IID* iid : {&IID_IQEV_Slider, &IID_IQEV_SwitchSlider})
        e.push_back({L"Interface\\" + GuidText(*iid) + L"\\ProxyStubClsid32", nullptr, proxy, false});
    e.push_back({L"CLSID\\" + proxy + L"\\InprocServer32", nullptr, module, false});
    return e;
}

}  // namespace

TEST_CASE("regsvr32 writes every entry, twice alike, and /u removes the library's own keys") {
    const std::wstring module = ModulePath();
    const std::vector<RegistryEntry> expected = Expected(module);
    for (int pass = 0; pass < 2; ++pass) {
        INFO("registration " << pass + 1);
        REQUIRE(RunRegsvr32(module, false) == 0);
        for (const std::string& m : RegistryMismatches(expected)) FAIL_CHECK(m);
    }
    ITypeLib* tl = nullptr;
    REQUIRE(LoadRegTypeLib(LIBID_MorvelLib, 3, 0, 0, &tl) == S_OK);
    TLIBATTR* attr = nullptr;
    REQUIRE(tl->GetLibAttr(&attr) == S_OK);
    CHECK(IsEqualGUID(attr->guid, LIBID_MorvelLib));
    tl->ReleaseTLibAttr(attr);
    tl->Release();

    REQUIRE(RunRegsvr32(module, true) == 0);
    const std::wstring gone[] = {
        std::wstring(L"AppID\\") + kAppId, L"AppID\\Morvel.DLL", L"Morvel.QEV_Slider.3", L"Morvel.QEV_Slider",
        L"Morvel.QEV_SwitchSlider.3", L"Morvel.QEV_SwitchSlider", L"MorvelLib.GeneralProp.1", L"MorvelLib.OthersProp",
        L"CLSID\\" + GuidText(CLSID_QEV_Slider), L"CLSID\\" + GuidText(CLSID_QEV_SwitchSlider),
        std::wstring(L"CLSID\\") + kGeneralProp, std::wstring(L"CLSID\\") + kOthersProp,
        std::wstring(L"TypeLib\\") + kLibId, L"Interface\\" + GuidText(IID_IQEV_Slider),
        L"Interface\\" + GuidText(IID_IQEV_SwitchSlider),
    };
    for (const std::wstring& key : gone) {
        INFO(Narrow(key.c_str()));
        CHECK_FALSE(ClassesKeyExists(key));
    }
    CHECK(ClassesKeyExists(L"CLSID"));
    // The run keeps every library registered.
    CHECK(RunRegsvr32(module, false) == 0);
    CHECK(ClassesKeyExists(L"Morvel.QEV_Slider"));
}

// Registration of Wendal.dll read back from the registry: every key and
// value, twice alike, and unregistration that leaves the shared roots.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "registry.h"

namespace {

const wchar_t kAppId[] = L"{5D29E1FE-93FA-4FA2-A4D2-8A119C434F5A}";
const wchar_t kLibId[] = L"{95B9A515-6783-4A10-8488-8736D7E5AABF}";
const wchar_t kSwitch[] = L"{8350B0B5-E102-4E28-9E26-BA96CB522791}";
const wchar_t kGeneral[] = L"{453D8043-3491-42FF-89A3-0378519E7814}";
const wchar_t kOthers[] = L"{970843EB-B125-4198-93FD-6A766223FEFC}";
const wchar_t kDual[] = L"{9D556F69-8A12-4C6C-ABF9-0DA7D34B839B}";

struct Library : testsupport::RegisteringLibrary {
    Library() : RegisteringLibrary(L"Wendal.dll") { REQUIRE(ok()); }
};

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

using testsupport::ClassesKeyExists;
using testsupport::ClassesString;

using testsupport::RegistryEntry;

std::vector<RegistryEntry> Expected(const std::wstring& module) {
    const testsupport::LibraryNames names{L"Wendal", L"WendalLib", kAppId, kLibId, module};
    std::vector<RegistryEntry> e;
    e.push_back({std::wstring(L"AppID\\") + kAppId, nullptr, L"Wendal", false});
    e.push_back({L"AppID\\Wendal.DLL", L"AppID", kAppId, false});
    testsupport::AddControlEntries(e, names, L"QEV_Switch", kSwitch, 102);
    testsupport::AddPageEntries(e, names, L"GeneralProp", kGeneral);
    testsupport::AddPageEntries(e, names, L"OthersProp", kOthers);
    std::wstring tl = std::wstring(L"TypeLib\\") + kLibId + L"\\3.0";
    e.push_back({tl, nullptr, L"Wendal 3.0 Type Library", false});
    e.push_back({tl + (sizeof(void*) == 8 ? L"\\0\\win64" : L"\\0\\win32"), nullptr, module, false});
    // The dual interface is marshalled by the library's own proxy/stub.
    e.push_back({std::wstring(L"Interface\\") + kDual + L"\\ProxyStubClsid32", nullptr, kDual, false});
    e.push_back({std::wstring(L"CLSID\\") + kDual + L"\\InprocServer32", nullptr, module, false});
    return e;
}

void CheckRegistered(const std::vector<RegistryEntry>& expected) {
    for (const std::string& m : testsupport::RegistryMismatches(expected)) FAIL_CHECK(m);
}

}  // namespace

TEST_CASE("registration writes every entry, twice alike, and unregistration removes the library's own keys") {
    Library lib;
    std::vector<RegistryEntry> expected = Expected(lib.path);
    for (int round = 0; round < 2; ++round) {
        INFO("round " << round);
        REQUIRE(lib.registerServer() == S_OK);
        CheckRegistered(expected);
    }
    REQUIRE(lib.unregisterServer() == S_OK);
    const std::wstring gone[] = {
        std::wstring(L"AppID\\") + kAppId, L"AppID\\Wendal.DLL",
        L"Wendal.QEV_Switch.3", L"Wendal.QEV_Switch", L"WendalLib.GeneralProp.1", L"WendalLib.GeneralProp",
        L"WendalLib.OthersProp.1", L"WendalLib.OthersProp",
        std::wstring(L"CLSID\\") + kSwitch, std::wstring(L"CLSID\\") + kGeneral, std::wstring(L"CLSID\\") + kOthers,
        std::wstring(L"TypeLib\\") + kLibId, std::wstring(L"Interface\\") + kDual,
    };
    for (const std::wstring& key : gone) {
        INFO(Narrow(key));
        CHECK_FALSE(ClassesKeyExists(key));
    }
    CHECK(ClassesKeyExists(L"AppID"));
    CHECK(ClassesKeyExists(L"CLSID"));
}

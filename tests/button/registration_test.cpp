// Registration of Pellan.dll read back from the registry: what regsvr32 wrote
// before the run, every key and value of the scripts, then unregistration
// that keeps the shared AppID root, and registration again.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "registry.h"

using namespace testsupport;

namespace {

const std::wstring kAppId = L"{867438A2-117E-48A8-BC60-BDC4621B8FAF}";
const std::wstring kLibId = L"{334FFD56-9665-4910-AD84-3FC41F175C74}";
const std::wstring kButton = L"{BA283D99-A0F2-45B2-94AD-A90D8F512F0E}";
const std::wstring kGeneral = L"{6021B4D6-28F7-4206-8619-83C50293C88E}";
const std::wstring kText = L"{752369A1-DCA4-456A-948F-EC1B97C7EC57}";
const std::wstring kDual = L"{B1300056-DC18-46B2-8898-8C4C6317F581}";

std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }

std::vector<RegistryEntry> Expected(const std::wstring& module) {
    const LibraryNames lib{L"Pellan", L"PellanLib", kAppId, kLibId, module};
    std::vector<RegistryEntry> e;
    e.push_back({L"AppID\\" + kAppId, nullptr, L"Pellan", false});
    e.push_back({L"AppID\\Pellan.DLL", L"AppID", kAppId, false});
    AddControlEntries(e, lib, L"QEV_SmartButton", kButton, 102);
    AddPageEntries(e, lib, L"SBGeneralProp", kGeneral);
    AddPageEntries(e, lib, L"SBTextProp", kText);
    const std::wstring tl = L"TypeLib\\" + kLibId + L"\\3.0";
    e.push_back({tl, nullptr, L"Pellan 3.0 Type Library", false});
    e.push_back({tl + (sizeof(void*) == 8 ? L"\\0\\win64" : L"\\0\\win32"), nullptr, module, false});
    // The dual interface is marshalled by the library's own proxy/stub.
    e.push_back({L"Interface\\" + kDual + L"\\ProxyStubClsid32", nullptr, kDual, false});
    e.push_back({L"CLSID\\" + kDual + L"\\InprocServer32", nullptr, module, false});
    return e;
}

void CheckRegistered(const std::vector<RegistryEntry>& expected) {
    for (const std::string& mismatch : RegistryMismatches(expected)) FAIL_CHECK(mismatch);
}

}  // namespace

TEST_CASE("regsvr32 wrote every key and value; unregistration removes them and keeps the AppID root") {
    RegisteringLibrary lib(L"Pellan.dll");
    REQUIRE(lib.ok());
    const std::vector<RegistryEntry> expected = Expected(lib.path);

    CheckRegistered(expected);  // as the test run's regsvr32 left it
    CHECK_FALSE(ClassesKeyExists(L"CLSID\\" + kGeneral + L"\\Control"));
    CHECK_FALSE(ClassesKeyExists(L"CLSID\\" + kText + L"\\Control"));

    REQUIRE(lib.unregisterServer() == S_OK);
    for (const std::wstring& key :
         {L"AppID\\" + kAppId, std::wstring(L"AppID\\Pellan.DLL"), std::wstring(L"Pellan.QEV_SmartButton.3"),
          std::wstring(L"Pellan.QEV_SmartButton"), std::wstring(L"PellanLib.SBGeneralProp.1"),
          std::wstring(L"PellanLib.SBTextProp"), L"CLSID\\" + kButton, L"CLSID\\" + kGeneral, L"CLSID\\" + kText,
          L"TypeLib\\" + kLibId, L"Interface\\" + kDual}) {
        INFO(Narrow(key));
        CHECK_FALSE(ClassesKeyExists(key));
    }
    CHECK(ClassesKeyExists(L"AppID"));

    // The run keeps every library registered.
    REQUIRE(lib.registerServer() == S_OK);
    CheckRegistered(expected);
}

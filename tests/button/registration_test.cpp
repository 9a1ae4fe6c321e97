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

struct Entry {
    std::wstring key;
    const wchar_t* value;  // null: the default value
    std::wstring data;
    bool keyOnly = false;  // the key only has to exist
};

// One class: ProgIDs and CLSID key; the control also carries what makes it
// a control (the pages carry no Control key).
void AddClass(std::vector<Entry>& e, const std::wstring& progId, const std::wstring& name, const std::wstring& clsid,
              bool control, const std::wstring& module) {
    const std::wstring cls = name + L" Class", key = L"CLSID\\" + clsid;
    const std::wstring versioned = progId + (control ? L".3" : L".1");
    e.push_back({versioned, nullptr, cls});
    e.push_back({versioned + L"\\CLSID", nullptr, clsid});
    e.push_back({progId, nullptr, cls});
    e.push_back({progId + L"\\CLSID", nullptr, clsid});
    e.push_back({progId + L"\\CurVer", nullptr, versioned});
    e.push_back({key, nullptr, cls});
    e.push_back({key, L"AppID", kAppId});
    e.push_back({key + L"\\ProgID", nullptr, versioned});
    e.push_back({key + L"\\VersionIndependentProgID", nullptr, progId});
    e.push_back({key + L"\\InprocServer32", nullptr, module});
    e.push_back({key + L"\\InprocServer32", L"ThreadingModel", L"Apartment"});
    e.push_back({key + L"\\TypeLib", nullptr, kLibId});
    if (!control) return;
    e.push_back({versioned + L"\\Insertable", nullptr, L"", true});
    for (const wchar_t* sub : {L"\\Programmable", L"\\Control", L"\\Insertable"}) e.push_back({key + sub, nullptr, L"", true});
    e.push_back({key + L"\\ToolboxBitmap32", nullptr, module + L", 102"});
    e.push_back({key + L"\\MiscStatus", nullptr, L"0"});
    e.push_back({key + L"\\MiscStatus\\1", nullptr, L"131473"});
    e.push_back({key + L"\\Version", nullptr, L"3.0"});
    e.push_back({key + L"\\verb\\0", nullptr, L"&Properties, 1"});
}

std::vector<Entry> Expected(const std::wstring& module) {
    std::vector<Entry> e;
    e.push_back({L"AppID\\" + kAppId, nullptr, L"Pellan"});
    e.push_back({L"AppID\\Pellan.DLL", L"AppID", kAppId});
    AddClass(e, L"Pellan.QEV_SmartButton", L"QEV_SmartButton", kButton, true, module);
    AddClass(e, L"PellanLib.SBGeneralProp", L"SBGeneralProp", kGeneral, false, module);
    AddClass(e, L"PellanLib.SBTextProp", L"SBTextProp", kText, false, module);
    const std::wstring tl = L"TypeLib\\" + kLibId + L"\\3.0";
    e.push_back({tl, nullptr, L"Pellan 3.0 Type Library"});
    e.push_back({tl + (sizeof(void*) == 8 ? L"\\0\\win64" : L"\\0\\win32"), nullptr, module});
    // The dual interface is marshalled by the library's own proxy/stub.
    e.push_back({L"Interface\\" + kDual + L"\\ProxyStubClsid32", nullptr, kDual});
    e.push_back({L"CLSID\\" + kDual + L"\\InprocServer32", nullptr, module});
    return e;
}

void CheckRegistered(const std::vector<Entry>& expected) {
    for (const Entry& e : expected) {
        INFO(Narrow(e.key) << " " << (e.value ? Narrow(e.value) : "(default)"));
        if (e.keyOnly) CHECK(ClassesKeyExists(e.key));
        else CHECK(Narrow(ClassesString(e.key, e.value)) == Narrow(e.data));
    }
}

}  // namespace

TEST_CASE("regsvr32 wrote every key and value; unregistration removes them and keeps the AppID root") {
    RegisteringLibrary lib(L"Pellan.dll");
    REQUIRE(lib.ok());
    const std::vector<Entry> expected = Expected(lib.path);

    CheckRegistered(expected);  // as the test run's regsvr32 left it
    CHECK_FALSE(ClassesKeyExists(L"CLSID\\" + kGeneral + L"\\Control"));
    CHECK_FALSE(ClassesKeyExists(L"CLSID\\" + kText + L"\\Control"));
    CLSID byName{};
    CHECK(CLSIDFromProgID(L"Pellan.QEV_SmartButton", &byName) == S_OK);

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

#include "registry.h"

namespace testsupport {

namespace {
std::string Narrow(const std::wstring& s) { return std::string(s.begin(), s.end()); }
}  // namespace

std::wstring GuidText(REFGUID g) {
    wchar_t buf[40];
    StringFromGUID2(g, buf, 40);
    return buf;
}

void AddControlEntries(std::vector<RegistryEntry>& e, const LibraryNames& lib, const std::wstring& name,
                       const std::wstring& id, int bitmap) {
    const std::wstring cls = name + L" Class", progId = lib.controlPrefix + L"." + name, key = L"CLSID\\" + id;
    e.push_back({progId + L".3", nullptr, cls, false});
    e.push_back({progId + L".3\\CLSID", nullptr, id, false});
    e.push_back({progId + L".3\\Insertable", nullptr, L"", true});
    e.push_back({progId, nullptr, cls, false});
    e.push_back({progId + L"\\CLSID", nullptr, id, false});
    e.push_back({progId + L"\\CurVer", nullptr, progId + L".3", false});
    e.push_back({key, nullptr, cls, false});
    e.push_back({key, L"AppID", lib.appId, false});
    e.push_back({key + L"\\ProgID", nullptr, progId + L".3", false});
    e.push_back({key + L"\\VersionIndependentProgID", nullptr, progId, false});
    for (const wchar_t* flag : {L"\\Programmable", L"\\Control", L"\\Insertable"})
        e.push_back({key + flag, nullptr, L"", true});
    e.push_back({key + L"\\InprocServer32", nullptr, lib.module, false});
    e.push_back({key + L"\\InprocServer32", L"ThreadingModel", L"Apartment", false});
    e.push_back({key + L"\\ToolboxBitmap32", nullptr, lib.module + L", " + std::to_wstring(bitmap), false});
    e.push_back({key + L"\\MiscStatus", nullptr, L"0", false});
    e.push_back({key + L"\\MiscStatus\\1", nullptr, L"131473", false});
    e.push_back({key + L"\\TypeLib", nullptr, lib.libId, false});
    e.push_back({key + L"\\Version", nullptr, L"3.0", false});
    e.push_back({key + L"\\verb\\0", nullptr, L"&Properties, 1", false});
}

void AddPageEntries(std::vector<RegistryEntry>& e, const LibraryNames& lib, const std::wstring& name,
                    const std::wstring& id) {
    const std::wstring cls = name + L" Class", progId = lib.pagePrefix + L"." + name, key = L"CLSID\\" + id;
    e.push_back({progId + L".1", nullptr, cls, false});
    e.push_back({progId + L".1\\CLSID", nullptr, id, false});
    e.push_back({progId, nullptr, cls, false});
    e.push_back({progId + L"\\CLSID", nullptr, id, false});
    e.push_back({progId + L"\\CurVer", nullptr, progId + L".1", false});
    e.push_back({key, nullptr, cls, false});
    e.push_back({key, L"AppID", lib.appId, false});
    e.push_back({key + L"\\ProgID", nullptr, progId + L".1", false});
    e.push_back({key + L"\\VersionIndependentProgID", nullptr, progId, false});
    e.push_back({key + L"\\InprocServer32", nullptr, lib.module, false});
    e.push_back({key + L"\\InprocServer32", L"ThreadingModel", L"Apartment", false});
    e.push_back({key + L"\\TypeLib", nullptr, lib.libId, false});
}

std::vector<std::string> RegistryMismatches(const std::vector<RegistryEntry>& expected) {
    std::vector<std::string> out;
    for (const RegistryEntry& e : expected) {
        const std::string where = Narrow(e.key) + " " + (e.value ? Narrow(e.value) : "(default)");
        if (e.keyOnly) {
            if (!ClassesKeyExists(e.key)) out.push_back(where + ": no such key");
            continue;
        }
        const std::wstring got = ClassesString(e.key, e.value);
        if (got != e.data) out.push_back(where + ": \"" + Narrow(got) + "\" instead of \"" + Narrow(e.data) + "\"");
    }
    return out;
}

}  // namespace testsupport

// Reading back what a control library's registration scripts wrote under
// HKEY_CLASSES_ROOT, and the entries every library's control and page
// scripts write.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <string>
#include <vector>

namespace testsupport {

bool ClassesKeyExists(const std::wstring& key);
// The string value `name` (null: the default value) of HKCR\key, or "<missing>".
std::wstring ClassesString(const std::wstring& key, const wchar_t* name);
std::wstring GuidText(REFGUID g);

struct RegistryEntry {
    std::wstring key;
    const wchar_t* value;  // null: the default value
    std::wstring data;
    bool keyOnly;          // the key only has to exist
};

// A library's names: "Tarnik" (control ProgIDs), "TarnikLib" (page ProgIDs),
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

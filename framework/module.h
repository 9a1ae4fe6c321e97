// Library module: identity, object map, class objects and the four exported
// entry points (implemented in module.cpp, shared by every library).
#pragma once
#include "object.h"

namespace fw {

typedef HRESULT (*CreatorFn)(IUnknown* outer, REFIID iid, void** ppv);

// One row of a library's object map.
struct ObjectEntry {
    const CLSID* clsid;
    UINT registryResource;  // REGISTRY script of the class
    bool isControl;         // the script gets %OLEMISC%
    CreatorFn create;
    IUnknown* classObject;  // created on first use and cached; released at unload
};

// What a library tells the framework about itself. Each library defines
// fw::LibraryInfo() in its module file.
struct ModuleInfo {
    const GUID* libid;
    UINT appIdResource;        // REGISTRY script of the AppID
    const wchar_t* appId;      // text for %APPID%
    DWORD oleMisc;             // value for %OLEMISC%, written in decimal
    ObjectEntry* objects;
    size_t objectCount;
};
ModuleInfo& LibraryInfo();

HINSTANCE ModuleInstance();

// Window classes registered by controls; unregistered when the library unloads.
void AddWindowClassToUnregister(ATOM atom);

// Type library embedded in this module as TYPELIB 1 (loaded once, cached; no
// reference is added to the returned pointer).
ITypeLib* ModuleTypeLib();
HRESULT GetModuleTypeInfo(REFGUID guid, ITypeInfo** out);

}  // namespace fw

// Class object of one object-map row: creates instances through the row's
// creator and holds module locks for LockServer.
#pragma once
#include "module.h"

namespace fw {

// Creates a class factory for `create` and queries it for `iid`. The factory
// itself holds no module lock (the module caches it for its whole life);
// only LockServer(TRUE) does.
HRESULT CreateClassFactory(CreatorFn create, REFIID iid, void** ppv);

}  // namespace fw

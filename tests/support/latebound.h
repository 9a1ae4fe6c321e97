// Late-bound property access by dispatch id, the way containers and scripts
// call: a get without arguments, a put with the one named argument.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include "recorders.h"

namespace testsupport {

inline HRESULT GetById(IDispatch* d, DISPID id, Variant& out) {
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    return d->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &out.v, nullptr, nullptr);
}

inline HRESULT PutById(IDispatch* d, DISPID id, const VARIANT& value) {
    VARIANT arg = value;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&arg, &named, 1, 1};
    return d->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr, nullptr);
}

}  // namespace testsupport

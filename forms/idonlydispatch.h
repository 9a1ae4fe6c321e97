// IDispatch of an object reached by dispatch id only, as ambient properties
// and event sinks are: no type information and no names. A class derives
// from IdOnlyDispatch instead of IDispatch and supplies Invoke and IUnknown.
#pragma once
#include <windows.h>
#include <oaidl.h>

namespace forms {

class IdOnlyDispatch : public IDispatch {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT count, LCID, DISPID* ids) override {
        if (ids)
            for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
};

}  // namespace forms

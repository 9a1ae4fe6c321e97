// IDispatch of a dual interface through the module's type library, so late
// binding coerces arguments the platform's way.
#pragma once
#include "module.h"

namespace fw {

// A property get with arguments on a property that takes none hands the
// arguments on to the default member of the object the property returns, and
// the platform's Invoke calls that object without looking. True when that
// object is null: the call then answers DISP_E_BADPARAMCOUNT instead.
bool ArgumentsForNullObject(ITypeInfo* ti, void* self, DISPID id, WORD flags, const DISPPARAMS* params);

// Derive a class from DualImpl<IQEV_Knob, &IID_IQEV_Knob> instead of the
// dual interface itself; the IUnknown members come from the class.
template <class Itf, const IID* piid>
class DualImpl : public Itf {
public:
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        if (!n) return E_POINTER;
        *n = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        return GetModuleTypeInfo(*piid, out);
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        ITypeInfo* ti = nullptr;
        HRESULT hr = GetModuleTypeInfo(*piid, &ti);
        if (FAILED(hr)) return hr;
        hr = ti->GetIDsOfNames(names, count, ids);
        ti->Release();
        return hr;
    }
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* excep, UINT* argErr) override {
        if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        ITypeInfo* ti = nullptr;
        HRESULT hr = GetModuleTypeInfo(*piid, &ti);
        if (FAILED(hr)) return hr;
        if (ArgumentsForNullObject(ti, static_cast<Itf*>(this), id, flags, params)) hr = DISP_E_BADPARAMCOUNT;
        else hr = ti->Invoke(static_cast<Itf*>(this), id, flags, params, result, excep, argErr);
        ti->Release();
        return hr;
    }
};

}  // namespace fw

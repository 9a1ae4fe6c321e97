// The probe's automation: names and dispatch ids, a record of every call,
// and its class object for CoRegisterClassObject.
#include "probe_control.h"

#include <cwchar>

namespace {

struct Member {
    const wchar_t* name;
    DISPID id;
};
const Member kMembers[] = {{L"Color", kProbeColor}, {L"Caption", kProbeCaption}, {L"Picture", kProbePicture},
                           {L"Fail", kProbeFail},   {L"Fire", kProbeFire}};

class ProbeFactory final : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IClassFactory)) return E_NOINTERFACE;
        *ppv = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** ppv) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        ProbeControl* probe = ProbeControl::Create();
        HRESULT hr = probe->QueryInterface(iid, ppv);
        probe->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

}  // namespace

HRESULT RegisterProbeClass(DWORD* cookie) {
    static ProbeFactory factory;
    return CoRegisterClassObject(CLSID_Probe, &factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, cookie);
}

STDMETHODIMP ProbeControl::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

STDMETHODIMP ProbeControl::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ProbeControl::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids) return E_POINTER;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        for (const Member& m : kMembers)
            if (_wcsicmp(m.name, names[i]) == 0) ids[i] = m.id;
        if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

STDMETHODIMP ProbeControl::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                  EXCEPINFO* excep, UINT*) {
    if (!params) return E_POINTER;
    ProbeCall call{id, flags, {}, params->cNamedArgs == 1 && params->rgdispidNamedArgs &&
                                      params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT};
    for (UINT i = params->cArgs; i-- > 0;) call.types.push_back(V_VT(&params->rgvarg[i]));
    calls.push_back(call);
    const bool put = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    if (put && !call.namedPut) return DISP_E_PARAMNOTFOUND;
    VARIANT* arg = params->cArgs ? &params->rgvarg[0] : nullptr;
    switch (id) {
    case kProbeColor:
        if (flags & DISPATCH_PROPERTYGET) {
            if (!result) return E_POINTER;
            V_VT(result) = VT_I4;
            V_I4(result) = static_cast<LONG>(color);
            return S_OK;
        }
        if (!arg || V_VT(arg) != VT_I4) return DISP_E_TYPEMISMATCH;
        SetColor(static_cast<COLORREF>(V_I4(arg)));
        return S_OK;
    case kProbeCaption:
        if (flags & DISPATCH_PROPERTYGET) {
            if (!result) return E_POINTER;
            V_VT(result) = VT_BSTR;
            V_BSTR(result) = SysAllocStringLen(caption.data(), static_cast<UINT>(caption.size()));
            return S_OK;
        }
        if (!arg || V_VT(arg) != VT_BSTR) return DISP_E_TYPEMISMATCH;
        caption.assign(V_BSTR(arg), SysStringLen(V_BSTR(arg)));
        return S_OK;
    case kProbePicture:
        if (flags & DISPATCH_PROPERTYGET) {
            if (!result) return E_POINTER;
            V_VT(result) = VT_DISPATCH;
            V_DISPATCH(result) = picture;
            if (picture) picture->AddRef();
            return S_OK;
        }
        if (!(flags & DISPATCH_PROPERTYPUTREF)) return DISP_E_MEMBERNOTFOUND;
        if (!arg || V_VT(arg) != VT_DISPATCH) return DISP_E_TYPEMISMATCH;
        if (V_DISPATCH(arg)) V_DISPATCH(arg)->AddRef();
        if (picture) picture->Release();
        picture = V_DISPATCH(arg);
        return S_OK;
    case kProbeFail:
        if (excep) {
            *excep = EXCEPINFO{};
            excep->scode = E_INVALIDARG;
            excep->bstrDescription = SysAllocString(L"probe refused");
        }
        return DISP_E_EXCEPTION;
    case kProbeFire:
        if (!arg || V_VT(arg) != VT_I4) return DISP_E_TYPEMISMATCH;
        return Fire(V_I4(arg), {});
    }
    return DISP_E_MEMBERNOTFOUND;
}

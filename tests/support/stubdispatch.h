// The COM plumbing of a stand-in automation object: it answers IUnknown,
// IDispatch and the interface *piid (when given) with itself as Itf, counts
// its references in `refs` (it lives on the stack; nothing frees it), and
// has no type information, so late binding fails with E_NOTIMPL.
#pragma once
#include <windows.h>
#include <oaidl.h>

namespace testsupport {

template <class Itf, const IID* piid = nullptr>
struct StubDispatch : Itf {
    LONG refs = 1;

    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || (piid && IsEqualIID(iid, *piid))) {
            *ppv = static_cast<Itf*>(this);
            this->AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
};

}  // namespace testsupport

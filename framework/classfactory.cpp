#include "classfactory.h"

namespace fw {
namespace {

class ClassFactory final : public SingleInterface<IClassFactory, &IID_IClassFactory> {
public:
    explicit ClassFactory(CreatorFn create) : m_create(create) {}

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        // An aggregated object can hand out only its inner unknown.
        if (outer && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
        return m_create(outer, iid, ppv);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) ModuleLock();
        else ModuleUnlock();
        return S_OK;
    }

private:
    CreatorFn m_create;
};

}  // namespace

HRESULT CreateClassFactory(CreatorFn create, REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (!create) return E_INVALIDARG;
    ClassFactory* factory = new (std::nothrow) ClassFactory(create);
    if (!factory) return E_OUTOFMEMORY;
    factory->AddRef();
    HRESULT hr = factory->QueryInterface(iid, ppv);
    factory->Release();
    return hr;
}

}  // namespace fw

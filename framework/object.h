// COM object base: reference counting, aggregation and the module lock that
// every live object of a library holds.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <new>

namespace fw {

// Lock count of the library; every live object, LockServer lock and
// font-change sink holds one.
LONG ModuleLock();
LONG ModuleUnlock();
LONG ModuleLockCount();

// Base of every COM object of a library. A class lists its interfaces in
// FindInterface (no AddRef there); IUnknown, aggregation and the module lock
// live here. Classes put FW_DELEGATING_IUNKNOWN in their body so that every
// interface's IUnknown goes through the controlling unknown.
class ObjectRoot {
public:
    ObjectRoot() : m_controlling(&m_inner), m_refs(0) { m_inner.owner = this; ModuleLock(); }
    virtual ~ObjectRoot() { ModuleUnlock(); }
    ObjectRoot(const ObjectRoot&) = delete;
    ObjectRoot& operator=(const ObjectRoot&) = delete;

    // Returns the interface pointer for iid or null; IUnknown is answered by
    // the root itself.
    virtual void* FindInterface(REFIID iid) = 0;
    // Runs once after construction, with one reference held on the object.
    virtual HRESULT FinalConstruct() { return S_OK; }

    HRESULT InnerQueryInterface(REFIID iid, void** ppv) {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (IsEqualIID(iid, IID_IUnknown)) *ppv = static_cast<IUnknown*>(&m_inner);
        else *ppv = FindInterface(iid);
        if (!*ppv) return E_NOINTERFACE;
        static_cast<IUnknown*>(*ppv)->AddRef();
        return S_OK;
    }
    ULONG InnerAddRef() { return (ULONG)InterlockedIncrement(&m_refs); }
    ULONG InnerRelease() {
        LONG n = InterlockedDecrement(&m_refs);
        if (n == 0) {
            m_refs = 1;  // guard against re-entrant release during destruction
            delete this;
        }
        return (ULONG)n;
    }
    IUnknown* Controlling() const { return m_controlling; }
    IUnknown* Inner() { return &m_inner; }
    bool IsAggregated() const { return m_controlling != &m_inner; }
    void SetOuter(IUnknown* outer) { if (outer) m_controlling = outer; }

private:
    struct InnerUnknown : IUnknown {
        ObjectRoot* owner;
        STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override { return owner->InnerQueryInterface(iid, ppv); }
        STDMETHODIMP_(ULONG) AddRef() override { return owner->InnerAddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return owner->InnerRelease(); }
    };
    InnerUnknown m_inner;
    IUnknown* m_controlling;
    LONG m_refs;
};

#define FW_DELEGATING_IUNKNOWN                                                              \
    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {                         \
        return Controlling()->QueryInterface(iid, ppv);                                    \
    }                                                                                      \
    STDMETHODIMP_(ULONG) AddRef() override { return Controlling()->AddRef(); }             \
    STDMETHODIMP_(ULONG) Release() override { return Controlling()->Release(); }

// IUnknown of a small helper object with one interface (class factories,
// enumerators): answers IUnknown and *piid, counts references and deletes
// itself at zero. Not aggregatable and without a module lock of its own.
template <class Itf, const IID* piid>
class SingleInterface : public Itf {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, *piid)) {
            *ppv = static_cast<Itf*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return (ULONG)InterlockedIncrement(&m_refs); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG n = InterlockedDecrement(&m_refs);
        if (n == 0) delete this;
        return (ULONG)n;
    }

protected:
    SingleInterface() = default;
    virtual ~SingleInterface() = default;

private:
    LONG m_refs = 0;
};

// Creator of the object map: plain object without an outer unknown, an
// aggregated one with it (then only IUnknown may be asked for).
template <class T>
HRESULT CreateObject(IUnknown* outer, REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (outer && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
    T* obj = new (std::nothrow) T();
    if (!obj) return E_OUTOFMEMORY;
    obj->SetOuter(outer);
    obj->InnerAddRef();
    HRESULT hr = obj->FinalConstruct();
    if (SUCCEEDED(hr)) hr = obj->InnerQueryInterface(iid, ppv);
    obj->InnerRelease();  // destroys the object when the query failed
    return hr;
}

}  // namespace fw

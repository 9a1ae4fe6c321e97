// Snapshot enumerators (IEnumConnections, IEnumConnectionPoints,
// IEnumOLEVERB): each holds its own copies and keeps its owner alive.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <new>
#include <vector>
#include "object.h"

namespace fw {

// Copy policy for an element type: Init copies into caller memory (adding
// references or allocations), Destroy releases what an element holds.
template <class T>
struct EnumCopy;

template <>
struct EnumCopy<CONNECTDATA> {
    static void Init(CONNECTDATA* dst, const CONNECTDATA& src) {
        *dst = src;
        if (dst->pUnk) dst->pUnk->AddRef();
    }
    static void Destroy(CONNECTDATA& v) {
        if (v.pUnk) v.pUnk->Release();
    }
};

template <>
struct EnumCopy<IConnectionPoint*> {
    static void Init(IConnectionPoint** dst, IConnectionPoint* const& src) {
        *dst = src;
        if (src) src->AddRef();
    }
    static void Destroy(IConnectionPoint*& v) {
        if (v) v->Release();
    }
};

template <>
struct EnumCopy<OLEVERB> {
    static void Init(OLEVERB* dst, const OLEVERB& src) {
        *dst = src;
        dst->lpszVerbName = nullptr;
        if (src.lpszVerbName) {
            size_t n = (lstrlenW(src.lpszVerbName) + 1) * sizeof(WCHAR);
            dst->lpszVerbName = static_cast<LPOLESTR>(CoTaskMemAlloc(n));
            if (dst->lpszVerbName) memcpy(dst->lpszVerbName, src.lpszVerbName, n);
        }
    }
    static void Destroy(OLEVERB&) {}  // the table's strings are static
};

template <class Itf, const IID* piid, class T>
class Enumerator : public SingleInterface<Itf, piid> {
public:
    // Items are copied with EnumCopy<T>::Init; owner is kept alive.
    static HRESULT Create(const T* items, size_t count, IUnknown* owner, Itf** out) {
        if (!out) return E_POINTER;
        *out = nullptr;
        auto* e = new (std::nothrow) Enumerator(owner);
        if (!e) return E_OUTOFMEMORY;
        e->AddRef();
        e->m_items.resize(count);
        for (size_t i = 0; i < count; ++i) EnumCopy<T>::Init(&e->m_items[i], items[i]);
        *out = e;
        return S_OK;
    }

    STDMETHODIMP Next(ULONG count, T* out, ULONG* fetched) override {
        if (!out) return E_POINTER;
        if (count > 1 && !fetched) return E_INVALIDARG;
        ULONG n = 0;
        while (n < count && m_pos < m_items.size()) EnumCopy<T>::Init(&out[n++], m_items[m_pos++]);
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override {
        size_t left = m_items.size() - m_pos;
        if (count > left) {
            m_pos = m_items.size();
            return S_FALSE;
        }
        m_pos += count;
        return S_OK;
    }
    STDMETHODIMP Reset() override {
        m_pos = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(Itf** out) override {
        HRESULT hr = Create(m_items.data(), m_items.size(), m_owner, out);
        if (SUCCEEDED(hr)) static_cast<Enumerator*>(*out)->m_pos = m_pos;
        return hr;
    }

private:
    explicit Enumerator(IUnknown* owner) : m_owner(owner) {
        if (m_owner) m_owner->AddRef();
    }
    ~Enumerator() override {
        for (auto& v : m_items) EnumCopy<T>::Destroy(v);
        if (m_owner) m_owner->Release();
    }
    IUnknown* m_owner;
    std::vector<T> m_items;
    size_t m_pos = 0;
};

typedef Enumerator<IEnumConnections, &IID_IEnumConnections, CONNECTDATA> ConnectionEnum;
typedef Enumerator<IEnumConnectionPoints, &IID_IEnumConnectionPoints, IConnectionPoint*> ConnectionPointEnum;
typedef Enumerator<IEnumOLEVERB, &IID_IEnumOLEVERB, OLEVERB> VerbEnum;

}  // namespace fw

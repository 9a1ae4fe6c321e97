// Control base: persistence through a stream, a storage and a property bag,
// driven by the control's property map.
#include "control.h"

namespace fw {

// ---------------------------------------------------------------- persistence

STDMETHODIMP ControlBase::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = *m_traits.clsid;
    return S_OK;
}

STDMETHODIMP ControlBase::IsDirty() { return m_requiresSave ? S_OK : S_FALSE; }

STDMETHODIMP ControlBase::Load(IStream* stream) {
    if (!stream) return E_POINTER;
    HRESULT hr = LoadFromStream(stream, Dispatch(), *m_traits.map, &m_extent);
    if (SUCCEEDED(hr)) m_requiresSave = false;
    return hr;
}

STDMETHODIMP ControlBase::Save(IStream* stream, BOOL clearDirty) {
    if (!stream) return E_POINTER;
    HRESULT hr = SaveToStream(stream, Dispatch(), *m_traits.map, &m_extent);
    if (SUCCEEDED(hr) && clearDirty) m_requiresSave = false;
    return hr;
}

STDMETHODIMP ControlBase::GetSizeMax(ULARGE_INTEGER* size) {
    if (!size) return E_POINTER;
    return SizeMax(Dispatch(), *m_traits.map, size);
}

STDMETHODIMP ControlBase::InitNew() { return InitNewProperties(); }

STDMETHODIMP ControlBase::InitNew(IStorage*) { return InitNew(); }

STDMETHODIMP ControlBase::Load(IStorage* storage) {
    if (!storage) return E_POINTER;
    IStream* s = nullptr;
    HRESULT hr = storage->OpenStream(L"Contents", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &s);
    if (FAILED(hr)) return hr;
    hr = Load(s);
    s->Release();
    return hr;
}

STDMETHODIMP ControlBase::Save(IStorage* storage, BOOL) {
    if (!storage) return E_POINTER;
    IStream* s = nullptr;
    HRESULT hr = storage->CreateStream(L"Contents", STGM_WRITE | STGM_SHARE_EXCLUSIVE | STGM_CREATE, 0, 0, &s);
    if (FAILED(hr)) return hr;
    hr = Save(s, TRUE);
    s->Release();
    return hr;
}

STDMETHODIMP ControlBase::SaveCompleted(IStorage*) { return S_OK; }
STDMETHODIMP ControlBase::HandsOffStorage() { return S_OK; }

STDMETHODIMP ControlBase::Load(IPropertyBag* bag, IErrorLog* log) {
    if (!bag) return E_POINTER;
    HRESULT hr = LoadFromBag(bag, log, Dispatch(), *m_traits.map, &m_extent);
    if (SUCCEEDED(hr)) m_requiresSave = false;
    return hr;
}

STDMETHODIMP ControlBase::Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) {
    if (!bag) return E_POINTER;
    HRESULT hr = SaveToBag(bag, Dispatch(), *m_traits.map, &m_extent, saveAll);
    if (SUCCEEDED(hr) && clearDirty) m_requiresSave = false;
    return hr;
}

}  // namespace fw

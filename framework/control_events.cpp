// Control base: connection points, property notifications and events.
#include "control.h"
#include "enumerators.h"

namespace fw {

// ---------------------------------------------------------------- connection point

ConnectionPoint::~ConnectionPoint() { Clear(); }

void ConnectionPoint::Clear() {
    std::vector<IUnknown*> sinks;
    sinks.swap(m_sinks);
    for (IUnknown* s : sinks)
        if (s) s->Release();
}

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IConnectionPoint)) {
        *ppv = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

// A connection point lives inside its control and shares its lifetime.
STDMETHODIMP_(ULONG) ConnectionPoint::AddRef() { return m_owner->Controlling()->AddRef(); }
STDMETHODIMP_(ULONG) ConnectionPoint::Release() { return m_owner->Controlling()->Release(); }

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = m_iid;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** cpc) {
    if (!cpc) return E_POINTER;
    return m_owner->Controlling()->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(cpc));
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    IUnknown* itf = nullptr;
    if (FAILED(sink->QueryInterface(m_iid, reinterpret_cast<void**>(&itf))) || !itf) return CONNECT_E_CANNOTCONNECT;
    for (size_t i = 0; i < m_sinks.size(); ++i) {
        if (!m_sinks[i]) {
            m_sinks[i] = itf;
            *cookie = (DWORD)(i + 1);
            return S_OK;
        }
    }
    m_sinks.push_back(itf);
    *cookie = (DWORD)m_sinks.size();
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
    if (cookie == 0 || cookie > m_sinks.size() || !m_sinks[cookie - 1]) return CONNECT_E_NOCONNECTION;
    IUnknown* s = m_sinks[cookie - 1];
    m_sinks[cookie - 1] = nullptr;
    s->Release();
    return S_OK;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** out) {
    if (!out) return E_POINTER;
    std::vector<CONNECTDATA> data;
    for (size_t i = 0; i < m_sinks.size(); ++i)
        if (m_sinks[i]) data.push_back(CONNECTDATA{m_sinks[i], (DWORD)(i + 1)});
    return ConnectionEnum::Create(data.data(), data.size(), m_owner->Controlling(), out);
}

// ---------------------------------------------------------------- notifications

HRESULT ControlBase::FireOnRequestEdit(DISPID id) {
    HRESULT answer = S_OK;
    m_notifyCP.ForEachSink<IPropertyNotifySink>([&](IPropertyNotifySink* s) {
        if (s->OnRequestEdit(id) == S_FALSE) answer = S_FALSE;
        return answer == S_OK;
    });
    return answer;
}

void ControlBase::FireOnChanged(DISPID id) {
    m_notifyCP.ForEachSink<IPropertyNotifySink>([&](IPropertyNotifySink* s) {
        s->OnChanged(id);
        return true;
    });
}

void ControlBase::FireViewChange() {
    if (m_inPlaceActive && m_hwnd) InvalidateRect(m_hwnd, nullptr, TRUE);
    else if (m_viewSink) m_viewSink->OnViewChange(DVASPECT_CONTENT, -1);
}

void ControlBase::SendOnDataChange(DWORD advf) {
    if (m_dataAdvise) m_dataAdvise->SendOnDataChange(static_cast<IDataObject*>(this), 0, advf);
}

HRESULT ControlBase::FireEvent(DISPID id, UINT count, const std::function<void(VARIANT*)>& build) {
    HRESULT hr = S_OK;
    VARIANT args[kMaxEventArgs];
    if (count > kMaxEventArgs) return E_INVALIDARG;
    // A sink may release the control inside its handler: keep it alive.
    IUnknown* self = Controlling();
    self->AddRef();
    m_eventCP.ForEachSink<IDispatch>([&](IDispatch* d) {
        // Each sink gets arguments of its own: one may change what it is given.
        build(args);
        DISPPARAMS params{count ? args : nullptr, nullptr, count, 0};
        VARIANT result;
        VariantInit(&result);
        hr = d->Invoke(id, IID_NULL, 0x400, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
        VariantClear(&result);
        for (UINT k = 0; k < count; ++k) VariantClear(&args[k]);
        return true;
    });
    self->Release();
    return hr;
}

// ---------------------------------------------------------------- connection points

STDMETHODIMP ControlBase::EnumConnectionPoints(IEnumConnectionPoints** out) {
    IConnectionPoint* points[] = {&m_eventCP, &m_notifyCP};
    return ConnectionPointEnum::Create(points, 2, Controlling(), out);
}

STDMETHODIMP ControlBase::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (IsEqualIID(iid, m_eventCP.Iid())) *out = &m_eventCP;
    else if (IsEqualIID(iid, IID_IPropertyNotifySink)) *out = &m_notifyCP;
    else return CONNECT_E_NOCONNECTION;
    (*out)->AddRef();
    return S_OK;
}

}  // namespace fw

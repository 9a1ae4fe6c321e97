#include "recorders.h"

namespace testsupport {

// ---------------------------------------------------------------- SinkConnection

HRESULT SinkConnection::Connect(IUnknown* source, REFIID iid, IUnknown* sink) {
    if (!source || !sink) return E_POINTER;
    if (m_point) return E_UNEXPECTED;
    IConnectionPointContainer* cpc = nullptr;
    HRESULT hr = source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc));
    if (FAILED(hr)) return hr;
    IConnectionPoint* cp = nullptr;
    hr = cpc->FindConnectionPoint(iid, &cp);
    cpc->Release();
    if (FAILED(hr)) return hr;
    DWORD cookie = 0;
    hr = cp->Advise(sink, &cookie);
    if (FAILED(hr)) {
        cp->Release();
        return hr;
    }
    m_point = cp;
    m_cookie = cookie;
    return S_OK;
}

HRESULT SinkConnection::Disconnect() {
    if (!m_point) return S_FALSE;
    IConnectionPoint* cp = m_point;
    m_point = nullptr;
    HRESULT hr = cp->Unadvise(m_cookie);
    m_cookie = 0;
    cp->Release();
    return hr;
}

// ---------------------------------------------------------------- EventRecorder

STDMETHODIMP EventRecorder::QueryInterface(REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, m_iid)) {
        *ppv = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

STDMETHODIMP EventRecorder::Invoke(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO*, UINT*) {
    RecordedEvent ev;
    ev.dispid = id;
    ev.flags = flags;
    ev.lcid = lcid;
    if (params) {
        ev.namedArgs = params->cNamedArgs;
        // Arguments arrive last-first; keep them first-first.
        for (UINT i = params->cArgs; i-- > 0;) {
            const VARIANT& a = params->rgvarg[i];
            ev.types.push_back(V_VT(&a));
            Variant copy;
            VariantCopyInd(&copy.v, const_cast<VARIANT*>(&a));
            ev.args.push_back(copy);
        }
    }
    if (result) VariantInit(result);
    m_events.push_back(ev);
    if (mutateArgs && params) {
        // A careless sink: it overwrites its in-arguments.
        for (UINT i = 0; i < params->cArgs; ++i) {
            VariantClear(&params->rgvarg[i]);
            V_VT(&params->rgvarg[i]) = VT_I4;
            V_I4(&params->rgvarg[i]) = -1;
        }
    }
    if (onEvent) onEvent(ev);
    return answer;
}

size_t EventRecorder::Count(DISPID dispid) const {
    size_t n = 0;
    for (const auto& e : m_events)
        if (e.dispid == dispid) ++n;
    return n;
}

const RecordedEvent* EventRecorder::Last(DISPID dispid) const {
    for (auto it = m_events.rbegin(); it != m_events.rend(); ++it)
        if (it->dispid == dispid) return &*it;
    return nullptr;
}

std::vector<DISPID> EventRecorder::Dispids() const {
    std::vector<DISPID> ids;
    for (const auto& e : m_events) ids.push_back(e.dispid);
    return ids;
}

// ---------------------------------------------------------------- NotifyRecorder

STDMETHODIMP NotifyRecorder::QueryInterface(REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyNotifySink)) {
        *ppv = static_cast<IPropertyNotifySink*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

STDMETHODIMP NotifyRecorder::OnChanged(DISPID dispid) {
    m_log.push_back({NotifyEntry::Changed, dispid});
    if (onChanged) onChanged(dispid);
    return S_OK;
}

STDMETHODIMP NotifyRecorder::OnRequestEdit(DISPID dispid) {
    m_log.push_back({NotifyEntry::Request, dispid});
    return veto ? S_FALSE : S_OK;
}

size_t NotifyRecorder::Changed(DISPID dispid) const {
    size_t n = 0;
    for (const auto& e : m_log)
        if (e.kind == NotifyEntry::Changed && e.dispid == dispid) ++n;
    return n;
}

size_t NotifyRecorder::Requests(DISPID dispid) const {
    size_t n = 0;
    for (const auto& e : m_log)
        if (e.kind == NotifyEntry::Request && e.dispid == dispid) ++n;
    return n;
}

std::vector<DISPID> NotifyRecorder::ChangedDispids() const {
    std::vector<DISPID> ids;
    for (const auto& e : m_log)
        if (e.kind == NotifyEntry::Changed) ids.push_back(e.dispid);
    return ids;
}

}  // namespace testsupport

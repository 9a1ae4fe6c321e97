// Control base: the OLE object and its verbs, the control interface, property
// pages, quick activation, per-property browsing, and the link and runnable
// object interfaces a container may ask for.
#include "control.h"
#include "enumerators.h"

namespace fw {

namespace {

// The one verb a control offers on the container's menu.
OLEVERB g_verbs[] = {
    {0, const_cast<LPOLESTR>(L"&Properties"), 0, OLEVERBATTRIB_ONCONTAINERMENU},
};

}  // namespace

// ---------------------------------------------------------------- IOleObject

STDMETHODIMP ControlBase::SetClientSite(IOleClientSite* site) {
    if (site) site->AddRef();
    if (m_clientSite) m_clientSite->Release();
    m_clientSite = site;
    HRESULT result = S_OK;
    if (m_font || !site) return result;

    IFont* ambient = nullptr;
    if (SUCCEEDED(GetAmbientFont(&ambient)) && ambient) {
        IFont* clone = nullptr;
        if (SUCCEEDED(ambient->Clone(&clone)) && clone) {
            clone->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(&m_font));
            clone->Release();
        }
        ambient->Release();
    }
    if (!m_font) {
        FONTDESC fd{};
        fd.cbSizeofstruct = sizeof(FONTDESC);
        fd.lpstrName = const_cast<LPOLESTR>(L"times new roman");
        fd.cySize.int64 = 100000;  // 10 points
        fd.sWeight = 500;
        fd.sCharset = 0;
        OleCreateFontIndirect(&fd, IID_IFontDisp, reinterpret_cast<void**>(&m_font));
    }
    if (m_font && m_fontSink && m_fontSinkCookie) {
        IConnectionPointContainer* cpc = nullptr;
        if (SUCCEEDED(m_font->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc)))) {
            IConnectionPoint* cp = nullptr;
            if (SUCCEEDED(cpc->FindConnectionPoint(IID_IPropertyNotifySink, &cp))) {
                if (SUCCEEDED(cp->Advise(m_fontSink, m_fontSinkCookie))) m_connectedFont = m_font;
                cp->Release();
            }
            cpc->Release();
        }
    }
    return result;
}

STDMETHODIMP ControlBase::GetClientSite(IOleClientSite** site) {
    if (!site) return E_POINTER;
    *site = m_clientSite;
    if (m_clientSite) m_clientSite->AddRef();
    return S_OK;
}

STDMETHODIMP ControlBase::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

STDMETHODIMP ControlBase::Close(DWORD saveOption) {
    InPlaceDeactivate();
    if (m_clientSite && m_requiresSave &&
        (saveOption == OLECLOSE_SAVEIFDIRTY || saveOption == OLECLOSE_PROMPTSAVE)) {
        m_clientSite->SaveObject();
    }
    if (m_oleAdvise) m_oleAdvise->SendOnClose();
    return S_OK;
}

STDMETHODIMP ControlBase::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }
STDMETHODIMP ControlBase::GetMoniker(DWORD, DWORD, IMoniker** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP ControlBase::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }
STDMETHODIMP ControlBase::GetClipboardData(DWORD, IDataObject** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ControlBase::DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT rect) {
    if (site && !m_clientSite) SetClientSite(site);
    switch (verb) {
    case OLEIVERB_PRIMARY:  // the registered verb 0 is "&Properties"
    case OLEIVERB_PROPERTIES:
        return ShowPropertyFrame(parent);
    case OLEIVERB_SHOW:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
        return InPlaceActivate(verb, rect);
    case OLEIVERB_HIDE:
        UIDeactivate();
        if (m_hwnd) ShowWindow(m_hwnd, SW_HIDE);
        return S_OK;
    case OLEIVERB_OPEN:
    case OLEIVERB_DISCARDUNDOSTATE:
        return E_NOTIMPL;
    default:
        return verb > 0 ? OLEOBJ_S_INVALIDVERB : E_NOTIMPL;
    }
}

STDMETHODIMP ControlBase::EnumVerbs(IEnumOLEVERB** out) {
    return VerbEnum::Create(g_verbs, sizeof(g_verbs) / sizeof(g_verbs[0]), Controlling(), out);
}

STDMETHODIMP ControlBase::Update() { return S_OK; }
STDMETHODIMP ControlBase::IsUpToDate() { return S_OK; }

STDMETHODIMP ControlBase::GetUserClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = *m_traits.clsid;
    return S_OK;
}

STDMETHODIMP ControlBase::GetUserType(DWORD form, LPOLESTR* type) {
    return OleRegGetUserType(*m_traits.clsid, form, type);
}

STDMETHODIMP ControlBase::SetExtent(DWORD aspect, SIZEL* size) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size) return E_POINTER;
    m_extent = *size;
    m_requiresSave = true;
    return S_OK;
}

STDMETHODIMP ControlBase::GetExtent(DWORD aspect, SIZEL* size) {
    if (aspect != DVASPECT_CONTENT) return E_FAIL;
    if (!size) return E_POINTER;
    *size = m_extent;
    return S_OK;
}

STDMETHODIMP ControlBase::Advise(IAdviseSink* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!m_oleAdvise) {
        HRESULT hr = CreateOleAdviseHolder(&m_oleAdvise);
        if (FAILED(hr)) return hr;
    }
    return m_oleAdvise->Advise(sink, cookie);
}

STDMETHODIMP ControlBase::Unadvise(DWORD cookie) {
    if (!m_oleAdvise) return OLE_E_NOCONNECTION;
    return m_oleAdvise->Unadvise(cookie);
}

STDMETHODIMP ControlBase::EnumAdvise(IEnumSTATDATA** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!m_oleAdvise) return E_FAIL;
    return m_oleAdvise->EnumAdvise(out);
}

STDMETHODIMP ControlBase::GetMiscStatus(DWORD, DWORD* status) {
    if (!status) return E_POINTER;
    *status = LibraryInfo().oleMisc;
    return S_OK;
}

STDMETHODIMP ControlBase::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

// ---------------------------------------------------------------- IOleControl

STDMETHODIMP ControlBase::GetControlInfo(CONTROLINFO* ci) {
    if (!ci) return E_POINTER;
    ci->hAccel = nullptr;
    ci->cAccel = 0;
    ci->dwFlags = 0;
    return S_OK;
}
STDMETHODIMP ControlBase::OnMnemonic(MSG*) { return E_NOTIMPL; }
STDMETHODIMP ControlBase::OnAmbientPropertyChange(DISPID) { return S_OK; }
STDMETHODIMP ControlBase::FreezeEvents(BOOL freeze) {
    m_eventsFrozen = freeze != FALSE;
    return S_OK;
}

// ---------------------------------------------------------------- pages

STDMETHODIMP ControlBase::GetPages(CAUUID* pages) {
    if (!pages) return E_POINTER;
    CLSID found[32];
    size_t n = MapPages(*m_traits.map, found, 32);
    pages->cElems = 0;
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID) * (n ? n : 1)));
    if (!pages->pElems) return E_OUTOFMEMORY;
    for (size_t i = 0; i < n; ++i) pages->pElems[i] = found[i];
    pages->cElems = (ULONG)n;
    return S_OK;
}

HRESULT ControlBase::ShowPropertyFrame(HWND parent) {
    CAUUID pages{0, nullptr};
    HRESULT hr = GetPages(&pages);
    if (FAILED(hr)) return hr;
    // Pages that cannot be created here (the stock pages are missing on some
    // systems) are left out rather than failing the whole frame.
    ULONG usable = 0;
    for (ULONG i = 0; i < pages.cElems; ++i) {
        IUnknown* probe = nullptr;
        if (SUCCEEDED(CoCreateInstance(pages.pElems[i], nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                                       reinterpret_cast<void**>(&probe)))) {
            probe->Release();
            pages.pElems[usable++] = pages.pElems[i];
        }
    }
    LPOLESTR caption = nullptr;
    OleRegGetUserType(*m_traits.clsid, USERCLASSTYPE_SHORT, &caption);
    if (!parent && m_hwnd) parent = m_hwnd;
    IUnknown* self = Controlling();
    hr = usable ? OleCreatePropertyFrame(parent, 0, 0, caption, 1, &self, usable, pages.pElems, LOCALE_USER_DEFAULT,
                                         0, nullptr)
                : S_OK;
    CoTaskMemFree(caption);
    CoTaskMemFree(pages.pElems);
    return hr;
}

// ---------------------------------------------------------------- quick activation

STDMETHODIMP ControlBase::QuickActivate(QACONTAINER* container, QACONTROL* control) {
    if (!container || !control) return E_POINTER;
    if (container->cbSize < sizeof(QACONTAINER) || control->cbSize < sizeof(QACONTROL)) return E_INVALIDARG;
    SetClientSite(container->pClientSite);
    if (container->pAdviseSink) SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
    control->dwEventCookie = 0;
    control->dwPropNotifyCookie = 0;
    if (container->pPropertyNotifySink) m_notifyCP.Advise(container->pPropertyNotifySink, &control->dwPropNotifyCookie);
    if (container->pUnkEventSink) m_eventCP.Advise(container->pUnkEventSink, &control->dwEventCookie);
    GetMiscStatus(DVASPECT_CONTENT, &control->dwMiscStatus);
    GetViewStatus(&control->dwViewStatus);
    control->dwPointerActivationPolicy = 0;
    return S_OK;
}

STDMETHODIMP ControlBase::SetContentExtent(LPSIZEL size) { return SetExtent(DVASPECT_CONTENT, size); }
STDMETHODIMP ControlBase::GetContentExtent(LPSIZEL size) { return GetExtent(DVASPECT_CONTENT, size); }

// ---------------------------------------------------------------- per-property browsing

STDMETHODIMP ControlBase::GetDisplayString(DISPID, BSTR* out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ControlBase::MapPropertyToPage(DISPID id, CLSID* page) {
    if (!page) return E_POINTER;
    const PropMap& map = *m_traits.map;
    for (size_t i = 0; i < map.count; ++i) {
        const PropRow& row = map.rows[i];
        if (row.kind == RowKind::Property && row.dispid == id && row.page) {
            *page = *row.page;
            return S_OK;
        }
    }
    *page = CLSID_NULL;
    return PERPROP_E_NOPAGEAVAILABLE;
}

STDMETHODIMP ControlBase::GetPredefinedStrings(DISPID, CALPOLESTR* strings, CADWORD* cookies) {
    if (strings) { strings->cElems = 0; strings->pElems = nullptr; }
    if (cookies) { cookies->cElems = 0; cookies->pElems = nullptr; }
    return E_NOTIMPL;
}

STDMETHODIMP ControlBase::GetPredefinedValue(DISPID, DWORD, VARIANT* out) {
    if (out) VariantInit(out);
    return E_NOTIMPL;
}

// ---------------------------------------------------------------- IOleLink (no link source)

STDMETHODIMP ControlBase::SetUpdateOptions(DWORD) { return E_NOTIMPL; }
STDMETHODIMP ControlBase::GetUpdateOptions(DWORD*) { return E_NOTIMPL; }
STDMETHODIMP ControlBase::SetSourceMoniker(IMoniker*, REFCLSID) { return E_NOTIMPL; }
STDMETHODIMP ControlBase::GetSourceMoniker(IMoniker** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP ControlBase::SetSourceDisplayName(LPCOLESTR) { return E_NOTIMPL; }
STDMETHODIMP ControlBase::GetSourceDisplayName(LPOLESTR* out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP ControlBase::BindToSource(DWORD, IBindCtx*) { return E_NOTIMPL; }
STDMETHODIMP ControlBase::BindIfRunning() { return E_NOTIMPL; }
STDMETHODIMP ControlBase::GetBoundSource(IUnknown** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP ControlBase::UnbindSource() { return E_NOTIMPL; }
STDMETHODIMP ControlBase::Update(IBindCtx*) { return E_NOTIMPL; }

// ---------------------------------------------------------------- IRunnableObject

STDMETHODIMP ControlBase::GetRunningClass(LPCLSID clsid) {
    if (!clsid) return E_POINTER;
    *clsid = *m_traits.clsid;
    return S_OK;
}
STDMETHODIMP ControlBase::Run(LPBINDCTX) { return S_OK; }
STDMETHODIMP_(BOOL) ControlBase::IsRunning() { return TRUE; }
STDMETHODIMP ControlBase::LockRunning(BOOL, BOOL) { return S_OK; }
STDMETHODIMP ControlBase::SetContainedObject(BOOL) { return S_OK; }

}  // namespace fw

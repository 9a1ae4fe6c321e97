#include "control.h"
#include "enumerators.h"
#include "dispatch.h"
#include "common/gdi.h"

namespace fw {

const CLSID kStockColorPage = {0x7EBDAAE1, 0x8120, 0x11CF, {0x89, 0x9F, 0x00, 0xAA, 0x00, 0x68, 0x8B, 0x10}};
const CLSID kStockFontPage = {0x7EBDAAE0, 0x8120, 0x11CF, {0x89, 0x9F, 0x00, 0xAA, 0x00, 0x68, 0x8B, 0x10}};

namespace {

const DWORD kSafetyOptions = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;

// The one verb a control offers on the container's menu.
OLEVERB g_verbs[] = {
    {0, const_cast<LPOLESTR>(L"&Properties"), 0, OLEVERBATTRIB_ONCONTAINERMENU},
};

const long kHimetricPerInch = 2540;

}  // namespace

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

// ---------------------------------------------------------------- construction

ControlBase::ControlBase(const Traits& traits)
    : m_traits(traits),
      m_eventCP(this, *traits.eventIid),
      m_notifyCP(this, IID_IPropertyNotifySink),
      m_safety(kSafetyOptions) {}

ControlBase::~ControlBase() {
    if (m_hwnd) {
        // Detach first so no message reaches a half-destroyed control.
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
        m_hwnd = nullptr;
    }
    ReleaseFont();
    if (m_fontSink) m_fontSink->Release();
    m_eventCP.Clear();
    m_notifyCP.Clear();
    if (m_inPlaceSite) m_inPlaceSite->Release();
    if (m_frame) m_frame->Release();
    if (m_uiWindow) m_uiWindow->Release();
    if (m_clientSite) m_clientSite->Release();
    if (m_viewSink) m_viewSink->Release();
    if (m_oleAdvise) m_oleAdvise->Release();
    if (m_dataAdvise) m_dataAdvise->Release();
    if (m_site) m_site->Release();
}

void* ControlBase::FindInterface(REFIID iid) {
    if (IsEqualIID(iid, *m_traits.dualIid) || IsEqualIID(iid, IID_IDispatch)) return Dispatch();
    if (IsEqualIID(iid, IID_IOleControl)) return static_cast<IOleControl*>(this);
    if (IsEqualIID(iid, IID_IOleObject)) return static_cast<IOleObject*>(this);
    if (IsEqualIID(iid, IID_IOleInPlaceActiveObject)) return static_cast<IOleInPlaceActiveObject*>(this);
    if (IsEqualIID(iid, IID_IViewObjectEx) || IsEqualIID(iid, IID_IViewObject2) || IsEqualIID(iid, IID_IViewObject))
        return static_cast<IViewObjectEx*>(this);
    if (IsEqualIID(iid, IID_IOleInPlaceObjectWindowless) || IsEqualIID(iid, IID_IOleInPlaceObject) ||
        IsEqualIID(iid, IID_IOleWindow))
        return static_cast<IOleInPlaceObjectWindowless*>(this);
    if (IsEqualIID(iid, IID_IPersistStreamInit) || IsEqualIID(iid, IID_IPersist))
        return static_cast<IPersistStreamInit*>(this);
    if (IsEqualIID(iid, IID_IPersistStorage)) return static_cast<IPersistStorage*>(this);
    if (IsEqualIID(iid, IID_IPersistPropertyBag)) return static_cast<IPersistPropertyBag*>(this);
    if (IsEqualIID(iid, IID_IConnectionPointContainer)) return static_cast<IConnectionPointContainer*>(this);
    if (IsEqualIID(iid, IID_ISpecifyPropertyPages)) return static_cast<ISpecifyPropertyPages*>(this);
    if (IsEqualIID(iid, IID_IQuickActivate)) return static_cast<IQuickActivate*>(this);
    if (IsEqualIID(iid, IID_IDataObject)) return static_cast<IDataObject*>(this);
    if (IsEqualIID(iid, IID_IProvideClassInfo2) || IsEqualIID(iid, IID_IProvideClassInfo))
        return static_cast<IProvideClassInfo2*>(this);
    if (IsEqualIID(iid, IID_IObjectSafety)) return static_cast<IObjectSafety*>(this);
    if (IsEqualIID(iid, IID_ISupportErrorInfo)) return static_cast<ISupportErrorInfo*>(this);
    if (IsEqualIID(iid, IID_IObjectWithSite)) return static_cast<IObjectWithSite*>(this);
    if (IsEqualIID(iid, IID_IPerPropertyBrowsing)) return static_cast<IPerPropertyBrowsing*>(this);
    if (IsEqualIID(iid, IID_IOleLink)) return static_cast<IOleLink*>(this);
    if (IsEqualIID(iid, IID_IRunnableObject)) return static_cast<IRunnableObject*>(this);
    return nullptr;
}

void ControlBase::AttachFontSink(IPropertyNotifySink* sink, DWORD* cookie) {
    if (m_fontSink) m_fontSink->Release();
    m_fontSink = sink;
    m_fontSinkCookie = cookie;
    if (m_fontSink) m_fontSink->AddRef();
}

// ---------------------------------------------------------------- notifications

HRESULT ControlBase::FireOnRequestEdit(DISPID id) {
    const auto& sinks = m_notifyCP.Sinks();
    size_t n = sinks.size();
    for (size_t i = 0; i < n && i < sinks.size(); ++i) {
        auto* s = static_cast<IPropertyNotifySink*>(sinks[i]);
        if (!s) continue;
        s->AddRef();
        HRESULT hr = s->OnRequestEdit(id);
        s->Release();
        if (hr == S_FALSE) return S_FALSE;
    }
    return S_OK;
}

void ControlBase::FireOnChanged(DISPID id) {
    const auto& sinks = m_notifyCP.Sinks();
    size_t n = sinks.size();
    for (size_t i = 0; i < n && i < sinks.size(); ++i) {
        auto* s = static_cast<IPropertyNotifySink*>(sinks[i]);
        if (!s) continue;
        s->AddRef();
        s->OnChanged(id);
        s->Release();
    }
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
    const auto& sinks = m_eventCP.Sinks();
    size_t n = sinks.size();
    for (size_t i = 0; i < n && i < sinks.size(); ++i) {
        auto* d = static_cast<IDispatch*>(sinks[i]);
        if (!d) continue;
        d->AddRef();
        // Each sink gets arguments of its own: one may change what it is given.
        build(args);
        DISPPARAMS params{count ? args : nullptr, nullptr, count, 0};
        VARIANT result;
        VariantInit(&result);
        hr = d->Invoke(id, IID_NULL, 0x400, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
        VariantClear(&result);
        for (UINT k = 0; k < count; ++k) VariantClear(&args[k]);
        d->Release();
    }
    self->Release();
    return hr;
}

bool ControlBase::HandleCommonInput(UINT msg, WPARAM wp, LPARAM lp, const CommonEventIds& ids, LRESULT& result) {
    switch (msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
        // key code, repeat count (low word), flags (high word)
        if (m_enabled)
            Fire(msg == WM_KEYDOWN ? ids.keyDown : ids.keyUp, (LONG)wp, (LONG)LOWORD(lp), (LONG)HIWORD(lp));
        result = 0;
        return true;
    case WM_LBUTTONDBLCLK:
        if (m_enabled) Fire(ids.dblClick);
        result = 0;
        return true;
    default:
        return false;
    }
}

bool ControlBase::PressAt(int x, int y, HRGN grip, const CommonEventIds& ids) {
    return Press(x, y, ids, [&] { return grip && PtInRegion(grip, x, y); });
}

bool ControlBase::PressAt(int x, int y, const RECT& grip, const CommonEventIds& ids) {
    return Press(x, y, ids, [&] { return x >= grip.left && x <= grip.right && y >= grip.top && y <= grip.bottom; });
}

// The grip is asked after MouseDown: a sink may have repainted the control.
bool ControlBase::Press(int x, int y, const CommonEventIds& ids, const std::function<bool()>& onGrip) {
    if (!m_enabled) return false;
    Fire(ids.mouseDown, (LONG)x, (LONG)y);
    if (onGrip()) m_drag = 1;
    return true;
}

bool ControlBase::ReleaseAt(int x, int y, const CommonEventIds& ids) {
    if (!m_enabled) return false;
    Fire(ids.mouseUp, (LONG)x, (LONG)y);
    if (m_drag) Fire(ids.click);
    m_drag = 0;
    return true;
}

// ---------------------------------------------------------------- ambients

HRESULT ControlBase::GetAmbientProperty(DISPID id, VARIANT* out) {
    VariantInit(out);
    if (!m_clientSite) return E_FAIL;
    IDispatch* amb = nullptr;
    HRESULT hr = m_clientSite->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&amb));
    if (FAILED(hr) || !amb) return E_FAIL;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    hr = amb->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, out, nullptr, nullptr);
    amb->Release();
    return hr;
}

HRESULT ControlBase::GetAmbientUserMode(BOOL& userMode) {
    VARIANT v;
    HRESULT hr = GetAmbientProperty(DISPID_AMBIENT_USERMODE, &v);
    if (SUCCEEDED(hr)) {
        hr = VariantChangeType(&v, &v, 0, VT_BOOL);
        if (SUCCEEDED(hr)) userMode = V_BOOL(&v) != VARIANT_FALSE;
    }
    VariantClear(&v);
    return hr;
}

HRESULT ControlBase::GetAmbientBackColor(OLE_COLOR& color) {
    VARIANT v;
    HRESULT hr = GetAmbientProperty(DISPID_AMBIENT_BACKCOLOR, &v);
    if (SUCCEEDED(hr)) {
        hr = VariantChangeType(&v, &v, 0, VT_UI4);
        if (SUCCEEDED(hr)) color = V_UI4(&v);
    }
    VariantClear(&v);
    return hr;
}

HRESULT ControlBase::GetAmbientFont(IFont** font) {
    *font = nullptr;
    VARIANT v;
    HRESULT hr = GetAmbientProperty(DISPID_AMBIENT_FONT, &v);
    if (SUCCEEDED(hr)) {
        IUnknown* unk = nullptr;
        if (V_VT(&v) == VT_DISPATCH) unk = V_DISPATCH(&v);
        else if (V_VT(&v) == VT_UNKNOWN) unk = V_UNKNOWN(&v);
        hr = unk ? unk->QueryInterface(IID_IFont, reinterpret_cast<void**>(font)) : E_FAIL;
    }
    VariantClear(&v);
    return hr;
}

// ---------------------------------------------------------------- fonts

void ControlBase::ReleaseFont(IFontDisp* next) {
    if (!m_font) return;
    // Disconnect the change sink from the font it watches, so a font that
    // outlives this control never calls into it; a font handed back again
    // (next) stays connected.
    if (m_font == m_connectedFont && next != m_connectedFont) {
        if (m_fontSinkCookie && *m_fontSinkCookie) {
            IConnectionPointContainer* cpc = nullptr;
            if (SUCCEEDED(m_font->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc)))) {
                IConnectionPoint* cp = nullptr;
                if (SUCCEEDED(cpc->FindConnectionPoint(IID_IPropertyNotifySink, &cp))) {
                    cp->Unadvise(*m_fontSinkCookie);
                    cp->Release();
                }
                cpc->Release();
            }
            *m_fontSinkCookie = 0;
        }
        m_connectedFont = nullptr;
    }
    IFontDisp* f = m_font;
    m_font = nullptr;
    f->Release();
}

HRESULT ControlBase::GetFont(IFontDisp** out) {
    if (!out) return E_POINTER;
    *out = m_font;
    if (m_font) m_font->AddRef();
    return S_OK;
}

HRESULT ControlBase::PutFont(IFontDisp* font) {
    if (FireOnRequestEdit(m_traits.fontIds.font) == S_FALSE) return S_OK;
    ReleaseFont();
    if (!font) return S_OK;
    IFont* src = nullptr;
    if (FAILED(font->QueryInterface(IID_IFont, reinterpret_cast<void**>(&src))) || !src) return S_OK;
    IFont* clone = nullptr;
    HRESULT hr = src->Clone(&clone);
    src->Release();
    if (FAILED(hr) || !clone) return S_OK;
    clone->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(&m_font));
    clone->Release();
    PropertyChanged(m_traits.fontIds.font);
    return S_OK;
}

HRESULT ControlBase::PutRefFont(IFontDisp* font) {
    if (FireOnRequestEdit(m_traits.fontIds.font) == S_FALSE) return S_OK;
    if (font) font->AddRef();  // before the release: it may be the same font
    ReleaseFont(font);
    m_font = font;
    PropertyChanged(m_traits.fontIds.font);
    return S_OK;
}

namespace {

// The current font's IFont, or null (then the font parts do nothing).
IFont* FontOf(IFontDisp* disp) {
    IFont* f = nullptr;
    if (disp && FAILED(disp->QueryInterface(IID_IFont, reinterpret_cast<void**>(&f)))) f = nullptr;
    return f;
}

VARIANT_BOOL ToVariantBool(BOOL b) { return b == TRUE ? VARIANT_TRUE : VARIANT_FALSE; }

}  // namespace

// A font part getter: E_POINTER for a null result, S_OK and nothing done
// without a font.
template <class T, class Get>
static HRESULT FontPartGet(IFontDisp* disp, T* out, Get get) {
    if (!out) return E_POINTER;
    IFont* f = FontOf(disp);
    if (!f) return S_OK;
    HRESULT hr = get(f, out);
    f->Release();
    return FAILED(hr) ? hr : S_OK;
}

template <class Put>
static HRESULT FontPartPut(ControlBase* ctl, IFontDisp* disp, DISPID fontId, DISPID ownId, Put put) {
    IFont* f = FontOf(disp);
    if (!f) return S_OK;
    HRESULT hr = put(f);
    f->Release();
    if (FAILED(hr)) return hr;
    // The repaint comes from the font-change sink of the connected font.
    ctl->FireOnChanged(fontId);
    ctl->FireOnChanged(ownId);
    ctl->SetDirty(true);
    ctl->SendOnDataChange(0);
    return S_OK;
}

HRESULT ControlBase::GetFontName(BSTR* out) {
    return FontPartGet(m_font, out, [](IFont* f, BSTR* p) { return f->get_Name(p); });
}
HRESULT ControlBase::PutFontName(BSTR name) {
    return FontPartPut(this, m_font, m_traits.fontIds.font, m_traits.fontIds.name,
                       [name](IFont* f) { return f->put_Name(name); });
}
HRESULT ControlBase::GetFontSize(short* out) {
    return FontPartGet(m_font, out, [](IFont* f, short* p) {
        CY cy;
        HRESULT hr = f->get_Size(&cy);
        if (SUCCEEDED(hr)) *p = (short)(cy.Lo / 10000);  // whole points, truncated
        return hr;
    });
}
HRESULT ControlBase::PutFontSize(short size) {
    return FontPartPut(this, m_font, m_traits.fontIds.font, m_traits.fontIds.size, [size](IFont* f) {
        CY cy;
        cy.Lo = (ULONG)(size * 10000);
        cy.Hi = 0;
        return f->put_Size(cy);
    });
}

// The four style parts differ only in the IFont member they call.
#define FW_FONT_STYLE_PART(Part, idField)                                                          \
    HRESULT ControlBase::GetFont##Part(VARIANT_BOOL* out) {                                        \
        return FontPartGet(m_font, out, [](IFont* f, VARIANT_BOOL* p) {                            \
            BOOL b = FALSE;                                                                        \
            HRESULT hr = f->get_##Part(&b);                                                        \
            if (SUCCEEDED(hr)) *p = ToVariantBool(b);                                              \
            return hr;                                                                             \
        });                                                                                        \
    }                                                                                              \
    HRESULT ControlBase::PutFont##Part(VARIANT_BOOL v) {                                           \
        return FontPartPut(this, m_font, m_traits.fontIds.font, m_traits.fontIds.idField,          \
                           [v](IFont* f) { return f->put_##Part(v == VARIANT_TRUE ? TRUE : FALSE); }); \
    }

FW_FONT_STYLE_PART(Bold, bold)
FW_FONT_STYLE_PART(Italic, italic)
FW_FONT_STYLE_PART(Underline, underline)
FW_FONT_STYLE_PART(Strikethrough, strikethrough)
#undef FW_FONT_STYLE_PART

HRESULT ControlBase::GetFontWeight(short* out) {
    return FontPartGet(m_font, out, [](IFont* f, short* p) { return f->get_Weight(p); });
}
HRESULT ControlBase::PutFontWeight(short w) {
    return FontPartPut(this, m_font, m_traits.fontIds.font, m_traits.fontIds.weight,
                       [w](IFont* f) { return f->put_Weight(w); });
}
HRESULT ControlBase::GetFontCharset(short* out) {
    return FontPartGet(m_font, out, [](IFont* f, short* p) { return f->get_Charset(p); });
}
HRESULT ControlBase::PutFontCharset(short c) {
    return FontPartPut(this, m_font, m_traits.fontIds.font, m_traits.fontIds.charset,
                       [c](IFont* f) { return f->put_Charset(c); });
}

HRESULT ControlBase::GetEnabled(VARIANT_BOOL* out) {
    if (!out) return E_POINTER;
    *out = m_enabled == 1 ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT ControlBase::PutEnabled(VARIANT_BOOL v, DISPID id) {
    BOOL userMode = TRUE;
    HRESULT hr = GetAmbientUserMode(userMode);
    m_enabled = (v == VARIANT_TRUE) ? 1 : 0;
    if ((FAILED(hr) || userMode) && m_hwnd) EnableWindow(m_hwnd, m_enabled);
    m_drag = 0;
    OnEnabledChanged();
    PropertyChanged(id);
    return S_OK;
}

HRESULT ControlBase::GetHwnd(LONG* out) {
    if (!out) return E_POINTER;
    *out = (LONG)(LONG_PTR)m_hwnd;
    return S_OK;
}

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

// ---------------------------------------------------------------- in-place activation

namespace {
void HimetricToPixels(const SIZEL& him, SIZE& px) {
    HDC dc = GetDC(nullptr);
    px.cx = MulDiv(him.cx, GetDeviceCaps(dc, LOGPIXELSX), kHimetricPerInch);
    px.cy = MulDiv(him.cy, GetDeviceCaps(dc, LOGPIXELSY), kHimetricPerInch);
    ReleaseDC(nullptr, dc);
}
}  // namespace

HRESULT ControlBase::InPlaceActivate(LONG verb, const RECT*) {
    if (!m_clientSite) return E_UNEXPECTED;
    if (!m_inPlaceActive) {
        if (!m_inPlaceSite &&
            FAILED(m_clientSite->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&m_inPlaceSite))))
            return E_FAIL;
        if (m_inPlaceSite->CanInPlaceActivate() != S_OK) return E_FAIL;
        m_inPlaceActive = true;
        m_inPlaceSite->OnInPlaceActivate();

        HWND parent = nullptr;
        m_inPlaceSite->GetWindow(&parent);
        RECT pos{}, clip{};
        OLEINPLACEFRAMEINFO info{};
        info.cb = sizeof(info);
        if (m_frame) { m_frame->Release(); m_frame = nullptr; }
        if (m_uiWindow) { m_uiWindow->Release(); m_uiWindow = nullptr; }
        m_inPlaceSite->GetWindowContext(&m_frame, &m_uiWindow, &pos, &clip, &info);
        if (IsRectEmpty(&pos)) {
            SIZE px;
            HimetricToPixels(m_extent, px);
            SetRect(&pos, 0, 0, px.cx, px.cy);
        }
        if (!m_hwnd) {
            if (!CreateControlWindow(parent, pos)) {
                m_inPlaceActive = false;
                m_inPlaceSite->OnInPlaceDeactivate();
                return E_FAIL;
            }
        } else {
            SetParent(m_hwnd, parent);
            SetObjectRects(&pos, &clip);
            ShowWindow(m_hwnd, SW_SHOW);
        }
    }
    if (m_hwnd && !IsWindowVisible(m_hwnd)) ShowWindow(m_hwnd, SW_SHOW);
    if ((verb == OLEIVERB_UIACTIVATE || verb == OLEIVERB_SHOW) && !m_uiActive) {
        m_uiActive = true;
        m_inPlaceSite->OnUIActivate();
        if (m_hwnd && GetFocus() != m_hwnd) SetFocus(m_hwnd);
        auto* active = static_cast<IOleInPlaceActiveObject*>(this);
        if (m_frame) m_frame->SetActiveObject(active, nullptr);
        if (m_uiWindow) m_uiWindow->SetActiveObject(active, nullptr);
        if (m_frame) m_frame->SetBorderSpace(nullptr);
        if (m_uiWindow) m_uiWindow->SetBorderSpace(nullptr);
    }
    m_clientSite->ShowObject();
    return S_OK;
}

HWND ControlBase::CreateControlWindow(HWND parent, const RECT& pos) {
    HINSTANCE inst = ModuleInstance();
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(inst, m_traits.windowClass, &wc)) {
        wc.cbSize = sizeof(wc);
        wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = StaticWndProc;
        wc.hInstance = inst;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = m_traits.windowClass;
        ATOM atom = RegisterClassExW(&wc);
        if (!atom) return nullptr;
        AddWindowClassToUnregister(atom);
    }
    HWND h = CreateWindowExW(0, m_traits.windowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                             pos.left, pos.top, pos.right - pos.left, pos.bottom - pos.top, parent, nullptr, inst,
                             this);
    return h;
}

LRESULT CALLBACK ControlBase::StaticWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        auto* self = static_cast<ControlBase*>(cs->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->m_hwnd = hwnd;
    }
    auto* self = reinterpret_cast<ControlBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->WindowProc(hwnd, msg, wp, lp);
}

LRESULT ControlBase::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    // Event handlers may release the control; it stays alive until the
    // message is done.
    IUnknown* self = Controlling();
    self->AddRef();
    LRESULT result = 0;
    bool handled = false;
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT rc;
        GetClientRect(hwnd, &rc);
        RECTL bounds{rc.left, rc.top, rc.right, rc.bottom};
        DrawInfo di{dc, &bounds, DVASPECT_CONTENT};
        OnDraw(di);
        EndPaint(hwnd, &ps);
        handled = true;
        break;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (m_inPlaceActive && m_clientSite) {
            IOleControlSite* cs = nullptr;
            if (SUCCEEDED(m_clientSite->QueryInterface(IID_IOleControlSite, reinterpret_cast<void**>(&cs)))) {
                cs->OnFocus(msg == WM_SETFOCUS);
                cs->Release();
            }
        }
        break;
    case WM_MOUSEACTIVATE: {
        BOOL userMode = TRUE;
        if (FAILED(GetAmbientUserMode(userMode))) userMode = TRUE;
        if (userMode && !m_uiActive) InPlaceActivate(OLEIVERB_UIACTIVATE);
        break;
    }
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        if (m_hwnd == hwnd) m_hwnd = nullptr;
        break;
    default:
        break;
    }
    if (!handled) handled = ProcessWindowMessage(hwnd, msg, wp, lp, result);
    if (!handled) result = DefWindowProcW(hwnd, msg, wp, lp);
    self->Release();
    return result;
}

STDMETHODIMP ControlBase::GetWindow(HWND* hwnd) {
    if (!hwnd) return E_POINTER;
    *hwnd = m_hwnd;
    return m_hwnd ? S_OK : E_FAIL;
}

STDMETHODIMP ControlBase::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP ControlBase::InPlaceDeactivate() {
    if (!m_inPlaceActive) return S_OK;
    UIDeactivate();
    m_inPlaceActive = false;
    if (m_hwnd) {
        HWND h = m_hwnd;
        m_hwnd = nullptr;
        SetWindowLongPtrW(h, GWLP_USERDATA, 0);
        DestroyWindow(h);
    }
    if (m_inPlaceSite) {
        IOleInPlaceSite* site = m_inPlaceSite;
        m_inPlaceSite = nullptr;
        site->OnInPlaceDeactivate();
        site->Release();
    }
    if (m_frame) { m_frame->Release(); m_frame = nullptr; }
    if (m_uiWindow) { m_uiWindow->Release(); m_uiWindow = nullptr; }
    return S_OK;
}

STDMETHODIMP ControlBase::UIDeactivate() {
    if (!m_uiActive) return S_OK;
    m_uiActive = false;
    if (m_uiWindow) m_uiWindow->SetActiveObject(nullptr, nullptr);
    if (m_frame) m_frame->SetActiveObject(nullptr, nullptr);
    if (m_inPlaceSite) m_inPlaceSite->OnUIDeactivate(FALSE);
    return S_OK;
}

STDMETHODIMP ControlBase::SetObjectRects(LPCRECT pos, LPCRECT) {
    if (!pos) return E_POINTER;
    if (m_hwnd)
        SetWindowPos(m_hwnd, nullptr, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    return S_OK;
}

STDMETHODIMP ControlBase::ReactivateAndUndo() { return E_NOTIMPL; }
STDMETHODIMP ControlBase::OnWindowMessage(UINT, WPARAM, LPARAM, LRESULT*) { return S_FALSE; }
STDMETHODIMP ControlBase::GetDropTarget(IDropTarget** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP ControlBase::TranslateAccelerator(LPMSG) { return S_FALSE; }
STDMETHODIMP ControlBase::OnFrameWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP ControlBase::OnDocWindowActivate(BOOL) { return S_OK; }
STDMETHODIMP ControlBase::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }
STDMETHODIMP ControlBase::EnableModeless(BOOL) { return S_OK; }

// ---------------------------------------------------------------- view

void ControlBase::Render(HDC hdc, const RECT* bounds, bool metafile) {
    const bool own = !hdc || (m_hwnd && WindowFromDC(hdc) == m_hwnd);
    if (hdc) {
        if (bounds) Paint(RenderTarget{hdc, *bounds, metafile, own, true});
        return;
    }
    gdi::WindowDC windowDC(m_hwnd);
    if (!windowDC.get()) return;
    RenderTarget target{windowDC.get(), RECT{0, 0, 0, 0}, false, own, false};
    GetClientRect(m_hwnd, &target.bounds);
    Paint(target);
}

HRESULT ControlBase::OnDraw(DrawInfo& di) {
    m_metafile = GetDeviceCaps(di.hdcDraw, TECHNOLOGY) == DT_METAFILE;
    RECT rc{0, 0, 0, 0};
    if (di.prcBounds) SetRect(&rc, di.prcBounds->left, di.prcBounds->top, di.prcBounds->right, di.prcBounds->bottom);
    Render(di.hdcDraw, di.prcBounds ? &rc : nullptr, m_metafile);
    return S_OK;
}

STDMETHODIMP ControlBase::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC hdcDraw, LPCRECTL bounds,
                               LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    if (!hdcDraw) return E_INVALIDARG;
    if (aspect != DVASPECT_CONTENT && aspect != DVASPECT_OPAQUE && aspect != DVASPECT_TRANSPARENT)
        return DV_E_DVASPECT;
    RECTL rc;
    if (!bounds) {
        // Windowed controls draw into their own client area when no bounds come.
        RECT client{0, 0, 0, 0};
        if (m_hwnd) GetClientRect(m_hwnd, &client);
        rc = RECTL{client.left, client.top, client.right, client.bottom};
        bounds = &rc;
    }
    DrawInfo di{hdcDraw, bounds, aspect};
    return OnDraw(di);
}

STDMETHODIMP ControlBase::GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP ControlBase::Freeze(DWORD, LONG, void*, DWORD*) { return E_NOTIMPL; }
STDMETHODIMP ControlBase::Unfreeze(DWORD) { return E_NOTIMPL; }

STDMETHODIMP ControlBase::SetAdvise(DWORD aspects, DWORD advf, IAdviseSink* sink) {
    if (sink) sink->AddRef();
    if (m_viewSink) m_viewSink->Release();
    m_viewSink = sink;
    m_viewAdvf = advf;
    (void)aspects;
    return S_OK;
}

STDMETHODIMP ControlBase::GetAdvise(DWORD* aspects, DWORD* advf, IAdviseSink** sink) {
    if (aspects) *aspects = DVASPECT_CONTENT;
    if (advf) *advf = m_viewAdvf;
    if (sink) {
        *sink = m_viewSink;
        if (m_viewSink) m_viewSink->AddRef();
    }
    return S_OK;
}

STDMETHODIMP ControlBase::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) {
    return GetExtent(aspect, size);
}

STDMETHODIMP ControlBase::GetRect(DWORD, LPRECTL) { return E_NOTIMPL; }

STDMETHODIMP ControlBase::GetViewStatus(DWORD* status) {
    if (!status) return E_POINTER;
    *status = VIEWSTATUS_SOLIDBKGND | VIEWSTATUS_OPAQUE;
    return S_OK;
}

STDMETHODIMP ControlBase::QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT pt, LONG, DWORD* result) {
    if (!bounds || !result) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return E_FAIL;
    *result = PtInRect(bounds, pt) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

STDMETHODIMP ControlBase::QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT loc, LONG, DWORD* result) {
    if (!bounds || !loc || !result) return E_POINTER;
    if (aspect != DVASPECT_CONTENT) return E_FAIL;
    RECT r;
    *result = IntersectRect(&r, bounds, loc) ? HITRESULT_HIT : HITRESULT_OUTSIDE;
    return S_OK;
}

STDMETHODIMP ControlBase::GetNaturalExtent(DWORD, LONG, DVTARGETDEVICE*, HDC, DVEXTENTINFO*, LPSIZEL) {
    return E_NOTIMPL;
}

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

// ---------------------------------------------------------------- data object (advise only)

STDMETHODIMP ControlBase::GetData(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }
STDMETHODIMP ControlBase::GetDataHere(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }
STDMETHODIMP ControlBase::QueryGetData(FORMATETC*) { return E_NOTIMPL; }
STDMETHODIMP ControlBase::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
    if (out) out->ptd = nullptr;
    return E_NOTIMPL;
}
STDMETHODIMP ControlBase::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return E_NOTIMPL; }
STDMETHODIMP ControlBase::EnumFormatEtc(DWORD, IEnumFORMATETC** out) {
    if (out) *out = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ControlBase::DAdvise(FORMATETC* fmt, DWORD advf, IAdviseSink* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!m_dataAdvise) {
        HRESULT hr = CreateDataAdviseHolder(&m_dataAdvise);
        if (FAILED(hr)) return hr;
    }
    return m_dataAdvise->Advise(static_cast<IDataObject*>(this), fmt, advf, sink, cookie);
}

STDMETHODIMP ControlBase::DUnadvise(DWORD cookie) {
    if (!m_dataAdvise) return OLE_E_NOCONNECTION;
    return m_dataAdvise->Unadvise(cookie);
}

STDMETHODIMP ControlBase::EnumDAdvise(IEnumSTATDATA** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!m_dataAdvise) return E_FAIL;
    return m_dataAdvise->EnumAdvise(out);
}

// ---------------------------------------------------------------- class info, safety, site

STDMETHODIMP ControlBase::GetClassInfo(ITypeInfo** out) {
    if (!out) return E_POINTER;
    return GetModuleTypeInfo(*m_traits.clsid, out);
}

STDMETHODIMP ControlBase::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
        *guid = GUID_NULL;
        return E_INVALIDARG;
    }
    *guid = *m_traits.eventIid;
    return S_OK;
}

STDMETHODIMP ControlBase::GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) {
    if (!supported || !enabled) return E_POINTER;
    void* p = FindInterface(iid);
    if (!p && !IsEqualIID(iid, IID_IUnknown)) {
        *supported = *enabled = 0;
        return E_NOINTERFACE;
    }
    *supported = kSafetyOptions;
    *enabled = m_safety;
    return S_OK;
}

STDMETHODIMP ControlBase::SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) {
    if (!FindInterface(iid) && !IsEqualIID(iid, IID_IUnknown)) return E_NOINTERFACE;
    if (mask & ~kSafetyOptions) return E_FAIL;
    m_safety = (m_safety & ~mask) | (enabled & mask);
    return S_OK;
}

STDMETHODIMP ControlBase::InterfaceSupportsErrorInfo(REFIID iid) {
    return IsEqualIID(iid, *m_traits.dualIid) ? S_OK : S_FALSE;
}

STDMETHODIMP ControlBase::SetSite(IUnknown* site) {
    if (site) site->AddRef();
    if (m_site) m_site->Release();
    m_site = site;
    return S_OK;
}

STDMETHODIMP ControlBase::GetSite(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!m_site) return E_FAIL;
    return m_site->QueryInterface(iid, out);
}

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

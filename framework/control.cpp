// Control base: construction, the interface table, the common input rows,
// ambient properties, Enabled and hWnd, class info, safety and site. The
// other interfaces are in control_*.cpp, one concern each.
#include "control.h"

namespace fw {

const CLSID kStockColorPage = {0x7EBDAAE1, 0x8120, 0x11CF, {0x89, 0x9F, 0x00, 0xAA, 0x00, 0x68, 0x8B, 0x10}};
const CLSID kStockFontPage = {0x7EBDAAE0, 0x8120, 0x11CF, {0x89, 0x9F, 0x00, 0xAA, 0x00, 0x68, 0x8B, 0x10}};
const CLSID kStockPicturePage = {0x7EBDAAE2, 0x8120, 0x11CF, {0x89, 0x9F, 0x00, 0xAA, 0x00, 0x68, 0x8B, 0x10}};

namespace {

const DWORD kSafetyOptions = INTERFACESAFE_FOR_UNTRUSTED_CALLER | INTERFACESAFE_FOR_UNTRUSTED_DATA;

}  // namespace

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

// ---------------------------------------------------------------- common input

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

bool ControlBase::AtClientEdge(int x, int y) const {
    RECT rc{0, 0, 0, 0};
    if (m_hwnd) GetClientRect(m_hwnd, &rc);
    return x <= rc.left + 2 || x >= rc.right - 2 || y <= rc.top + 2 || y >= rc.bottom - 2;
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

OLE_COLOR ControlBase::AmbientBackColor() {
    OLE_COLOR color;
    return SUCCEEDED(GetAmbientBackColor(color)) ? color : GetSysColor(COLOR_WINDOW);
}

bool ControlBase::AmbientUserMode() {
    BOOL userMode = TRUE;
    return FAILED(GetAmbientUserMode(userMode)) || userMode;
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

HRESULT ControlBase::GetEnabled(VARIANT_BOOL* out) {
    if (!out) return E_POINTER;
    *out = m_enabled == 1 ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT ControlBase::PutEnabled(VARIANT_BOOL v, DISPID id) {
    const bool userMode = AmbientUserMode();
    m_enabled = (v == VARIANT_TRUE) ? 1 : 0;
    if (userMode && m_hwnd) EnableWindow(m_hwnd, m_enabled);
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

}  // namespace fw

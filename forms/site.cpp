#include "site.h"

#include <new>

namespace forms {

namespace {

constexpr LONG kHimetricPerInch = 2540;

int ScreenDpi(int index) {
    HDC dc = GetDC(nullptr);
    int dpi = dc ? GetDeviceCaps(dc, index) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

float ScaleF(LONG v, int mul, int div) { return static_cast<float>(static_cast<double>(v) * mul / div); }

LONG RoundL(double v) { return static_cast<LONG>(v < 0 ? v - 0.5 : v + 0.5); }

template <class T>
void ReleaseAndNull(T*& p) {
    if (p) {
        T* q = p;
        p = nullptr;
        q->Release();
    }
}

}  // namespace

// The frame and UI window of the container: the top-level window above the
// container window. It keeps the active object the control announces.
class InPlaceFrame final : public IOleInPlaceFrame {
public:
    InPlaceFrame(HWND hwnd, SiteCounters* counters) : m_hwnd(hwnd), m_counters(counters) {}

    // The site goes away before the frame may; stop counting into it.
    void Orphan() {
        m_counters = nullptr;
        ReleaseAndNull(m_active);
    }
    HWND Window() const { return m_hwnd; }
    IOleInPlaceActiveObject* Active() const { return m_active; }
    void ClearActive() { ReleaseAndNull(m_active); }

    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleWindow) ||
            IsEqualIID(iid, IID_IOleInPlaceUIWindow) || IsEqualIID(iid, IID_IOleInPlaceFrame))
            *ppv = static_cast<IOleInPlaceFrame*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG n = InterlockedDecrement(&m_refs);
        if (n == 0) {
            ReleaseAndNull(m_active);
            delete this;
        }
        return static_cast<ULONG>(n);
    }

    // IOleWindow
    STDMETHODIMP GetWindow(HWND* hwnd) override {
        if (!hwnd) return E_POINTER;
        *hwnd = m_hwnd;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return S_OK; }

    // IOleInPlaceUIWindow: no toolbars, so every border request is granted
    // as "nothing needed".
    STDMETHODIMP GetBorder(LPRECT border) override {
        if (!border) return E_POINTER;
        return ::GetClientRect(m_hwnd, border) ? S_OK : E_FAIL;
    }
    STDMETHODIMP RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
    STDMETHODIMP SetBorderSpace(LPCBORDERWIDTHS widths) override {
        if (!widths) return S_OK;
        return (widths->left || widths->top || widths->right || widths->bottom) ? OLE_E_INVALIDRECT : S_OK;
    }
    STDMETHODIMP SetActiveObject(IOleInPlaceActiveObject* active, LPCOLESTR) override {
        if (active) active->AddRef();
        ReleaseAndNull(m_active);
        m_active = active;
        if (active && m_counters) ++m_counters->activeObjectSets;
        return S_OK;
    }

    // IOleInPlaceFrame: no menus to merge, no status bar, no accelerators.
    STDMETHODIMP InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS widths) override {
        if (widths)
            for (LONG& w : widths->width) w = 0;
        return S_OK;
    }
    STDMETHODIMP SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
    STDMETHODIMP RemoveMenus(HMENU) override { return S_OK; }
    STDMETHODIMP SetStatusText(LPCOLESTR) override { return S_OK; }
    STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }
    STDMETHODIMP TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }

private:
    ~InPlaceFrame() = default;
    LONG m_refs = 1;
    HWND m_hwnd;
    SiteCounters* m_counters;
    IOleInPlaceActiveObject* m_active = nullptr;
};

// ---------------------------------------------------------------- lifetime

ControlSite::ControlSite(HWND container) : m_container(container) {
    HWND top = GetAncestor(container, GA_ROOT);
    m_frame = new InPlaceFrame(top ? top : container, &m_counters);
}

ControlSite::~ControlSite() {
    m_frame->Orphan();
    m_frame->Release();
}

HRESULT ControlSite::Create(HWND container, ControlSite** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsWindow(container)) return E_INVALIDARG;
    *out = new (std::nothrow) ControlSite(container);
    return *out ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP ControlSite::QueryInterface(REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite))
        *ppv = static_cast<IOleClientSite*>(this);
    else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceSite) ||
             IsEqualIID(iid, IID_IOleInPlaceSiteEx))
        *ppv = static_cast<IOleInPlaceSiteEx*>(this);
    else if (IsEqualIID(iid, IID_IOleControlSite))
        *ppv = static_cast<IOleControlSite*>(this);
    else if (IsEqualIID(iid, IID_IAdviseSink))
        *ppv = static_cast<IAdviseSink*>(this);
    else if (IsEqualIID(iid, IID_IDispatch) && !m_ambients.noDispatch)
        *ppv = static_cast<IDispatch*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) ControlSite::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }

STDMETHODIMP_(ULONG) ControlSite::Release() {
    LONG n = InterlockedDecrement(&m_refs);
    if (n == 0) {
        m_refs = 1;  // a control released below must not bring us back to zero
        if (m_control) Detach();
        delete this;
    }
    return static_cast<ULONG>(n);
}

// ---------------------------------------------------------------- driving the control

HRESULT ControlSite::Adopt(IUnknown* control) {
    if (!control) return E_POINTER;
    if (m_control) return E_UNEXPECTED;
    IOleObject* ole = nullptr;
    HRESULT hr = control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&ole));
    if (FAILED(hr)) return hr;
    control->AddRef();
    m_control = control;
    m_oleObject = ole;
    return S_OK;
}

HRESULT ControlSite::ConnectSite() {
    if (!m_oleObject) return E_UNEXPECTED;
    if (m_siteGiven) return S_OK;
    HRESULT hr = m_oleObject->SetClientSite(this);
    if (FAILED(hr)) return hr;
    m_siteGiven = true;

    IViewObject* view = nullptr;
    if (SUCCEEDED(m_control->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&view)))) {
        m_viewAdvised = SUCCEEDED(view->SetAdvise(DVASPECT_CONTENT, 0, this));
        view->Release();
    }
    IDataObject* data = nullptr;
    if (SUCCEEDED(m_control->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data)))) {
        FORMATETC fmt{0, nullptr, DVASPECT_CONTENT, -1, TYMED_NULL};
        if (FAILED(data->DAdvise(&fmt, ADVF_NODATA, this, &m_dataCookie))) m_dataCookie = 0;
        data->Release();
    }
    if (FAILED(m_oleObject->Advise(this, &m_oleCookie))) m_oleCookie = 0;
    return hr;
}

HRESULT ControlSite::Attach(IUnknown* control) {
    HRESULT hr = Adopt(control);
    if (FAILED(hr)) return hr;
    hr = ConnectSite();
    if (FAILED(hr)) {
        ReleaseAndNull(m_oleObject);
        ReleaseAndNull(m_control);
    }
    return hr;
}

HRESULT ControlSite::InitNew() {
    if (!m_control) return E_UNEXPECTED;
    IPersistStreamInit* psi = nullptr;
    if (SUCCEEDED(m_control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&psi)))) {
        HRESULT hr = psi->InitNew();
        psi->Release();
        return hr;
    }
    IPersistPropertyBag* bag = nullptr;
    if (SUCCEEDED(m_control->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(&bag)))) {
        HRESULT hr = bag->InitNew();
        bag->Release();
        return hr;
    }
    return E_NOINTERFACE;
}

HRESULT ControlSite::LoadFromStream(IStream* s) {
    if (!m_control) return E_UNEXPECTED;
    IPersistStreamInit* psi = nullptr;
    HRESULT hr = m_control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&psi));
    if (FAILED(hr)) return hr;
    hr = psi->Load(s);
    psi->Release();
    return hr;
}

HRESULT ControlSite::SaveToStream(IStream* s, BOOL clearDirty) {
    if (!m_control) return E_UNEXPECTED;
    IPersistStreamInit* psi = nullptr;
    HRESULT hr = m_control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&psi));
    if (FAILED(hr)) return hr;
    hr = psi->Save(s, clearDirty);
    psi->Release();
    return hr;
}

HRESULT ControlSite::DoVerb(LONG verb) {
    if (!m_oleObject) return E_UNEXPECTED;
    RECT pos = m_pos;
    return m_oleObject->DoVerb(verb, nullptr, this, 0, m_container, &pos);
}

HRESULT ControlSite::Activate(const RECT& pos) {
    if (!m_oleObject) return E_UNEXPECTED;
    m_pos = pos;
    SIZEL extent{PixelsToHimetricX(pos.right - pos.left), PixelsToHimetricY(pos.bottom - pos.top)};
    m_oleObject->SetExtent(DVASPECT_CONTENT, &extent);
    return DoVerb(OLEIVERB_INPLACEACTIVATE);
}

HRESULT ControlSite::UIActivate() { return DoVerb(OLEIVERB_UIACTIVATE); }

HRESULT ControlSite::Move(const RECT& pos) {
    if (!m_oleObject) return E_UNEXPECTED;
    m_pos = pos;
    SIZEL extent{PixelsToHimetricX(pos.right - pos.left), PixelsToHimetricY(pos.bottom - pos.top)};
    m_oleObject->SetExtent(DVASPECT_CONTENT, &extent);
    if (!m_inPlaceActive) return S_OK;
    return PushObjectRects();
}

HRESULT ControlSite::Deactivate() {
    if (!m_control) return E_UNEXPECTED;
    IOleInPlaceObject* ipo = nullptr;
    HRESULT hr = m_control->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&ipo));
    if (FAILED(hr)) return hr;
    hr = ipo->InPlaceDeactivate();
    ipo->Release();
    return hr;
}

void ControlSite::Unadvise() {
    if (!m_control) return;
    if (m_viewAdvised) {
        IViewObject* view = nullptr;
        if (SUCCEEDED(m_control->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&view)))) {
            view->SetAdvise(DVASPECT_CONTENT, 0, nullptr);
            view->Release();
        }
        m_viewAdvised = false;
    }
    if (m_dataCookie) {
        IDataObject* data = nullptr;
        if (SUCCEEDED(m_control->QueryInterface(IID_IDataObject, reinterpret_cast<void**>(&data)))) {
            data->DUnadvise(m_dataCookie);
            data->Release();
        }
        m_dataCookie = 0;
    }
    if (m_oleCookie && m_oleObject) {
        m_oleObject->Unadvise(m_oleCookie);
        m_oleCookie = 0;
    }
}

HRESULT ControlSite::Detach() {
    if (!m_control) return S_FALSE;
    AddRef();  // the control's release of its site must not end us mid-way
    if (m_inPlaceActive) Deactivate();
    HRESULT hr = m_oleObject->Close(OLECLOSE_NOSAVE);
    Unadvise();
    if (m_siteGiven) m_oleObject->SetClientSite(nullptr);
    m_siteGiven = false;
    m_inPlaceActive = m_uiActive = false;
    m_frame->ClearActive();
    ReleaseAndNull(m_oleObject);
    ReleaseAndNull(m_control);
    Release();
    return hr;
}

HWND ControlSite::ControlWindow() {
    if (!m_control || !m_inPlaceActive) return nullptr;
    IOleInPlaceObject* ipo = nullptr;
    if (FAILED(m_control->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&ipo)))) return nullptr;
    HWND hwnd = nullptr;
    if (FAILED(ipo->GetWindow(&hwnd)) || !IsWindow(hwnd)) hwnd = nullptr;
    ipo->Release();
    return hwnd;
}

HWND ControlSite::FrameWindow() const { return m_frame->Window(); }

IOleInPlaceActiveObject* ControlSite::ActiveObject() const { return m_frame->Active(); }

HRESULT ControlSite::PushObjectRects() {
    IOleInPlaceObject* ipo = nullptr;
    HRESULT hr = m_control->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&ipo));
    if (FAILED(hr)) return hr;
    RECT clip = ClipRect();
    hr = ipo->SetObjectRects(&m_pos, &clip);
    ipo->Release();
    return hr;
}

RECT ControlSite::ClipRect() const {
    RECT clip{};
    ::GetClientRect(m_container, &clip);
    return clip;
}

LONG ControlSite::PixelsToHimetricX(LONG px) { return MulDiv(px, kHimetricPerInch, ScreenDpi(LOGPIXELSX)); }
LONG ControlSite::PixelsToHimetricY(LONG px) { return MulDiv(px, kHimetricPerInch, ScreenDpi(LOGPIXELSY)); }
LONG ControlSite::HimetricToPixelsX(LONG him) { return MulDiv(him, ScreenDpi(LOGPIXELSX), kHimetricPerInch); }
LONG ControlSite::HimetricToPixelsY(LONG him) { return MulDiv(him, ScreenDpi(LOGPIXELSY), kHimetricPerInch); }

// ---------------------------------------------------------------- IOleClientSite

STDMETHODIMP ControlSite::SaveObject() {
    ++m_counters.saveObjects;
    return S_OK;
}

STDMETHODIMP ControlSite::GetMoniker(DWORD, DWORD, IMoniker** mk) {
    if (mk) *mk = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP ControlSite::GetContainer(IOleContainer** container) {
    if (!container) return E_POINTER;
    *container = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP ControlSite::ShowObject() {
    ++m_counters.showObjects;
    return S_OK;
}

STDMETHODIMP ControlSite::OnShowWindow(BOOL) { return S_OK; }

STDMETHODIMP ControlSite::RequestNewObjectLayout() { return E_NOTIMPL; }

// ---------------------------------------------------------------- IOleInPlaceSite(Ex)

STDMETHODIMP ControlSite::GetWindow(HWND* hwnd) {
    if (!hwnd) return E_POINTER;
    *hwnd = m_container;
    return S_OK;
}

STDMETHODIMP ControlSite::ContextSensitiveHelp(BOOL) { return S_OK; }

STDMETHODIMP ControlSite::CanInPlaceActivate() { return S_OK; }

STDMETHODIMP ControlSite::OnInPlaceActivate() {
    m_inPlaceActive = true;
    ++m_counters.inPlaceActivations;
    return S_OK;
}

STDMETHODIMP ControlSite::OnInPlaceActivateEx(BOOL* noRedraw, DWORD) {
    if (noRedraw) *noRedraw = FALSE;
    return OnInPlaceActivate();
}

STDMETHODIMP ControlSite::OnUIActivate() {
    m_uiActive = true;
    ++m_counters.uiActivations;
    return S_OK;
}

STDMETHODIMP ControlSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, RECT* pos,
                                           RECT* clip, OLEINPLACEFRAMEINFO* info) {
    if (frame) *frame = nullptr;
    if (doc) *doc = nullptr;
    if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
    m_frame->AddRef();
    *frame = m_frame;
    m_frame->AddRef();
    *doc = m_frame;
    *pos = m_pos;
    *clip = ClipRect();
    info->cb = sizeof(OLEINPLACEFRAMEINFO);
    info->fMDIApp = FALSE;
    info->hwndFrame = m_frame->Window();
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP ControlSite::Scroll(SIZE) { return E_NOTIMPL; }

STDMETHODIMP ControlSite::OnUIDeactivate(BOOL) {
    m_uiActive = false;
    ++m_counters.uiDeactivations;
    m_frame->ClearActive();
    return S_OK;
}

STDMETHODIMP ControlSite::OnInPlaceDeactivate() {
    m_inPlaceActive = false;
    ++m_counters.inPlaceDeactivations;
    return S_OK;
}

STDMETHODIMP ControlSite::OnInPlaceDeactivateEx(BOOL) { return OnInPlaceDeactivate(); }

STDMETHODIMP ControlSite::DiscardUndoState() { return S_OK; }

STDMETHODIMP ControlSite::DeactivateAndUndo() { return Deactivate(); }

STDMETHODIMP ControlSite::OnPosRectChange(LPCRECT pos) {
    if (!pos) return E_POINTER;
    ++m_counters.posRectChanges;
    m_pos = *pos;
    if (!m_control) return S_OK;
    return PushObjectRects();
}

STDMETHODIMP ControlSite::RequestUIActivate() { return S_OK; }

// ---------------------------------------------------------------- IOleControlSite

STDMETHODIMP ControlSite::OnControlInfoChanged() {
    ++m_counters.controlInfoChanges;
    return S_OK;
}

STDMETHODIMP ControlSite::LockInPlaceActive(BOOL) { return S_OK; }

STDMETHODIMP ControlSite::GetExtendedControl(IDispatch** disp) {
    if (!disp) return E_POINTER;
    *disp = nullptr;
    return E_NOTIMPL;
}

// Container coordinates are pixels of the container window.
STDMETHODIMP ControlSite::TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) {
    if (!himetric || !container) return E_POINTER;
    const DWORD kinds = XFORMCOORDS_POSITION | XFORMCOORDS_SIZE;
    const DWORD ways = XFORMCOORDS_HIMETRICTOCONTAINER | XFORMCOORDS_CONTAINERTOHIMETRIC;
    if (flags & ~(kinds | ways | XFORMCOORDS_EVENTCOMPAT)) return E_INVALIDARG;
    // Exactly one direction; position and size convert alike here.
    if ((flags & ways) == 0 || (flags & ways) == ways) return E_INVALIDARG;
    const int dx = ScreenDpi(LOGPIXELSX), dy = ScreenDpi(LOGPIXELSY);
    if (flags & XFORMCOORDS_HIMETRICTOCONTAINER) {
        container->x = ScaleF(himetric->x, dx, kHimetricPerInch);
        container->y = ScaleF(himetric->y, dy, kHimetricPerInch);
    } else {
        himetric->x = RoundL(container->x * kHimetricPerInch / dx);
        himetric->y = RoundL(container->y * kHimetricPerInch / dy);
    }
    return S_OK;
}

STDMETHODIMP ControlSite::TranslateAccelerator(MSG*, DWORD) { return S_FALSE; }

STDMETHODIMP ControlSite::OnFocus(BOOL gotFocus) {
    if (gotFocus)
        ++m_counters.focusGained;
    else
        ++m_counters.focusLost;
    return S_OK;
}

STDMETHODIMP ControlSite::ShowPropertyFrame() { return E_NOTIMPL; }

// ---------------------------------------------------------------- IAdviseSink

STDMETHODIMP_(void) ControlSite::OnDataChange(FORMATETC*, STGMEDIUM*) { ++m_counters.dataChanges; }

STDMETHODIMP_(void) ControlSite::OnViewChange(DWORD aspect, LONG index) {
    ++m_counters.viewChanges;
    m_counters.lastViewAspect = aspect;
    m_counters.lastViewIndex = index;
}

STDMETHODIMP_(void) ControlSite::OnRename(IMoniker*) {}

STDMETHODIMP_(void) ControlSite::OnSave() { ++m_counters.saves; }

STDMETHODIMP_(void) ControlSite::OnClose() { ++m_counters.closes; }

// ---------------------------------------------------------------- IDispatch (ambients)

STDMETHODIMP ControlSite::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                 UINT*) {
    m_counters.ambientQueries.push_back(id);
    if (m_ambients.noDispatch) return DISP_E_MEMBERNOTFOUND;
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (!result) return E_POINTER;
    VariantInit(result);
    switch (id) {
    case DISPID_AMBIENT_USERMODE:
        if (!m_ambients.answerUserMode) return DISP_E_MEMBERNOTFOUND;
        V_VT(result) = VT_BOOL;
        V_BOOL(result) = m_ambients.userMode ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    case DISPID_AMBIENT_BACKCOLOR:
        if (!m_ambients.answerBackColor) return DISP_E_MEMBERNOTFOUND;
        V_VT(result) = VT_I4;
        V_I4(result) = static_cast<LONG>(m_ambients.backColor);
        return S_OK;
    case DISPID_AMBIENT_FONT:
        if (!m_ambients.font) return DISP_E_MEMBERNOTFOUND;
        m_ambients.font->AddRef();
        V_VT(result) = VT_DISPATCH;
        V_DISPATCH(result) = m_ambients.font;
        return S_OK;
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

}  // namespace forms

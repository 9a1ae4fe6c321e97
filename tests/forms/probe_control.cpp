#include "probe_control.h"

#include <algorithm>

// {6A0F3C52-1D7E-4B8A-9C3D-2E5F7A1B0C91}
const IID DIID_ProbeEvents = {0x6a0f3c52, 0x1d7e, 0x4b8a, {0x9c, 0x3d, 0x2e, 0x5f, 0x7a, 0x1b, 0x0c, 0x91}};
// {6A0F3C53-1D7E-4B8A-9C3D-2E5F7A1B0C91}
const CLSID CLSID_Probe = {0x6a0f3c53, 0x1d7e, 0x4b8a, {0x9c, 0x3d, 0x2e, 0x5f, 0x7a, 0x1b, 0x0c, 0x91}};

// One connection point; its lifetime is the control's.
class ProbeConnectionPoint final : public IConnectionPoint {
public:
    ProbeConnectionPoint(ProbeControl* owner, REFIID iid) : m_owner(owner), m_iid(iid) {}
    ~ProbeConnectionPoint() {
        for (IUnknown* s : m_sinks)
            if (s) s->Release();
    }
    std::vector<IUnknown*> m_sinks;  // cookie = index + 1

    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IConnectionPoint)) return E_NOINTERFACE;
        *ppv = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return m_owner->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_owner->Release(); }
    STDMETHODIMP GetConnectionInterface(IID* iid) override {
        if (!iid) return E_POINTER;
        *iid = m_iid;
        return S_OK;
    }
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** cpc) override {
        return m_owner->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(cpc));
    }
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override {
        if (!sink || !cookie) return E_POINTER;
        if (IsEqualIID(m_iid, DIID_ProbeEvents)) ProbeJournal().push_back("Advise");
        IUnknown* typed = nullptr;
        if (FAILED(sink->QueryInterface(m_iid, reinterpret_cast<void**>(&typed)))) return CONNECT_E_CANNOTCONNECT;
        m_sinks.push_back(typed);
        *cookie = static_cast<DWORD>(m_sinks.size());
        return S_OK;
    }
    STDMETHODIMP Unadvise(DWORD cookie) override {
        if (cookie == 0 || cookie > m_sinks.size() || !m_sinks[cookie - 1]) return CONNECT_E_NOCONNECTION;
        if (IsEqualIID(m_iid, DIID_ProbeEvents)) ProbeJournal().push_back("Unadvise");
        IUnknown* s = m_sinks[cookie - 1];
        m_sinks[cookie - 1] = nullptr;
        s->Release();
        return S_OK;
    }
    STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

private:
    ProbeControl* m_owner;
    IID m_iid;
};

namespace {
const wchar_t kProbeClass[] = L"QevProbeControl";
}

ProbeControl* ProbeControl::Create() { return new ProbeControl(); }

bool ProbeControl::fireOnLoadDefault = false;
static LONG g_liveProbes = 0;
LONG LiveProbes() { return g_liveProbes; }
std::vector<std::string>& ProbeJournal() {
    static std::vector<std::string> journal;
    return journal;
}

ProbeControl::ProbeControl() {
    ++g_liveProbes;
    fireOnLoad = fireOnLoadDefault;
    m_events = new ProbeConnectionPoint(this, DIID_ProbeEvents);
    m_notify = new ProbeConnectionPoint(this, IID_IPropertyNotifySink);
    color = GetSysColor(COLOR_WINDOW);
}

ProbeControl::~ProbeControl() {
    --g_liveProbes;
    ProbeJournal().push_back("Destroyed");
    if (picture) picture->Release();
    if (hwnd) DestroyWindow(hwnd);
    delete m_events;
    delete m_notify;
    if (m_inPlaceSite) m_inPlaceSite->Release();
    if (m_viewSink) m_viewSink->Release();
    if (m_oleAdvise) m_oleAdvise->Release();
    if (m_dataAdvise) m_dataAdvise->Release();
    if (ambientFont) ambientFont->Release();
    if (site) site->Release();
}

STDMETHODIMP ProbeControl::QueryInterface(REFIID iid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleObject))
        *ppv = static_cast<IOleObject*>(this);
    else if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceObject))
        *ppv = static_cast<IOleInPlaceObject*>(this);
    else if (IsEqualIID(iid, IID_IViewObject) || IsEqualIID(iid, IID_IViewObject2))
        *ppv = static_cast<IViewObject2*>(this);
    else if (IsEqualIID(iid, IID_IPersist) || IsEqualIID(iid, IID_IPersistStreamInit))
        *ppv = static_cast<IPersistStreamInit*>(this);
    else if (IsEqualIID(iid, IID_IConnectionPointContainer))
        *ppv = static_cast<IConnectionPointContainer*>(this);
    else if (IsEqualIID(iid, IID_IDataObject))
        *ppv = static_cast<IDataObject*>(this);
    else if (IsEqualIID(iid, IID_IDispatch))
        *ppv = static_cast<IDispatch*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) ProbeControl::AddRef() { return static_cast<ULONG>(++m_refs); }

STDMETHODIMP_(ULONG) ProbeControl::Release() {
    LONG n = --m_refs;
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

// ---------------------------------------------------------------- site and ambients

HRESULT ProbeControl::Ambient(DISPID id, VARIANT* out) {
    VariantInit(out);
    if (!site) return E_FAIL;
    IDispatch* disp = nullptr;
    if (FAILED(site->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp)))) return E_NOINTERFACE;
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    HRESULT hr = disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, out, nullptr, nullptr);
    disp->Release();
    return hr;
}

STDMETHODIMP ProbeControl::SetClientSite(IOleClientSite* s) {
    ProbeJournal().push_back(s ? "SetClientSite" : "SetClientSite(null)");
    if (s) s->AddRef();
    if (site) site->Release();
    site = s;
    if (!site) return S_OK;
    VARIANT v;
    sawUserMode = SUCCEEDED(Ambient(DISPID_AMBIENT_USERMODE, &v)) && V_VT(&v) == VT_BOOL;
    if (sawUserMode) userMode = V_BOOL(&v) != VARIANT_FALSE;
    VariantClear(&v);
    sawFont = SUCCEEDED(Ambient(DISPID_AMBIENT_FONT, &v)) && V_VT(&v) == VT_DISPATCH && V_DISPATCH(&v);
    if (sawFont) {
        if (ambientFont) ambientFont->Release();
        V_DISPATCH(&v)->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&ambientFont));
    }
    VariantClear(&v);
    return S_OK;
}

STDMETHODIMP ProbeControl::GetClientSite(IOleClientSite** out) {
    if (!out) return E_POINTER;
    *out = site;
    if (site) site->AddRef();
    return S_OK;
}

STDMETHODIMP ProbeControl::InitNew() {
    VARIANT v;
    sawBackColor = SUCCEEDED(Ambient(DISPID_AMBIENT_BACKCOLOR, &v)) && SUCCEEDED(VariantChangeType(&v, &v, 0, VT_I4));
    color = sawBackColor ? static_cast<COLORREF>(V_I4(&v)) : GetSysColor(COLOR_WINDOW);
    VariantClear(&v);
    return S_OK;
}

// ---------------------------------------------------------------- activation

LRESULT CALLBACK ProbeControl::WndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<ProbeControl*>(GetWindowLongPtrW(h, GWLP_USERDATA));
    switch (msg) {
    case WM_NCCREATE:
        SetWindowLongPtrW(h, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT rc;
        GetClientRect(h, &rc);
        if (self) self->Paint(dc, rc);
        EndPaint(h, &ps);
        return 0;
    }
    }
    return DefWindowProcW(h, msg, wp, lp);
}

STDMETHODIMP ProbeControl::DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) {
    if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_UIACTIVATE && verb != OLEIVERB_SHOW) return E_NOTIMPL;
    if (hwnd) return S_OK;
    if (!site) return E_UNEXPECTED;
    ProbeJournal().push_back("Activate");
    if (!m_inPlaceSite &&
        FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&m_inPlaceSite))))
        return E_FAIL;
    if (m_inPlaceSite->CanInPlaceActivate() != S_OK) return E_FAIL;
    m_inPlaceSite->OnInPlaceActivate();
    m_inPlaceSite->GetWindow(&parent);
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* doc = nullptr;
    frameInfo = OLEINPLACEFRAMEINFO{};
    frameInfo.cb = sizeof(frameInfo);
    m_inPlaceSite->GetWindowContext(&frame, &doc, &contextPos, &contextClip, &frameInfo);
    frameWindow = uiWindow = nullptr;
    if (frame) {
        frame->GetWindow(&frameWindow);
        frame->Release();
    }
    if (doc) {
        doc->GetWindow(&uiWindow);
        doc->Release();
    }
    static ATOM atom = 0;
    if (!atom) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = WndProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kProbeClass;
        atom = RegisterClassExW(&wc);
    }
    hwnd = CreateWindowExW(0, kProbeClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, contextPos.left,
                           contextPos.top, contextPos.right - contextPos.left, contextPos.bottom - contextPos.top,
                           parent, nullptr, GetModuleHandleW(nullptr), this);
    if (!hwnd) {
        m_inPlaceSite->OnInPlaceDeactivate();
        return E_FAIL;
    }
    site->ShowObject();
    return S_OK;
}

STDMETHODIMP ProbeControl::InPlaceDeactivate() {
    if (!hwnd) return S_OK;
    ProbeJournal().push_back("InPlaceDeactivate");
    DestroyWindow(hwnd);
    hwnd = nullptr;
    if (m_inPlaceSite) m_inPlaceSite->OnInPlaceDeactivate();
    return S_OK;
}

STDMETHODIMP ProbeControl::SetObjectRects(LPCRECT pos, LPCRECT) {
    if (!pos) return E_POINTER;
    if (hwnd) MoveWindow(hwnd, pos->left, pos->top, pos->right - pos->left, pos->bottom - pos->top, TRUE);
    return S_OK;
}

STDMETHODIMP ProbeControl::GetWindow(HWND* out) {
    if (!out) return E_POINTER;
    *out = hwnd;
    return hwnd ? S_OK : E_FAIL;
}

STDMETHODIMP ProbeControl::Close(DWORD) {
    ++closes;
    ProbeJournal().push_back("Close");
    InPlaceDeactivate();
    if (m_inPlaceSite) {
        m_inPlaceSite->Release();
        m_inPlaceSite = nullptr;
    }
    if (m_oleAdvise) m_oleAdvise->SendOnClose();
    return S_OK;
}

STDMETHODIMP ProbeControl::SetExtent(DWORD, SIZEL* size) {
    if (!size) return E_POINTER;
    extent = *size;
    return S_OK;
}

STDMETHODIMP ProbeControl::GetExtent(DWORD, SIZEL* size) {
    if (!size) return E_POINTER;
    *size = extent;
    return S_OK;
}

STDMETHODIMP ProbeControl::Advise(IAdviseSink* sink, DWORD* cookie) {
    if (!m_oleAdvise && FAILED(CreateOleAdviseHolder(&m_oleAdvise))) return E_FAIL;
    return m_oleAdvise->Advise(sink, cookie);
}

STDMETHODIMP ProbeControl::Unadvise(DWORD cookie) {
    return m_oleAdvise ? m_oleAdvise->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

STDMETHODIMP ProbeControl::GetMiscStatus(DWORD, DWORD* status) {
    if (!status) return E_POINTER;
    *status = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST;
    return S_OK;
}

// ---------------------------------------------------------------- drawing

void ProbeControl::Paint(HDC dc, const RECT& rc) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    int saved = SaveDC(dc);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, rc.left + 2, rc.top + 3, "Probe", 5);
    RestoreDC(dc, saved);
}

STDMETHODIMP ProbeControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                                BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!dc || !bounds) return E_INVALIDARG;
    RECT rc{bounds->left, bounds->top, bounds->right, bounds->bottom};
    Paint(dc, rc);
    return S_OK;
}

STDMETHODIMP ProbeControl::SetAdvise(DWORD, DWORD, IAdviseSink* sink) {
    if (sink) sink->AddRef();
    if (m_viewSink) m_viewSink->Release();
    m_viewSink = sink;
    return S_OK;
}

STDMETHODIMP ProbeControl::GetAdvise(DWORD* aspects, DWORD* advf, IAdviseSink** sink) {
    if (aspects) *aspects = DVASPECT_CONTENT;
    if (advf) *advf = 0;
    if (sink) {
        *sink = m_viewSink;
        if (m_viewSink) m_viewSink->AddRef();
    }
    return S_OK;
}

STDMETHODIMP ProbeControl::GetExtent(DWORD, LONG, DVTARGETDEVICE*, LPSIZEL size) { return GetExtent(0, size); }

// ---------------------------------------------------------------- persistence

STDMETHODIMP ProbeControl::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = CLSID_Probe;
    return S_OK;
}

STDMETHODIMP ProbeControl::Load(LPSTREAM s) {
    if (!s) return E_POINTER;
    DWORD c = 0;
    ULONG read = 0;
    HRESULT hr = s->Read(&c, sizeof(c), &read);
    if (FAILED(hr) || read != sizeof(c)) return E_FAIL;
    color = c;
    ProbeJournal().push_back("Load");
    if (fireOnLoad) Fire(7, {});
    return S_OK;
}

STDMETHODIMP ProbeControl::Save(LPSTREAM s, BOOL) {
    if (!s) return E_POINTER;
    DWORD c = color;
    return s->Write(&c, sizeof(c), nullptr);
}

STDMETHODIMP ProbeControl::GetSizeMax(ULARGE_INTEGER* size) {
    if (!size) return E_POINTER;
    size->QuadPart = sizeof(DWORD);
    return S_OK;
}

// ---------------------------------------------------------------- notifications and events

STDMETHODIMP ProbeControl::FindConnectionPoint(REFIID iid, IConnectionPoint** cp) {
    if (!cp) return E_POINTER;
    *cp = nullptr;
    ProbeConnectionPoint* p = IsEqualIID(iid, DIID_ProbeEvents)         ? m_events
                              : IsEqualIID(iid, IID_IPropertyNotifySink) ? m_notify
                                                                         : nullptr;
    if (!p) return CONNECT_E_NOCONNECTION;
    *cp = p;
    p->AddRef();
    return S_OK;
}

STDMETHODIMP ProbeControl::DAdvise(FORMATETC* fmt, DWORD advf, IAdviseSink* sink, DWORD* cookie) {
    if (!m_dataAdvise && FAILED(CreateDataAdviseHolder(&m_dataAdvise))) return E_FAIL;
    return m_dataAdvise->Advise(static_cast<IDataObject*>(this), fmt, advf, sink, cookie);
}

STDMETHODIMP ProbeControl::DUnadvise(DWORD cookie) {
    return m_dataAdvise ? m_dataAdvise->Unadvise(cookie) : OLE_E_NOCONNECTION;
}

void ProbeControl::SetColor(COLORREF c) {
    color = c;
    std::vector<IUnknown*> sinks = m_notify->m_sinks;
    for (IUnknown* s : sinks)
        if (s) static_cast<IPropertyNotifySink*>(s)->OnChanged(kProbeColorDispid);
    if (hwnd)
        InvalidateRect(hwnd, nullptr, TRUE);
    if (m_viewSink) m_viewSink->OnViewChange(DVASPECT_CONTENT, -1);
    if (m_dataAdvise) m_dataAdvise->SendOnDataChange(static_cast<IDataObject*>(this), 0, 0);
}

HRESULT ProbeControl::RequestEdit(DISPID id) {
    std::vector<IUnknown*> sinks = m_notify->m_sinks;
    for (IUnknown* s : sinks)
        if (s && static_cast<IPropertyNotifySink*>(s)->OnRequestEdit(id) == S_FALSE) return S_FALSE;
    return S_OK;
}

HRESULT ProbeControl::Fire(DISPID id, std::vector<VARIANT> args) {
    std::reverse(args.begin(), args.end());
    DISPPARAMS params{args.empty() ? nullptr : args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    HRESULT hr = S_OK;
    const size_t n = m_events->m_sinks.size();
    for (size_t i = 0; i < n && i < m_events->m_sinks.size(); ++i) {
        IUnknown* s = m_events->m_sinks[i];
        if (!s) continue;
        s->AddRef();
        VARIANT result;
        VariantInit(&result);
        hr = static_cast<IDispatch*>(s)->Invoke(id, IID_NULL, 0x400, DISPATCH_METHOD, &params, &result, nullptr,
                                                nullptr);
        VariantClear(&result);
        s->Release();
    }
    return hr;
}

size_t ProbeControl::EventSinks() const {
    return static_cast<size_t>(std::count_if(m_events->m_sinks.begin(), m_events->m_sinks.end(),
                                             [](IUnknown* s) { return s != nullptr; }));
}

// Control base: in-place activation and the control's own window.
#include "control.h"

namespace fw {

namespace {

const long kHimetricPerInch = 2540;

// A frame, caption, menu or scroll bar: the window is larger than its client area.
bool HasNonClientArea(HWND hwnd) {
    RECT window, client;
    if (!GetWindowRect(hwnd, &window) || !GetClientRect(hwnd, &client)) return true;
    return window.right - window.left != client.right || window.bottom - window.top != client.bottom;
}

}  // namespace

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
        if (AmbientUserMode() && !m_uiActive) InPlaceActivate(OLEIVERB_UIACTIVATE);
        break;
    }
    case WM_NCPAINT:
        // Nothing lies outside the client area of a window without a frame
        // or scroll bars, and the default handling would still fetch the
        // window's visible region from the system for every paint.
        if (!HasNonClientArea(hwnd)) handled = true;
        break;
    case WM_NCCREATE:
    case WM_WINDOWPOSCHANGED:  // moves, sizes and regions set by others
        m_windowShape.Forget();
        break;
    case WM_NCDESTROY:
        m_windowShape.Forget();
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

}  // namespace fw

// Control base: the view object (drawing, render target, advise) and the
// data object, which offers data advise only.
#include "control.h"
#include "enumerators.h"
#include "common/gdi.h"

namespace fw {

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

}  // namespace fw

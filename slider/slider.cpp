#include "slider.h"
#include <cmath>

const fw::ControlBase::CommonEventIds kSliderEvents = {SE_Click,     SE_DblClick, SE_MouseDown, SE_MouseUp,
                                                       SE_MouseMove, SE_KeyDown,  SE_KeyUp};

namespace {

FW_PROPERTY_MAP(kSliderMap, SLIDER_PROPERTIES, fw::PageRow(&CLSID_GeneralProp), fw::PageRow(&CLSID_OthersProp));

const fw::ControlBase::Traits kSliderTraits = {
    &CLSID_QEV_Slider,
    &IID_IQEV_Slider,
    &DIID__IQEV_SliderEvents,
    &kSliderMap,
    // The font parts notify their interface dispids, FontStrikethrough 42
    // included; only its map row carries 41.
    {31, 37, 38, 39, 40, 41, 42, 43, 44},
    L"QEV_SliderWindow",
};

}  // namespace

const fw::PropMap& CQEV_Slider::Map() { return kSliderMap; }

CQEV_Slider::CQEV_Slider() : fw::ControlBase(kSliderTraits) { CFontNotifyImpl::AttachTo(this); }

HRESULT CQEV_Slider::InitNewProperties() {
    m_BkColor = AmbientBackColor();
    return S_OK;
}

STDMETHODIMP CQEV_Slider::UpdateActualValue(double Val) {
    // A NaN would pass every later comparison and poison the band.
    if (std::isnan(Val)) return E_INVALIDARG;
    m_actual = Val;
    RedrawNow();
    return S_OK;
}

STDMETHODIMP CQEV_Slider::UpdateSetpoint(double Val) {
    if (std::isnan(Val)) return E_INVALIDARG;
    if (Val < m_MinVal) m_setpoint = m_MinVal;
    else if (Val > m_MaxVal) m_setpoint = m_MaxVal;
    else m_setpoint = Val;
    RedrawNow();
    return S_OK;
}

STDMETHODIMP CQEV_Slider::GetSetpoint(double* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_setpoint;
    return S_OK;
}

// ---------------------------------------------------------------- input

bool CQEV_Slider::ProcessWindowMessage(HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (HandleCommonInput(msg, wp, lp, kSliderEvents, result)) return true;
    int x = (short)LOWORD(lp), y = (short)HIWORD(lp);
    switch (msg) {
    case WM_LBUTTONDOWN:
        PressAt(x, y, m_geometry.marker.rc, kSliderEvents);
        break;
    case WM_LBUTTONUP:
        ReleaseAt(x, y, kSliderEvents);
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(x, y, (wp & MK_LBUTTON) != 0);
        break;
    case WM_KILLFOCUS:
        SetDragFlag(false);
        break;
    case WM_CREATE:
        break;
    default:
        return false;  // WM_ERASEBKGND too: the window erases before each paint
    }
    result = 0;
    return true;
}

// The drag step: the set point follows the mouse along the value rectangle.
void CQEV_Slider::OnMouseMove(int x, int y, bool buttonHeld) {
    if (!Enabled()) return;
    Fire(SE_MouseMove, (LONG)x, (LONG)y);
    // Without capture a release outside the window never arrives: a move
    // without the left button held ends the drag, changing nothing.
    if (!buttonHeld) SetDragFlag(false);
    if (!DragFlag()) return;

    if (AtClientEdge(x, y)) {
        SetDragFlag(false);  // the 2-pixel margin lets the marker go
        return;
    }
    if (!m_geometry.field.Along(m_Vertical == 1, x, y)) return;
    const RECT& v = m_geometry.field.rc;
    double len, pos;
    if (m_Vertical == 1) {
        len = v.bottom - v.top;
        pos = m_InverseDirection == 1 ? y - v.top : v.bottom - y;
    } else {
        len = v.right - v.left;
        pos = m_InverseDirection == 1 ? v.right - x : x - v.left;
    }
    m_setpoint = pos * (m_MaxVal - m_MinVal) / len + m_MinVal;
    RedrawNow();
    Fire(SE_ValueEvent, m_setpoint);
}

HRESULT CreateSlider(IUnknown* outer, REFIID iid, void** ppv) { return fw::CreateObject<CQEV_Slider>(outer, iid, ppv); }

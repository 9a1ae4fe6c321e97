#include "knob.h"
#include <cmath>

namespace {

FW_PROPERTY_MAP(kKnobMap, KNOB_PROPERTIES, fw::PageRow(&CLSID_GeneralProp), fw::PageRow(&CLSID_KnobScale));

const fw::ControlBase::CommonEventIds kKnobEvents = {KE_Click,     KE_DblClick, KE_MouseDown, KE_MouseUp,
                                                     KE_MouseMove, KE_KeyDown,  KE_KeyUp};

const fw::ControlBase::Traits kKnobTraits = {
    &CLSID_QEV_Knob,
    &IID_IQEV_Knob,
    &DIID__IQEV_KnobEvents,
    &kKnobMap,
    {33, 52, 53, 54, 55, 56, 57, 58, 59},
    L"QEV_KnobWindow",
};

}  // namespace

const fw::PropMap& CQEV_Knob::Map() { return kKnobMap; }

CQEV_Knob::CQEV_Knob()
    : fw::ControlBase(kKnobTraits),
      m_BkColor(GetSysColor(COLOR_BTNFACE)),
      m_PanelColor(GetSysColor(COLOR_BTNFACE)),
      m_UnitName(SysAllocString(L"")),
      m_PanelBorderDarkColor(GetSysColor(COLOR_BTNSHADOW)),
      m_PanelBorderLightColor(GetSysColor(COLOR_BTNHIGHLIGHT)),
      m_CircleColor(GetSysColor(COLOR_BTNFACE)) {
    // Before the first paint the pointer sits at the scale start.
    m_geometry.pointerAngle = m_StartAngle;
    CFontNotifyImpl::AttachTo(this);
}

CQEV_Knob::~CQEV_Knob() {
    m_geometry.SetHitRegion(nullptr);
    SysFreeString(m_UnitName);
}

HRESULT CQEV_Knob::InitNewProperties() {
    m_BkColor = AmbientBackColor();
    return S_OK;
}

STDMETHODIMP CQEV_Knob::SetScaleRangeColor(short index, double start, double end, OLE_COLOR color) {
    if ((unsigned short)index > 9) return S_OK;
    m_ranges[index] = ScaleRange{start, end, color, 1};
    RedrawNow();
    return S_OK;
}

STDMETHODIMP CQEV_Knob::CancelScaleRangeColor(short index) {
    if ((unsigned short)index > 9) return S_OK;
    m_ranges[index].active = 0;
    RedrawNow();
    return S_OK;
}

STDMETHODIMP CQEV_Knob::UpdateValue(double newVal) {
    // NaN compares false everywhere and would pass the clamp untouched.
    if (std::isnan(newVal)) return E_INVALIDARG;
    m_value = newVal;
    if (m_value > m_MaxVal) m_value = m_MaxVal;
    if (m_MinVal > m_value) m_value = m_MinVal;
    RedrawNow();
    return S_OK;
}

STDMETHODIMP CQEV_Knob::GetValue(double* pVal) {
    if (!pVal) return E_POINTER;
    *pVal = m_value;
    return S_OK;
}

bool CQEV_Knob::ProcessWindowMessage(HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (HandleCommonInput(msg, wp, lp, kKnobEvents, result)) return true;
    int x = (short)LOWORD(lp), y = (short)HIWORD(lp);
    switch (msg) {
    case WM_CREATE:
        ApplyWindowRegion();
        result = 0;
        return true;
    case WM_KILLFOCUS:
        SetDragFlag(false);
        result = 0;
        return true;
    case WM_ERASEBKGND:
        result = 1;  // the render paints every pixel
        return true;
    case WM_MOUSEMOVE:
        // Without capture a release outside the window never arrives: a move
        // without the left button held ends the drag.
        if (!(wp & MK_LBUTTON)) SetDragFlag(false);
        OnMouseMove(x, y);
        result = 0;
        return true;
    case WM_LBUTTONDOWN:
        PressAt(x, y, m_geometry.hitRegion, kKnobEvents);
        result = 0;
        return true;
    case WM_LBUTTONUP:
        ReleaseAt(x, y, kKnobEvents);
        result = 0;
        return true;
    default:
        return false;
    }
}

// The drag step: the pointer follows the mouse round the centre within the
// angle window from StartAngle to EndAngle.
void CQEV_Knob::OnMouseMove(int x, int y) {
    if (!Enabled()) return;
    Fire(KE_MouseMove, (LONG)x, (LONG)y);
    if (!m_geometry.hitRegion || !DragFlag()) return;

    if (AtClientEdge(x, y)) {
        SetDragFlag(false);  // no capture: reaching the edge ends the drag
        return;
    }
    double a;
    if (!m_geometry.DragAngle(x, y, a)) return;
    double span = m_EndAngle - m_StartAngle;
    if (span <= 0) span += 360;
    bool inside = m_StartAngle < m_EndAngle ? (a >= m_StartAngle && a <= m_EndAngle)
                                            : (a >= m_StartAngle || a <= m_EndAngle);
    if (!inside) {
        if (!PtInRegion(m_geometry.hitRegion, x, y)) SetDragFlag(false);
        return;
    }
    double t = m_InverseDirection == 1 ? m_EndAngle - a : a - m_StartAngle;
    if (t < 0) t += 360;
    if (span > 0) {
        m_value = m_MinVal + t * (m_MaxVal - m_MinVal) / span;
        Fire(KE_SetpointChange, m_value);
    }
    RedrawNow();
}

HRESULT CreateKnob(IUnknown* outer, REFIID iid, void** ppv) { return fw::CreateObject<CQEV_Knob>(outer, iid, ppv); }

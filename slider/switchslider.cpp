#include "switchslider.h"
#include "slider_layout.h"

namespace {

FW_PROPERTY_MAP(kSwitchSliderMap, SWITCHSLIDER_PROPERTIES, fw::PageRow(&CLSID_GeneralProp));

const fw::ControlBase::Traits kSwitchSliderTraits = {
    &CLSID_QEV_SwitchSlider,
    &IID_IQEV_SwitchSlider,
    &DIID__IQEV_SwitchSliderEvents,
    &kSwitchSliderMap,
    {22, 29, 30, 31, 32, 33, 34, 35, 36},
    L"QEV_SwitchSliderWindow",
};

}  // namespace

const fw::PropMap& CQEV_SwitchSlider::Map() { return kSwitchSliderMap; }

CQEV_SwitchSlider::CQEV_SwitchSlider() : fw::ControlBase(kSwitchSliderTraits) { CFontNotifyImpl2::AttachTo(this); }

HRESULT CQEV_SwitchSlider::InitNewProperties() {
    m_BkColor = AmbientBackColor();
    return S_OK;
}

// ---------------------------------------------------------------- input

bool CQEV_SwitchSlider::ProcessWindowMessage(HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (HandleCommonInput(msg, wp, lp, kSliderEvents, result)) return true;
    int x = (short)LOWORD(lp), y = (short)HIWORD(lp);
    switch (msg) {
    case WM_LBUTTONDOWN:
        PressOnMarker(x, y);
        break;
    case WM_LBUTTONUP:
        // Every release snaps again on the last drag point, drag or not.
        if (ReleaseAt(x, y, kSliderEvents)) Snap();
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(x, y, (wp & MK_LBUTTON) != 0);
        break;
    case WM_KILLFOCUS:
        SetDragFlag(false);  // no snap, no event
        break;
    case WM_CREATE:
        break;
    default:
        return false;  // WM_ERASEBKGND too: the window erases before each paint
    }
    result = 0;
    return true;
}

void CQEV_SwitchSlider::PressOnMarker(int x, int y) {
    if (!PressAt(x, y, m_geometry.marker.rc, kSliderEvents) || !m_geometry.marker.Holds(x, y)) return;
    m_hasDragPoint = true;
    m_dragPoint = POINT{x, y};
}

void CQEV_SwitchSlider::EndDragAndSnap() {
    SetDragFlag(false);
    Snap();
}

// The drag step: the marker follows the mouse along the range field.
void CQEV_SwitchSlider::OnMouseMove(int x, int y, bool buttonHeld) {
    if (!Enabled()) return;
    Fire(SE_MouseMove, (LONG)x, (LONG)y);
    if (!DragFlag()) return;
    // Without capture a release outside the window never arrives: a move
    // without the left button ends the drag as the margin does.
    if (!buttonHeld) {
        EndDragAndSnap();
        return;
    }
    if (AtClientEdge(x, y)) {
        EndDragAndSnap();
        return;
    }
    if (!m_geometry.field.Along(m_Vertical == 1, x, y)) return;
    m_dragPoint = POINT{x, y};
    RedrawNow();
}

// Makes the first run-time item within half a step of the drag point current
// and reports it, also when it was current already.
void CQEV_SwitchSlider::Snap() {
    if (!m_hasDragPoint || !m_geometry.field.set) return;
    SwitchLayoutSpec spec{};
    spec.vertical = m_Vertical == 1;
    spec.inverse = m_InverseDirection != 0;
    spec.indicatorSize = m_IndicatorSize;
    const RECT& f = m_geometry.field.rc;
    const int n = static_cast<int>(m_switch.RunTime().Count());
    const SwitchLayout lay{f, 0, 0, SwitchStep(spec.vertical ? f.bottom - f.top : f.right - f.left, m_IndicatorSize, n)};
    const int reach = lay.step / 2, p = spec.vertical ? m_dragPoint.y : m_dragPoint.x;
    for (int i = 0; i < n; ++i) {
        const int c = SwitchItemCentre(lay, spec, i);
        if (p < c - reach || p > c + reach) continue;

        BSTR arg;
        if (!m_switch.SelectRunTime(i, &arg)) return;
        RedrawNow();
        // Each sink gets its own copy of this one, which no sink can touch.
        Fire(SE_ValueEvent, arg);
        SysFreeString(arg);
        return;
    }
}

HRESULT CreateSwitchSlider(IUnknown* outer, REFIID iid, void** ppv) {
    return fw::CreateObject<CQEV_SwitchSlider>(outer, iid, ppv);
}

#include "switchknob.h"
#include "switchknob_geometry.h"

namespace {

FW_PROPERTY_MAP(kSwitchKnobMap, SWITCHKNOB_PROPERTIES, fw::PageRow(&CLSID_GeneralProp),
                fw::PageRow(&CLSID_SwitchOthersProp));

const fw::ControlBase::CommonEventIds kSwitchKnobEvents = {SKE_Click,     SKE_DblClick, SKE_MouseDown, SKE_MouseUp,
                                                           SKE_MouseMove, SKE_KeyDown,  SKE_KeyUp};

const fw::ControlBase::Traits kSwitchKnobTraits = {
    &CLSID_QEV_SwitchKnob,
    &IID_IQEV_SwitchKnob,
    &DIID__IQEV_SwitchKnobEvents,
    &kSwitchKnobMap,
    {21, 38, 39, 40, 41, 42, 43, 44, 45},
    L"QEV_SwitchKnobWindow",
};

}  // namespace

const fw::PropMap& CQEV_SwitchKnob::Map() { return kSwitchKnobMap; }

CQEV_SwitchKnob::CQEV_SwitchKnob()
    : fw::ControlBase(kSwitchKnobTraits),
      m_BkColor(GetSysColor(COLOR_BTNFACE)),
      m_PanelColor(GetSysColor(COLOR_BTNFACE)),
      m_PanelBorderDarkColor(GetSysColor(COLOR_BTNSHADOW)),
      m_PanelBorderLightColor(GetSysColor(COLOR_BTNHIGHLIGHT)),
      m_CircleColor(GetSysColor(COLOR_BTNFACE)) {
    // Until a paint finds the current item the pointer sits at the arc's start.
    m_geometry.pointerAngle = m_StartAngle;
    CFontNotifyImpl2::AttachTo(this);
}

CQEV_SwitchKnob::~CQEV_SwitchKnob() { m_geometry.SetHitRegion(nullptr); }

HRESULT CQEV_SwitchKnob::InitNewProperties() {
    m_BkColor = AmbientBackColor();
    return S_OK;
}

// ---------------------------------------------------------------- input

bool CQEV_SwitchKnob::ProcessWindowMessage(HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (HandleCommonInput(msg, wp, lp, kSwitchKnobEvents, result)) return true;
    int x = (short)LOWORD(lp), y = (short)HIWORD(lp);
    switch (msg) {
    case WM_CREATE:
        ApplyWindowRegion();
        result = 0;
        return true;
    case WM_KILLFOCUS:
        SetDragFlag(false);  // no snap, no event
        result = 0;
        return true;
    case WM_ERASEBKGND:
        result = 1;  // the render paints every pixel
        return true;
    case WM_MOUSEMOVE:
        OnMouseMove(x, y, (wp & MK_LBUTTON) != 0);
        result = 0;
        return true;
    case WM_LBUTTONDOWN:
        PressAt(x, y, m_geometry.hitRegion, kSwitchKnobEvents);
        result = 0;
        return true;
    case WM_LBUTTONUP:
        if (ReleaseAt(x, y, kSwitchKnobEvents)) Snap();
        result = 0;
        return true;
    default:
        return false;
    }
}

void CQEV_SwitchKnob::EndDragAndSnap() {
    SetDragFlag(false);
    Snap();
}

// The drag step: the pointer follows the mouse round the centre within the
// arc from StartAngle to EndAngle.
void CQEV_SwitchKnob::OnMouseMove(int x, int y, bool buttonHeld) {
    if (!Enabled()) return;
    Fire(SKE_MouseMove, (LONG)x, (LONG)y);
    // Without capture a release outside the window never arrives: a move
    // without the left button ends the drag as that release would have.
    if (DragFlag() && !buttonHeld) {
        EndDragAndSnap();
        return;
    }
    if (!m_geometry.hitRegion || !DragFlag()) return;

    if (AtClientEdge(x, y)) {
        EndDragAndSnap();  // no capture: reaching the edge lets the pointer go
        return;
    }
    double a;
    if (!m_geometry.DragAngle(x, y, a)) return;
    if (SwitchAngleAllowed(a, m_StartAngle, m_EndAngle)) {
        m_geometry.pointerAngle = a;
        RedrawNow();
        return;
    }
    if (!PtInRegion(m_geometry.hitRegion, x, y)) EndDragAndSnap();
}

// Moves the pointer to the first run-time item within half a step plus five
// degrees, makes it current and reports it, also when it was current already.
void CQEV_SwitchKnob::Snap() {
    const CSwitchItemList& items = m_switch.RunTime();
    SwitchArc arc = SwitchItemArc(m_StartAngle, m_EndAngle, items.Count());
    double reach = arc.step * 0.5 + 5;
    for (size_t i = 0; i < items.Count(); ++i) {
        double angle = SwitchItemAngle(arc, i, m_StartAngle, m_EndAngle, m_InverseDirection == 1);
        if (SwitchAngleDistance(angle, m_geometry.pointerAngle) > reach) continue;

        BSTR arg;
        if (!m_switch.SelectRunTime(i, &arg)) return;
        m_geometry.pointerAngle = angle;
        RedrawNow();
        // Each sink gets its own copy of this one, which no sink can touch.
        Fire(SKE_ValueChange, arg);
        SysFreeString(arg);
        return;
    }
}

HRESULT CreateSwitchKnob(IUnknown* outer, REFIID iid, void** ppv) {
    return fw::CreateObject<CQEV_SwitchKnob>(outer, iid, ppv);
}

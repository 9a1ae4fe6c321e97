#include "switch.h"

namespace {

FW_PROPERTY_MAP(kSwitchMap, SWITCH_PROPERTIES, fw::PageRow(&CLSID_GeneralProp), fw::PageRow(&CLSID_OthersProp));

const fw::ControlBase::CommonEventIds kSwitchEvents = {SE_Click,     SE_DblClick, SE_MouseDown, SE_MouseUp,
                                                       SE_MouseMove, SE_KeyDown,  SE_KeyUp};

const fw::ControlBase::Traits kSwitchTraits = {
    &CLSID_QEV_Switch,
    &IID_IQEV_Switch,
    &DIID__IQEV_SwitchEvents,
    &kSwitchMap,
    {26, 36, 37, 38, 39, 40, 41, 42, 43},
    L"QEV_SwitchWindow",
};

VARIANT_BOOL ToVariantBool(LONG flag) { return flag == 1 ? VARIANT_TRUE : VARIANT_FALSE; }

}  // namespace

const fw::PropMap& CQEV_Switch::Map() { return kSwitchMap; }

CQEV_Switch::CQEV_Switch()
    : fw::ControlBase(kSwitchTraits),
      m_BkColor(GetSysColor(COLOR_WINDOW)),
      m_Text(SysAllocString(L"")),
      m_OnText(SysAllocString(L"")),
      m_OffText(SysAllocString(L"")) {
    CFontNotifyImpl::AttachTo(this);
}

CQEV_Switch::~CQEV_Switch() {
    SysFreeString(m_Text);
    SysFreeString(m_OnText);
    SysFreeString(m_OffText);
}

HRESULT CQEV_Switch::InitNewProperties() {
    m_BkColor = AmbientBackColor();
    return S_OK;
}

// ---------------------------------------------------------------- value and status

HRESULT CQEV_Switch::PutFlag(LONG& flag, VARIANT_BOOL v, DISPID id, DISPID changeEvent) {
    LONG next = (v == VARIANT_TRUE) ? 1 : 0;
    if (next != flag) {
        flag = next;
        Fire(changeEvent, next == 1);
    }
    PropertyChanged(id);
    return S_OK;
}

STDMETHODIMP CQEV_Switch::get_Value(VARIANT_BOOL* p) {
    if (!p) return E_POINTER;
    *p = ToVariantBool(m_Value);
    return S_OK;
}
STDMETHODIMP CQEV_Switch::put_Value(VARIANT_BOOL v) { return PutFlag(m_Value, v, 7, SE_ValueChange); }

STDMETHODIMP CQEV_Switch::get_Status(VARIANT_BOOL* p) {
    if (!p) return E_POINTER;
    *p = ToVariantBool(m_Status);
    return S_OK;
}
STDMETHODIMP CQEV_Switch::put_Status(VARIANT_BOOL v) { return PutFlag(m_Status, v, 8, SE_StatusChange); }

// ---------------------------------------------------------------- input

bool CQEV_Switch::ProcessWindowMessage(HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (HandleCommonInput(msg, wp, lp, kSwitchEvents, result)) return true;
    int x = (short)LOWORD(lp), y = (short)HIWORD(lp);
    switch (msg) {
    case WM_CREATE:
    case WM_KILLFOCUS:  // pressed stays set
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(x, y, (wp & MK_LBUTTON) != 0);
        break;
    case WM_LBUTTONDOWN:
        OnButtonDown(x, y);
        break;
    case WM_LBUTTONUP:
        OnButtonUp(x, y);
        break;
    default:
        return false;
    }
    result = 0;
    return true;
}

void CQEV_Switch::OnButtonDown(int x, int y) {
    if (!Enabled()) return;
    Fire(SE_MouseDown, (LONG)x, (LONG)y);
    m_pressed = 1;
    RedrawNow();
}

bool CQEV_Switch::ReleaseTurnsOn(int x, int y, bool& onCentreLine) const {
    RECT rc{0, 0, 0, 0};
    if (m_hwnd) GetClientRect(m_hwnd, &rc);
    // The rocker and the lever are on when their upper (or left) half is down.
    bool vertical = m_VerticalToggle == 1 || m_SwitchType == SWITCH_TOGGLE;
    int mid = vertical ? (rc.top + rc.bottom) / 2 : (rc.left + rc.right) / 2;
    int at = vertical ? y : x;
    onCentreLine = at == mid;
    return at < mid;
}

void CQEV_Switch::OnButtonUp(int x, int y) {
    if (!Enabled()) return;
    Fire(SE_MouseUp, (LONG)x, (LONG)y);
    if (m_pressed) {
        LONG next = m_Value;
        bool toggle = m_SwitchType == WEDGE_TOGGLE || m_SwitchType == GROOVE_TOGGLE || m_SwitchType == SWITCH_TOGGLE;
        if (toggle) {
            bool centre = false;
            bool onHalf = ReleaseTurnsOn(x, y, centre);
            if (m_Value == 1) next = (onHalf || centre) ? 1 : 0;
            else next = onHalf ? 1 : 0;
        } else {
            next = m_Value == 1 ? 0 : 1;
        }
        // A click stores the state directly: no notification, no save mark.
        if (next != m_Value) {
            m_Value = next;
            Fire(SE_ValueChange, next == 1);
        }
        Fire(SE_Click);
    }
    m_pressed = 0;
    RedrawNow();
}

void CQEV_Switch::OnMouseMove(int x, int y, bool buttonHeld) {
    if (!Enabled()) return;
    Fire(SE_MouseMove, (LONG)x, (LONG)y);
    // Without capture a release outside the window never arrives.
    if (m_pressed && !buttonHeld) {
        m_pressed = 0;
        RedrawNow();
    }
}

HRESULT CreateSwitch(IUnknown* outer, REFIID iid, void** ppv) {
    return fw::CreateObject<CQEV_Switch>(outer, iid, ppv);
}

#include "button.h"

namespace {

FW_PROPERTY_MAP(kSmartButtonMap, SMARTBUTTON_PROPERTIES, fw::PageRow(&CLSID_SBGeneralProp),
                fw::PageRow(&CLSID_SBTextProp));

const fw::ControlBase::Traits kSmartButtonTraits = {
    &CLSID_QEV_SmartButton,
    &IID_IQEV_SmartButton,
    &DIID__IQEV_SmartButtonEvents,
    &kSmartButtonMap,
    {13, 52, 53, 54, 55, 56, 57, 58, 59},
    L"QEV_SmartButtonWindow",
};

}  // namespace

const fw::PropMap& CQEV_SmartButton::Map() { return kSmartButtonMap; }

CQEV_SmartButton::CQEV_SmartButton()
    : fw::ControlBase(kSmartButtonTraits),
      m_Caption(SysAllocString(L"SButton")),
      m_FaceColor(GetSysColor(COLOR_BTNFACE)),
      m_CaptureColor(GetSysColor(COLOR_BTNFACE)),
      m_Text1(SysAllocString(L"")),
      m_Text2(SysAllocString(L"")),
      m_FocusColor(GetSysColor(COLOR_BTNFACE)),
      m_DisableColor(GetSysColor(COLOR_BTNFACE)) {
    CFontNotifyImpl::AttachTo(this);
}

CQEV_SmartButton::~CQEV_SmartButton() {
    if (m_region) DeleteObject(m_region);
    SysFreeString(m_Caption);
    SysFreeString(m_Text1);
    SysFreeString(m_Text2);
}

// A disabled button ignores the mouse, so it must not keep a capture it could
// never release, in design mode as much as at run time.
void CQEV_SmartButton::OnEnabledChanged() {
    if (Enabled()) return;
    if (m_hwnd && GetCapture() == m_hwnd) ReleaseCapture();
    m_pressed = 0;
    m_hover = 0;
}

HRESULT CreateSmartButton(IUnknown* outer, REFIID iid, void** ppv) {
    return fw::CreateObject<CQEV_SmartButton>(outer, iid, ppv);
}

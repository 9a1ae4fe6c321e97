#include "demo/classes.h"

namespace velmora {

namespace {
constexpr GUID G(unsigned long a, unsigned short b, unsigned short c, unsigned long long d) {
    return GUID{a, b, c, {static_cast<unsigned char>(d >> 56), static_cast<unsigned char>(d >> 48),
                          static_cast<unsigned char>(d >> 40), static_cast<unsigned char>(d >> 32),
                          static_cast<unsigned char>(d >> 24), static_cast<unsigned char>(d >> 16),
                          static_cast<unsigned char>(d >> 8), static_cast<unsigned char>(d)}};
}
}  // namespace

const forms::ClassDef kKnob{"TarnikLibCtl.QEV_Knob", G(0x4239AE66, 0xF4F8, 0x4D5F, 0xA26BCF369C4EDEA6),
                            G(0xA8CF3C06, 0xB1D0, 0x44D3, 0x8B491E4CE47B6D39),
                            G(0x436A8A85, 0xE142, 0x40BB, 0xBFB56506BED716A9)};
const forms::ClassDef kSwitchKnob{"TarnikLibCtl.QEV_SwitchKnob", G(0xCF35E3ED, 0xFFDB, 0x4343, 0xB0AEC1073AA22190),
                                  G(0x184F71B0, 0x046F, 0x4BB7, 0x81E90DDC0A668A18),
                                  G(0x72DCE7F3, 0xB49A, 0x4D31, 0x9A22EF3096BEFAF2)};
const forms::ClassDef kSlider{"MorvelLibCtl.QEV_Slider", G(0xA47569DD, 0x4B28, 0x4388, 0x857D45874088FDC1),
                              G(0xCCF3BD05, 0x0B63, 0x4780, 0xAD0AD989F1DE0268),
                              G(0x544D01FC, 0xDA6A, 0x4785, 0x8CD043DB8EA0B79B)};
const forms::ClassDef kSwitchSlider{"MorvelLibCtl.QEV_SwitchSlider", G(0x36ED955E, 0xC45E, 0x4B15, 0x90D7AC6494A085A4),
                                    G(0x5163EFBE, 0x89F5, 0x4952, 0x8A9C2F6E753A42C3),
                                    G(0x2B49D439, 0x1B48, 0x437D, 0x950D688EDDDD3925)};
const forms::ClassDef kSmartButton{"PellanLibCtl.QEV_SmartButton", G(0xBA283D99, 0xA0F2, 0x45B2, 0x94ADA90D8F512F0E),
                                   G(0xB1300056, 0xDC18, 0x46B2, 0x88988C4C6317F581),
                                   G(0xE3D1A263, 0xC5F3, 0x45DE, 0x8286ED76AD6A834C)};
const forms::ClassDef kSwitch{"WendalLibCtl.QEV_Switch", G(0x8350B0B5, 0xE102, 0x4E28, 0x9E26BA96CB522791),
                              G(0x9D556F69, 0x8A12, 0x4C6C, 0xABF90DA7D34B839B),
                              G(0xB41BF188, 0xCEA1, 0x4070, 0xA58211FFCFBFD06B)};

const Member kMembers[] = {
    {&kKnob, L"SetScaleRangeColor", knob::SetScaleRangeColor, false},
    {&kKnob, L"UpdateValue", knob::UpdateValue, false},
    {&kKnob, L"GetValue", knob::GetValue, false},
    {&kSwitchKnob, L"UpdateSetpoint", switchknob::UpdateSetpoint, false},
    {&kSwitchKnob, L"GetSetpoint", switchknob::GetSetpoint, false},
    {&kSwitchKnob, L"AddItem", switchknob::AddItem, false},
    {&kSlider, L"UpdateActualValue", slider::UpdateActualValue, false},
    {&kSlider, L"UpdateSetpoint", slider::UpdateSetpoint, false},
    {&kSlider, L"GetSetpoint", slider::GetSetpoint, false},
    {&kSlider, L"SetpointChange", slider::SetpointChange, true},
    {&kSwitchSlider, L"GetSetpoint", switchslider::GetSetpoint, false},
    {&kSwitchSlider, L"AddItem", switchslider::AddItem, false},
    {&kSwitchSlider, L"ValueChange", switchslider::ValueChange, true},
    {&kSwitch, L"EdgeColor", sw::EdgeColor, false},
    {&kSwitch, L"Value", sw::Value, false},
    {&kSwitch, L"Status", sw::Status, false},
    {&kSwitch, L"ButtonHeight", sw::ButtonHeight, false},
    {&kSwitch, L"SideDarkColor", sw::SideDarkColor, false},
    {&kSwitch, L"GradientRate", sw::GradientRate, false},
    {&kSwitch, L"Click", sw::Click, true},
    {&kSmartButton, L"Caption", button::Caption, false},
    {&kSmartButton, L"Enabled", button::Enabled, false},
    {&kSmartButton, L"Click", button::Click, true},
};
const size_t kMemberCount = sizeof(kMembers) / sizeof(kMembers[0]);

}  // namespace velmora

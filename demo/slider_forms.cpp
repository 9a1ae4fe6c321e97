// frmSlider: fifteen sliders, two driven by a timer and echoed in text boxes
// while the user drags them; frmSwitchSlider: ten switch sliders whose items
// are added at load, the first echoing the picked key.
#include "demo/classes.h"
#include "demo/forms_common.h"
#include "demo/velmora.h"

namespace velmora {

using namespace forms;
using namespace forms::prop;

namespace {

// ---------------------------------------------------------------- frmSlider

struct SliderState {
    short dir1 = 1;
    short dir2 = 1;
};

void frmSlider_Load(Form& f, const EventArgs&) { f.State<SliderState>() = SliderState{1, 1}; }

// One slider's step: the set point is read anew for every test and for the move.
void Sweep(Control& s, short& dir) {
    if (s.Call(slider::GetSetpoint).AsDouble() > 99.0)
        dir = -1;
    else if (s.Call(slider::GetSetpoint).AsDouble() < 2.0)
        dir = 1;
    const short twice = static_cast<short>(2 * dir);
    s.Call(slider::UpdateSetpoint, {Arg::R8(s.Call(slider::GetSetpoint).AsDouble() + twice)});
}

void frmSlider_Timer1_Timer(Form& f, const EventArgs&) {
    SliderState& st = f.State<SliderState>();
    Sweep(f["SSlider1"], st.dir1);
    Sweep(f["SSlider2"], st.dir2);
}

void frmSlider_Command1_Click(Form& f, const EventArgs&) {
    f["SSlider1"].Call(slider::UpdateActualValue, {Arg::R8(30)});
    f["SSlider2"].Call(slider::UpdateActualValue, {Arg::R8(70)});
}

// The set point as text: the platform's conversion of the double to a string.
void SSlider1_SetpointChange(Form& f, const EventArgs& a) { f["Text1"].SetText(a.At(0).AsString()); }
void SSlider2_SetpointChange(Form& f, const EventArgs& a) { f["Text2"].SetText(a.At(0).AsString()); }

const FontDef kBold975{L"MS Sans Serif", 9.75, true, false, false};
const FontDef kItalic975{L"MS Sans Serif", 9.75, false, true, false};

// Common to all: MinVal 0, actual range hidden, opaque button-face background.
ControlDef Slider(const char* name, int l, int t, int w, int h, bool vertical, std::vector<Prop> props) {
    return Hosted(name, kSlider, l, t, w, h,
                  Joined({Bool(L"Vertical", vertical), R8(L"MinVal", 0), Bool(L"ActualRangeVisible", false),
                          Color(L"BkColor", 0x8000000F), I4(L"BackStyle", 1)},
                         props));
}

FormDef MakeSliderForm() {
    FormDef f = ChildForm("frmSlider", 9420, 8715);
    const int bottom = 5160, cell = 1550;
    f.controls = {
        TextBox("Text1", 360, 3600, 855, 285, L"Text1"),
        TextBox("Text2", 2040, 1680, 855, 285, L"Text2"),
        Button("Command1", 3840, 1680, 1095, 375, L"Actaul Range"),
        Timer("Timer1", 50),
        // The scale's ends lie half a marker inside the window, so a drag reaches both.
        Slider("SSlider1", 0, 120, 1695, 3135, true,
               {R8(L"MaxVal", 100), I4(L"MarkerStyle", 11 /* MKELLIPSE */), Color(L"MarkerColor", 0xFF80FF),
                I2(L"MarkerWidth", 20), I2(L"MarkerHeight", 28), I2(L"RangeEndGap", 10),
                Bool(L"ShowSetpointValue", true), Bool(L"ShowActualValue", true),
                Color(L"RangeActualColor", 0xFF0000), Bool(L"ScaleSideChanged", true)}),
        Slider("SSlider2", 1800, 120, 3135, 1455, false,
               {R8(L"MaxVal", 100), I4(L"MarkerStyle", 10 /* MKDUMBBELL */), Color(L"MarkerColor", 0x00A0FF),
                I2(L"RangeEndGap", 8),
                Bool(L"ShowSetpointValue", true), Bool(L"ShowActualValue", true),
                Color(L"RangeBkColor", 0xFFFF00), Font(kBold975), Bool(L"ScaleSideChanged", true)}),
        Slider("SSlider3", 5040, 120, 4260, 1095, false, {R8(L"MaxVal", 100), I4(L"MarkerStyle", 2 /* MKARROW */)}),
        Slider("SSlider4", 5040, 1320, 4260, 1095, false,
               {R8(L"MaxVal", 100), I4(L"MarkerStyle", 1 /* MKGRADIENT */), Color(L"BkColor", 0xC0FFFF),
                Color(L"MarkerColor", 0x0080FF)}),
        Slider("SSlider5", 5040, 2520, 4260, 1095, false,
               {R8(L"MaxVal", 100), I4(L"MarkerStyle", 3 /* MKRAISEDTOOTH */), Bool(L"InverseDirection", true)}),
        Slider("SSlider6", 1800, 2160, 3135, 1095, false,
               {R8(L"MaxVal", 500), I4(L"MarkerStyle", 14 /* MKEX3 */), Color(L"MarkerColor", 0x00C000)}),
        Slider("SSlider7", 1800, 3360, 3135, 855, false,
               {R8(L"MaxVal", 100), I4(L"MarkerStyle", 15 /* MKEX4 */), I2(L"ScalePrecision", 2)}),
        Slider("SSlider8", 5040, 3720, 4260, 1095, false,
               {R8(L"MaxVal", 100), I4(L"MarkerStyle", 5 /* MKRAISEDTOOTHARROW */), Color(L"RangeBkColor", 0xC0C0FF)}),
        Slider("SSlider9", 1800, 4260, 3135, 855, false,
               {R8(L"MaxVal", 100), I4(L"MarkerStyle", 9 /* MKTRIANGLE */), I4(L"BorderStyle", 1 /* SUNKEN */)}),
        Slider("SSlider10", 120, bottom, 1455, 3375, true, {R8(L"MaxVal", 100), I4(L"MarkerStyle", 7 /* MKRAISED */)}),
        Slider("SSlider11", 120 + cell, bottom, 1455, 3375, true,
               {R8(L"MaxVal", 100), I4(L"MarkerStyle", 12 /* MKEX1 */), Color(L"MarkerColor", 0x4040FF)}),
        Slider("SSlider12", 120 + 2 * cell, bottom, 1455, 3375, true,
               {R8(L"MaxVal", 100), I4(L"MarkerStyle", 13 /* MKEX2 */), I4(L"RangeBorderStyle", 1 /* SUNKEN */)}),
        Slider("SSlider13", 120 + 3 * cell, bottom, 1455, 3375, true,
               {R8(L"MaxVal", 50), Bool(L"ShowSetpointValue", true), Bool(L"ShowActualValue", true),
                I2(L"SubTickerNum", 9), I4(L"MarkerStyle", 4 /* MKSUNKENTOOTH */)}),
        Slider("SSlider14", 120 + 4 * cell, bottom, 1455, 3375, true,
               {R8(L"MaxVal", 100), I4(L"MarkerStyle", 6 /* MKSUNKENTOOTHARROW */), I4(L"BorderStyle", 2 /* RAISED */)}),
        Slider("SSlider15", 120 + 5 * cell, bottom, 1455, 3375, true,
               {R8(L"MaxVal", 100), I4(L"MarkerStyle", 8 /* MKSUNKEN */), Font(kItalic975)}),
    };
    f.handlers = {{"", kLoadEvent, "Form_Load", &frmSlider_Load},
                  {"Timer1", kTimerEvent, "Timer1_Timer", &frmSlider_Timer1_Timer},
                  {"Command1", kClickEvent, "Command1_Click", &frmSlider_Command1_Click},
                  {"SSlider1", slider::SetpointChange, "SSlider1_SetpointChange", &SSlider1_SetpointChange},
                  {"SSlider2", slider::SetpointChange, "SSlider2_SetpointChange", &SSlider2_SetpointChange}};
    f.newState = [] { return std::any(SliderState{}); };
    return f;
}

// ---------------------------------------------------------------- frmSwitchSlider

void frmSwitchSlider_Load(Form& f, const EventArgs&) {
    const std::vector<Item> five{{L"Key1", L"Opt1", 0x0000FF}, {L"Key2", L"Opt2", 0x00FF00},
                                 {L"Key3", L"Opt3", 0xFF0000}, {L"Key4", L"Opt4", 0x00FFFF},
                                 {L"Key5", L"Opt5", 0x008000}};
    const std::vector<Item> three{{L"Key1", L"Item1", 0x0000FF}, {L"Key2", L"Item2", 0x00FF00},
                                  {L"Key3", L"Item3", 0xFF0000}};
    const std::vector<Item> nine{{L"Key1", L"Opt1", 0x0000FF}, {L"Key2", L"Opt2", 0x00FF00}};
    const std::vector<Item> ten{{L"Key1", L"Opt1", 0x00FFFF}, {L"Key2", L"Opt2", 0x00FF00}};
    const std::vector<Item>* lists[10] = {&five, &five, &three, &three, &five, &three, &three, &five, &nine, &ten};
    for (int i = 0; i < 10; ++i)
        AddItems(f["SwitchSlider" + std::to_string(i + 1)], switchslider::AddItem, *lists[i]);
}

void SwitchSlider1_ValueChange(Form& f, const EventArgs& a) { f["Text1"].SetText(a.Str(0)); }

ControlDef SwitchSlider(const char* name, int l, int t, int w, int h, bool vertical, int indicator,
                        std::vector<Prop> more = {}) {
    return Hosted(name, kSwitchSlider, l, t, w, h,
                  Joined({Bool(L"Vertical", vertical), I4(L"IndicatorType", indicator), I2(L"IndicatorSize", 10),
                          Color(L"BkColor", 0x8000000F), I4(L"BackStyle", 1)},
                         more));
}

FormDef MakeSwitchSliderForm() {
    FormDef f = ChildForm("frmSwitchSlider", 8805, 7800);
    f.controls = {
        TextBox("Text1", 360, 4080, 855, 315, L"Text1"),
        SwitchSlider("SwitchSlider1", 120, 120, 1575, 3375, true, 1 /* ITGRADIENTCIRCLE */,
                     {Color(L"MarkerColor", 0x8000FF)}),
        SwitchSlider("SwitchSlider2", 1800, 120, 1575, 3375, true, 2 /* ITLINE */, {Color(L"MarkerColor", 0xFF8000)}),
        SwitchSlider("SwitchSlider3", 3480, 120, 1575, 3375, true, 3 /* IT3DLINE */,
                     {I4(L"MarkerStyle", 2 /* MKARROW */)}),
        SwitchSlider("SwitchSlider4", 5160, 120, 1575, 3375, true, 4 /* ITDIAMOND */,
                     {Color(L"RangeBkColor", 0xFFFFC0)}),
        SwitchSlider("SwitchSlider5", 120, 4560, 4200, 1455, false, 5 /* ITSQURE */,
                     {Bool(L"InverseDirection", true)}),
        SwitchSlider("SwitchSlider6", 4440, 4560, 4200, 1455, false, 6 /* ITTRIANGLE */,
                     {I4(L"MarkerStyle", 1 /* MKGRADIENT */)}),
        SwitchSlider("SwitchSlider7", 120, 6120, 4200, 1455, false, 1 /* ITGRADIENTCIRCLE */,
                     {I4(L"MarkerStyle", 10 /* MKDUMBBELL */)}),
        SwitchSlider("SwitchSlider8", 4440, 6120, 4200, 1455, false, 4 /* ITDIAMOND */,
                     {Bool(L"InverseDirection", true), Color(L"MarkerColor", 0x0080FF)}),
        SwitchSlider("SwitchSlider9", 6960, 120, 1575, 3375, true, 5 /* ITSQURE */,
                     {I4(L"BorderStyle", 1 /* SUNKEN */)}),
        SwitchSlider("SwitchSlider10", 1440, 3600, 7200, 855, false, 2 /* ITLINE */),
    };
    f.handlers = {{"", kLoadEvent, "Form_Load", &frmSwitchSlider_Load},
                  {"SwitchSlider1", switchslider::ValueChange, "SwitchSlider1_ValueChange", &SwitchSlider1_ValueChange}};
    return f;
}

}  // namespace

const FormDef frmSlider = MakeSliderForm();
const FormDef frmSwitchSlider = MakeSwitchSliderForm();

}  // namespace velmora

// frmKnob: eleven knobs, one swept by a timer, coloured scale ranges from a
// button; frmSwitchKnob: four switch knobs whose items are added at load.
#include "demo/classes.h"
#include "demo/forms_common.h"
#include "demo/velmora.h"

namespace velmora {

using namespace forms;
using namespace forms::prop;

namespace {

// ---------------------------------------------------------------- frmKnob

struct KnobState {
    short value = 10;
    bool rising = true;
};

void frmKnob_Load(Form& f, const EventArgs&) { f.State<KnobState>() = KnobState{10, true}; }

void frmKnob_Timer1_Timer(Form& f, const EventArgs&) {
    KnobState& s = f.State<KnobState>();
    if (s.rising) {
        s.value = static_cast<short>(s.value + 1);
        if (s.value >= 98) s.rising = false;
    } else {
        s.value = static_cast<short>(s.value - 1);
        if (s.value <= 2) s.rising = true;
    }
    f["Knob1"].Call(knob::UpdateValue, {Arg::R8(s.value)});
}

void SetRange(Control& k, short index, double start, double end, LONG colour) {
    k.Call(knob::SetScaleRangeColor, {Arg::I2(index), Arg::R8(start), Arg::R8(end), Arg::I4(colour)});
}

void cmdMultiColor_Click(Form& f, const EventArgs&) {
    for (const char* name : {"Knob1", "Knob5"}) {
        Control& k = f[name];
        SetRange(k, 0, 0, 30, 0x0000FF);
        SetRange(k, 1, 30, 50, 0xFF0000);
        SetRange(k, 2, 50, 70, 0x00FF00);
        SetRange(k, 3, 70, 90, 0x008000);
    }
    Control& k4 = f["Knob4"];
    SetRange(k4, 0, 0, 30, 0x0000FF);
    SetRange(k4, 1, 30, 50, 0x00FFFF);
    SetRange(k4, 2, 50, 70, 0x00FF00);
}

FormDef MakeKnobForm() {
    FormDef f = ChildForm("frmKnob", 10545, 8925);
    f.controls = {
        Timer("Timer1", 100),
        Button("cmdMultiColor", 2880, 8160, 855, 375, L"MultiColor"),
        Hosted("Knob1", kKnob, 0, 120, 3015, 3015,
               {Color(L"BkColor", 0xFFFF00), I4(L"BackStyle", 1), Color(L"PanelColor", 0x80000018),
                Str(L"UnitName", L"RPM"), I4(L"BorderType", 9 /* ES_CONFIGURABLE */),
                I4(L"IndicatorType", 17 /* IS_Sunken_Arrow */), Color(L"IndicatorColor", 0x00C000),
                I2(L"IndicatorSize", 10), I4(L"MarkerType", 1 /* MS_Raised_Squre */),
                I4(L"SetpointTextType", 3 /* STS_BOTTOM_TRANSPARENT */), I4(L"ScaleRingBorderType", 0 /* ONLY_OUTER */),
                R8(L"MaxVal", 100), I2(L"StartAngle", 135), I2(L"EndAngle", 45)}),
        Hosted("Knob2", kKnob, 6840, 6120, 3195, 2775,
               {R8(L"MaxVal", 500), Str(L"UnitName", L"mm/s"), I4(L"IndicatorType", 5 /* IS_Slide_RoundButton */)}),
        Hosted("Knob3", kKnob, 120, 6600, 2655, 2175,
               {I2(L"ScalePrecision", 2), I4(L"IndicatorType", 4 /* IS_RoundButton */)}),
        Hosted("Knob4", kKnob, 0, 3360, 3135, 3135,
               {Str(L"UnitName", L"psi"), I4(L"BorderType", 5 /* ES_3DGRADIENT */), I4(L"IndicatorType", 1 /* IS_Rect_3D */),
                I4(L"MarkerType", 5 /* MS_Sunken_Rect */), Color(L"MarkerColor", 0x00FF00),
                I4(L"SetpointTextType", 5 /* STS_BOTTOM_NONE */), Color(L"TickerColor", 0x0080FF)}),
        Hosted("Knob5", kKnob, 3120, 120, 3615, 3615,
               {Bool(L"InverseDirection", true), I2(L"TickerNum", 11), I2(L"StartAngle", 100), I2(L"EndAngle", 80),
                I4(L"BorderType", 3 /* ES_CIRCLE */), Color(L"CircleColor", 0x008000),
                I4(L"IndicatorType", 5 /* IS_Slide_RoundButton */), I2(L"SliderWidth", 4),
                I4(L"SetpointTextType", 2 /* STS_SUNKEN */)}),
        Hosted("Knob6", kKnob, 6720, 120, 3495, 3255,
               {I4(L"PanelBorderType", 4 /* PBS_3D_RING */), Color(L"PanelBorderDarkColor", 0x404000),
                Color(L"PanelBorderLightColor", 0xFFFF00), I4(L"IndicatorType", 7 /* IS_Slide_Bubble */),
                Color(L"IndicatorColor", 0x008000), I4(L"SliderType", 1 /* SS_GRADIENT */),
                I4(L"TickerAlignment", 1)}),
        Hosted("Knob7", kKnob, 6960, 3360, 2895, 2655,
               {I4(L"PanelType", 3 /* PS_Hover */), Color(L"PanelColor", 0x00C000), I4(L"IndicatorType", 6 /* IS_Bubble */),
                Color(L"TickerColor", 0xFFFFFF), Color(L"ScaleRingColor", 0xFF00FF)}),
        Hosted("Knob8", kKnob, 3480, 3720, 2655, 2775,
               {I4(L"BorderType", 8 /* ES_RAISEDCIRCLE */), I4(L"IndicatorType", 11 /* IS_Bold_Needle */),
                I2(L"ScalePrecision", 0)}),
        Hosted("Knob9", kKnob, 3840, 6480, 2535, 2295,
               {I4(L"PanelType", 2 /* PS_Bubble */), Color(L"PanelColor", 0xC0C0C0), I2(L"StartAngle", 180),
                I2(L"EndAngle", 45)}),
        // The two small knobs overlap bigger ones, so they come after them.
        Hosted("Knob10", kKnob, 3000, 6120, 735, 735,
               {I4(L"PanelType", 3 /* PS_Hover */), I2(L"OuterTextHeight", 0), I2(L"OuterTextLength", 0),
                Bool(L"ScaleRingVisible", false), I2(L"PanelBorderLen", 2)}),
        Hosted("Knob11", kKnob, 2760, 3120, 1215, 1215,
               {I4(L"PanelType", 2 /* PS_Bubble */), I2(L"OuterTextHeight", 0), I2(L"OuterTextLength", 0),
                Bool(L"ScaleRingVisible", false)}),
    };
    f.handlers = {{"", kLoadEvent, "Form_Load", &frmKnob_Load},
                  {"Timer1", kTimerEvent, "Timer1_Timer", &frmKnob_Timer1_Timer},
                  {"cmdMultiColor", kClickEvent, "cmdMultiColor_Click", &cmdMultiColor_Click}};
    f.newState = [] { return std::any(KnobState{}); };
    return f;
}

// ---------------------------------------------------------------- frmSwitchKnob

void frmSwitchKnob_Load(Form& f, const EventArgs&) {
    const std::vector<std::pair<const char*, std::vector<Item>>> lists = {
        {"SwitchKnob1",
         {{L"Key1", L"Opt1", 0x0000FF}, {L"Key2", L"Opt2", 0x00FF00}, {L"Key3", L"Opt3", 0xFF0000},
          {L"Key4", L"Opt4", 0x00FFFF}, {L"Key5", L"Opt5", 0x008000}}},
        {"SwitchKnob2",
         {{L"Key1", L"Red", 0x0000FF}, {L"Key2", L"Green", 0x00FF00}, {L"Key3", L"Blue", 0xFF0000},
          {L"Key4", L"Yellow", 0x00FFFF}}},
        {"SwitchKnob3",
         {{L"Key1", L"R", 0x0000FF}, {L"Key2", L"G", 0x00FF00}, {L"Key3", L"B", 0xFF0000}, {L"Key4", L"Y", 0x00FFFF}}},
        {"SwitchKnob4",
         {{L"Key1", L"Item1", 0x0000FF}, {L"Key2", L"Item2", 0x00FF00}, {L"Key3", L"Item3", 0xFF0000},
          {L"Key4", L"Item4", 0x00FFFF}, {L"Key5", L"Item5", 0x008000},
          {L"Key6", L"Item6", static_cast<LONG>(0x8000000F)}}},
    };
    for (const auto& list : lists) {
        Control& c = f[list.first];
        AddItems(c, switchknob::AddItem, list.second);
        c.Call(switchknob::UpdateSetpoint, {Arg::Str(L"Key3")});
    }
}

const FontDef kBold{L"MS Sans Serif", 8.25, true, false, false};

FormDef MakeSwitchKnobForm() {
    FormDef f = ChildForm("frmSwitchKnob", 9030, 7605);
    f.controls = {
        Hosted("SwitchKnob1", kSwitchKnob, 480, 240, 2895, 2895,
               {Font(kBold), Color(L"PanelColor", 0x80000002), I4(L"IndicatorType", 11 /* IS_Bold_Needle */),
                I4(L"ElementIndicatorType", 0 /* ITCIRCLE */), I2(L"ElementIndicatorSize", 12)}),
        Hosted("SwitchKnob2", kSwitchKnob, 480, 3600, 3735, 3735,
               {Font(kBold), I4(L"PanelType", 2 /* PS_Bubble */), Color(L"PanelColor", 0x00C000),
                I4(L"BorderType", 5 /* ES_3DGRADIENT */), I4(L"ElementIndicatorType", 5 /* ITTRIANGLE */)}),
        Hosted("SwitchKnob3", kSwitchKnob, 5040, 4440, 2775, 2775,
               {Font(kBold), I4(L"IndicatorType", 17 /* IS_Sunken_Arrow */), Color(L"IndicatorColor", 0xFF80FF),
                I4(L"ElementIndicatorType", 3 /* ITDIAMOND */), I2(L"ElementIndicatorSize", 12)}),
        Hosted("SwitchKnob4", kSwitchKnob, 4320, 360, 3855, 3855,
               {Font(kBold), Color(L"BkColor", 0xC0E0FF), I4(L"BorderType", 4 /* ES_3DRING */),
                I4(L"PanelBorderType", 3 /* PBS_3D_GRADIENT */), I4(L"ElementIndicatorType", 1 /* ITGRADIENTCIRCLE */)}),
    };
    f.handlers = {{"", kLoadEvent, "Form_Load", &frmSwitchKnob_Load}};
    return f;
}

}  // namespace

const FormDef frmKnob = MakeKnobForm();
const FormDef frmSwitchKnob = MakeSwitchKnobForm();

}  // namespace velmora

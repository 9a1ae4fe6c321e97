// frmSwitch: twenty-two switches in all seven shapes, four command buttons
// that change groups of them, and click handlers that drive their status.
#include "demo/classes.h"
#include "demo/forms_common.h"
#include "demo/resource.h"
#include "demo/velmora.h"

namespace velmora {

using namespace forms;
using namespace forms::prop;

namespace {

enum Shape { USER_IMAGE, RECTANGLE, ROUND_RECTANGLE, CIRCLE, WEDGE_TOGGLE, GROOVE_TOGGLE, SWITCH_TOGGLE };
constexpr OLE_COLOR kUnsetColour = 0xCCCCCCCC;  // the saved background of most switches (no valid colour)

void ChangeValue(Form& f, const EventArgs&) {
    const char* names[] = {"Switch1", "Switch2", "Switch7", "Switch3", "Switch5", "Switch8"};
    for (const char* n : names) f[n].Put(sw::Value, Arg::Bool(!f[n].Get(sw::Value).AsBool()));
    for (const char* n : names) f[n].Put(sw::Status, Arg::Bool(!f[n].Get(sw::Status).AsBool()));
}

void ChangeButtonHeight(Form& f, const EventArgs&) {
    for (const char* n : {"Switch2", "Switch4", "Switch12", "Switch6", "Switch22", "Switch3", "Switch1"})
        f[n].Put(sw::ButtonHeight, Arg::I2(f[n].Get(sw::ButtonHeight).AsShort() > 5 ? 2 : 6));
}

void ChangeGradientRate(Form& f, const EventArgs&) {
    for (const char* n : {"Switch2", "Switch1", "Switch22", "Switch3", "Switch6"}) {
        Control& s = f[n];
        if (s.Get(sw::GradientRate).AsFloat() > 0.7f) {
            s.Put(sw::GradientRate, Arg::R4(0.2f));
            s.Put(sw::EdgeColor, Arg::I4(0xC0C0C0));
        } else {
            s.Put(sw::EdgeColor, Arg::I4(0xFFFFFF));
            s.Put(sw::GradientRate, Arg::R4(0.8f));
        }
    }
}

void ChangeSideColor(Form& f, const EventArgs&) {
    for (const char* n : {"Switch3", "Switch1"})
        f[n].Put(sw::SideDarkColor, Arg::I4(f[n].Get(sw::SideDarkColor).AsLong() == 0x008000 ? 0x004000 : 0x008000));
}

// The status flips on every click, whatever the value.
template <int N>
void FlipStatus(Form& f, const EventArgs&) {
    Control& s = f["Switch" + std::to_string(N)];
    s.Put(sw::Status, Arg::Bool(!s.Get(sw::Status).AsBool()));
}

// The status follows the switch's position.
template <int N>
void StatusFollowsValue(Form& f, const EventArgs&) {
    Control& s = f["Switch" + std::to_string(N)];
    s.Put(sw::Status, Arg::Bool(s.Get(sw::Value).AsBool()));
}

void Switch11_Click(Form&, const EventArgs&) {}

// A switch in the grid of 6 x 4 cells, off with its status off unless its settings say otherwise.
ControlDef Switch(int n, int cell, Shape shape, OLE_COLOR back, std::vector<Prop> more = {}) {
    const int col = cell % 6, row = cell / 6;
    return Hosted("Switch" + std::to_string(n), kSwitch, 120 + col * 1230, 120 + row * 1350, 1110, 1230,
                  Joined({I4(L"SwitchType", shape), Color(L"BkColor", back), I4(L"BackStyle", 1), Bool(L"Value", false),
                          Bool(L"Status", false)},
                         more));
}

FormDef MakeSwitchForm() {
    FormDef f = ChildForm("frmSwitch", 7560, 6360);
    const OLE_COLOR face = 0x8000000F, white = 0xFFFFFF;
    f.controls = {
        Button("Command1", 120, 5640, 1335, 615, L"Change Value"),
        Button("Command2", 1560, 5640, 1335, 615, L"Change ButtonHeight"),
        Button("Command3", 3120, 5640, 1335, 615, L"Change Gradient Rate"),
        Button("Command4", 4800, 5640, 1335, 615, L"Change SideColor"),
        Switch(1, 0, GROOVE_TOGGLE, kUnsetColour,
               {Bool(L"bVerticalToggle", false), Bool(L"bShowStatus", false), Str(L"OnText", L"On"),
                Str(L"OffText", L"Off"), R4(L"GradientRate", 0.75f), I2(L"ButtonHeight", 2)}),
        Switch(2, 1, GROOVE_TOGGLE, kUnsetColour, {R4(L"GradientRate", 0.75f)}),
        Switch(3, 2, GROOVE_TOGGLE, kUnsetColour, {Bool(L"Status", true), Color(L"ForeColor", 0x00FF00)}),
        Switch(4, 3, WEDGE_TOGGLE, kUnsetColour, {Bool(L"bVerticalToggle", false), R4(L"GradientRate", 0.75f)}),
        Switch(5, 4, GROOVE_TOGGLE, kUnsetColour),
        Switch(6, 5, GROOVE_TOGGLE, face),
        Switch(7, 6, SWITCH_TOGGLE, kUnsetColour,
               {Str(L"OnText", L"ON"), Str(L"OffText", L"OFF"), Color(L"ForeColor", 0x00C0C0)}),
        Switch(8, 7, GROOVE_TOGGLE, kUnsetColour, {Bool(L"Status", true), Color(L"ForeColor", 0x00FF00)}),
        Switch(9, 8, CIRCLE, kUnsetColour),
        Switch(10, 9, ROUND_RECTANGLE, kUnsetColour, {Color(L"ForeColor", 0xFF8080)}),
        Switch(11, 10, RECTANGLE, kUnsetColour),
        Switch(12, 11, GROOVE_TOGGLE, kUnsetColour,
               {Bool(L"bVerticalToggle", false), Bool(L"bShowStatus", false), Str(L"OnText", L"On"),
                Str(L"OffText", L"Off"), R4(L"GradientRate", 0.75f)}),
        Switch(13, 12, USER_IMAGE, face,
               {Bool(L"Value", true), Picture(L"OnPicture", IDR_SWITCH_ON), Picture(L"OffPicture", IDR_SWITCH_OFF),
                I4(L"ImageStyle", 0 /* IPS_ORIGINALSIZE */), I4(L"Light3D", 4 /* RIGHT_BOTTOM */)}),
        Switch(14, 13, CIRCLE, kUnsetColour, {Color(L"ForeColor", 0xFFC0C0)}),
        Switch(15, 14, ROUND_RECTANGLE, kUnsetColour, {Color(L"ForeColor", 0xFFC0C0)}),
        Switch(16, 15, RECTANGLE, white),
        Switch(17, 16, WEDGE_TOGGLE, kUnsetColour, {Bool(L"bVerticalToggle", false), I2(L"ButtonHeight", 2)}),
        Switch(18, 17, USER_IMAGE, face,
               {Bool(L"Value", true), Picture(L"OnPicture", IDR_SWITCH_ON), Picture(L"OffPicture", IDR_SWITCH_OFF),
                I4(L"ImageStyle", 1 /* IPS_TEXTURE */), Str(L"Text", L"Texture"), I4(L"Light3D", 4 /* RIGHT_BOTTOM */)}),
        Switch(19, 18, ROUND_RECTANGLE, white, {Color(L"ForeColor", 0xFF8080), I2(L"ButtonHeight", 12)}),
        Switch(20, 19, RECTANGLE, face, {Str(L"Text", L"Click"), Str(L"OnText", L"On"), Str(L"OffText", L"Off")}),
        Switch(21, 20, CIRCLE, white, {Color(L"ForeColor", 0xC0FFC0), I2(L"ButtonHeight", 12)}),
        Switch(22, 21, GROOVE_TOGGLE, kUnsetColour, {Bool(L"Status", true), Color(L"ForeColor", 0x00FF00)}),
    };
    f.handlers = {{"Command1", kClickEvent, "Command1_Click", &ChangeValue},
                  {"Command2", kClickEvent, "Command2_Click", &ChangeButtonHeight},
                  {"Command3", kClickEvent, "Command3_Click", &ChangeGradientRate},
                  {"Command4", kClickEvent, "Command4_Click", &ChangeSideColor},
                  {"Switch1", sw::Click, "Switch1_Click", &FlipStatus<1>},
                  {"Switch2", sw::Click, "Switch2_Click", &FlipStatus<2>},
                  {"Switch5", sw::Click, "Switch5_Click", &FlipStatus<5>},
                  {"Switch7", sw::Click, "Switch7_Click", &FlipStatus<7>},
                  {"Switch10", sw::Click, "Switch10_Click", &FlipStatus<10>},
                  {"Switch11", sw::Click, "Switch11_Click", &Switch11_Click},
                  {"Switch12", sw::Click, "Switch12_Click", &FlipStatus<12>},
                  {"Switch13", sw::Click, "Switch13_Click", &FlipStatus<13>},
                  {"Switch17", sw::Click, "Switch17_Click", &StatusFollowsValue<17>},
                  {"Switch19", sw::Click, "Switch19_Click", &FlipStatus<19>},
                  {"Switch20", sw::Click, "Switch20_Click", &FlipStatus<20>},
                  {"Switch22", sw::Click, "Switch22_Click", &StatusFollowsValue<22>}};
    return f;
}

}  // namespace

const FormDef frmSwitch = MakeSwitchForm();

}  // namespace velmora

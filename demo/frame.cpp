// MDIFrmVelmora: the frame with its link panel, and the introduction form.
#include "demo/forms_common.h"
#include "demo/resource.h"
#include "demo/velmora.h"

namespace velmora {

using namespace forms;

namespace {

struct FrameState {
    std::shared_ptr<Form> current;
};

// Closes the current child form and opens a fresh instance of target. A
// failing step ends the navigation; the steps done stay done.
void Navigate(Form& frame, const FormDef& target) {
    auto& state = frame.State<FrameState>();
    if (state.current) {
        state.current->Unload();
        state.current.reset();
    }
    state.current = frame.runtime().Load(target);
    state.current->Show();
}

void OpenFromLabel(Form& frame, const FormDef& target, const char* label) {
    Navigate(frame, target);
    frame[label].SetForeColor(0x0000FF);
}

void MDIForm_Load(Form& f, const EventArgs&) { Navigate(f, frmIntro); }
void lblIntro_Click(Form& f, const EventArgs&) { OpenFromLabel(f, frmIntro, "lblIntro"); }
void lblButton1_Click(Form& f, const EventArgs&) { OpenFromLabel(f, frmSmartButton1, "lblButton1"); }
void lblButton2_Click(Form& f, const EventArgs&) { OpenFromLabel(f, frmSmartButton2, "lblButton2"); }
void lblSwitch_Click(Form& f, const EventArgs&) { OpenFromLabel(f, frmSwitch, "lblSwitch"); }
void lblSlider_Click(Form& f, const EventArgs&) { OpenFromLabel(f, frmSlider, "lblSlider"); }
void lblSwitchSlider_Click(Form& f, const EventArgs&) { OpenFromLabel(f, frmSwitchSlider, "lblSwitchSlider"); }
void lblKnob_Click(Form& f, const EventArgs&) { OpenFromLabel(f, frmKnob, "lblKnob"); }
void lblSwitchKnob_Click(Form& f, const EventArgs&) { OpenFromLabel(f, frmSwitchKnob, "lblSwitchKnob"); }

const FontDef kLinkFont{L"MS Sans Serif", 12, true, false, true};

ControlDef Link1(const char* name, int left, int top, int width, const wchar_t* caption) {
    return Label(name, left, top, width, 375, caption).In("PicContents").WithFont(kLinkFont).Fore(0xFF0000);
}

FormDef MakeFrame() {
    FormDef f;
    f.name = "MDIFrmVelmora";
    f.mdiFrame = true;
    f.caption = L"Halvorn Instrument Works - Velmora";
    f.icon = IDI_VELMORA;
    f.width = 11505;
    f.height = 9705;
    f.left = 60;
    f.top = 345;
    f.back = 0x8000000C;
    f.controls = {Panel("PicContents", 2220),
                  Link1("lblIntro", 240, 240, 1815, L"Introduction"),
                  Link1("lblButton1", 120, 1320, 2175, L"Smart Button (1)"),
                  Link1("lblButton2", 120, 2280, 2175, L"Smart Button (2)"),
                  Link1("lblSwitch", 120, 3240, 1935, L"Switch"),
                  Link1("lblSlider", 120, 4320, 1695, L"Slider"),
                  Link1("lblSwitchSlider", 120, 5160, 2415, L"Switch Slider"),
                  Link1("lblKnob", 120, 6000, 1815, L"Knob"),
                  Link1("lblSwitchKnob", 120, 6720, 2175, L"Switch Knob"),
                  Line("Line1", 120, 840, 2160, 840).In("PicContents"),
                  Line("Line2", 120, 7320, 2160, 7320).In("PicContents")};
    f.handlers = {{"", kLoadEvent, "MDIForm_Load", &MDIForm_Load},
                  {"lblIntro", kClickEvent, "lblIntro_Click", &lblIntro_Click},
                  {"lblButton1", kClickEvent, "lblButton1_Click", &lblButton1_Click},
                  {"lblButton2", kClickEvent, "lblButton2_Click", &lblButton2_Click},
                  {"lblSwitch", kClickEvent, "lblSwitch_Click", &lblSwitch_Click},
                  {"lblSlider", kClickEvent, "lblSlider_Click", &lblSlider_Click},
                  {"lblSwitchSlider", kClickEvent, "lblSwitchSlider_Click", &lblSwitchSlider_Click},
                  {"lblKnob", kClickEvent, "lblKnob_Click", &lblKnob_Click},
                  {"lblSwitchKnob", kClickEvent, "lblSwitchKnob_Click", &lblSwitchKnob_Click}};
    f.newState = [] { return std::any(FrameState{}); };
    return f;
}

const wchar_t kIntroText[] =
    L"This demonstration shows the functions of the six components of the Halvorn operator panel package: "
    L"SmartButton, Switch, Slider, Switch Slider, Knob and Switch Knob. Choose a component in the list on the "
    L"left to see it at work.\r\n\r\n"
    L"The SmartButton serves any application that needs many kinds of buttons: round rectangles, diamonds, "
    L"triangles, ellipses, hover and arrow buttons and shapes of your own, with flat, 3D or gradient faces.\r\n\r\n"
    L"The Switch is a true/false or on/off toggle. It can show pictures of your own or one of its predefined "
    L"3D types.\r\n\r\n"
    L"The Slider sets a continuous value and offers many kinds of markers. The Switch Slider has the same look "
    L"and selects one of several options or discrete values.\r\n\r\n"
    L"The Knob adjusts a continuous value; the Switch Knob is a rotating switch for multiple options.";

const FontDef kMakerFont{L"MS Sans Serif", 9.75, false, false, false};

FormDef MakeIntro() {
    FormDef f = ChildForm("frmIntro", 9015, 9105);
    f.controls = {TextBox("txtIntro", 240, 3120, 8535, 5775, kIntroText)
                      .MultiLine()
                      .Back(0x8000000F)
                      .WithFont({L"MS Sans Serif", 9.75, false, false, false}),
                  Label("lblHeading", 3600, 2760, 1695, 375, L"Introduction")
                      .WithFont({L"MS Sans Serif", 12, true, false, false}),
                  Image("imgMaker", 480, 120, 3630, 2550, IDR_INTRO),
                  Label("lblHalvorn", 4440, 240, 4335, 375, L"Halvorn Instrument Works")
                      .WithFont({L"MS Sans Serif", 12, true, false, false}),
                  Label("lblAddress", 4440, 840, 4335, 300, L"7 Quarry Lane, Eastholm").WithFont(kMakerFont),
                  Label("lblCity", 4440, 1200, 4335, 300, L"Northmere Valley").WithFont(kMakerFont),
                  Label("lblPhone", 4440, 1560, 4335, 300, L"Telephone: 000 555 0100").WithFont(kMakerFont),
                  Label("lblFax", 4440, 1920, 4335, 300, L"Fax: 000 555 0101").WithFont(kMakerFont),
                  Label("lblMail", 4440, 2280, 4335, 300, L"E-mail: panels@halvorn.invalid").WithFont(kMakerFont)};
    return f;
}

}  // namespace

const FormDef MDIFrmVelmora = MakeFrame();
const FormDef frmIntro = MakeIntro();

const Link kLinks[8] = {{"lblIntro", &frmIntro},       {"lblButton1", &frmSmartButton1},
                        {"lblButton2", &frmSmartButton2}, {"lblSwitch", &frmSwitch},
                        {"lblSlider", &frmSlider},     {"lblSwitchSlider", &frmSwitchSlider},
                        {"lblKnob", &frmKnob},         {"lblSwitchKnob", &frmSwitchKnob}};

FormDef ChildForm(const char* name, int width, int height) {
    FormDef f;
    f.name = name;
    f.width = width;
    f.height = height;
    f.left = 60;
    f.top = 60;
    return f;
}

std::vector<Prop> Joined(std::vector<Prop> common, const std::vector<Prop>& own) {
    common.insert(common.end(), own.begin(), own.end());
    return common;
}

void AddItems(Control& c, DISPID addItem, const std::vector<Item>& items) {
    for (const Item& i : items) c.Call(addItem, {Arg::Str(i.key), Arg::Str(i.name), Arg::I4(i.colour)});
}

std::shared_ptr<Form> CurrentChild(Form& frame) {
    auto& state = frame.State<FrameState>();
    return state.current && state.current->Loaded() ? state.current : nullptr;
}

}  // namespace velmora

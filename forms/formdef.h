// Forms as data. A form is one table: its name, client size, back colour and
// font; one row per control (name, kind or hosted class, rectangle in twips,
// settings); one row per handler (control, event, function). Row order is
// creation order and z-order: a later row lies above an earlier one.
//
//     const forms::FormDef frmDemo = {
//         "frmDemo", 4800, 3600,
//         {forms::Button("cmdGo", 120, 120, 1200, 375, L"Go"),
//          forms::Hosted("Dial1", kDialClass, 120, 600, 2000, 2000, {forms::prop::I2(L"TickerNum", 11)})},
//         {{"cmdGo", forms::kClickEvent, "cmdGo_Click", &cmdGo_Click}}};
#pragma once
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <any>
#include <functional>
#include <string>
#include <vector>

namespace forms {

class Form;
class EventArgs;

// A class of hosted control: how the runtime creates it and talks to it.
struct ClassDef {
    const char* name;  // the form's name of the class, e.g. "TarnikLibCtl.QEV_Knob" (a label, no ProgID)
    CLSID clsid;       // created by this, from the registration
    IID iid;           // default dual interface (late-bound calls go through it)
    IID events;        // event interface the form's sink connects to
};

struct FontDef {
    const wchar_t* face = L"MS Sans Serif";
    double points = 8.25;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// One design-time setting of a hosted control, put by name into a design-mode
// instance whose saved properties then become the form's.
struct Prop {
    enum Type { I2, I4, R4, R8, Bool, Str, Font, Picture };
    std::wstring name;
    Type type = I4;
    double number = 0;
    std::wstring text;
    FontDef font;
    int resource = 0;  // Picture: RCDATA resource holding the image file
};

namespace prop {
inline Prop I2(const wchar_t* n, short v) { Prop p; p.name = n; p.type = Prop::I2; p.number = v; return p; }
inline Prop I4(const wchar_t* n, LONG v) { Prop p; p.name = n; p.type = Prop::I4; p.number = v; return p; }
// Colours and enumerations go as VT_I4, as a form designer writes them.
inline Prop Color(const wchar_t* n, OLE_COLOR c) { return I4(n, static_cast<LONG>(c)); }
inline Prop R4(const wchar_t* n, float v) { Prop p; p.name = n; p.type = Prop::R4; p.number = v; return p; }
inline Prop R8(const wchar_t* n, double v) { Prop p; p.name = n; p.type = Prop::R8; p.number = v; return p; }
inline Prop Bool(const wchar_t* n, bool v) { Prop p; p.name = n; p.type = Prop::Bool; p.number = v ? 1 : 0; return p; }
inline Prop Str(const wchar_t* n, const wchar_t* v) { Prop p; p.name = n; p.type = Prop::Str; p.text = v; return p; }
// A Font object (put), for a font unlike the form's.
inline Prop Font(FontDef f) { Prop p; p.name = L"Font"; p.type = Prop::Font; p.font = f; return p; }
// A picture made from an image resource, put by reference.
inline Prop Picture(const wchar_t* n, int resource) {
    Prop p; p.name = n; p.type = Prop::Picture; p.resource = resource; return p;
}
}  // namespace prop

enum class Kind {
    Label,    // caption, font, fore colour; click
    Line,     // drawn by its container from (left, top) to (width, height) as x2, y2
    Image,    // a bitmap at its original size
    TextBox,  // text, single- or multi-line, back colour, font
    Button,   // caption; click
    Timer,    // interval and enabled; tick
    Panel,    // picture box docked along the frame's left edge, width wide; holds labels and lines
    Hosted,   // an ActiveX control of a ClassDef
};

struct ControlDef {
    std::string name;
    Kind kind = Kind::Label;
    const ClassDef* cls = nullptr;
    int left = 0, top = 0, width = 0, height = 0;  // twips
    std::string parent;                           // container row ("" = the form)
    std::wstring text;                            // caption or text
    FontDef font;
    bool hasFont = false;                         // else the form's font
    OLE_COLOR fore = 0x80000012;                  // button text
    OLE_COLOR back = 0;
    bool hasBack = false;                         // else the container's back colour
    bool multiLine = false;
    UINT interval = 0;                            // timer, ms
    bool enabled = true;
    int resource = 0;                             // image: RCDATA resource holding a BMP file
    std::vector<Prop> props;                      // hosted: design-time settings

    ControlDef& In(std::string container) { parent = std::move(container); return *this; }
    ControlDef& WithFont(FontDef f) { font = f; hasFont = true; return *this; }
    ControlDef& Fore(OLE_COLOR c) { fore = c; return *this; }
    ControlDef& Back(OLE_COLOR c) { back = c; hasBack = true; return *this; }
    ControlDef& MultiLine() { multiLine = true; return *this; }
};

ControlDef Label(std::string name, int l, int t, int w, int h, std::wstring caption);
ControlDef Line(std::string name, int x1, int y1, int x2, int y2);
ControlDef Image(std::string name, int l, int t, int w, int h, int resource);
ControlDef TextBox(std::string name, int l, int t, int w, int h, std::wstring text);
ControlDef Button(std::string name, int l, int t, int w, int h, std::wstring caption);
ControlDef Timer(std::string name, UINT interval, bool enabled = true);
ControlDef Panel(std::string name, int width);
ControlDef Hosted(std::string name, const ClassDef& cls, int l, int t, int w, int h, std::vector<Prop> props = {});

// Events of the built-in parts; hosted controls' events are their own dispatch ids.
constexpr DISPID kClickEvent = DISPID_CLICK;
constexpr DISPID kTimerEvent = 0x7F000001;
constexpr DISPID kLoadEvent = 0x7F000002;  // the form's own (control "")

using HandlerFn = void (*)(Form& form, const EventArgs& args);

struct HandlerDef {
    std::string control;  // "" = the form
    DISPID event;
    const char* name;     // e.g. "Timer1_Timer", for the error log
    HandlerFn fn;
};

struct FormDef {
    std::string name;
    int width = 0, height = 0;          // client, twips
    std::vector<ControlDef> controls;
    std::vector<HandlerDef> handlers;
    bool mdiFrame = false;              // the frame: the others open inside it
    OLE_COLOR back = 0x8000000F;        // the frame: its workspace colour
    FontDef font;                       // ambient font of the hosted controls
    std::wstring caption;
    int icon = 0;                       // icon resource
    int left = 0, top = 0;              // design position, twips (children: inside the frame)
    std::function<std::any()> newState; // the form's own variables, made at each load
};

}  // namespace forms

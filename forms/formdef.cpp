#include "forms/formdef.h"

namespace forms {

namespace {
ControlDef Row(std::string name, Kind kind, int l, int t, int w, int h) {
    ControlDef d;
    d.name = std::move(name);
    d.kind = kind;
    d.left = l;
    d.top = t;
    d.width = w;
    d.height = h;
    return d;
}
}  // namespace

ControlDef Label(std::string name, int l, int t, int w, int h, std::wstring caption) {
    ControlDef d = Row(std::move(name), Kind::Label, l, t, w, h);
    d.text = std::move(caption);
    return d;
}

ControlDef Line(std::string name, int x1, int y1, int x2, int y2) {
    ControlDef d = Row(std::move(name), Kind::Line, x1, y1, x2 - x1, y2 - y1);
    d.fore = 0x80000008;  // window text
    return d;
}

ControlDef Image(std::string name, int l, int t, int w, int h, int resource) {
    ControlDef d = Row(std::move(name), Kind::Image, l, t, w, h);
    d.resource = resource;
    return d;
}

ControlDef TextBox(std::string name, int l, int t, int w, int h, std::wstring text) {
    ControlDef d = Row(std::move(name), Kind::TextBox, l, t, w, h);
    d.text = std::move(text);
    d.fore = 0x80000008;  // window text
    d.back = 0x80000005;  // window
    d.hasBack = true;
    return d;
}

ControlDef Button(std::string name, int l, int t, int w, int h, std::wstring caption) {
    ControlDef d = Row(std::move(name), Kind::Button, l, t, w, h);
    d.text = std::move(caption);
    return d;
}

ControlDef Timer(std::string name, UINT interval, bool enabled) {
    ControlDef d = Row(std::move(name), Kind::Timer, 0, 0, 0, 0);
    d.interval = interval;
    d.enabled = enabled;
    return d;
}

ControlDef Panel(std::string name, int width) { return Row(std::move(name), Kind::Panel, 0, 0, width, 0); }

ControlDef Hosted(std::string name, const ClassDef& cls, int l, int t, int w, int h, std::vector<Prop> props) {
    ControlDef d = Row(std::move(name), Kind::Hosted, l, t, w, h);
    d.cls = &cls;
    d.props = std::move(props);
    return d;
}

}  // namespace forms

// The knob's rows of the paint benchmark: at 100, 200 and 400 px square the
// defaults and each border type, panel style, panel rim style and pointer
// style (one at a time), then a bubble pointer far larger than the knob;
// and hostile values: negative sizes of the knob and the switch knob.
#include <cstdio>
#include <string>
#include <vector>

#include "Tarnik.h"
#include "paint/bench.h"

namespace {

IQEV_Knob* NewKnob() {
    return static_cast<IQEV_Knob*>(bench::NewControl(L"Tarnik.dll", __uuidof(QEV_Knob), __uuidof(IQEV_Knob)));
}

typedef std::function<void(IQEV_Knob*)> Setting;

// A row that paints a new knob with `apply` done and the value at 37.5.
bench::Row KnobRow(const std::string& name, Setting apply) {
    return bench::Row{name, [apply](bench::Size size, int repeats) {
                          IQEV_Knob* knob = NewKnob();
                          if (!knob) return -1.0;
                          apply(knob);
                          knob->UpdateValue(37.5);
                          const double ms = bench::PaintMs(knob, size, repeats);
                          knob->Release();
                          return ms;
                      }};
}

std::vector<bench::Row> Rows() {
    std::vector<bench::Row> v;
    v.push_back(KnobRow("defaults", [](IQEV_Knob*) {}));
    static const char* const borders[] = {"flat", "sunken", "raised", "circle", "3d ring",
                                          "3d gradient", "3d flat circle", "sunken circle", "raised circle",
                                          "configurable"};
    for (int i = 0; i < 10; ++i)
        v.push_back(KnobRow(std::string("border ") + std::to_string(i) + " " + borders[i],
                            [i](IQEV_Knob* k) { k->put_BorderType(static_cast<EdgeStyle>(i)); }));
    static const char* const panels[] = {"none", "circle", "bubble", "hover"};
    for (int i = 0; i < 4; ++i)
        v.push_back(KnobRow(std::string("panel ") + std::to_string(i) + " " + panels[i],
                            [i](IQEV_Knob* k) { k->put_PanelType(static_cast<PanelStyle>(i)); }));
    static const char* const rims[] = {"none", "gradient", "3d flat", "3d gradient", "3d ring", "sunken", "raised"};
    for (int i = 0; i < 7; ++i)
        v.push_back(KnobRow(std::string("panel rim ") + std::to_string(i) + " " + rims[i],
                            [i](IQEV_Knob* k) { k->put_PanelBorderType(static_cast<PanelBorderStyle>(i)); }));
    static const char* const pointers[] = {"rect flat", "rect 3d", "circle", "slide circle", "round button",
                                           "slide round button", "bubble", "slide bubble", "hover", "slide hover",
                                           "needle", "bold needle", "arrow needle", "arrow", "sunken needle",
                                           "sunken bold needle", "sunken arrow needle", "sunken arrow"};
    for (int i = 0; i < 18; ++i)
        v.push_back(KnobRow(std::string("pointer ") + std::to_string(i) + " " + pointers[i],
                            [i](IQEV_Knob* k) { k->put_IndicatorType(static_cast<IndicatorStyle>(i)); }));
    return v;
}

void Summary(const std::vector<bench::Row>& rows, const std::vector<std::vector<double>>& ms,
             const std::vector<bench::References>& refs) {
    const int sizes[] = {100, 200, 400};
    double worst[3] = {0, 0, 0}, defaults[3] = {0, 0, 0};
    std::string worstName[3];
    for (size_t r = 0; r < rows.size(); ++r)
        for (int s = 0; s < 3; ++s) {
            if (ms[r][s] > worst[s]) {
                worst[s] = ms[r][s];
                worstName[s] = rows[r].name;
            }
            if (rows[r].name == "defaults") defaults[s] = ms[r][s];
        }
    std::printf("\nsummary:\n");
    for (int s = 0; s < 3; ++s)
        std::printf("  %3d px: defaults %.3f ms, slowest %.3f ms (%s), trackbar %.3f ms, BitBlt %.4f ms\n", sizes[s],
                    defaults[s], worst[s], worstName[s].c_str(), refs[s].track, refs[s].blt);
    std::printf("  targets: defaults at 200 px within 1 ms: %s; every style at 400 px within 4 ms: %s\n",
                defaults[1] <= 1.0 ? "met" : "MISSED", worst[2] <= 4.0 ? "met" : "MISSED");

    // Outside the targets: a bubble pointer far larger than the knob, whose
    // shaded disc is centred thousands of pixels off it.
    const bench::Row huge = KnobRow("pointer 6 bubble, size 32767", [](IQEV_Knob* k) {
        k->put_IndicatorType(IS_Bubble);
        k->put_IndicatorSize(32767);
    });
    std::vector<double> hugeMs;
    for (int s = 0; s < 3; ++s) hugeMs.push_back(huge.paint(bench::Size{sizes[s], sizes[s]}, 5));
    std::printf("\n");
    bench::PrintRow(huge.name, hugeMs, refs);
}

// ---------------------------------------------------------------- hostile values

IQEV_SwitchKnob* NewSwitchKnob() {
    return static_cast<IQEV_SwitchKnob*>(
        bench::NewControl(L"Tarnik.dll", __uuidof(QEV_SwitchKnob), __uuidof(IQEV_SwitchKnob)));
}

// Negative sizes a setter accepts grow the rectangles the rims are drawn
// on far beyond the control: a paint should cost what its visible part
// costs. Few repeats, as a paint here once took seconds.
template <class Control>
bench::Row HostileRow(const std::string& name, Control* (*create)(), std::function<void(Control*)> apply) {
    return bench::Row{name, [create, apply](bench::Size size, int repeats) {
                          Control* c = create();
                          if (!c) return -1.0;
                          apply(c);
                          const double ms = bench::PaintMs(c, size, repeats < 5 ? repeats : 5);
                          c->Release();
                          return ms;
                      }};
}

// `n` items named by number, in a few colours.
void AddItems(IQEV_SwitchKnob* k, int n) {
    const OLE_COLOR colours[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF};
    for (int i = 0; i < n; ++i) {
        BSTR key = SysAllocString((L"k" + std::to_wstring(i)).c_str());
        BSTR name = SysAllocString((L"item " + std::to_wstring(i)).c_str());
        k->AddItem(key, name, colours[i % 4]);
        SysFreeString(key);
        SysFreeString(name);
    }
}

std::vector<bench::Row> HostileRows() {
    typedef std::function<void(IQEV_SwitchKnob*)> SwitchKnobSetting;
    std::vector<bench::Row> v;
    v.push_back(HostileRow<IQEV_SwitchKnob>("switch knob defaults", NewSwitchKnob, [](IQEV_SwitchKnob*) {}));
    for (int rim = 0; rim <= 6; ++rim)
        v.push_back(HostileRow<IQEV_SwitchKnob>("switch knob rim " + std::to_string(rim) + ", element size -32768",
                                                NewSwitchKnob, SwitchKnobSetting([rim](IQEV_SwitchKnob* k) {
                                                    k->put_PanelBorderType(static_cast<PanelBorderStyle>(rim));
                                                    k->put_ElementIndicatorSize(-32768);
                                                })));
    for (int rim = 0; rim <= 6; ++rim)
        v.push_back(HostileRow<IQEV_Knob>("knob rim " + std::to_string(rim) + ", rim length -32768", NewKnob,
                                          Setting([rim](IQEV_Knob* k) {
                                              k->put_PanelBorderType(static_cast<PanelBorderStyle>(rim));
                                              k->put_PanelBorderLen(-32768);
                                          })));
    v.push_back(HostileRow<IQEV_Knob>("knob outer texts -32768", NewKnob, Setting([](IQEV_Knob* k) {
                                          k->put_OuterTextLength(-32768);
                                          k->put_OuterTextHeight(-32768);
                                      })));
    v.push_back(HostileRow<IQEV_Knob>("knob configurable border -32768", NewKnob, Setting([](IQEV_Knob* k) {
                                          k->put_BorderType(ES_CONFIGURABLE);
                                          k->put_OuterBorderLen(-32768);
                                      })));
    // Item marks far larger than the knob, one per item.
    v.push_back(HostileRow<IQEV_SwitchKnob>("switch knob, 5,000 items", NewSwitchKnob,
                                            SwitchKnobSetting([](IQEV_SwitchKnob* k) { AddItems(k, 5000); })));
    for (int size : {32767, -32768})
        for (int type : {ITCIRCLE, ITSQURE})
            v.push_back(HostileRow<IQEV_SwitchKnob>(
                "switch knob, 5,000 items, " + std::string(type == ITCIRCLE ? "circles" : "squares") +
                    " of size " + std::to_string(size),
                NewSwitchKnob, SwitchKnobSetting([size, type](IQEV_SwitchKnob* k) {
                    k->put_ElementIndicatorType(static_cast<ElementIndicatorStyle>(type));
                    k->put_ElementIndicatorSize(size);
                    AddItems(k, 5000);
                })));
    return v;
}

const bool added = bench::AddGroup(bench::Group{
    "Knob paint", 10, {{100, 100}, {200, 200}, {400, 400}}, Rows, Summary});
const bool hostile = bench::AddGroup(bench::Group{
    "Knob paint, hostile values", 11, {{200, 200}}, HostileRows, nullptr});

}  // namespace

// frmSlider and frmSwitchSlider on the slider library (skipped, and said so,
// while it is not registered).
#include <doctest/doctest.h>

#include "driver.h"
#include "host.h"

#include <vector>

using namespace demotest;
namespace sl = velmora::slider;
namespace ss = velmora::switchslider;

namespace {

std::string Text(forms::Form& f, const char* box) { return forms::Narrow(f[box].Text()); }
using forms::Narrow;

double Setpoint(forms::Form& f, const char* name) { return f[name].Call(sl::GetSetpoint).AsDouble(); }

// The text form of the slider's set point, as the form shows it.
std::wstring SetpointText(forms::Form& f, const char* name) { return f[name].Call(sl::GetSetpoint).AsString(); }

forms::DibCanvas Shot(forms::Form& f) {
    UpdateWindow(f.hwnd());
    testsupport::PumpPending();
    return forms::CaptureWindow(f.hwnd());
}

// The marker's centre on the screen, found by its colour in the form.
POINT MarkerOnScreen(forms::Form& f, const char* name, COLORREF colour) {
    forms::Control& c = f[name];
    POINT p = CentreOf(Shot(f), c.rect(), colour);
    REQUIRE(p.x >= 0);
    ClientToScreen(f.hwnd(), &p);
    return p;
}

}  // namespace

TEST_CASE("the slider form's timer moves both set points by 2 a tick, turning past 99 and below 2") {
    if (Skipped(velmora::frmSlider)) return;
    Velmora app;
    auto form = app.Open("lblSlider");
    REQUIRE(form.get() != nullptr);
    forms::Form& f = *form;
    CHECK(Setpoint(f, "SSlider1") == 50.0);
    const std::vector<std::pair<int, double>> expected = {{1, 52}, {24, 98}, {25, 100}, {26, 98},
                                                         {74, 2},  {75, 0},  {76, 2}};
    int ticks = 0;
    for (const auto& step : expected) {
        app.Tick(step.first - ticks, 50);
        ticks = step.first;
        CAPTURE(ticks);
        CHECK(Setpoint(f, "SSlider1") == step.second);
        CHECK(Setpoint(f, "SSlider2") == step.second);
    }
    CHECK(Text(f, "Text1") == "Text1");  // the text boxes follow drags only
    CHECK(Text(f, "Text2") == "Text2");

    SUBCASE("exactly 99 and exactly 2 do not turn the sweep") {
        f["SSlider1"].Call(sl::UpdateSetpoint, {forms::Arg::R8(99)});  // rising
        app.Tick(1, 50);
        CHECK(Setpoint(f, "SSlider1") == 100.0);  // 101, held at the end of the scale
        app.Tick(2, 50);                          // turned at 100: 98, 96
        f["SSlider1"].Call(sl::UpdateSetpoint, {forms::Arg::R8(2)});
        app.Tick(1, 50);
        CHECK(Setpoint(f, "SSlider1") == 0.0);
    }
}

TEST_CASE("Actaul Range sets the actual values of the two driven sliders") {
    if (Skipped(velmora::frmSlider)) return;
    Velmora app;
    auto form = app.Open("lblSlider");
    REQUIRE(form.get() != nullptr);
    CHECK(Narrow((*form)["Command1"].Text()) == "Actaul Range");
    app.rt().calls.enabled = true;
    ClickAt(ScreenPoint((*form)["Command1"].hwnd()));
    const auto& calls = app.rt().calls.calls;
    REQUIRE(calls.size() == 2);
    CHECK(calls[0].control == "SSlider1");
    CHECK(calls[1].control == "SSlider2");
    for (const auto& c : calls) {
        CHECK(c.dispid == sl::UpdateActualValue);
        CHECK(c.types == std::vector<VARTYPE>{VT_R8});
    }
    CHECK(calls[0].values[0].AsDouble() == 30.0);
    CHECK(calls[1].values[0].AsDouble() == 70.0);
}

TEST_CASE("dragging a driven slider's marker shows its set point in its own text box after every move") {
    if (Skipped(velmora::frmSlider)) return;
    Velmora app;
    auto form = app.Open("lblSlider");
    REQUIRE(form.get() != nullptr);
    forms::Form& f = *form;

    SUBCASE("SSlider1, vertical: Text1 follows, up to 100 and down to 0") {
        const RECT r = f["SSlider1"].rect();
        POINT p = MarkerOnScreen(f, "SSlider1", RGB(0xFF, 0x80, 0xFF));
        POINT top = ScreenPoint(f.hwnd(), 0, r.top + 3), bottom = ScreenPoint(f.hwnd(), 0, r.bottom - 4);
        Gesture g(p);
        int changed = 0;
        for (int y = p.y - 1; y >= top.y; --y) {
            g.MoveTo(POINT{p.x, y});
            if (Text(f, "Text1") != "Text1") ++changed;
            REQUIRE(Text(f, "Text1") == (changed ? Narrow(SetpointText(f, "SSlider1")) : "Text1"));
        }
        CHECK(changed > 50);
        CHECK(Text(f, "Text1") == "100");
        for (int y = top.y + 1; y <= bottom.y; ++y) {
            g.MoveTo(POINT{p.x, y});
            REQUIRE(Text(f, "Text1") == Narrow(SetpointText(f, "SSlider1")));
        }
        g.Release();
        CHECK(Text(f, "Text1") == "0");
        CHECK(Text(f, "Text2") == "Text2");
        app.Tick(1, 50);  // the timer goes on from where the drag left the marker
        CHECK(Setpoint(f, "SSlider1") == 2.0);
    }
    SUBCASE("SSlider2, horizontal: Text2 follows, Text1 stays") {
        const RECT r = f["SSlider2"].rect();
        POINT p = MarkerOnScreen(f, "SSlider2", RGB(0xFF, 0xA0, 0x00));
        POINT right = ScreenPoint(f.hwnd(), r.right - 4, 0);
        Gesture g(p);
        for (int x = p.x + 1; x <= right.x; ++x) {
            g.MoveTo(POINT{x, p.y});
            REQUIRE(Text(f, "Text2") == Narrow(SetpointText(f, "SSlider2")));
        }
        CHECK(Text(f, "Text2") == "100");
        CHECK(Text(f, "Text1") == "Text1");
    }
}

TEST_CASE("the switch sliders start on Key2; a pick on the first shows its key, picks on the others do not") {
    if (Skipped(velmora::frmSwitchSlider)) return;
    Velmora app;
    auto form = app.Open("lblSwitchSlider");
    REQUIRE(form.get() != nullptr);
    forms::Form& f = *form;
    for (int i = 1; i <= 10; ++i)
        CHECK(Narrow(f["SwitchSlider" + std::to_string(i)].Call(ss::GetSetpoint).AsString()) == "Key2");

    // Dragged to the top of the field: the last item, Key5.
    const RECT r1 = f["SwitchSlider1"].rect();
    POINT p = MarkerOnScreen(f, "SwitchSlider1", RGB(0xFF, 0x00, 0x80));
    DragFromTo(p, ScreenPoint(f.hwnd(), p.x - ScreenPoint(f.hwnd(), 0, 0).x, r1.top + 4), 20);
    CHECK(Narrow(f["SwitchSlider1"].Call(ss::GetSetpoint).AsString()) == "Key5");
    CHECK(Text(f, "Text1") == "Key5");

    const RECT r2 = f["SwitchSlider2"].rect();
    p = MarkerOnScreen(f, "SwitchSlider2", RGB(0x00, 0x80, 0xFF));
    DragFromTo(p, ScreenPoint(f.hwnd(), p.x - ScreenPoint(f.hwnd(), 0, 0).x, r2.bottom - 5), 20);
    CHECK(Narrow(f["SwitchSlider2"].Call(ss::GetSetpoint).AsString()) == "Key1");
    CHECK(Text(f, "Text1") == "Key5");
}

// frmKnob and frmSwitchKnob on the knob library.
#include <doctest/doctest.h>

#include "canvas.h"
#include "driver.h"
#include "host.h"

#include <vector>

using namespace demotest;
namespace kn = velmora::knob;
namespace sk = velmora::switchknob;

namespace {
double Value(forms::Form& f, const char* knob) { return f[knob].Call(kn::GetValue).AsDouble(); }

// Pixels of colour c inside the control's rectangle of a capture of its form.
int CountIn(const testsupport::DibCanvas& shot, forms::Control& c, COLORREF colour) {
    const RECT r = c.rect();
    return shot.Count(colour, &r);
}
}  // namespace

TEST_CASE("the knob form's timer sweeps Knob1 between 2 and 98, one step a tick, from 10") {
    Velmora app;
    auto form = app.Open("lblKnob");
    REQUIRE(form.get() != nullptr);
    CHECK(Value(*form, "Knob1") == 50.0);  // before the first tick
    const std::vector<std::pair<int, double>> expected = {{1, 11}, {40, 50}, {88, 98}, {89, 97},
                                                         {184, 2}, {185, 3}, {186, 4}};
    int ticks = 0;
    for (const auto& step : expected) {
        app.Tick(step.first - ticks, 100);
        ticks = step.first;
        CHECK_MESSAGE(Value(*form, "Knob1") == step.second, "after " << ticks << " ticks");
    }
    for (int i = 2; i <= 11; ++i) CHECK(Value(*form, ("Knob" + std::to_string(i)).c_str()) == 50.0);
}

TEST_CASE("MultiColor sets eleven scale ranges with the types of the calls, and a second click changes nothing") {
    Velmora app;
    auto form = app.Open("lblKnob");
    REQUIRE(form.get() != nullptr);
    forms::Control& knob1 = (*form)["Knob1"];
    UpdateWindow(form->hwnd());
    testsupport::PumpPending();
    testsupport::DibCanvas plain = testsupport::CaptureWindow(form->hwnd());
    CHECK(CountIn(plain, knob1, RGB(0, 0, 255)) == 0);
    CHECK(CountIn(plain, knob1, RGB(0, 255, 0)) == 0);

    app.rt().calls.enabled = true;
    ClickAt(ScreenPoint((*form)["cmdMultiColor"].hwnd()));
    const auto& calls = app.rt().calls.calls;
    REQUIRE(calls.size() == 11);
    const char* order[11] = {"Knob1", "Knob1", "Knob1", "Knob1", "Knob5", "Knob5",
                             "Knob5", "Knob5", "Knob4", "Knob4", "Knob4"};
    const LONG colours[11] = {0x0000FF, 0xFF0000, 0x00FF00, 0x008000, 0x0000FF, 0xFF0000,
                              0x00FF00, 0x008000, 0x0000FF, 0x00FFFF, 0x00FF00};
    for (size_t i = 0; i < 11; ++i) {
        CAPTURE(i);
        CHECK(calls[i].control == order[i]);
        CHECK(calls[i].dispid == kn::SetScaleRangeColor);
        CHECK(calls[i].flags == DISPATCH_METHOD);
        CHECK(calls[i].types == std::vector<VARTYPE>{VT_I2, VT_R8, VT_R8, VT_I4});
        CHECK(calls[i].values[0].AsShort() == static_cast<short>(i < 8 ? i % 4 : i - 8));
        CHECK(calls[i].values[3].AsLong() == colours[i]);
    }
    CHECK(calls[3].values[1].AsDouble() == 70.0);
    CHECK(calls[3].values[2].AsDouble() == 90.0);

    UpdateWindow(form->hwnd());
    testsupport::PumpPending();
    testsupport::DibCanvas ranged = testsupport::CaptureWindow(form->hwnd());
    CHECK(CountIn(ranged, knob1, RGB(0, 0, 255)) > 50);   // 30 to 50, blue
    CHECK(CountIn(ranged, knob1, RGB(0, 255, 0)) > 50);   // 50 to 70, green
    CHECK(CountIn(ranged, (*form)["Knob4"], RGB(255, 255, 0)) > 50);  // 30 to 50, yellow

    ClickAt(ScreenPoint((*form)["cmdMultiColor"].hwnd()));
    CHECK(calls.size() == 22);
    UpdateWindow(form->hwnd());
    testsupport::PumpPending();
    testsupport::DibCanvas again = testsupport::CaptureWindow(form->hwnd());
    const RECT r = knob1.rect();
    CHECK(again.Count(RGB(0, 0, 255), &r) == ranged.Count(RGB(0, 0, 255), &r));
    CHECK(again.Count(RGB(0, 255, 0), &r) == ranged.Count(RGB(0, 255, 0), &r));
}

TEST_CASE("the switch knobs open on their third item; the sixth item of SwitchKnob4 is in the button-face colour") {
    Velmora app;
    auto form = app.Open("lblSwitchKnob");
    REQUIRE(form.get() != nullptr);
    for (const char* name : {"SwitchKnob1", "SwitchKnob2", "SwitchKnob3", "SwitchKnob4"})
        CHECK((*form)[name].Call(sk::GetSetpoint).AsString() == L"Key3");
    UpdateWindow(form->hwnd());
    testsupport::PumpPending();
    testsupport::DibCanvas shot = testsupport::CaptureWindow(form->hwnd());
    forms::Control& sk4 = (*form)["SwitchKnob4"];
    // Item6's mark and name: the only pixels of that colour on a back colour of 0xC0E0FF.
    CHECK(CountIn(shot, sk4, GetSysColor(COLOR_BTNFACE)) > 5);
    CHECK(CountIn(shot, sk4, RGB(0xFF, 0xE0, 0xC0)) > 100);
}

// frmSwitch on the switch library and the smart-button forms on the button
// library (each skipped, and said so, while its library is not registered).
#include <doctest/doctest.h>

#include "driver.h"
#include "host.h"
#include "recorders.h"

#include <vector>

using namespace demotest;
namespace sw = velmora::sw;
namespace bt = velmora::button;
using forms::Arg;

namespace {

struct State {
    bool value, status;
    bool operator==(const State& o) const { return value == o.value && status == o.status; }
};

State Of(forms::Form& f, const std::string& name) {
    return State{f[name].Get(sw::Value).AsBool(), f[name].Get(sw::Status).AsBool()};
}

// A click on the on half (left or upper) or the off half of a switch's window.
void ClickHalf(forms::Control& c, bool onHalf, bool vertical) {
    RECT r;
    GetClientRect(c.hwnd(), &r);
    const int x = vertical ? r.right / 2 : (onHalf ? r.right / 4 : r.right * 3 / 4);
    const int y = vertical ? (onHalf ? r.bottom / 4 : r.bottom * 3 / 4) : r.bottom / 2;
    ClickAt(ScreenPoint(c.hwnd(), x, y));
}

const char* const kChanged[] = {"Switch1", "Switch2", "Switch7", "Switch3", "Switch5", "Switch8"};

}  // namespace

TEST_CASE("the switch form's command buttons change their groups of switches") {
    if (Skipped(velmora::frmSwitch)) return;
    Velmora app;
    auto form = app.Open("lblSwitch");
    REQUIRE(form.get() != nullptr);
    forms::Form& f = *form;
    auto press = [&](const char* button) { ClickAt(ScreenPoint(f[button].hwnd())); };

    SUBCASE("Change Value twice restores every value and status; once turns the status of Switch3 and Switch8 off") {
        std::vector<State> start;
        for (const char* n : kChanged) start.push_back(Of(f, n));
        CHECK(start[3] == State{false, true});  // Switch3 starts with its status on
        press("Command1");
        for (size_t i = 0; i < 6; ++i) CHECK(Of(f, kChanged[i]) == State{!start[i].value, !start[i].status});
        CHECK_FALSE(Of(f, "Switch8").status);
        press("Command1");
        for (size_t i = 0; i < 6; ++i) CHECK(Of(f, kChanged[i]) == start[i]);
    }
    SUBCASE("Change ButtonHeight toggles between 2 and 6") {
        const char* names[] = {"Switch2", "Switch4", "Switch12", "Switch6", "Switch22", "Switch3", "Switch1"};
        press("Command2");
        for (const char* n : names) CHECK(f[n].Get(sw::ButtonHeight).AsShort() == (std::string(n) == "Switch1" ? 6 : 2));
        press("Command2");
        for (const char* n : names) CHECK(f[n].Get(sw::ButtonHeight).AsShort() == (std::string(n) == "Switch1" ? 2 : 6));
    }
    SUBCASE("Change Gradient Rate: above 0.7 to 0.2 with grey edges, else to 0.8 with white ones") {
        f["Switch6"].Put(sw::GradientRate, Arg::R4(0.7f));  // exactly 0.7 is not above it
        app.rt().calls.enabled = true;
        press("Command3");
        const std::vector<forms::CallRecord> calls = app.rt().calls.calls;
        app.rt().calls.enabled = false;
        for (const char* n : {"Switch1", "Switch2"}) {
            CHECK(f[n].Get(sw::GradientRate).AsFloat() == 0.2f);
            CHECK(f[n].Get(sw::EdgeColor).AsLong() == 0xC0C0C0);
        }
        for (const char* n : {"Switch22", "Switch3", "Switch6"}) {
            CHECK(f[n].Get(sw::GradientRate).AsFloat() == 0.8f);
            CHECK(f[n].Get(sw::EdgeColor).AsLong() == 0xFFFFFF);
        }
        REQUIRE(calls.size() == 15);  // per switch: the read, then two writes
        CHECK(calls[0].control == "Switch2");
        CHECK(calls[1].dispid == sw::GradientRate);
        CHECK(calls[1].types == std::vector<VARTYPE>{VT_R4});
        CHECK(calls[2].dispid == sw::EdgeColor);
        CHECK(calls[2].types == std::vector<VARTYPE>{VT_I4});
        CHECK(calls[7].dispid == sw::EdgeColor);  // Switch22: the edge first
        press("Command3");  // each switch toggles on its own
        for (const char* n : {"Switch1", "Switch2"}) CHECK(f[n].Get(sw::GradientRate).AsFloat() == 0.8f);
        for (const char* n : {"Switch22", "Switch3", "Switch6"}) CHECK(f[n].Get(sw::GradientRate).AsFloat() == 0.2f);
    }
    SUBCASE("Change SideColor: any other side colour becomes 0x008000, then 0x004000") {
        press("Command4");
        CHECK(f["Switch3"].Get(sw::SideDarkColor).AsLong() == 0x008000);
        CHECK(f["Switch1"].Get(sw::SideDarkColor).AsLong() == 0x008000);
        press("Command4");
        CHECK(f["Switch3"].Get(sw::SideDarkColor).AsLong() == 0x004000);
    }
}

TEST_CASE("clicks on switches run their handlers after the switch has changed its value") {
    if (Skipped(velmora::frmSwitch)) return;
    Velmora app;
    auto form = app.Open("lblSwitch");
    REQUIRE(form.get() != nullptr);
    forms::Form& f = *form;

    // Switch17 (horizontal wedge): the status follows the value.
    ClickHalf(f["Switch17"], true, false);
    CHECK(Of(f, "Switch17") == State{true, true});
    ClickHalf(f["Switch17"], false, false);
    CHECK(Of(f, "Switch17") == State{false, false});
    // Switch1 (horizontal groove): the status flips on every click.
    const State s1 = Of(f, "Switch1");
    ClickHalf(f["Switch1"], true, false);
    CHECK(Of(f, "Switch1") == State{true, !s1.status});
    ClickHalf(f["Switch1"], false, false);
    CHECK(Of(f, "Switch1") == s1);
    // Switch11 has an empty handler, Switch16 none: only the value changes.
    for (const char* n : {"Switch11", "Switch16"}) {
        const State before = Of(f, n);
        ClickAt(ScreenPoint(f[n].hwnd()));
        CHECK(Of(f, n) == State{!before.value, before.status});
    }
    CHECK(app.rt().errors.empty());
}

TEST_CASE("SmartButton33 disables and enables the five target buttons and names the next action") {
    if (Skipped(velmora::frmSmartButton2)) return;
    Velmora app;
    auto form = app.Open("lblButton2");
    REQUIRE(form.get() != nullptr);
    forms::Form& f = *form;
    forms::Control& toggle = f["SmartButton33"];
    const char* targets[] = {"SmartButton28", "SmartButton29", "SmartButton30", "SmartButton31", "SmartButton32"};
    // Inside the left-pointing triangle: right of its middle.
    RECT r;
    GetClientRect(toggle.hwnd(), &r);
    const POINT click = ScreenPoint(toggle.hwnd(), r.right * 2 / 3, r.bottom / 2);
    auto enabledAll = [&](bool want) {
        for (const char* n : targets) {
            CAPTURE(n);
            CHECK(f[n].Get(bt::Enabled).AsBool() == want);
            CHECK((IsWindowEnabled(f[n].hwnd()) != FALSE) == want);
        }
    };
    CHECK(toggle.Get(bt::Caption).AsString() == L"Disable");
    app.rt().calls.enabled = true;
    ClickAt(click);
    const std::vector<forms::CallRecord> calls = app.rt().calls.calls;
    app.rt().calls.enabled = false;
    CHECK(toggle.Get(bt::Caption).AsString() == L"Enable");
    enabledAll(false);
    REQUIRE(calls.size() == 7);
    CHECK(calls[1].types == std::vector<VARTYPE>{VT_BSTR});
    CHECK(calls[2].control == "SmartButton28");
    CHECK(calls[2].dispid == bt::Enabled);
    CHECK(calls[2].types == std::vector<VARTYPE>{VT_BYREF | VT_BOOL});
    CHECK_FALSE(calls[2].values[0].AsBool());

    // A click on a disabled target fires nothing.
    testsupport::EventRecorder events(velmora::kSmartButton.events);
    REQUIRE(events.Connect(f["SmartButton28"].Object()) == S_OK);
    ClickAt(ScreenPoint(f["SmartButton28"].hwnd()));
    CHECK(events.Count() == 0);
    events.Disconnect();

    ClickAt(click);
    CHECK(toggle.Get(bt::Caption).AsString() == L"Disable");
    enabledAll(true);

    // Any caption but "Disable", exactly, counts as "enable".
    toggle.Put(bt::Caption, Arg::Str(L"disable"));
    ClickAt(click);
    CHECK(toggle.Get(bt::Caption).AsString() == L"Disable");
    enabledAll(true);
}

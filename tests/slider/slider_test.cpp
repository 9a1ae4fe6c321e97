// The slider as a container sees it: defaults, the setter protocol, live
// values, the saved stream byte by byte, the property bag, hostile data, and
// the mouse.
#include "slider_support.h"
#include <limits>

using namespace slidertest;

namespace {

struct SliderHost : Hosted {
    explicit SliderHost(int w = 0, int h = 0) : Hosted(CLSID_QEV_Slider, DIID__IQEV_SliderEvents, w, h) {}
    IQEV_Slider* s() const { return As<IQEV_Slider>(); }
    double Setpoint() const {
        double v = -1;
        REQUIRE(s()->GetSetpoint(&v) == S_OK);
        return v;
    }
};

VARIANT Var(VARTYPE vt, LONG i, double d = 0) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = vt;
    switch (vt) {
    case VT_R8: V_R8(&v) = d; break;
    case VT_I2: V_I2(&v) = (SHORT)i; break;
    case VT_BOOL: V_BOOL(&v) = (VARIANT_BOOL)i; break;
    default: V_I4(&v) = i; break;
    }
    return v;
}

// A value other than the default for every persisted property but the font.
struct Row {
    DISPID id;
    VARIANT value;
};
std::vector<Row> NewValues() {
    std::vector<Row> rows = {
        {1, Var(VT_BOOL, -1)},    {2, Var(VT_I4, 0x123456)}, {3, Var(VT_I4, 0x654321)}, {4, Var(VT_BOOL, -1)},
        {5, Var(VT_R8, 0, 250.5)}, {6, Var(VT_R8, 0, -20.25)}, {7, Var(VT_I2, 9)},      {8, Var(VT_I2, 2)},
        {9, Var(VT_I4, 0x0000AA)}, {10, Var(VT_I4, 14)},     {11, Var(VT_BOOL, -1)},    {12, Var(VT_I4, 3)},
        {13, Var(VT_I2, 6)},      {14, Var(VT_I2, 7)},       {15, Var(VT_I4, 0x111111)}, {16, Var(VT_I4, 0xEEEEEE)},
        {17, Var(VT_I4, 2)},      {18, Var(VT_I2, 16)},      {19, Var(VT_I4, 0x00AAFF)}, {20, Var(VT_BOOL, -1)},
        {21, Var(VT_BOOL, 0)},    {22, Var(VT_BOOL, -1)},    {23, Var(VT_BOOL, -1)},    {24, Var(VT_BOOL, -1)},
        {25, Var(VT_I2, 3)},      {26, Var(VT_I2, 21)},      {27, Var(VT_I2, 31)},      {28, Var(VT_I2, 5)},
        {29, Var(VT_I4, 0x808080)}, {30, Var(VT_I2, 12)},    {45, Var(VT_I4, 0)},
    };
    return rows;
}

}  // namespace

TEST_CASE("every setter stores, notifies its dispatch id, repaints and marks the slider dirty") {
    SliderHost h;
    NotifyRecorder notify;
    REQUIRE(notify.Connect(h.control) == S_OK);
    Ptr<IPersistStreamInit> ps;
    QueryOwned(h.control, IID_IPersistStreamInit, ps);
    for (Row& r : NewValues()) {
        INFO("dispid " << r.id);
        SaveBytes(h.control);  // clean
        notify.Clear();
        h.site->ResetCounters();
        CHECK(PutProperty(h.control, r.id, r.value) == S_OK);
        CHECK(notify.ChangedDispids() == std::vector<DISPID>{r.id});
        CHECK(h.site->counters().viewChanges == 1);
        CHECK(h.site->counters().dataChanges == 1);
        CHECK(ps->IsDirty() == S_OK);  // the stored values come back in the round trip below
    }
    // Font parts notify Font (31) and then their own id; FontStrikethrough keeps 42.
    const DISPID parts[] = {39, 40, 41, 42};
    for (DISPID id : parts) {
        notify.Clear();
        CHECK(PutProperty(h.control, id, Var(VT_BOOL, -1)) == S_OK);
        CHECK(notify.ChangedDispids() == std::vector<DISPID>{31, id});
    }
    // The set point is not re-clamped when the range moves.
    CHECK(h.s()->put_MaxVal(10) == S_OK);
    CHECK(h.Setpoint() == 50.0);
}

TEST_CASE("live values clamp MinVal first, reject NaN, notify nobody and leave the slider clean") {
    SliderHost h;
    NotifyRecorder notify;
    REQUIRE(notify.Connect(h.control) == S_OK);
    SaveBytes(h.control);
    IQEV_Slider* s = h.s();
    struct Case {
        double minVal, maxVal, in, stored;
    } cases[] = {
        {0, 100, 150, 100}, {0, 100, -5, 0}, {0, 100, 42.5, 42.5}, {100, 0, 99, 100}, {100, 0, 100, 0},
        {100, 0, 250, 0},
    };
    for (const Case& c : cases) {
        INFO(c.minVal << ".." << c.maxVal << " <- " << c.in);
        s->put_MinVal(c.minVal);
        s->put_MaxVal(c.maxVal);
        SaveBytes(h.control);
        notify.Clear();
        CHECK(s->UpdateSetpoint(c.in) == S_OK);
        CHECK(h.Setpoint() == c.stored);
        CHECK(notify.Log().empty());
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    CHECK(s->UpdateSetpoint(nan) == E_INVALIDARG);
    CHECK(h.Setpoint() == 0);
    CHECK(s->UpdateActualValue(nan) == E_INVALIDARG);
    CHECK(s->UpdateActualValue(1e300) == S_OK);
    Ptr<IPersistStreamInit> ps;
    QueryOwned(h.control, IID_IPersistStreamInit, ps);
    CHECK(ps->IsDirty() == S_FALSE);
    CHECK(h.events.Count() == 0);  // UpdateSetpoint fires no SetpointChange
    CHECK(s->GetSetpoint(nullptr) == E_POINTER);
    CHECK(s->get_Font(nullptr) == E_POINTER);
    CHECK(s->get_hWnd(nullptr) == E_POINTER);
}

TEST_CASE("the saved stream: version, extent and the rows in map order with their tags") {
    SliderHost h;
    Bytes saved = SaveBytes(h.control);
    Builder head;
    head.raw<DWORD>(0x800).raw<DWORD>(5080).raw<DWORD>(5080);
    head.boolean(false).color(GetSysColor(COLOR_WINDOW)).color(0x00FF00).boolean(false).r8(100).r8(0);
    head.i2(5).i2(4).color(0xFF).i4(0).boolean(false).i4(0).i2(4).i2(4).color(0xA8A8A8).color(0xE4E4E4).i4(0);
    head.i2(10).color(0xA8FAFA).boolean(false).boolean(true).boolean(false).boolean(false).boolean(false);
    head.i2(1).i2(15).i2(20).i2(0).color(0xD0D0D0).i2(0).tag(VT_DISPATCH);
    REQUIRE(saved.size() > head.b.size());
    CHECK(Bytes(saved.begin(), saved.begin() + head.b.size()) == head.b);

    // After the font object: Enabled, the eight parts and BackStyle.
    Bstr name;
    h.s()->get_FontName(&name);
    short points = 0, weight = 0, charset = 0;
    h.s()->get_FontSize(&points);
    h.s()->get_FontWeight(&weight);
    h.s()->get_FontCharset(&charset);
    Builder tail;
    tail.boolean(true).tag(VT_BSTR).raw<DWORD>((DWORD)(SysStringLen(name) + 1) * 2);
    for (UINT i = 0; i < SysStringLen(name); ++i) tail.raw<USHORT>(name.b[i]);
    tail.raw<USHORT>(0).i2(points).boolean(false).boolean(false).boolean(false).boolean(false);
    tail.i2(weight).i2(charset).i4(1);
    CHECK(Bytes(saved.end() - tail.b.size(), saved.end()) == tail.b);
}

TEST_CASE("an underlined font fills the FontStrikethrough slot, which loads into FontUnderline") {
    SliderHost a;
    REQUIRE(a.s()->put_FontUnderline(VARIANT_TRUE) == S_OK);
    Bytes saved = SaveBytes(a.control);
    // FontItalic (false), FontUnderline (true), "FontStrikethrough" holding the underline (true), FontWeight.
    Builder rows;
    rows.boolean(false).boolean(true).boolean(true).tag(VT_I2);
    // A stream whose slot says underlined while the Underline row says not.
    size_t at = FindBytes(saved, rows.b);
    REQUIRE(at != std::string::npos);
    Bytes edited = saved;
    edited[at + 6] = 0;
    edited[at + 7] = 0;
    SliderHost b;
    NotifyRecorder notify;
    notify.Connect(b.control);
    CHECK(LoadBytes(b.control, edited) == S_OK);
    VARIANT_BOOL underline = 0, strike = -1;
    b.s()->get_FontUnderline(&underline);
    b.s()->get_FontStrikethrough(&strike);
    CHECK(underline == VARIANT_TRUE);
    CHECK(strike == VARIANT_FALSE);
    CHECK(notify.Changed(41) == 2);  // set twice, by both rows
    CHECK(notify.Changed(42) == 0);
}

TEST_CASE("saving and loading: round trip, bag keys, live values reset, hostile streams") {
    SliderHost a;
    std::vector<Row> rows = NewValues();
    for (Row& r : rows) REQUIRE(PutProperty(a.control, r.id, r.value) == S_OK);
    a.s()->UpdateSetpoint(3);
    a.s()->UpdateActualValue(7);
    Bytes saved = SaveBytes(a.control);

    SUBCASE("every property comes back through its setter; the live values start over") {
        SliderHost b;
        CHECK(LoadBytes(b.control, saved) == S_OK);
        CHECK(SaveBytes(b.control) == saved);
        for (Row& r : rows) {
            INFO("dispid " << r.id);
            CHECK(GetProperty(b.control, r.id).AsDouble() == Variant(r.value).AsDouble());
        }
        CHECK(b.Setpoint() == 50.0);
    }
    SUBCASE("the bag holds the map's names in map order") {
        Bag bag;
        Ptr<IPersistPropertyBag> ppb;
        QueryOwned(a.control, IID_IPersistPropertyBag, ppb);
        REQUIRE(ppb->Save(&bag, TRUE, TRUE) == S_OK);
        const std::vector<std::wstring> keys = {
            L"_cx", L"_cy", L"Vertical", L"BkColor", L"RangeBkColor", L"InverseDirection", L"MaxVal", L"MinVal",
            L"TickerNum", L"SubTickerNum", L"TextColor", L"MarkerStyle", L"ScaleSideChanged", L"BorderStyle",
            L"OuterBorderLen", L"InnerBorderLen", L"BorderDarkColor", L"BorderLightColor", L"RangeBorderStyle",
            L"RangeFieldWidth", L"RangeActualColor", L"PercentageScale", L"ScaleVisible", L"ShowSetpointValue",
            L"ActualRangeVisible", L"ShowActualValue", L"ScalePrecision", L"MarkerWidth", L"MarkerHeight",
            L"ScaleGap", L"MarkerColor", L"RangeEndGap", L"Font", L"Enabled", L"FontName", L"FontSize", L"FontBold",
            L"FontItalic", L"FontUnderline", L"FontStrikethrough", L"FontWeight", L"FontCharset", L"BackStyle",
        };
        CHECK(bag.order == keys);
        SliderHost b;
        Ptr<IPersistPropertyBag> ppb2;
        QueryOwned(b.control, IID_IPersistPropertyBag, ppb2);
        CHECK(ppb2->Load(&bag, nullptr) == S_OK);
        for (Row& r : rows) CHECK(GetProperty(b.control, r.id).AsDouble() == Variant(r.value).AsDouble());
    }
    SUBCASE("a newer version is refused, a cut stream keeps the rows before the cut") {
        SliderHost b;
        Bytes newer = saved;
        newer[1] = 0x09;
        CHECK(LoadBytes(b.control, newer) == E_FAIL);
        CHECK(GetProperty(b.control, 5).AsDouble() == 100);
        Bytes cut(saved.begin(), saved.begin() + 12 + 4 + 6 + 6 + 4 + 10);  // through MaxVal
        CHECK(FAILED(LoadBytes(b.control, cut)));
        CHECK(GetProperty(b.control, 5).AsDouble() == 250.5);
        CHECK(GetProperty(b.control, 6).AsDouble() == 0);
        Bytes badTag = saved;
        badTag[12] = 0x44;
        CHECK(FAILED(LoadBytes(b.control, badTag)));
    }
}

// ---------------------------------------------------------------- mouse

namespace {

// A horizontal slider 121 x 60 with RangeEndGap 10: its value rectangle runs
// from x = 10 to 110 across y = 25..35, the marker (15 x 20) centred at y = 30.
struct DragHost : SliderHost {
    DragHost() : SliderHost(121, 60) {
        s()->put_RangeEndGap(10);
        s()->UpdateSetpoint(20);  // marker centre at x = 30
        Paint();
        events.Clear();
    }
};

std::vector<double> SetpointChanges(const EventRecorder& rec) {
    std::vector<double> out;
    for (const RecordedEvent& e : rec.Events())
        if (e.dispid == ValueEvent) out.push_back(e.Num(0));
    return out;
}

}  // namespace

TEST_CASE("dragging the marker maps the mouse into the value rectangle") {
    DragHost h;
    SUBCASE("x = 60 gives 50, and the release clicks") {
        h.Press(30, 30);
        h.Drag(60, 30);
        h.Release(60, 30);
        CHECK(h.events.Dispids() == std::vector<DISPID>{MouseDown, MouseMove, ValueEvent, MouseUp, Click});
        CHECK(SetpointChanges(h.events) == std::vector<double>{50.0});
        CHECK(h.events.Events()[2].types == std::vector<VARTYPE>{VT_R8});
        CHECK(h.Setpoint() == 50.0);
    }
    SUBCASE("a press on the marker's edge pixels arms the drag") {
        for (POINT p : {POINT{37, 40}, POINT{23, 20}}) {
            h.events.Clear();
            h.Press(p.x, p.y);
            h.Drag(90, 30);
            h.Release(90, 30);
            CHECK(SetpointChanges(h.events) == std::vector<double>{80.0});
            h.s()->UpdateSetpoint(20);
        }
    }
    SUBCASE("moves past the value rectangle's ends or into the margin change nothing") {
        h.Press(30, 30);
        h.Drag(113, 30);  // beyond V.right, inside the window
        h.Drag(5, 30);    // before V.left, outside the margin
        CHECK(SetpointChanges(h.events).empty());
        h.Drag(2, 30);    // the 2-pixel margin ends the drag
        h.Drag(60, 30);
        h.Release(60, 30);
        CHECK(SetpointChanges(h.events).empty());
        CHECK(h.events.Count(Click) == 0);
        CHECK(h.Setpoint() == 20.0);
    }
    SUBCASE("a move without the button ends the drag without a value or a click") {
        h.Press(30, 30);
        h.Hover(60, 30);
        h.Drag(70, 30);
        h.Release(70, 30);
        CHECK(h.events.Dispids() == std::vector<DISPID>{MouseDown, MouseMove, MouseMove, MouseUp});
    }
    SUBCASE("a press beside the marker drags nothing") {
        h.Press(80, 30);
        h.Drag(90, 30);
        h.Release(90, 30);
        CHECK(h.events.Dispids() == std::vector<DISPID>{MouseDown, MouseMove, MouseUp});
    }
    SUBCASE("a double click: the second press fires DblClick and arms nothing") {
        h.Press(30, 30);
        h.Release(30, 30);
        h.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 30, 30);
        h.Release(30, 30);
        CHECK(h.events.Dispids() == std::vector<DISPID>{MouseDown, MouseUp, Click, DblClick, MouseUp});
    }
    SUBCASE("a disabled slider fires nothing and does not move") {
        h.s()->put_Enabled(VARIANT_FALSE);
        h.Press(30, 30);
        h.Drag(60, 30);
        h.Release(60, 30);
        h.Send(WM_KEYDOWN, 'A', 1, 0);
        h.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, 30, 30);
        CHECK(h.events.Count() == 0);
        CHECK(h.Setpoint() == 20.0);
    }
}

TEST_CASE("vertical and inverse drags run the scale the other way") {
    struct Case {
        bool vertical, inverse;
        POINT grab, to;
        double expect;
    } cases[] = {
        // Vertical 60 x 120, RangeEndGap 9: V runs from y = 10 to 110, the marker centred at x = 30.
        {true, false, {30, 90}, {30, 60}, 50},
        {true, true, {30, 30}, {30, 35}, 25},
        {false, true, {90, 30}, {85, 30}, 25},
    };
    for (const Case& c : cases) {
        INFO(c.vertical << c.inverse);
        SliderHost h(c.vertical ? 60 : 121, c.vertical ? 120 : 60);
        h.s()->put_Vertical(c.vertical ? VARIANT_TRUE : VARIANT_FALSE);
        h.s()->put_InverseDirection(c.inverse ? VARIANT_TRUE : VARIANT_FALSE);
        h.s()->put_RangeEndGap(c.vertical ? 9 : 10);
        h.s()->UpdateSetpoint(20);
        h.Paint();
        h.events.Clear();
        h.Press(c.grab.x, c.grab.y);
        h.Drag(c.to.x, c.to.y);
        CHECK(SetpointChanges(h.events) == std::vector<double>{c.expect});
    }
}

TEST_CASE("before its first paint a slider's marker holds no point") {
    SliderHost h;
    REQUIRE(h.site->Activate(RECT{0, 0, 121, 60}) == S_OK);
    HWND w = h.site->ControlWindow();
    REQUIRE(w);
    // No paint has run yet: a press at the origin arms nothing.
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, 0));
    SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(0, 0));
    CHECK(h.events.Count(Click) == 0);
}

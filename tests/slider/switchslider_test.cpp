// The switch slider through COM: defaults, setters and persistence, the item
// methods and the lists on show, and the snap of its marker.
#include "slider_support.h"
#include "tests/support/canvas.h"

using namespace slidertest;

namespace {

struct SwitchHost : Hosted {
    explicit SwitchHost(int w = 0, int h = 0, bool userMode = true, bool answerUserMode = true)
        : Hosted(CLSID_QEV_SwitchSlider, DIID__IQEV_SwitchSliderEvents, w, h, userMode, answerUserMode) {}
    IQEV_SwitchSlider* s() const { return As<IQEV_SwitchSlider>(); }
    std::wstring Key() const {
        Bstr key;
        REQUIRE(s()->GetSetpoint(&key) == S_OK);
        return key.str();
    }
    void Add(const wchar_t* key, const wchar_t* name, OLE_COLOR c) {
        Bstr k(key), n(name);
        REQUIRE(s()->AddItem(k, n, c) == S_OK);
    }
    void SetKey(const wchar_t* key) {
        Bstr k(key);
        REQUIRE(s()->UpdateSetpoint(k) == S_OK);
    }
    std::vector<std::wstring> ValueChanges() const {
        std::vector<std::wstring> out;
        for (const RecordedEvent& e : events.Events())
            if (e.dispid == ValueEvent) out.push_back(e.Str(0));
        return out;
    }
};

}  // namespace

TEST_CASE("a new switch slider starts on Key2; getters refuse null; setters notify their own ids") {
    SwitchHost h;
    CHECK(h.Key() == L"Key2");
    CHECK(h.s()->GetSetpoint(nullptr) == E_POINTER);
    CHECK(h.s()->get_Font(nullptr) == E_POINTER);

    NotifyRecorder notify;
    REQUIRE(notify.Connect(h.control) == S_OK);
    VARIANT v;
    V_VT(&v) = VT_I2;
    V_I2(&v) = 9;
    for (DISPID id : {8, 9, 13, 15, 16, 17, 19, 21}) {
        notify.Clear();
        CHECK(PutProperty(h.control, id, v) == S_OK);
        CHECK(notify.ChangedDispids() == std::vector<DISPID>{id});
        CHECK(GetProperty(h.control, id).AsLong() == 9);
    }
    notify.Clear();
    CHECK(h.s()->put_FontStrikethrough(VARIANT_TRUE) == S_OK);
    CHECK(notify.ChangedDispids() == std::vector<DISPID>{22, 34});
    CHECK(h.s()->put_IndicatorType(static_cast<IndicatorStyle>(42)) == S_OK);
    CHECK(GetProperty(h.control, 20).AsLong() == 42);
}

TEST_CASE("saving keeps every mapped property, loses the items and the current key") {
    SwitchHost a;
    a.s()->put_Vertical(VARIANT_TRUE);
    a.s()->put_RangeEndGap(3);
    a.s()->put_IndicatorType(ITDIAMOND);
    a.s()->put_FontStrikethrough(VARIANT_TRUE);
    a.Add(L"A", L"Alpha", 0x123456);
    a.SetKey(L"A");
    Bytes saved = SaveBytes(a.control);
    // After the extent: Vertical true, BkColor, RangeBkColor, InverseDirection ...
    Builder head;
    head.raw<DWORD>(0x800).raw<DWORD>(5080).raw<DWORD>(5080).boolean(true).color(GetSysColor(COLOR_WINDOW));
    head.color(0x00FF00).boolean(false).i4(0).boolean(false).i4(0).i2(4).i2(4).color(0xA8A8A8).color(0xE4E4E4);
    head.i4(0).i2(10).boolean(true).i2(15).i2(20).i2(0).color(0xD0D0D0).i2(3).i4(ITDIAMOND).i2(6).tag(VT_DISPATCH);
    CHECK(Bytes(saved.begin(), saved.begin() + head.b.size()) == head.b);
    // Its own strikethrough slot: italic false, underline false, strikethrough true.
    Builder parts;
    parts.boolean(false).boolean(false).boolean(true).tag(VT_I2);
    CHECK(FindBytes(saved, parts.b) != std::string::npos);

    SwitchHost b;
    CHECK(LoadBytes(b.control, saved) == S_OK);
    CHECK(SaveBytes(b.control) == saved);
    CHECK(b.Key() == L"Key2");
    VARIANT_BOOL strike = 0;
    b.s()->get_FontStrikethrough(&strike);
    CHECK(strike == VARIANT_TRUE);

    Bag bag;
    Ptr<IPersistPropertyBag> ppb;
    QueryOwned(a.control, IID_IPersistPropertyBag, ppb);
    REQUIRE(ppb->Save(&bag, TRUE, TRUE) == S_OK);
    CHECK(bag.order.size() == 2 + 32);
    CHECK(bag.order[2 + 19] == L"IndicatorType");
    CHECK(bag.values.count(L"FontStrikethrough") == 1);
}

TEST_CASE("items: add replaces in place, remove leaves the current key, null strings are safe") {
    SwitchHost h;
    h.Add(L"B", L"Bee", 1);
    h.Add(L"A", L"Ay", 2);
    h.Add(L"B", L"Bee2", 3);
    CHECK(h.s()->RemoveItem(Bstr(L"Z")) == S_OK);
    h.SetKey(L"B");
    CHECK(h.s()->RemoveItem(Bstr(L"B")) == S_OK);
    CHECK(h.Key() == L"B");
    CHECK(h.s()->UpdateSetpoint(nullptr) == S_OK);
    CHECK(h.Key() == L"<null>");
    CHECK(h.s()->AddItem(nullptr, nullptr, 0) == S_OK);
    CHECK(h.s()->RemoveItem(nullptr) == S_OK);
    CHECK(h.events.Count() == 0);
}

namespace {

// A vertical switch slider 100 x 120 with RangeEndGap 9: the field runs from
// y = 10 to 110 at x = 76..86 (centre 81); with three items and IndicatorSize
// 6 the centres lie at y = 106, 60 and 14, each reaching 23.
struct SnapHost : SwitchHost {
    explicit SnapHost(bool userMode = true) : SwitchHost(100, 120, userMode) {
        s()->put_Vertical(VARIANT_TRUE);
        s()->put_RangeEndGap(9);
        Add(L"Key1", L"One", 0x0000FF);
        Add(L"Key2", L"Two", 0x00FF00);
        Add(L"Key3", L"Three", 0xFF0000);
        Paint();
        events.Clear();
    }
};

}  // namespace

TEST_CASE("letting the marker go snaps it to the item within reach, the first in key order on a border") {
    struct Case {
        int drop;
        const wchar_t* key;
    } cases[] = {{83, L"Key1"}, {82, L"Key2"}, {37, L"Key2"}, {36, L"Key3"}, {100, L"Key1"}};
    for (const Case& c : cases) {
        INFO(c.drop);
        SnapHost h;
        h.Press(81, 60);  // on the marker of Key2
        h.Drag(81, c.drop);
        h.Release(81, c.drop);
        CHECK(h.events.Dispids() == std::vector<DISPID>{MouseDown, MouseMove, MouseUp, Click, ValueEvent});
        CHECK(h.ValueChanges() == std::vector<std::wstring>{c.key});
        CHECK(h.Key() == c.key);
    }
}

TEST_CASE("the ways a drag ends, and the snaps that find nothing") {
    SUBCASE("the margin commits at once; the release snaps again without a click") {
        SnapHost h;
        h.Press(81, 60);
        h.Drag(81, 100);
        h.Drag(81, 118);  // the 2-pixel margin
        CHECK(h.ValueChanges() == std::vector<std::wstring>{L"Key1"});
        h.Release(81, 118);
        CHECK(h.events.Dispids() ==
              std::vector<DISPID>{MouseDown, MouseMove, MouseMove, ValueEvent, MouseUp, ValueEvent});
    }
    SUBCASE("a move without the button ends the drag as the margin does") {
        SnapHost h;
        h.Press(81, 60);
        h.Drag(81, 14);
        h.Hover(81, 14);
        CHECK(h.events.Dispids() == std::vector<DISPID>{MouseDown, MouseMove, MouseMove, ValueEvent});
        CHECK(h.Key() == L"Key3");
    }
    SUBCASE("a click anywhere later re-snaps on the last drag point") {
        SnapHost h;
        h.Press(81, 60);
        h.Drag(81, 100);
        h.Release(81, 100);
        h.events.Clear();
        h.Press(10, 10);
        h.Release(10, 10);
        CHECK(h.events.Dispids() == std::vector<DISPID>{MouseDown, MouseUp, ValueEvent});
        CHECK(h.ValueChanges() == std::vector<std::wstring>{L"Key1"});
    }
    SUBCASE("a first click on a fresh control snaps nothing") {
        SnapHost h;
        h.Press(10, 10);
        h.Release(10, 10);
        CHECK(h.events.Dispids() == std::vector<DISPID>{MouseDown, MouseUp});
    }
    SUBCASE("an empty run-time list selects nothing; in design mode the samples' marker can be grabbed") {
        for (bool userMode : {true, false}) {
            INFO("user mode " << userMode);
            SwitchHost h(100, 120, userMode);
            h.s()->put_Vertical(VARIANT_TRUE);
            h.s()->put_RangeEndGap(9);
            h.Paint();
            h.events.Clear();
            h.Press(81, 60);
            h.Drag(81, 100);
            h.Release(81, 100);
            std::vector<DISPID> want{MouseDown, MouseMove, MouseUp};
            if (!userMode) want.push_back(Click);  // the sample marker was grabbed
            CHECK(h.events.Dispids() == want);
            if (!userMode) CHECK(h.Key() == L"Key2");
        }
    }
    SUBCASE("a disabled control fires nothing; kill-focus ends a drag without a snap") {
        SnapHost h;
        h.s()->put_Enabled(VARIANT_FALSE);
        h.Press(81, 60);
        h.Release(81, 60);
        CHECK(h.events.Count() == 0);
        h.s()->put_Enabled(VARIANT_TRUE);
        h.Press(81, 60);
        h.Send(WM_KILLFOCUS, 0, 0, 0);
        h.Drag(81, 100);
        CHECK(h.ValueChanges().empty());
        CHECK(h.Key() == L"Key2");
    }
}

TEST_CASE("the list on show: the samples in design mode, the run-time list in user mode or without an answer") {
    struct Case {
        bool userMode, answer, samples;
    } cases[] = {{false, true, true}, {true, true, false}, {false, false, false}};
    for (const Case& c : cases) {
        INFO("user mode " << c.userMode << ", answered " << c.answer);
        SwitchHost h(100, 120, c.userMode, c.answer);
        h.s()->put_Vertical(VARIANT_TRUE);
        h.Paint();
        DibCanvas shot = CaptureWindow(h.hwnd);
        const RECT all{0, 0, 100, 120};
        // Item1's red mark and name, and the marker's face on Key2.
        CHECK((shot.Count(RGB(255, 0, 0), &all) > 0) == c.samples);
        CHECK((shot.Count(0xD0D0D0, &all) > 0) == c.samples);
    }
}

// The switch as a container sees it: defaults, the setter protocol, the
// value and status events, pictures, persistence and mouse input.
#include "switch_test_util.h"

using namespace switchtest;

namespace {

using Builder = TaggedBytes;

// An IPictureDisp that cannot be saved, so no copy of it can be made.
struct UncopyablePicture : StubDispatch<IDispatch, &IID_IPictureDisp> {};

HRESULT IsDirty(IUnknown* ctl) {
    Ptr<IPersistStreamInit> ps;
    ctl->QueryInterface(IID_IPersistStreamInit, ps.pv());
    return ps->IsDirty();
}

}  // namespace

TEST_CASE("a null result pointer is refused, a negative font size too; the background is the window colour at once") {
    Hosted h;
    IQEV_Switch* s = h.sw;
    CHECK(s->get_Value(nullptr) == E_POINTER);
    CHECK(s->get_Text(nullptr) == E_POINTER);
    CHECK(s->get_OffPicture(nullptr) == E_POINTER);
    CHECK(s->get_GradientRate(nullptr) == E_POINTER);
    BSTR text = nullptr;
    s->get_OffText(&text);
    REQUIRE(text != nullptr);  // an empty string, not null
    SysFreeString(text);
    short n = 0;
    CHECK(s->put_FontSize(-1) == E_INVALIDARG);
    CHECK(s->get_FontSize(&n) == S_OK);
    CHECK(n > 0);
    CHECK(s->put_FontSize(0) == S_OK);

    // Before InitNew or a load the background is already the window colour.
    Ptr<IQEV_Switch> bare;
    REQUIRE(Library().Create(kClsidSwitch, kIidSwitch, bare.pv()) == S_OK);
    OLE_COLOR c = 0;
    bare->get_BkColor(&c);
    CHECK(c == GetSysColor(COLOR_WINDOW));
}

TEST_CASE("Value and Status fire their events only on a change and notify the container always") {
    Hosted h;
    NotifyRecorder notify;
    EventRecorder events(kIidEvents);
    REQUIRE(notify.Connect(h.sw) == S_OK);
    REQUIRE(events.Connect(h.sw) == S_OK);
    Save(h.sw);
    // {Status (else Value), what is put, fired, the event's argument}; only -1 is true.
    struct Step {
        bool status;
        VARIANT_BOOL v;
        int fired, fireValue;
    } steps[] = {{false, VARIANT_TRUE, 0, 0}, {false, 1, 1, 0},          {false, 0, 0, 0}, {false, VARIANT_TRUE, 1, -1},
                 {true, VARIANT_FALSE, 1, 0}, {true, VARIANT_FALSE, 0, 0}, {true, VARIANT_TRUE, 1, -1}};
    int i = 0;
    for (const Step& st : steps) {
        INFO("step " << i++);
        events.Clear();
        notify.Clear();
        h.site->ResetCounters();
        Save(h.sw);
        CHECK((st.status ? h.sw->put_Status(st.v) : h.sw->put_Value(st.v)) == S_OK);
        CHECK(notify.ChangedDispids() == std::vector<DISPID>{st.status ? 8 : 7});
        CHECK(IsDirty(h.sw) == S_OK);
        CHECK(h.site->counters().dataChanges == 1);
        REQUIRE(events.Count() == (size_t)st.fired);
        if (st.fired) {
            CHECK(events.Last()->dispid == (st.status ? SE_StatusChange : SE_ValueChange));
            CHECK(events.Last()->types == std::vector<VARTYPE>{VT_BOOL});
            CHECK(events.Last()->Long(0) == st.fireValue);
        }
    }
}

TEST_CASE("pictures: put keeps a copy, putref the caller's object, a failed copy changes nothing") {
    Hosted h;
    NotifyRecorder notify;
    notify.Connect(h.sw);
    IPictureDisp* red = PictureOf(BmpFile(4, 4, RGB(255, 0, 0)));
    Ptr<IPictureDisp> got;

    CHECK(h.sw->put_OnPicture(red) == S_OK);
    CHECK(notify.ChangedDispids() == std::vector<DISPID>{24});
    REQUIRE(h.sw->get_OnPicture(got.out()) == S_OK);
    REQUIRE(got.p != nullptr);
    CHECK(got.p != red);
    CHECK(red->Release() == 0);  // the caller's picture is gone; the copy lives on
    IPictureDisp* green = PictureOf(BmpFile(2, 2, RGB(0, 255, 0)));
    CHECK(h.sw->putref_OffPicture(green) == S_OK);
    REQUIRE(h.sw->get_OffPicture(got.out()) == S_OK);
    CHECK(got.p == green);

    // A picture that cannot be copied leaves the old one and reports why.
    UncopyablePicture bad;
    notify.Clear();
    CHECK(h.sw->put_OffPicture(reinterpret_cast<IPictureDisp*>(&bad)) == E_NOINTERFACE);
    h.sw->get_OffPicture(got.out());
    CHECK(got.p == green);
    CHECK(notify.Changed(25) == 0);
    CHECK(bad.refs == 1);
    got.reset();
    h.sw->putref_OffPicture(nullptr);
    CHECK(green->Release() == 0);
}

TEST_CASE("the saved stream of a new switch, byte for byte, and a round trip with both pictures") {
    Hosted h;
    std::vector<BYTE> saved = Save(h.sw);
    Builder head;
    head.raw<DWORD>(0x800).raw<DWORD>(5080).raw<DWORD>(5080);
    head.i4(1).color(GetSysColor(COLOR_WINDOW)).color(0xE0E0E0).color(0xFFFFFF).color(0x0000FF);
    head.boolean(true).boolean(true).boolean(true).i2(6).color(0xFFFFFF).color(0x5A5A5A).i2(0).i4(0).i2(6);
    head.r4(0.5f).i2(20).i2(20).str(L"").str(L"").str(L"").color(0).color(0).color(0).nullObject().nullObject();
    head.tag(VT_DISPATCH).raw<DWORD>(0x0BE35203).raw<USHORT>(0x8F91).raw<USHORT>(0x11CE);
    REQUIRE(saved.size() > head.b.size());
    CHECK(std::vector<BYTE>(saved.begin(), saved.begin() + head.b.size()) == head.b);
    CHECK(FindBytes(saved, {0x04, 0x00, 0x00, 0x00, 0x00, 0x3F}) != std::string::npos);

    Builder after;  // from b3DText to FontName's tag
    after.boolean(false).boolean(true).boolean(true).boolean(true).boolean(true).i4(1).color(0xA8A8A8).color(0xE4E4E4);
    after.tag(VT_BSTR);
    CHECK(FindBytes(saved, after.b, head.b.size()) != std::string::npos);
    Builder tail;  // BackStyle, StatusXOffset, StatusYOffset
    tail.i4(1).i2(0).i2(0);
    CHECK(std::vector<BYTE>(saved.end() - tail.b.size(), saved.end()) == tail.b);

    // Both pictures survive a save and a load, byte for byte.
    IPictureDisp* on = PictureOf(BmpFile(3, 2, RGB(255, 0, 0)));
    IPictureDisp* off = PictureOf(BmpFile(2, 3, RGB(0, 0, 255)));
    h.sw->put_OnPicture(on);
    h.sw->put_OffPicture(off);
    on->Release();
    off->Release();
    BSTR click = SysAllocString(L"Click");
    h.sw->put_Text(click);
    SysFreeString(click);
    std::vector<BYTE> withPictures = Save(h.sw);
    Hosted other;
    REQUIRE(LoadControl(other.sw, withPictures) == S_OK);
    CHECK(Save(other.sw) == withPictures);
    Ptr<IPictureDisp> back;
    other.sw->get_OffPicture(back.out());
    CHECK(back.p != nullptr);
}

TEST_CASE("a load sets every row through its setter: Value false fires ValueChange(false)") {
    Hosted h;
    h.sw->put_Value(VARIANT_FALSE);
    h.sw->put_Status(VARIANT_FALSE);
    std::vector<BYTE> saved = Save(h.sw);
    Hosted other;
    EventRecorder events(kIidEvents);
    events.Connect(other.sw);
    NotifyRecorder notify;
    notify.Connect(other.sw);
    REQUIRE(LoadControl(other.sw, saved) == S_OK);
    CHECK(events.Dispids() == std::vector<DISPID>{SE_ValueChange, SE_StatusChange});
    CHECK(events.Events()[0].Long(0) == 0);
    CHECK(notify.Changed(7) == 1);
    CHECK(IsDirty(other.sw) == S_FALSE);  // a successful load leaves it clean
}

TEST_CASE("the property bag uses the saved names, leaves out null pictures and reads back") {
    Hosted h;
    Ptr<IPersistPropertyBag> ppb;
    REQUIRE(h.sw->QueryInterface(IID_IPersistPropertyBag, ppb.pv()) == S_OK);
    MapBag bag;
    REQUIRE(ppb->Save(&bag, TRUE, TRUE) == S_OK);
    std::vector<std::wstring> keys;
    for (auto& kv : bag.values) keys.push_back(kv.first);
    std::vector<std::wstring> expected = {
        L"3DText", L"BackStyle", L"BkColor", L"BorderDarkColor", L"BorderLength", L"BorderLightColor",
        L"ButtonHeight", L"CircleStatus", L"EdgeColor", L"Enabled", L"Font", L"FontBold", L"FontCharset",
        L"FontItalic", L"FontName", L"FontSize", L"FontStrikethrough", L"FontUnderline", L"FontWeight",
        L"ForeColor", L"ForeGradientToggle", L"GradientRate", L"ImageStyle", L"LightType", L"OffText",
        L"OffTextColor", L"OnText", L"OnTextColor", L"RoundHeight", L"RoundWidth", L"ShowStatus",
        L"SideDarkColor", L"SideLightColor", L"Status", L"StatusColor", L"StatusXOffset", L"StatusYOffset",
        L"SwitchType", L"Text", L"TextColor", L"ToggleHeight", L"Value", L"VerticalToggle", L"_cx", L"_cy",
    };
    CHECK(keys == expected);

    // Rows missing from the bag keep their defaults; present ones are set.
    bag.values.clear();
    VARIANT v;
    V_VT(&v) = VT_I4;
    V_I4(&v) = 9;
    bag.values[L"BorderLength"] = Variant(v);
    Hosted other;
    Ptr<IPersistPropertyBag> otherBag;
    other.sw->QueryInterface(IID_IPersistPropertyBag, otherBag.pv());
    REQUIRE(otherBag->Load(&bag, nullptr) == S_OK);
    short n = 0;
    other.sw->get_BorderLen(&n);
    CHECK(n == 9);
}

TEST_CASE("mouse input: the toggle decision by shape, halves and centre line, and the order of events") {
    // Client 100 x 60: mid-x 50, mid-y 30.
    // {shape, vertical toggle, on before, release point, on after}
    struct Row {
        int shape;
        bool vertical, on;
        int x, y;
        bool nowOn;
    } rows[] = {
        {1, true, true, 10, 10, false}, {1, true, false, 90, 50, true}, {3, false, true, 50, 30, false},
        {9, true, false, 1, 1, true},   {0, true, true, 1, 1, false},   {4, true, true, 10, 30, true},
        {4, true, true, 10, 31, false}, {4, true, false, 10, 29, true}, {4, true, false, 10, 30, false},
        {5, false, true, 50, 10, true}, {5, false, true, 51, 10, false}, {5, false, false, 49, 50, true},
        {6, false, false, 90, 10, true}, {6, false, true, 10, 50, false}, {6, true, true, 90, 30, true},
    };
    Hosted h;
    HWND w = h.Activate(RECT{0, 0, 100, 60});
    EventRecorder events(kIidEvents);
    events.Connect(h.sw);
    NotifyRecorder notify;
    notify.Connect(h.sw);
    int i = 0;
    for (const Row& r : rows) {
        INFO("row " << i++ << " shape " << r.shape);
        h.sw->put_SwitchType(static_cast<SwitchShape>(r.shape));
        h.sw->put_bVerticalToggle(r.vertical ? VARIANT_TRUE : VARIANT_FALSE);
        h.sw->put_Value(r.on ? VARIANT_TRUE : VARIANT_FALSE);
        Save(h.sw);
        events.Clear();
        notify.Clear();
        SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(r.x, r.y));
        SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(r.x, r.y));
        VARIANT_BOOL v;
        h.sw->get_Value(&v);
        CHECK((v == VARIANT_TRUE) == r.nowOn);
        std::vector<DISPID> expected = {SE_MouseDown, SE_MouseUp};
        if (r.on != r.nowOn) expected.push_back(SE_ValueChange);
        expected.push_back(SE_Click);
        CHECK(events.Dispids() == expected);
        if (r.on != r.nowOn) CHECK(events.Events()[2].Long(0) == (r.nowOn ? -1 : 0));
        CHECK((events.Events()[0].Long(0) == r.x && events.Events()[1].Long(1) == r.y));
        // A click stores the value directly: nothing is notified or marked.
        CHECK(notify.Log().empty());
        CHECK(IsDirty(h.sw) == S_FALSE);
    }
}

TEST_CASE("mouse input: double click, press and leave, focus loss, disabled, keys") {
    Hosted h;
    HWND w = h.Activate(RECT{0, 0, 100, 60});
    EventRecorder events(kIidEvents);
    events.Connect(h.sw);
    VARIANT_BOOL v;

    SUBCASE("a double click toggles once; the second release only reports MouseUp") {
        SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        SendMessageW(w, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        CHECK(events.Dispids() ==
              std::vector<DISPID>{SE_MouseDown, SE_MouseUp, SE_ValueChange, SE_Click, SE_DblClick, SE_MouseUp});
        h.sw->get_Value(&v);
        CHECK(v == VARIANT_FALSE);
    }
    SUBCASE("pressing, leaving and releasing outside: the first move without the button ends the press") {
        SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(7, 8));
        SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(7, 8));
        CHECK(events.Dispids() == std::vector<DISPID>{SE_MouseDown, SE_MouseMove, SE_MouseUp});
        h.sw->get_Value(&v);
        CHECK(v == VARIANT_TRUE);
    }
    SUBCASE("focus loss and Enabled leave the press in force") {
        SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(6, 6));
        SendMessageW(w, WM_KILLFOCUS, 0, 0);
        h.sw->put_Enabled(VARIANT_TRUE);
        SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        h.sw->get_Value(&v);
        CHECK(v == VARIANT_FALSE);
        CHECK(events.Count(SE_Click) == 1);
    }
    SUBCASE("a disabled switch fires nothing and ignores clicks") {
        h.sw->put_Enabled(VARIANT_FALSE);
        for (UINT msg : {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_KEYDOWN, WM_KEYUP})
            SendMessageW(w, msg, 0, MAKELPARAM(5, 5));
        CHECK(events.Count() == 0);
        h.sw->get_Value(&v);
        CHECK(v == VARIANT_TRUE);
    }
    SUBCASE("keys report code, repeat count and flags") {
        SendMessageW(w, WM_KEYDOWN, 0x41, MAKELPARAM(3, 0x1E));
        SendMessageW(w, WM_KEYUP, 0x41, MAKELPARAM(1, 0xC01E));
        REQUIRE(events.Dispids() == std::vector<DISPID>{SE_KeyDown, SE_KeyUp});
        CHECK(events.Events()[0].Long(0) == 0x41);
        CHECK(events.Events()[0].Long(1) == 3);
        CHECK(events.Events()[1].Long(2) == 0xC01E);
    }
}

TEST_CASE("a sink that lets the switch go inside ValueChange or Click leaves it to finish the release safely") {
    for (DISPID inside : {SE_ValueChange, SE_Click}) {
        TestWindow window;
        forms::ControlSite* site = nullptr;
        forms::ControlSite::Create(window, &site);
        IQEV_Switch* sw = nullptr;
        REQUIRE(Library().Create(kClsidSwitch, kIidSwitch, reinterpret_cast<void**>(&sw)) == S_OK);
        site->Attach(sw);
        site->InitNew();
        site->Activate(RECT{0, 0, 100, 100});
        HWND w = site->ControlWindow();
        EventRecorder events(kIidEvents);
        events.Connect(sw);
        events.onEvent = [&](const RecordedEvent& e) {
            if (e.dispid != inside) return;
            events.Disconnect();
            site->Detach();
            sw->Release();
            sw = nullptr;
        };
        SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 7));
        SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 7));
        CHECK(sw == nullptr);
        CHECK(IsWindow(w) == FALSE);
        site->Release();
    }
    CHECK(Library().CanUnloadNow() == S_OK);
}

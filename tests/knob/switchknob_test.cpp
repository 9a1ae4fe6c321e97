// The switch knob through COM: properties and persistence, item methods,
// what it draws for each list, and the snapping of its pointer.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

#include "Tarnik.h"
#include "forms/site.h"
#include "tests/framework/test_props.h"
#include "tests/support/bstr.h"
#include "tests/support/canvas.h"
#include "tests/support/host.h"
#include "tests/support/recorders.h"

using namespace testsupport;

namespace {

const double kPi = 3.141592653589793;

const LoadedLibrary& Tarnik() { return KeptLibrary(L"Tarnik.dll"); }

IQEV_SwitchKnob* NewSwitchKnob() {
    IQEV_SwitchKnob* sk = nullptr;
    REQUIRE(Tarnik().Create(CLSID_QEV_SwitchKnob, IID_IQEV_SwitchKnob, reinterpret_cast<void**>(&sk)) == S_OK);
    REQUIRE(sk);
    return sk;
}

std::wstring Setpoint(IQEV_SwitchKnob* sk) {
    Bstr key;
    REQUIRE(sk->GetSetpoint(&key) == S_OK);
    return key.str();
}

void AddItem(IQEV_SwitchKnob* sk, const wchar_t* key, const wchar_t* name, OLE_COLOR color) {
    Bstr k(key), n(name);
    REQUIRE(sk->AddItem(k, n, color) == S_OK);
}

// The control saved into a new memory stream (clearing its dirty mark), positioned at the start.
IStream* SaveToMemory(IUnknown* control) {
    IPersistStreamInit* ps = nullptr;
    REQUIRE(control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&ps)) == S_OK);
    IStream* stream = nullptr;
    REQUIRE(CreateStreamOnHGlobal(nullptr, TRUE, &stream) == S_OK);
    CHECK(ps->Save(stream, TRUE) == S_OK);
    ps->Release();
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    return stream;
}

// A switch knob hosted in a window of its own, 200 x 200 pixels.
struct Hosted {
    TestWindow window{260, 260};
    forms::ControlSite* site = nullptr;
    IQEV_SwitchKnob* sk = nullptr;
    EventRecorder events{DIID__IQEV_SwitchKnobEvents};
    HWND hwnd = nullptr;

    explicit Hosted(bool userMode = true, bool answerUserMode = true, bool activate = true) {
        sk = NewSwitchKnob();
        REQUIRE(forms::ControlSite::Create(window, &site) == S_OK);
        site->ambients().userMode = userMode;
        site->ambients().answerUserMode = answerUserMode;
        REQUIRE(site->Attach(sk) == S_OK);
        REQUIRE(site->InitNew() == S_OK);
        REQUIRE(events.Connect(sk) == S_OK);
        if (activate) Activate();
    }
    ~Hosted() {
        events.Disconnect();
        if (site) {
            site->Detach();
            site->Release();
        }
        if (sk) sk->Release();
    }
    void Activate() {
        REQUIRE(site->Activate(RECT{0, 0, 200, 200}) == S_OK);
        hwnd = site->ControlWindow();
        REQUIRE(hwnd);
        Paint();
    }
    void Paint() {
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        PumpPending();
    }
    void Send(UINT msg, WPARAM wp, POINT p) { SendMessageW(hwnd, msg, wp, MAKELPARAM(p.x, p.y)); }
    void Press(POINT p) { Send(WM_LBUTTONDOWN, MK_LBUTTON, p); }
    void Drag(POINT p) { Send(WM_MOUSEMOVE, MK_LBUTTON, p); }
    void Hover(POINT p) { Send(WM_MOUSEMOVE, 0, p); }
    void Release(POINT p) { Send(WM_LBUTTONUP, 0, p); }
};

// Geometry of a default switch knob in a 200 x 200 window: the dial's
// working rectangle after the text margins, marks and panel rim is
// (36, 35, 164, 163), so the pointer runs round (100, 99) at radius 53.5.
const POINT kCentre{100, 99};
POINT PointerAt(double degrees, double radius = 53.5) {
    double r = degrees * kPi / 180;
    return POINT{(LONG)(kCentre.x + radius * cos(r)), (LONG)(kCentre.y + radius * sin(r))};
}
// A mouse position at angle `degrees` round the centre, well inside the window.
POINT MouseAt(double degrees, double radius = 40) {
    double r = degrees * kPi / 180;
    return POINT{(LONG)lround(kCentre.x + radius * cos(r)), (LONG)lround(kCentre.y + radius * sin(r))};
}

std::vector<DISPID> Fired(const EventRecorder& rec) { return rec.Dispids(); }

// Drags through the angles in turn; neighbouring angles must lie less than
// 150 degrees apart, or the drag reads the move as a jump across the centre.
void DragThrough(Hosted& h, std::initializer_list<double> angles) {
    for (double a : angles) h.Drag(MouseAt(a));
}

enum : DISPID { ValueChange = 1, DblClick, Click, MouseDown, MouseUp, MouseMove, KeyDown, KeyUp };

std::vector<std::wstring> ValueChanges(const EventRecorder& rec) {
    std::vector<std::wstring> keys;
    for (const RecordedEvent& e : rec.Events())
        if (e.dispid == ValueChange) keys.push_back(e.args.at(0).vt() == VT_BSTR && !V_BSTR(&e.args.at(0).v) ? L"<null>" : e.Str(0));
    return keys;
}

}  // namespace

// ---------------------------------------------------------------- properties

TEST_CASE("a new switch knob has its documented defaults") {
    IQEV_SwitchKnob* sk = NewSwitchKnob();
    OLE_COLOR c = 0;
    short s = 0;
    VARIANT_BOOL b = 0;
    float f = 0;
    sk->get_PanelColor(&c);
    CHECK(c == GetSysColor(COLOR_BTNFACE));
    sk->get_IndicatorColor(&c);
    CHECK(c == 0xD0D0D0);
    sk->get_MarkerColor(&c);
    CHECK(c == 0x0000FF);
    sk->get_PanelBorderDarkColor(&c);
    CHECK(c == GetSysColor(COLOR_BTNSHADOW));
    sk->get_InverseDirection(&b);
    CHECK(b == VARIANT_FALSE);
    sk->get_MarkerVisible(&b);
    CHECK(b == VARIANT_TRUE);
    sk->get_StartAngle(&s);
    CHECK(s == 135);
    sk->get_EndAngle(&s);
    CHECK(s == 45);
    sk->get_ElementIndicatorSize(&s);
    CHECK(s == 6);
    sk->get_GradientRate(&f);
    CHECK(f == 0.5f);
    ElementIndicatorStyle eis = ITTRIANGLE;
    sk->get_ElementIndicatorType(&eis);
    CHECK(eis == ITCIRCLE);
    IndicatorStyle is = IS_Needle;
    sk->get_IndicatorType(&is);
    CHECK(is == IS_RoundButton);
    PanelBorderStyle pbs = PBS_NONE;
    sk->get_PanelBorderType(&pbs);
    CHECK(pbs == PBS_RAISED);
    CHECK(Setpoint(sk) == L"Key2");
    sk->Release();
}

TEST_CASE("every getter refuses a null result pointer") {
    IQEV_SwitchKnob* sk = NewSwitchKnob();
#define NULL_GET(Name) CHECK_MESSAGE(sk->get_##Name(nullptr) == E_POINTER, #Name)
    NULL_GET(BkColor); NULL_GET(PanelColor); NULL_GET(InverseDirection); NULL_GET(IndicatorColor);
    NULL_GET(BorderType); NULL_GET(OuterTextHeight); NULL_GET(OuterTextLength); NULL_GET(PanelType);
    NULL_GET(PanelBorderType); NULL_GET(PanelBorderLen); NULL_GET(PanelBorderDarkColor);
    NULL_GET(PanelBorderLightColor); NULL_GET(IndicatorType); NULL_GET(GradientRate); NULL_GET(StartAngle);
    NULL_GET(EndAngle); NULL_GET(OuterBorderLen); NULL_GET(InnerBorderLen); NULL_GET(BorderDarkColor);
    NULL_GET(BorderLightColor); NULL_GET(Font); NULL_GET(CircleColor); NULL_GET(SliderType); NULL_GET(SliderColor);
    NULL_GET(IndicatorSize); NULL_GET(SliderWidth); NULL_GET(MarkerColor); NULL_GET(MarkerType);
    NULL_GET(MarkerVisible); NULL_GET(ElementIndicatorType); NULL_GET(ElementIndicatorSize); NULL_GET(Enabled);
    NULL_GET(hWnd); NULL_GET(FontName); NULL_GET(FontSize); NULL_GET(FontBold); NULL_GET(FontItalic);
    NULL_GET(FontUnderline); NULL_GET(FontStrikethrough); NULL_GET(FontWeight); NULL_GET(FontCharset);
    NULL_GET(BackStyle);
#undef NULL_GET
    CHECK(sk->GetSetpoint(nullptr) == E_POINTER);
    sk->Release();
}

TEST_CASE("setters notify, mark the control dirty and store any value") {
    Hosted h;
    NotifyRecorder notes;
    REQUIRE(notes.Connect(h.sk) == S_OK);
    IPersistStreamInit* ps = nullptr;
    REQUIRE(h.sk->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&ps)) == S_OK);
    SaveToMemory(h.sk)->Release();  // clears the mark that activation's extent left
    CHECK(ps->IsDirty() == S_FALSE);

    CHECK(h.sk->put_ElementIndicatorType((ElementIndicatorStyle)77) == S_OK);
    CHECK(h.sk->put_ElementIndicatorSize(-3) == S_OK);
    CHECK(h.sk->put_MarkerVisible(1) == S_OK);  // only VARIANT_TRUE counts as true
    CHECK(notes.ChangedDispids() == std::vector<DISPID>{30, 31, 29});
    CHECK(ps->IsDirty() == S_OK);
    ElementIndicatorStyle eis;
    h.sk->get_ElementIndicatorType(&eis);
    CHECK((int)eis == 77);
    short s = 0;
    h.sk->get_ElementIndicatorSize(&s);
    CHECK(s == -3);
    VARIANT_BOOL b = VARIANT_TRUE;
    h.sk->get_MarkerVisible(&b);
    CHECK(b == VARIANT_FALSE);
    ps->Release();
}

// ---------------------------------------------------------------- persistence

namespace {

// Every persisted property set to a value other than its default.
void SetEverything(IQEV_SwitchKnob* sk) {
    sk->put_BkColor(0x010203);
    sk->put_PanelColor(0x040506);
    sk->put_InverseDirection(VARIANT_TRUE);
    sk->put_IndicatorColor(0x070809);
    sk->put_BorderType(ES_CONFIGURABLE);
    sk->put_OuterTextHeight(11);
    sk->put_OuterTextLength(12);
    sk->put_PanelType(PS_Hover);
    sk->put_PanelBorderType(PBS_3D_RING);
    sk->put_PanelBorderLen(7);
    sk->put_PanelBorderDarkColor(0x0A0B0C);
    sk->put_PanelBorderLightColor(0x0D0E0F);
    sk->put_IndicatorType(IS_Arrow);
    sk->put_GradientRate(0.25f);
    sk->put_StartAngle(200);
    sk->put_EndAngle(-20);
    sk->put_OuterBorderLen(3);
    sk->put_InnerBorderLen(2);
    sk->put_BorderDarkColor(0x101112);
    sk->put_BorderLightColor(0x131415);
    sk->put_CircleColor(0x161718);
    sk->put_SliderType(SS_GRADIENT);
    sk->put_SliderColor(0x191A1B);
    sk->put_IndicatorSize(14);
    sk->put_SliderWidth(9);
    sk->put_MarkerColor(0x1C1D1E);
    sk->put_MarkerType(MS_Sunken_Rect);
    sk->put_MarkerVisible(VARIANT_FALSE);
    sk->put_ElementIndicatorType(ITTRIANGLE);
    sk->put_ElementIndicatorSize(9);
    sk->put_Enabled(VARIANT_FALSE);
    sk->put_BackStyle(BS_Transparent);
}

void CheckEverything(IQEV_SwitchKnob* sk) {
    OLE_COLOR c = 0;
    short s = 0;
    VARIANT_BOOL b = 0;
    float f = 0;
    LONG e = 0;
#define CHECK_GET(Name, var, expected)     \
    sk->get_##Name(&var);                  \
    CHECK_MESSAGE(var == (expected), #Name)
#define CHECK_ENUM(Name, T, expected)               \
    {                                               \
        T v = (T)0;                                 \
        sk->get_##Name(&v);                         \
        e = (LONG)v;                                \
        CHECK_MESSAGE(e == (LONG)(expected), #Name); \
    }
    CHECK_GET(BkColor, c, 0x010203u);
    CHECK_GET(PanelColor, c, 0x040506u);
    CHECK_GET(InverseDirection, b, VARIANT_TRUE);
    CHECK_GET(IndicatorColor, c, 0x070809u);
    CHECK_ENUM(BorderType, EdgeStyle, ES_CONFIGURABLE);
    CHECK_GET(OuterTextHeight, s, 11);
    CHECK_GET(OuterTextLength, s, 12);
    CHECK_ENUM(PanelType, PanelStyle, PS_Hover);
    CHECK_ENUM(PanelBorderType, PanelBorderStyle, PBS_3D_RING);
    CHECK_GET(PanelBorderLen, s, 7);
    CHECK_GET(PanelBorderDarkColor, c, 0x0A0B0Cu);
    CHECK_GET(PanelBorderLightColor, c, 0x0D0E0Fu);
    CHECK_ENUM(IndicatorType, IndicatorStyle, IS_Arrow);
    CHECK_GET(GradientRate, f, 0.25f);
    CHECK_GET(StartAngle, s, 200);
    CHECK_GET(EndAngle, s, -20);
    CHECK_GET(OuterBorderLen, s, 3);
    CHECK_GET(InnerBorderLen, s, 2);
    CHECK_GET(BorderDarkColor, c, 0x101112u);
    CHECK_GET(BorderLightColor, c, 0x131415u);
    CHECK_GET(CircleColor, c, 0x161718u);
    CHECK_ENUM(SliderType, SlideStyle, SS_GRADIENT);
    CHECK_GET(SliderColor, c, 0x191A1Bu);
    CHECK_GET(IndicatorSize, s, 14);
    CHECK_GET(SliderWidth, s, 9);
    CHECK_GET(MarkerColor, c, 0x1C1D1Eu);
    CHECK_ENUM(MarkerType, MarkerStyle, MS_Sunken_Rect);
    CHECK_GET(MarkerVisible, b, VARIANT_FALSE);
    CHECK_ENUM(ElementIndicatorType, ElementIndicatorStyle, ITTRIANGLE);
    CHECK_GET(ElementIndicatorSize, s, 9);
    CHECK_GET(Enabled, b, VARIANT_FALSE);
    CHECK_ENUM(BackStyle, BackStyleType, BS_Transparent);
#undef CHECK_GET
#undef CHECK_ENUM
}


}  // namespace

TEST_CASE("saving and loading restores every property but neither list nor the current key") {
    IQEV_SwitchKnob* a = NewSwitchKnob();
    SetEverything(a);
    AddItem(a, L"R1", L"Run", 0x123456);
    Bstr k(L"R1");
    a->UpdateSetpoint(k);
    IStream* stream = SaveToMemory(a);

    Hosted h;
    NotifyRecorder notes;
    REQUIRE(notes.Connect(h.sk) == S_OK);
    IPersistStreamInit* ps = nullptr;
    REQUIRE(h.sk->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&ps)) == S_OK);
    REQUIRE(ps->Load(stream) == S_OK);
    CheckEverything(h.sk);
    CHECK(Setpoint(h.sk) == L"Key2");

    SUBCASE("item methods after a load notify nothing and leave the control clean") {
        h.sk->put_Enabled(VARIANT_TRUE);
        SaveToMemory(h.sk)->Release();
        notes.Clear();
        h.site->ResetCounters();
        CHECK(ps->IsDirty() == S_FALSE);
        AddItem(h.sk, L"A", L"Alpha", 0xFF);
        Bstr a1(L"A"), nobody(L"nobody");
        CHECK(h.sk->UpdateSetpoint(a1) == S_OK);
        CHECK(h.sk->RemoveItem(nobody) == S_OK);
        CHECK(h.sk->RemoveItem(a1) == S_OK);
        CHECK(ps->IsDirty() == S_FALSE);
        CHECK(notes.Log().empty());
        CHECK(h.site->dataChanges() == 0);
        CHECK(h.events.Count() == 0);
        CHECK(Setpoint(h.sk) == L"A");  // removing the item keeps the key
    }
    ps->Release();
    stream->Release();
    a->Release();
}

TEST_CASE("the property bag holds the map's keys in map order") {
    IQEV_SwitchKnob* sk = NewSwitchKnob();
    IPersistPropertyBag* pb = nullptr;
    REQUIRE(sk->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(&pb)) == S_OK);
    pb->InitNew();
    sk->put_ElementIndicatorSize(12);
    test::MemoryBag bag;
    REQUIRE(pb->Save(&bag, TRUE, TRUE) == S_OK);
    std::vector<std::wstring> expected = {
        L"_cx", L"_cy", L"BkColor", L"PanelColor", L"InverseDirection", L"IndicatorColor", L"BorderType",
        L"OuterTextHeight", L"OuterTextLength", L"PanelType", L"PanelBorderType", L"PanelBorderLen",
        L"PanelBorderDarkColor", L"PanelBorderLightColor", L"IndicatorType", L"GradientRate", L"StartAngle",
        L"EndAngle", L"OuterBorderLen", L"InnerBorderLen", L"BorderDarkColor", L"BorderLightColor",
        L"CircleColor", L"SliderType", L"SliderColor", L"IndicatorSize", L"SliderWidth", L"MarkerColor",
        L"MarkerType", L"bMarkerVisible", L"EleIndicatorType", L"EleIndicatorSize", L"Enabled", L"FontName",
        L"FontSize", L"FontBold", L"FontItalic", L"FontUnderline", L"FontStrikethrough", L"FontWeight",
        L"FontCharset", L"BackStyle"};
    // The control has no client site, so no font: the bag has no Font key.
    CHECK(bag.writes == expected);
    CHECK(V_I2(&bag.At(L"EleIndicatorSize")) == 12);

    IQEV_SwitchKnob* other = NewSwitchKnob();
    IPersistPropertyBag* pb2 = nullptr;
    REQUIRE(other->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(&pb2)) == S_OK);
    VARIANT v;
    V_VT(&v) = VT_BOOL;
    V_BOOL(&v) = VARIANT_FALSE;
    bag.Set(L"bMarkerVisible", v);
    V_VT(&v) = VT_I4;
    V_I4(&v) = ITDIAMOND;
    bag.Set(L"EleIndicatorType", v);
    REQUIRE(pb2->Load(&bag, nullptr) == S_OK);
    VARIANT_BOOL b = VARIANT_TRUE;
    other->get_MarkerVisible(&b);
    CHECK(b == VARIANT_FALSE);
    ElementIndicatorStyle eis = ITCIRCLE;
    other->get_ElementIndicatorType(&eis);
    CHECK(eis == ITDIAMOND);
    short s = 0;
    other->get_ElementIndicatorSize(&s);
    CHECK(s == 12);
    pb2->Release();
    other->Release();
    pb->Release();
    sk->Release();
}

// ---------------------------------------------------------------- item methods

TEST_CASE("the current key is kept as given, null and unknown keys included") {
    IQEV_SwitchKnob* sk = NewSwitchKnob();
    Bstr unknown(L"no such item");
    CHECK(sk->UpdateSetpoint(unknown) == S_OK);
    CHECK(Setpoint(sk) == L"no such item");
    CHECK(sk->UpdateSetpoint(nullptr) == S_OK);
    BSTR key = SysAllocString(L"x");
    CHECK(sk->GetSetpoint(&key) == S_OK);  // the out value is overwritten, not freed
    CHECK(key == nullptr);
    CHECK(sk->AddItem(nullptr, nullptr, 0) == S_OK);
    CHECK(sk->RemoveItem(nullptr) == S_OK);
    CHECK(sk->RemoveItem(nullptr) == S_OK);
    sk->Release();
}

// ---------------------------------------------------------------- drawing

namespace {

struct TextAt {
    std::string text;
    int x, y;
    WORD align;
};

// Texts of a metafile recording with the alignment in force for each.
std::vector<TextAt> RecordTexts(IUnknown* control, int w = 200, int h = 200) {
    Wmf wmf;
    REQUIRE(wmf.Record(control, w, h) == S_OK);
    std::vector<TextAt> out;
    for (const WmfText& t : wmf.Texts()) {
        WORD align = 0;
        for (size_t i = 0; i < t.index; ++i)
            if (wmf.Records()[i].function == META_SETTEXTALIGN) align = wmf.Records()[i].params.at(0);
        out.push_back(TextAt{t.text, t.x, t.y, align});
    }
    return out;
}

std::vector<std::string> Names(const std::vector<TextAt>& texts) {
    std::vector<std::string> names;
    for (const TextAt& t : texts) names.push_back(t.text);
    return names;
}

short FontPoints(IQEV_SwitchKnob* sk) {
    short pts = 14;
    sk->get_FontSize(&pts);
    return pts;
}

}  // namespace

TEST_CASE("design mode shows the sample items, user mode the run-time list") {
    SUBCASE("design mode: Item1 to Item3 placed by angle") {
        Hosted h(false);
        short pts = FontPoints(h.sk);
        std::vector<TextAt> texts = RecordTexts(h.sk);
        REQUIRE(Names(texts) == std::vector<std::string>{"Item1", "Item2", "Item3"});
        // The names sit on a ring of radius 80 round (100, 100): Item1 at
        // 135 degrees right-aligned, Item2 at 270 centred above, Item3 at 45
        // left-aligned.
        CHECK(texts[0].align == (TA_RIGHT | TA_BASELINE));
        CHECK(texts[0].x == 43);
        CHECK(texts[0].y == 156 + pts / 2);
        CHECK(texts[1].align == (TA_CENTER | TA_BOTTOM));
        CHECK(std::abs(texts[1].x - 100) <= 1);
        CHECK(texts[1].y == 20 + 4);
        CHECK(texts[2].align == (TA_LEFT | TA_BASELINE));
        CHECK(texts[2].x == 156);
        CHECK(texts[2].y == 156 + pts / 2);
    }
    SUBCASE("user mode: nothing until the program adds items") {
        Hosted h(true);
        CHECK(RecordTexts(h.sk).empty());
        AddItem(h.sk, L"b", L"Second", 0xFF00);
        AddItem(h.sk, L"a", L"First", 0xFF);
        CHECK(Names(RecordTexts(h.sk)) == std::vector<std::string>{"First", "Second"});
        // Listed by key code units: Key10 between Key1 and Key2, upper case first.
        AddItem(h.sk, L"Key2", L"two", 0xFF);
        AddItem(h.sk, L"Key10", L"ten", 0xFF);
        AddItem(h.sk, L"Key1", L"one", 0xFF);
        AddItem(h.sk, L"a", L"FIRST", 0xFF);  // replaced in place
        CHECK(Names(RecordTexts(h.sk)) == std::vector<std::string>{"one", "ten", "two", "FIRST", "Second"});
    }
    SUBCASE("a container that does not tell its mode gets the run-time list") {
        Hosted h(true, false);
        AddItem(h.sk, L"only", L"Only", 0xFF);
        CHECK(Names(RecordTexts(h.sk)) == std::vector<std::string>{"Only"});
    }
    SUBCASE("one item at six o'clock is centred below, one at nine right-aligned") {
        Hosted h(true);
        AddItem(h.sk, L"k", L"Below", 0xFF);
        h.sk->put_StartAngle(90);
        std::vector<TextAt> texts = RecordTexts(h.sk);
        REQUIRE(texts.size() == 1);
        CHECK(texts[0].align == (TA_CENTER | TA_TOP));
        CHECK(std::abs(texts[0].x - 100) <= 1);
        CHECK(texts[0].y == 180 - 4);
        h.sk->put_StartAngle(180);
        texts = RecordTexts(h.sk);
        REQUIRE(texts.size() == 1);
        CHECK(texts[0].align == (TA_RIGHT | TA_BASELINE));
        CHECK(texts[0].x == 20);
    }
    SUBCASE("null names draw as empty texts") {
        Hosted h(true);
        CHECK(h.sk->AddItem(nullptr, nullptr, 0xFF) == S_OK);
        std::vector<TextAt> texts = RecordTexts(h.sk);
        CHECK(texts.size() <= 1);
        for (const TextAt& t : texts) CHECK(t.text.empty());
    }
}

namespace {

// Centre of the mark of an item at `degrees` in a 200 x 200 paint with
// ElementIndicatorSize 6: radius 74 round (100, 100).
POINT MarkAt(double degrees) {
    double r = degrees * kPi / 180;
    return POINT{(LONG)(100 + 74.0 * cos(r)), (LONG)(100 + 74.0 * sin(r))};
}
RECT Around(POINT p, int d) { return RECT{p.x - d, p.y - d, p.x + d + 1, p.y + d + 1}; }

}  // namespace

TEST_CASE("item marks sit at the item angles in the item colours") {
    Hosted h(false);
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255);
    const POINT at135 = MarkAt(135), at270 = MarkAt(270), at45 = MarkAt(45);
    const RECT near135 = Around(at135, 2), near270 = Around(at270, 2), near45 = Around(at45, 2);
    DibCanvas dib = DrawToDib(h.sk, 200, 200);
    CHECK(dib.Count(red, &near135) > 0);
    CHECK(dib.Count(green, &near270) > 0);
    CHECK(dib.Count(blue, &near45) > 0);
    CHECK(dib.Count(red, &near45) == 0);

    SUBCASE("user mode with an empty list draws no marks") {
        h.site->ambients().userMode = true;
        DibCanvas user = DrawToDib(h.sk, 200, 200);
        CHECK(user.Count(red) == 0);
        CHECK(user.Count(green) == 0);
        CHECK(user.Count(blue) == 0);
    }
    SUBCASE("every mark style draws at the item, unknown styles draw nothing") {
        OLE_COLOR bk = 0;
        h.sk->get_BkColor(&bk);
        for (int style = 0; style <= 6; ++style) {
            CAPTURE(style);
            h.sk->put_ElementIndicatorType((ElementIndicatorStyle)style);
            DibCanvas d = DrawToDib(h.sk, 200, 200);
            int drawn = 5 * 5 - d.Count(bk, &near45);
            if (style == 6) CHECK(drawn == 0);
            else CHECK(drawn > 0);
            if (style != 1 && style != 6) CHECK(d.Count(blue, &near45) > 0);
        }
    }
}

TEST_CASE("bounds away from the origin draw the whole picture there") {
    Hosted h(false);
    DibCanvas plain = DrawToDib(h.sk, 200, 200);
    DibCanvas shifted(300, 300, kUnpainted);
    REQUIRE(DrawControl(h.sk, shifted.dc(), RECT{60, 40, 260, 240}) == S_OK);
    const RECT inside{60, 40, 260, 240};
    CHECK(shifted.Count(kUnpainted, &inside) == 0);
    CHECK(shifted.Count(kUnpainted) == 300 * 300 - 200 * 200);
    // The same picture, up to points that fall on the other side of a pixel
    // edge (the arithmetic is done at the target's own coordinates).
    int differ = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            if (plain.Pixel(x, y) != shifted.Pixel(x + 60, y + 40)) ++differ;
    CHECK(differ < 200 * 200 / 50);
    for (COLORREF c : {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)}) {
        const int n = plain.Count(c);
        CHECK(n > 0);
        CHECK(std::abs(shifted.Count(c) - n) <= n / 5);
    }
}

TEST_CASE("a bubble pointer far larger than the dial paints in bounded time") {
    Hosted h;
    h.sk->put_IndicatorType(IS_Bubble);
    h.sk->put_IndicatorSize(32767);
    h.Paint();
    HRESULT hr = E_FAIL;
    DrawToDib(h.sk, 200, 200, &hr);
    CHECK(hr == S_OK);
}

TEST_CASE("round frames clip the window, and only the window's own paints set its region") {
    Hosted h(true, true, false);
    h.sk->put_BorderType(ES_CIRCLE);
    h.Activate();
    RECT box{};
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    REQUIRE(GetWindowRgn(h.hwnd, probe) != ERROR);
    GetRgnBox(probe, &box);
    CHECK(box.right <= 200);
    CHECK(box.bottom <= 200);

    // A paint into another DC with other bounds leaves the window's region
    // and the pointer's grip as the window's own paint made them.
    AddItem(h.sk, L"K", L"k", 0xFF);
    h.Paint();
    DibCanvas big = DrawToDib(h.sk, 400, 400);
    PumpPending();
    REQUIRE(GetWindowRgn(h.hwnd, probe) != ERROR);
    GetRgnBox(probe, &box);
    CHECK(box.right <= 200);
    CHECK(box.bottom <= 200);
    DeleteObject(probe);
    h.events.Clear();
    // Inside the round frame the pointer runs at radius 44.5.
    h.Press(PointerAt(135, 44.5));
    h.Release(PointerAt(135, 44.5));
    CHECK(h.events.Count(Click) == 1);

    SUBCASE("repainting does not leak GDI objects") {
        CHECK(GdiGrowth([&] {
                  h.Paint();
                  DrawToDib(h.sk, 200, 200);
                  AddItem(h.sk, L"K", L"k", 0xFF);
              }) == 0);
    }
}

// ---------------------------------------------------------------- snapping

TEST_CASE("releasing the pointer snaps it to the nearest item and reports the item") {
    Hosted h;
    AddItem(h.sk, L"Key3", L"Three", 0xFF0000);
    AddItem(h.sk, L"Key1", L"One", 0x0000FF);
    AddItem(h.sk, L"Key2", L"Two", 0x00FF00);
    h.Paint();  // items at 135, 270 and 45; the pointer on Key2 at 270

    SUBCASE("a drag to 205 degrees lies within reach of two items: the first in key order wins") {
        // 70 degrees from Key1 at 135 and 65 from Key2 at 270; each reaches 72.5.
        h.Press(PointerAt(270));
        h.Drag(MouseAt(205));
        h.Release(MouseAt(205));
        CHECK(Fired(h.events) == std::vector<DISPID>{MouseDown, MouseMove, MouseUp, Click, ValueChange});
        CHECK(ValueChanges(h.events) == std::vector<std::wstring>{L"Key1"});
        CHECK(Setpoint(h.sk) == L"Key1");
        // The pointer now stands on Key1: a press there grabs it.
        h.events.Clear();
        h.Press(PointerAt(135));
        h.Release(PointerAt(135));
        CHECK(h.events.Count(Click) == 1);
    }
    SUBCASE("a drag towards the last item picks it") {
        h.Press(PointerAt(270));
        DragThrough(h, {300, 330, 0, 20});
        h.Release(MouseAt(20));
        CHECK(ValueChanges(h.events) == std::vector<std::wstring>{L"Key3"});
    }
    SUBCASE("a click on the pointer reports the current item again") {
        h.Press(PointerAt(270));
        h.Release(PointerAt(270));
        CHECK(Fired(h.events) == std::vector<DISPID>{MouseDown, MouseUp, Click, ValueChange});
        CHECK(ValueChanges(h.events) == std::vector<std::wstring>{L"Key2"});
    }
    SUBCASE("a press beside the pointer starts no drag, the release still snaps") {
        h.Press(MouseAt(90, 20));
        h.Drag(MouseAt(200));
        h.Release(MouseAt(200));
        CHECK(Fired(h.events) == std::vector<DISPID>{MouseDown, MouseMove, MouseUp, ValueChange});
        CHECK(ValueChanges(h.events) == std::vector<std::wstring>{L"Key2"});
    }
    SUBCASE("moves near the centre change nothing") {
        h.Press(PointerAt(270));
        h.Drag(POINT{kCentre.x + 5, kCentre.y + 4});
        h.Release(POINT{kCentre.x + 5, kCentre.y + 4});
        CHECK(ValueChanges(h.events) == std::vector<std::wstring>{L"Key2"});
    }
    SUBCASE("reaching the window's edge ends the drag with a snap") {
        h.Press(PointerAt(270));
        h.Drag(MouseAt(160));
        h.Drag(POINT{1, 100});
        CHECK(ValueChanges(h.events) == std::vector<std::wstring>{L"Key1"});
        h.Drag(MouseAt(270));  // no longer dragging: nothing moves
        h.Release(MouseAt(270));
        CHECK(h.events.Count(Click) == 0);
        CHECK(ValueChanges(h.events) == std::vector<std::wstring>{L"Key1", L"Key1"});
    }
    SUBCASE("a move without the button held ends the drag as a release would") {
        h.Press(PointerAt(270));
        DragThrough(h, {300, 330, 0, 30});
        h.Hover(MouseAt(30));
        CHECK(ValueChanges(h.events) == std::vector<std::wstring>{L"Key3"});
        CHECK(h.events.Count(Click) == 0);
        h.Drag(MouseAt(200));
        CHECK(Setpoint(h.sk) == L"Key3");
    }
    SUBCASE("inverted direction puts the first item at EndAngle") {
        h.sk->put_InverseDirection(VARIANT_TRUE);
        h.Paint();
        h.Press(PointerAt(270));
        DragThrough(h, {300, 330, 0, 30});
        h.Release(MouseAt(30));
        CHECK(ValueChanges(h.events) == std::vector<std::wstring>{L"Key1"});
    }
    SUBCASE("keys fire KeyDown and KeyUp with the code, repeat count and flags") {
        SendMessageW(h.hwnd, WM_KEYDOWN, 'A', 0x001E0003);
        SendMessageW(h.hwnd, WM_KEYUP, 'A', 0xC01E0001);
        REQUIRE(Fired(h.events) == std::vector<DISPID>{KeyDown, KeyUp});
        const RecordedEvent& down = h.events.Events()[0];
        CHECK(down.Long(0) == 'A');
        CHECK(down.Long(1) == 3);
        CHECK(down.Long(2) == 0x1E);
        CHECK(h.events.Events()[1].Long(2) == 0xC01E);
    }
    SUBCASE("a disabled switch knob fires nothing and does not move") {
        h.sk->put_Enabled(VARIANT_FALSE);
        h.Press(PointerAt(270));
        h.Drag(MouseAt(200));
        h.Release(MouseAt(200));
        SendMessageW(h.hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(100, 45));
        SendMessageW(h.hwnd, WM_KEYDOWN, 'A', 0x001E0001);
        CHECK(h.events.Count() == 0);
        CHECK(Setpoint(h.sk) == L"Key2");
    }
    SUBCASE("a sink that lets the control go inside ValueChange is safe") {
        IQEV_SwitchKnob* sk = h.sk;
        forms::ControlSite* site = h.site;
        h.sk = nullptr;
        h.site = nullptr;
        h.events.onEvent = [&](const RecordedEvent& e) {
            if (e.dispid != ValueChange || !site) return;
            h.events.Disconnect();
            site->Detach();
            site->Release();
            site = nullptr;
            sk->Release();
        };
        h.Press(PointerAt(270));
        h.Release(PointerAt(270));
        CHECK(site == nullptr);
        CHECK(ValueChanges(h.events) == std::vector<std::wstring>{L"Key2"});
        PumpPending();
    }
}

TEST_CASE("snaps that find nothing within reach stay silent") {
    Hosted h;
    SUBCASE("an empty run-time list") {
        h.Press(PointerAt(135));
        h.Drag(MouseAt(200));
        h.Release(MouseAt(200));
        CHECK(Fired(h.events) == std::vector<DISPID>{MouseDown, MouseMove, MouseUp, Click});
        CHECK(Setpoint(h.sk) == L"Key2");
        // The pointer stayed where it was dragged: it is grabbed there now.
        h.events.Clear();
        h.Press(PointerAt(200));
        h.Release(PointerAt(200));
        CHECK(h.events.Count(Click) == 1);
    }
    SUBCASE("a pointer more than half a step and five degrees from every item") {
        // The pointer keeps its start angle 135 (the current key names no item);
        // the items sit at 0, 15 and 30 degrees, reaching 12.5 degrees each.
        Bstr none(L"none");
        h.sk->UpdateSetpoint(none);
        AddItem(h.sk, L"a", L"A", 0xFF);
        AddItem(h.sk, L"b", L"B", 0xFF);
        AddItem(h.sk, L"c", L"C", 0xFF);
        h.sk->put_StartAngle(0);
        h.sk->put_EndAngle(30);
        h.Paint();
        h.Press(PointerAt(135));
        h.Release(PointerAt(135));
        CHECK(Fired(h.events) == std::vector<DISPID>{MouseDown, MouseUp, Click});
        CHECK(Setpoint(h.sk) == L"none");
    }
    SUBCASE("snapping uses the run-time list even when the design list is shown") {
        h.site->ambients().userMode = false;
        h.Paint();  // the pointer goes to Key2 of the design list, at 270
        h.Press(PointerAt(270));
        h.Release(PointerAt(270));
        CHECK(Fired(h.events) == std::vector<DISPID>{MouseDown, MouseUp, Click});
        AddItem(h.sk, L"Run", L"R", 0xFF);  // one item: reaches 140 degrees round 135
        h.events.Clear();
        h.Press(PointerAt(270));
        h.Release(PointerAt(270));
        CHECK(ValueChanges(h.events) == std::vector<std::wstring>{L"Run"});
    }
}

TEST_CASE("angles outside 0 to 359 are taken as they are") {
    Hosted h;
    SUBCASE("the arc from -45 to 225 holds 0 to 225 only: a drag on to 340 ends there") {
        AddItem(h.sk, L"a", L"A", 0xFF);  // at 315
        AddItem(h.sk, L"b", L"B", 0xFF);  // at 90
        AddItem(h.sk, L"c", L"C", 0xFF);  // at 225
        h.sk->put_StartAngle(-45);
        h.sk->put_EndAngle(225);
        Bstr b(L"b");
        h.sk->UpdateSetpoint(b);
        h.Paint();
        h.Press(PointerAt(90));
        DragThrough(h, {60, 30, 10, 340, 320});
        h.Release(MouseAt(320));
        CHECK(h.events.Count(Click) == 0);
    }
    SUBCASE("an item angle is folded by one turn at most") {
        // One item at 1020, folded once to 660 rather than on to 300; from
        // the pointer's 135 its distance then comes out negative and the
        // snap takes it (at 300 it would lie 165 degrees off).
        Bstr none(L"none");
        h.sk->UpdateSetpoint(none);
        AddItem(h.sk, L"a", L"A", 0xFF);
        h.sk->put_StartAngle(1020);
        h.sk->put_EndAngle(1030);
        h.Paint();
        h.Press(PointerAt(135));
        h.Release(PointerAt(135));
        CHECK(ValueChanges(h.events) == std::vector<std::wstring>{L"a"});
    }
}

namespace {
// Bounding box of the pixels that differ between two pictures of one size.
RECT ChangedBox(const DibCanvas& a, const DibCanvas& b, int w, int h) {
    RECT box{w, h, -1, -1};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x);
                box.bottom = std::max<LONG>(box.bottom, y);
            }
    return box;
}
}  // namespace

TEST_CASE("the disc marker is centred on its middle, one pixel wider and taller than the knob's") {
    IQEV_Knob* knob = nullptr;
    REQUIRE(Tarnik().Create(CLSID_QEV_Knob, IID_IQEV_Knob, reinterpret_cast<void**>(&knob)) == S_OK);
    IQEV_SwitchKnob* sk = NewSwitchKnob();
    // Bar pointers; the marker's place differs, its box does not.
    knob->put_IndicatorType(IS_Rect_Flat);
    sk->put_IndicatorType(IS_Rect_Flat);
    knob->put_MarkerVisible(VARIANT_TRUE);
    sk->put_MarkerVisible(VARIANT_TRUE);
    DibCanvas knobWith = DrawToDib(knob, 200, 200);
    DibCanvas skWith = DrawToDib(sk, 200, 200);
    knob->put_MarkerVisible(VARIANT_FALSE);
    sk->put_MarkerVisible(VARIANT_FALSE);
    RECT k = ChangedBox(knobWith, DrawToDib(knob, 200, 200), 200, 200);
    RECT s = ChangedBox(skWith, DrawToDib(sk, 200, 200), 200, 200);
    REQUIRE(k.right >= k.left);
    REQUIRE(s.right >= s.left);
    CHECK(s.right - s.left == k.right - k.left + 1);
    CHECK(s.bottom - s.top == k.bottom - k.top + 1);
    sk->Release();
    knob->Release();
}

TEST_CASE("a slide style other than flat or gradient draws no slide ring") {
    IQEV_SwitchKnob* sk = NewSwitchKnob();
    sk->put_IndicatorType(IS_Slide_Circle);
    sk->put_SliderType(static_cast<SlideStyle>(2));
    DibCanvas unknown = DrawToDib(sk, 200, 200);
    sk->put_IndicatorType(IS_Circle);  // the same pointer without any ring
    DibCanvas plain = DrawToDib(sk, 200, 200);
    RECT diff = ChangedBox(unknown, plain, 200, 200);
    CHECK(diff.right < diff.left);  // no pixel differs
    sk->put_IndicatorType(IS_Slide_Circle);
    sk->put_SliderType(SS_FLAT);
    RECT flat = ChangedBox(DrawToDib(sk, 200, 200), plain, 200, 200);
    CHECK(flat.right >= flat.left);
    sk->Release();
}

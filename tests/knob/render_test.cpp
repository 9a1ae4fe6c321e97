// What the knob paints, read back through the platform: pixels of
// IViewObject::Draw into a 32-bit DIB, the records of a Windows metafile,
// the window region of an active knob, and the drag that works from what the
// paint leaves behind.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <cmath>
#include <string>
#include <vector>

#include "Tarnik.h"
#include "forms/site.h"
#include "tests/support/canvas.h"
#include "tests/support/host.h"
#include "tests/support/recorders.h"

using namespace testsupport;

namespace {

const double kPi = 3.141592653589793;

const LoadedLibrary& Tarnik() { return KeptLibrary(L"Tarnik.dll"); }

// A new knob, initialised as a container would (InitNew), without a site.
struct Knob {
    IQEV_Knob* k = nullptr;
    Knob() {
        REQUIRE(Tarnik().Create(CLSID_QEV_Knob, IID_IQEV_Knob, reinterpret_cast<void**>(&k)) == S_OK);
        IPersistStreamInit* init = nullptr;
        REQUIRE(k->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&init)) == S_OK);
        CHECK(init->InitNew() == S_OK);
        init->Release();
    }
    ~Knob() {
        if (k) k->Release();
    }
    Knob(const Knob&) = delete;
    Knob& operator=(const Knob&) = delete;
    IQEV_Knob* operator->() const { return k; }
    operator IUnknown*() const { return k; }
};

// A knob active in place in a test window, as a form holds it.
struct ActiveKnob {
    TestWindow window{400, 300};
    forms::ControlSite* site = nullptr;
    IQEV_Knob* k = nullptr;
    explicit ActiveKnob(const RECT& pos = RECT{10, 10, 210, 210}, LONG borderType = ES_FLAT) {
        REQUIRE(Tarnik().Create(CLSID_QEV_Knob, IID_IQEV_Knob, reinterpret_cast<void**>(&k)) == S_OK);
        REQUIRE(forms::ControlSite::Create(window, &site) == S_OK);
        REQUIRE(site->Attach(k) == S_OK);
        REQUIRE(site->InitNew() == S_OK);
        if (borderType != ES_FLAT) k->put_BorderType(static_cast<EdgeStyle>(borderType));
        REQUIRE(site->Activate(pos) == S_OK);
        REQUIRE(site->ControlWindow());
        PumpPending();  // the first paint leaves the pointer's hit region
    }
    ~ActiveKnob() {
        site->Detach();
        site->Release();
        k->Release();
    }
    ActiveKnob(const ActiveKnob&) = delete;
    ActiveKnob& operator=(const ActiveKnob&) = delete;
    HWND hwnd() { return site->ControlWindow(); }
    LRESULT Send(UINT msg, WPARAM wp, int x, int y) { return SendMessageW(hwnd(), msg, wp, MAKELPARAM(x, y)); }
};

// Default knob in a square of `size`: the scale rectangle lies inside the
// 20-px label margins and 2 px more; the panel 20 px inside the ring; the
// pointer works in the panel less its raised rim (2 px) and 4 px.
struct DefaultLayout {
    int size;
    int S() const { return 22; }                  // scale rectangle inset
    int I() const { return 22 + 20 + 2 + 4; }     // indicator rectangle inset
    double centre() const { return size / 2; }    // integer halves
    int W() const { return size - 2 * I(); }      // indicator width
};

// Where the default round pointer (IndicatorSize 20) sits for angle a.
POINT PointerAt(const DefaultLayout& L, double a, int indicatorSize = 20) {
    const double r = (L.W() - indicatorSize - 1) / 2.0;
    return POINT{static_cast<int>(L.centre() + std::cos(a * kPi / 180) * r),
                 static_cast<int>(L.centre() + std::sin(a * kPi / 180) * r)};
}

// A point at angle a (degrees) and radius r from (cx, cy).
POINT Polar(double cx, double cy, double a, double r) {
    return POINT{static_cast<int>(std::lround(cx + std::cos(a * kPi / 180) * r)),
                 static_cast<int>(std::lround(cy + std::sin(a * kPi / 180) * r))};
}

// The window's region covers the same pixels as the ellipse of (0, 0, w, h).
// (EqualRgn compares stored rectangles; the system hands a window's region
// back split into other rectangles.)
bool WindowRegionIsEllipse(HWND hwnd, int w, int h) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    HRGN ellipse = CreateEllipticRgn(0, 0, w, h);
    HRGN difference = CreateRectRgn(0, 0, 0, 0);
    const bool same = GetWindowRgn(hwnd, region) != ERROR &&
                      CombineRgn(difference, region, ellipse, RGN_XOR) == NULLREGION;
    DeleteObject(difference);
    DeleteObject(ellipse);
    DeleteObject(region);
    return same;
}

bool HasWindowRegion(HWND hwnd) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    const bool has = GetWindowRgn(hwnd, region) != ERROR;
    DeleteObject(region);
    return has;
}

// The text alignment in force for a text record: the last META_SETTEXTALIGN before it.
int AlignmentBefore(const Wmf& wmf, size_t index) {
    for (size_t i = index; i-- > 0;) {
        const WmfRecord& r = wmf.Records()[i];
        if (r.function == META_SETTEXTALIGN) return r.params.empty() ? -1 : r.params[0];
    }
    return -1;
}

int FontPoints(IQEV_Knob* k) {
    IFontDisp* fd = nullptr;
    if (FAILED(k->get_Font(&fd)) || !fd) return 14;
    IFont* f = nullptr;
    int points = 14;
    if (SUCCEEDED(fd->QueryInterface(IID_IFont, reinterpret_cast<void**>(&f)))) {
        CY cy{};
        f->get_Size(&cy);
        points = static_cast<int>(cy.int64 / 10000);
        f->Release();
    }
    fd->Release();
    return points;
}

// A label anchor at angle a (degrees) on half axes (hx, hy) round (100, 100),
// truncated as the paint truncates it.
POINT Anchor(double a, double hx, double hy) {
    return POINT{static_cast<int>(100 + std::cos(a * kPi / 180) * hx),
                 static_cast<int>(100 + std::sin(a * kPi / 180) * hy)};
}

const WmfText* FindText(const std::vector<WmfText>& texts, const std::string& s) {
    for (const auto& t : texts)
        if (t.text == s) return &t;
    return nullptr;
}

}  // namespace

TEST_CASE("the pointer sits on the scale where the value puts it") {
    Knob knob;
    const COLORREF green = RGB(0, 200, 0);
    knob->put_IndicatorType(IS_Circle);
    knob->put_IndicatorColor(green);
    const DefaultLayout L{200};

    struct Case {
        double value;
        double angle;
    } cases[] = {{0, 135}, {50, 270}, {100, 45}, {25, 202.5}};
    for (const Case& c : cases) {
        CAPTURE(c.value);
        knob->UpdateValue(c.value);
        DibCanvas canvas = DrawToDib(knob, 200, 200);
        const POINT at = PointerAt(L, c.angle);
        CHECK(canvas.Pixel(at.x, at.y) == green);
        // Nothing of the pointer on the opposite side of the dial.
        const POINT opposite = PointerAt(L, c.angle + 180);
        const RECT around{opposite.x - 3, opposite.y - 3, opposite.x + 4, opposite.y + 4};
        CHECK(canvas.Count(green, &around) == 0);
    }

    SUBCASE("inverse direction starts from the end angle") {
        knob->put_InverseDirection(VARIANT_TRUE);
        knob->UpdateValue(25);
        DibCanvas canvas = DrawToDib(knob, 200, 200);
        const POINT at = PointerAt(L, 45 - 67.5 + 360);
        CHECK(canvas.Pixel(at.x, at.y) == green);
    }
}

TEST_CASE("an empty range keeps the pointer where the knob's own window last showed it") {
    ActiveKnob active;
    active.k->put_IndicatorType(IS_Circle);
    active.k->put_IndicatorColor(RGB(0, 200, 0));
    active.k->UpdateValue(100);  // the window shows the pointer at 45 degrees
    // A print shows 100 of 0..200 at 270 degrees, but the window did not.
    active.k->put_MaxVal(200);
    DrawToDib(active.k, 200, 200);
    active.k->put_MinVal(std::nan(""));
    DibCanvas canvas = DrawToDib(active.k, 200, 200);
    const POINT at = PointerAt(DefaultLayout{200}, 45);
    CHECK(canvas.Pixel(at.x, at.y) == RGB(0, 200, 0));
}

TEST_CASE("a knob whose range is empty from the start shows the pointer at the start angle") {
    Knob knob;
    knob->put_IndicatorType(IS_Circle);
    knob->put_IndicatorColor(RGB(0, 200, 0));
    knob->put_MaxVal(0);
    DibCanvas canvas = DrawToDib(knob, 200, 200);
    const POINT at = PointerAt(DefaultLayout{200}, 135);
    CHECK(canvas.Pixel(at.x, at.y) == RGB(0, 200, 0));
}

TEST_CASE("the scale ring shows its ranges, and a range of no width paints nothing") {
    Knob knob;
    const COLORREF ring = RGB(0xE4, 0xE4, 0xE4);
    const COLORREF red = RGB(250, 0, 0), blue = RGB(0, 0, 250);
    const double c = 100;
    const double rr = 70;  // inside the ring, outside the minor ticks
    // Angles between the major ticks (every 54 degrees from 135).
    DibCanvas plain = DrawToDib(knob, 200, 200);
    CHECK(plain.Pixel(Polar(c, c, 216, rr).x, Polar(c, c, 216, rr).y) == ring);
    CHECK(plain.Pixel(Polar(c, c, 324, rr).x, Polar(c, c, 324, rr).y) == ring);
    // The gap of the scale at the bottom is background.
    OLE_COLOR back = 0;
    knob->get_BkColor(&back);
    CHECK(plain.Pixel(100, static_cast<int>(c + rr)) == back);

    SUBCASE("a range covers its part of the scale") {
        knob->SetScaleRangeColor(0, 0, 50, red);
        DibCanvas canvas = DrawToDib(knob, 200, 200);
        CHECK(canvas.Pixel(Polar(c, c, 216, rr).x, Polar(c, c, 216, rr).y) == red);
        CHECK(canvas.Pixel(Polar(c, c, 324, rr).x, Polar(c, c, 324, rr).y) == ring);
        knob->CancelScaleRangeColor(0);
        DibCanvas cancelled = DrawToDib(knob, 200, 200);
        CHECK(cancelled.Count(red) == 0);
    }
    SUBCASE("a range of no width paints nothing") {
        knob->SetScaleRangeColor(1, 30, 30, blue);
        DibCanvas canvas = DrawToDib(knob, 200, 200);
        CHECK(canvas.Count(blue) == 0);
        // Nor does a sliver too thin to have two distinct end points.
        knob->SetScaleRangeColor(1, 30, 30.0001, blue);
        DibCanvas sliver = DrawToDib(knob, 200, 200);
        CHECK(sliver.Count(blue) < 20);
    }
    SUBCASE("range colours are translated like every other colour") {
        knob->SetScaleRangeColor(2, 50, 100, 0x80000000 | COLOR_HIGHLIGHT);
        DibCanvas canvas = DrawToDib(knob, 200, 200);
        CHECK(canvas.Pixel(Polar(c, c, 324, rr).x, Polar(c, c, 324, rr).y) == GetSysColor(COLOR_HIGHLIGHT));
    }
    SUBCASE("a colour the platform refuses is drawn as its low 24 bits") {
        knob->SetScaleRangeColor(3, 50, 100, 0xCCCC3366);
        knob->put_ScaleRingColor(0x800000FF);
        DibCanvas canvas = DrawToDib(knob, 200, 200);
        CHECK(canvas.Pixel(Polar(c, c, 324, rr).x, Polar(c, c, 324, rr).y) == 0xCC3366);
        CHECK(canvas.Pixel(Polar(c, c, 216, rr).x, Polar(c, c, 216, rr).y) == 0x0000FF);
    }
}

TEST_CASE("backgrounds and borders") {
    Knob knob;
    const COLORREF back = RGB(10, 20, 30);
    knob->put_BkColor(back);
    const COLORREF window = GetSysColor(COLOR_WINDOW);

    SUBCASE("opaque fills with BkColor, transparent with the container's colour") {
        DibCanvas opaque = DrawToDib(knob, 200, 200);
        CHECK(opaque.All(back, RECT{0, 0, 200, 20}));
        knob->put_BackStyle(BS_Transparent);
        DibCanvas transparent = DrawToDib(knob, 200, 200);
        CHECK(transparent.All(window, RECT{0, 0, 200, 20}));
    }
    SUBCASE("round borders fill the corners with the container's colour and the circle with the background") {
        for (int type = ES_CIRCLE; type <= ES_RAISEDCIRCLE; ++type) {
            CAPTURE(type);
            knob->put_BorderType(static_cast<EdgeStyle>(type));
            DibCanvas canvas = DrawToDib(knob, 200, 200);
            CHECK(canvas.Pixel(2, 2) == window);
            CHECK(canvas.Pixel(197, 197) == window);
            CHECK(canvas.Pixel(100, 22) == back);  // between the rim and the scale
            CHECK(canvas.Count(kUnpainted) == 0);
            // The rim is drawn on the circle's edge.
            bool rim = false;
            for (int y = 0; y < 12 && !rim; ++y) {
                COLORREF p = canvas.Pixel(100, y);
                rim = p != window && p != back;
            }
            CHECK(rim);
        }
    }
    SUBCASE("the configurable border: light outer and dark inner bands at the top, the reverse at the bottom") {
        knob->put_BorderType(ES_CONFIGURABLE);
        knob->put_BorderLightColor(RGB(250, 250, 0));
        knob->put_BorderDarkColor(RGB(0, 90, 90));
        DibCanvas canvas = DrawToDib(knob, 200, 200);
        CHECK(canvas.Pixel(100, 1) == RGB(250, 250, 0));
        CHECK(canvas.Pixel(100, 6) == RGB(0, 90, 90));
        CHECK(canvas.Pixel(100, 197) == RGB(0, 90, 90));
        CHECK(canvas.Pixel(100, 193) == RGB(250, 250, 0));
    }
    SUBCASE("raised and sunken frames are the platform's edges") {
        knob->put_BorderType(ES_RAISED);
        DibCanvas raised = DrawToDib(knob, 200, 200);
        CHECK(raised.Pixel(100, 0) == GetSysColor(COLOR_3DLIGHT));
        CHECK(raised.Pixel(100, 199) == GetSysColor(COLOR_3DDKSHADOW));
        knob->put_BorderType(ES_SUNKEN);
        DibCanvas sunken = DrawToDib(knob, 200, 200);
        CHECK(sunken.Pixel(100, 0) == GetSysColor(COLOR_BTNSHADOW));
        CHECK(sunken.Pixel(100, 199) == GetSysColor(COLOR_BTNHIGHLIGHT));
    }
}

TEST_CASE("bounds away from the origin draw the whole picture there") {
    Knob knob;
    knob->SetScaleRangeColor(0, 10, 40, RGB(200, 0, 0));
    knob->put_BorderType(ES_3DRING);
    DibCanvas atOrigin = DrawToDib(knob, 200, 200);
    DibCanvas moved(300, 260, kUnpainted);
    REQUIRE(DrawControl(knob, moved.dc(), RECT{70, 40, 270, 240}) == S_OK);
    int differences = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            if (atOrigin.Pixel(x, y) != moved.Pixel(x + 70, y + 40)) ++differences;
    CHECK(differences == 0);
    CHECK(moved.All(kUnpainted, RECT{0, 0, 300, 40}));
    CHECK(moved.All(kUnpainted, RECT{0, 0, 70, 260}));
    CHECK(moved.All(kUnpainted, RECT{270, 0, 300, 260}));
}

TEST_CASE("every pointer, panel and marker style paints and leaks nothing") {
    Knob knob;
    DrawToDib(knob, 200, 200);
    {
        Wmf warm;
        warm.Record(knob, 200, 200);
    }
    knob->SetScaleRangeColor(0, 20, 60, RGB(0, 0, 200));
    knob->put_SetpointTextType(STS_SUNKEN);
    BSTR unit = SysAllocString(L"rpm");
    knob->put_UnitName(unit);
    SysFreeString(unit);
    const int before = CountGdiObjects();
    for (int type = 0; type <= 18; ++type) {
        knob->put_IndicatorType(static_cast<IndicatorStyle>(type));
        knob->put_MarkerType(static_cast<MarkerStyle>(type % 10));
        knob->put_PanelType(static_cast<PanelStyle>(type % 4));
        knob->put_PanelBorderType(static_cast<PanelBorderStyle>(type % 7));
        knob->put_BorderType(static_cast<EdgeStyle>(type % 10));
        knob->put_SliderType(static_cast<SlideStyle>(type % 2));
        knob->put_IndicatorSize(static_cast<short>(6 + type));
        DibCanvas canvas = DrawToDib(knob, 180, 160);
        CHECK(canvas.Count(kUnpainted) == 0);
        Wmf wmf;
        CHECK(wmf.Record(knob, 180, 160) == S_OK);
    }
    CHECK(CountGdiObjects() == before);
}

TEST_CASE("the metafile carries the labels, set-point text and unit at computed anchors") {
    Knob knob;
    const int p = FontPoints(knob.k);
    // Scale over the top: labels at 180 (left), 270 (top) and 360 (right).
    knob->put_StartAngle(180);
    knob->put_EndAngle(0);
    knob->put_TickerNum(3);
    knob->put_SubTickerNum(0);
    knob->put_SetpointTextType(STS_TRANSPARENT);
    BSTR unit = SysAllocString(L"rpm");
    knob->put_UnitName(unit);
    SysFreeString(unit);

    SUBCASE("outer labels run away from the dial, the top one centred") {
        Wmf wmf;
        REQUIRE(wmf.Record(knob, 200, 200) == S_OK);
        const auto texts = wmf.Texts();
        // Scale rectangle (22, 22, 178, 178): anchors at half axes (79, 84).
        const WmfText* left = FindText(texts, "0.0");
        const WmfText* top = FindText(texts, "50.0");
        const WmfText* right = FindText(texts, "100.0");
        REQUIRE(left);
        REQUIRE(top);
        REQUIRE(right);
        CHECK(left->x == Anchor(180, 79, 84).x);
        CHECK(left->y == Anchor(180, 79, 84).y + p / 2);
        CHECK(AlignmentBefore(wmf, left->index) == (TA_BASELINE | TA_RIGHT));
        CHECK(top->x == Anchor(270, 79, 84).x);
        CHECK(top->y == Anchor(270, 79, 84).y + p / 2);
        CHECK(AlignmentBefore(wmf, top->index) == (TA_BASELINE | TA_CENTER));
        CHECK(right->x == Anchor(360, 79, 84).x);
        CHECK(right->y == Anchor(360, 79, 84).y + p / 2);
        CHECK(AlignmentBefore(wmf, right->index) == (TA_BASELINE | TA_LEFT));
    }
    SUBCASE("inner labels run toward the centre") {
        knob->put_ScaleTextPosStyle(INNER);
        Wmf wmf;
        REQUIRE(wmf.Record(knob, 200, 200) == S_OK);
        const auto texts = wmf.Texts();
        // Scale rectangle (2, 2, 198, 198): anchors at half axes (73, 68).
        const WmfText* left = FindText(texts, "0.0");
        const WmfText* right = FindText(texts, "100.0");
        REQUIRE(left);
        REQUIRE(right);
        CHECK(left->x == Anchor(180, 73, 68).x);
        CHECK(AlignmentBefore(wmf, left->index) == (TA_BASELINE | TA_LEFT));
        CHECK(right->x == Anchor(360, 73, 68).x);
        CHECK(AlignmentBefore(wmf, right->index) == (TA_BASELINE | TA_RIGHT));
    }
    SUBCASE("set-point value centred on its box, unit name below it") {
        Wmf wmf;
        REQUIRE(wmf.Record(knob, 200, 200) == S_OK);
        const auto texts = wmf.Texts();
        // Indicator rectangle (48, 48, 152, 152): box (75, 110, 125, 130).
        size_t valueCount = 0;
        const WmfText* value = nullptr;
        for (const auto& t : texts)
            if (t.text == "50.0") {
                ++valueCount;
                if (t.y == 120 + p / 2) value = &t;
            }
        CHECK(valueCount == 2);  // the top label and the set-point text
        REQUIRE(value);
        CHECK(value->x == 100);
        CHECK(AlignmentBefore(wmf, value->index) == (TA_BASELINE | TA_CENTER));
        const WmfText* unitText = FindText(texts, "rpm");
        REQUIRE(unitText);
        CHECK(unitText->x == 100);
        CHECK(unitText->y == 132);
        CHECK(AlignmentBefore(wmf, unitText->index) == TA_CENTER);
    }
    SUBCASE("a hidden value puts the unit name at the value box's top") {
        knob->put_SetpointTextType(STS_BOTTOM_NONE);
        Wmf wmf;
        REQUIRE(wmf.Record(knob, 200, 200) == S_OK);
        const WmfText* unitText = FindText(wmf.Texts(), "rpm");
        REQUIRE(unitText);
        CHECK(unitText->y == 152 + 2 + 4 + 2);
    }
    SUBCASE("the metafile keeps the DC state it was handed") {
        Wmf wmf;
        REQUIRE(wmf.Record(knob, 200, 200) == S_OK);
        CHECK(wmf.Count(META_SAVEDC) == 1);
        CHECK(wmf.Count(META_RESTOREDC) == 1);
        for (const auto& r : wmf.Records())
            if (r.function == META_SETTEXTALIGN) CHECK_FALSE((r.params.at(0) & TA_UPDATECP));
    }
}

TEST_CASE("scale values are printed the platform's way") {
    Knob knob;
    knob->put_SetpointTextType(STS_TRANSPARENT);
    knob->put_TickerNum(0);
    struct Case {
        short precision;
        BOOL percentage;
        double value;
        const char* text;
    } cases[] = {
        {2, FALSE, 2.675, "2.67"},  // 2.67499995 as a float
        {1, FALSE, 1.45, "1.5"},    // 1.45000005
        {1, FALSE, 0.35, "0.3"},    // 0.34999999
        {3, FALSE, 33.3333, "33.333"},
        {4, FALSE, 7, "7.0000"},
        {7, FALSE, 12.25, "12.3"},  // other precisions print one decimal; ties away from zero
        {0, FALSE, 2.5, "3"},
        {1, TRUE, 100.0 / 3, "33.3%"},
        {0, TRUE, 66.7, "67%"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.value);
        CAPTURE(c.precision);
        knob->put_ScalePrecision(c.precision);
        knob->put_PercentageScale(c.percentage ? VARIANT_TRUE : VARIANT_FALSE);
        knob->UpdateValue(c.value);
        Wmf wmf;
        REQUIRE(wmf.Record(knob, 200, 200) == S_OK);
        const auto texts = wmf.Texts();
        REQUIRE(texts.size() == 1);
        CHECK(texts[0].text == c.text);
    }
    SUBCASE("percentages of an empty range print nothing") {
        knob->put_PercentageScale(VARIANT_TRUE);
        knob->put_TickerNum(6);
        knob->put_MaxVal(0);
        Wmf wmf;
        REQUIRE(wmf.Record(knob, 200, 200) == S_OK);
        CHECK(wmf.Texts().empty());
    }
}

TEST_CASE("a huge number of ticks is drawn in bounded time and a knob of non-finite values still paints") {
    Knob knob;
    knob->put_TickerNum(32767);
    knob->put_SubTickerNum(32767);
    HRESULT hr = E_FAIL;
    DibCanvas canvas = DrawToDib(knob, 200, 200, &hr);
    CHECK(hr == S_OK);
    knob->put_MaxVal(HUGE_VAL);
    knob->put_MinVal(-HUGE_VAL);
    knob->put_ScalePrecision(4);
    knob->SetScaleRangeColor(0, -1e300, 1e300, RGB(1, 2, 3));
    DrawToDib(knob, 200, 200, &hr);
    CHECK(hr == S_OK);
    Wmf wmf;
    CHECK(wmf.Record(knob, 200, 200) == S_OK);
}

TEST_CASE("a bubble pointer far larger than the knob paints in bounded time") {
    // IndicatorSize 32767 puts the bubble's centre thousands of pixels off
    // the knob; its shaded disc has as many outlines as its radius.
    SUBCASE("drawn for a container") {
        Knob knob;
        knob->put_IndicatorType(IS_Bubble);
        knob->put_IndicatorSize(32767);
        HRESULT hr = E_FAIL;
        DrawToDib(knob, 200, 200, &hr);
        CHECK(hr == S_OK);
    }
    SUBCASE("in its own window") {
        ActiveKnob active;
        active.k->put_IndicatorType(IS_Bubble);
        active.k->put_IndicatorSize(32767);
        PumpPending();
        CHECK(active.k->UpdateValue(70) == S_OK);
    }
}

TEST_CASE("the window region follows the round border types") {
    SUBCASE("set when the window is created") {
        ActiveKnob active(RECT{10, 10, 210, 190}, ES_3DRING);
        CHECK(WindowRegionIsEllipse(active.hwnd(), 200, 180));
    }
    SUBCASE("kept after paints, and taken away when the border stops being round") {
        ActiveKnob active;
        CHECK_FALSE(HasWindowRegion(active.hwnd()));
        active.k->put_BorderType(ES_SUNKENCIRCLE);
        active.k->UpdateValue(30);
        PumpPending();
        active.k->UpdateValue(40);
        CHECK(WindowRegionIsEllipse(active.hwnd(), 200, 200));
        // A print at another size leaves the window's region alone.
        DibCanvas print = DrawToDib(active.k, 300, 120);
        CHECK(WindowRegionIsEllipse(active.hwnd(), 200, 200));
        // The value's redraw path leaves the shape alone; the next paint
        // with a DC takes the region away.
        active.k->put_BorderType(ES_CONFIGURABLE);
        active.k->UpdateValue(50);
        CHECK(HasWindowRegion(active.hwnd()));
        PumpPending();
        CHECK_FALSE(HasWindowRegion(active.hwnd()));
    }
}

TEST_CASE("dragging the pointer with the mouse") {
    ActiveKnob active;  // 200 x 200: centre (100, 100)
    const DefaultLayout L{200};
    EventRecorder events(DIID__IQEV_KnobEvents);
    REQUIRE(events.Connect(active.k) == S_OK);

    SUBCASE("the mouse straight above the centre gives the middle of the scale") {
        active.k->UpdateValue(40);
        const POINT at = PointerAt(L, 135 + 108);
        active.Send(WM_LBUTTONDOWN, MK_LBUTTON, at.x, at.y);
        active.Send(WM_MOUSEMOVE, MK_LBUTTON, 100, 30);
        active.Send(WM_LBUTTONUP, 0, 100, 30);
        REQUIRE(events.Count(1) == 1);
        CHECK(events.Last(1)->Num(0) == doctest::Approx(50));
        CHECK(events.Dispids() == std::vector<DISPID>{4, 6, 1, 5, 3});
        double v = 0;
        active.k->GetValue(&v);
        CHECK(v == doctest::Approx(50));
    }
    SUBCASE("inverse direction: straight right with the pointer near it gives 16.67") {
        active.k->put_InverseDirection(VARIANT_TRUE);
        active.k->UpdateValue(16);  // pointer at 45 - 43.2 = 1.8 degrees
        const POINT at = PointerAt(L, 1.8);
        active.Send(WM_LBUTTONDOWN, MK_LBUTTON, at.x, at.y);
        active.Send(WM_MOUSEMOVE, MK_LBUTTON, 170, 100);
        REQUIRE(events.Count(1) == 1);
        CHECK(events.Last(1)->Num(0) == doctest::Approx(100.0 / 6));
    }
    SUBCASE("inverse direction: straight right with the pointer at the top turns round to 83.33") {
        active.k->put_InverseDirection(VARIANT_TRUE);
        active.k->UpdateValue(50);  // pointer at 270
        const POINT at = PointerAt(L, 270);
        active.Send(WM_LBUTTONDOWN, MK_LBUTTON, at.x, at.y);
        active.Send(WM_MOUSEMOVE, MK_LBUTTON, 170, 100);
        REQUIRE(events.Count(1) == 1);
        CHECK(events.Last(1)->Num(0) == doctest::Approx(250.0 / 3));
    }
    SUBCASE("the mouse near the edge ends the drag") {
        const POINT at = PointerAt(L, 270);
        active.Send(WM_LBUTTONDOWN, MK_LBUTTON, at.x, at.y);
        active.Send(WM_MOUSEMOVE, MK_LBUTTON, 198, 100);
        active.Send(WM_MOUSEMOVE, MK_LBUTTON, 100, 30);
        active.Send(WM_LBUTTONUP, 0, 100, 30);
        CHECK(events.Count(1) == 0);
        CHECK(events.Count(3) == 0);
        CHECK(events.Dispids() == std::vector<DISPID>{4, 6, 6, 5});
    }
    SUBCASE("a press outside the pointer starts no drag") {
        active.Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 140);
        active.Send(WM_MOUSEMOVE, MK_LBUTTON, 100, 30);
        active.Send(WM_LBUTTONUP, 0, 100, 30);
        CHECK(events.Dispids() == std::vector<DISPID>{4, 6, 5});
    }
    SUBCASE("a press on the pointer and a release in place clicks") {
        const POINT at = PointerAt(L, 270);
        active.Send(WM_LBUTTONDOWN, MK_LBUTTON, at.x, at.y);
        active.Send(WM_LBUTTONUP, 0, at.x, at.y);
        CHECK(events.Dispids() == std::vector<DISPID>{4, 5, 3});
    }
    SUBCASE("a print at another size does not move the pointer's hit region") {
        DibCanvas print = DrawToDib(active.k, 400, 400);
        Wmf wmf;
        wmf.Record(active.k, 50, 50);
        const POINT at = PointerAt(L, 270);
        active.Send(WM_LBUTTONDOWN, MK_LBUTTON, at.x, at.y);
        active.Send(WM_LBUTTONUP, 0, at.x, at.y);
        CHECK(events.Count(3) == 1);
    }
    SUBCASE("a pointer style that draws nothing leaves nothing to press") {
        active.k->put_IndicatorType(static_cast<IndicatorStyle>(18));
        active.k->UpdateValue(50);
        const POINT at = PointerAt(L, 270);
        active.Send(WM_LBUTTONDOWN, MK_LBUTTON, at.x, at.y);
        active.Send(WM_LBUTTONUP, 0, at.x, at.y);
        CHECK(events.Count(3) == 0);
    }
}

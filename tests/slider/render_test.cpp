// What the slider and the switch slider draw, read back from 32-bit DIBs and
// Windows metafiles: marker places, band, marker styles, frames, item marks,
// the gradient's channels, text anchors, bounds away from the origin and GDI
// objects over repeated paints.
#include "slider_support.h"
#include "tests/support/canvas.h"

using namespace slidertest;

namespace {

const COLORREF kFace = RGB(0x33, 0x66, 0xCC);  // marker colour of these tests
const COLORREF kRange = RGB(0, 0xFF, 0);        // default RangeBkColor

// A new control (initialised, not in place) in the marker colour of these tests.
template <class I>
struct FreshOf {
    Ptr<I> s;
    FreshOf(REFCLSID clsid, REFIID iid) {
        s.p = Create<I>(clsid, iid);
        Ptr<IPersistStreamInit> ps;
        QueryOwned(s.p, IID_IPersistStreamInit, ps);
        REQUIRE(ps->InitNew() == S_OK);
        s->put_MarkerColor(kFace);
    }
};

struct Fresh : FreshOf<IQEV_Slider> {
    Fresh() : FreshOf(CLSID_QEV_Slider, IID_IQEV_Slider) {}
};

struct FreshSwitch : FreshOf<IQEV_SwitchSlider> {
    FreshSwitch() : FreshOf(CLSID_QEV_SwitchSlider, IID_IQEV_SwitchSlider) {}
    void Add(const wchar_t* key, const wchar_t* name, OLE_COLOR c) {
        Bstr k(key), n(name);
        REQUIRE(s->AddItem(k, n, c) == S_OK);
    }
};

int Count(const DibCanvas& c, COLORREF colour, RECT area) { return c.Count(colour, &area); }

}  // namespace

TEST_CASE("the marker sits at the set point's place in both orientations, inverse and degenerate") {
    // A 200 x 60 horizontal slider: V runs from x = 0 to 199 across y = 25..35;
    // a 60 x 200 vertical one from y = 1 to 199 across x = 25..35.
    struct Case {
        bool vertical, inverse;
        double minVal, maxVal, setpoint;
        int centre;  // along the scale
    } cases[] = {
        {false, false, 0, 100, 50, 0 + 199 * 50 / 100}, {false, false, 0, 100, 10, 19},
        {false, true, 0, 100, 10, 199 - 19},            {false, false, 5, 5, 5, 0},
        {false, true, 5, 5, 5, 199},                    {true, false, 0, 100, 25, 1 + 148},
        {true, true, 0, 100, 25, 199 - 148},            {true, false, 7, 7, 7, 1},
        {true, true, 7, 7, 7, 199},
    };
    for (const Case& c : cases) {
        INFO(c.vertical << " " << c.inverse << " " << c.minVal << ".." << c.maxVal << " @" << c.setpoint);
        Fresh f;
        f.s->put_Vertical(c.vertical ? VARIANT_TRUE : VARIANT_FALSE);
        f.s->put_InverseDirection(c.inverse ? VARIANT_TRUE : VARIANT_FALSE);
        f.s->put_MinVal(c.minVal);
        f.s->put_MaxVal(c.maxVal);
        f.s->put_ScaleVisible(VARIANT_FALSE);
        f.s->UpdateSetpoint(c.setpoint);
        const int w = c.vertical ? 60 : 200, h = c.vertical ? 200 : 60;
        DibCanvas canvas = DrawToDib(f.s, w, h);
        // The face fills the marker round its centre; 8 pixels beyond its half width the field shows.
        const POINT centre = c.vertical ? POINT{30, c.centre} : POINT{c.centre, 30};
        CHECK(canvas.Pixel(centre.x, centre.y) == kFace);
        const POINT beyond = c.vertical ? POINT{30, c.centre + (c.centre > 100 ? -12 : 12)}
                                        : POINT{c.centre + (c.centre > 100 ? -12 : 12), 30};
        CHECK(canvas.Pixel(beyond.x, beyond.y) == kRange);
    }
}

TEST_CASE("the actual-value band covers the field from its start to the actual value") {
    struct Case {
        bool vertical, inverse;
        double actual;
        RECT inside, outside;  // points as 1-pixel rectangles
    } cases[] = {
        {false, false, 30, {20, 27, 21, 28}, {100, 27, 101, 28}},
        {false, true, 30, {180, 27, 181, 28}, {100, 27, 101, 28}},
        {true, false, 30, {27, 180, 28, 181}, {27, 100, 28, 101}},
        {true, true, 30, {27, 20, 28, 21}, {27, 100, 28, 101}},
        {false, false, 1e300, {150, 27, 151, 28}, {150, 40, 151, 41}},  // clamped, not wrapped
    };
    for (const Case& c : cases) {
        INFO(c.vertical << " " << c.inverse << " " << c.actual);
        Fresh f;
        f.s->put_Vertical(c.vertical ? VARIANT_TRUE : VARIANT_FALSE);
        f.s->put_InverseDirection(c.inverse ? VARIANT_TRUE : VARIANT_FALSE);
        f.s->put_ActualRangeVisible(VARIANT_TRUE);
        f.s->put_MarkerStyle(static_cast<SliderMarkerStyle>(99));  // no marker in the way
        REQUIRE(f.s->UpdateActualValue(c.actual) == S_OK);
        DibCanvas canvas = DrawToDib(f.s, c.vertical ? 60 : 200, c.vertical ? 200 : 60);
        CHECK(canvas.Pixel(c.inside.left, c.inside.top) == 0xA8FAFA);
        CHECK(canvas.Pixel(c.outside.left, c.outside.top) != 0xA8FAFA);
    }
}

TEST_CASE("every marker style draws its face in the marker colour; unknown styles draw none") {
    for (int vertical = 0; vertical < 2; ++vertical) {
        for (int side = 0; side < 2; ++side) {
            for (int style = 0; style <= 16; ++style) {
                INFO("vertical " << vertical << " side " << side << " style " << style);
                Fresh f;
                f.s->put_Vertical(vertical ? VARIANT_TRUE : VARIANT_FALSE);
                f.s->put_ScaleSideChanged(side ? VARIANT_TRUE : VARIANT_FALSE);
                f.s->put_MarkerStyle(static_cast<SliderMarkerStyle>(style));
                f.s->put_MarkerWidth(24);
                f.s->put_MarkerHeight(30);
                const int w = vertical ? 80 : 400, h = vertical ? 400 : 80;
                DibCanvas canvas = DrawToDib(f.s, w, h);
                // The marker at 50 sits in the middle of the control.
                const RECT around{w / 2 - 22, h / 2 - 22, w / 2 + 22, h / 2 + 22};
                if (style == 16) CHECK(Count(canvas, kFace, around) == 0);
                else CHECK(Count(canvas, kFace, around) >= 20);
            }
        }
    }
}

TEST_CASE("the gradient marker's strips follow the blend formula channel by channel") {
    Fresh f;
    f.s->put_Vertical(VARIANT_TRUE);
    f.s->put_MarkerStyle(MKGRADIENT);
    f.s->put_ScaleVisible(VARIANT_FALSE);
    f.s->put_MarkerWidth(14);  // the upper quadrilateral spans 7 rows: one strip per row
    DibCanvas canvas = DrawToDib(f.s, 60, 201);
    // V runs from y = 1 to 199; the set point 50 puts c at 1 + 99 = 100, K.top at 93.
    const int c = 100, top = c - 7, L = 7;
    for (int k = 1; k < L; ++k) {
        INFO("strip " << k);
        COLORREF want = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int o = (kFace >> shift) & 0xFF, d = 0xFF - o, H = L / 2;
            const int v = k < H ? o + (int)(d * 0.5f * k / (L * 0.5))
                                : o + (int)(d * 0.5f) + (int)(d * (1 - 0.5f) * (k - H) / (L * 0.5));
            want |= (COLORREF)v << shift;
        }
        CHECK(canvas.Pixel(30, top + k) == want);
    }
}

TEST_CASE("frames: sunken and raised edges, and the configurable bands in their colours") {
    struct Case {
        int style;
        POINT at;
        COLORREF want;
    } cases[] = {
        {SUNKEN, {100, 0}, GetSysColor(COLOR_BTNSHADOW)},
        {RAISED, {100, 0}, GetSysColor(COLOR_3DLIGHT)},
        {CONFIGURABLE, {100, 1}, 0x0000AA},   // outer band, top: light
        {CONFIGURABLE, {100, 58}, 0xAA0000},  // outer band, bottom: dark
        {CONFIGURABLE, {100, 5}, 0xAA0000},   // inner band, top: dark
        {CONFIGURABLE, {1, 30}, 0x0000AA},    // outer band, left: light
    };
    for (const Case& c : cases) {
        INFO(c.style << " at " << c.at.x << "," << c.at.y);
        Fresh f;
        f.s->put_BorderStyle(static_cast<SliderBorderStyle>(c.style));
        f.s->put_BorderLightColor(0x0000AA);
        f.s->put_BorderDarkColor(0xAA0000);
        DibCanvas canvas = DrawToDib(f.s, 200, 60);
        CHECK(canvas.Pixel(c.at.x, c.at.y) == c.want);
    }
}

TEST_CASE("bounds away from the origin draw the whole picture there") {
    for (int vertical = 0; vertical < 2; ++vertical) {
        Fresh f;
        f.s->put_Vertical(vertical ? VARIANT_TRUE : VARIANT_FALSE);
        f.s->put_ShowSetpointValue(VARIANT_TRUE);
        const int w = vertical ? 80 : 200, h = vertical ? 200 : 80;
        DibCanvas at0 = DrawToDib(f.s, w, h);
        DibCanvas moved(w + 70, h + 50, kUnpainted);
        REQUIRE(DrawControl(f.s, moved.dc(), RECT{50, 40, 50 + w, 40 + h}) == S_OK);
        GdiFlush();
        int differ = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) differ += at0.Pixel(x, y) != moved.Pixel(x + 50, y + 40);
        CHECK(differ == 0);
        CHECK(moved.Pixel(49, 39) == kUnpainted);
        CHECK(moved.Pixel(50 + w, 40 + h) == kUnpainted);
    }
}

TEST_CASE("metafiles carry the labels and value texts at their anchors") {
    Fresh f;
    f.s->put_ShowSetpointValue(VARIANT_TRUE);
    Wmf wmf;
    REQUIRE(wmf.Record(f.s, 200, 60) == S_OK);
    std::vector<WmfText> texts = wmf.Texts();
    // Horizontal 200 x 60: V from x = 0 to 199, y = 25..35. Labels above it:
    // "100.0" right-aligned on the right end, "0.0" left-aligned at the left,
    // "50.0" centred; the set point's "50.0" below the field, centred.
    struct Want {
        std::string text;
        int x, y;
    } wants[] = {{"100.0", 199, 16}, {"0.0", 0, 16}, {"75.0", 150, 16}};
    for (const Want& w : wants) {
        INFO(w.text);
        bool found = false;
        for (const WmfText& t : texts)
            if (t.text == w.text && t.x == w.x && t.y == w.y) found = true;
        CHECK(found);
    }
    int fifty = 0;
    for (const WmfText& t : texts) fifty += t.text == "50.0";
    CHECK(fifty == 2);
    CHECK(wmf.Count(META_SETTEXTALIGN) >= texts.size());
}

TEST_CASE("item marks sit at the item positions in the item colours, with names in a metafile") {
    const int types[] = {ITCIRCLE, ITGRADIENTCIRCLE, ITLINE, IT3DLINE, ITDIAMOND, ITSQURE, ITTRIANGLE, 7};
    for (int type : types) {
        INFO("indicator " << type);
        FreshSwitch f;
        f.Add(L"Key1", L"One", 0x0000FF);
        f.Add(L"Key2", L"Two", 0x00FF00);
        f.Add(L"Key3", L"Three", 0xFF0000);
        f.s->put_Vertical(VARIANT_TRUE);
        f.s->put_IndicatorType(static_cast<IndicatorStyle>(type));
        f.s->put_IndicatorSize(10);
        f.s->put_RangeEndGap(9);
        // 100 x 120, vertical: the field runs from y = 10 to 110 at x = 76..86,
        // marks left of it at x = 66..76; step (100 - 10 - 2) / 2 = 44: the
        // boxes' rows 99..109, 55..65, 11..21.
        DibCanvas canvas = DrawToDib(f.s, 100, 120);
        const int rows[] = {99, 55, 11};
        const COLORREF colours[] = {0x0000FF, 0x00FF00, 0xFF0000};
        for (int i = 0; i < 3; ++i) {
            const RECT box{66, rows[i], 77, rows[i] + 11};
            if (type == 7) CHECK(Count(canvas, colours[i], box) == 0);
            else if (type == IT3DLINE) CHECK(Count(canvas, 0xFFFFFF, box) >= 5);
            else if (type == ITGRADIENTCIRCLE) CHECK(Count(canvas, 0xFFFFFF, box) + Count(canvas, colours[i], box) >= 1);
            else CHECK(Count(canvas, colours[i], box) >= 5);
        }
    }
    FreshSwitch f;
    f.Add(L"Key1", L"One", 0x0000FF);
    f.Add(L"K\u00E9y", L"Caf\u00E9", 0x00FF00);
    Wmf wmf;
    REQUIRE(wmf.Record(f.s, 200, 80) == S_OK);
    // Horizontal 200 x 80, marks above the field: the field's bottom is
    // 80 - 14 = 66, its top 56, the boxes' rows 50..56; names end at y = 48.
    std::vector<std::string> names;
    for (const WmfText& t : wmf.Texts()) {
        names.push_back(t.text);
        CHECK(t.y == 48);
    }
    CHECK(names == std::vector<std::string>{"One", "Caf\xE9"});
}

TEST_CASE("an empty shown list draws no marker; repeated paints of every style leak no GDI object") {
    FreshSwitch empty;
    DibCanvas canvas = DrawToDib(empty.s, 200, 80);  // not hosted: the run-time list, which is empty
    CHECK(Count(canvas, kFace, RECT{0, 0, 200, 80}) == 0);

    Fresh f;
    f.s->put_ShowSetpointValue(VARIANT_TRUE);
    f.s->put_ShowActualValue(VARIANT_TRUE);
    f.s->put_BorderStyle(CONFIGURABLE);
    DibCanvas warm = DrawToDib(f.s, 200, 80);
    const int before = CountGdiObjects();
    for (int style = 0; style < 16; ++style) {
        f.s->put_MarkerStyle(static_cast<SliderMarkerStyle>(style));
        for (int i = 0; i < 3; ++i) DrawToDib(f.s, 200, 80);
        Wmf wmf;
        wmf.Record(f.s, 200, 80);
    }
    CHECK(CountGdiObjects() == before);
}

TEST_CASE("huge tick counts paint at all, and percentage labels of an empty range draw nothing") {
    Fresh f;
    f.s->put_TickerNum(32767);
    f.s->put_SubTickerNum(32767);  // a pixel walk, not a billion ticks: the run's timeout guards it
    DibCanvas canvas = DrawToDib(f.s, 400, 80);
    CHECK(canvas.Pixel(100, 40 - 5 - 2) == 0x0000FF);  // ticks everywhere above the field, in TextColor

    Fresh empty;
    empty.s->put_MinVal(5);
    empty.s->put_MaxVal(5);
    empty.s->put_PercentageScale(VARIANT_TRUE);
    empty.s->put_ShowSetpointValue(VARIANT_TRUE);
    Wmf wmf;
    REQUIRE(wmf.Record(empty.s, 200, 60) == S_OK);
    CHECK(wmf.Texts().empty());
}

TEST_CASE("the scale's pixel step is single precision: 74 ticks over 199 pixels end on the first column") {
    // 199 / 73 x 73 comes to 199 in single precision and to 198.99... in
    // double, which would put the last tick one column in.
    Fresh f;
    f.s->put_SubTickerNum(0);
    f.s->put_TickerNum(74);
    DibCanvas c = DrawToDib(f.s, 200, 60);
    // V spans rows 25..35; the lower ticks run 8 rows down from row 35.
    const COLORREF ground = c.Pixel(2, 40);
    for (int y = 36; y < 43; ++y) {
        INFO(y);
        CHECK(c.Pixel(0, y) != ground);
        CHECK(c.Pixel(1, y) == ground);
    }
}

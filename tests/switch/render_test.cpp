// What the switch draws, read back: pixels of IViewObject::Draw into a
// 32-bit DIB for every shape and its states, and the records of a Windows
// metafile.
#include "switch_test_util.h"
#include "canvas.h"
#include <limits>

using namespace switchtest;

namespace {

struct Sw {
    Hosted h;
    IQEV_Switch* operator->() const { return h.sw.p; }
    operator IUnknown*() const { return h.sw.p; }
    void Text(HRESULT (STDMETHODCALLTYPE IQEV_Switch::*put)(BSTR), const wchar_t* s) {
        BSTR b = SysAllocString(s);
        (h.sw.p->*put)(b);
        SysFreeString(b);
    }
};

const COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGreen = RGB(0, 255, 0);
const COLORREF kLight = RGB(250, 240, 0), kDark = RGB(0, 40, 130), kFore = RGB(200, 210, 220);

int FontPoints(IQEV_Switch* s) {
    Ptr<IFontDisp> fd;
    if (FAILED(s->get_Font(fd.out())) || !fd) return 14;
    Ptr<IFont> f;
    CY cy{};
    if (SUCCEEDED(fd->QueryInterface(IID_IFont, f.pv()))) f->get_Size(&cy);
    return static_cast<int>(cy.int64 / 10000);
}

// The text alignment in force for a record: the last META_SETTEXTALIGN before it.
int AlignmentBefore(const Wmf& wmf, size_t index) {
    for (size_t i = index; i-- > 0;)
        if (wmf.Records()[i].function == META_SETTEXTALIGN) return wmf.Records()[i].params.at(0);
    return -1;
}

const WmfText* FindText(const std::vector<WmfText>& texts, const std::string& s) {
    for (const auto& t : texts)
        if (t.text == s) return &t;
    return nullptr;
}

}  // namespace

TEST_CASE("border bevels take their colours from the light direction") {
    Sw s;
    s->put_BorderLen(8);
    s->put_BorderLightColor(kLight);
    s->put_BorderDarkColor(kDark);
    // Flat bevels, top, left, bottom, right, sampled 4 px in from the edge.
    struct Row {
        int light;
        COLORREF top, left, bottom, right;
    } rows[] = {
        {1, kDark, kDark, kLight, kLight},
        {2, kLight, kDark, kDark, kLight},
        {3, kDark, kLight, kLight, kDark},
        {4, kLight, kLight, kDark, kDark},
    };
    for (int shape : {0, 1, 4, 5, 6}) {
        s->put_SwitchType(static_cast<SwitchShape>(shape));
        for (const Row& r : rows) {
            INFO("shape " << shape << " light " << r.light);
            s->put_Light3D(static_cast<LightDirection>(r.light));
            DibCanvas c = DrawToDib(s, 100, 80);
            CHECK(c.Pixel(50, 4) == r.top);
            CHECK(c.Pixel(4, 40) == r.left);
            CHECK(c.Pixel(50, 75) == r.bottom);
            CHECK(c.Pixel(95, 40) == r.right);
            CHECK(c.Pixel(50, 0) == GetSysColor(COLOR_WINDOW));  // the first step stays unpainted
        }
    }
    // The middle light shades every bevel from light to dark; an unknown one draws none.
    s->put_SwitchType(RECTANGLE);
    s->put_Light3D(MIDDLE);
    DibCanvas shaded = DrawToDib(s, 100, 80);
    CHECK(shaded.Pixel(50, 1) != shaded.Pixel(50, 7));
    CHECK(shaded.Pixel(50, 1) != kLight);
    s->put_Light3D(static_cast<LightDirection>(5));
    DibCanvas none = DrawToDib(s, 100, 80);
    CHECK(none.Pixel(50, 4) == GetSysColor(COLOR_WINDOW));
}

TEST_CASE("button shapes: side colours swap with Value, lamp and glint, pressed outline") {
    Sw s;
    s->put_SideLightColor(kLight);
    s->put_SideDarkColor(kDark);
    s->put_ForeColor(kFore);
    s->put_Light3D(LEFT_TOP);  // flat bevels: top and left side colour 2, bottom and right side colour 1
    // 100 x 100, BH 6: inner (1, 1, 99, 99); lamp (81, 11, 91, 21) with its glint round (86, 16).
    for (bool on : {true, false}) {
        INFO("on " << on);
        s->put_Value(on ? VARIANT_TRUE : VARIANT_FALSE);
        s->put_Status(on ? VARIANT_TRUE : VARIANT_FALSE);
        DibCanvas c = DrawToDib(s, 100, 100);
        CHECK(c.Pixel(50, 4) == (on ? kDark : kLight));
        CHECK(c.Pixel(50, 95) == (on ? kLight : kDark));
        CHECK(c.Pixel(50, 50) == kFore);
        CHECK(c.Pixel(86, 16) == (on ? RGB(255, 255, 255) : RGB(0xBE, 0xBE, 0xBE)));
        CHECK(c.Pixel(82, 16) == (on ? kRed : RGB(170, 0, 0)));  // StatusColor, else two thirds of it
        CHECK(c.Pixel(0, 50) == GetSysColor(COLOR_WINDOW));
        CHECK(c.Pixel(1, 50) == RGB(0, 0, 0));  // the outline
        CHECK(c.Pixel(2, 50) != RGB(0, 0, 0));
    }
    s->put_bCircleStatus(VARIANT_FALSE);
    DibCanvas rect = DrawToDib(s, 100, 100);
    CHECK(rect.Pixel(86, 16) == RGB(170, 0, 0));  // no glint on a rectangular lamp
    s->put_bShowStatus(VARIANT_FALSE);
    CHECK(DrawToDib(s, 100, 100).Pixel(86, 16) == kFore);
    s->put_bShowStatus(VARIANT_TRUE);
    s->put_SwitchType(CIRCLE);
    CHECK(DrawToDib(s, 100, 100).Pixel(86, 16) != RGB(170, 0, 0));  // the circle has no lamp

    // While the left button is down the outline is 3 px wide.
    s->put_SwitchType(RECTANGLE);
    HWND w = s.h.Activate(RECT{0, 0, 100, 100});
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    DibCanvas pressed = DrawToDib(s, 100, 100);
    CHECK(pressed.Pixel(2, 50) == RGB(0, 0, 0));
    SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(50, 50));
    CHECK(DrawToDib(s, 100, 100).Pixel(2, 50) != RGB(0, 0, 0));
}

TEST_CASE("toggles: the rocker's face moves to the half that is on, the lever stands up or hangs down") {
    Sw s;
    s->put_SideLightColor(kLight);
    s->put_SideDarkColor(kDark);
    s->put_ForeColor(kFore);
    s->put_EdgeColor(kFore);
    s->put_bShowStatus(VARIANT_FALSE);
    s->put_Light3D(LEFT_TOP);  // toggles: top and left L, bottom and right D
    // 100 x 100, BH 6, TH 6: on, the face is (7, 1, 93, 87) and the bottom bevel 12 rows deep.
    for (int shape : {WEDGE_TOGGLE, GROOVE_TOGGLE}) {
        s->put_SwitchType(static_cast<SwitchShape>(shape));
        s->put_bForeGradientToggle(VARIANT_FALSE);
        for (bool vertical : {true, false}) {
            s->put_bVerticalToggle(vertical ? VARIANT_TRUE : VARIANT_FALSE);
            INFO("shape " << shape << " vertical " << vertical);
            s->put_Value(VARIANT_TRUE);
            DibCanvas on = DrawToDib(s, 100, 100);
            s->put_Value(VARIANT_FALSE);
            DibCanvas off = DrawToDib(s, 100, 100);
            // Near the on edge: face when on, bevel when off; near the other edge the reverse.
            const POINT nearOn = vertical ? POINT{50, 4} : POINT{4, 50};
            const POINT nearOff = vertical ? POINT{50, 95} : POINT{95, 50};
            CHECK(off.Pixel(nearOn.x, nearOn.y) == kLight);
            CHECK(on.Pixel(nearOff.x, nearOff.y) == kDark);
            if (shape == WEDGE_TOGGLE) {
                CHECK(on.Pixel(nearOn.x, nearOn.y) == kFore);
                CHECK(off.Pixel(nearOff.x, nearOff.y) == kFore);
            } else {
                // Two-tone face: the lower (right) half light when on, the upper (left) half dark when off.
                const COLORREF light = RGB((2 * 200 + 256) / 3, (2 * 210 + 256) / 3, (2 * 220 + 256) / 3);
                const COLORREF dark = RGB(200 * 5 / 6, 210 * 5 / 6, 220 * 5 / 6);
                CHECK(on.Pixel(vertical ? 50 : 80, vertical ? 80 : 50) == light);
                CHECK(on.Pixel(vertical ? 50 : 20, vertical ? 20 : 50) == kFore);
                CHECK(off.Pixel(vertical ? 50 : 20, vertical ? 20 : 50) == dark);
            }
        }
    }
    // Toggle height above the button height pushes the resting side to 0, not beyond.
    s->put_SwitchType(WEDGE_TOGGLE);
    s->put_bVerticalToggle(VARIANT_TRUE);
    s->put_ToggleHeight(20);
    s->put_Value(VARIANT_TRUE);
    CHECK(DrawToDib(s, 100, 100).Pixel(50, 2) == kFore);

    // The lever (inner 98 high: slot half-height 18 round y 50): up when on, down when off,
    // whatever the toggle orientation.
    s->put_SwitchType(SWITCH_TOGGLE);
    s->put_BkColor(kGreen);
    for (VARIANT_BOOL vertical : {VARIANT_TRUE, VARIANT_FALSE}) {
        s->put_bVerticalToggle(vertical);
        s->put_Value(VARIANT_TRUE);
        DibCanvas up = DrawToDib(s, 100, 100);
        s->put_Value(VARIANT_FALSE);
        DibCanvas down = DrawToDib(s, 100, 100);
        CHECK(up.Pixel(50, 28) == kFore);
        CHECK(down.Pixel(50, 28) == kGreen);
        CHECK(up.Pixel(50, 75) == kGreen);
        CHECK(down.Pixel(50, 75) == kFore);
    }
}

TEST_CASE("the picture shape: the picture of the state in each image style, clipped to the inner rectangle") {
    Sw s;
    s->put_SwitchType(USER_IMAGE);
    s->put_BorderLen(10);  // inner (11, 11, 89, 89): 78 x 78
    s->put_BkColor(kGreen);
    const RECT inner{11, 11, 89, 89};
    const int innerArea = 78 * 78;
    struct Row {
        int style;
        int size;     // of the square picture
        int redArea;  // red pixels expected
    } rows[] = {
        {IPS_ORIGINALSIZE, 32, 32 * 32}, {IPS_ORIGINALSIZE, 200, innerArea}, {IPS_TEXTURE, 32, innerArea},
        {IPS_TEXTURE, 50, innerArea},    {IPS_AUTOSIZE, 8, innerArea},      {7, 32, innerArea},
    };
    IPictureDisp* off = PictureOf(BmpFile(16, 16, kBlue));
    s->put_OffPicture(off);
    off->Release();
    for (const Row& r : rows) {
        INFO("style " << r.style << " size " << r.size);
        IPictureDisp* on = PictureOf(BmpFile(r.size, r.size, kRed));
        s->put_OnPicture(on);
        on->Release();
        s->put_ImageStyle(static_cast<ImagePaintStyle>(r.style));
        s->put_Value(VARIANT_TRUE);
        DibCanvas c = DrawToDib(s, 100, 100);
        CHECK(c.Count(kRed) == r.redArea);
        CHECK(c.Count(kRed, &inner) == r.redArea);
        if (r.style == IPS_ORIGINALSIZE && r.size == 32) CHECK(c.Pixel(34, 34) == kRed);
        s->put_Value(VARIANT_FALSE);
        CHECK(DrawToDib(s, 100, 100).Count(kRed) == 0);
    }
    // A picture with one blue corner tiles from the inner rectangle's corner.
    std::vector<BYTE> file = BmpFile(5, 3, kRed);
    BYTE* corner = &file[54 + 2 * 16];  // BMP rows bottom-up, 16 bytes each
    corner[0] = 255, corner[1] = corner[2] = 0;
    IPictureDisp* tiles = PictureOf(file);
    s->put_OnPicture(tiles);
    tiles->Release();
    s->put_ImageStyle(IPS_TEXTURE);
    s->put_Value(VARIANT_TRUE);
    DibCanvas tiled = DrawToDib(s, 100, 100);
    for (POINT blue : {POINT{11, 11}, POINT{16, 14}, POINT{86, 86}}) CHECK(tiled.Pixel(blue.x, blue.y) == kBlue);
    CHECK(tiled.Count(kBlue, &inner) == 16 * 26);
    CHECK(tiled.Pixel(10, 50) != kRed);  // nothing beyond the inner rectangle
    // Its 416 tiles are too many to record a render each: a metafile records
    // them composed, and plays back to the same pixels.
    Wmf wmf;
    REQUIRE(wmf.Record(s, 100, 100) == S_OK);
    CHECK(wmf.Count(META_STRETCHDIB) + wmf.Count(META_DIBSTRETCHBLT) + wmf.Count(META_DIBBITBLT) < 8);
    DibCanvas played(100, 100, kUnpainted);
    REQUIRE(wmf.Play(played.dc()));
    int differ = 0;
    for (int y = inner.top; y < inner.bottom; ++y)
        for (int x = inner.left; x < inner.right; ++x) differ += played.Pixel(x, y) != tiled.Pixel(x, y);
    CHECK(differ == 0);

    // Without a picture for the state only the background is left.
    s->put_Value(VARIANT_FALSE);
    s->put_OffPicture(nullptr);
    DibCanvas empty = DrawToDib(s, 100, 100);
    CHECK(empty.All(kGreen, inner));
}

TEST_CASE("every shape paints all of its bounds, the same away from (0,0), whatever the gradient rate") {
    Sw s;
    s.Text(&IQEV_Switch::put_Text, L"Go");
    s.Text(&IQEV_Switch::put_OnText, L"ON");
    s.Text(&IQEV_Switch::put_OffText, L"OFF");
    s->put_BorderLen(3);
    s->put_BkColor(0xCCCCCCCC);  // no valid OLE colour: drawn as its low 24 bits
    for (int shape = 0; shape <= 7; ++shape) {
        s->put_SwitchType(static_cast<SwitchShape>(shape));
        for (VARIANT_BOOL v : {VARIANT_TRUE, VARIANT_FALSE}) {
            INFO("shape " << shape << " value " << v);
            s->put_Value(v);
            DibCanvas atOrigin = DrawToDib(s, 120, 90);
            CHECK(atOrigin.Count(kUnpainted) == 0);
            CHECK(atOrigin.Pixel(0, 0) == 0xCCCCCC);
            DibCanvas moved(300, 200, kUnpainted);
            REQUIRE(DrawControl(s, moved.dc(), RECT{70, 40, 190, 130}) == S_OK);
            int differences = 0;
            for (int y = 0; y < 90; ++y)
                for (int x = 0; x < 120; ++x) differences += atOrigin.Pixel(x, y) != moved.Pixel(x + 70, y + 40);
            CHECK(differences == 0);
            CHECK(moved.Count(kUnpainted) == 300 * 200 - 120 * 90);
        }
    }
    // A gradient rate that is no number or out of range still paints whole shapes.
    for (float rate : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -1e30f, 7.5f})
        for (int shape : {RECTANGLE, ROUND_RECTANGLE, GROOVE_TOGGLE, SWITCH_TOGGLE}) {
            INFO("rate " << rate << " shape " << shape);
            s->put_GradientRate(rate);
            s->put_SwitchType(static_cast<SwitchShape>(shape));
            CHECK(DrawToDib(s, 100, 80).Count(kUnpainted) == 0);
        }
}

TEST_CASE("repeated paints of every shape leave no GDI object behind") {
    Sw s;
    s.Text(&IQEV_Switch::put_Text, L"Go");
    IPictureDisp* pic = PictureOf(BmpFile(8, 8, kRed));
    s->put_OnPicture(pic);
    pic->Release();
    DrawToDib(s, 100, 100);
    {
        Wmf warm;
        warm.Record(s, 100, 100);
    }
    const int before = CountGdiObjects();
    for (int round = 0; round < 3; ++round)
        for (int shape = 0; shape <= 6; ++shape) {
            s->put_SwitchType(static_cast<SwitchShape>(shape));
            s->put_Light3D(static_cast<LightDirection>(round + shape % 3));
            s->put_BorderLen(static_cast<short>(round * 2));
            s->put_bCircleStatus(round == 1 ? VARIANT_FALSE : VARIANT_TRUE);
            DrawToDib(s, 100, 100);
            Wmf wmf;
            wmf.Record(s, 100, 100);
        }
    CHECK(CountGdiObjects() == before);
}

TEST_CASE("metafile: text anchors and alignments, the DC's state kept, nothing outside the bounds") {
    Sw s;
    s.Text(&IQEV_Switch::put_Text, L"Cap");
    s.Text(&IQEV_Switch::put_OnText, L"ON");
    s.Text(&IQEV_Switch::put_OffText, L"OFF");
    s->put_b3DText(VARIANT_TRUE);
    s->put_SwitchType(WEDGE_TOGGLE);
    const int pts = FontPoints(s.h.sw);
    struct Expect {
        const char* text;
        bool white;
        UINT align;
        POINT at;
    };
    for (bool vertical : {true, false}) {
        INFO("vertical " << vertical);
        s->put_bVerticalToggle(vertical ? VARIANT_TRUE : VARIANT_FALSE);
        s->put_Value(VARIANT_TRUE);
        Wmf wmf;
        REQUIRE(wmf.Record(s, 120, 100) == S_OK);
        // On, BH 6, TH 6: the face is (7, 1, 113, 87) vertical, (1, 7, 107, 93) horizontal.
        const LONG l = vertical ? 7 : 1, t = vertical ? 1 : 7, r = vertical ? 113 : 107, b = vertical ? 87 : 93;
        std::vector<Expect> expected;
        if (vertical) {
            expected = {{"ON", true, TA_CENTER | TA_TOP, {(l + r + 2) / 2, t + 3}},
                        {"OFF", true, TA_CENTER | TA_BOTTOM, {(l + r + 2) / 2, b - 2}},
                        {"ON", false, TA_CENTER | TA_TOP, {(l + r) / 2, t + 2}},
                        {"OFF", false, TA_CENTER | TA_BOTTOM, {(l + r) / 2, b - 3}}};
        } else {
            expected = {{"ON", true, TA_LEFT | TA_BASELINE, {l + 2, (t + b + 2) / 2 + pts / 2}},
                        {"OFF", true, TA_RIGHT | TA_BASELINE, {r - 3, (t + b + 2) / 2 + pts / 2}},
                        {"ON", false, TA_LEFT | TA_BASELINE, {l + 2, (t + b) / 2 + pts / 2}},
                        {"OFF", false, TA_RIGHT | TA_BASELINE, {r - 3, (t + b) / 2 + pts / 2}}};
        }
        expected.push_back({"Cap", true, TA_CENTER | TA_BASELINE, {(l + r + 2) / 2, (t + b + 3) / 2 + pts / 2}});
        expected.push_back({"Cap", false, TA_CENTER | TA_BASELINE, {(l + r) / 2, (t + b) / 2 + pts / 2}});
        std::vector<WmfText> texts = wmf.Texts();
        REQUIRE(texts.size() == expected.size());
        for (size_t i = 0; i < texts.size(); ++i) {
            INFO("text " << i);
            CHECK(texts[i].text == expected[i].text);
            CHECK(texts[i].x == expected[i].at.x);
            CHECK(texts[i].y == expected[i].at.y);
            CHECK(AlignmentBefore(wmf, texts[i].index) == (int)expected[i].align);
        }
        for (const WmfRecord& rec : wmf.Records())
            if (rec.function == META_SETTEXTALIGN) CHECK_FALSE((rec.params.at(0) & TA_UPDATECP));
        // The paint is bracketed by a saved state and clipped to its bounds.
        CHECK(wmf.Count(META_SAVEDC) >= 1);
        CHECK(wmf.Count(META_RESTOREDC) == wmf.Count(META_SAVEDC));
        CHECK(wmf.Records().back().function == META_RESTOREDC);
        CHECK(wmf.First(META_INTERSECTCLIPRECT) != nullptr);
    }
    // Drawing that would reach beyond the bounds (a negative border, long
    // texts, lamp offsets) stays inside them when the metafile is played.
    s->put_BorderLen(-30);
    s->put_StatusXOffset(200);
    s.Text(&IQEV_Switch::put_Text, L"A caption far wider than the switch itself");
    for (int shape = 0; shape <= 6; ++shape) {
        INFO("shape " << shape);
        s->put_SwitchType(static_cast<SwitchShape>(shape));
        Wmf wmf;
        REQUIRE(wmf.Record(s, 60, 40) == S_OK);
        DibCanvas played(120, 90, kUnpainted);
        REQUIRE(wmf.Play(played.dc()));
        CHECK(played.Count(kUnpainted) == 120 * 90 - 60 * 40);
    }
}

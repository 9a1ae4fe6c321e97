// What the smart button draws, read back from real DIBs and metafiles: the
// outline of every shape against the same platform calls, faces, borders,
// icons, texts and their anchors, pictures, the worked numbers of the
// drawing rules, bounds away from the origin, and no GDI objects leaked.
#include "button_util.h"

#include "common/color.h"

using namespace buttontest;

namespace {

const COLORREF kBack = RGB(1, 2, 3), kFace = RGB(200, 100, 50);

// A button on a site that answers the ambient back colour.
struct Drawn : Hosted {
    Drawn() {
        site->ambients().answerBackColor = true;
        site->ambients().backColor = kBack;
        b->put_FaceColor(kFace);
        BSTR none = SysAllocString(L"");
        b->put_Caption(none);
        SysFreeString(none);
    }
    // Only the face: a configurable border of no width.
    void FaceOnly() {
        b->put_BorderType(BBS_CONFIGURABLE);
        b->put_OuterBorderLen(0);
        b->put_InnerBorderLen(0);
    }
    void Caption(const wchar_t* text) {
        BSTR t = SysAllocString(text);
        b->put_Caption(t);
        SysFreeString(t);
    }
    DibCanvas Draw(int w, int h) { return DrawToDib(b, w, h); }
};

HRGN Polygon(std::initializer_list<POINT> pts) {
    std::vector<POINT> p(pts);
    return CreatePolygonRgn(p.data(), (int)p.size(), WINDING);
}

HRGN Half(const RECT& ellipse, const RECT& box) {
    HRGN e = CreateEllipticRgnIndirect(&ellipse), r = CreateRectRgnIndirect(&box), out = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(out, e, r, RGN_AND);
    DeleteObject(e);
    DeleteObject(r);
    return out;
}

// The pixels of colour c are exactly those of the region.
void SameShape(const DibCanvas& c, HRGN expected, COLORREF colour) {
    int wrong = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) wrong += (c.Pixel(x, y) == colour) != (PtInRegion(expected, x, y) != 0);
    CHECK(wrong == 0);
}

int AlignmentBefore(const Wmf& wmf, size_t index) {
    for (size_t i = index; i-- > 0;) {
        const WmfRecord& r = wmf.Records()[i];
        if (r.function == META_SETTEXTALIGN) return r.params.empty() ? -1 : r.params[0];
    }
    return -1;
}

}  // namespace

TEST_CASE("every shape fills exactly the outline the platform's region calls give") {
    struct Shape {
        int shape, w, h;
        HRGN expected;
    };
    const Shape shapes[] = {
        {BSS_RECT, 100, 60, CreateRectRgn(0, 0, 100, 60)},
        {BSS_ROUND_RECT, 100, 60, CreateRoundRectRgn(0, 0, 100, 60, 8, 8)},
        {BSS_DIAMOND, 100, 60, Polygon({{50, 0}, {0, 30}, {50, 60}, {100, 30}})},
        {BSS_CIRCLE, 100, 60, CreateEllipticRgn(0, 0, 100, 60)},
        {BSS_LEFT_TRIANGLE, 100, 60, Polygon({{100, 0}, {0, 30}, {100, 60}})},
        {BSS_RIGHT_TRIANGLE, 100, 60, Polygon({{0, 0}, {100, 30}, {0, 60}})},
        {BSS_TOP_TRIANGLE, 100, 60, Polygon({{50, 0}, {100, 60}, {0, 60}})},
        {BSS_BOTTOM_TRIANGLE, 100, 60, Polygon({{50, 60}, {100, 0}, {0, 0}})},
        {BSS_LEFT_ARROW, 100, 40, Polygon({{0, 20}, {50, 40}, {50, 28}, {100, 28}, {100, 12}, {50, 12}, {50, 0}})},
        {BSS_RIGHT_ARROW, 100, 60, Polygon({{100, 30}, {50, 60}, {50, 42}, {0, 42}, {0, 18}, {50, 18}, {50, 0}})},
        {BSS_TOP_ARROW, 100, 60, Polygon({{50, 0}, {0, 30}, {30, 30}, {30, 60}, {70, 60}, {70, 30}, {100, 30}})},
        {BSS_BOTTOM_ARROW, 100, 60, Polygon({{50, 60}, {0, 30}, {30, 30}, {30, 0}, {70, 0}, {70, 30}, {100, 30}})},
        {BSS_LEFT_HALF_CIRCLE, 100, 60, Half({0, 0, 200, 60}, {0, 0, 100, 60})},
        {BSS_RIGHT_HALF_CIRCLE, 100, 60, Half({-100, 0, 100, 60}, {0, 0, 100, 60})},
        {BSS_TOP_HALF_CIRCLE, 60, 60, Half({0, 0, 60, 120}, {0, 0, 60, 60})},  // flat bottom at y = 60
        {BSS_BOTTOM_HALF_CIRCLE, 100, 60, Half({0, -60, 100, 60}, {0, 0, 100, 60})},
        // RoundRadius 0: a plain rectangle, as short on the right and bottom as the platform makes it
        {BSS_ROUND_RECT, 40, 30, CreateRoundRectRgn(0, 0, 40, 30, 0, 0)},
    };
    for (const Shape& s : shapes) {
        INFO("shape " << s.shape << " " << s.w << " x " << s.h);
        Drawn d;
        d.FaceOnly();
        d.b->put_ShapeType((ButtonShapeStyle)s.shape);
        if (s.w == 40) d.b->put_RoundRadius(0);
        SameShape(d.Draw(s.w, s.h), s.expected, kFace);
        DeleteObject(s.expected);
    }
}

TEST_CASE("the character shape: the caption's glyphs, on screen, in a metafile and as the window's shape") {
    Drawn d;
    d.FaceOnly();
    d.b->put_ShapeType(BSS_CHARACTER);
    d.Caption(L"A");
    DibCanvas c = d.Draw(100, 100);
    CHECK(c.Count(kFace) > 500);
    CHECK(c.Pixel(0, 99) == kBack);
    CHECK(c.Pixel(99, 0) == kBack);
    Wmf wmf;
    REQUIRE(wmf.Record(d.b, 100, 100) == S_OK);
    CHECK(wmf.Count(META_CREATEREGION) >= 1);
    CHECK(wmf.Texts().empty());  // the caption is the shape, not a text
    HWND w = d.Activate(RECT{0, 0, 100, 100});
    gdi::Region shape = gdi::EmptyRegion();
    REQUIRE(GetWindowRgn(w, shape) != ERROR);
    CHECK_FALSE(PtInRegion(shape, 1, 1));
    // A blank caption has no outline: no shape, no window region.
    d.Caption(L"  ");
    InvalidateRect(w, nullptr, FALSE);
    UpdateWindow(w);
    CHECK(GetWindowRgn(w, shape) == ERROR);
}

// The outline of a whole caption within a w x h box, as the platform's path
// calls give it: Arial bold as tall as the box, from its top left corner.
HRGN WholeCaptionOutline(const std::string& caption, int w, int h) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontA(h, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, 0, 0, 0, 0, VARIABLE_PITCH | FF_SWISS, "Arial");
    HGDIOBJ old = SelectObject(dc, font);
    BeginPath(dc);
    TextOutA(dc, 0, 0, caption.data(), (int)caption.size());
    EndPath(dc);
    HRGN outline = PathToRegion(dc), box = CreateRectRgn(0, 0, w, h);
    CombineRgn(outline, outline, box, RGN_AND);
    DeleteObject(box);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return outline;
}

TEST_CASE("a character shape whose caption runs past the right edge: within the bounds, the outline of all of it") {
    struct Row {
        std::string caption;
        int w, h;
    };
    const Row rows[] = {
        {std::string(60, 'W'), 47, 238},
        {"Wolf jaw fly Tiger yak VAT / j_j", 90, 30},
    };
    for (const Row& r : rows) {
        INFO(r.caption << " in " << r.w << " x " << r.h);
        Drawn d;
        d.FaceOnly();
        d.b->put_ShapeType(BSS_CHARACTER);
        d.Caption(std::wstring(r.caption.begin(), r.caption.end()).c_str());
        gdi::Region expected(WholeCaptionOutline(r.caption, r.w, r.h));
        SameShape(d.Draw(r.w, r.h), expected, kFace);
        // The window's shape: the same within the window.
        HWND w = d.Activate(RECT{0, 0, r.w, r.h});
        gdi::Region shape = gdi::EmptyRegion();
        REQUIRE(GetWindowRgn(w, shape) != ERROR);
        gdi::Region box(CreateRectRgn(0, 0, r.w, r.h));
        CombineRgn(shape, shape, box, RGN_AND);
        CHECK(CombineRgn(shape, shape, expected, RGN_XOR) == NULLREGION);
    }
}

TEST_CASE("the default button: face colour, two-pixel 3D edge, pressed face and sunken edge") {
    Drawn d;
    d.b->put_FaceColor(GetSysColor(COLOR_BTNFACE));
    DibCanvas c = d.Draw(100, 40);
    CHECK(c.Pixel(10, 20) == GetSysColor(COLOR_BTNFACE));
    CHECK(c.Pixel(0, 0) == GetSysColor(COLOR_3DLIGHT));
    CHECK(c.Pixel(1, 1) == GetSysColor(COLOR_BTNHIGHLIGHT));
    CHECK(c.Pixel(99, 39) == GetSysColor(COLOR_3DDKSHADOW));
    CHECK(c.Pixel(98, 38) == GetSysColor(COLOR_BTNSHADOW));

    // Pressed (and so hovering): the capture colour, each channel 128 + c / 2.
    d.b->put_FaceColor(RGB(255, 0, 0));
    d.b->put_CaptureColor(RGB(255, 0, 0));
    HWND w = d.Activate(RECT{0, 0, 100, 40});
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 20));
    c = d.Draw(100, 40);
    CHECK(c.Pixel(10, 20) == RGB(255, 128, 128));
    CHECK(c.Pixel(0, 0) == GetSysColor(COLOR_BTNSHADOW));
    CHECK(c.Pixel(1, 1) == GetSysColor(COLOR_3DDKSHADOW));
    SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(50, 20));
}

TEST_CASE("shaded faces: the highlight box of the gradient, the concentric ellipses, the strip of arrows") {
    Drawn d;
    d.b->put_FaceColor(RGB(100, 100, 100));
    d.b->put_GradientColor(RGB(255, 255, 255));
    d.b->put_FaceType(BFS_GRADIENT);
    d.b->put_BorderType(BBS_CONFIGURABLE);  // outer 2, inner 1: the face is inset by 3
    const COLORREF G = RGB(177, 177, 177);  // trunc(0.5 * 255 + 0.5 * 100)
    DibCanvas c = d.Draw(100, 50);
    CHECK(c.Pixel(21, 11) == G);  // the box (21, 11)-(78, 38): brightest at its upper left
    CHECK(GetRValue(c.Pixel(60, 30)) < 177);
    CHECK(GetRValue(c.Pixel(60, 30)) > 100);

    // A rate far outside 0..1 clamps the highlight instead of wrapping it.
    d.b->put_GradientRate(3.0f);
    c = d.Draw(100, 50);
    CHECK(c.Pixel(21, 11) == RGB(255, 255, 255));
    d.b->put_GradientRate(0.5f);

    // An arrow has no configurable border: inside its outline but outside
    // the inset face the ambient colour shows.
    d.b->put_ShapeType(BSS_LEFT_ARROW);
    c = d.Draw(100, 40);
    CHECK(c.Pixel(99, 20) == kBack);
    CHECK(c.Pixel(90, 20) != kBack);

    // Concentric shaded ellipses cover the whole shape, light at the upper left.
    d.b->put_ShapeType(BSS_CIRCLE);
    d.b->put_FaceType(BFS_GRADIENT_2);
    d.b->put_BorderType(BBS_NORMAL);
    c = d.Draw(80, 80);
    gdi::Region disc(CreateEllipticRgn(3, 3, 77, 77));
    int uncovered = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x) uncovered += PtInRegion(disc, x, y) && c.Pixel(x, y) == kBack;
    CHECK(uncovered == 0);
    CHECK(GetRValue(c.Pixel(20, 20)) > GetRValue(c.Pixel(60, 60)));
}

TEST_CASE("configurable borders: light and dark sides per shape, swapped by DynamicBorder while pressed") {
    struct Probe {
        int shape;
        POINT light, dark;  // a pixel of the outer band's light and dark part
    };
    const Probe probes[] = {
        {BSS_RECT, {1, 20}, {98, 20}},          {BSS_ROUND_RECT, {1, 20}, {98, 20}},
        {BSS_DIAMOND, {12, 24}, {88, 25}},      {BSS_LEFT_TRIANGLE, {50, 11}, {98, 20}},
        {BSS_RIGHT_TRIANGLE, {1, 20}, {50, 11}}, {BSS_TOP_TRIANGLE, {26, 20}, {50, 38}},
        {BSS_BOTTOM_TRIANGLE, {50, 1}, {74, 20}}, {BSS_CIRCLE, {2, 20}, {97, 20}},
    };
    const COLORREF light = RGB(250, 250, 0), dark = RGB(0, 0, 120);
    for (const Probe& p : probes) {
        INFO("shape " << p.shape);
        Drawn d;
        d.b->put_ShapeType((ButtonShapeStyle)p.shape);
        d.b->put_BorderType(BBS_CONFIGURABLE);
        d.b->put_OuterBorderLen(3);
        d.b->put_BorderLightColor(light);
        d.b->put_BorderDarkColor(dark);
        DibCanvas c = d.Draw(100, 40);
        CHECK(c.Pixel(p.light.x, p.light.y) == light);
        CHECK(c.Pixel(p.dark.x, p.dark.y) == dark);
        d.b->put_DynamicBorder(VARIANT_TRUE);
        HWND w = d.Activate(RECT{0, 0, 100, 40});
        SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 20));
        c = d.Draw(100, 40);
        CHECK(c.Pixel(p.light.x, p.light.y) == dark);
        CHECK(c.Pixel(p.dark.x, p.dark.y) == light);
        SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(50, 20));
    }
    // The gradient form shades the light parts from light toward dark.
    Drawn d;
    d.b->put_BorderType(BBS_GRADIENT_CONFIGURABLE);
    d.b->put_OuterBorderLen(3);
    d.b->put_BorderLightColor(light);
    d.b->put_BorderDarkColor(dark);
    DibCanvas c = d.Draw(100, 40);
    CHECK(c.Pixel(0, 0) == light);
    CHECK(c.Pixel(60, 1) != light);
    CHECK(c.Pixel(98, 20) == dark);
}

TEST_CASE("icons: each outline at its centre, the icon beside the caption, the picture icon and faces") {
    const COLORREF icon = RGB(0, 200, 0);
    struct Icon {
        int type;
        int dx, dy;  // a pixel of the icon relative to its centre (50, 20)
    };
    const Icon icons[] = {{1, 2, 0},  {2, 5, 0},  {3, -8, 0}, {4, -2, 0}, {5, -5, 0}, {6, 8, 0},
                          {7, 0, 2},  {8, 0, -2}, {9, -4, 0}, {10, 0, 0}, {11, 0, 0}};
    for (const Icon& i : icons) {
        INFO("icon " << i.type);
        Drawn d;
        d.b->put_IconType((ButtonIconStyle)i.type);
        d.b->put_IconColor(icon);
        d.b->put_IconBorderType(BIBS_RAISED);
        DibCanvas c = d.Draw(100, 40);
        CHECK(c.Pixel(50 + i.dx, 20 + i.dy) == icon);
    }
    // Beside "Go": the icon's rectangle ends at x = 60, its centre at 60 - 10 - 3.
    Drawn d;
    d.Caption(L"Go");
    d.b->put_IconType(BIS_RIGHT_TRIANGLE);
    d.b->put_IconPosType(BIPS_LEFT);
    d.b->put_IconColor(icon);
    DibCanvas c = d.Draw(120, 40);
    CHECK(c.Pixel(45, 20) == icon);
    CHECK(c.Pixel(54, 20) != icon);
    Wmf wmf;
    REQUIRE(wmf.Record(d.b, 120, 40) == S_OK);
    const auto texts = wmf.Texts();
    REQUIRE(texts.size() == 1);
    CHECK(texts[0].x == 60);
    CHECK((AlignmentBefore(wmf, texts[0].index) & (TA_CENTER | TA_RIGHT)) == TA_LEFT);

    // The picture as icon (original size) and as face (stretched; tiled below).
    Ptr<IPictureDisp> red;
    red.p = PictureOf(BmpFile(8, 6, RGB(255, 0, 0)));
    d.Caption(L"");
    d.b->put_IconType(BIS_ICON_RES);
    REQUIRE(d.b->putref_Picture(red) == S_OK);
    c = d.Draw(100, 40);
    CHECK(c.Pixel(50, 20) == RGB(255, 0, 0));
    CHECK(c.Pixel(20, 20) == kFace);
    d.b->put_ImageStyle(IPS_AUTOSIZE);
    c = d.Draw(100, 40);
    CHECK(c.Pixel(20, 20) == RGB(255, 0, 0));
}

TEST_CASE("a tiled picture face has the pixels of one render per tile, cut by the shape") {
    std::vector<BYTE> file = BmpFile(7, 5, RGB(0, 0, 0));
    for (size_t i = 54; i < file.size(); ++i) file[i] = (BYTE)(i * 37);  // a pattern, not one colour
    Ptr<IPictureDisp> pic;
    pic.p = PictureOf(file);
    Drawn d;
    d.b->put_ShapeType(BSS_CIRCLE);
    d.b->put_IconType(BIS_ICON_RES);
    d.b->put_ImageStyle(IPS_TEXTURE);
    d.FaceOnly();
    REQUIRE(d.b->putref_Picture(pic) == S_OK);
    DibCanvas drawn = d.Draw(60, 40);

    DibCanvas expected(60, 40, kBack);
    Ptr<IPicture> p;
    REQUIRE(pic->QueryInterface(IID_IPicture, p.pv()) == S_OK);
    OLE_XSIZE_HIMETRIC hw = 0;
    OLE_YSIZE_HIMETRIC hh = 0;
    p->get_Width(&hw);
    p->get_Height(&hh);
    gdi::Region disc(CreateEllipticRgn(0, 0, 60, 40));
    SelectClipRgn(expected.dc(), disc);
    for (int x = 0; x < 60; x += 7)
        for (int y = 0; y < 40; y += 5) p->Render(expected.dc(), x, y, 7, 5, 0, hh, hw, -hh, nullptr);
    int differ = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) differ += PtInRegion(disc, x, y) && drawn.Pixel(x, y) != expected.Pixel(x, y);
    CHECK(differ == 0);
}

TEST_CASE("a picture face tiled hundreds of times plays back from a metafile as on screen, transparent parts too") {
    // A 2 x 2 icon, red on one diagonal and transparent on the other: 600
    // tiles over the face, too many to record a render each.
    const DWORD colour[4] = {0, 0xFF0000, 0xFF0000, 0};
    const WORD mask[2] = {0x80, 0x40};
    HBITMAP colourBits = CreateBitmap(2, 2, 1, 32, colour), maskBits = CreateBitmap(2, 2, 1, 1, mask);
    ICONINFO ii{TRUE, 0, 0, maskBits, colourBits};
    PICTDESC desc{sizeof(PICTDESC), PICTYPE_ICON};
    desc.icon.hicon = CreateIconIndirect(&ii);
    DeleteObject(colourBits);
    DeleteObject(maskBits);
    Ptr<IPictureDisp> pic;
    REQUIRE(OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, pic.pv()) == S_OK);
    Drawn d;
    d.b->put_IconType(BIS_ICON_RES);
    d.b->put_ImageStyle(IPS_TEXTURE);
    d.FaceOnly();
    REQUIRE(d.b->putref_Picture(pic) == S_OK);
    DibCanvas drawn = d.Draw(60, 40);
    CHECK(drawn.Count(RGB(255, 0, 0)) == 60 * 40 / 2);
    Wmf wmf;
    REQUIRE(wmf.Record(d.b, 60, 40) == S_OK);
    CHECK(wmf.Records().size() < 100);
    DibCanvas played(60, 40, kBack);
    REQUIRE(wmf.Play(played.dc()));
    int differ = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) differ += played.Pixel(x, y) != drawn.Pixel(x, y);
    CHECK(differ == 0);
}

TEST_CASE("texts in a metafile: anchors and alignments, the disabled run-mode look, Text1 and Text2") {
    Drawn d;
    d.Caption(L"SButton");
    short points = 0;
    d.b->get_FontSize(&points);
    Ptr<IFontDisp> font;
    d.b->get_Font(font.out());
    Ptr<IFont> f;
    font->QueryInterface(IID_IFont, f.pv());
    CY size{};
    f->get_Size(&size);
    const int p = (int)(size.int64 / 10000);
    BSTR a = SysAllocString(L"A"), b = SysAllocString(L"B");
    d.b->put_Text1(a);
    d.b->put_Text2(b);
    SysFreeString(a);
    SysFreeString(b);
    d.b->put_Text1Visible(VARIANT_TRUE);
    d.b->put_Text2Visible(VARIANT_TRUE);
    d.b->put_Text2YOffset(-20);

    struct Expect {
        std::string text;
        int x, y, align;
    };
    const int mid = 20 + p / 2;
    auto check = [&](const std::vector<Expect>& expected) {
        Wmf wmf;
        REQUIRE(wmf.Record(d.b, 100, 40) == S_OK);
        const auto texts = wmf.Texts();
        REQUIRE(texts.size() == expected.size());
        for (size_t i = 0; i < texts.size(); ++i) {
            INFO(expected[i].text << " #" << i);
            CHECK(texts[i].text == expected[i].text);
            CHECK(texts[i].x == expected[i].x);
            CHECK(texts[i].y == expected[i].y);
            CHECK((AlignmentBefore(wmf, texts[i].index) & ~TA_NOUPDATECP) == expected[i].align);
        }
    };
    SUBCASE("enabled: each text once, at its own anchor") {
        check({{"SButton", 50, mid, TA_CENTER | TA_BASELINE},
               {"A", 3, 37, TA_LEFT | TA_BOTTOM},
               {"B", 97, 17, TA_RIGHT | TA_BOTTOM}});
    }
    SUBCASE("disabled in run mode: a white copy up and left, then grey") {
        d.b->put_Enabled(VARIANT_FALSE);
        check({{"SButton", 49, mid - 1, TA_CENTER | TA_BASELINE},
               {"SButton", 50, mid, TA_CENTER | TA_BASELINE},
               {"A", 2, 36, TA_LEFT | TA_BOTTOM},
               {"A", 3, 37, TA_LEFT | TA_BOTTOM},
               {"B", 96, 16, TA_RIGHT | TA_BOTTOM},
               {"B", 97, 17, TA_RIGHT | TA_BOTTOM}});
    }
    SUBCASE("disabled in design mode: the normal look; 3D text adds a white copy") {
        d.site->ambients().userMode = false;
        d.b->put_Enabled(VARIANT_FALSE);
        d.b->put_Text1Visible(VARIANT_FALSE);
        d.b->put_Text2Visible(VARIANT_FALSE);
        check({{"SButton", 50, mid, TA_CENTER | TA_BASELINE}});
        d.b->put_Text3D(VARIANT_TRUE);
        check({{"SButton", 48, mid - 1, TA_CENTER | TA_BASELINE}, {"SButton", 50, mid, TA_CENTER | TA_BASELINE}});
    }
    SUBCASE("a left triangle keeps its caption right-aligned 3 pixels in") {
        d.b->put_Text1Visible(VARIANT_FALSE);
        d.b->put_Text2Visible(VARIANT_FALSE);
        d.b->put_ShapeType(BSS_LEFT_TRIANGLE);
        d.b->put_TextPos(BTPS_LEFT_TOP);
        check({{"SButton", 94, 3, TA_RIGHT | TA_TOP}});
    }
}

TEST_CASE("bounds away from the origin draw the same button there") {
    Drawn d;
    d.Caption(L"Go");
    d.b->put_ShapeType(BSS_CIRCLE);
    d.b->put_FaceType(BFS_GRADIENT);
    d.b->put_BorderType(BBS_GRADIENT_CONFIGURABLE);
    d.b->put_IconType(BIS_CIRCLE);
    d.b->put_IconPosType(BIPS_RIGHT);
    DibCanvas at0 = d.Draw(100, 60);
    DibCanvas moved(200, 120, kUnpainted);
    REQUIRE(DrawControl(d.b, moved.dc(), RECT{70, 40, 170, 100}) == S_OK);
    int differ = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 100; ++x) differ += at0.Pixel(x, y) != moved.Pixel(x + 70, y + 40);
    CHECK(differ == 0);
    CHECK(moved.Pixel(69, 39) == kUnpainted);
}

TEST_CASE("repeated paints of every shape, face, border and icon leak no GDI object") {
    Drawn d;
    d.Caption(L"Go");
    Ptr<IPictureDisp> pic;
    pic.p = PictureOf(BmpFile(8, 6, RGB(255, 0, 0)));
    d.b->putref_Picture(pic);
    DibCanvas canvas(90, 60);
    auto paintAll = [&]() {
        for (int shape = 0; shape <= 17; ++shape)
            for (int face = 0; face <= 2; ++face)
                for (int border = 0; border <= 2; ++border) {
                    d.b->put_ShapeType((ButtonShapeStyle)shape);
                    d.b->put_FaceType((ButtonFaceStyle)face);
                    d.b->put_BorderType((ButtonBorderStyle)border);
                    d.b->put_IconType((ButtonIconStyle)((shape + face + border) % 13));
                    d.b->put_ImageStyle((ImagePaintStyle)(shape % 3));
                    DrawControl(d.b, canvas.dc(), RECT{0, 0, 90, 60});
                }
    };
    paintAll();
    const int before = CountGdiObjects();
    paintAll();
    paintAll();
    CHECK(CountGdiObjects() == before);
}

TEST_CASE("a wrapped caption far longer than the button draws the same lines as its start alone") {
    struct Row {
        ButtonTxtPosStyle pos;
        bool text3D;
        LONG yOffset;
    };
    const Row rows[] = {{BTPS_LEFT_TOP, false, 0}, {BTPS_TOP, true, 0}, {BTPS_RIGHT_TOP, false, -25}};
    std::wstring start, whole;
    for (int i = 0; i < 40; ++i) start += L"word" + std::to_wstring(i) + L" ";
    whole = start;
    while (whole.size() < 20000) whole += L"more words and    spaces ";
    for (const Row& row : rows) {
        CAPTURE(row.pos);
        std::vector<COLORREF> shown[2];
        for (int i = 0; i < 2; ++i) {
            Drawn d;
            d.Caption((i ? whole : start).c_str());
            d.b->put_WordWrap(VARIANT_TRUE);
            d.b->put_TextPos(row.pos);
            d.b->put_Text3D(row.text3D ? VARIANT_TRUE : VARIANT_FALSE);
            d.b->put_TextYOffset(row.yOffset);
            DibCanvas c = d.Draw(100, 60);
            for (int y = 0; y < 60; ++y)
                for (int x = 0; x < 100; ++x) shown[i].push_back(c.Pixel(x, y));
        }
        CHECK(shown[0] == shown[1]);
    }
}

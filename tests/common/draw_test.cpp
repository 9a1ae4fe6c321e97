// Shared drawing routines, observed through real DIB sections, metafiles and
// the process's GDI handle table.
#include <doctest/doctest.h>

#include <windows.h>

#include <cmath>
#include <cstring>
#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include "common/color.h"
#include "common/draw.h"
#include "common/gdi.h"
#include "common/shading.h"

namespace {

constexpr COLORREF kBlank = RGB(255, 0, 255);  // canvas fill: untouched pixels
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr double kPi = 3.141592654;  // the routines' own pi for pixel angles

const RingShading kKnobShading{135, 45, 0.5f};

// A memory DC over a 32-bit DIB section, filled with kBlank.
struct Canvas {
    gdi::MemoryDC mem;
    explicit Canvas(int w, int h) : Canvas(RECT{0, 0, w, h}) {}
    explicit Canvas(const RECT& area) : mem(nullptr, area) {
        REQUIRE(mem.ok());
        gdi::Brush fill = gdi::SolidBrush(kBlank);
        FillRect(mem.dc(), &area, fill);
    }
    HDC dc() const { return mem.dc(); }
    COLORREF At(int x, int y) const {
        DWORD p = mem.Pixel(x, y);
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int Count(COLORREF c) const {
        int n = 0;
        for (int y = mem.area().top; y < mem.area().bottom; ++y)
            for (int x = mem.area().left; x < mem.area().right; ++x) n += At(x, y) == c;
        return n;
    }
    int Painted() const { return mem.width() * mem.height() - Count(kBlank); }
    // Every 32-bit word of both bitmaps equal (the unused top byte included).
    bool SameBits(const Canvas& o) const {
        if (mem.width() != o.mem.width() || mem.height() != o.mem.height()) return false;
        GdiFlush();
        for (int y = 0; y < mem.height(); ++y)
            for (int x = 0; x < mem.width(); ++x)
                if (mem.Pixel(mem.area().left + x, mem.area().top + y) !=
                    o.mem.Pixel(o.mem.area().left + x, o.mem.area().top + y))
                    return false;
        return true;
    }
};

// Live GDI objects of the process. GetGuiResources is a stub under Wine; Wine
// accepts a handle's 16-bit index alone, so probing every index with
// GetObjectType counts what is alive.
int CountGdiObjects() {
    DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (n) return (int)n;
    int live = 0;
    for (ULONG_PTR i = 1; i < 0x10000; ++i) live += GetObjectType(reinterpret_cast<HGDIOBJ>(i)) != 0;
    return live;
}

// The outline walk exactly as the drawing rules state it: atan2 per point,
// F in 64 bits computed from scratch, SetPixelV in the stated order. Used as
// the oracle for the fast routines.
void ReferenceOutline(HDC dc, int cx, int cy, int rx, int ry, const std::function<COLORREF(double)>& colour,
                      const ArcLimits* arc = nullptr) {
    auto F = [&](long long x, long long y) {
        return (long long)ry * ry * x * x + (long long)rx * rx * y * y - (long long)rx * rx * ry * ry;
    };
    int x = rx, y = 0;
    while (x >= 0 && y <= ry) {
        double m = std::atan2((double)y, (double)x);
        const double theta[4] = {m, kPi - m, m - kPi, -m};
        const int px[4] = {cx + x, cx - x, cx - x, cx + x};
        const int py[4] = {cy + y, cy + y, cy - y, cy - y};
        for (int i = 0; i < 4; ++i)
            if (!arc || arc->Contains(theta[i])) SetPixelV(dc, px[i], py[i], colour(theta[i]));
        if (std::llabs(F(x, y + 1)) < std::llabs(F(x - 1, y)))
            ++y;
        else
            --x;
    }
}

COLORREF Grey(int v) { return RGB(v, v, v); }

// First row from the top in column x whose pixel is painted; -1 when none.
int FirstPaintedRow(const Canvas& c, int x) {
    for (int y = c.mem.area().top; y < c.mem.area().bottom; ++y)
        if (c.At(x, y) != kBlank) return y;
    return -1;
}

}  // namespace

TEST_CASE("colour by angle gives the worked numbers") {
    CHECK(BlendColorByAngle(-2.356, kWhite, kBlack) == kWhite);
    CHECK(BlendColorByAngle(0.785, kWhite, kBlack) == kBlack);
    CHECK(BlendColorByAngle(0.0, kWhite, kBlack) == Grey(0x25));
    // t = 5.5 - 2.356 = 3.144 lies above 3.1415 and folds to 6.293 - 3.144.
    CHECK(LightingCosine(-5.5) == doctest::Approx(std::cos(3.149)).epsilon(1e-12));
    // The channels are blended separately and the top byte is clear.
    CHECK(BlendColorByAngle(-2.356, RGB(200, 100, 50), RGB(0, 0, 255)) == RGB(200, 100, 50));
    CHECK(BlendColorByAngle(-2.356, 0xFF123456, 0xFF654321) == 0x123456);
    // Angles that are not finite are taken as 0 instead of reaching a conversion.
    CHECK(BlendColorByAngle(std::numeric_limits<double>::quiet_NaN(), kWhite, kBlack) == Grey(0x25));
    CHECK(BlendColorByAngle(INFINITY, kWhite, kBlack) == Grey(0x25));
}

TEST_CASE("curved colour by angle follows knee and level") {
    const COLORREF c1 = RGB(10, 20, 30), c2 = RGB(250, 200, 100);
    for (double a : {-3.0, -2.356, -1.0, 0.0, 0.785, 2.0, 3.1}) {
        CHECK(BlendColorByAngleCurve(a, c1, c2, 0.0f, 0.5f) == c1);
        CHECK(BlendColorByAngleCurve(a, c1, c2, 1.0f, 0.5f) == c2);
        CHECK(BlendColorByAngleCurve(a, c1, c2, 2.0f, 0.5f) == c2);
        CHECK(BlendColorByAngleCurve(a, c1, c2, NAN, 0.5f) == c2);
        // Knee 0.5 and level 0.5 make one straight line from c1 to c2.
        double g = 1.0 - (LightingCosine(a) + 1.0) * 0.5;
        COLORREF line = BlendColorByAngleCurve(a, c1, c2, 0.5f, 0.5f);
        CHECK(std::abs(RedOf(line) - (10 + (int)(g * 240))) <= 1);
        CHECK(std::abs(BlueOf(line) - (30 + (int)(g * 70))) <= 1);
    }
    // At the knee (c = 0, angle -0.785) a level of 3 overshoots and is capped.
    CHECK(BlendColorByAngleCurve(-0.785, Grey(128), kWhite, 0.5f, 3.0f) == kWhite);
    // A level that is not a number leaves c1 rather than an undefined value.
    CHECK(BlendColorByAngleCurve(0.0, c1, c2, 0.5f, NAN) == c1);
}

TEST_CASE("colour helpers: tint, half, translation") {
    CHECK(LightTint(kBlack) == Grey(191));
    CHECK(LightTint(kWhite) == kWhite);
    CHECK(LightTint(RGB(1, 2, 3)) == RGB(191, 191, 192));
    CHECK(HalfColor(RGB(255, 128, 1)) == RGB(127, 64, 0));
    CHECK(TranslateColor(RGB(1, 2, 3)) == RGB(1, 2, 3));
    CHECK(TranslateColor(0x80000000 | COLOR_BTNFACE) == GetSysColor(COLOR_BTNFACE));
    // Refused by OleTranslateColor: the low 24 bits.
    CHECK(TranslateColor(0xCCCCCCCC) == 0xCCCCCC);
    CHECK(TranslateColor(0x800000FF) == 0x0000FF);
}

TEST_CASE("FillEllipseRing fills between the two ellipses") {
    Canvas c(100, 100);
    HGDIOBJ brushBefore = GetCurrentObject(c.dc(), OBJ_BRUSH);
    const RECT rc{0, 0, 100, 100};
    FillEllipseRing(c.dc(), rc, 10, 10, RGB(255, 0, 0));
    CHECK(c.At(50, 15) == RGB(255, 0, 0));
    CHECK(c.At(15, 50) == RGB(255, 0, 0));
    CHECK(c.At(50, 5) == kBlank);
    CHECK(c.At(50, 25) == kBlank);
    CHECK(c.At(50, 50) == kBlank);
    CHECK(GetCurrentObject(c.dc(), OBJ_BRUSH) == brushBefore);

    Canvas none(100, 100);
    FillEllipseRing(none.dc(), rc, 10, 0, RGB(255, 0, 0));   // empty ring
    FillEllipseRing(none.dc(), rc, 10, -5, RGB(255, 0, 0));  // inner larger than outer
    FillEllipseRing(none.dc(), rc, 60, 10, RGB(255, 0, 0));  // inset past the middle: no mirrored ellipse
    CHECK(none.Painted() == 0);

    // An inner ellipse past the middle leaves the whole outer disc.
    Canvas disc(100, 100);
    FillEllipseRing(disc.dc(), rc, 10, 45, RGB(0, 255, 0));
    CHECK(disc.At(50, 50) == RGB(0, 255, 0));
    CHECK(disc.At(50, 15) == RGB(0, 255, 0));
}

TEST_CASE("DrawGradientRing shades a tube from edge to middle and back") {
    Canvas c(200, 200);
    DrawGradientRing(c.dc(), RECT{0, 0, 200, 200}, 10, kBlack, kWhite);
    // Width 10: h = 5, s = 1; insets 1..5 graded toward white, 6..10 back.
    CHECK(c.At(100, 0) == kBlank);
    const int expected[10] = {51, 102, 153, 204, 255, 204, 153, 102, 51, 0};
    for (int k = 1; k <= 10; ++k) {
        CAPTURE(k);
        CHECK(c.At(100, k) == Grey(expected[k - 1]));
        CHECK(c.At(k, 100) == Grey(expected[k - 1]));
    }
    CHECK(c.At(100, 11) == kBlank);

    // Width 600: h = 300, s = 2; the first 2-pixel band stays unpainted.
    Canvas wide(700, 700);
    DrawGradientRing(wide.dc(), RECT{0, 0, 700, 700}, 600, kBlack, RGB(0, 0, 240));
    CHECK(wide.At(350, 1) == kBlank);
    CHECK(wide.At(350, 2) == RGB(0, 0, 240 * 2 / 300));
    CHECK(wide.At(350, 3) == RGB(0, 0, 240 * 2 / 300));
    CHECK(wide.At(350, 150) == RGB(0, 0, 240 * 150 / 300));
    CHECK(wide.At(350, 300) == RGB(0, 0, 240));

    for (int w : {0, 1, -7}) {
        Canvas none(50, 50);
        DrawGradientRing(none.dc(), RECT{0, 0, 50, 50}, w, kBlack, kWhite);
        CHECK(none.Painted() == 0);
    }
}

TEST_CASE("DrawRegionEdge3D paints the system 3D colours inside the region") {
    const COLORREF hi = GetSysColor(COLOR_BTNHIGHLIGHT), sh = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF dk = GetSysColor(COLOR_3DDKSHADOW), lt = GetSysColor(COLOR_3DLIGHT);
    gdi::Region square(CreateRectRgn(10, 10, 60, 60));
    struct Row {
        int style;
        bool sunken;
        COLORREF top[3];     // rows 10, 11, 12 at x = 30 (kBlank: untouched)
        COLORREF bottom[3];  // rows 59, 58, 57
    };
    const Row rows[] = {
        {1, false, {hi, hi, hi}, {sh, sh, sh}},
        {1, true, {dk, dk, dk}, {lt, lt, lt}},
        {2, false, {lt, hi, kBlank}, {dk, sh, kBlank}},
        {2, true, {sh, dk, kBlank}, {hi, lt, kBlank}},
        {0, false, {hi, kBlank, kBlank}, {dk, kBlank, kBlank}},
        {3, true, {dk, kBlank, kBlank}, {hi, kBlank, kBlank}},
        {-1, false, {hi, kBlank, kBlank}, {dk, kBlank, kBlank}},
    };
    for (const Row& r : rows) {
        CAPTURE(r.style);
        CAPTURE(r.sunken);
        Canvas c(80, 80);
        DrawRegionEdge3D(c.dc(), square, r.sunken, r.style);
        for (int i = 0; i < 3; ++i) {
            CHECK(c.At(30, 10 + i) == r.top[i]);
            CHECK(c.At(10 + i, 30) == r.top[i]);
            CHECK(c.At(30, 59 - i) == r.bottom[i]);
            CHECK(c.At(59 - i, 30) == r.bottom[i]);
        }
        CHECK(c.At(30, 30) == kBlank);
    }
    RECT box;
    CHECK(GetRgnBox(square, &box) == SIMPLEREGION);  // the region was only read
    CHECK(box.left == 10);

    // Along a curve: the top-left arc light, the bottom-right arc dark.
    gdi::Region ellipse(CreateEllipticRgn(100, 0, 200, 100));
    Canvas c(220, 120);
    DrawRegionEdge3D(c.dc(), ellipse, false, 0);
    int top = FirstPaintedRow(c, 150);
    REQUIRE(top >= 0);
    CHECK(c.At(150, top) == hi);
    CHECK(c.At(115, 15) == hi);  // inside, near the upper-left arc
    CHECK(c.At(150, 50) == kBlank);
    int bottom = -1;
    for (int y = 119; y >= 0 && bottom < 0; --y)
        if (c.At(150, y) != kBlank) bottom = y;
    CHECK(c.At(150, bottom) == dk);
}

TEST_CASE("shaded outlines match the drawing rules pixel for pixel") {
    // Oracle: the literal walk with atan2 per point and the blends per pixel.
    struct Case {
        int rx, ry;
    };
    const Case sizes[] = {{1, 1}, {2, 5}, {10, 10}, {37, 21}, {50, 50}, {101, 101}, {215, 215}, {216, 216}, {233, 171}};
    for (const Case& s : sizes) {
        CAPTURE(s.rx);
        CAPTURE(s.ry);
        const int w = 2 * s.rx + 8, h = 2 * s.ry + 8, cx = s.rx + 4, cy = s.ry + 4;
        const COLORREF light = RGB(230, 190, 90), dark = RGB(20, 70, 160);

        Canvas ref(w, h), fast(w, h);
        ReferenceOutline(ref.dc(), cx, cy, s.rx, s.ry, [&](double a) { return BlendColorByAngle(a, light, dark); });
        DrawShadedEllipse(fast.mem.Pixels(), cx, cy, s.rx, s.ry, light, dark);
        CHECK(ref.SameBits(fast));

        for (float knee : {0.2f, 0.5f, 0.73f}) {
            Canvas refc(w, h), fastc(w, h);
            ReferenceOutline(refc.dc(), cx, cy, s.rx, s.ry,
                             [&](double a) { return BlendColorByAngleCurve(a, light, dark, knee, 0.6f); });
            DrawShadedEllipseCurve(fastc.mem.Pixels(), cx, cy, s.rx, s.ry, light, dark, knee, 0.6f);
            CHECK(refc.SameBits(fastc));
        }

        const ArcLimits arc = ArcLimits::FromDegrees(135, 45);
        Canvas refa(w, h), fasta(w, h);
        ReferenceOutline(refa.dc(), cx, cy, s.rx, s.ry, [&](double a) { return BlendColorByAngle(a, light, dark); },
                         &arc);
        DrawShadedEllipse(fasta.mem.Pixels(), cx, cy, s.rx, s.ry, light, dark, &arc);
        CHECK(refa.SameBits(fasta));
    }
}

TEST_CASE("shaded outlines: the pixels at the axes and the straight lines") {
    Canvas c(120, 120);
    DrawShadedEllipse(c.mem.Pixels(), 60, 60, 50, 50, kWhite, kBlack);
    CHECK(c.At(110, 60) == Grey(0x25));  // angle 0
    // The walk ends at (0, 50): the top pixel is set last with -m, the bottom with pi - m.
    CHECK(c.At(60, 10) == BlendColorByAngle(-std::atan2(50.0, 0.0), kWhite, kBlack));
    CHECK(c.At(60, 110) == BlendColorByAngle(kPi - std::atan2(50.0, 0.0), kWhite, kBlack));
    CHECK(c.At(60, 60) == kBlank);

    Canvas line(40, 40);
    DrawShadedEllipse(line.mem.Pixels(), 20, 20, 3, 0, RGB(9, 8, 7), kBlack);
    CHECK(line.Count(RGB(9, 8, 7)) == 9);
    CHECK(line.At(16, 20) == RGB(9, 8, 7));
    CHECK(line.At(24, 20) == RGB(9, 8, 7));
    Canvas curveLine(40, 40);
    DrawShadedEllipseCurve(curveLine.mem.Pixels(), 20, 20, 3, 0, RGB(9, 8, 7), kBlack, 0.3f, 0.5f);
    CHECK(curveLine.Count(RGB(9, 8, 7)) == 7);
    Canvas vertical(40, 40);
    DrawShadedEllipse(vertical.mem.Pixels(), 20, 20, 0, 4, RGB(9, 8, 7), kBlack);
    CHECK(vertical.Count(RGB(9, 8, 7)) == 11);
    CHECK(vertical.At(20, 15) == RGB(9, 8, 7));

    // The arc of StartAngle 135 and EndAngle 45 is the long way over the top.
    const ArcLimits arc = ArcLimits::FromDegrees(135, 45);
    CHECK(arc.start == doctest::Approx(2.356).epsilon(1e-3));
    CHECK(arc.end == doctest::Approx(0.785).epsilon(1e-3));
    CHECK(arc.Contains(-kPi / 2));
    CHECK(arc.Contains(3.0));
    CHECK_FALSE(arc.Contains(kPi / 2));
    const ArcLimits whole = ArcLimits::FromDegrees(90, 90);
    CHECK(whole.Contains(1.0));
    CHECK(ArcLimits::FromDegrees(270, 0).start == doctest::Approx(270 * kPi / 180 - 6.283185308));
}

TEST_CASE("the eight ring styles at probe points") {
    // Circle of radius 80 round (100, 100), width 10: the top of outline k is
    // at y = 20 + k in column 100, its angle -pi/2 (set last, as -m).
    constexpr int cx = 100, cy = 100, r = 80, w = 10;
    const COLORREF c1 = RGB(240, 200, 160), c2 = RGB(40, 20, 100);
    const double top = -std::atan2(1.0, 0.0);
    auto graded = [](COLORREF a, COLORREF b, int k, int n) {
        return RGB(GetRValue(a) + (GetRValue(b) - GetRValue(a)) * k / n,
                   GetGValue(a) + (GetGValue(b) - GetGValue(a)) * k / n,
                   GetBValue(a) + (GetBValue(b) - GetBValue(a)) * k / n);
    };
    auto draw = [&](int style, int width = 10, RingShading sh = kKnobShading) {
        auto c = std::make_unique<Canvas>(200, 200);
        DrawShadedRing(c->mem.Pixels(), cx, cy, r, r, width, c1, c2, style, sh);
        return c;
    };

    SUBCASE("1: a two-pixel bevel whatever the width") {
        auto c = draw(1, 0);
        CHECK(c->At(cx, 20) == BlendColorByAngle(top, c1, c2));
        CHECK(c->At(cx, 21) == BlendColorByAngle(top, MixColors(c1, 3, c2, 1, 4), MixColors(c1, 1, c2, 3, 4)));
        CHECK(c->At(cx, 22) == kBlank);
        CHECK(draw(1, 30)->SameBits(*c));
    }
    SUBCASE("2: bevels on both edges") {
        auto c = draw(2);
        CHECK(c->At(cx, 20) == BlendColorByAngle(top, c1, c2));
        CHECK(c->At(cx, 21) == BlendColorByAngle(top, MixColors(c1, 2, c2, 1, 3), MixColors(c1, 1, c2, 2, 3)));
        CHECK(c->At(cx, 25) == kBlank);
        CHECK(c->At(cx, 29) == BlendColorByAngle(top, c2, c1));
        CHECK(c->At(cx, 30) == BlendColorByAngle(top, MixColors(c1, 1, c2, 2, 3), MixColors(c1, 2, c2, 1, 3)));
        CHECK(c->At(cx, 31) == kBlank);
        CHECK(c->At(cx, 180) != kBlank);  // whole outline
    }
    SUBCASE("3: eleven graded outlines") {
        auto c = draw(3);
        for (int k = 0; k <= w; ++k) {
            CAPTURE(k);
            CHECK(c->At(cx, 20 + k) == BlendColorByAngle(top, graded(c1, c2, k, w), graded(c2, c1, k, w)));
        }
        CHECK(c->At(cx, 31) == kBlank);
    }
    SUBCASE("4: the whole disc, plain at rate 0.5 and curved otherwise") {
        auto c = draw(4);
        CHECK(c->At(cx, 20) == BlendColorByAngle(top, c1, c2));
        CHECK(c->At(cx, 20 + 40) == BlendColorByAngle(top, graded(c1, c2, 40, 160), graded(c2, c1, 40, 160)));
        CHECK(c->At(cx, cy) != kBlank);
        CHECK(c->At(cx, cy + 50) != kBlank);
        auto curved = draw(4, w, RingShading{135, 45, 0.3f});
        CHECK(curved->At(cx, 20) == BlendColorByAngleCurve(top, c1, c2, 0.3f, 0.5f));
        CHECK_FALSE(curved->SameBits(*c));
    }
    SUBCASE("5: half brightness outside to one and a half inside, curved") {
        auto c = draw(5);
        auto bright = [&](COLORREF col, int k) {
            auto ch = [&](int v) { return std::min(255, v + v * (k - w / 2) / w); };
            return RGB(ch(GetRValue(col)), ch(GetGValue(col)), ch(GetBValue(col)));
        };
        for (int k : {0, 5, 10}) {
            CAPTURE(k);
            CHECK(c->At(cx, 20 + k) == BlendColorByAngleCurve(top, bright(c1, k), bright(c2, k), 0.2f, 0.6f));
        }
        CHECK(bright(c1, 10) == RGB(255, 255, 240));  // capped
    }
    SUBCASE("6: flat two-tone ring framed in black") {
        auto c = draw(6);
        CHECK(c->At(cx - 52, cy - 52) == c1);  // upper left, inside the ring
        CHECK(c->At(cx + 52, cy + 52) == c2);  // lower right
        CHECK(c->At(cx, cy) == kBlank);
        CHECK(c->At(cx, FirstPaintedRow(*c, cx)) == kBlack);
        CHECK(c->Count(kBlack) > 400);
    }
    SUBCASE("7 and 8: only the arc from StartAngle to EndAngle") {
        auto edges = draw(7);
        auto tube = draw(8);
        auto fullEdges = draw(2);
        auto fullTube = draw(3);
        CHECK(edges->At(cx, 20) == fullEdges->At(cx, 20));
        CHECK(tube->At(cx, 25) == fullTube->At(cx, 25));
        CHECK(fullTube->At(cx, 180) != kBlank);
        CHECK(edges->At(cx, 180) == kBlank);  // the gap at the bottom
        CHECK(tube->At(cx, 175) == kBlank);
        CHECK(tube->At(cx - 80, cy) != kBlank);  // 180 degrees lies on the arc
    }
    SUBCASE("guards: too narrow, too wide, unknown style") {
        for (int style : {2, 3, 5, 6, 7, 8}) {
            CAPTURE(style);
            CHECK(draw(style, 0)->Painted() == 0);
            CHECK(draw(style, r - 2)->Painted() == 0);
            CHECK(draw(style, -3)->Painted() == 0);
            CHECK(draw(style, r - 3)->Painted() > 0);
        }
        CHECK(draw(0)->Painted() == 0);
        CHECK(draw(9)->Painted() == 0);
        Canvas small(40, 40);
        DrawShadedRing(small.mem.Pixels(), 20, 20, 1, 1, 0, c1, c2, 4, kKnobShading);
        CHECK(small.Painted() == 0);
        DrawShadedRing(small.mem.Pixels(), 20, 20, 10, 10, 0, c1, c2, 4, kKnobShading);
        CHECK(small.At(20, 20) != kBlank);
        CHECK(small.At(20, 9) == kBlank);
        CHECK(small.At(20, 10) != kBlank);
    }
}

TEST_CASE("direct DIB writes equal the SetPixelV path for every routine") {
    struct Size {
        int rx, ry;
    };
    const Size sizes[] = {{3, 3}, {50, 50}, {101, 67}, {216, 216}, {231, 230}};
    const COLORREF c1 = RGB(231, 187, 99), c2 = RGB(33, 66, 133);
    using Draw = std::function<void(const gdi::PixelTarget&, int, int, int, int)>;
    std::vector<std::pair<const char*, Draw>> routines = {
        {"ellipse", [&](const gdi::PixelTarget& t, int x, int y, int rx, int ry) { DrawShadedEllipse(t, x, y, rx, ry, c1, c2); }},
        {"curve", [&](const gdi::PixelTarget& t, int x, int y, int rx, int ry) {
             DrawShadedEllipseCurve(t, x, y, rx, ry, c1, c2, 0.35f, 0.5f);
         }},
    };
    for (int style = 1; style <= 8; ++style)
        routines.push_back({"ring", [style, c1, c2](const gdi::PixelTarget& t, int x, int y, int rx, int ry) {
                                DrawShadedRing(t, x, y, rx, ry, 10, c1, c2, style, RingShading{300, 240, 0.5f});
                            }});
    routines.push_back({"disc curved", [&](const gdi::PixelTarget& t, int x, int y, int rx, int ry) {
                            DrawShadedRing(t, x, y, rx, ry, 0, c1, c2, 4, RingShading{135, 45, 0.8f});
                        }});
    int index = 0;
    for (const auto& routine : routines) {
        ++index;
        for (const Size& s : sizes) {
            CAPTURE(index);
            CAPTURE(s.rx);
            // An area off the origin: both paths must honour the DC's offset.
            const RECT area{-17, 31, -17 + 2 * s.rx + 6, 31 + 2 * s.ry + 6};
            const int cx = area.left + s.rx + 3, cy = area.top + s.ry + 3;
            Canvas direct(area), slow(area);
            routine.second(direct.mem.Pixels(), cx, cy, s.rx, s.ry);
            routine.second(gdi::PixelTarget(slow.dc()), cx, cy, s.rx, s.ry);
            CHECK(direct.SameBits(slow));
            if (s.rx > 3 && index <= 2) CHECK(direct.Painted() > 0);
        }
    }
}

TEST_CASE("outlines that land off the target are skipped without changing a pixel") {
    // Small targets placed all over an ellipse (across the rim, inside the
    // hole near it, past its ends) get exactly the pixels of a target that
    // holds the whole drawing.
    constexpr int cx = 310, cy = 210, rx = 300, ry = 200;
    const RECT whole{0, 0, 2 * cx, 2 * cy};
    const COLORREF c1 = RGB(231, 187, 99), c2 = RGB(33, 66, 133);
    using Draw = std::function<void(const gdi::PixelTarget&)>;
    std::vector<Draw> routines = {
        [&](const gdi::PixelTarget& t) { DrawShadedEllipse(t, cx, cy, rx, ry, c1, c2); },
        [&](const gdi::PixelTarget& t) { DrawShadedEllipseCurve(t, cx, cy, rx, ry, c1, c2, 0.35f, 0.5f); },
        [&](const gdi::PixelTarget& t) { DrawShadedRing(t, cx, cy, rx, ry, 0, c1, c2, 4, RingShading{135, 45, 0.8f}); },
    };
    for (int style : {1, 2, 3, 4, 5, 7, 8})
        routines.push_back([=](const gdi::PixelTarget& t) {
            DrawShadedRing(t, cx, cy, rx, ry, 6, c1, c2, style, RingShading{300, 240, 0.5f});
        });

    // Windows of 3 x 3 pixels along rays from the centre past the rim, and
    // larger ones: wholly inside, round the centre, beyond the ends.
    std::vector<RECT> windows;
    for (double a : {0.0, 0.3, 0.785, 1.2, 1.5708, 2.5, 3.9, 5.2}) {
        for (int k = -12; k <= 4; ++k) {
            const int x = cx + (int)std::lround(std::cos(a) * (rx + k));
            const int y = cy + (int)std::lround(std::sin(a) * (ry + k));
            windows.push_back(RECT{x - 1, y - 1, x + 2, y + 2});
        }
    }
    windows.push_back(RECT{cx - 150, cy - 100, cx + 150, cy + 100});
    windows.push_back(RECT{cx - 5, cy - 5, cx + 5, cy + 5});
    windows.push_back(RECT{cx - 20, 0, cx + 20, 40});
    windows.push_back(RECT{-30, -30, 5, 5});
    windows.push_back(RECT{2 * cx - 8, cy - 30, 2 * cx + 40, cy + 30});

    int index = 0;
    for (const Draw& draw : routines) {
        ++index;
        CAPTURE(index);
        Canvas all(whole);
        draw(all.mem.Pixels());
        for (const RECT& w : windows) {
            CAPTURE(w.left);
            CAPTURE(w.top);
            Canvas direct(w), slow(w);
            draw(direct.mem.Pixels());
            draw(gdi::PixelTarget(slow.dc()));
            bool same = true;
            for (int y = w.top; y < w.bottom && same; ++y)
                for (int x = w.left; x < w.right && same; ++x) {
                    const bool drawn = x >= 0 && y >= 0 && x < whole.right && y < whole.bottom;
                    const COLORREF expected = drawn ? all.At(x, y) : kBlank;
                    same = direct.At(x, y) == expected && slow.At(x, y) == expected;
                }
            CHECK(same);
        }
    }

    // SetPixelV through a clip region: the clip box bounds the outlines.
    Canvas clipped(whole), all(whole);
    gdi::Region clip(CreateRectRgn(cx + 200, cy - 60, cx + 320, cy + 60));
    SelectClipRgn(clipped.dc(), clip);
    DrawShadedRing(gdi::PixelTarget(clipped.dc()), cx, cy, rx, ry, 0, c1, c2, 4, kKnobShading);
    SelectClipRgn(clipped.dc(), nullptr);
    DrawShadedRing(all.mem.Pixels(), cx, cy, rx, ry, 0, c1, c2, 4, kKnobShading);
    int differ = 0, inside = 0;
    for (int y = 0; y < whole.bottom; ++y)
        for (int x = 0; x < whole.right; ++x) {
            const bool in = PtInRegion(clip, x, y) != FALSE;
            inside += in && clipped.At(x, y) != kBlank;
            differ += clipped.At(x, y) != (in ? all.At(x, y) : kBlank);
        }
    CHECK(differ == 0);
    CHECK(inside > 1000);
}

TEST_CASE("a shaded disc of the largest radius far off the target is drawn in bounded time") {
    // Its rim crosses the canvas, at the side and at the top; the tens of
    // thousands of outlines that miss the canvas cost nothing.
    const int R = kMaxShadedRadius;
    for (float rate : {0.5f, 0.3f}) {
        CAPTURE(rate);
        Canvas side(64, 64), top(64, 64);
        DrawShadedRing(side.mem.Pixels(), 32 - R, 20, R, R, 0, kWhite, kBlack, 4, RingShading{135, 45, rate});
        CHECK(side.At(0, 40) != kBlank);
        CHECK(side.At(32, 20) != kBlank);
        CHECK(side.At(33, 20) == kBlank);
        CHECK(side.At(63, 40) == kBlank);
        DrawShadedRing(top.mem.Pixels(), 40, 32 + R, R, R, 0, kWhite, kBlack, 4, RingShading{135, 45, rate});
        CHECK(top.At(40, 32) != kBlank);
        CHECK(top.At(40, 31) == kBlank);
        CHECK(top.At(10, 63) != kBlank);
    }
    Canvas inside(64, 64);
    DrawShadedRing(inside.mem.Pixels(), 32, 32, R, R - 7, 0, kWhite, kBlack, 4, kKnobShading);
    CHECK(inside.Painted() == 64 * 64);
}

TEST_CASE("ForDC writes directly only where that gives the same pixels") {
    // A bottom-up DIB with a moved window origin.
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = 60;
    bi.bmiHeader.biHeight = 40;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    gdi::Bitmap dib(CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    REQUIRE(dib);
    {
        gdi::Select selected(dc, dib);
        SetWindowOrgEx(dc, 100, 200, nullptr);
        gdi::PixelTarget t = gdi::PixelTarget::ForDC(dc);
        CHECK(t.direct());
        t.Set(105, 203, RGB(1, 2, 3));
        CHECK(GetPixel(dc, 105, 203) == RGB(1, 2, 3));
        t.Set(99, 203, RGB(1, 2, 3));   // outside: dropped
        t.Set(160, 203, RGB(1, 2, 3));  // outside: dropped

        // A clip region (device coordinates) is honoured by the direct writes.
        gdi::Region clip(CreateRectRgn(0, 0, 10, 10));
        SelectClipRgn(dc, clip);
        gdi::PixelTarget clipped = gdi::PixelTarget::ForDC(dc);
        CHECK(clipped.direct());
        clipped.Set(101, 201, RGB(4, 5, 6));
        clipped.Set(111, 201, RGB(4, 5, 6));  // outside the clip: dropped
        SelectClipRgn(dc, nullptr);
        CHECK(GetPixel(dc, 101, 201) == RGB(4, 5, 6));
        CHECK(GetPixel(dc, 111, 201) != RGB(4, 5, 6));
        SetMapMode(dc, MM_LOMETRIC);
        CHECK_FALSE(gdi::PixelTarget::ForDC(dc).direct());
        SetMapMode(dc, MM_TEXT);
        CHECK(gdi::PixelTarget::ForDC(dc).direct());
    }
    // A device-dependent bitmap has no bits to write.
    gdi::Bitmap ddb(CreateCompatibleBitmap(dc, 10, 10));
    {
        gdi::Select selected(dc, ddb);
        CHECK_FALSE(gdi::PixelTarget::ForDC(dc).direct());
    }
    DeleteDC(dc);
    HDC wmf = CreateMetaFileW(nullptr);
    CHECK_FALSE(gdi::PixelTarget::ForDC(wmf).direct());
    DeleteMetaFile(CloseMetaFile(wmf));
}

TEST_CASE("into a metafile the outlines are SetPixel records that play back the same") {
    HDC wmf = CreateMetaFileW(nullptr);
    REQUIRE(wmf);
    DrawShadedRing(gdi::PixelTarget::ForDC(wmf), 40, 40, 30, 30, 5, RGB(200, 180, 20), RGB(20, 40, 60), 3,
                   kKnobShading);
    DrawShadedRing(wmf, 40, 40, 30, 30, 5, RGB(200, 180, 20), RGB(20, 40, 60), 6, kKnobShading);
    DrawGradientRing(wmf, RECT{0, 0, 80, 80}, 6, kBlack, kWhite);
    gdi::Region square(CreateRectRgn(5, 5, 20, 20));
    DrawRegionEdge3D(wmf, square, true, 2);
    HMETAFILE mf = CloseMetaFile(wmf);
    REQUIRE(mf);
    UINT size = GetMetaFileBitsEx(mf, 0, nullptr);
    std::vector<BYTE> data(size);
    GetMetaFileBitsEx(mf, size, data.data());
    int setPixels = 0, fills = 0, frames = 0;
    // Records follow the 18-byte header: size in words (DWORD), function (WORD).
    for (size_t at = sizeof(METAHEADER); at + 6 <= data.size();) {
        DWORD words;
        WORD function;
        std::memcpy(&words, &data[at], 4);
        std::memcpy(&function, &data[at + 4], 2);
        if (words < 3) break;
        setPixels += function == META_SETPIXEL;
        fills += function == META_FILLREGION;
        frames += function == META_FRAMEREGION;
        at += words * 2;
    }
    CHECK(setPixels > 6 * 4 * 30);
    CHECK(fills > 2);
    CHECK(frames == 1);

    // Played back, the tube's pixels are those drawn directly.
    Canvas played(80, 80), direct(80, 80);
    PlayMetaFile(played.dc(), mf);
    DrawShadedRing(direct.mem.Pixels(), 40, 40, 30, 30, 5, RGB(200, 180, 20), RGB(20, 40, 60), 3, kKnobShading);
    DrawShadedRing(direct.dc(), 40, 40, 30, 30, 5, RGB(200, 180, 20), RGB(20, 40, 60), 6, kKnobShading);
    DrawGradientRing(direct.dc(), RECT{0, 0, 80, 80}, 6, kBlack, kWhite);
    DrawRegionEdge3D(direct.dc(), square, true, 2);
    CHECK(played.SameBits(direct));
    DeleteMetaFile(mf);
}

TEST_CASE("degenerate input neither crashes nor hangs") {
    Canvas c(64, 64);
    const gdi::PixelTarget t = c.mem.Pixels();
    const int huge = std::numeric_limits<int>::max(), tiny = std::numeric_limits<int>::min();
    for (int style = -1; style <= 9; ++style) {
        DrawShadedRing(t, 32, 32, 0, 0, 0, kWhite, kBlack, style, kKnobShading);
        DrawShadedRing(t, 32, 32, -5, 10, 3, kWhite, kBlack, style, kKnobShading);
        DrawShadedRing(t, 32, 32, 20, 20, -4, kWhite, kBlack, style, kKnobShading);
        DrawShadedRing(t, 32, 32, huge, huge, huge, kWhite, kBlack, style, kKnobShading);
        DrawShadedRing(t, huge, tiny, 20, 20, 5, kWhite, kBlack, style, kKnobShading);
        for (float rate : {NAN, INFINITY, -INFINITY, -1.0f, 0.0f, 1.0f, 7.5f})
            DrawShadedRing(t, 32, 32, 20, 20, 5, kWhite, kBlack, style, RingShading{-32768, 32767, rate});
    }
    DrawShadedEllipse(t, 32, 32, kMaxShadedRadius + 1, 5, kWhite, kBlack);
    DrawShadedEllipseCurve(t, 32, 32, 10, 10, kWhite, kBlack, NAN, NAN);
    DrawShadedEllipseCurve(t, 32, 32, 10, 10, kWhite, kBlack, 0.5f, INFINITY);
    DrawShadedEllipse(gdi::PixelTarget(nullptr), 32, 32, 10, 10, kWhite, kBlack);
    DrawShadedRing(gdi::PixelTarget(nullptr), 32, 32, 20, 20, 5, kWhite, kBlack, 6, kKnobShading);

    FillEllipseRing(c.dc(), RECT{0, 0, 0, 0}, 0, 5, kBlack);
    FillEllipseRing(c.dc(), RECT{60, 60, 0, 0}, 0, 5, kBlack);
    FillEllipseRing(c.dc(), RECT{0, 0, 64, 64}, huge, huge, kBlack);
    FillEllipseRing(c.dc(), RECT{tiny, tiny, huge, huge}, tiny, huge, kBlack);
    DrawGradientRing(c.dc(), RECT{0, 0, 64, 64}, huge, kBlack, kWhite);
    DrawGradientRing(c.dc(), RECT{0, 0, 64, 64}, tiny, kBlack, kWhite);
    DrawGradientRing(nullptr, RECT{0, 0, 64, 64}, 10, kBlack, kWhite);
    DrawRegionEdge3D(c.dc(), nullptr, false, 1);
    DrawRegionEdge3D(nullptr, nullptr, true, 2);

    gdi::MemoryDC empty(nullptr, RECT{5, 5, 5, 40});
    CHECK_FALSE(empty.ok());
    DrawShadedRing(empty.Pixels(), 2, 2, 10, 10, 3, kWhite, kBlack, 3, kKnobShading);
    CHECK(empty.Pixel(5, 5) == 0);
    CHECK_FALSE(empty.BlitTo(c.dc()));
    CHECK(c.Painted() > 0);  // the sane calls above did draw
}

TEST_CASE("no GDI object outlives a call") {
    Canvas c(300, 300);
    gdi::Region region(CreateEllipticRgn(20, 20, 120, 90));
    HGDIOBJ penBefore = GetCurrentObject(c.dc(), OBJ_PEN), brushBefore = GetCurrentObject(c.dc(), OBJ_BRUSH);
    auto everything = [&] {
        for (int style = 1; style <= 8; ++style)
            DrawShadedRing(c.mem.Pixels(), 150, 150, 100, 90, 10, RGB(200, 10, 10), RGB(10, 10, 200), style,
                           kKnobShading);
        DrawShadedRing(gdi::PixelTarget::ForDC(c.dc()), 150, 150, 40, 40, 8, kWhite, kBlack, 6, kKnobShading);
        FillEllipseRing(c.dc(), RECT{0, 0, 300, 300}, 5, 7, kWhite);
        FillEllipseRing(c.dc(), RECT{0, 0, 300, 300}, 140, 30, kWhite);
        DrawGradientRing(c.dc(), RECT{0, 0, 300, 300}, 20, kBlack, kWhite);
        for (int style = 0; style <= 3; ++style) {
            DrawRegionEdge3D(c.dc(), region, false, style);
            DrawRegionEdge3D(c.dc(), region, true, style);
        }
        gdi::MemoryDC scratch(c.dc(), RECT{10, 10, 90, 70});
        DrawShadedRing(scratch.Pixels(), 50, 40, 30, 25, 5, kWhite, kBlack, 3, kKnobShading);
        scratch.BlitTo(c.dc());
        HDC wmf = CreateMetaFileW(nullptr);
        DrawShadedRing(wmf, 20, 20, 15, 15, 4, kWhite, kBlack, 6, kKnobShading);
        DeleteMetaFile(CloseMetaFile(wmf));
    };
    everything();  // warm up whatever the system caches on first use
    const int before = CountGdiObjects();
    CHECK(before > 0);
    for (int i = 0; i < 10; ++i) everything();
    CHECK(CountGdiObjects() == before);
    CHECK(GetCurrentObject(c.dc(), OBJ_PEN) == penBefore);
    CHECK(GetCurrentObject(c.dc(), OBJ_BRUSH) == brushBefore);

    // The counter itself sees a leak.
    HBRUSH leaked = CreateSolidBrush(RGB(1, 2, 3));
    CHECK(CountGdiObjects() == before + 1);
    DeleteObject(leaked);
}

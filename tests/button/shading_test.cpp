// The button's forms of the shading routines (whole-degree blends, 2r + 3
// lines, the flat ring without frame), the quadratic gradient fill, and the
// direct DIB pixel path against SetPixelV, clip regions included.
#include <doctest/doctest.h>

#include "canvas.h"
#include "common/color.h"
#include "common/gdi.h"
#include "common/shading.h"

using namespace testsupport;

namespace {

const RingShading kButton{0, 0, 0.5f, true, false};

// Runs draw once through SetPixelV and once through the direct path, each
// on a fresh canvas with `clip` (device coordinates) selected, and compares.
void SamePixels(int w, int h, HRGN clip, const std::function<void(const gdi::PixelTarget&)>& draw) {
    DibCanvas slow(w, h, kUnpainted), fast(w, h, kUnpainted);
    for (DibCanvas* c : {&slow, &fast}) SelectClipRgn(c->dc(), clip);
    draw(gdi::PixelTarget(slow.dc()));
    const gdi::PixelTarget direct = gdi::PixelTarget::ForDC(fast.dc());
    REQUIRE(direct.direct());
    draw(direct);
    GdiFlush();
    int differ = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) differ += slow.Pixel(x, y) != fast.Pixel(x, y);
    CHECK(differ == 0);
    CHECK(fast.Count(kUnpainted) < w * h);  // something was drawn
}

}  // namespace

TEST_CASE("the whole-degree blends: the light colour at the upper left, 254 from the entry of 181 degrees") {
    CHECK(BlendColorByDegree(-2.356, RGB(10, 20, 30), RGB(200, 200, 200)) == RGB(10, 20, 30));
    CHECK(BlendColorByDegree(0.785, RGB(0, 0, 0), RGB(255, 255, 255)) == RGB(254, 254, 254));
    // Two angles within one degree give one colour; the knob's blend tells them apart.
    const double a = 0.30, b = 0.30 + 0.8 * 3.141592653589793 / 180;
    CHECK(BlendColorByDegree(a, 0, RGB(255, 255, 255)) == BlendColorByDegree(b, 0, RGB(255, 255, 255)));
    CHECK(BlendColorByAngle(a, 0, RGB(255, 255, 255)) != BlendColorByAngle(b, 0, RGB(255, 255, 255)));
    CHECK(BlendColorByDegreeCurve(1.0, RGB(0, 0, 0), RGB(100, 100, 100), 0.0f, 0.5f) == RGB(0, 0, 0));
    CHECK(BlendColorByDegreeCurve(1.0, RGB(0, 0, 0), RGB(100, 100, 100), 1.0f, 0.5f) == RGB(100, 100, 100));
}

TEST_CASE("ring styles in the button's forms: guards, lines of 2r + 3 pixels, the flat ring without frame") {
    DibCanvas c(80, 80, kUnpainted);
    // Style 4 needs both radii at least 2; styles 5 and 6 a width below r - 2.
    DrawShadedRing(gdi::PixelTarget(c.dc()), 40, 40, 1, 20, 0, 0, RGB(255, 255, 255), RING_DISC, kButton);
    DrawShadedRing(gdi::PixelTarget(c.dc()), 40, 40, 20, 20, 18, 0, RGB(255, 255, 255), RING_FLAT, kButton);
    DrawShadedRing(gdi::PixelTarget(c.dc()), 40, 40, 20, 20, 18, 0, RGB(255, 255, 255), RING_GRADIENT, kButton);
    CHECK(c.Count(kUnpainted) == 80 * 80);

    // A zero radius: a line in the first colour, one pixel past each end, curved form too.
    const RingShading curved{0, 0, 0.3f, true, false};
    DrawShadedRing(gdi::PixelTarget(c.dc()), 40, 40, 2, 12, 0, RGB(255, 0, 0), RGB(0, 0, 255), RING_DISC, curved);
    const RECT column{40, 40 - 10 - 1, 41, 40 + 10 + 2};  // the innermost outline: rx 0, ry 10
    CHECK(c.All(GradedColor(RGB(255, 0, 0), RGB(0, 0, 255), 2, 4), column));

    // Style 6: the ring in c2 with the upper-left part in c1, no black frame.
    c.Fill(kUnpainted);
    DrawShadedRing(gdi::PixelTarget(c.dc()), 40, 40, 30, 30, 5, RGB(255, 255, 255), RGB(0, 0, 255), RING_FLAT,
                   kButton);
    CHECK(c.Count(RGB(0, 0, 0)) == 0);
    CHECK(c.Pixel(40 - 26, 40 - 5) == RGB(255, 255, 255));
    CHECK(c.Pixel(40 + 26, 40 + 5) == RGB(0, 0, 255));
}

TEST_CASE("the quadratic gradient fill: the worked numbers, the mirror, clamping and the region") {
    DibCanvas c(20, 20, kUnpainted);
    FillQuadraticGradient(gdi::PixelTarget(c.dc()), RECT{0, 0, 10, 10}, nullptr, POINT{0, 0}, RGB(0, 0, 0),
                          RGB(255, 255, 255), false);
    CHECK(c.Pixel(0, 0) == RGB(0, 0, 0));
    CHECK(c.Pixel(10, 10) == RGB(255, 255, 255));
    CHECK(c.Pixel(10, 0) == RGB(255, 255, 255));
    CHECK(c.Pixel(5, 5) == RGB(111, 111, 111));  // 63 + trunc(25 * (255 - 63) / 100)
    CHECK(c.Pixel(11, 5) == kUnpainted);

    c.Fill(kUnpainted);
    FillQuadraticGradient(gdi::PixelTarget(c.dc()), RECT{0, 0, 10, 10}, nullptr, POINT{10, 10}, RGB(0, 0, 0),
                          RGB(255, 255, 255), true);
    CHECK(c.Pixel(10, 10) == RGB(0, 0, 0));
    CHECK(c.Pixel(0, 0) == RGB(255, 255, 255));
    CHECK(c.Pixel(5, 5) == RGB(111, 111, 111));

    // Past the far corner the channels would leave 0..255: clamped.
    c.Fill(kUnpainted);
    FillQuadraticGradient(gdi::PixelTarget(c.dc()), RECT{0, 0, 19, 19}, nullptr, POINT{0, 0}, RGB(0, 0, 0),
                          RGB(255, 255, 255), false);
    FillQuadraticGradient(gdi::PixelTarget(c.dc()), RECT{0, 0, 19, 19}, nullptr, POINT{15, 15}, RGB(250, 0, 0),
                          RGB(10, 255, 0), false);
    CHECK(c.Pixel(0, 0) == RGB(255, 0, 0));

    // Only the region's pixels; none when right < left.
    c.Fill(kUnpainted);
    gdi::Region disc(CreateEllipticRgn(0, 0, 20, 20));
    FillQuadraticGradient(gdi::PixelTarget(c.dc()), RECT{0, 0, 19, 19}, disc, POINT{0, 0}, 0, RGB(255, 255, 255),
                          false);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) CHECK((c.Pixel(x, y) != kUnpainted) == (PtInRegion(disc, x, y) != 0));
    c.Fill(kUnpainted);
    FillQuadraticGradient(gdi::PixelTarget(c.dc()), RECT{5, 0, 4, 10}, nullptr, POINT{0, 0}, 0, 0, false);
    CHECK(c.Count(kUnpainted) == 400);
}

TEST_CASE("the gradient fill's direct DIB path sets exactly the pixels SetPixelV sets, inside any clip region") {
    gdi::Region ring(CreateEllipticRgn(10, 10, 150, 110));
    gdi::Region hole(CreateRectRgn(60, 40, 100, 70));
    CombineRgn(ring, ring, hole, RGN_DIFF);
    for (HRGN clip : {(HRGN) nullptr, ring.get()}) {
        INFO("clipped " << (clip != nullptr));
        SamePixels(160, 120, clip, [](const gdi::PixelTarget& t) {
            FillQuadraticGradient(t, RECT{0, 0, 159, 119}, nullptr, POINT{30, 20}, RGB(250, 250, 200),
                                  RGB(0, 60, 120), false);
        });
    }
    // A clip given to the target itself, in logical coordinates of a moved origin.
    SamePixels(160, 120, nullptr, [&](const gdi::PixelTarget& t) {
        SetViewportOrgEx(t.dc(), 7, 5, nullptr);
        gdi::Region logical(CreateEllipticRgn(0, 0, 120, 90));
        FillQuadraticGradient(t.direct() ? gdi::PixelTarget::ForDC(t.dc()).ClippedTo(logical) : t.ClippedTo(logical),
                              RECT{0, 0, 140, 100}, nullptr, POINT{0, 0}, 0, RGB(255, 200, 100), false);
        SetViewportOrgEx(t.dc(), 0, 0, nullptr);
    });
}

// Gradient band and quadrilateral fills, read back from a 32-bit DIB section.
#include <doctest/doctest.h>

#include <windows.h>

#include <cmath>
#include <limits>

#include "common/gradient.h"
#include "tests/support/canvas.h"

using namespace testsupport;

namespace {

constexpr COLORREF kBlank = RGB(255, 0, 255);

// One channel by the rule the fills follow: the fraction `level` of the way
// over the first half of the span, the rest over the second, each part
// truncated toward zero, the sum clamped to 0..255. The level is a float,
// as the callers pass it.
int Expected(int o, int inner, float level, int t, int L) {
    const int d = inner - o, H = L / 2;
    const double v = t < H ? o + std::trunc(d * level * t / (L * 0.5))
                           : o + std::trunc(d * level) + std::trunc(d * (1 - level) * (t - H) / (L * 0.5));
    return v < 0 ? 0 : v > 255 ? 255 : static_cast<int>(v);
}

COLORREF ExpectedColour(COLORREF from, COLORREF to, float level, int t, int L) {
    return RGB(Expected(GetRValue(from), GetRValue(to), level, t, L),
               Expected(GetGValue(from), GetGValue(to), level, t, L),
               Expected(GetBValue(from), GetBValue(to), level, t, L));
}

}  // namespace

TEST_CASE("a gradient band shades inward from the edge, one ring per step, the first step unpainted") {
    const COLORREF outer = RGB(10, 200, 90), inner = RGB(250, 20, 180);
    for (int corner : {0, 8}) {
        CAPTURE(corner);
        DibCanvas c(100, 100, kBlank);
        FillGradientBand(c.dc(), RECT{0, 0, 100, 100}, 6, corner, corner, 0.9f, outer, inner);
        // Along the middle row from the left edge: step 1, six rings of one pixel.
        CHECK(c.Pixel(0, 50) == kBlank);
        for (int t = 1; t <= 6; ++t) {
            CAPTURE(t);
            CHECK(c.Pixel(t, 50) == ExpectedColour(outer, inner, 0.9f, t, 6));
        }
        CHECK(c.Pixel(8, 50) == kBlank);
        CHECK(c.Pixel(50, 50) == kBlank);
    }
    SUBCASE("a band under one pixel wide draws nothing") {
        DibCanvas c(40, 40, kBlank);
        FillGradientBand(c.dc(), RECT{0, 0, 40, 40}, 0, 0, 0, 0.5f, outer, inner);
        CHECK(c.Count(kBlank) == 40 * 40);
    }
    SUBCASE("a wide band takes steps of width / 128") {
        DibCanvas c(700, 700, kBlank);
        FillGradientBand(c.dc(), RECT{0, 0, 700, 700}, 300, 4, 4, 0.5f, RGB(0, 0, 0), RGB(255, 255, 255));
        CHECK(c.Pixel(1, 350) == kBlank);  // inset 0 to 2 unpainted
        CHECK(c.Pixel(2, 350) == ExpectedColour(RGB(0, 0, 0), RGB(255, 255, 255), 0.5f, 2, 300));
        CHECK(c.Pixel(3, 350) == c.Pixel(2, 350));
        CHECK(c.Pixel(4, 350) == ExpectedColour(RGB(0, 0, 0), RGB(255, 255, 255), 0.5f, 4, 300));
    }
}

TEST_CASE("a gradient quadrilateral shades in strips parallel to its first edge") {
    SUBCASE("vertical strips; the last step of an odd span clamps to white instead of wrapping") {
        // 0xD0 toward white at level 0.5 over 7 pixels ends at 257 on every channel.
        DibCanvas c(20, 20, RGB(0, 0, 0));
        const COLORREF from = RGB(0xD0, 0xD0, 0xD0), white = RGB(255, 255, 255);
        FillGradientQuad(c.dc(), 0, 0, 0, 20, 7, 20, 9, 0, from, white, 0.5f);
        CHECK(c.Pixel(0, 1) == RGB(0, 0, 0));  // the strip at the first edge
        for (int t = 1; t <= 7; ++t) {
            CAPTURE(t);
            CHECK(c.Pixel(t, 1) == ExpectedColour(from, white, 0.5f, t, 7));
        }
        CHECK(c.Pixel(7, 1) == white);
    }
    SUBCASE("horizontal strips toward a third point above the first edge; a level past 1 clamps") {
        DibCanvas c(20, 21, kBlank);
        const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
        FillGradientQuad(c.dc(), 0, 20, 20, 20, 20, 0, 0, 0, black, white, 2.0f);
        CHECK(c.Pixel(5, 19) == kBlank);
        for (int t = 1; t <= 19; ++t) {
            CAPTURE(t);
            CHECK(c.Pixel(5, 19 - t) == ExpectedColour(black, white, 2.0f, t, 20));
        }
        CHECK(c.Pixel(5, 10) == white);  // t = 9: 459 before the clamp
        CHECK(c.Pixel(5, 0) == white);   // t = 19: 281, not 25
    }
    SUBCASE("an empty span draws nothing; a level that is not a number keeps the first colour") {
        DibCanvas c(20, 20, kBlank);
        FillGradientQuad(c.dc(), 0, 0, 0, 20, 0, 20, 0, 0, RGB(1, 2, 3), RGB(200, 200, 200), 0.5f);
        CHECK(c.Count(kBlank) == 400);
        FillGradientQuad(c.dc(), 0, 0, 0, 20, 10, 20, 10, 0, RGB(1, 2, 3), RGB(200, 200, 200),
                         std::numeric_limits<float>::quiet_NaN());
        CHECK(c.Pixel(5, 5) == RGB(1, 2, 3));
    }
}

TEST_CASE("gradient fills delete every region and brush they make") {
    DibCanvas c(200, 200, kBlank);
    FillGradientBand(c.dc(), RECT{0, 0, 200, 200}, 30, 0, 0, 0.5f, RGB(0, 0, 0), RGB(255, 255, 255));
    const int before = CountGdiObjects();
    for (int i = 0; i < 3; ++i) {
        FillGradientBand(c.dc(), RECT{0, 0, 200, 200}, 300, 0, 0, 0.5f, RGB(0, 0, 0), RGB(255, 255, 255));
        FillGradientBand(c.dc(), RECT{0, 0, 200, 200}, 30, 6, 6, 0.5f, RGB(0, 0, 0), RGB(255, 255, 255));
        FillGradientQuad(c.dc(), 0, 0, 0, 200, 200, 200, 200, 0, RGB(0, 0, 0), RGB(255, 255, 255), 0.5f);
        FillGradientQuad(c.dc(), 0, 0, 200, 0, 200, 200, 0, 200, RGB(0, 0, 0), RGB(255, 255, 255), 0.5f);
    }
    CHECK(CountGdiObjects() == before);
}

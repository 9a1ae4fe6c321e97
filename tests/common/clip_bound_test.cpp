// The ring and strip fills pass over what the DC cannot show: drawn through
// a small clip window, every pixel in the window equals a full paint's, for
// windows in a shape's hole, across its rim, in its band and off it.
#include <doctest/doctest.h>

#include <windows.h>

#include <functional>

#include "common/draw.h"
#include "common/gdi.h"
#include "common/gradient.h"

namespace {

constexpr int kSize = 300;

// A 32-bit DIB section of kSize square, filled with magenta.
struct Canvas {
    gdi::MemoryDC mem{nullptr, RECT{0, 0, kSize, kSize}};
    Canvas() {
        REQUIRE(mem.ok());
        const RECT all{0, 0, kSize, kSize};
        gdi::Brush fill = gdi::SolidBrush(RGB(255, 0, 255));
        FillRect(mem.dc(), &all, fill);
    }
};

const RECT kShape{50, 40, 260, 250};

const struct {
    const char* what;
    std::function<void(HDC)> draw;
} kFills[] = {
    {"gradient band, ellipse",
     [](HDC dc) { FillGradientBand(dc, kShape, 70, 0, 0, 0.3f, RGB(0, 0, 0), RGB(250, 200, 90)); }},
    {"gradient band, round rectangle",
     [](HDC dc) { FillGradientBand(dc, kShape, 70, 60, 40, 0.5f, RGB(10, 20, 30), RGB(250, 250, 250)); }},
    {"gradient ring", [](HDC dc) { DrawGradientRing(dc, kShape, 80, RGB(20, 60, 200), RGB(255, 255, 255)); }},
    {"gradient quad", [](HDC dc) {
         FillGradientQuad(dc, 20, 30, 280, 30, 220, 270, 60, 270, RGB(0, 128, 0), RGB(255, 255, 0), 0.4f);
     }},
};

const RECT kWindows[] = {
    {140, 130, 170, 160},  // in the hole
    {40, 130, 80, 160},    // across the rim
    {60, 50, 110, 100},    // in the band's corner
    {0, 0, 30, 30},        // off the shape
    {255, 240, 300, 300},  // by the far corner
};

}  // namespace

TEST_CASE("fills drawn through a clip window equal a full paint inside it") {
    for (const auto& fill : kFills) {
        CAPTURE(fill.what);
        Canvas full;
        fill.draw(full.mem.dc());
        for (const RECT& w : kWindows) {
            CAPTURE(w.left);
            CAPTURE(w.top);
            Canvas part;
            const int saved = SaveDC(part.mem.dc());
            IntersectClipRect(part.mem.dc(), w.left, w.top, w.right, w.bottom);
            fill.draw(part.mem.dc());
            RestoreDC(part.mem.dc(), saved);
            GdiFlush();
            int differing = 0;
            for (int y = w.top; y < w.bottom; ++y)
                for (int x = w.left; x < w.right; ++x) differing += part.mem.Pixel(x, y) != full.mem.Pixel(x, y);
            CHECK(differing == 0);
        }
    }
}

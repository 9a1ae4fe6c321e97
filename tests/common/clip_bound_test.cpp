// The ring and strip fills and the item marks pass over what the DC cannot
// show: drawn through a small clip window, every pixel in the window equals
// a full paint's, for windows in a shape's hole, across its rim, in its band
// and off it. A mark is compared with the plain GDI shape.
#include <doctest/doctest.h>

#include <windows.h>

#include <functional>
#include <vector>

#include "common/draw.h"
#include "common/gdi.h"
#include "common/gradient.h"
#include "common/markshape.h"

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

// For every clip window: `part` drawn through the window equals `full`
// drawn whole, inside the window.
void CheckThroughWindows(const std::function<void(HDC)>& full, const std::function<void(HDC)>& part) {
    Canvas whole;
    full(whole.mem.dc());
    for (const RECT& w : kWindows) {
        CAPTURE(w.left);
        CAPTURE(w.top);
        Canvas clipped;
        const int saved = SaveDC(clipped.mem.dc());
        IntersectClipRect(clipped.mem.dc(), w.left, w.top, w.right, w.bottom);
        part(clipped.mem.dc());
        RestoreDC(clipped.mem.dc(), saved);
        GdiFlush();
        int differing = 0;
        for (int y = w.top; y < w.bottom; ++y)
            for (int x = w.left; x < w.right; ++x) differing += clipped.mem.Pixel(x, y) != whole.mem.Pixel(x, y);
        CHECK(differing == 0);
    }
}

}  // namespace

TEST_CASE("fills drawn through a clip window equal a full paint inside it") {
    for (const auto& fill : kFills) {
        CAPTURE(fill.what);
        CheckThroughWindows(fill.draw, fill.draw);
    }
}

namespace {

POINT P(int x, int y) { return POINT{x, y}; }

const struct {
    const char* what;
    MarkShape shape;
    std::function<void(HDC)> plain;
} kMarks[] = {
    {"ellipse", MarkShape::Ellipse(50, 40, 260, 250), [](HDC dc) { Ellipse(dc, 50, 40, 260, 250); }},
    {"ellipse, corners swapped", MarkShape::Ellipse(260, 250, 50, 40), [](HDC dc) { Ellipse(dc, 260, 250, 50, 40); }},
    {"ellipse far larger than the canvas", MarkShape::Ellipse(-3000, -2000, 3300, 4000),
     [](HDC dc) { Ellipse(dc, -3000, -2000, 3300, 4000); }},
    {"rectangle, corners swapped", MarkShape::Rectangle(260, 250, 50, 40),
     [](HDC dc) { Rectangle(dc, 260, 250, 50, 40); }},
    {"diamond", MarkShape::Polygon(std::vector<POINT>{P(155, 20), P(20, 145), P(155, 290), P(290, 145)}.data(), 4),
     [](HDC dc) {
         const POINT p[] = {P(155, 20), P(20, 145), P(155, 290), P(290, 145)};
         Polygon(dc, p, 4);
     }},
    {"triangle", MarkShape::Polygon(std::vector<POINT>{P(30, 20), P(280, 60), P(90, 290)}.data(), 3),
     [](HDC dc) {
         const POINT p[] = {P(30, 20), P(280, 60), P(90, 290)};
         Polygon(dc, p, 3);
     }},
};

}  // namespace

TEST_CASE("marks drawn through a clip window equal the plain shape inside it") {
    for (const auto& mark : kMarks) {
        CAPTURE(mark.what);
        gdi::Pen pen = gdi::SolidPen(RGB(0, 0, 0));
        gdi::Brush brush = gdi::SolidBrush(RGB(30, 160, 90));
        auto with = [&](const std::function<void(HDC)>& draw) {
            return [&, draw](HDC dc) {
                gdi::Select selPen(dc, pen), selBrush(dc, brush);
                draw(dc);
            };
        };
        CheckThroughWindows(with(mark.plain), with([&](HDC dc) { mark.shape.Draw(dc, MarkClip(dc)); }));
    }
}

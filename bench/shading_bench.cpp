// Time of the shading routines per call at 100, 200 and 400 px (best of
// repeated batches): the direct
// DIB path that a screen paint takes against the SetPixelV path that a
// metafile takes, plus the shading a default knob does at 200 x 200.
//   bench_shading_bench.exe [milliseconds per measurement, default 200]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

#include "common/color.h"
#include "common/draw.h"
#include "common/gdi.h"
#include "common/shading.h"

namespace {

double Seconds() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return (double)c.QuadPart / (double)f.QuadPart;
}

// Microseconds per call: the best batch of about 10 ms within `budget`
// seconds, so that other load on the machine spoils as little as possible.
double Measure(const std::function<void()>& call, double budget) {
    call();  // warm up
    const double start = Seconds();
    double best = 1e30;
    do {
        int n = 0;
        const double batchStart = Seconds();
        double now = batchStart;
        do {
            call();
            ++n;
            now = Seconds();
        } while (now - batchStart < 0.01);
        const double perCall = (now - batchStart) * 1e6 / n;
        if (perCall < best) best = perCall;
    } while (Seconds() - start < budget);
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const double budget = (argc > 1 ? std::atof(argv[1]) : 200.0) / 1000.0;
    const COLORREF light = RGB(228, 228, 228), dark = RGB(168, 168, 168);
    const RingShading knob{135, 45, 0.5f};
    const RingShading curved{135, 45, 0.3f};

    struct Row {
        const char* name;
        int style;
        int width;
        const RingShading* shading;
    };
    const Row rows[] = {
        {"style 1 bevel", 1, 10, &knob},
        {"style 2 edges", 2, 10, &knob},
        {"style 3 tube", 3, 10, &knob},
        {"style 4 disc, rate 0.5", 4, 0, &knob},
        {"style 4 disc, rate 0.3", 4, 0, &curved},
        {"style 5 gradient", 5, 10, &knob},
        {"style 6 flat", 6, 10, &knob},
        {"style 7 edges on arc", 7, 10, &knob},
        {"style 8 tube on arc", 8, 10, &knob},
    };
    const int sizes[] = {100, 200, 400};

    std::printf("DrawShadedRing, microseconds per call (direct DIB / SetPixelV)\n");
    std::printf("%-24s", "");
    for (int s : sizes) std::printf("  %6dpx direct  SetPixelV", s);
    std::printf("\n");
    for (const Row& row : rows) {
        std::printf("%-24s", row.name);
        for (int size : sizes) {
            gdi::MemoryDC mem(nullptr, RECT{0, 0, size, size});
            if (!mem.ok()) return 1;
            const int c = size / 2;
            auto draw = [&](const gdi::PixelTarget& t) {
                DrawShadedRing(t, c, c, c, c, row.width, light, dark, row.style, *row.shading);
            };
            const gdi::PixelTarget direct = mem.Pixels();
            const gdi::PixelTarget slow(mem.dc());
            double d = Measure([&] { draw(direct); }, budget);
            double s = Measure([&] { draw(slow); }, budget);
            std::printf("  %15.1f %10.1f", d, s);
        }
        std::printf("\n");
    }

    std::printf("\nOutline routines alone, one outline, microseconds per call (direct / SetPixelV)\n");
    for (int size : sizes) {
        gdi::MemoryDC mem(nullptr, RECT{0, 0, size, size});
        const int c = size / 2;
        const gdi::PixelTarget direct = mem.Pixels();
        const gdi::PixelTarget slow(mem.dc());
        double pd = Measure([&] { DrawShadedEllipse(direct, c, c, c - 1, c - 1, light, dark); }, budget);
        double ps = Measure([&] { DrawShadedEllipse(slow, c, c, c - 1, c - 1, light, dark); }, budget);
        double cd = Measure([&] { DrawShadedEllipseCurve(direct, c, c, c - 1, c - 1, light, dark, 0.2f, 0.6f); }, budget);
        double cs = Measure([&] { DrawShadedEllipseCurve(slow, c, c, c - 1, c - 1, light, dark, 0.2f, 0.6f); }, budget);
        std::printf("%4dpx  DrawShadedEllipse %8.1f / %8.1f   DrawShadedEllipseCurve %8.1f / %8.1f\n", size, pd, ps, cd,
                    cs);
    }

    std::printf("\nRegion routines, microseconds per call\n");
    for (int size : sizes) {
        gdi::MemoryDC mem(nullptr, RECT{0, 0, size, size});
        const RECT rc{0, 0, size, size};
        gdi::Region region(CreateEllipticRgn(size / 4, size / 4, 3 * size / 4, 3 * size / 4));
        double g = Measure([&] { DrawGradientRing(mem.dc(), rc, 10, RGB(0, 0, 128), RGB(255, 255, 255)); }, budget);
        double e = Measure([&] { DrawRegionEdge3D(mem.dc(), region, false, 3); }, budget);
        std::printf("%4dpx  DrawGradientRing width 10 %8.1f   DrawRegionEdge3D style 3 %8.1f\n", size, g, e);
    }

    // The default knob's shading at 200 x 200: panel rim PBS_RAISED (style 1
    // on the panel) and the IS_RoundButton pointer (style 1, radius 10).
    {
        gdi::MemoryDC mem(nullptr, RECT{0, 0, 200, 200});
        const gdi::PixelTarget direct = mem.Pixels();
        const COLORREF pointer = RGB(0xD0, 0xD0, 0xD0);
        double k = Measure(
            [&] {
                DrawShadedRing(direct, 100, 100, 78, 78, 10, light, dark, 1, knob);
                DrawShadedRing(direct, 60, 70, 10, 10, 0, LightTint(pointer), HalfColor(pointer), 1, knob);
            },
            budget);
        std::printf("\nDefault knob shading at 200 x 200 (direct): %.1f microseconds\n", k);
    }
    return 0;
}

// Time of one full paint of each control through IViewObject::Draw into a
// 32-bit memory DC (DIB section), beside two references measured in the same
// run at the same sizes: a plain BitBlt of the area (the floor) and the
// platform's trackbar painting itself into the same DC (WM_PRINTCLIENT).
// Medians of repeated paints. Each library's rows come from
// paint/rows_<library>.cpp; this file prints their tables. Arguments, when
// given, choose the tables: those whose title contains one of them
// (`scripts/bench frm` runs the demonstration's forms only).
#include <windows.h>
#include <ole2.h>
#include <commctrl.h>
#include <cstdio>
#include <string>
#include <vector>

#include "paint/bench.h"

namespace {

std::string SizeLabel(bench::Size s) {
    char buf[32];
    if (s.w == s.h) std::snprintf(buf, sizeof buf, "%d px", s.w);
    else std::snprintf(buf, sizeof buf, "%dx%d", s.w, s.h);
    return buf;
}

bool RunGroup(const bench::Group& g) {
    std::vector<bench::References> refs;
    for (bench::Size size : g.sizes) refs.push_back(bench::MeasureReferences(size));

    std::printf("%s %s: median ms of %d paints\n", g.title.c_str(),
                g.how.empty() ? "through IViewObject::Draw into a 32-bit DIB" : g.how.c_str(), bench::kRepeats);
    std::printf("references: BitBlt of the area, trackbar WM_PRINTCLIENT into the same DC\n\n");
    std::printf("%-32s", "");
    for (bench::Size size : g.sizes) std::printf(" | %9s: ms      xBlt    xTrack", SizeLabel(size).c_str());
    std::printf("\n%-32s", "BitBlt");
    for (const bench::References& r : refs) std::printf(" | %15.4f %7s %9s", r.blt, "1", "");
    std::printf("\n%-32s", "trackbar");
    for (const bench::References& r : refs) std::printf(" | %15.4f %7.1f %9s", r.track, r.track / r.blt, "1");
    std::printf("\n");

    const std::vector<bench::Row> rows = g.rows();
    std::vector<std::vector<double>> medians;
    for (const bench::Row& row : rows) {
        std::vector<double> ms;
        for (bench::Size size : g.sizes) {
            const double t = row.paint(size, bench::kRepeats);
            if (t < 0) {
                std::fprintf(stderr, "%s: row \"%s\" could not paint\n", g.title.c_str(), row.name.c_str());
                return false;
            }
            ms.push_back(t);
        }
        bench::PrintRow(row.name, ms, refs);
        medians.push_back(ms);
    }
    if (g.summary) g.summary(rows, medians, refs);
    std::printf("\n");
    return true;
}

}  // namespace

bool Chosen(const bench::Group& g, int argc, char** argv) {
    if (argc < 2) return true;
    for (int i = 1; i < argc; ++i)
        if (g.title.find(argv[i]) != std::string::npos) return true;
    return false;
}

int main(int argc, char** argv) {
    if (FAILED(OleInitialize(nullptr))) return 2;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    int status = 0;
    for (const bench::Group& g : bench::Groups())
        if (Chosen(g, argc, argv) && !RunGroup(g)) status = 1;
    OleUninitialize();
    std::fflush(stdout);
    ExitProcess(status);
}

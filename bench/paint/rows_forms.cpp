// The demonstration's forms in the paint benchmark: one table per child form
// at its client size. Rows: a full repaint of the form with every control in
// it (RedrawWindow with erase, all children, update now), the same form with
// a platform trackbar in place of each hosted control, and for the forms with
// timers one tick (the handler and the repaints it causes). The forms run on
// the registered libraries, created through COM as Velmora creates them.
#include <windows.h>
#include <commctrl.h>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "demo/velmora.h"
#include "forms/units.h"
#include "paint/bench.h"

namespace {

// A form of the demonstration loaded on its own (top-level, the test clock)
// at the screen's top left and shown.
struct OpenForm {
    forms::Runtime rt{GetModuleHandleW(nullptr)};
    std::shared_ptr<forms::Form> form;
    explicit OpenForm(const forms::FormDef& def) {
        rt.UseTestClock();
        try {
            form = rt.Load(def);
        } catch (const forms::RuntimeError& e) {
            std::fprintf(stderr, "%s: %s\n", def.name.c_str(), e.Describe().c_str());
            return;
        }
        SetWindowPos(form->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
        form->Show();
        Pump();
    }
    static void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    double Repaint(int repeats) {
        if (!form) return -1;
        return bench::MedianMs([&] {
            RedrawWindow(form->hwnd(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }, repeats);
    }
};

double FormRepaint(const forms::FormDef& def, int repeats) { return OpenForm(def).Repaint(repeats); }

// The same form with each hosted control hidden and a trackbar in its place.
double TrackbarForm(const forms::FormDef& def, int repeats) {
    OpenForm open(def);
    if (!open.form) return -1;
    std::vector<HWND> bars;
    for (const auto& c : open.form->controls()) {
        if (c->kind() != forms::Kind::Hosted) continue;
        ShowWindow(c->hwnd(), SW_HIDE);
        const RECT& r = c->rect();
        const DWORD orientation = r.right - r.left >= r.bottom - r.top ? TBS_HORZ : TBS_VERT;
        HWND tb = CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE | orientation | TBS_AUTOTICKS, r.left,
                                  r.top, r.right - r.left, r.bottom - r.top, open.form->hwnd(), nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        SendMessageW(tb, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
        SendMessageW(tb, TBM_SETPOS, TRUE, 50);
        bars.push_back(tb);
    }
    const double ms = open.Repaint(repeats);
    for (HWND tb : bars) DestroyWindow(tb);
    return ms;
}

// One tick of the form's timer: its handler and the repaints it causes.
double Tick(const forms::FormDef& def, DWORD interval, int repeats) {
    OpenForm open(def);
    if (!open.form) return -1;
    HWND hwnd = open.form->hwnd();
    return bench::MedianMs([&] {
        open.rt.Advance(interval);
        UpdateWindow(hwnd);
        RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }, repeats);
}

struct FormRows {
    const forms::FormDef* def;
    DWORD timer;  // 0: no timer
};

const FormRows kForms[] = {
    {&velmora::frmSmartButton1, 0}, {&velmora::frmSmartButton2, 0}, {&velmora::frmSwitch, 0},
    {&velmora::frmSlider, 50},      {&velmora::frmSwitchSlider, 0}, {&velmora::frmKnob, 100},
    {&velmora::frmSwitchKnob, 0},
};

// The slowest full repaint over the forms, against the target of one frame.
double g_slowest = 0;
std::string g_slowestName;

bool AddForm(const FormRows& f, int order) {
    bench::Group g;
    g.title = f.def->name;
    g.how = "repainted in its window (RedrawWindow: erase, all children, update now)";
    g.order = order;
    g.sizes = {bench::Size{forms::TwipsToPixelsX(f.def->width), forms::TwipsToPixelsY(f.def->height)}};
    const FormRows rows = f;
    g.rows = [rows] {
        std::vector<bench::Row> out{
            {"form, every control", [rows](bench::Size, int n) { return FormRepaint(*rows.def, n); }},
            {"form, trackbars for controls", [rows](bench::Size, int n) { return TrackbarForm(*rows.def, n); }}};
        if (rows.timer)
            out.push_back({"one tick of Timer1", [rows](bench::Size, int n) { return Tick(*rows.def, rows.timer, n); }});
        return out;
    };
    g.summary = [rows](const std::vector<bench::Row>&, const std::vector<std::vector<double>>& ms,
                       const std::vector<bench::References>&) {
        if (ms.empty() || ms[0].empty()) return;
        if (ms[0][0] > g_slowest) {
            g_slowest = ms[0][0];
            g_slowestName = rows.def->name;
        }
        if (rows.def == &velmora::frmSwitchKnob)
            std::printf("\nbusiest form: %s, full repaint %.2f ms (target: within 16 ms) %s\n",
                        g_slowestName.c_str(), g_slowest, g_slowest <= 16.0 ? "met" : "NOT MET");
    };
    return bench::AddGroup(std::move(g));
}

const bool added = [] {
    int order = 100;
    for (const FormRows& f : kForms) AddForm(f, order++);
    return true;
}();

}  // namespace

// The screenshot tour: opens every form in turn through its link label, in
// the panel's order, lets pending paints and a few timer ticks run, and
// writes the frame with the form in it as <folder>\N-<form>.png.
#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>

#include "demo/tour.h"
#include "demo/velmora.h"
#include "forms/capture.h"
#include "forms/units.h"

namespace velmora {

namespace {

void Pump(DWORD ms) {
    const DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

}  // namespace

void FitLargestForm(forms::Form& frame) {
    const DWORD style = WS_CHILD | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    int needW = 0, needH = 0;
    for (const velmora::Link& link : velmora::kLinks) {
        const forms::FormDef& def = *link.target;
        RECT r{0, 0, forms::TwipsToPixelsX(def.width), forms::TwipsToPixelsY(def.height)};
        AdjustWindowRectEx(&r, style, FALSE, WS_EX_MDICHILD);
        needW = std::max<int>(needW, forms::TwipsToPixelsX(def.left) + r.right - r.left);
        needH = std::max<int>(needH, forms::TwipsToPixelsY(def.top) + r.bottom - r.top);
    }
    RECT client, mdi;
    GetClientRect(frame.hwnd(), &client);
    GetClientRect(frame.mdiClient(), &mdi);
    RECT window;
    GetWindowRect(frame.hwnd(), &window);
    // Slack for the MDI client's edge and scroll bars that may still show.
    const int growW = std::max(0, needW - static_cast<int>(mdi.right)) + 8;
    const int growH = std::max(0, needH - static_cast<int>(mdi.bottom)) + 8;
    SetWindowPos(frame.hwnd(), nullptr, 0, 0, window.right - window.left + growW, window.bottom - window.top + growH,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

namespace {

void Click(HWND label) {
    SendMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

}  // namespace

std::vector<std::string> RunTour(HINSTANCE resources, const std::string& folder, std::vector<std::string>* written) {
    std::vector<std::string> failed;
    forms::Runtime runtime(resources);
    try {
        auto frame = runtime.Load(MDIFrmVelmora);
        FitLargestForm(*frame);
        frame->Show();
        Pump(300);
        int n = 0;
        for (const Link& link : kLinks) {
            ++n;
            Click((*frame)[link.label].hwnd());
            auto child = CurrentChild(*frame);
            if (!child || &child->def() != link.target) {
                failed.push_back(link.target->name);
                continue;
            }
            Pump(450);  // paints and a few ticks of the timers
            UpdateWindow(frame->hwnd());
            forms::DibCanvas shot = forms::CaptureWindow(frame->hwnd(), true);
            const std::string file = folder + "\\" + std::to_string(n) + "-" + link.target->name + ".png";
            const std::wstring wide(file.begin(), file.end());
            if (!forms::WritePng(shot, wide.c_str())) {
                failed.push_back(link.target->name);
                continue;
            }
            if (written) written->push_back(file);
        }
    } catch (const forms::RuntimeError& e) {
        std::fprintf(stderr, "the frame could not be opened: %s\n", e.Describe().c_str());
        failed.push_back(MDIFrmVelmora.name);
    }
    return failed;
}

}  // namespace velmora

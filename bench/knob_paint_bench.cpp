// Time of one full paint of the knob through IViewObject::Draw into a 32-bit
// memory DC (DIB section), at 100, 200 and 400 px square, for the defaults
// and for each border type, panel style, panel rim style and pointer style
// (one at a time), beside two references measured in the same run: a plain
// BitBlt of the same area (the floor) and the platform's trackbar painting
// itself into the same DC (WM_PRINTCLIENT). Medians of repeated paints.
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <commctrl.h>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "Tarnik.h"

namespace {

const int kSizes[] = {100, 200, 400};
const int kRepeats = 41;

double Now() {
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

// Median time in milliseconds of `repeats` runs of `work`, after two warm-up runs.
double MedianMs(const std::function<void()>& work, int repeats = kRepeats) {
    work();
    work();
    std::vector<double> t;
    t.reserve(repeats);
    for (int i = 0; i < repeats; ++i) {
        double start = Now();
        work();
        GdiFlush();
        t.push_back((Now() - start) * 1000.0);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// A 32-bit top-down DIB section in its own memory DC.
struct Dib {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    explicit Dib(int size) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = size;
        bi.bmiHeader.biHeight = -size;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, bitmap);
        PatBlt(dc, 0, 0, size, size, WHITENESS);
    }
    ~Dib() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

typedef HRESULT(STDAPICALLTYPE* GetClassObjectFn)(REFCLSID, REFIID, void**);

IClassFactory* KnobFactory() {
    HMODULE dll = LoadLibraryW(L"Tarnik.dll");
    if (!dll) return nullptr;
    auto get = reinterpret_cast<GetClassObjectFn>(GetProcAddress(dll, "DllGetClassObject"));
    IClassFactory* cf = nullptr;
    if (!get || FAILED(get(CLSID_QEV_Knob, IID_IClassFactory, reinterpret_cast<void**>(&cf)))) return nullptr;
    return cf;
}

// A new knob, initialised, with the default font of a form (Times New Roman 10).
IQEV_Knob* NewKnob(IClassFactory* cf) {
    IQEV_Knob* knob = nullptr;
    if (FAILED(cf->CreateInstance(nullptr, IID_IQEV_Knob, reinterpret_cast<void**>(&knob)))) return nullptr;
    IPersistStreamInit* init = nullptr;
    if (SUCCEEDED(knob->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&init)))) {
        init->InitNew();
        init->Release();
    }
    FONTDESC fd{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Times New Roman"), {{100000, 0}}, 500, ANSI_CHARSET,
                FALSE, FALSE, FALSE};
    IFontDisp* font = nullptr;
    if (SUCCEEDED(OleCreateFontIndirect(&fd, IID_IFontDisp, reinterpret_cast<void**>(&font)))) {
        knob->putref_Font(font);
        font->Release();
    }
    return knob;
}

struct Variant {
    std::string name;
    std::function<void(IQEV_Knob*)> apply;
};

std::vector<Variant> Variants() {
    std::vector<Variant> v;
    v.push_back({"defaults", [](IQEV_Knob*) {}});
    static const char* const borders[] = {"flat", "sunken", "raised", "circle", "3d ring",
                                          "3d gradient", "3d flat circle", "sunken circle", "raised circle",
                                          "configurable"};
    for (int i = 0; i < 10; ++i)
        v.push_back({std::string("border ") + std::to_string(i) + " " + borders[i],
                     [i](IQEV_Knob* k) { k->put_BorderType(static_cast<EdgeStyle>(i)); }});
    static const char* const panels[] = {"none", "circle", "bubble", "hover"};
    for (int i = 0; i < 4; ++i)
        v.push_back({std::string("panel ") + std::to_string(i) + " " + panels[i],
                     [i](IQEV_Knob* k) { k->put_PanelType(static_cast<PanelStyle>(i)); }});
    static const char* const rims[] = {"none", "gradient", "3d flat", "3d gradient", "3d ring", "sunken", "raised"};
    for (int i = 0; i < 7; ++i)
        v.push_back({std::string("panel rim ") + std::to_string(i) + " " + rims[i],
                     [i](IQEV_Knob* k) { k->put_PanelBorderType(static_cast<PanelBorderStyle>(i)); }});
    static const char* const pointers[] = {"rect flat", "rect 3d", "circle", "slide circle", "round button",
                                           "slide round button", "bubble", "slide bubble", "hover", "slide hover",
                                           "needle", "bold needle", "arrow needle", "arrow", "sunken needle",
                                           "sunken bold needle", "sunken arrow needle", "sunken arrow"};
    for (int i = 0; i < 18; ++i)
        v.push_back({std::string("pointer ") + std::to_string(i) + " " + pointers[i],
                     [i](IQEV_Knob* k) { k->put_IndicatorType(static_cast<IndicatorStyle>(i)); }});
    return v;
}

// Median time of a paint of a new knob with the variant applied, through
// IViewObject::Draw into a size x size DIB; negative when no knob was made.
double PaintMs(IClassFactory* cf, const Variant& v, int size, int repeats = kRepeats) {
    IQEV_Knob* knob = NewKnob(cf);
    if (!knob) return -1;
    v.apply(knob);
    knob->UpdateValue(37.5);
    IViewObject* view = nullptr;
    knob->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&view));
    Dib target(size);
    RECTL bounds{0, 0, size, size};
    const double ms = MedianMs(
        [&] {
            view->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, target.dc, &bounds, nullptr, nullptr, 0);
        },
        repeats);
    view->Release();
    knob->Release();
    return ms;
}

}  // namespace

int main() {
    if (FAILED(OleInitialize(nullptr))) return 2;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
    InitCommonControlsEx(&icc);
    IClassFactory* cf = KnobFactory();
    if (!cf) {
        std::fprintf(stderr, "Tarnik.dll or its knob class object is missing\n");
        return 1;
    }

    // References per size: BitBlt of the area, and the trackbar painting itself.
    double blt[3], track[3];
    for (int s = 0; s < 3; ++s) {
        const int size = kSizes[s];
        Dib source(size), target(size);
        blt[s] = MedianMs([&] { BitBlt(target.dc, 0, 0, size, size, source.dc, 0, 0, SRCCOPY); });
        HWND tb = CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_POPUP | TBS_HORZ | TBS_AUTOTICKS, 0, 0, size, size,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(tb, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
        SendMessageW(tb, TBM_SETPOS, TRUE, 50);
        track[s] = MedianMs([&] {
            SendMessageW(tb, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target.dc), PRF_CLIENT | PRF_ERASEBKGND);
        });
        DestroyWindow(tb);
    }

    std::printf("Knob paint through IViewObject::Draw into a 32-bit DIB: median ms of %d paints\n", kRepeats);
    std::printf("references: BitBlt of the area, trackbar WM_PRINTCLIENT into the same DC\n\n");
    std::printf("%-32s", "");
    for (int size : kSizes) std::printf(" | %4d px: ms      xBlt    xTrack", size);
    std::printf("\n%-32s", "BitBlt");
    for (int s = 0; s < 3; ++s) std::printf(" | %15.4f %7s %9s", blt[s], "1", "");
    std::printf("\n%-32s", "trackbar");
    for (int s = 0; s < 3; ++s) std::printf(" | %15.4f %7.1f %9s", track[s], track[s] / blt[s], "1");
    std::printf("\n");

    double worst[3] = {0, 0, 0};
    std::string worstName[3];
    double defaults[3] = {0, 0, 0};
    for (const Variant& v : Variants()) {
        std::printf("%-32s", v.name.c_str());
        for (int s = 0; s < 3; ++s) {
            const double ms = PaintMs(cf, v, kSizes[s]);
            if (ms < 0) return 1;
            std::printf(" | %15.4f %7.1f %9.2f", ms, ms / blt[s], ms / track[s]);
            if (ms > worst[s]) {
                worst[s] = ms;
                worstName[s] = v.name;
            }
            if (v.name == "defaults") defaults[s] = ms;
        }
        std::printf("\n");
    }
    std::printf("\nsummary:\n");
    for (int s = 0; s < 3; ++s)
        std::printf("  %3d px: defaults %.3f ms, slowest %.3f ms (%s), trackbar %.3f ms, BitBlt %.4f ms\n", kSizes[s],
                    defaults[s], worst[s], worstName[s].c_str(), track[s], blt[s]);
    std::printf("  targets: defaults at 200 px within 1 ms: %s; every style at 400 px within 4 ms: %s\n",
                defaults[1] <= 1.0 ? "met" : "MISSED", worst[2] <= 4.0 ? "met" : "MISSED");

    // Outside the targets: a bubble pointer far larger than the knob, whose
    // shaded disc is centred thousands of pixels off it.
    const Variant huge{"pointer 6 bubble, size 32767", [](IQEV_Knob* k) {
                           k->put_IndicatorType(IS_Bubble);
                           k->put_IndicatorSize(32767);
                       }};
    std::printf("\n%-32s", huge.name.c_str());
    for (int s = 0; s < 3; ++s) {
        const double ms = PaintMs(cf, huge, kSizes[s], 5);
        if (ms < 0) return 1;
        std::printf(" | %15.4f %7.1f %9.2f", ms, ms / blt[s], ms / track[s]);
    }
    std::printf("\n");
    cf->Release();
    OleUninitialize();
    std::fflush(stdout);
    ExitProcess(0);
}

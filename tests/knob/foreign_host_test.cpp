// The knob in a container nobody here wrote: the platform's own ActiveX host
// window, which creates it by ProgID, initialises it before giving it a site,
// offers no ambient properties and connects no events.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>

#include "Tarnik.h"
#include "tests/support/canvas.h"
#include "tests/support/host.h"

using namespace testsupport;

TEST_CASE("the platform's host window creates, shows and releases the registered knob") {
    TestWindow window(240, 240);
    IUnknown* unk = nullptr;
    HWND host = CreatePlatformHost(window, L"Tarnik.QEV_Knob", RECT{20, 20, 220, 220}, &unk);
    REQUIRE(host != nullptr);
    REQUIRE(unk != nullptr);
    IQEV_Knob* knob = nullptr;
    REQUIRE(unk->QueryInterface(IID_IQEV_Knob, reinterpret_cast<void**>(&knob)) == S_OK);

    // Initialised before it had a site: the window colour, and still a font.
    OLE_COLOR back = 0;
    knob->get_BkColor(&back);
    CHECK(back == GetSysColor(COLOR_WINDOW));
    IFontDisp* font = nullptr;
    knob->get_Font(&font);
    CHECK(font != nullptr);
    if (font) font->Release();

    // In place with a window of its own, and it paints it.
    LONG hwnd = 0;
    knob->get_hWnd(&hwnd);
    REQUIRE(hwnd != 0);
    HWND own = reinterpret_cast<HWND>((LONG_PTR)hwnd);
    CHECK(IsChild(window, own));
    knob->put_BkColor(RGB(0, 0, 255));
    knob->UpdateValue(20);
    PumpPending();
    DibCanvas shot = CaptureWindow(own);
    CHECK(shot.Pixel(3, 3) == RGB(0, 0, 255));

    knob->Release();
    unk->Release();
    DestroyWindow(host);
    PumpPending();
}

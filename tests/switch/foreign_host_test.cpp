// The switch in a container nobody here wrote: the platform's own ActiveX
// host window, which creates it by ProgID, initialises it before giving it a
// site, offers no ambient properties and connects no events.
#include "switch_test_util.h"
#include "canvas.h"

using namespace switchtest;

TEST_CASE("the platform's host window creates, shows, clicks and releases the registered switch") {
    TestWindow window(240, 240);
    Ptr<IUnknown> unk;
    HWND host = CreatePlatformHost(window, L"Wendal.QEV_Switch", RECT{20, 20, 140, 100}, unk.out());
    REQUIRE(host != nullptr);
    REQUIRE(unk.p != nullptr);
    Ptr<IQEV_Switch> sw;
    REQUIRE(unk->QueryInterface(kIidSwitch, sw.pv()) == S_OK);

    // Initialised before it had a site: still a font.
    Ptr<IFontDisp> font;
    sw->get_Font(font.out());
    CHECK(font.p != nullptr);

    LONG hwnd = 0;
    sw->get_hWnd(&hwnd);
    REQUIRE(hwnd != 0);
    HWND own = reinterpret_cast<HWND>((LONG_PTR)hwnd);
    CHECK(IsChild(window, own));
    sw->put_BkColor(RGB(0, 0, 255));
    PumpPending();
    DibCanvas shot = CaptureWindow(own);
    CHECK(shot.Pixel(0, 0) == RGB(0, 0, 255));

    // A click toggles it, with nobody listening to its events.
    SendMessageW(own, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    SendMessageW(own, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    VARIANT_BOOL v = VARIANT_TRUE;
    sw->get_Value(&v);
    CHECK(v == VARIANT_FALSE);

    sw.reset();
    unk.reset();
    DestroyWindow(host);
    PumpPending();
}

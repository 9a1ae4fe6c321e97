// Both controls in a container nobody here wrote: the platform's own ActiveX
// host window, which creates them by ProgID, initialises them before giving
// them a site, offers no ambient properties and connects no events.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>

#include "Morvel.h"
#include "tests/support/canvas.h"
#include "tests/support/host.h"

using namespace testsupport;

TEST_CASE("the platform's host window creates, shows and releases the registered slider and switch slider") {
    struct Case {
        const wchar_t* progId;
        const IID* iid;
    } cases[] = {{L"Morvel.QEV_Slider", &IID_IQEV_Slider}, {L"Morvel.QEV_SwitchSlider.3", &IID_IQEV_SwitchSlider}};
    for (const Case& c : cases) {
        TestWindow window(240, 140);
        IUnknown* unk = nullptr;
        HWND host = CreatePlatformHost(window, c.progId, RECT{20, 20, 220, 120}, &unk);
        REQUIRE(host != nullptr);
        REQUIRE(unk != nullptr);
        IDispatch* ctl = nullptr;
        REQUIRE(unk->QueryInterface(*c.iid, reinterpret_cast<void**>(&ctl)) == S_OK);

        // Both interfaces put BkColor at 2 and hWnd's window in place.
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        VARIANT v;
        VariantInit(&v);
        REQUIRE(ctl->Invoke(2, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr) == S_OK);
        CHECK((COLORREF)V_I4(&v) == GetSysColor(COLOR_WINDOW));  // initialised before it had a site
        HWND own = nullptr;
        IOleWindow* ow = nullptr;
        REQUIRE(unk->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(&ow)) == S_OK);
        ow->GetWindow(&own);
        ow->Release();
        REQUIRE(own != nullptr);
        CHECK(IsChild(window, own));

        VARIANT blue;
        V_VT(&blue) = VT_I4;
        V_I4(&blue) = RGB(0, 0, 255);
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS put{&blue, &named, 1, 1};
        REQUIRE(ctl->Invoke(2, IID_NULL, 0, DISPATCH_PROPERTYPUT, &put, nullptr, nullptr, nullptr) == S_OK);
        RedrawWindow(own, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        PumpPending();
        DibCanvas shot = CaptureWindow(own);
        CHECK(shot.Pixel(3, 3) == RGB(0, 0, 255));

        ctl->Release();
        unk->Release();
        DestroyWindow(host);
        PumpPending();
    }
}

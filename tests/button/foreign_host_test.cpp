// The smart button in a container nobody here wrote: the platform's own ActiveX host
// window, which creates it by ProgID, initialises it before giving it a site,
// offers no ambient properties and connects no events.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>

#include <string>

#include "Pellan.h"
#include "tests/support/canvas.h"
#include "tests/support/host.h"

using namespace testsupport;

namespace {

typedef BOOL(WINAPI* AxWinInit)();
typedef HRESULT(WINAPI* AxGetControl)(HWND, IUnknown**);

}  // namespace

TEST_CASE("the platform's host window creates, shows and releases the registered smart button") {
    HMODULE atl = LoadLibraryW(L"atl.dll");
    REQUIRE(atl != nullptr);
    auto init = reinterpret_cast<AxWinInit>(GetProcAddress(atl, "AtlAxWinInit"));
    auto getControl = reinterpret_cast<AxGetControl>(GetProcAddress(atl, "AtlAxGetControl"));
    REQUIRE((init && getControl));
    REQUIRE(init());

    TestWindow window(240, 240);
    HWND host = CreateWindowExW(0, L"AtlAxWin", L"Pellan.QEV_SmartButton", WS_CHILD | WS_VISIBLE, 20, 20, 200, 200, window,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    REQUIRE(host != nullptr);
    IUnknown* unk = nullptr;
    REQUIRE(getControl(host, &unk) == S_OK);
    REQUIRE(unk != nullptr);
    IQEV_SmartButton* button = nullptr;
    REQUIRE(unk->QueryInterface(IID_IQEV_SmartButton, reinterpret_cast<void**>(&button)) == S_OK);

    // Initialised before it had a site: its own defaults, and still a font.
    BSTR caption = nullptr;
    button->get_Caption(&caption);
    CHECK(std::wstring(caption) == L"SButton");
    SysFreeString(caption);
    IFontDisp* font = nullptr;
    button->get_Font(&font);
    CHECK(font != nullptr);
    if (font) font->Release();

    // In place with a window of its own, and it paints it.
    LONG hwnd = 0;
    button->get_hWnd(&hwnd);
    REQUIRE(hwnd != 0);
    HWND own = reinterpret_cast<HWND>((LONG_PTR)hwnd);
    CHECK(IsChild(window, own));
    // Without ambients the corners outside a circle take the window colour.
    button->put_FaceColor(RGB(0, 0, 255));
    button->put_ShapeType(BSS_CIRCLE);
    InvalidateRect(own, nullptr, FALSE);
    PumpPending();
    DibCanvas shot = CaptureWindow(own);
    CHECK(shot.Pixel(100, 60) == RGB(0, 0, 255));  // above the caption
    // The system's paint came with a DC: the window now has the round shape.
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    CHECK(GetWindowRgn(own, probe) != ERROR);
    CHECK(PtInRegion(probe, 2, 2) == FALSE);
    DeleteObject(probe);

    button->Release();
    unk->Release();
    DestroyWindow(host);
    PumpPending();
}

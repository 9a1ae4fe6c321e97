// The environment every other test relies on: a 24- or 32-bit display, real
// windows whose pixels can be read back, 32-bit DIB sections, OLE font names
// kept by the prefix's font replacements, and crash dialogs switched off.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

namespace {

const COLORREF kProbe = RGB(0x12, 0x9A, 0xE4);

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_ERASEBKGND)
        return 1;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

struct TestWindow {
    HWND hwnd = nullptr;
    TestWindow(int width, int height)
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = PlainProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"QevHarnessWindow";
        RegisterClassW(&wc);  // a second registration fails harmlessly
        hwnd = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"harness", WS_POPUP | WS_VISIBLE,
                               40, 40, width, height, nullptr, nullptr, wc.hInstance, nullptr);
    }
    ~TestWindow()
    {
        if (hwnd)
            DestroyWindow(hwnd);
    }
};

struct DibSection {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    DWORD* bits = nullptr;
    DibSection(int width, int height)
    {
        BITMAPINFO bmi = {};
        bmi.bmiHeader.biSize = sizeof(bmi.bmiHeader);
        bmi.bmiHeader.biWidth = width;
        bmi.bmiHeader.biHeight = -height;  // top-down rows
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 32;
        bmi.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        void* p = nullptr;
        bitmap = CreateDIBSection(dc, &bmi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<DWORD*>(p);
        if (dc && bitmap)
            old = SelectObject(dc, bitmap);
    }
    ~DibSection()
    {
        if (old)
            SelectObject(dc, old);
        if (bitmap)
            DeleteObject(bitmap);
        if (dc)
            DeleteDC(dc);
    }
};

void Fill(HDC dc, const RECT& rc, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
}

}  // namespace

TEST_CASE("the screen has 24 or 32 bits per pixel")
{
    HDC screen = GetDC(nullptr);
    REQUIRE(screen != nullptr);
    int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    CHECK((bits == 24 || bits == 32));
}

TEST_CASE("a 32-bit DIB section holds exactly the colour painted into it")
{
    DibSection dib(16, 8);
    REQUIRE(dib.bits != nullptr);
    Fill(dib.dc, RECT{0, 0, 16, 8}, RGB(255, 255, 255));
    Fill(dib.dc, RECT{4, 2, 12, 6}, kProbe);
    GdiFlush();
    // DIB pixels are 0x00RRGGBB; COLORREF is 0x00BBGGRR.
    CHECK((dib.bits[3 * 16 + 5] & 0xFFFFFF) == 0x129AE4u);
    CHECK((dib.bits[0] & 0xFFFFFF) == 0xFFFFFFu);
    CHECK(GetPixel(dib.dc, 5, 3) == kProbe);
    CHECK(GetPixel(dib.dc, 3, 3) == RGB(255, 255, 255));
}

TEST_CASE("pixels copied into a window read back from its DC")
{
    TestWindow window(64, 48);
    REQUIRE(window.hwnd != nullptr);
    UpdateWindow(window.hwnd);

    DibSection dib(64, 48);
    REQUIRE(dib.bits != nullptr);
    Fill(dib.dc, RECT{0, 0, 64, 48}, RGB(0, 0, 0));
    Fill(dib.dc, RECT{10, 10, 30, 20}, kProbe);

    HDC dc = GetDC(window.hwnd);
    REQUIRE(dc != nullptr);
    CHECK(BitBlt(dc, 0, 0, 64, 48, dib.dc, 0, 0, SRCCOPY));
    GdiFlush();
    CHECK(GetPixel(dc, 15, 15) == kProbe);
    CHECK(GetPixel(dc, 5, 5) == RGB(0, 0, 0));
    ReleaseDC(window.hwnd, dc);
}

TEST_CASE("an OLE font keeps the requested face name")
{
    // The controls' default face is "times new roman", written in lower case.
    const wchar_t* faces[] = {L"times new roman", L"Times New Roman", L"Arial", L"MS Sans Serif"};
    for (const wchar_t* face : faces) {
        CAPTURE(face);
        FONTDESC desc = {};
        desc.cbSizeofstruct = sizeof(desc);
        desc.lpstrName = const_cast<LPOLESTR>(face);
        desc.cySize.Lo = 100000;  // 10 pt
        desc.sWeight = FW_NORMAL;
        IFont* font = nullptr;
        REQUIRE(OleCreateFontIndirect(&desc, IID_IFont, reinterpret_cast<void**>(&font)) == S_OK);
        BSTR name = nullptr;
        CHECK(font->get_Name(&name) == S_OK);
        CHECK(name != nullptr);
        if (name) {
            CHECK(lstrcmpW(name, face) == 0);
            SysFreeString(name);
        }
        font->Release();
    }
}

TEST_CASE("crash dialogs are off in the test prefix")
{
    DWORD value = 1, size = sizeof(value);
    LONG rc = RegGetValueW(HKEY_CURRENT_USER, L"Software\\Wine\\WineDbg", L"ShowCrashDialog",
                           RRF_RT_REG_DWORD, nullptr, &value, &size);
    CHECK(rc == ERROR_SUCCESS);
    CHECK(value == 0);
}

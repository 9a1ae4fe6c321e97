// Values a setter accepts, at their extremes: each row sets a few properties
// of a control late-bound, then the control paints into a memory DIB, into a
// metafile and into its own window, and saves. A paint that took seconds
// would run the program into its timeout; a paint that queued another would
// leave the window with something to update after the message queue ran dry.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <functional>
#include <string>
#include <vector>

#include "canvas.h"
#include "hosted.h"
#include "persistence.h"
#include "pictures.h"

using namespace testsupport;

namespace {

const wchar_t kKnob[] = L"{4239AE66-F4F8-4D5F-A26B-CF369C4EDEA6}";
const wchar_t kSwitchKnob[] = L"{CF35E3ED-FFDB-4343-B0AE-C1073AA22190}";
const wchar_t kSlider[] = L"{A47569DD-4B28-4388-857D-45874088FDC1}";
const wchar_t kSwitchSlider[] = L"{36ED955E-C45E-4B15-90D7-AC6494A085A4}";
const wchar_t kSmartButton[] = L"{BA283D99-A0F2-45B2-94AD-A90D8F512F0E}";
const wchar_t kSwitch[] = L"{8350B0B5-E102-4E28-9E26-BA96CB522791}";

// Late-bound puts by property name; a refused value fails the row.
struct Props {
    IDispatch* d;

    void Put(const wchar_t* name, VARIANT value) const {
        LPOLESTR member = const_cast<LPOLESTR>(name);
        DISPID id = 0;
        REQUIRE_MESSAGE(d->GetIDsOfNames(IID_NULL, &member, 1, 0, &id) == S_OK, "no property ", Narrow(name));
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS params{&value, &named, 1, 1};
        const WORD how = value.vt == VT_DISPATCH ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
        CHECK_MESSAGE(d->Invoke(id, IID_NULL, 0, how, &params, nullptr, nullptr, nullptr) == S_OK, "put ",
                      Narrow(name));
        VariantClear(&value);
    }
    void Long(const wchar_t* name, LONG n) const { VARIANT v{}; v.vt = VT_I4; v.lVal = n; Put(name, v); }
    void Double(const wchar_t* name, double x) const { VARIANT v{}; v.vt = VT_R8; v.dblVal = x; Put(name, v); }
    void Bool(const wchar_t* name, bool b) const { Long(name, b ? VARIANT_TRUE : VARIANT_FALSE); }
    void Text(const wchar_t* name, const std::wstring& text) const {
        VARIANT v{};
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        Put(name, v);
    }
    // A picture loaded from a w x h bitmap file of one colour.
    void Picture(const wchar_t* name, int w, int h) const {
        VARIANT v{};
        v.vt = VT_DISPATCH;
        v.pdispVal = PictureOf(BmpFile(w, h, RGB(200, 40, 40)));
        Put(name, v);
    }

    // n numbered items through AddItem, with the control's window hidden
    // meanwhile: an active control repaints at each AddItem.
    void Items(int n) const {
        LPOLESTR member = const_cast<LPOLESTR>(L"hWnd");
        DISPID id = 0;
        REQUIRE(d->GetIDsOfNames(IID_NULL, &member, 1, 0, &id) == S_OK);
        VARIANT window{};
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        REQUIRE(d->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &window, nullptr, nullptr) == S_OK);
        const HWND w = reinterpret_cast<HWND>(static_cast<LONG_PTR>(window.lVal));
        ShowWindow(w, SW_HIDE);
        member = const_cast<LPOLESTR>(L"AddItem");
        REQUIRE(d->GetIDsOfNames(IID_NULL, &member, 1, 0, &id) == S_OK);
        for (int i = 0; i < n; ++i) {
            VARIANT args[3] = {};
            args[2].vt = args[1].vt = VT_BSTR;
            args[2].bstrVal = SysAllocString((L"k" + std::to_wstring(i)).c_str());
            args[1].bstrVal = SysAllocString((L"item " + std::to_wstring(i)).c_str());
            args[0].vt = VT_I4;
            args[0].lVal = i % 2 ? 0x0000FF : 0xFF8000;
            DISPPARAMS params{args, nullptr, 3, 0};
            CHECK(d->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr) == S_OK);
            VariantClear(&args[2]);
            VariantClear(&args[1]);
        }
        ShowWindow(w, SW_SHOWNA);
    }

    static std::string Narrow(const wchar_t* s) { return std::string(s, s + wcslen(s)); }
};

// Words of four letters and a space, `length` characters in all.
std::wstring Words(size_t length) {
    std::wstring text;
    while (text.size() < length) text += L"word ";
    text.resize(length);
    return text;
}

struct HostileRow {
    const char* what;
    const wchar_t* library;
    const wchar_t* clsid;
    std::function<void(const Props&)> set;
    SIZE size{200, 150};
};

const HostileRow kRows[] = {
    {"knob: defaults", L"Tarnik.dll", kKnob, [](const Props&) {}},
    {"switch knob: defaults", L"Tarnik.dll", kSwitchKnob, [](const Props&) {}},
    {"slider: defaults", L"Morvel.dll", kSlider, [](const Props&) {}},
    {"switch slider: defaults", L"Morvel.dll", kSwitchSlider, [](const Props&) {}},
    {"smart button: defaults", L"Pellan.dll", kSmartButton, [](const Props&) {}},
    {"switch: defaults", L"Wendal.dll", kSwitch, [](const Props&) {}},
    // Smart button and slider: text work.
    {"smart button: a wrapped caption of 65,540 spaces in a 4,659-point font", L"Pellan.dll", kSmartButton,
     [](const Props& p) {
         p.Bool(L"WordWrap", true);
         p.Text(L"Caption", std::wstring(65540, L' '));
         p.Double(L"FontSize", 4659);
     }},
    {"slider: 32,767 underlined labels", L"Morvel.dll", kSlider,
     [](const Props& p) {
         p.Long(L"TickerNum", 32767);
         p.Bool(L"FontUnderline", true);
     }},
    // Smart button: a character shape and wrapped captions placed far off the button.
    {"smart button: character shape of a 10,000-letter caption", L"Pellan.dll", kSmartButton,
     [](const Props& p) {
         p.Long(L"ShapeType", 16);
         p.Text(L"Caption", std::wstring(10000, L'W'));
     }},
    {"smart button: a wrapped caption of 140,000 letters, TextYOffset 2147483647", L"Pellan.dll", kSmartButton,
     [](const Props& p) {
         p.Bool(L"WordWrap", true);
         p.Text(L"Caption", Words(140000));
         p.Long(L"TextYOffset", 2147483647);
     }},
    {"smart button: a wrapped caption of 140,000 letters, TextYOffset -2147483648", L"Pellan.dll", kSmartButton,
     [](const Props& p) {
         p.Bool(L"WordWrap", true);
         p.Text(L"Caption", Words(140000));
         p.Long(L"TextYOffset", -2147483647 - 1);
     }},
    // Switch and switch knob: rectangles grown by negative sizes.
    {"switch: tiled 1x1 picture, border -32768", L"Wendal.dll", kSwitch,
     [](const Props& p) {
         p.Long(L"SwitchType", 0);
         p.Long(L"ImageStyle", 1);
         p.Picture(L"OnPicture", 1, 1);
         p.Long(L"BorderLen", -32768);
     }},
    {"switch: circle, border -32768", L"Wendal.dll", kSwitch,
     [](const Props& p) {
         p.Long(L"SwitchType", 3);
         p.Long(L"BorderLen", -32768);
     }},
    {"smart button: tiled 1x1 picture face, border -32768", L"Pellan.dll", kSmartButton,
     [](const Props& p) {
         p.Long(L"IconType", 12);
         p.Long(L"ImageStyle", 1);
         p.Picture(L"Picture", 1, 1);
         p.Long(L"OuterBorderLen", -32768);
     }},
    {"smart button: tiled 1x1 picture face", L"Pellan.dll", kSmartButton,
     [](const Props& p) {
         p.Long(L"IconType", 12);
         p.Long(L"ImageStyle", 1);
         p.Picture(L"Picture", 1, 1);
     }},
    {"switch knob: element indicator size -32768", L"Tarnik.dll", kSwitchKnob,
     [](const Props& p) { p.Long(L"ElementIndicatorSize", -32768); }},
    // Switch knob and switch slider: many item marks far larger than the control.
    {"switch knob: 1,000 circles of size 32767", L"Tarnik.dll", kSwitchKnob,
     [](const Props& p) {
         p.Long(L"ElementIndicatorSize", 32767);
         p.Items(1000);
     }},
    {"switch knob: 300 shaded circles of size 32767", L"Tarnik.dll", kSwitchKnob,
     [](const Props& p) {
         p.Long(L"ElementIndicatorType", 1);
         p.Long(L"ElementIndicatorSize", 32767);
         p.Items(300);
     }},
    {"switch slider: 1,000 circles of size -32768", L"Morvel.dll", kSwitchSlider,
     [](const Props& p) {
         p.Long(L"IndicatorSize", -32768);
         p.Items(1000);
     }},
};

// Whether the window still has something to paint after its queue ran dry.
bool PaintPending(HWND w) {
    PumpMessages(50);
    RECT r;
    return GetUpdateRect(w, &r, FALSE) != FALSE;
}

}  // namespace

TEST_CASE("extreme values a setter accepts paint in bounded time, never queue a paint, and save") {
    for (const HostileRow& row : kRows) {
        const std::string what = row.what;
        CAPTURE(what);
        CLSID clsid;
        REQUIRE(CLSIDFromString(const_cast<LPOLESTR>(row.clsid), &clsid) == S_OK);
        HostedControl<IDispatch> host(KeptLibrary(row.library), clsid, IID_IDispatch);
        HWND w = host.Activate(RECT{10, 10, 10 + row.size.cx, 10 + row.size.cy});
        row.set(Props{host.control});

        HRESULT hr = E_FAIL;
        DrawToDib(host.control, row.size.cx, row.size.cy, &hr);
        CHECK(hr == S_OK);
        HDC meta = CreateMetaFileW(nullptr);
        REQUIRE(meta != nullptr);
        CHECK(DrawControl(host.control, meta, RECT{0, 0, row.size.cx, row.size.cy}) == S_OK);
        DeleteMetaFile(CloseMetaFile(meta));

        for (int i = 0; i < 3; ++i) {
            InvalidateRect(w, nullptr, TRUE);
            UpdateWindow(w);
            CHECK_FALSE(PaintPending(w));
        }
        std::vector<BYTE> saved;
        CHECK(SaveControl(host.control, saved) == S_OK);
    }
}

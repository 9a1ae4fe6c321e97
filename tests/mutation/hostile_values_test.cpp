// Values a setter accepts, at their extremes: each row sets a few properties
// of a control late-bound, then the control paints into a memory DIB, into a
// metafile and into its own window, and saves. A paint that took seconds
// would run the program into its timeout; a paint that queued another would
// leave the window with something to update after the message queue ran dry.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "canvas.h"
#include "hosted.h"
#include "persistence.h"
#include "pictures.h"

using namespace testsupport;

namespace {

const wchar_t kSwitchKnob[] = L"{CF35E3ED-FFDB-4343-B0AE-C1073AA22190}";
const wchar_t kSlider[] = L"{A47569DD-4B28-4388-857D-45874088FDC1}";
const wchar_t kSwitchSlider[] = L"{36ED955E-C45E-4B15-90D7-AC6494A085A4}";
const wchar_t kSmartButton[] = L"{BA283D99-A0F2-45B2-94AD-A90D8F512F0E}";
const wchar_t kSwitch[] = L"{8350B0B5-E102-4E28-9E26-BA96CB522791}";

// One property put: a number (VT_I4 or VT_R8), a text, or a picture of
// one colour `number` pixels square.
struct Put {
    const wchar_t* name;
    VARTYPE vt;
    double number = 0;
    std::wstring text = {};
};
Put I4(const wchar_t* name, LONG n) { return Put{name, VT_I4, static_cast<double>(n)}; }
Put R8(const wchar_t* name, double x) { return Put{name, VT_R8, x}; }
Put Str(const wchar_t* name, std::wstring text) { return Put{name, VT_BSTR, 0, std::move(text)}; }
Put Pic(const wchar_t* name, int size) { return Put{name, VT_DISPATCH, static_cast<double>(size)}; }

// Words of four letters and a space, `length` characters in all.
std::wstring Words(size_t length) {
    std::wstring text;
    while (text.size() < length) text += L"word ";
    text.resize(length);
    return text;
}

DISPID IdOf(IDispatch* d, const wchar_t* name) {
    LPOLESTR member = const_cast<LPOLESTR>(name);
    DISPID id = DISPID_UNKNOWN;
    d->GetIDsOfNames(IID_NULL, &member, 1, 0, &id);
    return id;
}

// A late-bound put (put by reference for a picture); the value is freed.
HRESULT Invoke(IDispatch* d, const Put& p) {
    VARIANT v{};
    v.vt = p.vt;
    if (p.vt == VT_I4) v.lVal = static_cast<LONG>(p.number);
    else if (p.vt == VT_R8) v.dblVal = p.number;
    else if (p.vt == VT_BSTR) v.bstrVal = SysAllocStringLen(p.text.data(), static_cast<UINT>(p.text.size()));
    else v.pdispVal = PictureOf(BmpFile((int)p.number, (int)p.number, RGB(200, 40, 40)));
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&v, &named, 1, 1};
    const WORD how = p.vt == VT_DISPATCH ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
    const HRESULT hr = d->Invoke(IdOf(d, p.name), IID_NULL, 0, how, &params, nullptr, nullptr, nullptr);
    VariantClear(&v);
    return hr;
}

// n numbered items through AddItem.
void AddItems(IDispatch* d, int n) {
    const DISPID add = IdOf(d, L"AddItem");
    for (int i = 0; i < n; ++i) {
        VARIANT args[3] = {};
        args[2].vt = args[1].vt = VT_BSTR;
        args[2].bstrVal = SysAllocString((L"k" + std::to_wstring(i)).c_str());
        args[1].bstrVal = SysAllocString((L"item " + std::to_wstring(i)).c_str());
        args[0].vt = VT_I4;
        args[0].lVal = i % 2 ? 0x0000FF : 0xFF8000;
        DISPPARAMS params{args, nullptr, 3, 0};
        CHECK(d->Invoke(add, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr) == S_OK);
        VariantClear(&args[2]);
        VariantClear(&args[1]);
    }
}

struct HostileRow {
    const char* what;
    const wchar_t* library;
    const wchar_t* clsid;
    std::vector<Put> puts;
    int items = 0;  // added with the window hidden: an active control repaints at each AddItem
};

// Whether the window still has something to paint after its queue ran dry.
bool PaintPending(HWND w) {
    PumpMessages(50);
    RECT r;
    return GetUpdateRect(w, &r, FALSE) != FALSE;
}

}  // namespace

TEST_CASE("extreme values a setter accepts paint in bounded time, never queue a paint, and save") {
    const HostileRow rows[] = {
        // Text work.
        {"smart button: a wrapped caption of 65,540 spaces in a 4,659-point font", L"Pellan.dll", kSmartButton,
         {I4(L"WordWrap", -1), Str(L"Caption", std::wstring(65540, L' ')), R8(L"FontSize", 4659)}},
        {"slider: 32,767 underlined labels", L"Morvel.dll", kSlider,
         {I4(L"TickerNum", 32767), I4(L"FontUnderline", -1)}},
        {"smart button: character shape of a 10,000-letter caption", L"Pellan.dll", kSmartButton,
         {I4(L"ShapeType", 16), Str(L"Caption", std::wstring(10000, L'W'))}},
        {"smart button: a wrapped caption of 140,000 letters, TextYOffset 2147483647", L"Pellan.dll", kSmartButton,
         {I4(L"WordWrap", -1), Str(L"Caption", Words(140000)), I4(L"TextYOffset", 2147483647)}},
        {"smart button: a wrapped caption of 140,000 letters, TextYOffset -2147483648", L"Pellan.dll", kSmartButton,
         {I4(L"WordWrap", -1), Str(L"Caption", Words(140000)), I4(L"TextYOffset", -2147483647 - 1)}},
        // Rectangles grown by negative sizes.
        {"switch: tiled 1x1 picture, border -32768", L"Wendal.dll", kSwitch,
         {I4(L"SwitchType", 0), I4(L"ImageStyle", 1), Pic(L"OnPicture", 1), I4(L"BorderLen", -32768)}},
        {"switch: circle, border -32768", L"Wendal.dll", kSwitch, {I4(L"SwitchType", 3), I4(L"BorderLen", -32768)}},
        {"smart button: tiled 1x1 picture face, border -32768", L"Pellan.dll", kSmartButton,
         {I4(L"IconType", 12), I4(L"ImageStyle", 1), Pic(L"Picture", 1), I4(L"OuterBorderLen", -32768)}},
        {"switch knob: element indicator size -32768", L"Tarnik.dll", kSwitchKnob,
         {I4(L"ElementIndicatorSize", -32768)}},
        // Many item marks far larger than the control.
        {"switch knob: 1,000 circles of size 32767", L"Tarnik.dll", kSwitchKnob,
         {I4(L"ElementIndicatorSize", 32767)}, 1000},
        {"switch knob: 300 shaded circles of size 32767", L"Tarnik.dll", kSwitchKnob,
         {I4(L"ElementIndicatorType", 1), I4(L"ElementIndicatorSize", 32767)}, 300},
        {"switch slider: 1,000 circles of size -32768", L"Morvel.dll", kSwitchSlider,
         {I4(L"IndicatorSize", -32768)}, 1000},
    };
    const int cx = 200, cy = 150;
    for (const HostileRow& row : rows) {
        const std::string what = row.what;
        CAPTURE(what);
        CLSID clsid;
        REQUIRE(CLSIDFromString(const_cast<LPOLESTR>(row.clsid), &clsid) == S_OK);
        HostedControl<IDispatch> host(KeptLibrary(row.library), clsid, IID_IDispatch);
        HWND w = host.Activate(RECT{10, 10, 10 + cx, 10 + cy});
        for (const Put& p : row.puts) CHECK(Invoke(host.control, p) == S_OK);
        ShowWindow(w, SW_HIDE);
        AddItems(host.control, row.items);
        ShowWindow(w, SW_SHOWNA);

        HRESULT hr = E_FAIL;
        DrawToDib(host.control, cx, cy, &hr);
        CHECK(hr == S_OK);
        HDC meta = CreateMetaFileW(nullptr);
        REQUIRE(meta != nullptr);
        CHECK(DrawControl(host.control, meta, RECT{0, 0, cx, cy}) == S_OK);
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

// The knob library's property pages General, Scale and Others, driven through
// IPropertyPage with a page site of our own, real dialogs in a hidden window
// and the controls' own property notifications as the record of every put.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <commctrl.h>
#include <cmath>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "Tarnik.h"
#include "frame.h"
#include "pagehost.h"
#include "host.h"
#include "recorders.h"
#include "stubdispatch.h"

namespace {

// ---------------------------------------------------------------- library

const testsupport::LoadedLibrary& Tarnik() { return testsupport::KeptLibrary(L"Tarnik.dll"); }

template <class T>
T* Create(REFCLSID clsid, REFIID iid) {
    REQUIRE(Tarnik().Loaded());
    T* obj = nullptr;
    REQUIRE(Tarnik().Create(clsid, iid, reinterpret_cast<void**>(&obj)) == S_OK);
    return obj;
}

// Owns one reference.
template <class T>
struct Ref {
    T* p = nullptr;
    Ref() = default;
    explicit Ref(T* q) : p(q) {}
    ~Ref() {
        if (p) p->Release();
    }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    T* operator->() const { return p; }
    operator T*() const { return p; }
};

std::wstring Str(BSTR b) { return b ? std::wstring(b, SysStringLen(b)) : std::wstring(L"<null>"); }

// ---------------------------------------------------------------- recorders

// The page site: records every status the page reports.
using RecordingSite = testsupport::RecordingPageSite;

// Property-change notifications of one control, in order.
struct ChangeRecorder : testsupport::NotifyRecorder {
    explicit ChangeRecorder(IUnknown* control) { REQUIRE(Connect(control) == S_OK); }
    std::vector<DISPID> Changed() const { return ChangedDispids(); }
};

// ---------------------------------------------------------------- a switch knob stand-in

// Answers IQEV_SwitchKnob through its real table of operations, records every
// put and can fail one getter or setter on request (the real control never
// fails one).
struct TestSwitchKnob : testsupport::StubDispatch<IQEV_SwitchKnob, &IID_IQEV_SwitchKnob> {
    std::map<DISPID, double> values;
    std::vector<DISPID> puts;
    DISPID failGet = 0, failPut = 0;

    TestSwitchKnob() {
        values = {{3, 0},   {5, 0},  {6, 20}, {7, 20},  {8, 0},  {9, 6},  {10, 10}, {13, 4},  {14, 0.5}, {15, 135},
                  {16, 45}, {17, 4}, {18, 4}, {23, 0},  {25, 20}, {26, 10}, {28, 6},  {29, -1}, {30, 0},   {31, 6},
                  {46, 1}};
    }
    template <class T>
    HRESULT Get(DISPID id, T* p) {
        if (id == failGet) return E_FAIL;
        *p = static_cast<T>(values[id]);
        return S_OK;
    }
    template <class T>
    HRESULT Put(DISPID id, T v) {
        if (id == failPut) return E_FAIL;
        puts.push_back(id);
        values[id] = static_cast<double>(v);
        return S_OK;
    }


#define TSK_PROP(id, Name, T)                                            \
    STDMETHODIMP get_##Name(T* p) override { return Get(id, p); }      \
    STDMETHODIMP put_##Name(T v) override { return Put(id, v); }
#define TSK_NONE(Name, T)                                                \
    STDMETHODIMP get_##Name(T*) override { return E_NOTIMPL; }         \
    STDMETHODIMP put_##Name(T) override { return E_NOTIMPL; }
    TSK_PROP(1, BkColor, OLE_COLOR)
    TSK_PROP(2, PanelColor, OLE_COLOR)
    TSK_PROP(3, InverseDirection, VARIANT_BOOL)
    TSK_PROP(4, IndicatorColor, OLE_COLOR)
    TSK_PROP(5, BorderType, EdgeStyle)
    TSK_PROP(6, OuterTextHeight, short)
    TSK_PROP(7, OuterTextLength, short)
    TSK_PROP(8, PanelType, PanelStyle)
    TSK_PROP(9, PanelBorderType, PanelBorderStyle)
    TSK_PROP(10, PanelBorderLen, short)
    TSK_PROP(11, PanelBorderDarkColor, OLE_COLOR)
    TSK_PROP(12, PanelBorderLightColor, OLE_COLOR)
    TSK_PROP(13, IndicatorType, IndicatorStyle)
    TSK_PROP(14, GradientRate, float)
    TSK_PROP(15, StartAngle, short)
    TSK_PROP(16, EndAngle, short)
    TSK_PROP(17, OuterBorderLen, short)
    TSK_PROP(18, InnerBorderLen, short)
    TSK_PROP(19, BorderDarkColor, OLE_COLOR)
    TSK_PROP(20, BorderLightColor, OLE_COLOR)
    TSK_NONE(Font, IFontDisp*)
    STDMETHODIMP putref_Font(IFontDisp*) override { return E_NOTIMPL; }
    TSK_PROP(22, CircleColor, OLE_COLOR)
    TSK_PROP(23, SliderType, SlideStyle)
    TSK_PROP(24, SliderColor, OLE_COLOR)
    TSK_PROP(25, IndicatorSize, short)
    TSK_PROP(26, SliderWidth, short)
    TSK_PROP(27, MarkerColor, OLE_COLOR)
    TSK_PROP(28, MarkerType, MarkerStyle)
    TSK_PROP(29, MarkerVisible, VARIANT_BOOL)
    TSK_PROP(30, ElementIndicatorType, ElementIndicatorStyle)
    TSK_PROP(31, ElementIndicatorSize, short)
    STDMETHODIMP UpdateSetpoint(BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP GetSetpoint(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP AddItem(BSTR, BSTR, OLE_COLOR) override { return E_NOTIMPL; }
    STDMETHODIMP RemoveItem(BSTR) override { return E_NOTIMPL; }
    TSK_PROP(36, Enabled, VARIANT_BOOL)
    STDMETHODIMP get_hWnd(LONG*) override { return E_NOTIMPL; }
    TSK_NONE(FontName, BSTR)
    TSK_PROP(39, FontSize, short)
    TSK_PROP(40, FontBold, VARIANT_BOOL)
    TSK_PROP(41, FontItalic, VARIANT_BOOL)
    TSK_PROP(42, FontUnderline, VARIANT_BOOL)
    TSK_PROP(43, FontStrikethrough, VARIANT_BOOL)
    TSK_PROP(44, FontWeight, short)
    TSK_PROP(45, FontCharset, short)
    TSK_PROP(46, BackStyle, BackStyleType)
#undef TSK_PROP
#undef TSK_NONE
};

// ---------------------------------------------------------------- a page on a hidden window

struct ActivePage : testsupport::PageHost {
    explicit ActivePage(REFCLSID clsid) : PageHost(Tarnik(), clsid) { REQUIRE(page != nullptr); }
};

IQEV_Knob* NewKnob() { return Create<IQEV_Knob>(CLSID_QEV_Knob, IID_IQEV_Knob); }

// Apply orders as dispatch identifiers of each interface.
const std::vector<DISPID> kGeneralKnobOrder = {12, 60, 20, 21, 25, 37, 14, 15, 29, 30, 27, 28, 39, 40, 22, 26};
const std::vector<DISPID> kGeneralSwitchOrder = {5, 46, 8, 9, 13, 23, 6, 7, 17, 18, 15, 16, 25, 26, 10, 14};
const std::vector<DISPID> kScaleOrder = {34, 51, 43, 3, 9, 4, 5, 6, 7, 13, 11, 16, 17, 18, 42, 44};
const std::vector<DISPID> kOthersOrder = {28, 30, 29, 3, 31};

}  // namespace

// ================================================================ General page

TEST_CASE("the General page shows a new knob's values") {
    Ref<IQEV_Knob> knob(NewKnob());
    ActivePage p(CLSID_GeneralProp);
    REQUIRE(p.Objects({knob.p}) == S_OK);
    REQUIRE(p.Activate() == S_OK);

    CHECK(p.Selection(202) == 0);
    CHECK(p.Selection(204) == 0);
    CHECK(p.Selection(206) == 1);
    CHECK(p.Selection(208) == 6);
    CHECK(p.Selection(210) == 4);
    CHECK(p.Selection(212) == 0);
    CHECK(p.Text(214) == L"20");
    CHECK(p.Text(216) == L"20");
    CHECK(p.Text(218) == L"4");
    CHECK(p.Text(220) == L"4");
    CHECK(p.Text(222) == L"20");
    CHECK(p.Text(224) == L"10");
    CHECK(p.Text(226) == L"135");
    CHECK(p.Text(228) == L"45");
    CHECK(p.Text(230) == L"10");
    CHECK(p.Text(232) == L"0.50");

    SUBCASE("its lists hold the enumerations in value order") {
        CHECK(p.ListTexts(202).size() == 10);
        CHECK(p.ListTexts(202)[9] == L"9 - Configurable");
        CHECK(p.ListTexts(204) == std::vector<std::wstring>{L"0 - None", L"1 - Circle", L"2 - Bubble", L"3 - Hover"});
        CHECK(p.ListTexts(206) == std::vector<std::wstring>{L"0 - Transparent", L"1 - Opaque"});
        CHECK(p.ListTexts(208)[6] == L"6 - RAISED");
        CHECK(p.ListTexts(210).size() == 18);
        CHECK(p.ListTexts(210)[16] == L"16 - Sunken_Arrow_Needle");
        CHECK(p.ListTexts(212) == std::vector<std::wstring>{L"0 - Flat", L"1 - Gradient"});
    }
    SUBCASE("digits-only boxes carry the number style, the numeric fields do not") {
        for (int id : {214, 216, 218, 220, 222, 224, 230})
            CHECK((GetWindowLongW(p.Item(id), GWL_STYLE) & ES_NUMBER) != 0);
        for (int id : {226, 228, 232}) CHECK((GetWindowLongW(p.Item(id), GWL_STYLE) & ES_NUMBER) == 0);
    }
    SUBCASE("the page is clean after activation") {
        CHECK_FALSE(p.Dirty());
        REQUIRE_FALSE(p.site.statuses.empty());
        CHECK(p.site.statuses.back() == PROPPAGESTATUS_CLEAN);
    }
}

TEST_CASE("Apply writes every field back in the page's order, changed or not") {
    Ref<IQEV_Knob> knob(NewKnob());
    ChangeRecorder rec(knob);
    ActivePage p(CLSID_GeneralProp);
    REQUIRE(p.Objects({knob.p}) == S_OK);
    REQUIRE(p.Activate() == S_OK);
    CHECK(rec.Changed().empty());
    CHECK(p.page->Apply() == S_OK);
    CHECK(rec.Changed() == kGeneralKnobOrder);
    CHECK_FALSE(p.Dirty());
    short v = 0;
    knob->get_StartAngle(&v);
    CHECK(v == 135);
}

TEST_CASE("editing marks the page dirty once and Apply makes it clean") {
    Ref<IQEV_Knob> knob(NewKnob());
    ActivePage p(CLSID_GeneralProp);
    REQUIRE(p.Objects({knob.p}) == S_OK);
    REQUIRE(p.Activate() == S_OK);
    const size_t dirtyBefore = p.site.Count(PROPPAGESTATUS_DIRTY);
    const size_t cleanBefore = p.site.Count(PROPPAGESTATUS_CLEAN);

    p.Choose(202, 9);
    CHECK(p.Dirty());
    p.SetText(214, L"33");
    p.Type(232, L"1");
    CHECK(p.site.Count(PROPPAGESTATUS_DIRTY) == dirtyBefore + 1);
    CHECK(p.site.statuses.back() == PROPPAGESTATUS_DIRTY);

    CHECK(p.page->Apply() == S_OK);
    CHECK_FALSE(p.Dirty());
    CHECK(p.site.Count(PROPPAGESTATUS_CLEAN) == cleanBefore + 1);
    EdgeStyle border;
    knob->get_BorderType(&border);
    CHECK(border == ES_CONFIGURABLE);
    short height = 0;
    knob->get_OuterTextHeight(&height);
    CHECK(height == 33);

    SUBCASE("other notifications and other ids leave the page clean") {
        SendMessageW(p.Dialog(), WM_COMMAND, MAKEWPARAM(202, CBN_DROPDOWN), (LPARAM)p.Item(202));
        SendMessageW(p.Dialog(), WM_COMMAND, MAKEWPARAM(214, EN_SETFOCUS), (LPARAM)p.Item(214));
        SendMessageW(p.Dialog(), WM_COMMAND, MAKEWPARAM(201, EN_CHANGE), (LPARAM)p.Item(201));
        CHECK_FALSE(p.Dirty());
    }
}

TEST_CASE("integer fields are read signed and cut to 16 bits") {
    Ref<IQEV_Knob> knob(NewKnob());
    ActivePage p(CLSID_GeneralProp);
    REQUIRE(p.Objects({knob.p}) == S_OK);
    REQUIRE(p.Activate() == S_OK);
    p.SetText(214, L"70000");
    p.SetText(216, L"abc");
    p.SetText(226, L"-30");
    CHECK(p.page->Apply() == S_OK);
    short v = 0;
    knob->get_OuterTextHeight(&v);
    CHECK(v == 4464);
    knob->get_OuterTextLength(&v);
    CHECK(v == 0);
    knob->get_StartAngle(&v);
    CHECK(v == -30);
}

TEST_CASE("a negative angle shows with its sign and goes back unchanged") {
    Ref<IQEV_Knob> knob(NewKnob());
    knob->put_StartAngle(-30);
    ActivePage p(CLSID_GeneralProp);
    REQUIRE(p.Objects({knob.p}) == S_OK);
    REQUIRE(p.Activate() == S_OK);
    CHECK(p.Text(226) == L"-30");
    CHECK(p.page->Apply() == S_OK);
    short v = 0;
    knob->get_StartAngle(&v);
    CHECK(v == -30);
}

TEST_CASE("the gradient rate shows two decimals and keeps its own value when untouched") {
    Ref<IQEV_Knob> knob(NewKnob());
    ActivePage p(CLSID_GeneralProp);
    REQUIRE(p.Objects({knob.p}) == S_OK);

    SUBCASE("a typed rate is stored as a float and reloads rounded") {
        REQUIRE(p.Activate() == S_OK);
        p.SetText(232, L"");
        p.Type(232, L"0.333");
        CHECK(p.Text(232) == L"0.333");
        CHECK(p.page->Apply() == S_OK);
        float rate = 0;
        knob->get_GradientRate(&rate);
        CHECK(rate == 0.333f);
        REQUIRE(p.Objects({knob.p}) == S_OK);
        CHECK(p.Text(232) == L"0.33");
    }
    SUBCASE("changing only the border type does not round the rate") {
        knob->put_GradientRate(0.123456f);
        REQUIRE(p.Activate() == S_OK);
        CHECK(p.Text(232) == L"0.12");
        p.Choose(202, 2);
        CHECK(p.page->Apply() == S_OK);
        float rate = 0;
        knob->get_GradientRate(&rate);
        CHECK(rate == 0.123456f);
    }
    SUBCASE("retyping the shown text counts as unchanged") {
        knob->put_GradientRate(0.126f);
        REQUIRE(p.Activate() == S_OK);
        p.SetText(232, L"0.5");
        p.SetText(232, L"0.13");
        CHECK(p.page->Apply() == S_OK);
        float rate = 0;
        knob->get_GradientRate(&rate);
        CHECK(rate == 0.126f);
    }
}

TEST_CASE("list selections go out as enumeration values") {
    Ref<IQEV_Knob> knob(NewKnob());
    ActivePage p(CLSID_GeneralProp);
    REQUIRE(p.Objects({knob.p}) == S_OK);

    SUBCASE("the last border type") {
        REQUIRE(p.Activate() == S_OK);
        p.Choose(202, 9);
        p.Choose(210, 17);
        CHECK(p.page->Apply() == S_OK);
        EdgeStyle border;
        knob->get_BorderType(&border);
        CHECK(border == 9);
        IndicatorStyle indicator;
        knob->get_IndicatorType(&indicator);
        CHECK(indicator == 17);
    }
    SUBCASE("a value outside the list shows no selection and goes out as -1") {
        knob->put_BorderType(static_cast<EdgeStyle>(12));
        REQUIRE(p.Activate() == S_OK);
        CHECK(p.Selection(202) == CB_ERR);
        CHECK(p.page->Apply() == S_OK);
        EdgeStyle border;
        knob->get_BorderType(&border);
        CHECK(border == -1);
    }
    SUBCASE("a reload to a value outside the list clears the old selection") {
        REQUIRE(p.Activate() == S_OK);
        CHECK(p.Selection(202) == 0);
        knob->put_BorderType(static_cast<EdgeStyle>(10));
        REQUIRE(p.Objects({knob.p}) == S_OK);
        CHECK(p.Selection(202) == CB_ERR);
    }
}

TEST_CASE("the numeric fields of the General page filter typed keys") {
    Ref<IQEV_Knob> knob(NewKnob());
    ActivePage p(CLSID_GeneralProp);
    REQUIRE(p.Objects({knob.p}) == S_OK);
    REQUIRE(p.Activate() == S_OK);
    p.SetText(226, L"");
    p.Type(226, L"-3.0");
    CHECK(p.Text(226) == L"-30");
    p.SetText(232, L"");
    p.Type(232, L"-12.5.-x");
    CHECK(p.Text(232) == L"-12.5");
    p.SetText(228, L"");
    p.Type(228, L"4-5");
    CHECK(p.Text(228) == L"4-5");
    // The digits-only boxes take no sign at all.
    p.SetText(214, L"");
    p.Type(214, L"-5");
    CHECK(p.Text(214) == L"5");
}

TEST_CASE("a failing put ends Apply with its status; earlier puts stay and the page stays dirty") {
    TestSwitchKnob sk;
    sk.failPut = 15;  // StartAngle
    ActivePage p(CLSID_GeneralProp);
    REQUIRE(p.Objects({&sk}) == S_OK);
    REQUIRE(p.Activate() == S_OK);
    p.SetText(214, L"25");
    p.SetText(228, L"50");
    CHECK(p.page->Apply() == E_FAIL);
    CHECK(sk.puts == std::vector<DISPID>{5, 46, 8, 9, 13, 23, 6, 7, 17, 18});
    CHECK(sk.values[6] == 25);
    CHECK(sk.values[16] == 45);
    CHECK(p.Dirty());
}

TEST_CASE("a failing get ends the load; later fields keep what they showed") {
    TestSwitchKnob sk;
    ActivePage p(CLSID_GeneralProp);
    REQUIRE(p.Objects({&sk}) == S_OK);
    REQUIRE(p.Activate() == S_OK);
    sk.values[6] = 30;   // OuterTextHeight, loaded before StartAngle
    sk.values[15] = 90;  // StartAngle fails
    sk.values[16] = 80;  // EndAngle, loaded after it
    sk.failGet = 15;
    CHECK(p.Objects({&sk}) == E_FAIL);
    CHECK(p.Text(214) == L"30");
    CHECK(p.Text(226) == L"135");
    CHECK(p.Text(228) == L"45");
}

// ================================================================ shared page behaviour

TEST_CASE("a page given the wrong kind of control answers E_UNEXPECTED and writes nothing") {
    SUBCASE("the Scale page and a switch knob") {
        Ref<IQEV_SwitchKnob> sk(Create<IQEV_SwitchKnob>(CLSID_QEV_SwitchKnob, IID_IQEV_SwitchKnob));
        ChangeRecorder rec(sk);
        ActivePage p(CLSID_KnobScale);
        REQUIRE(p.Objects({sk.p}) == S_OK);
        CHECK(p.Activate() == S_OK);
        CHECK(p.Text(216) == L"");
        CHECK(p.Selection(228) == CB_ERR);
        CHECK(p.page->Apply() == E_UNEXPECTED);
        CHECK(p.Objects({sk.p}) == E_UNEXPECTED);
        CHECK(rec.Changed().empty());
    }
    SUBCASE("the Others page and a knob") {
        Ref<IQEV_Knob> knob(NewKnob());
        ChangeRecorder rec(knob);
        ActivePage p(CLSID_SwitchOthersProp);
        REQUIRE(p.Objects({knob.p}) == S_OK);
        CHECK(p.Activate() == S_OK);
        CHECK(p.Text(241) == L"");
        CHECK(p.page->Apply() == E_UNEXPECTED);
        CHECK(p.Objects({knob.p}) == E_UNEXPECTED);
        CHECK(rec.Changed().empty());
    }
    SUBCASE("the General page and an object that is no control") {
        IStream* stream = nullptr;
        REQUIRE(CreateStreamOnHGlobal(nullptr, TRUE, &stream) == S_OK);
        ActivePage p(CLSID_GeneralProp);
        REQUIRE(p.Objects({stream}) == S_OK);
        CHECK(p.Activate() == S_OK);
        CHECK(p.page->Apply() == E_UNEXPECTED);
        p.page->SetObjects(0, nullptr);
        stream->Release();
    }
}

TEST_CASE("new objects reload an active page and are only kept by an inactive one") {
    Ref<IQEV_Knob> first(NewKnob());
    Ref<IQEV_Knob> second(NewKnob());
    second->put_OuterTextHeight(77);
    second->put_BackStyle(BS_Transparent);
    ActivePage p(CLSID_GeneralProp);

    SUBCASE("before activation") {
        REQUIRE(p.Objects({first.p}) == S_OK);
        REQUIRE(p.Objects({second.p}) == S_OK);
        REQUIRE(p.Activate() == S_OK);
        CHECK(p.Text(214) == L"77");
    }
    SUBCASE("after activation, and the reload leaves the page clean") {
        REQUIRE(p.Objects({first.p}) == S_OK);
        REQUIRE(p.Activate() == S_OK);
        CHECK(p.Text(214) == L"20");
        p.SetText(216, L"5");
        CHECK(p.Dirty());
        REQUIRE(p.Objects({second.p}) == S_OK);
        CHECK(p.Text(214) == L"77");
        CHECK(p.Text(216) == L"20");
        CHECK(p.Selection(206) == 0);
        CHECK_FALSE(p.Dirty());
        CHECK(p.site.statuses.back() == PROPPAGESTATUS_CLEAN);
    }
}

TEST_CASE("only the first of several objects is written") {
    Ref<IQEV_Knob> first(NewKnob());
    Ref<IQEV_Knob> second(NewKnob());
    ChangeRecorder rec2(second);
    ActivePage p(CLSID_GeneralProp);
    REQUIRE(p.Objects({first.p, second.p}) == S_OK);
    REQUIRE(p.Activate() == S_OK);
    p.SetText(222, L"31");
    CHECK(p.page->Apply() == S_OK);
    short v = 0;
    first->get_IndicatorSize(&v);
    CHECK(v == 31);
    second->get_IndicatorSize(&v);
    CHECK(v == 20);
    CHECK(rec2.Changed().empty());
}

TEST_CASE("without a dialog, load and Apply change nothing") {
    Ref<IQEV_Knob> knob(NewKnob());
    ChangeRecorder rec(knob);
    ActivePage p(CLSID_GeneralProp);
    REQUIRE(p.Objects({knob.p}) == S_OK);

    SUBCASE("never activated") {
        CHECK(p.page->Apply() == S_OK);
        CHECK(rec.Changed().empty());
    }
    SUBCASE("after Deactivate") {
        REQUIRE(p.Activate() == S_OK);
        p.SetText(214, L"99");
        REQUIRE(p.page->Deactivate() == S_OK);
        CHECK(p.Dialog() == nullptr);
        CHECK(p.Objects({knob.p}) == S_OK);
        CHECK(p.page->Apply() == S_OK);
        CHECK(rec.Changed().empty());
        short v = 0;
        knob->get_OuterTextHeight(&v);
        CHECK(v == 20);
    }
    SUBCASE("a second activation shows a fresh dialog with the lists filled once") {
        REQUIRE(p.Activate() == S_OK);
        REQUIRE(p.page->Deactivate() == S_OK);
        REQUIRE(p.Activate() == S_OK);
        CHECK(p.ListTexts(202).size() == 10);
        CHECK(p.Text(214) == L"20");
    }
}

TEST_CASE("the page's interface guards its arguments") {
    ActivePage p(CLSID_GeneralProp);
    CHECK(p.page->SetObjects(1, nullptr) == E_POINTER);
    CHECK(p.page->SetObjects(0, nullptr) == S_OK);
    CHECK(p.page->Activate(p.host, nullptr, FALSE) == E_POINTER);
    CHECK(p.page->GetPageInfo(nullptr) == E_POINTER);
    RecordingSite other;
    CHECK(p.page->SetPageSite(&other) == E_UNEXPECTED);
    CHECK(p.page->SetPageSite(nullptr) == S_OK);
    CHECK(p.page->SetPageSite(&other) == S_OK);
    CHECK(p.page->SetPageSite(nullptr) == S_OK);
    CHECK(p.page->SetPageSite(&p.site) == S_OK);
}

TEST_CASE("each page tells its title, strings and size in pixels") {
    struct Expect {
        const CLSID* clsid;
        const wchar_t* title;
        LONG cx, cy;  // dialog units
    };
    const Expect pages[] = {
        {&CLSID_GeneralProp, L"General", 307, 134},
        {&CLSID_KnobScale, L"Scale", 307, 134},
        {&CLSID_SwitchOthersProp, L"Others", 308, 134},
    };
    for (const Expect& e : pages) {
        CAPTURE(std::string(e.title, e.title + wcslen(e.title)));
        ActivePage p(*e.clsid);
        PROPPAGEINFO info = {};
        REQUIRE(p.page->GetPageInfo(&info) == S_OK);
        CHECK(info.cb == sizeof(PROPPAGEINFO));
        CHECK(std::wstring(info.pszTitle) == e.title);
        CHECK(std::wstring(info.pszDocString) == L"Your Help String");
        CHECK(std::wstring(info.pszHelpFile) == L"Help File Name");
        CHECK(info.dwHelpContext == 0);
        CoTaskMemFree(info.pszTitle);
        CoTaskMemFree(info.pszDocString);
        CoTaskMemFree(info.pszHelpFile);
        // The size the dialog manager gives the same template.
        REQUIRE(p.Activate() == S_OK);
        RECT units = {0, 0, e.cx, e.cy};
        MapDialogRect(p.Dialog(), &units);
        CHECK(info.size.cx == units.right);
        CHECK(info.size.cy == units.bottom);
        CHECK(info.size.cx > 300);
    }
}

TEST_CASE("the page dialog is a child placed where the frame asks") {
    ActivePage p(CLSID_GeneralProp);
    REQUIRE(p.Activate() == S_OK);
    HWND dlg = p.Dialog();
    REQUIRE(dlg != nullptr);
    CHECK((GetWindowLongW(dlg, GWL_STYLE) & WS_CHILD) != 0);
    CHECK_FALSE(IsWindowVisible(dlg));
    RECT rc;
    GetWindowRect(dlg, &rc);
    MapWindowPoints(nullptr, p.host, reinterpret_cast<POINT*>(&rc), 2);
    CHECK(rc.left == 10);
    CHECK(rc.top == 10);
    CHECK(rc.right == 610);
    CHECK(rc.bottom == 310);

    SUBCASE("Move and Show") {
        RECT moved = {20, 30, 220, 130};
        CHECK(p.page->Move(&moved) == S_OK);
        GetWindowRect(dlg, &rc);
        MapWindowPoints(nullptr, p.host, reinterpret_cast<POINT*>(&rc), 2);
        CHECK(rc.left == 20);
        CHECK(rc.bottom == 130);
        CHECK(p.page->Show(SW_SHOW) == S_OK);
        CHECK((GetWindowLongW(dlg, GWL_STYLE) & WS_VISIBLE) != 0);
    }
    SUBCASE("a frame turning on the extended styles gets the control-parent style too") {
        SetWindowLongW(dlg, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
        LONG ex = GetWindowLongW(dlg, GWL_EXSTYLE);
        CHECK((ex & WS_EX_CONTROLPARENT) != 0);
        CHECK((ex & WS_EX_CLIENTEDGE) != 0);
    }
    SUBCASE("keyboard and mouse messages for the dialog are translated, others are not") {
        MSG msg = {};
        msg.hwnd = p.Item(214);
        msg.message = WM_KEYDOWN;
        msg.wParam = VK_TAB;
        CHECK(p.page->TranslateAccelerator(&msg) == S_OK);
        msg.message = WM_TIMER;
        CHECK(p.page->TranslateAccelerator(&msg) == S_FALSE);
        msg.message = WM_PAINT;
        CHECK(p.page->TranslateAccelerator(&msg) == S_FALSE);
        msg.hwnd = p.host;
        msg.message = WM_KEYDOWN;
        CHECK(p.page->TranslateAccelerator(&msg) == S_FALSE);
    }
}

// ================================================================ Scale page

TEST_CASE("the Scale page shows a new knob's values") {
    Ref<IQEV_Knob> knob(NewKnob());
    ActivePage p(CLSID_KnobScale);
    REQUIRE(p.Objects({knob.p}) == S_OK);
    REQUIRE(p.Activate() == S_OK);
    CHECK(p.Text(224) == L"1");
    CHECK(p.Text(216) == L"100.0");
    CHECK(p.Text(218) == L"0.0");
    CHECK(p.Text(220) == L"6");
    CHECK(p.Text(222) == L"10");
    CHECK(p.Text(226) == L"");
    CHECK(p.Selection(228) == 3);
    CHECK(p.Selection(230) == 1);
    CHECK(p.Selection(232) == 0);
    CHECK(p.Selection(234) == 6);
    CHECK(p.Selection(236) == 0);
    CHECK(p.Checked(237));
    CHECK_FALSE(p.Checked(238));
    CHECK(p.Checked(239));
    CHECK_FALSE(p.Checked(240));
    CHECK_FALSE(p.Checked(241));
    CHECK(p.ListTexts(228) == std::vector<std::wstring>{L"0 - Outer_Only", L"1 - Inner_Only", L"2 - Both", L"3 - None"});
    CHECK(p.ListTexts(234)[8] == L"8 - Sunken_Circle");
    CHECK(p.ListTexts(236)[5] == L"5 - Bottom_None");
    CHECK_FALSE(p.Dirty());

    SUBCASE("Apply writes every field in the page's order") {
        ChangeRecorder rec(knob);
        CHECK(p.page->Apply() == S_OK);
        CHECK(rec.Changed() == kScaleOrder);
    }
}

TEST_CASE("the scale precision sets the decimals of Max and Min") {
    Ref<IQEV_Knob> knob(NewKnob());
    ActivePage p(CLSID_KnobScale);
    REQUIRE(p.Objects({knob.p}) == S_OK);
    knob->put_MinVal(-2.5);

    SUBCASE("precision 0") {
        knob->put_ScalePrecision(0);
        REQUIRE(p.Activate() == S_OK);
        CHECK(p.Text(216) == L"100");
        CHECK(p.Text(218) == L"-2");  // -2.5 rounds to even
    }
    SUBCASE("precision 2") {
        knob->put_ScalePrecision(2);
        REQUIRE(p.Activate() == S_OK);
        CHECK(p.Text(216) == L"100.00");
        CHECK(p.Text(218) == L"-2.50");
    }
    SUBCASE("a negative precision shows no decimals and harms nothing") {
        knob->put_ScalePrecision(-7);
        REQUIRE(p.Activate() == S_OK);
        CHECK(p.Text(224) == L"-7");
        CHECK(p.Text(216) == L"100");
        CHECK(p.page->Apply() == S_OK);
        double v = 0;
        knob->get_MaxVal(&v);
        CHECK(v == 100.0);
        knob->get_MinVal(&v);
        CHECK(v == -2.5);
    }
    SUBCASE("a huge precision shows fifteen decimals") {
        knob->put_ScalePrecision(32000);
        knob->put_MaxVal(1e300);
        REQUIRE(p.Activate() == S_OK);
        const std::wstring text = p.Text(216);
        REQUIRE(text.size() > 16);
        CHECK(text.substr(text.size() - 16) == L".000000000000000");
        CHECK(p.page->Apply() == S_OK);
        double v = 0;
        knob->get_MaxVal(&v);
        CHECK(v == 1e300);
    }
}

TEST_CASE("untouched Max and Min go back exactly, typed ones as typed") {
    Ref<IQEV_Knob> knob(NewKnob());
    knob->put_MaxVal(100.123456789);
    knob->put_MinVal(-0.06);
    ActivePage p(CLSID_KnobScale);
    REQUIRE(p.Objects({knob.p}) == S_OK);
    REQUIRE(p.Activate() == S_OK);
    CHECK(p.Text(216) == L"100.1");
    CHECK(p.Text(218) == L"-0.1");

    SUBCASE("an Apply that changes only a check box") {
        p.Click(241);
        CHECK(p.page->Apply() == S_OK);
        double v = 0;
        knob->get_MaxVal(&v);
        CHECK(v == 100.123456789);
        knob->get_MinVal(&v);
        CHECK(v == -0.06);
        VARIANT_BOOL side = 0;
        knob->get_ScaleSideChanged(&side);
        CHECK(side == VARIANT_TRUE);
    }
    SUBCASE("Max below Min is stored as typed, and the value is left alone") {
        knob->UpdateValue(50);
        p.SetText(216, L"10");
        p.SetText(218, L"");
        p.Type(218, L"20");
        CHECK(p.page->Apply() == S_OK);
        double v = 0;
        knob->get_MaxVal(&v);
        CHECK(v == 10);
        knob->get_MinVal(&v);
        CHECK(v == 20);
        knob->GetValue(&v);
        CHECK(v == 50);
    }
    SUBCASE("typed keys are filtered") {
        p.SetText(216, L"");
        p.Type(216, L"-1a2.5.");
        CHECK(p.Text(216) == L"-12.5");
        CHECK(p.page->Apply() == S_OK);
        double v = 0;
        knob->get_MaxVal(&v);
        CHECK(v == -12.5);
    }
}

TEST_CASE("the unit name keeps every character") {
    Ref<IQEV_Knob> knob(NewKnob());
    ActivePage p(CLSID_KnobScale);
    REQUIRE(p.Objects({knob.p}) == S_OK);
    BSTR greek = SysAllocString(L"\x03A9\x00B7m \x2192 \x6E29");
    knob->put_UnitName(greek);
    REQUIRE(p.Activate() == S_OK);
    CHECK(p.Text(226) == std::wstring(greek));

    SUBCASE("loaded and applied untouched") {
        CHECK(p.page->Apply() == S_OK);
        BSTR got = nullptr;
        knob->get_UnitName(&got);
        CHECK(Str(got) == Str(greek));
        SysFreeString(got);
    }
    SUBCASE("typed anew") {
        p.SetText(226, L"\x00B5s \x2126");
        CHECK(p.page->Apply() == S_OK);
        BSTR got = nullptr;
        knob->get_UnitName(&got);
        CHECK(Str(got) == L"\x00B5s \x2126");
        SysFreeString(got);
    }
    SUBCASE("emptied") {
        p.SetText(226, L"");
        CHECK(p.page->Apply() == S_OK);
        BSTR got = nullptr;
        knob->get_UnitName(&got);
        REQUIRE(got != nullptr);
        CHECK(SysStringLen(got) == 0);
        SysFreeString(got);
    }
    SysFreeString(greek);
}

TEST_CASE("check boxes and lists of the Scale page") {
    Ref<IQEV_Knob> knob(NewKnob());
    ActivePage p(CLSID_KnobScale);
    REQUIRE(p.Objects({knob.p}) == S_OK);
    REQUIRE(p.Activate() == S_OK);
    const size_t dirty = p.site.Count(PROPPAGESTATUS_DIRTY);
    p.Click(238);
    p.Click(239);
    p.Choose(234, 8);
    p.SetText(220, L"12");
    CHECK(p.site.Count(PROPPAGESTATUS_DIRTY) == dirty + 1);
    CHECK(p.page->Apply() == S_OK);
    VARIANT_BOOL b = 0;
    knob->get_PercentageScale(&b);
    CHECK(b == VARIANT_TRUE);
    knob->get_MarkerVisible(&b);
    CHECK(b == VARIANT_FALSE);
    MarkerStyle marker;
    knob->get_MarkerType(&marker);
    CHECK(marker == MS_Sunken_Circle);
    short ticks = 0;
    knob->get_TickerNum(&ticks);
    CHECK(ticks == 12);
}

// ================================================================ Others page

IQEV_SwitchKnob* NewSwitchKnob() { return Create<IQEV_SwitchKnob>(CLSID_QEV_SwitchKnob, IID_IQEV_SwitchKnob); }

TEST_CASE("the Others page shows a new switch knob and writes it in the page's order") {
    Ref<IQEV_SwitchKnob> sk(NewSwitchKnob());
    ChangeRecorder rec(sk);
    ActivePage p(CLSID_SwitchOthersProp);
    REQUIRE(p.Objects({sk.p}) == S_OK);
    REQUIRE(p.Activate() == S_OK);
    CHECK(p.Selection(236) == 0);
    CHECK(p.Text(241) == L"6");
    CHECK(p.Checked(239));
    CHECK(p.Selection(234) == 6);

    CHECK(p.ListTexts(236) == std::vector<std::wstring>{L"0 - Circle", L"1 - Gradient_Circle", L"2 - Line",
                                                        L"3 - Diamond", L"4 - Squre", L"5 - Triangle"});
    CHECK(p.ListTexts(234).size() == 9);
    CHECK_FALSE(p.Dirty());

    SUBCASE("untouched") {
        CHECK(p.page->Apply() == S_OK);
        CHECK(rec.Changed() == kOthersOrder);
    }
    SUBCASE("edited") {
        p.Choose(236, 3);
        p.Click(240);
        p.Click(239);
        p.SetText(241, L"70000");
        CHECK(p.Dirty());
        CHECK(p.page->Apply() == S_OK);
        CHECK_FALSE(p.Dirty());
        ElementIndicatorStyle style;
        sk->get_ElementIndicatorType(&style);
        CHECK(style == ITDIAMOND);
        VARIANT_BOOL b = 0;
        sk->get_InverseDirection(&b);
        CHECK(b == VARIANT_TRUE);
        sk->get_MarkerVisible(&b);
        CHECK(b == VARIANT_FALSE);
        short size = 0;
        sk->get_ElementIndicatorSize(&size);
        CHECK(size == 4464);
    }
}

TEST_CASE("the General page and a real switch knob") {
    Ref<IQEV_SwitchKnob> sk(NewSwitchKnob());
    sk->put_EndAngle(-45);
    ChangeRecorder rec(sk);
    rec.Clear();
    ActivePage p(CLSID_GeneralProp);
    REQUIRE(p.Objects({sk.p}) == S_OK);
    REQUIRE(p.Activate() == S_OK);
    CHECK(p.Selection(208) == 6);
    CHECK(p.Text(228) == L"-45");
    CHECK(p.Text(232) == L"0.50");
    p.SetText(224, L"14");
    CHECK(p.page->Apply() == S_OK);
    CHECK(rec.Changed() == kGeneralSwitchOrder);
    short width = 0;
    sk->get_SliderWidth(&width);
    CHECK(width == 14);
}

// ================================================================ the property frame

TEST_CASE("the Properties verb opens the property frame with the knob's own pages") {
    // The frame creates pages through COM: offer the library's class objects.
    REQUIRE(Tarnik().Loaded());
    const CLSID* pageIds[] = {&CLSID_GeneralProp, &CLSID_KnobScale};
    DWORD cookies[2] = {};
    for (int i = 0; i < 2; ++i) {
        IUnknown* cf = nullptr;
        REQUIRE(Tarnik().GetClassObject(*pageIds[i], IID_IUnknown, reinterpret_cast<void**>(&cf)) == S_OK);
        REQUIRE(CoRegisterClassObject(*pageIds[i], cf, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookies[i]) ==
                S_OK);
        cf->Release();
    }
    Ref<IQEV_Knob> knob(NewKnob());
    Ref<IOleObject> ole;
    REQUIRE(knob->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&ole.p)) == S_OK);
    HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);

    testsupport::FrameSeen seen;
    CHECK(testsupport::OpenPropertiesVerb(ole, host, seen) == S_OK);
    CHECK(seen.closed);
    CHECK(seen.Has(202, L"ComboBox"));
    CHECK(seen.tabs == 2);  // the stock colour and font pages are skipped here

    DestroyWindow(host);
    for (DWORD c : cookies) CoRevokeClassObject(c);
}

TEST_CASE("the Others page, which has no numeric field, leaves the focus where it was") {
    IQEV_SwitchKnob* sk = Create<IQEV_SwitchKnob>(CLSID_QEV_SwitchKnob, IID_IQEV_SwitchKnob);
    ActivePage p(CLSID_SwitchOthersProp);
    ShowWindow(p.host, SW_SHOWNA);
    SetFocus(p.host);
    HWND before = GetFocus();
    REQUIRE(p.Objects({sk}) == S_OK);
    REQUIRE(p.Activate() == S_OK);
    CHECK(GetFocus() == before);
    CHECK_FALSE(IsChild(p.Dialog(), GetFocus()));
    p.Objects({});
    sk->Release();
}

// The slider library's General and Others pages, driven through IPropertyPage
// with a page site of our own, real dialogs in a hidden window, and the real
// controls' property notifications as the record of every put.
#include "slider_support.h"
#include "tests/support/frame.h"
#include "tests/support/pagehost.h"

using namespace slidertest;

namespace {

// A page of the library on a hidden window, shown for one object.
struct ActivePage : PageHost {
    explicit ActivePage(REFCLSID clsid) : PageHost(Morvel(), clsid) { REQUIRE(page); }
    HRESULT Show(IUnknown* object) {
        HRESULT hr = Objects({object});
        return FAILED(hr) ? hr : Activate();
    }
    int ListCount(int id) const { return (int)ListTexts(id).size(); }
    bool Visible(int id) const { return (GetWindowLongW(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
};

const std::vector<DISPID> kSliderGeneralOrder = {1, 4, 11, 21, 10, 45, 12, 17, 13, 14, 26, 27, 18, 30, 28};
const std::vector<DISPID> kSwitchGeneralOrder = {1, 4, 6, 14, 5, 37, 7, 12, 8, 9, 15, 16, 13, 19, 17, 20, 21};
const std::vector<DISPID> kOthersOrder = {20, 22, 23, 24, 5, 6, 7, 8, 25};

}  // namespace

TEST_CASE("General on a slider: item-mark fields hidden, values shown, Apply in the page's order") {
    Ptr<IQEV_Slider> s;
    s.p = Create<IQEV_Slider>(CLSID_QEV_Slider, IID_IQEV_Slider);
    s->put_Vertical(VARIANT_TRUE);
    s->put_MarkerStyle(MKDUMBBELL);
    s->put_RangeEndGap(7);
    ActivePage page(CLSID_GeneralProp);
    REQUIRE(page.Show(s.p) == S_OK);
    for (int id : {228, 229, 230, 231}) CHECK_FALSE(page.Visible(id));
    for (int id : {202, 207, 221}) CHECK(page.Visible(id));
    CHECK(page.Checked(202));
    CHECK_FALSE(page.Checked(203));
    CHECK(page.Checked(205));
    CHECK(page.Selection(207) == MKDUMBBELL);
    CHECK(page.Selection(209) == 1);
    CHECK(page.Text(221) == L"7");
    CHECK(page.Text(225) == L"15");
    for (auto list : {std::pair<int, int>{207, 16}, {211, 4}, {229, 7}})
        CHECK(page.ListCount(list.first) == list.second);
    CHECK_FALSE(page.Dirty());

    NotifyRecorder notify;
    REQUIRE(notify.Connect(s.p) == S_OK);
    page.SetText(223, L"70000");  // cut to 16 bits: 4464
    CHECK(page.Dirty());
    CHECK(page.page->Apply() == S_OK);
    CHECK(notify.ChangedDispids() == kSliderGeneralOrder);
    short gap = 0;
    s->get_ScaleGap(&gap);
    CHECK(gap == 4464);
    CHECK_FALSE(page.Dirty());
}

TEST_CASE("General on a switch slider: item-mark fields shown, loaded, marking dirty and applied last") {
    Ptr<IQEV_SwitchSlider> s;
    s.p = Create<IQEV_SwitchSlider>(CLSID_QEV_SwitchSlider, IID_IQEV_SwitchSlider);
    s->put_IndicatorType(ITTRIANGLE);
    ActivePage page(CLSID_GeneralProp);
    REQUIRE(page.Show(s.p) == S_OK);
    for (int id : {228, 229, 230, 231}) CHECK(page.Visible(id));
    CHECK(page.Selection(229) == ITTRIANGLE);
    CHECK(page.Text(231) == L"6");
    CHECK(page.Text(221) == L"8");
    CHECK_FALSE(page.Dirty());
    page.Choose(229, ITDIAMOND);
    CHECK(page.Dirty());
    CHECK(page.page->Apply() == S_OK);
    CHECK_FALSE(page.Dirty());
    page.SetText(231, L"9");
    CHECK(page.Dirty());

    NotifyRecorder notify;
    REQUIRE(notify.Connect(s.p) == S_OK);
    CHECK(page.page->Apply() == S_OK);
    CHECK(notify.ChangedDispids() == kSwitchGeneralOrder);
    IndicatorStyle type;
    s->get_IndicatorType(&type);
    CHECK(type == ITDIAMOND);
    short size = 0;
    s->get_IndicatorSize(&size);
    CHECK(size == 9);
}

TEST_CASE("a list value outside its list shows no selection and goes back as -1") {
    Ptr<IQEV_Slider> s;
    s.p = Create<IQEV_Slider>(CLSID_QEV_Slider, IID_IQEV_Slider);
    ActivePage page(CLSID_GeneralProp);
    REQUIRE(page.Show(s.p) == S_OK);  // MarkerStyle 0 selected
    s->put_MarkerStyle(static_cast<SliderMarkerStyle>(99));
    REQUIRE(page.page->SetObjects(1, reinterpret_cast<IUnknown**>(&s.p)) == S_OK);  // reloads
    CHECK(page.Selection(207) == -1);
    CHECK(page.page->Apply() == S_OK);
    SliderMarkerStyle style;
    s->get_MarkerStyle(&style);
    CHECK(style == -1);
}

TEST_CASE("pages given another kind of object answer E_UNEXPECTED and write nothing") {
    Ptr<IQEV_SwitchSlider> sw;
    sw.p = Create<IQEV_SwitchSlider>(CLSID_QEV_SwitchSlider, IID_IQEV_SwitchSlider);
    ActivePage others(CLSID_OthersProp);
    REQUIRE(others.Show(sw.p) == S_OK);  // the load fails, Activate does not
    CHECK(others.Text(217) == L"");
    CHECK(others.page->Apply() == E_UNEXPECTED);

    FONTDESC fd{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {100000, 0}, 400, 0, 0, 0, 0};
    Ptr<IUnknown> font;
    REQUIRE(OleCreateFontIndirect(&fd, IID_IUnknown, reinterpret_cast<void**>(font.out())) == S_OK);
    ActivePage general(CLSID_GeneralProp);
    REQUIRE(general.Show(font.p) == S_OK);
    CHECK(general.Selection(207) == -1);
    CHECK(general.page->Apply() == E_UNEXPECTED);
}

TEST_CASE("Others: the precision's decimals, untouched values back exactly, the numeric filter, the order") {
    Ptr<IQEV_Slider> s;
    s.p = Create<IQEV_Slider>(CLSID_QEV_Slider, IID_IQEV_Slider);
    s->put_MaxVal(100.123456789);
    s->put_ScalePrecision(2);
    ActivePage page(CLSID_OthersProp);
    REQUIRE(page.Show(s.p) == S_OK);
    CHECK(page.Text(217) == L"100.12");
    CHECK(page.Text(220) == L"0.00");
    CHECK(page.Text(223) == L"5");
    CHECK(page.Text(229) == L"2");
    CHECK_FALSE(page.Checked(218));

    NotifyRecorder notify;
    REQUIRE(notify.Connect(s.p) == S_OK);
    page.Click(224);
    CHECK(page.Dirty());
    CHECK(page.page->Apply() == S_OK);
    CHECK(notify.ChangedDispids() == kOthersOrder);
    double maxVal = 0;
    s->get_MaxVal(&maxVal);
    CHECK(maxVal == 100.123456789);  // the field was not touched
    VARIANT_BOOL band = 0;
    s->get_ActualRangeVisible(&band);
    CHECK(band == VARIANT_TRUE);

    // Min admits one minus sign and one point, wherever the caret is; letters are refused.
    page.SetText(220, L"");
    page.Type(220, L"-1a.5.-");
    CHECK(page.Text(220) == L"-1.5");
    page.SetText(229, L"0");
    CHECK(page.page->Apply() == S_OK);
    double minVal = 0;
    s->get_MinVal(&minVal);
    CHECK(minVal == -1.5);
    REQUIRE(page.page->SetObjects(1, reinterpret_cast<IUnknown**>(&s.p)) == S_OK);
    CHECK(page.Text(217) == L"100");  // precision 0 now
}

TEST_CASE("the Properties verb opens the property frame with the slider's own pages") {
    const CLSID* pageIds[] = {&CLSID_GeneralProp, &CLSID_OthersProp};
    DWORD cookies[2] = {};
    for (int i = 0; i < 2; ++i) {
        Ptr<IUnknown> cf;
        REQUIRE(Morvel().GetClassObject(*pageIds[i], IID_IUnknown, reinterpret_cast<void**>(cf.out())) == S_OK);
        REQUIRE(CoRegisterClassObject(*pageIds[i], cf, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookies[i]) ==
                S_OK);
    }
    Ptr<IQEV_Slider> s;
    s.p = Create<IQEV_Slider>(CLSID_QEV_Slider, IID_IQEV_Slider);
    Ptr<IOleObject> ole;
    QueryOwned(s.p, IID_IOleObject, ole);
    HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    FrameSeen seen;
    CHECK(OpenPropertiesVerb(ole, host, seen) == S_OK);
    CHECK(seen.closed);
    CHECK(seen.Has(207, L"ComboBox"));  // the General page's marker styles
    CHECK(seen.tabs == 2);  // the stock colour and font pages are not registered here
    DestroyWindow(host);
    for (DWORD c : cookies) CoRevokeClassObject(c);
}

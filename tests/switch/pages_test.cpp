// The switch library's pages General and Others, driven through
// IPropertyPage with a page site of our own, real dialogs in a hidden window
// and the switch's own property notifications as the record of every put.
#include "switch_test_util.h"
#include "pagehost.h"

using namespace switchtest;

namespace {

struct ActivePage : PageHost {
    explicit ActivePage(REFCLSID clsid) : PageHost(Library(), clsid) { REQUIRE(page != nullptr); }
    std::vector<DWORD> seenAtActivation;  // statuses the activation itself reported
    // The switch as the only object, then activation; the site's record
    // starts after it.
    HRESULT Show(IUnknown* object) {
        HRESULT hr = Objects({object});
        if (SUCCEEDED(hr)) hr = Activate();
        seenAtActivation = site.statuses;
        site.statuses.clear();
        return hr;
    }
};

struct NewSwitch {
    Ptr<IQEV_Switch> sw;
    NotifyRecorder notify;
    NewSwitch() {
        REQUIRE(Library().Create(kClsidSwitch, kIidSwitch, sw.pv()) == S_OK);
        REQUIRE(notify.Connect(sw) == S_OK);
    }
    IQEV_Switch* operator->() const { return sw.p; }
    void Put(HRESULT (STDMETHODCALLTYPE IQEV_Switch::*put)(BSTR), const wchar_t* s) {
        BSTR b = SysAllocString(s);
        (sw.p->*put)(b);
        SysFreeString(b);
    }
};

std::wstring Get(IQEV_Switch* s, HRESULT (STDMETHODCALLTYPE IQEV_Switch::*get)(BSTR*)) {
    BSTR b = nullptr;
    (s->*get)(&b);
    std::wstring out = b ? std::wstring(b, SysStringLen(b)) : L"<null>";
    SysFreeString(b);
    return out;
}

// Apply orders as dispatch identifiers.
const std::vector<DISPID> kGeneralOrder = {27, 1, 44, 13, 33, 18, 19, 20, 9, 12};
const std::vector<DISPID> kOthersOrder = {6, 30, 28, 29, 15, 14, 16, 17, 45, 46};

}  // namespace

TEST_CASE("the General page shows the switch, writes all ten fields in order and cuts numbers to 16 bits") {
    NewSwitch s;
    s->put_SwitchType(WEDGE_TOGGLE);
    s->put_Light3D(RIGHT_TOP);
    s->put_b3DText(VARIANT_TRUE);
    s->put_ButtonHeight(-3);
    s.Put(&IQEV_Switch::put_OnText, L"Ein \u00e9");
    ActivePage p(kClsidGeneral);
    s.notify.Clear();
    REQUIRE(p.Show(s.sw) == S_OK);
    CHECK(s.notify.Log().empty());
    CHECK(p.Selection(202) == 4);
    CHECK(p.Selection(204) == 1);
    CHECK(p.Selection(206) == 3);
    CHECK(p.Selection(208) == 1);
    CHECK(p.Checked(215));
    CHECK(p.Text(210) == L"");
    CHECK(p.Text(212) == L"Ein \u00e9");
    CHECK(p.Text(217) == L"-3");
    CHECK(p.Text(219) == L"0");
    CHECK_FALSE(p.Dirty());
    REQUIRE_FALSE(p.seenAtActivation.empty());
    CHECK(p.seenAtActivation.back() == PROPPAGESTATUS_CLEAN);
    CHECK(p.ListTexts(202) == std::vector<std::wstring>{L"0 - UserImage", L"1 - Rectangle", L"2 - RoundRectangle",
                                                        L"3 - Circle", L"4 - Wedge_Toggle", L"5 - Groove_Toggle",
                                                        L"6 - Switch_Toggle"});
    CHECK(p.ListTexts(208) == std::vector<std::wstring>{L"0 - Original_Size", L"1 - Texture", L"2 - Auto_Size"});
    CHECK((GetWindowLongW(p.Item(202), GWL_STYLE) & CBS_SORT) != 0);

    SUBCASE("changing only the on text writes every field, in the page's order") {
        p.SetText(212, L"An");
        CHECK(p.Dirty());
        CHECK(p.site.Count(PROPPAGESTATUS_DIRTY) == 1);
        CHECK(p.page->Apply() == S_OK);
        CHECK(s.notify.ChangedDispids() == kGeneralOrder);
        CHECK_FALSE(p.Dirty());
        CHECK(p.site.statuses.back() == PROPPAGESTATUS_CLEAN);
        CHECK(Get(s.sw, &IQEV_Switch::get_OnText) == L"An");
        short bh = 0;
        s->get_ButtonHeight(&bh);
        CHECK(bh == -3);
    }
    SUBCASE("an empty number writes 0, 70000 writes 4464, a shape outside the list goes back as -1") {
        s->put_SwitchType(static_cast<SwitchShape>(9));
        REQUIRE(p.page->SetObjects(1, reinterpret_cast<IUnknown**>(&s.sw.p)) == S_OK);  // reloads the fields
        CHECK(p.Selection(202) == -1);
        p.SetText(217, L"");
        p.SetText(219, L"70000");
        CHECK(p.page->Apply() == S_OK);
        short bh = 1, border = 0;
        SwitchShape shape;
        s->get_ButtonHeight(&bh);
        s->get_BorderLen(&border);
        s->get_SwitchType(&shape);
        CHECK(bh == 0);
        CHECK(border == 4464);
        CHECK(shape == -1);
    }
}

TEST_CASE("the Others page: two decimals shown, the value kept when untouched, numeric fields filtered") {
    NewSwitch s;
    s->put_GradientRate(0.333f);
    s->put_bShowStatus(VARIANT_FALSE);
    s->put_StatusXOffset(-40);
    ActivePage p(kClsidOthers);
    s.notify.Clear();
    REQUIRE(p.Show(s.sw) == S_OK);
    CHECK_FALSE(p.Checked(224));
    CHECK(p.Checked(226));
    CHECK(p.Text(219) == L"0.33");
    CHECK(p.Text(229) == L"-40");
    CHECK(p.Text(231) == L"0");
    CHECK_FALSE(p.Dirty());

    SUBCASE("an Apply without a change writes every field in order, the rate as it was") {
        CHECK(p.page->Apply() == S_OK);
        CHECK(s.notify.ChangedDispids() == kOthersOrder);
        float rate = 0;
        s->get_GradientRate(&rate);
        CHECK(rate == 0.333f);
    }
    SUBCASE("typed keys: one decimal point and no minus in the rate; a minus and no point in the offsets") {
        p.SetText(219, L"");
        p.Type(219, L"1.5.-2");
        CHECK(p.Text(219) == L"1.52");
        p.SetText(231, L"");
        p.Type(231, L"-1.2");
        CHECK(p.Text(231) == L"-12");
        CHECK(p.page->Apply() == S_OK);
        float rate = 0;
        short y = 0;
        s->get_GradientRate(&rate);
        s->get_StatusYOffset(&y);
        CHECK(rate == 1.52f);
        CHECK(y == -12);
    }
    SUBCASE("a check box marks the page dirty once; Apply writes the visibility first") {
        p.Click(224);
        p.Click(226);
        CHECK(p.site.Count(PROPPAGESTATUS_DIRTY) == 1);
        CHECK(p.page->Apply() == S_OK);
        VARIANT_BOOL shown = VARIANT_FALSE, vertical = VARIANT_TRUE;
        s->get_bShowStatus(&shown);
        s->get_bVerticalToggle(&vertical);
        CHECK(shown == VARIANT_TRUE);
        CHECK(vertical == VARIANT_FALSE);
        CHECK(s.notify.ChangedDispids().front() == 6);
    }
}

TEST_CASE("a page given something other than a switch answers E_UNEXPECTED") {
    for (const CLSID* id : {&kClsidGeneral, &kClsidOthers}) {
        ActivePage p(*id);
        Ptr<IFont> font;
        FONTDESC fd = {sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {{100000, 0}}, 400, 0, 0, 0, 0};
        REQUIRE(OleCreateFontIndirect(&fd, IID_IFont, font.pv()) == S_OK);
        IUnknown* obj = font;
        REQUIRE(p.page->SetObjects(1, &obj) == S_OK);
        RECT rc = {0, 0, 400, 200};
        CHECK(p.page->Activate(p.host, &rc, FALSE) == S_OK);
        CHECK(p.page->Apply() == E_UNEXPECTED);
    }
}

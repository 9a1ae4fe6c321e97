// The button library's pages General and Text, driven through IPropertyPage
// with a page site of our own, real dialogs in a hidden window and the
// button's own property notifications as the record of every put; and the
// platform's property frame opened by the Properties verb.
#include "button_util.h"
#include "frame.h"
#include "pagehost.h"

using namespace buttontest;

namespace {

struct ActivePage : PageHost {
    explicit ActivePage(REFCLSID clsid) : PageHost(Library(), clsid) { REQUIRE(page != nullptr); }
    HRESULT Show(IUnknown* object) {
        HRESULT hr = Objects({object});
        if (SUCCEEDED(hr)) hr = Activate();
        return hr;
    }
};

struct Watched {
    Ptr<IQEV_SmartButton> b;
    NotifyRecorder notify;
    Watched() {
        b.p = NewButton();
        REQUIRE(notify.Connect(b) == S_OK);
    }
    IQEV_SmartButton* operator->() const { return b.p; }
};

// Apply orders as dispatch identifiers.
const std::vector<DISPID> kGeneralOrder = {47, 49, 1, 2, 3, 50, 4, 5, 18, 20, 11, 12, 15, 17};
const std::vector<DISPID> kTextOrder = {7, 26, 36, 46, 31, 41, 21, 25, 30, 40, 32, 33, 34, 35, 42, 43};

}  // namespace

TEST_CASE("General: the lists, the loaded fields, every put in order, two decimals and untouched values") {
    Watched w;
    w->put_ShapeType(BSS_DIAMOND);
    w->put_IconType(BIS_SQURE);
    w->put_GradientRate(0.456f);
    w->put_DynamicBorder(VARIANT_TRUE);
    w->put_RoundRadius(-7);
    ActivePage p(kClsidGeneral);
    w.notify.Clear();
    REQUIRE(p.Show(w.b) == S_OK);
    CHECK(w.notify.Log().empty());
    CHECK_FALSE(p.Dirty());
    const int counts[][2] = {{202, 17}, {204, 3}, {206, 3}, {208, 3}, {210, 13}, {212, 5}, {214, 3}};
    for (const auto& c : counts) CHECK(p.ListTexts(c[0]).size() == (size_t)c[1]);
    CHECK(p.ListTexts(210)[10] == L"10 - Squre");
    CHECK(p.ListTexts(202)[16] == L"16 - Char");
    CHECK(p.Selection(202) == 2);
    CHECK(p.Selection(210) == 10);
    CHECK(p.Selection(212) == 4);
    CHECK(p.Checked(225));
    CHECK_FALSE(p.Checked(226));
    CHECK(p.Text(216) == L"10");
    CHECK(p.Text(222) == L"0.46");
    CHECK(p.Text(224) == L"-7");

    SUBCASE("a list change writes every field in order, the rate as it was") {
        p.Choose(206, BFS_GRADIENT_2);
        CHECK(p.Dirty());
        CHECK(p.page->Apply() == S_OK);
        CHECK(w.notify.ChangedDispids() == kGeneralOrder);
        CHECK_FALSE(p.Dirty());
        CHECK(p.site.statuses.back() == PROPPAGESTATUS_CLEAN);
        float rate = 0;
        w->get_GradientRate(&rate);
        CHECK(rate == 0.456f);
        ButtonFaceStyle face;
        w->get_FaceType(&face);
        CHECK(face == BFS_GRADIENT_2);
    }
    SUBCASE("the rate takes one decimal point and no minus; sizes wrap to 16 bits; no selection sends -1") {
        p.SetText(222, L"");
        p.Type(222, L"-1.2.5");
        CHECK(p.Text(222) == L"1.25");
        p.SetText(218, L"70000");
        SendMessageW(p.Item(214), CB_SETCURSEL, (WPARAM)-1, 0);
        CHECK(p.page->Apply() == S_OK);
        float rate = 0;
        short outer = 0;
        ButtonIconBorderStyle iconBorder;
        w->get_GradientRate(&rate);
        w->get_OuterBorderLen(&outer);
        w->get_IconBorderType(&iconBorder);
        CHECK(rate == 1.25f);
        CHECK(outer == 4464);
        CHECK(iconBorder == -1);
    }
}

TEST_CASE("Text: texts, checks, positions and offsets, every put in order, offsets with a minus") {
    Watched w;
    BSTR t = SysAllocString(L"Gr\u00fc\u00df");
    w->put_Text1(t);
    SysFreeString(t);
    w->put_Text2Visible(VARIANT_TRUE);
    w->put_Text2Pos(BTPS_RIGHT_TOP);
    w->put_TextYOffset(-12);
    ActivePage p(kClsidText);
    w.notify.Clear();
    REQUIRE(p.Show(w.b) == S_OK);
    CHECK(p.ListTexts(238).size() == 9);
    CHECK(p.ListTexts(241)[7] == L"7 - Right_Bottom");
    CHECK(p.Text(227) == L"SButton");
    CHECK(p.Text(229) == L"Gr\u00fc\u00df");
    CHECK(p.Text(231) == L"");
    CHECK(p.Checked(232));
    CHECK(p.Checked(234));
    CHECK_FALSE(p.Checked(236));
    CHECK(p.Selection(239) == 3);
    CHECK(p.Selection(241) == 6);
    CHECK(p.Text(245) == L"-12");
    CHECK_FALSE(p.Dirty());

    p.SetText(227, L"");
    p.Click(236);
    p.SetText(244, L"");
    p.Type(244, L"-3.5");
    CHECK(p.Text(244) == L"-35");
    p.SetText(251, L"70000");
    CHECK(p.Dirty());
    CHECK(p.page->Apply() == S_OK);
    CHECK(w.notify.ChangedDispids() == kTextOrder);
    BSTR caption = nullptr;
    w->get_Caption(&caption);
    CHECK(caption != nullptr);
    CHECK(SysStringLen(caption) == 0);
    SysFreeString(caption);
    LONG x = 0, y2 = 0;
    w->get_TextXOffset(&x);
    w->get_Text2YOffset(&y2);
    CHECK(x == -35);
    CHECK(y2 == 70000);
    VARIANT_BOOL text3D = 0;
    w->get_Text3D(&text3D);
    CHECK(text3D == VARIANT_TRUE);
}

TEST_CASE("offsets show and keep all 32 bits; the 16-bit fields still wrap") {
    struct Row {
        const CLSID* page;
        WORD field;
        DISPID dispid;
        LONG loaded;
        const wchar_t* shown;
        const wchar_t* typed;  // null: another field is edited instead
        LONG stored;
    };
    const Row rows[] = {
        {&kClsidText, 244, 32, 70000, L"70000", nullptr, 70000},      // TextXOffset
        {&kClsidText, 245, 33, -70000, L"-70000", nullptr, -70000},   // TextYOffset
        {&kClsidText, 247, 34, 70000, L"70000", nullptr, 70000},      // Text1XOffset
        {&kClsidText, 248, 35, -70000, L"-70000", nullptr, -70000},   // Text1YOffset
        {&kClsidText, 250, 42, -70000, L"-70000", nullptr, -70000},   // Text2XOffset
        {&kClsidText, 251, 43, 70000, L"70000", nullptr, 70000},      // Text2YOffset
        {&kClsidText, 244, 32, 0, L"0", L"-70000", -70000},           // TextXOffset, typed
        {&kClsidGeneral, 218, 11, 10, L"10", L"70000", 4464},         // OuterBorderLen: 16 bits
    };
    for (const Row& row : rows) {
        CAPTURE(row.field);
        CAPTURE(row.loaded);
        Watched w;
        Variant loaded;
        V_VT(&loaded.v) = VT_I4;
        V_I4(&loaded.v) = row.loaded;
        REQUIRE(PutById(w.b, row.dispid, loaded.v) == S_OK);
        ActivePage p(*row.page);
        REQUIRE(p.Show(w.b) == S_OK);
        CHECK(p.Text(row.field) == row.shown);
        if (row.typed) p.SetText(row.field, row.typed);
        else p.Click(*row.page == kClsidText ? 236 : 226);  // 3D Text, Word Wrap
        CHECK(p.Dirty());
        CHECK(p.page->Apply() == S_OK);
        Variant stored;
        REQUIRE(GetById(w.b, row.dispid, stored) == S_OK);
        CHECK(stored.AsLong() == row.stored);
    }
}

TEST_CASE("pages given something other than a button answer E_UNEXPECTED and change nothing") {
    for (const CLSID* id : {&kClsidGeneral, &kClsidText}) {
        ActivePage p(*id);
        Ptr<IFont> font;
        FONTDESC fd = {sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {{100000, 0}}, 400, 0, 0, 0, 0};
        REQUIRE(OleCreateFontIndirect(&fd, IID_IFont, font.pv()) == S_OK);
        REQUIRE(p.Show(font) == S_OK);
        CHECK(p.page->Apply() == E_UNEXPECTED);
    }
}

TEST_CASE("the Properties verb opens the platform's frame with both pages") {
    Hosted h;
    Ptr<IOleObject> ole;
    REQUIRE(h.b->QueryInterface(IID_IOleObject, ole.pv()) == S_OK);
    FrameSeen seen;
    CHECK(SUCCEEDED(OpenPropertiesVerb(ole, h.window, seen)));
    CHECK(seen.closed);
    CHECK(seen.Has(202, L"ComboBox"));  // the first page: General
    if (seen.tabs >= 0) CHECK(seen.tabs >= 2);
}

// The property-page base with a page of the test's own (page_test.rc) over
// two control interfaces: dialog items shown per loaded interface, dirty
// marking from the fields of the interface that was loaded, and the
// WM_INITDIALOG answer.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>

#include <vector>

#include "proppage.h"
#include "tests/support/recorders.h"

// The page base reaches its module for the dialog and strings, and counts
// its objects in the module's lock count: here the module is this program.
namespace fw {
namespace {
LONG g_testLocks;
}
LONG ModuleLock() { return InterlockedIncrement(&g_testLocks); }
LONG ModuleUnlock() { return InterlockedDecrement(&g_testLocks); }
LONG ModuleLockCount() { return g_testLocks; }
HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }
}  // namespace fw

namespace {

// Two control interfaces of the kind a slider and a switch slider offer:
// one shared property, one of each's own.
struct ISliderLike : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Level(short* p) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Level(short v) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Mode(short* p) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Mode(short v) = 0;
};
struct ISwitchLike : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE get_Level(short* p) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Level(short v) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Extra(short* p) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Extra(short v) = 0;
};
const IID IID_ISliderLike = {0x5d0c1a01, 0x7c2e, 0x4b8e, {0x9a, 0x11, 0x20, 0x31, 0x42, 0x53, 0x64, 0x75}};
const IID IID_ISwitchLike = {0x5d0c1a02, 0x7c2e, 0x4b8e, {0x9a, 0x11, 0x20, 0x31, 0x42, 0x53, 0x64, 0x75}};

template <class Itf>
struct Object : Itf {
    const IID& iid;
    short level = 1, own = 2;
    std::vector<short> puts;
    explicit Object(const IID& i) : iid(i) {}
    STDMETHODIMP QueryInterface(REFIID r, void** ppv) override {
        *ppv = nullptr;
        if (IsEqualIID(r, IID_IUnknown) || IsEqualIID(r, iid)) *ppv = static_cast<Itf*>(this);
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
};
struct Slider : Object<ISliderLike> {
    Slider() : Object(IID_ISliderLike) {}
    STDMETHODIMP get_Level(short* p) override { *p = level; return S_OK; }
    STDMETHODIMP put_Level(short v) override { level = v; return S_OK; }
    STDMETHODIMP get_Mode(short* p) override { *p = own; return S_OK; }
    STDMETHODIMP put_Mode(short v) override { own = v; puts.push_back(v); return S_OK; }
};
struct Switch : Object<ISwitchLike> {
    Switch() : Object(IID_ISwitchLike) {}
    STDMETHODIMP get_Level(short* p) override { *p = level; return S_OK; }
    STDMETHODIMP put_Level(short v) override { level = v; return S_OK; }
    STDMETHODIMP get_Extra(short* p) override { *p = own; return S_OK; }
    STDMETHODIMP put_Extra(short v) override { own = v; puts.push_back(v); return S_OK; }
};

enum : WORD { IDC_LEVEL = 201, IDC_MODE = 202, IDC_EXTRA = 203, IDC_EXTRALABEL = 204 };

const fw::PageField kSliderFields[] = {
    FW_PAGE_FIELD(IDC_LEVEL, Integer, ISliderLike, Level),
    FW_PAGE_FIELD(IDC_MODE, Integer, ISliderLike, Mode),
};
const fw::PageField kSwitchFields[] = {
    FW_PAGE_FIELD(IDC_LEVEL, Integer, ISwitchLike, Level),
    FW_PAGE_FIELD(IDC_EXTRA, Integer, ISwitchLike, Extra),
};
const WORD kSliderHides[] = {IDC_EXTRA, IDC_EXTRALABEL};
const WORD kSwitchHides[] = {IDC_MODE};
const fw::PageTarget kTargets[] = {
    fw::TargetOf(&IID_ISliderLike, kSliderFields, kSliderHides),
    fw::TargetOf(&IID_ISwitchLike, kSwitchFields, kSwitchHides),
};
const WORD kOrder[] = {IDC_LEVEL, IDC_MODE, IDC_EXTRA};
const fw::PageList kNoLists[] = {{0, nullptr, 0}};
const fw::PageNumericEdit kNumeric[] = {{IDC_LEVEL, true, false}};

const fw::PageDescription kPage = fw::DescribePage(100, 101, 102, 103, kTargets, kOrder, kOrder, kNoLists, kNumeric);
const fw::PageDescription kQuietPage = fw::AnswerInitDialogFalse(kPage);

using Site = testsupport::RecordingPageSite;

struct TestPage : fw::PropertyPageBase {
    explicit TestPage(const fw::PageDescription& d) : fw::PropertyPageBase(d) {}
};

struct Active {
    HWND host;
    Site site;
    TestPage* page;
    explicit Active(const fw::PageDescription& d = kPage) {
        host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 500, 300, nullptr, nullptr, nullptr, nullptr);
        REQUIRE(host);
        page = new TestPage(d);
        page->AddRef();
        REQUIRE(page->SetPageSite(&site) == S_OK);
    }
    ~Active() {
        page->Deactivate();
        page->SetObjects(0, nullptr);
        page->SetPageSite(nullptr);
        page->Release();
        DestroyWindow(host);
    }
    HRESULT Load(IUnknown* object) { return page->SetObjects(1, &object); }
    HRESULT Activate() {
        RECT rc{0, 0, 400, 200};
        return page->Activate(host, &rc, FALSE);
    }
    bool Visible(int id) const { return (GetWindowLongW(GetDlgItem(page->Dialog(), id), GWL_STYLE) & WS_VISIBLE) != 0; }
};

}  // namespace

TEST_CASE("dialog items are shown or hidden by the interface of the loaded object") {
    Slider slider;
    Switch sw;
    Active p;
    REQUIRE(p.Load(&slider) == S_OK);
    REQUIRE(p.Activate() == S_OK);
    CHECK(p.Visible(IDC_MODE));
    CHECK_FALSE(p.Visible(IDC_EXTRA));
    CHECK_FALSE(p.Visible(IDC_EXTRALABEL));
    CHECK(p.Visible(IDC_LEVEL));
    // New objects while active reload the fields and the items.
    REQUIRE(p.Load(&sw) == S_OK);
    CHECK_FALSE(p.Visible(IDC_MODE));
    CHECK(p.Visible(IDC_EXTRA));
    CHECK(p.Visible(IDC_EXTRALABEL));
    REQUIRE(p.Load(&slider) == S_OK);
    CHECK(p.Visible(IDC_MODE));
    CHECK_FALSE(p.Visible(IDC_EXTRA));
}

TEST_CASE("a field of the loaded interface marks the page dirty, also when the first interface lacks it") {
    Switch sw;
    sw.own = 7;
    Active p;
    REQUIRE(p.Load(&sw) == S_OK);
    REQUIRE(p.Activate() == S_OK);
    REQUIRE(p.page->IsPageDirty() == S_FALSE);
    p.site.statuses.clear();
    SetDlgItemTextW(p.page->Dialog(), IDC_EXTRA, L"42");
    CHECK(p.page->IsPageDirty() == S_OK);
    CHECK(p.site.statuses == std::vector<DWORD>{PROPPAGESTATUS_DIRTY});
    REQUIRE(p.page->Apply() == S_OK);
    CHECK(sw.puts == std::vector<short>{42});
    CHECK(p.page->IsPageDirty() == S_FALSE);
    // A field only the other interface has is not the page's to watch now.
    p.site.statuses.clear();
    SetDlgItemTextW(p.page->Dialog(), IDC_MODE, L"5");
    CHECK(p.page->IsPageDirty() == S_FALSE);
    CHECK(p.site.statuses.empty());
}

TEST_CASE("WM_INITDIALOG sets the focus after subclassing, unless the table says to answer FALSE") {
    for (bool quiet : {false, true}) {
        CAPTURE(quiet);
        Slider slider;
        Active p(quiet ? kQuietPage : kPage);
        ShowWindow(p.host, SW_SHOWNA);
        SetFocus(p.host);
        const HWND before = GetFocus();
        REQUIRE(p.Load(&slider) == S_OK);
        REQUIRE(p.Activate() == S_OK);
        if (quiet) CHECK(GetFocus() == before);
        else CHECK(IsChild(p.page->Dialog(), GetFocus()));
        // The numeric filter is attached either way: a letter is refused.
        SetDlgItemTextW(p.page->Dialog(), IDC_LEVEL, L"");
        SendDlgItemMessageW(p.page->Dialog(), IDC_LEVEL, WM_CHAR, 'x', 0);
        wchar_t text[16] = {};
        GetDlgItemTextW(p.page->Dialog(), IDC_LEVEL, text, 16);
        CHECK(text[0] == 0);
    }
}

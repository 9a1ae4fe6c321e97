// The frame and its link labels: what is open at start, what each label
// opens, the labels' colours, fresh forms on every click, released controls
// and GDI objects, and a form whose control cannot be created.
#include <doctest/doctest.h>

#include "canvas.h"
#include "driver.h"
#include "host.h"

#include <vector>

using namespace demotest;
using velmora::kLinks;

namespace {

const wchar_t* const kCaptions[8] = {L"Introduction", L"Smart Button (1)", L"Smart Button (2)", L"Switch",
                                     L"Slider",       L"Switch Slider",    L"Knob",             L"Switch Knob"};

// A class object that creates nothing, as for a class that is not registered.
class RefusingFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        *ppv = (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) ? this : nullptr;
        return *ppv ? S_OK : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP CreateInstance(IUnknown*, REFIID, void** ppv) override {
        *ppv = nullptr;
        return REGDB_E_CLASSNOTREG;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

int CountWindowsOfClass(const wchar_t* cls) {
    int n = 0;
    std::vector<HWND> stack{GetDesktopWindow()};
    while (!stack.empty()) {
        HWND parent = stack.back();
        stack.pop_back();
        for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
            wchar_t name[64];
            if (GetClassNameW(w, name, 64) && wcscmp(name, cls) == 0) ++n;
            stack.push_back(w);
        }
    }
    return n;
}

}  // namespace

TEST_CASE("the frame starts with the introduction open and eight blue link labels in order") {
    Velmora app;
    REQUIRE(app.child().get() != nullptr);
    CHECK(app.child()->name() == "frmIntro");
    CHECK(app.rt().forms().size() == 2);
    int lastTop = -1;
    testsupport::DibCanvas panel = testsupport::CaptureWindow(app.frame()["PicContents"].hwnd());
    for (int i = 0; i < 8; ++i) {
        forms::Control& label = app.frame()[kLinks[i].label];
        CHECK(label.Text() == kCaptions[i]);
        CHECK(label.ForeColor() == 0xFF0000);
        CHECK(label.rect().top > lastTop);
        lastTop = label.rect().top;
        const RECT r = label.rect();
        CHECK(panel.Count(RGB(0, 0, 255), &r) > 20);  // drawn blue
    }
    CHECK(IsWindowVisible(app.frame().hwnd()));
    CHECK(IsWindowVisible(app.child()->hwnd()));
    CHECK(SendMessageW(app.frame().hwnd(), WM_GETICON, ICON_BIG, 0) != 0);
}

TEST_CASE("each label opens a fresh instance of its form and stays red; one child form at a time") {
    Velmora app;
    int opened = 0;
    for (const velmora::Link& link : kLinks) {
        std::shared_ptr<forms::Form> before = app.child();
        std::shared_ptr<forms::Form> now = app.Open(link.label);
        if (!Available(*link.target)) {
            MESSAGE(link.target->name << ": its library is not registered; opening it is not checked");
            continue;
        }
        ++opened;
        REQUIRE(now.get() != nullptr);
        CHECK(&now->def() == link.target);
        CHECK(now.get() != before.get());
        CHECK_FALSE((before && before->Loaded()));
        CHECK(app.frame()[link.label].ForeColor() == 0x0000FF);
        CHECK(app.rt().forms().size() == 2);
    }
    CHECK(opened >= 3);  // introduction, knob, switch knob at least
    CHECK(app.frame()["lblIntro"].ForeColor() == 0x0000FF);  // still red after the others

    SUBCASE("a second click on Knob starts it afresh and releases the old knobs") {
        auto first = app.Open("lblKnob");
        app.Tick(5, 100);
        IUnknown* oldKnob = (*first)["Knob1"].Object();
        oldKnob->AddRef();
        auto second = app.Open("lblKnob");
        REQUIRE(second.get() != nullptr);
        CHECK(second.get() != first.get());
        CHECK(oldKnob->Release() == 0);  // the test's reference was the last
        CHECK((*second)["Knob1"].Call(velmora::knob::GetValue).AsDouble() == 50.0);
        app.Tick(3, 100);
        CHECK((*second)["Knob1"].Call(velmora::knob::GetValue).AsDouble() == 13.0);
    }
}

TEST_CASE("closing the frame unloads the child form's controls first, then the frame") {
    Velmora app;
    auto knobs = app.Open("lblKnob");
    REQUIRE(knobs.get() != nullptr);
    IUnknown* knob = (*knobs)["Knob1"].Object();
    knob->AddRef();
    const HWND frame = app.frame().hwnd();
    SendMessageW(frame, WM_CLOSE, 0, 0);
    CHECK_FALSE(knobs->Loaded());
    CHECK_FALSE(IsWindow(frame));
    CHECK(app.rt().forms().empty());
    CHECK(knob->Release() == 0);
}

TEST_CASE("three rounds through every form leak no GDI objects") {
    Velmora app;
    auto round = [&] {
        for (const velmora::Link& link : kLinks) {
            app.Open(link.label);
            app.Tick(2, 100);
            testsupport::PumpPending();
        }
        app.Open("lblIntro");
        testsupport::PumpPending();
    };
    round();  // warms up the platform's caches and the controls' own kept DCs and regions
    round();
    const std::vector<int> before = testsupport::CountGdiObjectsByType();
    for (int i = 0; i < 3; ++i) round();
    CHECK(testsupport::CountGdiObjectsByType() == before);
}

TEST_CASE("a form whose controls cannot be created is unloaded at once; the label keeps its colour") {
    Velmora app;
    RefusingFactory refusing;
    DWORD cookie = 0;
    REQUIRE(CoRegisterClassObject(velmora::kKnob.clsid, &refusing, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                  &cookie) == S_OK);
    const int childWindows = CountWindowsOfClass(L"QevFormsChild");
    CHECK(app.Open("lblKnob").get() == nullptr);
    CoRevokeClassObject(cookie);
    CHECK(app.frame()["lblKnob"].ForeColor() == 0xFF0000);
    CHECK(app.rt().forms().size() == 1);  // the introduction was closed first, nothing replaced it
    CHECK(CountWindowsOfClass(L"QevFormsChild") == childWindows - 1);
    REQUIRE(app.rt().errors.size() == 1);
    CHECK(app.rt().errors[0].find("MDIFrmVelmora.lblKnob_Click: Knob1.create: 0x80040154") == 0);
    // The frame goes on working.
    CHECK(app.Open("lblSwitchKnob").get() != nullptr);
}

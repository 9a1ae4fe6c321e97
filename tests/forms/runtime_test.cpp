// The forms runtime on its own: a form made from a table, with the probe
// control hosted by class id (its class object offered through
// CoRegisterClassObject), late-bound, firing events into handlers, unloaded.
#include <doctest/doctest.h>

#include "forms/capture.h"
#include "forms/runtime.h"
#include "forms/units.h"
#include "host.h"
#include "probe_control.h"

#include <algorithm>
#include <string>
#include <vector>

using namespace forms;
using testsupport::PumpMessages;
using testsupport::PumpPending;

namespace {

// {6A0F3C5F-1D7E-4B8A-9C3D-2E5F7A1B0C91}: registered nowhere.
const CLSID CLSID_Nowhere = {0x6a0f3c5f, 0x1d7e, 0x4b8a, {0x9c, 0x3d, 0x2e, 0x5f, 0x7a, 0x1b, 0x0c, 0x91}};
const ClassDef kProbeClass{"TestLib.Probe", CLSID_Probe, IID_IDispatch, DIID_ProbeEvents};
const ClassDef kNowhereClass{"TestLib.Nowhere", CLSID_Nowhere, IID_IDispatch, DIID_ProbeEvents};

std::vector<std::string> g_trace;
int g_ticks = 0;

void Form_Load(Form& f, const EventArgs&) { g_trace.push_back("Form_Load " + std::to_string(f.controls().size())); }
void cmdGo_Click(Form& f, const EventArgs&) { f["Text1"].SetText(L"clicked"); }
void lblName_Click(Form& f, const EventArgs&) { f["lblName"].SetForeColor(0x0000FF); }
void Timer_Timer(Form&, const EventArgs&) { ++g_ticks; }
void Probe1_Event7(Form&, const EventArgs&) { g_trace.push_back("7"); }
void Probe1_Event9(Form& f, const EventArgs& a) {
    g_trace.push_back("9 start " + std::to_string(a.Num(0)));
    f["Probe1"].Call(kProbeFire, {Arg::I4(10)});  // delivered at once, nested
    g_trace.push_back("9 end");
}
void Probe1_Event10(Form&, const EventArgs&) { g_trace.push_back("10"); }
void Probe1_Event11(Form& f, const EventArgs&) {
    f["Probe1"].Call(L"Fail");
    g_trace.push_back("not reached");
}

const FormDef frmTest = {
    "frmTest", 4320, 2880,
    {Label("lblName", 120, 120, 1500, 300, L"Name").WithFont({L"MS Sans Serif", 12, true, false, true}).Fore(0xFF0000),
     Line("Line1", 120, 600, 2000, 600),
     Image("imgLogo", 2400, 120, 900, 600, 101),
     TextBox("Text1", 120, 720, 1500, 300, L"Text1"),
     TextBox("Text2", 120, 1100, 1500, 600, L"a\r\nb").MultiLine().Back(0x8000000F),
     Button("cmdGo", 2400, 720, 1200, 375, L"Go"),
     Timer("Timer1", 100),
     Timer("Timer2", 40, false),
     Hosted("Probe1", kProbeClass, 1800, 1500, 1440, 720, {prop::Color(L"Color", RGB(10, 200, 30))}),
     Hosted("Probe2", kProbeClass, 2400, 1800, 720, 720)},
    {{"", kLoadEvent, "Form_Load", &Form_Load},
     {"cmdGo", kClickEvent, "cmdGo_Click", &cmdGo_Click},
     {"lblName", kClickEvent, "lblName_Click", &lblName_Click},
     {"Timer1", kTimerEvent, "Timer1_Timer", &Timer_Timer},
     {"Timer2", kTimerEvent, "Timer2_Timer", &Timer_Timer},
     {"Probe1", 7, "Probe1_Event7", &Probe1_Event7},
     {"Probe1", 9, "Probe1_Event9", &Probe1_Event9},
     {"Probe1", 10, "Probe1_Event10", &Probe1_Event10},
     {"Probe1", 11, "Probe1_Event11", &Probe1_Event11}},
    false, 0x8000000F, FontDef{}, L"test form", 0, 480, 480};

const FormDef frmBroken = {"frmBroken", 2880, 2880,
                           {Button("cmdGo", 120, 120, 1200, 375, L"Go"),
                            Hosted("Probe1", kProbeClass, 120, 600, 720, 720),
                            Hosted("Nowhere1", kNowhereClass, 960, 600, 720, 720)},
                           {{"", kLoadEvent, "Form_Load", &Form_Load}}};

struct ProbeClassOffered {
    DWORD cookie = 0;
    ProbeClassOffered() { REQUIRE(RegisterProbeClass(&cookie) == S_OK); }
    ~ProbeClassOffered() { CoRevokeClassObject(cookie); }
};

ProbeControl* ProbeOf(Control& c) { return static_cast<ProbeControl*>(static_cast<IOleObject*>(c.Object())); }


int Dpi(int index) {
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, index);
    ReleaseDC(nullptr, dc);
    return dpi;
}

BOOL CALLBACK CountVisible(HWND w, LPARAM count) {
    if (IsWindowVisible(w)) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// The visible top-level windows of this thread.
int visibleWindows() {
    int n = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountVisible, reinterpret_cast<LPARAM>(&n));
    return n;
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

}  // namespace

TEST_CASE("built-in parts come from the table, placed in twips by the screen's DPI, and bind their events") {
    ProbeClassOffered offered;
    Runtime rt(GetModuleHandleW(nullptr));
    rt.UseTestClock();
    g_trace.clear();
    g_ticks = 0;
    auto form = rt.Load(frmTest);
    form->Show();
    PumpPending();
    CHECK(g_trace == std::vector<std::string>{"Form_Load 10"});

    const int dx = Dpi(LOGPIXELSX), dy = Dpi(LOGPIXELSY);
    Control& label = (*form)["lblName"];
    CHECK(SameRect(testsupport::RectInParent(label.hwnd()),
                   RECT{MulDiv(120, dx, 1440), MulDiv(120, dy, 1440), MulDiv(1620, dx, 1440), MulDiv(420, dy, 1440)}));
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(label.hwnd(), WM_GETFONT, 0, 0)), sizeof lf, &lf);
    CHECK(lf.lfWeight == FW_BOLD);
    CHECK(lf.lfUnderline);
    CHECK(lf.lfHeight == -MulDiv(12, dy, 72));
    CHECK(label.Text() == L"Name");

    DibCanvas shot = CaptureWindow(form->hwnd());
    const RECT lr = label.rect();
    CHECK(shot.Count(RGB(0, 0, 255), &lr) > 20);  // blue text (0xFF0000 as an OLE colour)
    const int lineY = MulDiv(600, dy, 1440);
    CHECK(shot.Pixel(MulDiv(1000, dx, 1440), lineY) == GetSysColor(COLOR_WINDOWTEXT));
    Control& image = (*form)["imgLogo"];
    RECT ir = testsupport::RectInParent(image.hwnd());
    CHECK(ir.right - ir.left == 30);  // the bitmap's own size
    CHECK(ir.bottom - ir.top == 20);
    CHECK(shot.Pixel(ir.left + 5, ir.top + 5) == RGB(0xC0, 0x80, 0x40));
    Control& text2 = (*form)["Text2"];
    CHECK((GetWindowLongW(text2.hwnd(), GWL_STYLE) & ES_MULTILINE) != 0);
    CHECK(text2.Text() == L"a\r\nb");
    const RECT t2 = text2.rect();
    CHECK(shot.Count(GetSysColor(COLOR_BTNFACE), &t2) > (t2.right - t2.left) * (t2.bottom - t2.top) / 2);

    SUBCASE("a click on the button or the label runs its handler") {
        SendMessageW((*form)["cmdGo"].hwnd(), BM_CLICK, 0, 0);
        CHECK((*form)["Text1"].Text() == L"clicked");
        SendMessageW(label.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        SendMessageW(label.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        PumpPending();
        CHECK(label.ForeColor() == 0x0000FF);
        UpdateWindow(form->hwnd());
        DibCanvas red = CaptureWindow(form->hwnd());
        CHECK(red.Count(RGB(255, 0, 0), &lr) > 20);
        CHECK(red.Count(RGB(0, 0, 255), &lr) == 0);
    }
    SUBCASE("the test clock ticks enabled timers by their interval only") {
        rt.Advance(99);
        CHECK(g_ticks == 0);
        rt.Advance(1);
        CHECK(g_ticks == 1);
        rt.Advance(250);
        CHECK(g_ticks == 3);  // Timer2 is disabled
    }
    form->Unload();
}

TEST_CASE("hosted controls are created by class id from saved properties built once, in table z-order") {
    ProbeClassOffered offered;
    Runtime rt(GetModuleHandleW(nullptr));
    rt.UseTestClock();
    ProbeJournal().clear();
    auto first = rt.Load(frmTest);
    CHECK(LiveProbes() == 2);  // the design-time instances are gone
    // The design-time instance of each row was saved with user mode off.
    const std::vector<std::string> opening{"SetClientSite", "Load", "Activate", "Advise"};
    auto& j = ProbeJournal();
    REQUIRE(j.size() >= 8);
    CHECK(std::vector<std::string>(j.end() - 4, j.end()) == opening);
    first->Unload();

    ProbeJournal().clear();
    auto second = rt.Load(frmTest);
    std::vector<std::string> both = opening;
    both.insert(both.end(), opening.begin(), opening.end());
    CHECK(ProbeJournal() == both);  // no second design-time pass

    Control& p1 = (*second)["Probe1"];
    Control& p2 = (*second)["Probe2"];
    CHECK(ProbeOf(p1)->color == RGB(10, 200, 30));
    CHECK(ProbeOf(p1)->userMode);
    CHECK(ProbeOf(p2)->color == 0x8000000F);  // the form's back colour, the ambient at InitNew, then saved
    const int dx = Dpi(LOGPIXELSX), dy = Dpi(LOGPIXELSY);
    CHECK(SameRect(testsupport::RectInParent(p1.hwnd()), RECT{MulDiv(1800, dx, 1440), MulDiv(1500, dy, 1440),
                                                 MulDiv(3240, dx, 1440), MulDiv(2220, dy, 1440)}));
    HWND top = GetWindow(second->hwnd(), GW_CHILD);
    while (top && top != p1.hwnd() && top != p2.hwnd()) top = GetWindow(top, GW_HWNDNEXT);
    CHECK(top == p2.hwnd());  // the later row lies above
    second->Unload();
}

TEST_CASE("late binding by id and by name, with a call record, and run-time errors") {
    ProbeClassOffered offered;
    Runtime rt(GetModuleHandleW(nullptr));
    rt.UseTestClock();
    auto form = rt.Load(frmTest);
    Control& c = (*form)["Probe1"];
    ProbeControl* probe = ProbeOf(c);
    rt.calls.enabled = true;

    c.Put(kProbeColor, Arg::I4(RGB(1, 2, 3)));
    CHECK(probe->color == RGB(1, 2, 3));
    CHECK(probe->calls.back().namedPut);
    c.Put(L"caption", Arg::Str(L"Hi"));
    CHECK(c.Get(L"Caption").AsString() == L"Hi");
    CHECK(c.Get(kProbeColor).AsLong() == static_cast<LONG>(RGB(1, 2, 3)));
    IFontDisp* object = CreateFontObject(FontDef{});
    REQUIRE(object);
    c.PutRef(L"Picture", Arg::Object(object));
    CHECK(probe->calls.back().flags == DISPATCH_PROPERTYPUTREF);
    CHECK(probe->picture == object);

    REQUIRE(rt.calls.calls.size() == 5);
    const CallRecord& put = rt.calls.calls[0];
    CHECK((put.control == "Probe1" && put.dispid == kProbeColor && put.flags == DISPATCH_PROPERTYPUT));
    CHECK(put.types == std::vector<VARTYPE>{VT_I4});
    CHECK(put.values[0].AsLong() == static_cast<LONG>(RGB(1, 2, 3)));
    CHECK(rt.calls.calls[1].types == std::vector<VARTYPE>{VT_BSTR});
    CHECK(rt.calls.calls[4].types == std::vector<VARTYPE>{VT_DISPATCH});

    SUBCASE("a failing call raises the exception's status and text") {
        try {
            c.Call(kProbeFail);
            FAIL("no error raised");
        } catch (const RuntimeError& e) {
            CHECK(e.hr == E_INVALIDARG);
            CHECK(e.text == L"probe refused");
            CHECK(e.control == "Probe1");
        }
        CHECK_THROWS_AS(c.Get(L"NoSuchMember"), RuntimeError);
    }
    form->Unload();
    object->Release();
}

TEST_CASE("events reach handlers by dispatch id once the control is loaded, nested ones at once") {
    ProbeClassOffered offered;
    Runtime rt(GetModuleHandleW(nullptr));
    rt.UseTestClock();
    std::vector<std::string> hooked;
    rt.onError = [&](const std::string& line) { hooked.push_back(line); };
    g_trace.clear();
    ProbeControl::fireOnLoadDefault = true;  // each probe fires event 7 inside Load
    auto form = rt.Load(frmTest);
    ProbeControl::fireOnLoadDefault = false;
    CHECK(g_trace == std::vector<std::string>{"Form_Load 10"});  // no "7": not connected yet

    ProbeControl* probe = ProbeOf((*form)["Probe1"]);
    g_trace.clear();
    VARIANT arg;
    VariantInit(&arg);
    V_VT(&arg) = VT_R8;
    V_R8(&arg) = 2.5;
    probe->Fire(9, {arg});
    CHECK(g_trace == std::vector<std::string>{"9 start 2.500000", "10", "9 end"});
    probe->Fire(7, {});
    probe->Fire(12, {});  // bound to nothing: ignored
    CHECK(g_trace.back() == "7");

    const int windows = visibleWindows();
    g_trace.clear();
    probe->Fire(11, {});
    CHECK(g_trace.empty());  // the handler stopped at the failing call
    CHECK(visibleWindows() == windows);  // and no error box came up
    REQUIRE(rt.errors.size() == 1);
    CHECK(rt.errors[0].find("frmTest.Probe1_Event11") == 0);
    CHECK(rt.errors[0].find("Probe1.Fail: 0x80070057 probe refused") != std::string::npos);
    CHECK(hooked == rt.errors);
    probe->Fire(10, {});
    CHECK(g_trace == std::vector<std::string>{"10"});  // later events still run

    probe->AddRef();
    form->Unload();
    CHECK(probe->EventSinks() == 0);
    g_trace.clear();
    probe->Fire(10, {});
    CHECK(g_trace.empty());
    probe->Release();
}

TEST_CASE("unloading stops the timers, disconnects the sinks, then deactivates, closes and releases each control") {
    ProbeClassOffered offered;
    Runtime rt(GetModuleHandleW(nullptr));  // the real clock
    g_ticks = 0;
    auto form = rt.Load(frmTest);
    HWND window = form->hwnd();
    IUnknown* kept = (*form)["Probe1"].Object();
    kept->AddRef();
    Sleep(250);  // ticks are due and queued, not dispatched
    ProbeJournal().clear();
    form->Unload();
    CHECK(ProbeJournal() == std::vector<std::string>{"Unadvise", "Unadvise", "InPlaceDeactivate", "Close",
                                                     "SetClientSite(null)", "Destroyed", "InPlaceDeactivate", "Close",
                                                     "SetClientSite(null)"});
    CHECK_FALSE(IsWindow(window));
    PumpMessages(300);
    CHECK(g_ticks == 0);
    CHECK(kept->Release() == 0);  // the test's reference was the last
    CHECK(ProbeJournal().back() == "Destroyed");
    CHECK(rt.forms().empty());
}

TEST_CASE("a form whose control cannot be created opens nothing and keeps nothing") {
    ProbeClassOffered offered;
    Runtime rt(GetModuleHandleW(nullptr));
    rt.UseTestClock();
    g_trace.clear();
    try {
        rt.Load(frmBroken);
        FAIL("the form loaded");
    } catch (const RuntimeError& e) {
        CHECK(e.control == "Nowhere1");
        CHECK(e.hr == REGDB_E_CLASSNOTREG);
    }
    CHECK(LiveProbes() == 0);
    CHECK(g_trace.empty());  // no Form_Load
    CHECK(rt.forms().empty());
    CHECK(FindWindowW(L"QevFormsWindow", nullptr) == nullptr);
}

TEST_CASE("screenshots are PNG files that the platform decodes to the same pixels") {
    DibCanvas canvas(37, 5, RGB(10, 20, 30));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 37; x += 3) SetPixelV(canvas.dc(), x, y, RGB(7 * x, 50 * y, 255 - 6 * x));
    SetPixelV(canvas.dc(), 36, 4, RGB(200, 100, 50));
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, path);
    std::wstring file = std::wstring(path) + L"forms_runtime_test.png";
    REQUIRE(WritePng(canvas, file.c_str()));
    IPicture* picture = nullptr;
    REQUIRE(OleLoadPicturePath(const_cast<LPOLESTR>(file.c_str()), nullptr, 0, 0, IID_IPicture,
                               reinterpret_cast<void**>(&picture)) == S_OK);
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture->get_Width(&w);
    picture->get_Height(&h);
    DibCanvas back(37, 5, RGB(0, 0, 0));
    picture->Render(back.dc(), 0, 0, 37, 5, 0, h, w, -h, nullptr);
    int differ = 0;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 37; ++x) differ += back.Pixel(x, y) != canvas.Pixel(x, y);
    CHECK(differ == 0);
    picture->Release();
    DeleteFileW(file.c_str());
}

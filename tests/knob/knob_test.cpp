// The knob as a container sees it: setter protocol, Booleans, fonts, live
// values, events, persistence and the library's lifetime.
#include <doctest/doctest.h>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include <objsafe.h>

#include "Tarnik.h"
#include "forms/site.h"
#include "host.h"
#include "persistence.h"
#include "platform_ids.h"
#include "ptr.h"
#include "recorders.h"

using namespace testsupport;

namespace {

const LoadedLibrary& Library() { return KeptLibrary(L"Tarnik.dll"); }

// A knob attached to a site of its own (not in-place active unless asked).
struct Hosted {
    TestWindow window;
    forms::ControlSite* site = nullptr;
    Ptr<IQEV_Knob> knob;

    explicit Hosted(bool attach = true, bool initNew = true) {
        REQUIRE(Library().Create(CLSID_QEV_Knob, IID_IQEV_Knob, reinterpret_cast<void**>(knob.out())) == S_OK);
        REQUIRE(forms::ControlSite::Create(window, &site) == S_OK);
        if (attach) {
            REQUIRE(site->Attach(knob) == S_OK);
            if (initNew) REQUIRE(site->InitNew() == S_OK);
        }
    }
    ~Hosted() {
        site->Detach();
        site->Release();
    }
    template <class I>
    I* As(REFIID iid) {
        I* p = nullptr;
        knob->QueryInterface(iid, reinterpret_cast<void**>(&p));
        if (p) p->Release();  // the knob keeps it alive
        return p;
    }
};

using Builder = TaggedBytes;
using Bag = MapBag;

std::vector<BYTE> Save(IUnknown* ctl) {
    std::vector<BYTE> bytes;
    REQUIRE(SaveControl(ctl, bytes) == S_OK);
    return bytes;
}

HRESULT Load(IUnknown* ctl, const std::vector<BYTE>& bytes) { return LoadControl(ctl, bytes); }

size_t Find(const std::vector<BYTE>& hay, const std::vector<BYTE>& needle, size_t from = 0) {
    return FindBytes(hay, needle, from);
}

}  // namespace

TEST_CASE("a setter stores, notifies, repaints, marks the control dirty and tells data holders, in that order") {
    Hosted h;
    NotifyRecorder notify;
    REQUIRE(notify.Connect(h.knob) == S_OK);
    double seenInside = 0;
    notify.onChanged = [&](DISPID) { h.knob->get_MaxVal(&seenInside); };
    Ptr<IPersistStreamInit> ps;
    h.knob->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(ps.out()));
    Save(h.knob);  // clean
    CHECK(ps->IsDirty() == S_FALSE);
    h.site->ResetCounters();

    CHECK(h.knob->put_MaxVal(250.0) == S_OK);
    CHECK(notify.Log() == std::vector<NotifyEntry>{{NotifyEntry::Changed, 4}});
    CHECK(seenInside == 250.0);  // the value is stored before the container hears of it
    CHECK(h.site->counters().viewChanges == 1);
    CHECK(h.site->counters().dataChanges == 1);
    CHECK(ps->IsDirty() == S_OK);

    // No range checks and no leave asked: any enumeration value is kept.
    CHECK(h.knob->put_BorderType(static_cast<EdgeStyle>(77)) == S_OK);
    EdgeStyle border;
    h.knob->get_BorderType(&border);
    CHECK(border == 77);
    CHECK(notify.Requests(12) == 0);
    CHECK(notify.ChangedDispids() == std::vector<DISPID>{4, 12});
}

TEST_CASE("Booleans: only VARIANT_TRUE stores true, and true reads back as -1") {
    Hosted h;
    VARIANT_BOOL b = 5;
    CHECK(h.knob->put_InverseDirection(1) == S_OK);
    h.knob->get_InverseDirection(&b);
    CHECK(b == VARIANT_FALSE);
    h.knob->put_InverseDirection(VARIANT_TRUE);
    h.knob->get_InverseDirection(&b);
    CHECK(b == VARIANT_TRUE);
    h.knob->get_MarkerVisible(&b);
    CHECK(b == VARIANT_TRUE);
    h.knob->put_Enabled(1);
    h.knob->get_Enabled(&b);
    CHECK(b == VARIANT_FALSE);
}

TEST_CASE("defaults of a new knob, and a null result pointer is refused by every getter") {
    Hosted h;
    OLE_COLOR c;
    h.knob->get_BkColor(&c);
    CHECK(c == GetSysColor(COLOR_WINDOW));  // InitNew without an ambient back colour
    h.knob->get_PanelBorderDarkColor(&c);
    CHECK(c == GetSysColor(COLOR_BTNSHADOW));
    short s;
    h.knob->get_StartAngle(&s);
    CHECK(s == 135);
    h.knob->get_TickerNum(&s);
    CHECK(s == 6);
    float f;
    h.knob->get_GradientRate(&f);
    CHECK(f == 0.5f);
    BSTR unit = nullptr;
    h.knob->get_UnitName(&unit);
    REQUIRE(unit != nullptr);
    CHECK(SysStringLen(unit) == 0);
    SysFreeString(unit);
    IndicatorStyle ind;
    h.knob->get_IndicatorType(&ind);
    CHECK(ind == IS_RoundButton);
    double v;
    h.knob->GetValue(&v);
    CHECK(v == 50.0);

    CHECK(h.knob->get_BkColor(nullptr) == E_POINTER);
    CHECK(h.knob->get_MaxVal(nullptr) == E_POINTER);
    CHECK(h.knob->get_UnitName(nullptr) == E_POINTER);
    CHECK(h.knob->get_Font(nullptr) == E_POINTER);
    CHECK(h.knob->get_FontSize(nullptr) == E_POINTER);
    CHECK(h.knob->get_hWnd(nullptr) == E_POINTER);
    CHECK(h.knob->GetValue(nullptr) == E_POINTER);
}

TEST_CASE("the ambient back colour becomes BkColor at InitNew, whichever comes first of site and InitNew") {
    SUBCASE("site first") {
        Hosted h(true, false);
        h.site->ambients().answerBackColor = true;
        h.site->ambients().backColor = 0x123456;
        REQUIRE(h.site->InitNew() == S_OK);
        OLE_COLOR c;
        h.knob->get_BkColor(&c);
        CHECK(c == 0x123456);
    }
    SUBCASE("InitNew first, as some hosts do: no site yet, the window colour; the font still comes with the site") {
        Hosted h(false);
        REQUIRE(h.site->Adopt(h.knob) == S_OK);
        REQUIRE(h.site->InitNew() == S_OK);
        REQUIRE(h.site->ConnectSite() == S_OK);
        OLE_COLOR c;
        h.knob->get_BkColor(&c);
        CHECK(c == GetSysColor(COLOR_WINDOW));
        Ptr<IFontDisp> font;
        h.knob->get_Font(font.out());
        CHECK(font.p != nullptr);
    }
}

TEST_CASE("live values clamp, notify nobody and leave the control clean") {
    Hosted h;
    NotifyRecorder notify;
    notify.Connect(h.knob);
    Ptr<IPersistStreamInit> ps;
    h.knob->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(ps.out()));
    Save(h.knob);
    double v;
    h.knob->UpdateValue(150);
    h.knob->GetValue(&v);
    CHECK(v == 100);
    h.knob->UpdateValue(-5);
    h.knob->GetValue(&v);
    CHECK(v == 0);
    CHECK(h.knob->UpdateValue(std::numeric_limits<double>::quiet_NaN()) == E_INVALIDARG);
    h.knob->GetValue(&v);
    CHECK(v == 0);
    h.knob->put_MinVal(80);
    h.knob->put_MaxVal(20);
    h.knob->GetValue(&v);
    CHECK(v == 0);  // a new range leaves the value alone
    h.knob->UpdateValue(50);
    h.knob->GetValue(&v);
    CHECK(v == 80);  // MinVal wins when it is above MaxVal
    Save(h.knob);
    notify.Clear();
    CHECK(h.knob->SetScaleRangeColor(-1, 0, 10, 0xFF) == S_OK);
    CHECK(h.knob->SetScaleRangeColor(10, 0, 10, 0xFF) == S_OK);
    CHECK(h.knob->SetScaleRangeColor(9, 0, 10, 0xFF) == S_OK);
    CHECK(h.knob->CancelScaleRangeColor(9) == S_OK);
    h.knob->UpdateValue(60);
    CHECK(notify.Log().empty());
    CHECK(ps->IsDirty() == S_FALSE);
}

TEST_CASE("fonts: default font, parts, veto, and the change sink that follows only the site's font") {
    Hosted h;
    NotifyRecorder notify;
    notify.Connect(h.knob);
    Ptr<IFontDisp> disp;
    REQUIRE(h.knob->get_Font(disp.out()) == S_OK);
    REQUIRE(disp.p != nullptr);
    Ptr<IFont> font;
    REQUIRE(disp->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.out())) == S_OK);
    short weight = 0;
    font->get_Weight(&weight);
    CHECK(weight == 500);
    CY size;
    font->get_Size(&size);
    short points = 0;
    h.knob->get_FontSize(&points);
    CHECK(points == (short)(size.Lo / 10000));

    SUBCASE("parts notify Font then themselves; the connected font repaints through its sink") {
        h.site->ResetCounters();
        CHECK(h.knob->put_FontSize(9) == S_OK);
        h.knob->get_FontSize(&points);
        CHECK(points == 9);
        CHECK(notify.ChangedDispids() == std::vector<DISPID>{33, 53});
        CHECK(h.site->counters().viewChanges >= 1);  // from the sink, not the setter
        notify.Clear();
        h.knob->put_FontBold(VARIANT_TRUE);
        VARIANT_BOOL bold;
        h.knob->get_FontBold(&bold);
        CHECK(bold == VARIANT_TRUE);
        CHECK(notify.ChangedDispids() == std::vector<DISPID>{33, 54});
        // Changing the connected font directly repaints too.
        h.site->ResetCounters();
        font->put_Italic(TRUE);
        CHECK(h.site->counters().viewChanges >= 1);
    }
    SUBCASE("a vetoed Font keeps the old font; the other setters never ask") {
        notify.veto = true;
        Ptr<IFontDisp> other;
        FONTDESC fd{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {{120000, 0}}, 400, 0, 0, 0, 0};
        OleCreateFontIndirect(&fd, IID_IFontDisp, reinterpret_cast<void**>(other.out()));
        CHECK(h.knob->put_Font(other) == S_OK);
        Ptr<IFontDisp> now;
        h.knob->get_Font(now.out());
        CHECK(now.p == disp.p);
        CHECK(notify.Requests(33) == 1);
        CHECK(notify.Changed(33) == 0);
        h.knob->put_TickerNum(3);
        CHECK(notify.Requests(6) == 0);
    }
    SUBCASE("put_Font clones, putref_Font keeps the object, and neither moves the sink") {
        Ptr<IFontDisp> other;
        FONTDESC fd{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {{120000, 0}}, 400, 0, 0, 0, 0};
        OleCreateFontIndirect(&fd, IID_IFontDisp, reinterpret_cast<void**>(other.out()));
        h.knob->put_Font(other);
        Ptr<IFontDisp> now;
        h.knob->get_Font(now.out());
        CHECK(now.p != other.p);
        CHECK(notify.Changed(33) == 1);
        h.knob->putref_Font(other);
        h.knob->get_Font(now.out());
        CHECK(now.p == other.p);
        Ptr<IFont> otherFont;
        other->QueryInterface(IID_IFont, reinterpret_cast<void**>(otherFont.out()));
        h.site->ResetCounters();
        otherFont->put_Bold(TRUE);
        CHECK(h.site->counters().viewChanges == 0);
    }
    SUBCASE("without a font every part answers S_OK and leaves its result alone") {
        CHECK(h.knob->put_Font(nullptr) == S_OK);
        CHECK(notify.Changed(33) == 0);
        Ptr<IFontDisp> none;
        h.knob->get_Font(none.out());
        CHECK(none.p == nullptr);
        short s = 1234;
        CHECK(h.knob->get_FontSize(&s) == S_OK);
        CHECK(s == 1234);
        BSTR name = reinterpret_cast<BSTR>(1);
        CHECK(h.knob->get_FontName(&name) == S_OK);
        CHECK(name == reinterpret_cast<BSTR>(1));
        CHECK(h.knob->put_FontBold(VARIANT_TRUE) == S_OK);
        CHECK(notify.Changed(54) == 0);
        CHECK(h.knob->putref_Font(nullptr) == S_OK);
        CHECK(notify.Changed(33) == 1);
    }
}

TEST_CASE("a negative FontSize is refused and changes and notifies nothing; zero is accepted") {
    Hosted h;
    NotifyRecorder notify;
    notify.Connect(h.knob);
    REQUIRE(h.knob->put_FontSize(12) == S_OK);
    short before = 0;  // the size the font object realised
    REQUIRE(h.knob->get_FontSize(&before) == S_OK);
    Ptr<IPersistStreamInit> ps;
    REQUIRE(h.knob->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(ps.out())) == S_OK);
    IStream* saved = NewStream();
    REQUIRE(ps->Save(saved, TRUE) == S_OK);  // clears the dirty flag
    saved->Release();
    notify.Clear();
    for (short size : {-1, -32768}) {
        CAPTURE(size);
        CHECK(h.knob->put_FontSize(size) == E_INVALIDARG);
        short points = 0;
        h.knob->get_FontSize(&points);
        CHECK(points == before);
        CHECK(notify.Log().empty());
        CHECK(ps->IsDirty() == S_FALSE);
    }
    // Late-bound callers get the status too.
    Ptr<IDispatch> disp;
    REQUIRE(h.knob->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(disp.out())) == S_OK);
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"FontSize");
    REQUIRE(disp->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id) == S_OK);
    VARIANT arg;
    V_VT(&arg) = VT_I2;
    V_I2(&arg) = -5;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&arg, &named, 1, 1};
    EXCEPINFO excep{};
    const HRESULT hr = disp->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, &excep,
                                    nullptr);
    CHECK((hr == E_INVALIDARG || (hr == DISP_E_EXCEPTION && excep.scode == E_INVALIDARG)));
    SysFreeString(excep.bstrSource);
    SysFreeString(excep.bstrDescription);
    SysFreeString(excep.bstrHelpFile);
    CHECK(notify.Log().empty());

    CHECK(h.knob->put_FontSize(0) == S_OK);
    CHECK(notify.ChangedDispids() == std::vector<DISPID>{33, 53});
}

TEST_CASE("the ambient font is cloned, not shared") {
    Hosted h(false);
    Ptr<IFontDisp> ambient;
    FONTDESC fd{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {{120000, 0}}, 700, 0, 0, 0, 0};
    OleCreateFontIndirect(&fd, IID_IFontDisp, reinterpret_cast<void**>(ambient.out()));
    h.site->ambients().font = ambient;
    REQUIRE(h.site->Attach(h.knob) == S_OK);
    Ptr<IFontDisp> mine;
    h.knob->get_Font(mine.out());
    REQUIRE(mine.p != nullptr);
    CHECK(mine.p != ambient.p);
    short w = 0;
    h.knob->get_FontWeight(&w);
    CHECK(w == 700);
    BSTR name = nullptr;
    h.knob->get_FontName(&name);
    CHECK(std::wstring(name) == L"Arial");
    SysFreeString(name);
}

TEST_CASE("the library unloads once the knob is gone, even while someone keeps its font") {
    LoadedLibrary lib(L"Tarnik.dll");
    Ptr<IFontDisp> kept;
    {
        TestWindow window;
        forms::ControlSite* site = nullptr;
        forms::ControlSite::Create(window, &site);
        Ptr<IQEV_Knob> knob;
        REQUIRE(lib.Create(CLSID_QEV_Knob, IID_IQEV_Knob, reinterpret_cast<void**>(knob.out())) == S_OK);
        site->Attach(knob);
        site->InitNew();
        CHECK(lib.CanUnloadNow() == S_FALSE);
        knob->get_Font(kept.out());
        site->Detach();
        site->Release();
    }
    // The sink was disconnected from the font: changing it reaches no dead control.
    Ptr<IFont> f;
    kept->QueryInterface(IID_IFont, reinterpret_cast<void**>(f.out()));
    CHECK(f->put_Bold(TRUE) == S_OK);
    CHECK(lib.CanUnloadNow() == S_OK);
}

TEST_CASE("events reach connected sinks with their argument types, and a disabled knob fires none") {
    Hosted h;
    REQUIRE(h.site->Activate(RECT{0, 0, 200, 200}) == S_OK);
    HWND w = h.site->ControlWindow();
    REQUIRE(w != nullptr);
    CHECK(GetWindowLongW(w, GWL_STYLE) == 0x56000000);
    WCHAR cls[64];
    GetClassNameW(w, cls, 64);
    WNDCLASSEXW wc{sizeof(wc)};
    GetClassInfoExW(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(w, GWLP_HINSTANCE)), cls, &wc);
    CHECK((wc.style & (CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS)) == (CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
    LONG hwnd = 0;
    h.knob->get_hWnd(&hwnd);
    CHECK(hwnd == (LONG)(LONG_PTR)w);

    EventRecorder events(DIID__IQEV_KnobEvents);
    REQUIRE(events.Connect(h.knob) == S_OK);
    SendMessageW(w, WM_KEYDOWN, 0x41, MAKELPARAM(3, 0x1E));
    SendMessageW(w, WM_KEYUP, 0x41, MAKELPARAM(1, 0xC01E));
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 7));
    SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(6, 8));
    SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 7));
    SendMessageW(w, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 7));
    REQUIRE(events.Dispids() == std::vector<DISPID>{7, 8, 4, 6, 5, 2});
    const RecordedEvent& key = events.Events()[0];
    CHECK(key.flags == DISPATCH_METHOD);
    CHECK(key.lcid == 0x400);
    REQUIRE(key.types == std::vector<VARTYPE>{VT_I4, VT_I4, VT_I4});
    CHECK(key.Long(0) == 0x41);
    CHECK(key.Long(1) == 3);
    CHECK(key.Long(2) == 0x1E);
    CHECK(events.Events()[1].Long(2) == 0xC01E);
    const RecordedEvent& down = events.Events()[2];
    REQUIRE(down.types == std::vector<VARTYPE>{VT_I4, VT_I4});
    CHECK(down.Long(0) == 5);
    CHECK(down.Long(1) == 7);
    CHECK(events.Events()[5].types.empty());

    events.Clear();
    h.knob->put_Enabled(VARIANT_FALSE);
    CHECK(IsWindowEnabled(w) == FALSE);  // user mode on
    SendMessageW(w, WM_KEYDOWN, 0x41, 1);
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 7));
    SendMessageW(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(6, 8));
    SendMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 7));
    SendMessageW(w, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 7));
    CHECK(events.Count() == 0);
}

TEST_CASE("a sink that releases the knob inside an event does not crash it") {
    TestWindow window;
    forms::ControlSite* site = nullptr;
    forms::ControlSite::Create(window, &site);
    IQEV_Knob* knob = nullptr;
    REQUIRE(Library().Create(CLSID_QEV_Knob, IID_IQEV_Knob, reinterpret_cast<void**>(&knob)) == S_OK);
    site->Attach(knob);
    site->InitNew();
    site->Activate(RECT{0, 0, 100, 100});
    HWND w = site->ControlWindow();
    EventRecorder events(DIID__IQEV_KnobEvents);
    events.Connect(knob);
    events.onEvent = [&](const RecordedEvent&) {
        events.Disconnect();
        site->Detach();
        if (knob) knob->Release();
        knob = nullptr;
    };
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 7));
    CHECK(knob == nullptr);
    CHECK(IsWindow(w) == FALSE);
    site->Release();
}

TEST_CASE("the saved stream: version, extent and every row in map order with its tag") {
    Hosted h;
    std::vector<BYTE> saved = Save(h.knob);
    Builder head;
    head.raw<DWORD>(0x800).raw<DWORD>(5080).raw<DWORD>(5080);
    head.color(GetSysColor(COLOR_WINDOW)).color(GetSysColor(COLOR_BTNFACE)).boolean(false).r8(100.0).r8(0.0);
    head.i2(6).i2(10).color(0xFF).boolean(false).color(0xD0D0D0).str(L"").i4(0).i2(1).i2(20).i2(20).i4(3).i4(1).i4(0);
    head.color(0).i4(0).i4(6).i2(10).color(GetSysColor(COLOR_BTNSHADOW)).color(GetSysColor(COLOR_BTNHIGHLIGHT));
    head.i4(4).r4(0.5f).i2(135).i2(45).i2(4).i2(4).color(0xA8A8A8).color(0xE4E4E4).tag(VT_DISPATCH);
    REQUIRE(saved.size() > head.b.size() + 16);
    CHECK(std::vector<BYTE>(saved.begin(), saved.begin() + head.b.size()) == head.b);
    // MaxVal 100.0 as the example bytes show it.
    const BYTE maxVal[] = {0x05, 0x00, 0, 0, 0, 0, 0, 0, 0x59, 0x40};
    CHECK(Find(saved, std::vector<BYTE>(maxVal, maxVal + 10)) != std::string::npos);
    CHECK(memcmp(&saved[head.b.size()], &kStdFont, 16) == 0);

    // After the font's own data: the rest of the map.
    Builder tail;
    tail.boolean(false).color(GetSysColor(COLOR_BTNFACE)).color(0xE4E4E4).i4(0).color(0xA8A8A8).i2(20).i2(10);
    tail.color(0xFF).i4(6).boolean(true).i4(0).boolean(true).boolean(true);
    size_t at = Find(saved, tail.b, head.b.size() + 16);
    REQUIRE(at != std::string::npos);
    BSTR name = nullptr;
    h.knob->get_FontName(&name);
    short points = 0, weight = 0, charset = 0;
    h.knob->get_FontSize(&points);
    h.knob->get_FontWeight(&weight);
    h.knob->get_FontCharset(&charset);
    Builder fontRows;
    fontRows.str(name).i2(points).boolean(false).boolean(false).boolean(false).boolean(false).i2(weight).i2(charset);
    fontRows.i4(1);  // BackStyle
    SysFreeString(name);
    size_t rest = at + tail.b.size();
    CHECK(std::vector<BYTE>(saved.begin() + rest, saved.end()) == fontRows.b);
}

TEST_CASE("saving and loading: a full round trip, version refusal, truncation and hostile data") {
    Hosted a;
    a.knob->put_MaxVal(300.5);
    a.knob->put_TickerNum(11);
    BSTR rpm = SysAllocString(L"RPM");
    a.knob->put_UnitName(rpm);
    SysFreeString(rpm);
    a.knob->put_MarkerVisible(VARIANT_FALSE);
    a.knob->put_GradientRate(0.25f);
    a.knob->put_BorderType(ES_RAISEDCIRCLE);
    a.knob->put_FontSize(14);
    a.knob->UpdateValue(77);
    std::vector<BYTE> saved = Save(a.knob);
    const BYTE unitRow[] = {0x08, 0x00, 0x08, 0x00, 0x00, 0x00, 0x52, 0x00, 0x50, 0x00, 0x4D, 0x00, 0x00, 0x00};
    size_t unitAt = Find(saved, std::vector<BYTE>(unitRow, unitRow + sizeof(unitRow)));
    REQUIRE(unitAt != std::string::npos);

    SUBCASE("every persisted property comes back; the value starts at 50 again") {
        Hosted b;
        NotifyRecorder notify;
        notify.Connect(b.knob);
        CHECK(Load(b.knob, saved) == S_OK);
        CHECK(Save(b.knob) == saved);
        double v;
        b.knob->GetValue(&v);
        CHECK(v == 50.0);
        CHECK(notify.Changed(4) == 1);  // each row went through its setter
        Ptr<IPersistStreamInit> ps;
        b.knob->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(ps.out()));
        CHECK(ps->IsDirty() == S_FALSE);
    }
    SUBCASE("a version above 0x800 is refused and changes nothing") {
        Hosted b;
        std::vector<BYTE> newer = saved;
        newer[0] = 0x01;
        newer[1] = 0x08;
        CHECK(Load(b.knob, newer) == E_FAIL);
        double maxVal;
        b.knob->get_MaxVal(&maxVal);
        CHECK(maxVal == 100.0);
    }
    SUBCASE("a stream ending right after UnitName applies the rows before it only") {
        Hosted b;
        std::vector<BYTE> cut(saved.begin(), saved.begin() + unitAt + sizeof(unitRow));
        CHECK(Load(b.knob, cut) == E_FAIL);
        double maxVal;
        b.knob->get_MaxVal(&maxVal);
        CHECK(maxVal == 300.5);
        BSTR unit = nullptr;
        b.knob->get_UnitName(&unit);
        CHECK(std::wstring(unit) == L"RPM");
        SysFreeString(unit);
        EdgeStyle border;
        b.knob->get_BorderType(&border);
        CHECK(border == ES_FLAT);
    }
    SUBCASE("hostile rows stop the load with an error") {
        Hosted b;
        std::vector<BYTE> odd = saved;
        odd[unitAt + 2] = 0x07;  // odd byte count
        CHECK(FAILED(Load(b.knob, odd)));
        std::vector<BYTE> huge = saved;
        huge[unitAt + 5] = 0x7F;  // a count far beyond the stream
        CHECK(FAILED(Load(b.knob, huge)));
        std::vector<BYTE> tag = saved;
        tag[unitAt] = 0x44;  // no such tag
        CHECK(Load(b.knob, tag) == E_FAIL);
        size_t fontAt = Find(saved, std::vector<BYTE>(reinterpret_cast<const BYTE*>(&kStdFont),
                                                      reinterpret_cast<const BYTE*>(&kStdFont) + 16));
        REQUIRE(fontAt != std::string::npos);
        std::vector<BYTE> foreign = saved;
        foreign[fontAt] ^= 0x55;  // a class that is not the standard font
        CHECK(Load(b.knob, foreign) == E_FAIL);
    }
}

TEST_CASE("storage and property bag carry the same properties") {
    Hosted a;
    a.knob->put_TickerNum(9);
    a.knob->put_MarkerVisible(VARIANT_FALSE);

    SUBCASE("the storage keeps the stream bytes under Contents") {
        Ptr<ILockBytes> lb;
        REQUIRE(CreateILockBytesOnHGlobal(nullptr, TRUE, lb.out()) == S_OK);
        Ptr<IStorage> stg;
        REQUIRE(StgCreateDocfileOnILockBytes(lb, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                             stg.out()) == S_OK);
        Ptr<IPersistStorage> pst;
        a.knob->QueryInterface(IID_IPersistStorage, reinterpret_cast<void**>(pst.out()));
        REQUIRE(pst->Save(stg, FALSE) == S_OK);
        Ptr<IStream> contents;
        REQUIRE(stg->OpenStream(L"Contents", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, contents.out()) == S_OK);
        CHECK(StreamBytes(contents) == Save(a.knob));
        contents.reset();  // the stream is opened exclusively
        Hosted b;
        Ptr<IPersistStorage> pst2;
        b.knob->QueryInterface(IID_IPersistStorage, reinterpret_cast<void**>(pst2.out()));
        CHECK(pst2->Load(stg) == S_OK);
        short n;
        b.knob->get_TickerNum(&n);
        CHECK(n == 9);
    }
    SUBCASE("bag keys are the map's names, MarkerVisible as bMarkerVisible") {
        Bag bag;
        Ptr<IPersistPropertyBag> ppb;
        a.knob->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(ppb.out()));
        REQUIRE(ppb->Save(&bag, TRUE, TRUE) == S_OK);
        CHECK(bag.values.count(L"bMarkerVisible") == 1);
        CHECK(bag.values.count(L"MarkerVisible") == 0);
        CHECK(bag.values.count(L"_cx") == 1);
        CHECK(bag.values.count(L"Font") == 1);
        CHECK(bag.values.count(L"hWnd") == 0);
        CHECK(bag.values.size() == 2 + 55);
        CHECK(bag.values[L"TickerNum"].vt() == VT_I2);

        Hosted b;
        Bag partial;
        partial.values[L"TickerNum"] = bag.values[L"TickerNum"];
        partial.values[L"bMarkerVisible"] = bag.values[L"bMarkerVisible"];
        Ptr<IPersistPropertyBag> ppb2;
        b.knob->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(ppb2.out()));
        CHECK(ppb2->Load(&partial, nullptr) == S_OK);
        short n;
        b.knob->get_TickerNum(&n);
        CHECK(n == 9);
        VARIANT_BOOL vis;
        b.knob->get_MarkerVisible(&vis);
        CHECK(vis == VARIANT_FALSE);
        double maxVal;
        b.knob->get_MaxVal(&maxVal);
        CHECK(maxVal == 100.0);  // keys absent from the bag leave their properties alone
    }
    SUBCASE("a knob without a font leaves Font out of the bag and saves a null object in the stream") {
        a.knob->put_Font(nullptr);
        Bag bag;
        Ptr<IPersistPropertyBag> ppb;
        a.knob->QueryInterface(IID_IPersistPropertyBag, reinterpret_cast<void**>(ppb.out()));
        REQUIRE(ppb->Save(&bag, TRUE, TRUE) == S_OK);
        CHECK(bag.values.count(L"Font") == 0);
        std::vector<BYTE> nullFont(18, 0);
        nullFont[0] = 0x09;
        CHECK(Find(Save(a.knob), nullFont) != std::string::npos);
    }
}

TEST_CASE("what the container learns from the knob's other interfaces") {
    Hosted h;
    Ptr<IOleObject> ole;
    h.knob->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(ole.out()));
    DWORD misc = 0;
    ole->GetMiscStatus(DVASPECT_CONTENT, &misc);
    CHECK(misc == 0x20191);
    Ptr<IProvideClassInfo2> pci;
    h.knob->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void**>(pci.out()));
    GUID events;
    pci->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events);
    CHECK(IsEqualGUID(events, DIID__IQEV_KnobEvents));
    Ptr<IObjectSafety> safety;
    h.knob->QueryInterface(IID_IObjectSafety, reinterpret_cast<void**>(safety.out()));
    DWORD supported = 0, enabled = 0;
    safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled);
    CHECK(supported == 3);
    CHECK(enabled == 3);
    Ptr<ISpecifyPropertyPages> spp;
    h.knob->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(spp.out()));
    CAUUID pages{};
    spp->GetPages(&pages);
    REQUIRE(pages.cElems == 4);
    CHECK(IsEqualGUID(pages.pElems[0], CLSID_GeneralProp));
    CHECK(IsEqualGUID(pages.pElems[1], CLSID_KnobScale));
    CoTaskMemFree(pages.pElems);
    const IID others[] = {IID_IViewObjectEx, IID_IOleInPlaceObjectWindowless, IID_IPersistPropertyBag,
                          IID_IQuickActivate, IID_IDataObject, IID_IOleControl, IID_IPerPropertyBrowsing,
                          IID_IRunnableObject, IID_ISupportErrorInfo, IID_IObjectWithSite};
    for (const IID& iid : others) {
        Ptr<IUnknown> p;
        CHECK(h.knob->QueryInterface(iid, reinterpret_cast<void**>(p.out())) == S_OK);
    }
    Ptr<IEnumOLEVERB> verbs;
    REQUIRE(ole->EnumVerbs(verbs.out()) == S_OK);
    OLEVERB verb{};
    ULONG n = 0;
    REQUIRE(verbs->Next(1, &verb, &n) == S_OK);
    CHECK(std::wstring(verb.lpszVerbName) == L"&Properties");
    CoTaskMemFree(verb.lpszVerbName);
}

TEST_CASE("quick activation connects the container's sinks in one call") {
    TestWindow window;
    EventRecorder events(DIID__IQEV_KnobEvents);  // outlive the knob that holds them
    NotifyRecorder notify;
    Ptr<IQEV_Knob> knob;
    REQUIRE(Library().Create(CLSID_QEV_Knob, IID_IQEV_Knob, reinterpret_cast<void**>(knob.out())) == S_OK);
    forms::ControlSite* site = nullptr;
    forms::ControlSite::Create(window, &site);
    Ptr<IQuickActivate> qa;
    knob->QueryInterface(IID_IQuickActivate, reinterpret_cast<void**>(qa.out()));
    QACONTAINER qc{};
    qc.cbSize = sizeof(qc);
    qc.pClientSite = site;
    qc.pPropertyNotifySink = &notify;
    qc.pUnkEventSink = static_cast<IDispatch*>(&events);
    QACONTROL ctl{};
    ctl.cbSize = sizeof(ctl);
    REQUIRE(qa->QuickActivate(&qc, &ctl) == S_OK);
    CHECK(ctl.dwMiscStatus == 0x20191);
    CHECK(ctl.dwEventCookie != 0);
    CHECK(ctl.dwPropNotifyCookie != 0);
    knob->put_TickerNum(4);
    CHECK(notify.Changed(6) == 1);
    Ptr<IOleObject> ole;
    knob->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(ole.out()));
    ole->SetClientSite(nullptr);
    site->Release();
}

TEST_CASE("late binding through IDispatch coerces arguments the platform's way") {
    Hosted h;
    IDispatch* disp = h.knob;  // the dual interface is the dispatch interface
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"UpdateValue"), const_cast<LPOLESTR>(L"BkColor"),
                        const_cast<LPOLESTR>(L"InverseDirection")};
    DISPID ids[3];
    for (int i = 0; i < 3; ++i) REQUIRE(disp->GetIDsOfNames(IID_NULL, &names[i], 1, 0, &ids[i]) == S_OK);
    CHECK(ids[0] == 47);
    CHECK(ids[1] == 1);
    CHECK(ids[2] == 3);

    DISPID put = DISPID_PROPERTYPUT;
    VARIANT arg;
    V_VT(&arg) = VT_I4;
    V_I4(&arg) = 0x00336699;
    DISPPARAMS p{&arg, &put, 1, 1};
    CHECK(disp->Invoke(1, IID_NULL, 0, DISPATCH_PROPERTYPUT, &p, nullptr, nullptr, nullptr) == S_OK);
    OLE_COLOR c = 0;
    h.knob->get_BkColor(&c);
    CHECK(c == 0x00336699);

    VARIANT_BOOL truth = VARIANT_TRUE;
    V_VT(&arg) = VT_BYREF | VT_BOOL;
    V_BOOLREF(&arg) = &truth;
    CHECK(disp->Invoke(3, IID_NULL, 0, DISPATCH_PROPERTYPUT, &p, nullptr, nullptr, nullptr) == S_OK);
    VARIANT_BOOL b = 0;
    h.knob->get_InverseDirection(&b);
    CHECK(b == VARIANT_TRUE);

    // A put without the named argument is refused, as the platform does.
    DISPPARAMS unnamed{&arg, nullptr, 1, 0};
    CHECK(disp->Invoke(3, IID_NULL, 0, DISPATCH_PROPERTYPUT, &unnamed, nullptr, nullptr, nullptr) ==
          DISP_E_PARAMNOTFOUND);

    V_VT(&arg) = VT_R8;
    V_R8(&arg) = 75.5;
    DISPPARAMS call{&arg, nullptr, 1, 0};
    CHECK(disp->Invoke(47, IID_NULL, 0, DISPATCH_METHOD, &call, nullptr, nullptr, nullptr) == S_OK);
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    CHECK(disp->Invoke(48, IID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr) == S_OK);
    CHECK(V_VT(&result) == VT_R8);
    CHECK(V_R8(&result) == 75.5);
}

TEST_CASE("handing the control its own font back keeps the font watched") {
    Hosted h;
    Ptr<IFontDisp> disp;
    h.knob->get_Font(disp.out());
    REQUIRE(h.knob->putref_Font(disp) == S_OK);
    Ptr<IFont> font;
    disp->QueryInterface(IID_IFont, reinterpret_cast<void**>(font.out()));
    h.site->ResetCounters();
    font->put_Bold(TRUE);
    CHECK(h.site->counters().viewChanges >= 1);
}

TEST_CASE("every sink gets arguments of its own") {
    Hosted h;
    REQUIRE(h.site->Activate(RECT{0, 0, 100, 100}) == S_OK);
    HWND w = h.site->ControlWindow();
    EventRecorder first(DIID__IQEV_KnobEvents), second(DIID__IQEV_KnobEvents);
    REQUIRE(first.Connect(h.knob) == S_OK);
    REQUIRE(second.Connect(h.knob) == S_OK);
    // The first sink scribbles over what it was given.
    first.mutateArgs = true;
    SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(11, 12));
    REQUIRE(second.Count() == 1);
    CHECK(second.Events()[0].Long(0) == 11);
    CHECK(second.Events()[0].Long(1) == 12);
}

TEST_CASE("only paints that come with a DC shape the window; the redraw path leaves it alone") {
    Hosted h;
    h.knob->put_BorderType(ES_CIRCLE);
    REQUIRE(h.site->Activate(RECT{0, 0, 120, 120}) == S_OK);
    HWND w = h.site->ControlWindow();
    testsupport::PumpPending();
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    CHECK(GetWindowRgn(w, probe) != ERROR);
    SetWindowRgn(w, nullptr, FALSE);
    h.knob->UpdateValue(70);  // drawn at once into the window, no DC handed over
    CHECK(GetWindowRgn(w, probe) == ERROR);
    InvalidateRect(w, nullptr, FALSE);
    UpdateWindow(w);  // a paint with its DC
    CHECK(GetWindowRgn(w, probe) != ERROR);
    DeleteObject(probe);
}

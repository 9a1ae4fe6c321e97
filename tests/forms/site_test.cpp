// The control site, tried with a probe control of the tests' own, and the
// test helpers that every control test leans on.
#include <doctest/doctest.h>

#include "forms/site.h"
#include "canvas.h"
#include "host.h"
#include "recorders.h"
#include "probe_control.h"

#include <string>

using namespace testsupport;

static bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

namespace {

struct Hosted {
    TestWindow window{300, 200};
    forms::ControlSite* site = nullptr;
    ProbeControl* probe = ProbeControl::Create();
    Hosted() { REQUIRE(forms::ControlSite::Create(window, &site) == S_OK); }
    ~Hosted() {
        site->Detach();
        site->Release();
        probe->Release();
    }
};

IDispatch* AmbientDispatch(forms::ControlSite* site) {
    IDispatch* disp = nullptr;
    site->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&disp));
    return disp;
}

HRESULT GetAmbient(IDispatch* disp, DISPID id, Variant& out) {
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VariantClear(&out.v);
    return disp->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &out.v, nullptr, nullptr);
}

IFontDisp* MakeFont(const wchar_t* name) {
    FONTDESC fd{sizeof(FONTDESC), const_cast<LPOLESTR>(name), {{120000, 0}}, FW_BOLD, ANSI_CHARSET, FALSE, FALSE, FALSE};
    IFontDisp* font = nullptr;
    OleCreateFontIndirect(&fd, IID_IFontDisp, reinterpret_cast<void**>(&font));
    return font;
}

bool SameObject(IUnknown* a, IUnknown* b) {
    IUnknown *ua = nullptr, *ub = nullptr;
    a->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&ua));
    b->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&ub));
    bool same = ua && ua == ub;
    if (ua) ua->Release();
    if (ub) ub->Release();
    return same;
}


VARIANT MakeVariant(VARTYPE vt) {
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = vt;
    return v;
}

}  // namespace

TEST_CASE("the site answers exactly the ambient properties it is given") {
    Hosted h;
    IDispatch* disp = AmbientDispatch(h.site);
    REQUIRE(disp);
    Variant v;

    SUBCASE("user mode is on by default, can be off or absent") {
        CHECK(GetAmbient(disp, DISPID_AMBIENT_USERMODE, v) == S_OK);
        CHECK(v.vt() == VT_BOOL);
        CHECK(V_BOOL(&v.v) == VARIANT_TRUE);
        h.site->ambients().userMode = false;
        CHECK(GetAmbient(disp, DISPID_AMBIENT_USERMODE, v) == S_OK);
        CHECK(V_BOOL(&v.v) == VARIANT_FALSE);
        h.site->ambients().answerUserMode = false;
        CHECK(GetAmbient(disp, DISPID_AMBIENT_USERMODE, v) == DISP_E_MEMBERNOTFOUND);
    }
    SUBCASE("back colour is absent until set, then an I4") {
        CHECK(GetAmbient(disp, DISPID_AMBIENT_BACKCOLOR, v) == DISP_E_MEMBERNOTFOUND);
        h.site->ambients().answerBackColor = true;
        h.site->ambients().backColor = 0x80000005;
        CHECK(GetAmbient(disp, DISPID_AMBIENT_BACKCOLOR, v) == S_OK);
        CHECK(v.vt() == VT_I4);
        CHECK(static_cast<OLE_COLOR>(V_I4(&v.v)) == 0x80000005);
    }
    SUBCASE("font is absent until set, then the caller's own object") {
        CHECK(GetAmbient(disp, DISPID_AMBIENT_FONT, v) == DISP_E_MEMBERNOTFOUND);
        IFontDisp* font = MakeFont(L"Arial");
        REQUIRE(font);
        h.site->ambients().font = font;
        CHECK(GetAmbient(disp, DISPID_AMBIENT_FONT, v) == S_OK);
        REQUIRE(v.vt() == VT_DISPATCH);
        CHECK(SameObject(V_DISPATCH(&v.v), font));
        VariantClear(&v.v);
        h.site->ambients().font = nullptr;
        font->Release();
    }
    SUBCASE("other ambients are not answered, and every query is logged") {
        CHECK(GetAmbient(disp, DISPID_AMBIENT_UIDEAD, v) == DISP_E_MEMBERNOTFOUND);
        CHECK(GetAmbient(disp, DISPID_AMBIENT_LOCALEID, v) == DISP_E_MEMBERNOTFOUND);
        CHECK(h.site->counters().ambientQueries ==
              std::vector<DISPID>{DISPID_AMBIENT_UIDEAD, DISPID_AMBIENT_LOCALEID});
    }
    SUBCASE("without ambient dispatch the site gives no IDispatch and answers nothing") {
        h.site->ambients().noDispatch = true;
        CHECK(AmbientDispatch(h.site) == nullptr);
        // A control that kept the dispatch from before gets nothing either.
        CHECK(GetAmbient(disp, DISPID_AMBIENT_USERMODE, v) == DISP_E_MEMBERNOTFOUND);
    }
    disp->Release();
}

TEST_CASE("a control reads the ambients at SetClientSite and InitNew, in either order") {
    Hosted h;
    IFontDisp* font = MakeFont(L"Times New Roman");
    REQUIRE(font);
    auto& amb = h.site->ambients();
    amb.userMode = false;
    amb.answerBackColor = true;
    amb.backColor = RGB(12, 34, 56);
    amb.font = font;

    SUBCASE("site first, then InitNew") {
        REQUIRE(h.site->Attach(h.probe->unknown()) == S_OK);
        CHECK(h.probe->site != nullptr);
        CHECK(h.probe->sawUserMode);
        CHECK_FALSE(h.probe->userMode);
        CHECK(h.probe->sawFont);
        CHECK(SameObject(h.probe->ambientFont, font));
        REQUIRE(h.site->InitNew() == S_OK);
        CHECK(h.probe->sawBackColor);
        CHECK(h.probe->color == RGB(12, 34, 56));
    }
    SUBCASE("InitNew first, site after (the order of Wine's own host)") {
        REQUIRE(h.site->Adopt(h.probe->unknown()) == S_OK);
        CHECK(h.probe->site == nullptr);
        REQUIRE(h.site->InitNew() == S_OK);
        CHECK_FALSE(h.probe->sawBackColor);
        CHECK(h.probe->color == GetSysColor(COLOR_WINDOW));
        REQUIRE(h.site->ConnectSite() == S_OK);
        CHECK(h.probe->site != nullptr);
        CHECK(h.probe->sawFont);
    }
    SUBCASE("a site without ambient dispatch answers none of them") {
        amb.noDispatch = true;
        REQUIRE(h.site->Attach(h.probe->unknown()) == S_OK);
        REQUIRE(h.site->InitNew() == S_OK);
        CHECK_FALSE(h.probe->sawUserMode);
        CHECK_FALSE(h.probe->sawFont);
        CHECK_FALSE(h.probe->sawBackColor);
    }
    h.site->Detach();
    amb.font = nullptr;
    font->Release();
}

TEST_CASE("in-place activation gives the control its window, context and position") {
    Hosted h;
    REQUIRE(h.site->Attach(h.probe->unknown()) == S_OK);
    REQUIRE(h.site->InitNew() == S_OK);
    const RECT pos{10, 20, 110, 80};
    REQUIRE(h.site->Activate(pos) == S_OK);

    HWND child = h.site->ControlWindow();
    REQUIRE(child);
    CHECK(child == h.probe->hwnd);
    CHECK(GetParent(child) == h.window.hwnd());
    CHECK(IsWindowVisible(child));
    CHECK(testsupport::RectInParent(child) == pos);
    CHECK(h.site->InPlaceActive());
    CHECK(h.site->counters().inPlaceActivations == 1);
    CHECK(h.site->counters().showObjects >= 1);

    // What GetWindowContext told the control.
    RECT client;
    GetClientRect(h.window, &client);
    CHECK(h.probe->parent == h.window.hwnd());
    CHECK(h.probe->contextPos == pos);
    CHECK(h.probe->contextClip == client);
    CHECK(h.probe->frameInfo.cb == sizeof(OLEINPLACEFRAMEINFO));
    CHECK(h.probe->frameInfo.hwndFrame == h.window.hwnd());
    CHECK_FALSE(h.probe->frameInfo.fMDIApp);
    CHECK(h.probe->frameWindow == h.window.hwnd());
    CHECK(h.probe->uiWindow == h.window.hwnd());
    // The extent follows the position.
    CHECK(h.probe->extent.cx == forms::ControlSite::PixelsToHimetricX(100));
    CHECK(h.probe->extent.cy == forms::ControlSite::PixelsToHimetricY(60));

    SUBCASE("Move and OnPosRectChange move the window") {
        const RECT moved{30, 40, 90, 100};
        CHECK(h.site->Move(moved) == S_OK);
        CHECK(testsupport::RectInParent(child) == moved);
        CHECK(h.probe->extent.cx == forms::ControlSite::PixelsToHimetricX(60));
        const RECT asked{5, 6, 55, 46};
        CHECK(h.site->OnPosRectChange(&asked) == S_OK);
        CHECK(testsupport::RectInParent(child) == asked);
        CHECK(h.site->Position() == asked);
        CHECK(h.site->counters().posRectChanges == 1);
    }
    SUBCASE("the frame keeps the active object it is given") {
        IOleInPlaceFrame* frame = nullptr;
        IOleInPlaceUIWindow* doc = nullptr;
        RECT p, c;
        OLEINPLACEFRAMEINFO info{};
        info.cb = sizeof(info);
        REQUIRE(h.site->GetWindowContext(&frame, &doc, &p, &c, &info) == S_OK);
        // The frame only holds a reference on it, so any object stands in.
        ProbeControl* other = ProbeControl::Create();
        auto* active = reinterpret_cast<IOleInPlaceActiveObject*>(other->unknown());
        CHECK(frame->SetActiveObject(active, nullptr) == S_OK);
        CHECK(h.site->ActiveObject() == active);
        CHECK(frame->SetActiveObject(nullptr, nullptr) == S_OK);
        CHECK(h.site->ActiveObject() == nullptr);
        CHECK(frame->RequestBorderSpace(nullptr) == INPLACE_E_NOTOOLSPACE);
        CHECK(frame->TranslateAccelerator(nullptr, 0) == S_FALSE);
        other->Release();
        frame->Release();
        doc->Release();
    }
    SUBCASE("the control's window can take the keyboard focus") {
        SetFocus(child);
        CHECK(GetFocus() == child);
    }
    SUBCASE("Deactivate destroys the window") {
        CHECK(h.site->Deactivate() == S_OK);
        CHECK_FALSE(IsWindow(child));
        CHECK(h.site->ControlWindow() == nullptr);
        CHECK_FALSE(h.site->InPlaceActive());
        CHECK(h.site->counters().inPlaceDeactivations == 1);
        // It can come back.
        CHECK(h.site->Activate(pos) == S_OK);
        CHECK(IsWindow(h.site->ControlWindow()));
    }
}

TEST_CASE("the hosted control's pixels can be read from the window and through IViewObject") {
    Hosted h;
    REQUIRE(h.site->Attach(h.probe->unknown()) == S_OK);

    // Load the probe's colour from a stream, as a form loads saved properties.
    const COLORREF colour = RGB(10, 200, 30);
    IStream* stream = nullptr;
    REQUIRE(CreateStreamOnHGlobal(nullptr, TRUE, &stream) == S_OK);
    DWORD raw = colour;
    stream->Write(&raw, sizeof(raw), nullptr);
    LARGE_INTEGER zero{};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    REQUIRE(h.site->LoadFromStream(stream) == S_OK);
    CHECK(h.probe->color == colour);

    REQUIRE(h.site->Activate(RECT{20, 20, 120, 70}) == S_OK);
    UpdateWindow(h.window);
    PumpPending();

    DibCanvas screen = CaptureWindow(h.window);
    REQUIRE(screen.valid());
    CHECK(screen.Pixel(100, 60) == colour);                   // inside the control
    CHECK(screen.Pixel(5, 5) == GetSysColor(COLOR_WINDOW));   // the container around it
    CHECK(screen.Pixel(19, 19) == GetSysColor(COLOR_WINDOW));
    CHECK(screen.Pixel(119, 69) == colour);

    DibCanvas own = CaptureWindow(h.site->ControlWindow());
    CHECK(own.width() == 100);
    CHECK(own.Pixel(99, 49) == colour);

    HRESULT hr = E_FAIL;
    DibCanvas drawn = DrawToDib(h.probe->unknown(), 50, 40, &hr);
    CHECK(hr == S_OK);
    CHECK(drawn.Pixel(49, 39) == colour);
    CHECK(drawn.Count(kUnpainted) == 0);

    // Saving gives the same bytes back.
    IStream* saved = nullptr;
    REQUIRE(CreateStreamOnHGlobal(nullptr, TRUE, &saved) == S_OK);
    CHECK(h.site->SaveToStream(saved) == S_OK);
    STATSTG st{};
    saved->Stat(&st, STATFLAG_NONAME);
    CHECK(st.cbSize.QuadPart == 4);
    saved->Release();
    stream->Release();
}

TEST_CASE("view and data changes reach the site while the control is attached") {
    Hosted h;
    REQUIRE(h.site->Attach(h.probe->unknown()) == S_OK);
    h.probe->SetColor(RGB(1, 2, 3));
    CHECK(h.site->viewChanges() == 1);
    CHECK(h.site->dataChanges() == 1);
    CHECK(h.site->counters().lastViewAspect == DVASPECT_CONTENT);
    CHECK(h.site->counters().lastViewIndex == -1);

    CHECK(h.site->Detach() == S_OK);
    CHECK(h.probe->site == nullptr);
    CHECK(h.probe->closes == 1);
    CHECK(h.site->counters().closes == 1);  // OnClose came through IOleObject::Advise
    h.probe->SetColor(RGB(4, 5, 6));
    CHECK(h.site->viewChanges() == 1);
    CHECK(h.site->dataChanges() == 1);
    // The control let go of the site: only the test's reference is left.
    CHECK(h.site->AddRef() == 2);
    CHECK(h.site->Release() == 1);
    CHECK(h.site->Detach() == S_FALSE);
}

TEST_CASE("the control site converts coordinates and answers the remaining container calls") {
    Hosted h;
    HDC screen = GetDC(nullptr);
    const float dpiX = static_cast<float>(GetDeviceCaps(screen, LOGPIXELSX));
    const float dpiY = static_cast<float>(GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    IOleControlSite* cs = h.site;

    POINTL him{2540, 1270};
    POINTF px{0, 0};
    CHECK(cs->TransformCoords(&him, &px, XFORMCOORDS_POSITION | XFORMCOORDS_HIMETRICTOCONTAINER) == S_OK);
    CHECK(px.x == doctest::Approx(dpiX));
    CHECK(px.y == doctest::Approx(dpiY / 2));

    px = POINTF{dpiX * 2, dpiY};
    him = POINTL{0, 0};
    CHECK(cs->TransformCoords(&him, &px, XFORMCOORDS_SIZE | XFORMCOORDS_CONTAINERTOHIMETRIC) == S_OK);
    CHECK(him.x == 5080);
    CHECK(him.y == 2540);

    CHECK(cs->TransformCoords(&him, &px, XFORMCOORDS_POSITION) == E_INVALIDARG);
    CHECK(cs->TransformCoords(&him, &px, XFORMCOORDS_HIMETRICTOCONTAINER | XFORMCOORDS_CONTAINERTOHIMETRIC) ==
          E_INVALIDARG);
    CHECK(cs->TransformCoords(nullptr, &px, XFORMCOORDS_HIMETRICTOCONTAINER) == E_POINTER);

    MSG msg{};
    CHECK(cs->TranslateAccelerator(&msg, 0) == S_FALSE);
    CHECK(cs->ShowPropertyFrame() == E_NOTIMPL);
    CHECK(cs->LockInPlaceActive(TRUE) == S_OK);
    CHECK(cs->OnControlInfoChanged() == S_OK);
    CHECK(cs->OnFocus(TRUE) == S_OK);
    CHECK(h.site->counters().focusGained == 1);

    IOleClientSite* client = h.site;
    IOleContainer* container = reinterpret_cast<IOleContainer*>(1);
    CHECK(client->GetContainer(&container) == E_NOINTERFACE);
    CHECK(container == nullptr);
    CHECK(client->RequestNewObjectLayout() == E_NOTIMPL);
    CHECK(client->SaveObject() == S_OK);

    IOleInPlaceSite* ips = h.site;
    HWND hwnd = nullptr;
    CHECK(ips->GetWindow(&hwnd) == S_OK);
    CHECK(hwnd == h.window.hwnd());
    CHECK(ips->CanInPlaceActivate() == S_OK);
}

TEST_CASE("EventRecorder records events in natural argument order") {
    Hosted h;
    EventRecorder rec(DIID_ProbeEvents);
    REQUIRE(rec.Connect(h.probe->unknown()) == S_OK);
    CHECK(h.probe->EventSinks() == 1);

    VARIANT r8 = MakeVariant(VT_R8), str = MakeVariant(VT_BSTR), b = MakeVariant(VT_BOOL), i4 = MakeVariant(VT_I4);
    V_R8(&r8) = 1.5;
    V_BSTR(&str) = SysAllocString(L"abc");
    V_BOOL(&b) = VARIANT_TRUE;
    V_I4(&i4) = 42;
    h.probe->Fire(7, {r8, str, b, i4});
    SysFreeString(V_BSTR(&str));  // the recorder keeps its own copy

    REQUIRE(rec.Count() == 1);
    const RecordedEvent& e = rec.Events()[0];
    CHECK(e.dispid == 7);
    CHECK(e.flags == DISPATCH_METHOD);
    CHECK(e.lcid == 0x400);
    CHECK(e.types == std::vector<VARTYPE>{VT_R8, VT_BSTR, VT_BOOL, VT_I4});
    CHECK(e.Num(0) == 1.5);
    CHECK(e.Str(1) == L"abc");
    CHECK(e.Bool(2));
    CHECK(e.Long(3) == 42);

    SUBCASE("by-reference arguments are copied by value") {
        LONG value = 5;
        VARIANT ref = MakeVariant(VT_BYREF | VT_I4);
        V_I4REF(&ref) = &value;
        h.probe->Fire(9, {ref});
        value = 6;
        REQUIRE(rec.Last(9));
        CHECK(rec.Last(9)->types[0] == (VT_BYREF | VT_I4));
        CHECK(rec.Last(9)->Long(0) == 5);
    }
    SUBCASE("a callback runs inside the event and may fire again or disconnect") {
        rec.onEvent = [&](const RecordedEvent& ev) {
            if (ev.dispid == 1) h.probe->Fire(2, {});
            if (ev.dispid == 2) rec.Disconnect();
        };
        h.probe->Fire(1, {});
        CHECK(rec.Dispids() == std::vector<DISPID>{7, 1, 2});
        CHECK_FALSE(rec.Connected());
        h.probe->Fire(3, {});
        CHECK(rec.Count(3) == 0);
    }
    SUBCASE("after Disconnect nothing arrives and the control holds no reference") {
        CHECK(rec.Disconnect() == S_OK);
        CHECK(h.probe->EventSinks() == 0);
        CHECK(rec.RefCount() == 0);
        h.probe->Fire(7, {});
        CHECK(rec.Count(7) == 1);
        CHECK(rec.Disconnect() == S_FALSE);
    }
    SUBCASE("a recorder for an interface the control does not source cannot connect") {
        EventRecorder wrong(IID_IOleObject);
        CHECK(wrong.Connect(h.probe->unknown()) == CONNECT_E_NOCONNECTION);
        CHECK_FALSE(wrong.Connected());
    }
}

TEST_CASE("NotifyRecorder logs changes and edit requests in order and can veto") {
    Hosted h;
    NotifyRecorder notes;
    REQUIRE(notes.Connect(h.probe->unknown()) == S_OK);

    COLORREF seen = 0;
    notes.onChanged = [&](DISPID) { seen = h.probe->color; };
    CHECK(h.probe->RequestEdit(kProbeColorDispid) == S_OK);
    h.probe->SetColor(RGB(9, 8, 7));
    CHECK(notes.Log() == std::vector<NotifyEntry>{{NotifyEntry::Request, kProbeColorDispid},
                                                  {NotifyEntry::Changed, kProbeColorDispid}});
    CHECK(seen == RGB(9, 8, 7));
    CHECK(notes.Changed(kProbeColorDispid) == 1);
    CHECK(notes.Requests(kProbeColorDispid) == 1);

    notes.veto = true;
    CHECK(h.probe->RequestEdit(kProbeColorDispid) == S_FALSE);

    CHECK(notes.Disconnect() == S_OK);
    CHECK(notes.RefCount() == 0);
    notes.Clear();
    h.probe->SetColor(RGB(1, 1, 1));
    CHECK(notes.Log().empty());
}

TEST_CASE("CountGdiObjects sees leaked GDI objects") {
    INFO("method: " << GdiCountMethod());
    CHECK(std::string(GdiCountMethod()) == "handle table");
    const int base = CountGdiObjects();
    CHECK(base > 0);

    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HRGN region = CreateRectRgn(0, 0, 5, 5);
    HDC dc = CreateCompatibleDC(nullptr);
    CHECK(CountGdiObjects() == base + 3);
    CHECK(CountGdiObjectsByType()[OBJ_BRUSH] >= 1);

    DeleteObject(brush);
    DeleteObject(region);
    DeleteDC(dc);
    CHECK(CountGdiObjects() == base);

    // A canvas frees its bitmap and DC.
    { DibCanvas canvas(10, 10); }
    CHECK(CountGdiObjects() == base);
}

TEST_CASE("Wmf reads back text records, alignment and coordinates") {
    Wmf wmf;
    const UINT align = TA_CENTER | TA_BASELINE;
    REQUIRE(wmf.RecordWith([&](HDC dc) {
        SetTextAlign(dc, align);
        TextOutA(dc, 40, 30, "Hi!", 3);
        RECT clip{1, 2, 60, 20};
        ExtTextOutA(dc, 5, 6, ETO_CLIPPED, &clip, "clip", 4, nullptr);
    }) == S_OK);

    const WmfRecord* ta = wmf.First(META_SETTEXTALIGN);
    REQUIRE(ta);
    REQUIRE_FALSE(ta->params.empty());
    CHECK(ta->params[0] == align);

    auto texts = wmf.Texts();
    REQUIRE(texts.size() == 2);
    CHECK(texts[0].text == "Hi!");
    CHECK(texts[0].x == 40);
    CHECK(texts[0].y == 30);
    CHECK(texts[1].text == "clip");
    CHECK(texts[1].function == META_EXTTEXTOUT);
    CHECK(texts[1].options == ETO_CLIPPED);
    CHECK(texts[1].rect == RECT{1, 2, 60, 20});
    CHECK(texts[1].x == 5);
    CHECK(texts[1].y == 6);

    SUBCASE("a control's drawing recorded through IViewObject") {
        ProbeControl* probe = ProbeControl::Create();
        probe->color = RGB(200, 100, 50);
        CHECK(wmf.Record(probe->unknown(), 80, 30) == S_OK);
        auto probeTexts = wmf.Texts();
        REQUIRE(probeTexts.size() == 1);
        CHECK(probeTexts[0].text == "Probe");
        CHECK(probeTexts[0].x == 2);
        CHECK(probeTexts[0].y == 3);
        // Played back, it paints the probe's colour.
        DibCanvas canvas(80, 30, kUnpainted);
        CHECK(wmf.Play(canvas.dc()));
        CHECK(canvas.Pixel(70, 25) == RGB(200, 100, 50));
        probe->Release();
    }
}

TEST_CASE("LoadedLibrary reports a missing library without crashing") {
    CHECK(ExeDirectory().back() == L'\\');
    LoadedLibrary missing(L"no-such-library.dll");
    CHECK_FALSE(missing.Loaded());
    void* p = reinterpret_cast<void*>(1);
    CHECK(missing.Create(IID_IUnknown, IID_IUnknown, &p) == E_FAIL);
    CHECK(p == nullptr);
    CHECK(missing.CanUnloadNow() == E_FAIL);
}

// Mouse and keys sent to the button's window, and the events they fire:
// hover with capture, press and Click, double click, dragging out, capture
// taken away, disabling, and key events split from lParam.
#include "button_util.h"

using namespace buttontest;

namespace {

const COLORREF kFace = RGB(0, 160, 0), kCapture = RGB(200, 0, 0), kFocus = RGB(0, 0, 200);

// A button in place in a window, painted once by the system, with a sink.
struct Clicked : Hosted {
    EventRecorder events{kIidEvents};
    HWND w = nullptr;
    explicit Clicked(ButtonShapeStyle shape, bool userMode = true) {
        site->ambients().userMode = userMode;
        b->put_ShapeType(shape);
        b->put_FaceColor(kFace);
        b->put_CaptureColor(kCapture);
        b->put_FocusColor(kFocus);
        b->put_Caption(nullptr);
        REQUIRE(events.Connect(b) == S_OK);
        w = Activate(RECT{0, 0, 100, 60});
    }
    void Send(UINT msg, int x, int y, WPARAM wp = 0) { SendMessageW(w, msg, wp, MAKELPARAM(x, y)); }
    // The face colour at the middle as a paint now shows it.
    COLORREF Face() {
        DibCanvas c = DrawToDib(b, 100, 60);
        return c.Pixel(50, 30);
    }
};

}  // namespace

TEST_CASE("press and release inside click; a double click fires DblClick without a press; keys") {
    Clicked c(BSS_RECT);
    c.Send(WM_LBUTTONDOWN, 50, 30, MK_LBUTTON);
    CHECK(GetCapture() == c.w);
    CHECK(GetFocus() == c.w);
    CHECK(c.Face() == RGB(228, 128, 128));  // pressed and hovering: the capture colour, pressed
    c.Send(WM_LBUTTONUP, 50, 30);
    c.Send(WM_LBUTTONDBLCLK, 50, 30, MK_LBUTTON);
    c.Send(WM_LBUTTONUP, 50, 30);
    CHECK(c.events.Dispids() == std::vector<DISPID>{E_MouseDown, E_MouseUp, E_Click, E_DblClick, E_MouseUp});
    const RecordedEvent* down = c.events.Events().data();
    CHECK(down->Long(0) == 50);
    CHECK(down->Long(1) == 30);
    CHECK(down->types == std::vector<VARTYPE>{VT_I4, VT_I4});
    CHECK(GetCapture() == c.w);  // the capture belongs to the hover state

    // Keys are only reported, with the repeat count and flags split from lParam.
    c.events.Clear();
    SendMessageW(c.w, WM_KEYDOWN, VK_SPACE, MAKELPARAM(1, 30));
    SendMessageW(c.w, WM_KEYUP, VK_RETURN, MAKELPARAM(3, 0xC01C));
    REQUIRE(c.events.Dispids() == std::vector<DISPID>{E_KeyDown, E_KeyUp});
    const auto& e = c.events.Events();
    CHECK((e[0].Long(0) == VK_SPACE && e[0].Long(1) == 1 && e[0].Long(2) == 30));
    CHECK((e[1].Long(0) == VK_RETURN && e[1].Long(1) == 3 && e[1].Long(2) == 0xC01C));
}

TEST_CASE("dragging out of the shape clears the press for good: no Click on release") {
    Clicked c(BSS_CIRCLE);
    c.Send(WM_LBUTTONDOWN, 50, 30, MK_LBUTTON);
    c.Send(WM_MOUSEMOVE, 2, 2, MK_LBUTTON);  // a corner outside the ellipse
    CHECK(GetCapture() != c.w);
    c.Send(WM_MOUSEMOVE, 50, 30, MK_LBUTTON);  // back in: hover, not pressed
    CHECK(c.Face() == kCapture);
    c.Send(WM_LBUTTONUP, 50, 30);
    CHECK(c.events.Count(E_Click) == 0);
    CHECK(c.events.Count(E_MouseMove) == 2);
    // A press on a corner outside the shape takes the focus but presses nothing.
    c.events.Clear();
    c.Send(WM_LBUTTONDOWN, 1, 1, MK_LBUTTON);
    c.Send(WM_LBUTTONUP, 1, 1);
    CHECK(c.events.Dispids() == std::vector<DISPID>{E_MouseDown, E_MouseUp});
    CHECK(GetFocus() == c.w);
}

TEST_CASE("hover and focus colours: hover wins over focus; capture taken away ends the hover") {
    Clicked c(BSS_RECT);
    CHECK(c.Face() == kFace);
    SetFocus(c.w);
    CHECK(c.Face() == kFocus);
    c.Send(WM_MOUSEMOVE, 50, 30);
    CHECK(GetCapture() == c.w);
    CHECK(c.Face() == kCapture);
    // Losing the focus keeps the hover look.
    SetFocus(nullptr);
    CHECK(c.Face() == kCapture);
    // Another window takes the capture (a dialog, the container).
    SetCapture(c.window);
    CHECK(c.Face() == kFace);
    ReleaseCapture();
}

TEST_CASE("disabled: no events at all and no capture kept, in design mode too") {
    for (bool userMode : {true, false}) {
        INFO("user mode " << userMode);
        Clicked c(BSS_RECT, userMode);
        c.Send(WM_MOUSEMOVE, 50, 30);
        REQUIRE(GetCapture() == c.w);
        CHECK(c.b->put_Enabled(VARIANT_FALSE) == S_OK);
        CHECK(GetCapture() != c.w);
        CHECK(IsWindowEnabled(c.w) == (userMode ? FALSE : TRUE));
        c.events.Clear();
        c.Send(WM_LBUTTONDOWN, 50, 30, MK_LBUTTON);
        c.Send(WM_MOUSEMOVE, 40, 30);
        c.Send(WM_LBUTTONUP, 50, 30);
        c.Send(WM_LBUTTONDBLCLK, 50, 30);
        SendMessageW(c.w, WM_KEYDOWN, 0x41, MAKELPARAM(1, 30));
        CHECK(c.events.Count() == 0);
        CHECK(GetCapture() != c.w);
    }
}

TEST_CASE("a sink that disables the button in MouseDown ends the press: no capture, no Click") {
    Clicked c(BSS_RECT);
    c.events.onEvent = [&](const RecordedEvent& e) {
        if (e.dispid == E_MouseDown) c.b->put_Enabled(VARIANT_FALSE);
    };
    c.Send(WM_LBUTTONDOWN, 50, 30, MK_LBUTTON);
    CHECK(GetCapture() != c.w);
    c.events.onEvent = nullptr;
    c.b->put_Enabled(VARIANT_TRUE);
    c.Send(WM_LBUTTONUP, 50, 30);
    CHECK(c.events.Count(E_Click) == 0);
}

namespace {

// Counts the messages a window receives that `Counted` picks, by
// subclassing it for its lifetime.
template <bool (*Counted)(UINT, LPARAM)>
struct MessageCount {
    static LONG count;
    static WNDPROC previous;
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        if (Counted(msg, lp)) ++count;
        return CallWindowProcW(previous, h, msg, wp, lp);
    }
    explicit MessageCount(HWND w) : m_w(w) {
        count = 0;
        previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    }
    ~MessageCount() { SetWindowLongPtrW(m_w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous)); }
    HWND m_w;
};
template <bool (*Counted)(UINT, LPARAM)>
LONG MessageCount<Counted>::count = 0;
template <bool (*Counted)(UINT, LPARAM)>
WNDPROC MessageCount<Counted>::previous = nullptr;

// Each SetWindowRgn reaches the window as a frame change.
bool IsFrameChange(UINT msg, LPARAM lp) {
    return msg == WM_WINDOWPOSCHANGED && (reinterpret_cast<WINDOWPOS*>(lp)->flags & SWP_FRAMECHANGED);
}
bool IsPaint(UINT msg, LPARAM) { return msg == WM_PAINT; }
using RegionSets = MessageCount<IsFrameChange>;
using PaintCount = MessageCount<IsPaint>;

bool WindowShapeIs(HWND w, HRGN expected) {
    gdi::Region shape = gdi::EmptyRegion(), diff = gdi::EmptyRegion();
    return GetWindowRgn(w, shape) != ERROR && CombineRgn(diff, shape, expected, RGN_XOR) == NULLREGION;
}

void ContainerPaint(HWND w) {
    InvalidateRect(w, nullptr, FALSE);
    UpdateWindow(w);
}

}  // namespace

TEST_CASE("the window's shape is handed over again only when the shape, the size or someone else changed it") {
    Clicked c(BSS_CIRCLE);
    RegionSets sets(c.w);
    gdi::Region ellipse(CreateEllipticRgn(0, 0, 100, 60));
    REQUIRE(WindowShapeIs(c.w, ellipse));
    ContainerPaint(c.w);
    CHECK(RegionSets::count == 0);  // the same shape again: nothing handed over

    // Taken away or replaced behind the button's back: the next paint restores it.
    SetWindowRgn(c.w, nullptr, FALSE);
    ContainerPaint(c.w);
    CHECK(WindowShapeIs(c.w, ellipse));
    SetWindowRgn(c.w, CreateRectRgn(0, 0, 10, 10), FALSE);
    ContainerPaint(c.w);
    CHECK(WindowShapeIs(c.w, ellipse));

    // A new shape and a new size.
    c.b->put_ShapeType(BSS_DIAMOND);
    ContainerPaint(c.w);
    const POINT diamond[] = {{50, 0}, {0, 30}, {50, 60}, {100, 30}};
    gdi::Region expected(CreatePolygonRgn(diamond, 4, WINDING));
    CHECK(WindowShapeIs(c.w, expected));
    c.b->put_ShapeType(BSS_CIRCLE);
    SetWindowPos(c.w, nullptr, 0, 0, 80, 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ContainerPaint(c.w);
    gdi::Region smaller(CreateEllipticRgn(0, 0, 80, 40));
    CHECK(WindowShapeIs(c.w, smaller));
    RegionSets::count = 0;
    ContainerPaint(c.w);
    CHECK(RegionSets::count == 0);

    // The button's own repaint after input and a foreign paint leave it alone.
    c.b->put_ShapeType(BSS_DIAMOND);
    SetWindowRgn(c.w, nullptr, FALSE);
    c.Send(WM_MOUSEMOVE, 40, 20);  // hover: an own repaint
    gdi::Region probe = gdi::EmptyRegion();
    CHECK(GetWindowRgn(c.w, probe) == ERROR);
    DrawToDib(c.b, 80, 40);
    CHECK(GetWindowRgn(c.w, probe) == ERROR);
    // A shape out of range has no outline: no window shape, nothing to press.
    c.b->put_ShapeType((ButtonShapeStyle)17);
    ContainerPaint(c.w);
    CHECK(GetWindowRgn(c.w, probe) == ERROR);
    c.Send(WM_LBUTTONDOWN, 40, 20, MK_LBUTTON);
    c.Send(WM_LBUTTONUP, 40, 20);
    CHECK(c.events.Count(E_Click) == 0);
}

TEST_CASE("a frame the container gives the control's window is still drawn round the paint") {
    Clicked c(BSS_RECT);
    SetWindowLongPtrW(c.w, GWL_STYLE, GetWindowLongPtrW(c.w, GWL_STYLE) | WS_BORDER);
    SetWindowPos(c.w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RedrawWindow(c.w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HDC dc = GetWindowDC(c.w);
    const COLORREF frame = GetPixel(dc, 0, 30), face = GetPixel(dc, 50, 30);
    ReleaseDC(c.w, dc);
    CHECK(frame == GetSysColor(COLOR_WINDOWFRAME));
    CHECK(face == kFace);
}

TEST_CASE("a paint that changes the window's shape draws it and queues no other; the parent shows what it gave up") {
    struct Step {
        ButtonShapeStyle shape;
        bool cornerShown;  // the top left pixel belongs to the new shape
    };
    const Step steps[] = {{BSS_RECT, true}, {BSS_CIRCLE, false}, {BSS_DIAMOND, false}, {BSS_RECT, true}};
    Clicked c(BSS_DIAMOND, false);
    PaintCount paints(c.w);
    HWND parent = GetParent(c.w);
    POINT corner{1, 1};
    MapWindowPoints(c.w, parent, &corner, 1);
    for (const Step& step : steps) {
        CAPTURE(step.shape);
        PaintCount::count = 0;
        c.b->put_ShapeType(step.shape);  // one invalidation of the whole window
        PumpMessages(50);
        CHECK(PaintCount::count == 1);
        RECT pending;
        CHECK_FALSE(GetUpdateRect(c.w, &pending, FALSE));
        HDC dc = GetDC(nullptr);
        POINT screen = corner;
        ClientToScreen(parent, &screen);
        const COLORREF shown = GetPixel(dc, screen.x, screen.y);
        ReleaseDC(nullptr, dc);
        CHECK(shown == (step.cornerShown ? DrawToDib(c.b, 100, 60).Pixel(1, 1) : GetSysColor(COLOR_WINDOW)));
    }
}

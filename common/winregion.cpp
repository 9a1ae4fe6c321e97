#include "winregion.h"
#include "common/gdi.h"

namespace {

// Same pixels. EqualRgn compares the stored rectangles, and a window's
// region comes back from the system split into other rectangles.
bool SameArea(HRGN a, HRGN b) {
    gdi::Region difference = gdi::EmptyRegion();
    return CombineRgn(difference, a, b, RGN_XOR) == NULLREGION;
}

HRGN CopyOf(HRGN region) {
    gdi::Region copy = gdi::EmptyRegion();
    if (!copy || CombineRgn(copy, region, nullptr, RGN_COPY) == ERROR) return nullptr;
    return copy.release();
}

// Without redraw the window system leaves the area the window gives up as
// it was: the parent repaints it (only it: the window's own paint is under
// way).
void ExposeParent(HWND window, HRGN before, HRGN after) {
    HWND parent = GetAncestor(window, GA_PARENT);
    if (!parent || parent == GetDesktopWindow()) return;
    RECT r;
    GetWindowRect(window, &r);
    gdi::Region given(before ? CopyOf(before) : CreateRectRgn(0, 0, r.right - r.left, r.bottom - r.top));
    if (!given || (after && CombineRgn(given, given, after, RGN_DIFF) == NULLREGION)) return;
    POINT origin{r.left, r.top};
    ScreenToClient(parent, &origin);
    OffsetRgn(given, origin.x, origin.y);
    RedrawWindow(parent, nullptr, given, RDW_INVALIDATE | RDW_ERASE | RDW_NOCHILDREN);
}

// Gives the window a copy of the region (none for null) unless it has that
// shape already; true when the window has the shape afterwards. Inside the
// window's own paint the shape is set without redraw: that paint draws it,
// and a redraw would queue another paint after it.
bool ShapeWindow(HWND window, HRGN region, bool inPaint) {
    gdi::Region present = gdi::EmptyRegion();
    const bool hasRegion = GetWindowRgn(window, present) != ERROR;
    if (!region && !hasRegion) return true;
    if (region && hasRegion && SameArea(present, region)) return true;
    gdi::Region copy(region ? CopyOf(region) : nullptr);
    if (region && !copy) return false;
    if (!SetWindowRgn(window, copy.get(), inPaint ? FALSE : TRUE)) return false;
    copy.release();
    if (inPaint) ExposeParent(window, hasRegion ? present.get() : nullptr, region);
    return true;
}

}  // namespace

WindowShape::~WindowShape() { Forget(); }

void WindowShape::Apply(HWND window, HRGN region, bool inPaint) {
    if (!window) return;
    if (m_window == window && (m_shape && region ? SameArea(m_shape, region) : !m_shape && !region)) return;
    HRGN shape = region ? CopyOf(region) : nullptr;
    m_applying = true;
    const bool shaped = ShapeWindow(window, region, inPaint);
    m_applying = false;
    Forget();
    // Without a copy the shape cannot be known: the window is asked again next time.
    if (!shaped || (region && !shape)) {
        if (shape) DeleteObject(shape);
        return;
    }
    m_window = window;
    m_shape = shape;
}

void WindowShape::Forget() {
    if (m_applying) return;
    m_window = nullptr;
    if (m_shape) DeleteObject(m_shape);
    m_shape = nullptr;
}

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

// Gives the window a copy of the region (none for null) unless it has that
// shape already; true when the window has the shape afterwards.
bool ShapeWindow(HWND window, HRGN region) {
    gdi::Region present = gdi::EmptyRegion();
    const bool hasRegion = GetWindowRgn(window, present) != ERROR;
    if (!region) return !hasRegion || SetWindowRgn(window, nullptr, TRUE);
    if (hasRegion && SameArea(present, region)) return true;
    gdi::Region copy(CopyOf(region));
    if (!copy || !SetWindowRgn(window, copy.get(), TRUE)) return false;
    copy.release();
    return true;
}

}  // namespace

WindowShape::~WindowShape() { Forget(); }

void WindowShape::Apply(HWND window, HRGN region) {
    if (!window) return;
    if (m_window == window && (m_shape && region ? SameArea(m_shape, region) : !m_shape && !region)) return;
    HRGN shape = region ? CopyOf(region) : nullptr;
    m_applying = true;
    const bool shaped = ShapeWindow(window, region);
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

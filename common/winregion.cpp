#include "winregion.h"
#include "common/gdi.h"

namespace {

// Same pixels. EqualRgn compares the stored rectangles, and a window's
// region comes back from the system split into other rectangles.
bool SameArea(HRGN a, HRGN b) {
    gdi::Region difference = gdi::EmptyRegion();
    return CombineRgn(difference, a, b, RGN_XOR) == NULLREGION;
}

}  // namespace

void SetWindowRegionCopy(HWND window, HRGN region) {
    if (!window) return;
    gdi::Region present = gdi::EmptyRegion();
    const bool hasRegion = GetWindowRgn(window, present) != ERROR;
    if (!region) {
        if (hasRegion) SetWindowRgn(window, nullptr, TRUE);
        return;
    }
    if (hasRegion && SameArea(present, region)) return;
    gdi::Region copy = gdi::EmptyRegion();
    if (!copy || CombineRgn(copy, region, nullptr, RGN_COPY) == ERROR) return;
    if (SetWindowRgn(window, copy.get(), TRUE)) copy.release();
}

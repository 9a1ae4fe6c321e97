// What a paint of a slider's own window leaves for its input handlers.
#pragma once
#include <windows.h>

// A rectangle input tests with its edges included; before the first paint
// it holds no point.
struct InputRect {
    RECT rc{0, 0, -1, -1};
    bool set = false;

    bool Holds(int x, int y) const { return rc.left <= x && x <= rc.right && rc.top <= y && y <= rc.bottom; }
    void Set(const RECT& r) {
        rc = r;
        set = true;
    }
    // For a drag along the rectangle (its height when vertical, else its
    // width): whether it has some length and the point lies within it there.
    bool Along(bool vertical, int x, int y) const {
        if (!set) return false;
        if (vertical) return rc.bottom - rc.top > 0 && rc.top <= y && y <= rc.bottom;
        return rc.right - rc.left > 0 && rc.left <= x && x <= rc.right;
    }
};

// The slider: the span of the scale that maps to MinVal..MaxVal and the marker.
// The switch slider: the range field and the marker.
struct SliderGeometry {
    InputRect field;
    InputRect marker;
};

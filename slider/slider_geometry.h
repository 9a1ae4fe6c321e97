// What a paint of a slider's own window leaves for its input handlers.
#pragma once
#include <windows.h>

// Inclusive hit test of a rectangle that may not have been drawn yet.
struct InputRect {
    RECT rc{0, 0, 0, 0};
    bool set = false;  // nothing holds a point before the first paint

    bool Holds(int x, int y) const { return set && rc.left <= x && x <= rc.right && rc.top <= y && y <= rc.bottom; }
    void Set(const RECT& r) {
        rc = r;
        set = true;
    }
};

// The slider: the span of the scale that maps to MinVal..MaxVal and the marker.
// The switch slider: the range field and the marker.
struct SliderGeometry {
    InputRect field;
    InputRect marker;
};

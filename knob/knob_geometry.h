// What a paint of the knob's own window leaves for its input handlers.
#pragma once
#include <windows.h>

struct KnobGeometry {
    HRGN hitRegion = nullptr;  // pointer hit region; owned
    POINT centre{0, 0};        // indicator centre, client coordinates
    double pointerAngle = 0;   // degrees, clockwise from the positive x axis

    KnobGeometry() = default;
    KnobGeometry(const KnobGeometry&) = delete;
    KnobGeometry& operator=(const KnobGeometry&) = delete;
    ~KnobGeometry() { SetHitRegion(nullptr); }
    void SetHitRegion(HRGN rgn) {
        if (hitRegion) DeleteObject(hitRegion);
        hitRegion = rgn;
    }
};

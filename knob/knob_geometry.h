// What a paint of the knob's own window leaves for its input handlers.
#pragma once
#include <windows.h>
#include <cmath>

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

    // The angle of (x, y) round the centre, for dragging the pointer: false
    // (no angle) too near the centre to tell. A jump of 150 to 300 degrees
    // from the pointer turns back by 180.
    bool DragAngle(int x, int y, double& angle) const {
        int dx = x - centre.x, dy = y - centre.y;
        if (dx * dx + dy * dy < 50) return false;
        double a = atan2((double)dy, (double)dx) * 180 / 3.141592653589793;
        if (a < 0) a += 360;
        double d = a - pointerAngle;
        if ((d > 150 && d < 300) || (d > -300 && d < -150)) {
            a -= 180;
            if (a < 0) a += 360;
        }
        angle = a;
        return true;
    }
};

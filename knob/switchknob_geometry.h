// Where the switch knob's items sit on the dial, and which mouse angles the
// pointer may take. Shared by the paint and the input handlers.
#pragma once
#include <cmath>
#include <cstddef>

// The arc the items are spread over, in degrees.
struct SwitchArc {
    double span;  // EndAngle - StartAngle, a full circle when not positive
    double step;  // between neighbouring items; the whole span for 0 or 1 item
};

inline SwitchArc SwitchItemArc(short startAngle, short endAngle, size_t count) {
    SwitchArc arc;
    arc.span = (int)endAngle - (int)startAngle;
    if (arc.span <= 0) arc.span += 360;
    arc.step = count > 1 ? arc.span / (double)(count - 1) : arc.span;
    return arc;
}

// Angle of item i (clockwise from three o'clock), folded into 0..360 (360
// stays 360); the first item sits at StartAngle, or at EndAngle with the
// direction inverted. Angles given outside 0..359 fold as often as needed.
inline double SwitchItemAngle(const SwitchArc& arc, size_t i, short startAngle, short endAngle, bool inverse) {
    double a = inverse ? endAngle - (double)i * arc.step : startAngle + (double)i * arc.step;
    while (a > 360) a -= 360;
    while (a < 0) a += 360;
    return a;
}

// Whether a mouse angle in [0, 360) lies on the arc from StartAngle to
// EndAngle; both limits are taken modulo 360 first, so any 16-bit pair
// describes the arc the items are spread over.
inline bool SwitchAngleAllowed(double a, short startAngle, short endAngle) {
    int s = ((int)startAngle % 360 + 360) % 360;
    int e = ((int)endAngle % 360 + 360) % 360;
    return s < e ? (a >= s && a <= e) : (a >= s || a <= e);
}

// Angular distance between an item and the pointer, either way round
// (the way from the item to the pointer when both are equal).
inline double SwitchAngleDistance(double itemAngle, double pointerAngle) {
    double e = itemAngle - pointerAngle;
    if (e < 0) e += 360;
    double f = pointerAngle - itemAngle;
    if (f < 0) f += 360;
    return f < e ? f : e;
}

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

// Angle of item i (clockwise from three o'clock); the first item sits at
// StartAngle, or at EndAngle with the direction inverted. Folded by one
// turn at most (360 stays 360), so a start of 800 puts the first item at 440.
inline double SwitchItemAngle(const SwitchArc& arc, size_t i, short startAngle, short endAngle, bool inverse) {
    double a = inverse ? endAngle - (double)i * arc.step : startAngle + (double)i * arc.step;
    if (a > 360) a -= 360;
    if (a < 0) a += 360;
    return a;
}

// Whether a mouse angle in [0, 360) lies on the arc from StartAngle to
// EndAngle, the limits taken as they are (the knob's own test): a start
// below 0 or an end above 360 does not widen the arc into the other turn.
inline bool SwitchAngleAllowed(double a, short startAngle, short endAngle) {
    const int s = startAngle, e = endAngle;
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

// Where the parts of a slider and of a switch slider go: pure geometry from
// the properties, shared by the paints (which also hand it to input).
#pragma once
#include <windows.h>

// Width of the frame round the control: 2 for the sunken and raised edges,
// both configurable bands and one pixel (summed in 16 bits), else 0.
int SliderFrameDepth(int borderStyle, short outerLen, short innerLen);

// ---------------------------------------------------------------- slider

struct SliderLayoutSpec {
    bool vertical;
    int tickerNum;
    int rangeFieldWidth;
    int rangeEndGap;
    int frameDepth;
};

// The value rectangle V: the whole of R without a scale (TickerNum <= 1),
// else the range field centred across R, its field narrowed to what the
// frame and 20 pixels leave.
RECT SliderValueRect(const RECT& R, const SliderLayoutSpec& spec);

struct SliderValues {
    bool vertical, inverse;
    double minVal, maxVal;
    double setpoint, actual;
    int markerWidth, markerHeight;
};

struct SliderPlacement {
    int centre;   // marker centre along the scale
    int middle;   // middle of V across the scale
    RECT band;    // actual-value band
    RECT marker;  // marker rectangle K
};

// Marker and band on V for the values; a degenerate range (MinVal + 1e-6 not
// below MaxVal) puts the marker at V's start and the band over all of V.
SliderPlacement PlaceSliderMarker(const RECT& V, const SliderValues& v);

// ---------------------------------------------------------------- switch slider

struct SwitchLayoutSpec {
    bool vertical;
    bool marksAfter;  // ScaleSideChanged: marks right of (below) the field
    bool inverse;
    int frame;        // frame width b
    int rangeFieldWidth;
    int rangeEndGap;
    int scaleGap;
    int indicatorSize;
    int markerWidth, markerHeight;
};

struct SwitchLayout {
    RECT field;
    int across0, across1;  // the mark boxes across the field: g..h (vertical) or l..m
    int step;              // between neighbouring marks
};

// Distance between neighbouring marks of n items on a field `length` long:
// the whole length for a single item.
inline int SwitchStep(int length, int indicatorSize, int n) {
    return n > 1 ? (length - indicatorSize - 2) / (n - 1) : length;
}

SwitchLayout LayOutSwitchSlider(const RECT& client, const SwitchLayoutSpec& spec, int itemCount);

// The box of item i's mark.
RECT SwitchItemBox(const SwitchLayout& layout, const SwitchLayoutSpec& spec, int i);

// Centre of item i along the field: where its marker sits and what it snaps to.
int SwitchItemCentre(const SwitchLayout& layout, const SwitchLayoutSpec& spec, int i);

// The marker rectangle with its centre `along` the field, centred across it.
RECT SwitchMarkerRect(const SwitchLayout& layout, const SwitchLayoutSpec& spec, int along);

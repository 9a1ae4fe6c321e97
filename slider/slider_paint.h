// The paints of the slider and the switch slider: small steps over plain
// values, so neither reads a control object. Each returns the rectangles the
// control's input reads next.
#pragma once
#include <windows.h>
#include <string>
#include <vector>
#include "common/paint.h"
#include "common/text.h"
#include "marker_paint.h"

// The frame round the whole control: an edge, the configurable bands, or none.
struct FrameSpec {
    int style;  // SliderBorderStyle
    int outerLen, innerLen;
    COLORREF light, dark;
};
void PaintFrame(HDC dc, const RECT& R, const FrameSpec& f);
// The edge of a range field (RAISED or SUNKEN; other styles draw none).
void PaintFieldEdge(HDC dc, const RECT& field, int style);

struct SliderLook {
    bool vertical, inverse, labelsAfter;
    int tickerNum, subTickerNum;
    int rangeFieldWidth, rangeEndGap, scaleGap;
    int rangeBorderStyle;
    bool scaleVisible, actualVisible, showSetpoint, showActual;
    int markerWidth, markerHeight;
    ScaleTextFormat text;  // precision, percentage, range
    double setpoint, actual;
    MarkerSpec marker;     // style and face; orientation filled in by the paint
    FrameSpec frame;
};

struct SliderColors {
    COLORREF background, rangeBack, text, rangeActual;
};

// What a slider's paint leaves for input.
struct SliderLeft {
    RECT value{0, 0, -1, -1};
    RECT marker{0, 0, -1, -1};
};

SliderLeft PaintSlider(const Surface& s, const RECT& R, const SliderLook& look, const SliderColors& c);

// One item of the switch slider as the paint reads it.
struct ShownItem {
    COLORREF color;
    std::string name;  // ANSI
};

struct SwitchLook {
    bool vertical, inverse, labelsAfter, scaleVisible;
    int rangeFieldWidth, rangeEndGap, scaleGap, rangeBorderStyle;
    int indicatorType, indicatorSize;
    int markerWidth, markerHeight;
    int current;           // index of the current item in the shown list
    bool dragging;         // the marker follows `dragAlong`
    int dragAlong;
    MarkerSpec marker;
    FrameSpec frame;
};

// What a switch slider's paint leaves: the field, and the marker when the
// shown list had items (hasMarker).
struct SwitchLeft {
    RECT field{0, 0, -1, -1};
    RECT marker{0, 0, -1, -1};
    bool hasMarker = false;
};

SwitchLeft PaintSwitchSlider(const Surface& s, const RECT& client, const SwitchLook& look, COLORREF background,
                             COLORREF rangeBack, const std::vector<ShownItem>& items);

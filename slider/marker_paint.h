// The marker of the slider and of the switch slider in its sixteen styles.
#pragma once
#include <windows.h>

struct MarkerSpec {
    int style;          // SliderMarkerStyle; other values draw nothing
    bool vertical;      // the scale runs bottom to top
    bool labelsAfter;   // ScaleSideChanged: labels right of (below) the field
    COLORREF face;      // MarkerColor, translated
    float level;        // mid level of the gradient fills
};

// Draws the marker in K, centred at c along the scale and e across it.
void PaintMarker(HDC dc, const RECT& K, int c, int e, const MarkerSpec& m);

// Drawing of the knob family: a pipeline of small steps that take the
// geometry and the translated colours they need and return the geometry the
// next step needs. Nothing here reads a control object; the knob's render
// routine (knob_render.cpp) gathers its properties into a KnobAppearance,
// translates the colours once and runs PaintKnob. The dial, panel, pointer
// and marker steps are free functions so the switch knob can reuse them.
#pragma once
#include <windows.h>
#include <string>
#include "Tarnik.h"
#include "framework/control.h"
#include "knob_geometry.h"
#include "common/color.h"
#include "common/draw.h"
#include "common/gdi.h"
#include "common/paint.h"
#include "common/shading.h"
#include "common/winregion.h"
#include "common/text.h"

namespace knobpaint {

// ---------------------------------------------------------------- numbers

// Degrees to the point at angle a on the ellipse of centre c and full axes
// (X, Y): (cx + cos(a)·X/2, cy + sin(a)·Y/2), not yet truncated.
struct PointD {
    double x, y;
};
PointD OnEllipse(double cx, double cy, double a, double X, double Y);
inline POINT ToPoint(PointD p) { return POINT{Trunc(p.x), Trunc(p.y)}; }

// Span of the scale in degrees: EndAngle - StartAngle, plus 360 when not
// positive, so in (0, 360].
double ScaleSpan(int startAngle, int endAngle);

// ---------------------------------------------------------------- appearance

// The dial arc and the knee of the curved shading: what the shaded ring
// styles read besides their arguments.
using DialArc = RingShading;

// One coloured sector of the scale ring, in scale values.
struct RangeSpec {
    double start = 0;
    double end = 0;
    bool active = false;
};

// Everything the knob's paint reads, as plain values. Colours are in
// KnobColors, already translated.
struct KnobAppearance {
    int borderType = ES_FLAT;
    int outerBorderLen = 4;
    int innerBorderLen = 4;
    int outerTextHeight = 20;
    int outerTextLength = 20;
    bool scaleRingVisible = true;
    int scaleRingBorderType = NONE;
    int scaleTextPosStyle = OUTER;
    int tickerAlignment = INNER;
    int tickerNum = 6;
    int subTickerNum = 10;
    bool inverseDirection = false;
    ScaleTextFormat text;  // precision, percentage and range
    RangeSpec ranges[10];
    int panelType = PS_None;
    int panelBorderType = PBS_RAISED;
    int panelBorderLen = 10;
    DialArc arc{135, 45, 0.5f};
    int indicatorType = IS_RoundButton;
    int indicatorSize = 20;
    int sliderType = SS_FLAT;
    int sliderWidth = 10;
    int markerType = MS_Circle;
    bool markerVisible = true;
    int setpointTextType = STS_NONE;
    double value = 50;
    std::string unitName;  // 8-bit text of UnitName
};

// Colours of one paint, translated from OLE colours once.
struct KnobColors {
    COLORREF background;  // BkColor, or the ambient back colour
    COLORREF ambient;     // outside the circle of the round border types
    COLORREF panel;
    COLORREF text;
    COLORREF indicator;
    COLORREF ticker;
    COLORREF borderDark;
    COLORREF borderLight;
    COLORREF scaleRing;
    COLORREF panelBorderLight;
    COLORREF panelBorderDark;
    COLORREF circle;
    COLORREF slider;
    COLORREF marker;
    COLORREF range[10];
};

// Round border types (ES_CIRCLE to ES_RAISEDCIRCLE) clip the window to the
// ellipse of its client area; the others take the clip away (only when the
// window's region differs: `shape` knows what the window was given).
void ApplyRoundWindowRegion(WindowShape& shape, HWND window, int borderType, bool inPaint = false);

// What the pointer step leaves for input.
struct PointerGeometry {
    HRGN hitRegion = nullptr;  // owned by the caller afterwards; null when nothing was drawn
    POINT centre{0, 0};
    double angle = 0;
};

// Hands what a paint left to input when the paint was the own window's
// (kept takes the hit region, the window gets its round region), and
// deletes the hit region otherwise: the knob family's keep step of
// PaintToTarget (common/paint.h).
void KeepForInput(const fw::RenderTarget& target, PointerGeometry& painted, KnobGeometry& kept, WindowShape& shape,
                  HWND window, int borderType);

// ---------------------------------------------------------------- steps

// Fills R; the round border types fill the corners with the ambient colour
// and the circle with the background.
void PaintBackground(HDC dc, const RECT& R, int borderType, COLORREF background, COLORREF ambient);

// Draws the border of borderType on R and returns the scale rectangle S,
// starting from S as the text margins left it.
struct BorderSpec {
    int type;
    int outerLen, innerLen;  // configurable bands
    int mx, my;              // text margins
};
RECT PaintBorder(const Surface& s, const RECT& R, RECT S, const BorderSpec& b, const KnobColors& c,
                 const DialArc& arc);

// Scale ring with its coloured ranges, inner disc and edges, on S.
struct RingSpec {
    int borderType;  // ScaleRingBorderStyle
    double minVal, maxVal;
    bool inverse;
    const RangeSpec* ranges;  // ten slots
};
void PaintScaleRing(HDC dc, const RECT& S, const RingSpec& ring, const DialArc& arc, const KnobColors& c);

// Panel face and rim on P; returns the rim inset d.
struct PanelSpec {
    int type;        // PanelStyle
    int borderType;  // PanelBorderStyle
    int borderLen;
};
int PanelBorderInset(const PanelSpec& p);
void PaintPanel(const Surface& s, const RECT& P, const PanelSpec& p, COLORREF face, COLORREF rimLight,
                COLORREF rimDark, const DialArc& arc);

// Major and minor ticks with their labels on S, bounded so that no more
// ticks are drawn than the ring has pixels of circumference.
struct TickSpec {
    int tickerNum, subTickerNum;
    int alignment;      // ShowStyle of the ticks
    int textPos;        // ShowStyle of the labels
    bool inverse;
    ScaleTextFormat text;
};
void PaintTicksAndLabels(const Surface& s, const RECT& S, const TickSpec& t, const DialArc& arc, COLORREF ticker,
                         COLORREF text);

// Set-point text and unit name below or inside the indicator rectangle I.
struct SetpointSpec {
    int type;  // SetpointTextStyle
    int rimInset;
    std::string valueText;
    const std::string* unitName;
};
void PaintSetpointText(const Surface& s, const RECT& I, const SetpointSpec& sp, COLORREF text);

// Raised or sunken frame edge of the flat border types.
void PaintFrameEdge(HDC dc, const RECT& R, int borderType);

// ---------------------------------------------------------------- pointer (knob_indicator.cpp)

struct PointerSpec {
    int type;  // IndicatorStyle
    int size;  // IndicatorSize
    int sliderType;
    int sliderWidth;
    int markerType;
    bool markerVisible;
    // The switch knob centres its disc marker on the marker's middle; the
    // knob's disc sits one pixel right of it and one pixel shorter.
    bool centredDiscMarker = false;
    // The switch knob draws no slide ring for a SliderType other than flat
    // and gradient; the knob draws every other value as flat.
    bool unknownSlideTypeBlank = false;
};
struct PointerColors {
    COLORREF indicator, marker, slider, hubLight, hubDark;
};

// Angle of the pointer for value; previous when the range is empty (or the
// result is not a number). Folded once into 0 to 360.
double PointerAngle(double value, double minVal, double maxVal, bool inverse, const DialArc& arc, double previous);

// Slide track of the sliding pointer styles, within the indicator rectangle.
void PaintSliderTrack(const Surface& s, const RECT& I, const PointerSpec& p, const PointerColors& c,
                      const DialArc& arc);

// Pointer (and marker on the bar styles) at angle a within I; returns the
// centre, the angle and the hit region.
PointerGeometry PaintPointer(const Surface& s, const RECT& I, double angle, const PointerSpec& p,
                             const PointerColors& c, const DialArc& arc);

// ---------------------------------------------------------------- whole knob

// Paints the whole knob into R and returns what input reads.
PointerGeometry PaintKnob(const Surface& s, const RECT& R, const KnobAppearance& a, const KnobColors& c,
                          double previousAngle);

}  // namespace knobpaint

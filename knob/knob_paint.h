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
#include "common/shading.h"

namespace knobpaint {

// ---------------------------------------------------------------- numbers

// Truncates toward zero like a C cast, but never with a NaN, an infinity or a
// value past what GDI can take (those become 0 or the nearest limit).
int Trunc(double v);

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

// ---------------------------------------------------------------- scale text

// How scale values become text.
struct ScaleTextFormat {
    int precision = 1;        // decimals: 0 to 4, anything else prints one
    bool percentage = false;  // print the position in the range as a percentage
    double minVal = 0;
    double maxVal = 100;
};

// The label text for v. Cleared first, so a percentage of an empty range
// gives "". Uses the C runtime's _snprintf (msvcrt), whose rounding of ties
// ("%.0f" of 2.5 is "3") is the platform's own.
std::string FormatScaleValue(const ScaleTextFormat& fmt, float v);

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

// Where a paint goes: the DC, the pixel target of the per-pixel routines
// (the same DC, or the bits of its DIB section), whether it is a metafile,
// and the font's point size that places metafile text on its baseline.
struct Surface {
    HDC dc;
    gdi::PixelTarget pixels;
    bool metafile;
    int fontPoints;  // 14 when there is no font
};

// The memory bitmap of a screen paint: a memory DC over a 32-bit DIB section
// whose logical coordinates are those of `area`. Fresh memory is costly (the
// first touch of every page of a new 400 x 400 bitmap costs more than drawing
// the whole knob), so the bitmap is kept between the paints of the thread that
// made it and grows to the largest area asked for; a paint from another thread,
// or one nested inside a paint, gets a bitmap of its own. The DC's state is
// saved at the start and restored at the end, and every pixel of `area` is
// the paint's to set: what lies outside it is never copied.
class PaintBuffer {
public:
    PaintBuffer(HDC reference, const RECT& area);
    ~PaintBuffer();
    PaintBuffer(const PaintBuffer&) = delete;
    PaintBuffer& operator=(const PaintBuffer&) = delete;

    bool ok() const { return m_dc != nullptr; }
    HDC dc() const { return m_dc; }
    gdi::PixelTarget Pixels() const;
    // Copies the area to the same coordinates of target.
    BOOL BlitTo(HDC target) const;

private:
    struct Store;
    RECT m_area;
    HDC m_dc = nullptr;
    void* m_bits = nullptr;
    int m_width = 0;                // of the whole bitmap
    int m_saved = 0;
    Store* m_store = nullptr;       // the shared bitmap, or null
    gdi::MemoryDC* m_own = nullptr; // a bitmap of its own otherwise
};

// The control's font selected into a DC for one paint, and its point size
// (14 without a font), which places metafile text on its baseline.
class PaintFont {
public:
    PaintFont(HDC dc, IFontDisp* font) {
        if (!font || FAILED(font->QueryInterface(IID_IFont, reinterpret_cast<void**>(&m_font)))) return;
        HFONT h = nullptr;
        if (SUCCEEDED(m_font->get_hFont(&h)) && h) m_previous = SelectObject(dc, h);
        m_dc = dc;
        CY size{};
        if (SUCCEEDED(m_font->get_Size(&size))) m_points = static_cast<int>(size.int64 / 10000);
    }
    ~PaintFont() {
        if (m_previous && m_previous != HGDI_ERROR) SelectObject(m_dc, m_previous);
        if (m_font) m_font->Release();
    }
    PaintFont(const PaintFont&) = delete;
    PaintFont& operator=(const PaintFont&) = delete;
    int points() const { return m_points; }

private:
    IFont* m_font = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_previous = nullptr;
    int m_points = 14;
};

// Round border types (ES_CIRCLE to ES_RAISEDCIRCLE) clip the window to the
// ellipse of its client area; the others take the clip away. The window owns
// the region it is given, so it gets a fresh one, and only when its present
// region differs: a region set with redraw repaints the whole window.
void ApplyRoundWindowRegion(HWND window, int borderType);

// What the pointer step leaves for input.
struct PointerGeometry {
    HRGN hitRegion = nullptr;  // owned by the caller afterwards; null when nothing was drawn
    POINT centre{0, 0};
    double angle = 0;
};

// Hands what a paint left to input when the paint was the own window's
// (kept takes the hit region, the window gets its round region), and
// deletes the hit region otherwise.
void KeepForInput(const fw::RenderTarget& target, PointerGeometry& painted, KnobGeometry& kept, HWND window,
                  int borderType);

// One paint of a knob-family control into a resolved target: straight into
// a metafile (its DC state saved around the paint), else into the kept paint
// buffer that is then copied to the target. Either way the control's font is
// selected for the paint. `paint(const Surface&)` is the control's pipeline
// over target.bounds and returns what its pointer step left, which then goes
// to KeepForInput. Nothing happens when no buffer could be made.
template <class PaintStep>
void PaintToTarget(const fw::RenderTarget& target, IFontDisp* font, PaintStep&& paint, KnobGeometry& kept,
                   HWND window, int borderType) {
    PointerGeometry painted;
    if (target.metafile) {
        gdi::SavedState saved(target.hdc);
        PaintFont paintFont(target.hdc, font);
        painted = paint(Surface{target.hdc, gdi::PixelTarget::Within(target.hdc, target.bounds), true, paintFont.points()});
    } else {
        PaintBuffer memory(target.hdc, target.bounds);
        if (!memory.ok()) return;
        {
            PaintFont paintFont(memory.dc(), font);
            Surface s{memory.dc(), memory.Pixels(), false, paintFont.points()};
            painted = paint(s);
            s.pixels.Flush();
        }
        memory.BlitTo(target.hdc);
    }
    KeepForInput(target, painted, kept, window, borderType);
}

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

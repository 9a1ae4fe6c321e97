// Drawing of the switch: a pipeline of small steps (background, border,
// shape, lamp, texts) over plain values. Nothing here reads the control:
// the render routine (switch_render.cpp) gathers its properties into a
// SwitchLook, translates the colours once and runs PaintSwitch.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <string>
#include "common/paint.h"

namespace switchpaint {

// Everything the paint reads besides the colours.
struct SwitchLook {
    int shape = 1;       // SwitchShape; any other number draws no shape
    int light = 0;       // LightDirection; any other number draws no bevels
    int buttonHeight = 6;
    int toggleHeight = 6;
    int borderLen = 0;
    int roundWidth = 20, roundHeight = 20;
    int imageStyle = 1;  // ImagePaintStyle
    int statusX = 0, statusY = 0;
    float rate = 0.5f;   // GradientRate, the level of every gradient
    bool value = true;
    bool status = true;
    bool showStatus = true;
    bool vertical = true;
    bool foreGradient = true;
    bool circleStatus = true;
    bool text3D = false;
    bool pressed = false;
    std::string text, onText, offText;  // ANSI
    IPicture* picture = nullptr;        // of the current state, borrowed; may be null
};

// Colours of one paint, translated from OLE colours once.
struct SwitchColors {
    COLORREF background;
    COLORREF fore, edge, status;
    COLORREF sideLight, sideDark;
    COLORREF borderLight, borderDark;
    COLORREF text, onText, offText;
};

// What the steps derive once from the look and the colours.
struct Derived {
    COLORREF foreDark;   // 5/6 of ForeColor
    COLORREF foreLight;  // (2c + 256) / 3 of ForeColor
    COLORREF lampOff;    // 2/3 of StatusColor
    COLORREF side1;      // light side when on, dark when off
    COLORREF side2;
    int lampSpace;       // 12 with the lamp shown
    RECT inner;          // the bounds inset by BorderLen + 1
};
Derived Derive(const SwitchLook& a, const SwitchColors& c, const RECT& bounds);

// Paints the whole switch into `bounds`.
void PaintSwitch(const Surface& s, const RECT& bounds, const SwitchLook& a, const SwitchColors& c);

// ---------------------------------------------------------------- shared steps

// Four bevels between `outer` and `inner`, each a gradient quad whose first
// edge lies on `outer`, coloured by light direction from a and b: 0 shades
// every bevel from a to b; 1 to 4 make flat bevels (top, left, bottom, right)
// b b a a, a b b a, b a a b, a a b b; any other direction draws none.
void LitBevels(HDC dc, const RECT& outer, const RECT& inner, int light, COLORREF a, COLORREF b, float rate);

// The two-colour ring `width` wide along the inside of `rect` (ellipse, or
// round rectangle with the corners): colour2 on one half, colour on the
// other, split on a diagonal by direction 1 to 4; nothing for others.
void DrawSplitRing(HDC dc, const RECT& rect, int width, int cornerW, int cornerH, int direction, COLORREF colour,
                   COLORREF colour2);

// The status lamp in `lamp` (10 high; round lamps 10 wide): round with a
// glint, or rectangular and sunken.
void PaintLamp(HDC dc, const RECT& lamp, const SwitchLook& a, const SwitchColors& c, const Derived& d);

// The black outline of the inner rectangle, `width` px wide.
void Outline(HDC dc, const RECT& inner, int width);
// Lines from the inner rectangle's corners to the face's, in the selected pen.
void CornerLines(HDC dc, const RECT& inner, const RECT& face);

// Straight lines through the points in order, in a 1 px pen of `colour`.
void Lines(HDC dc, const POINT* points, int count, COLORREF colour);

// Shapes 4, 5 and 6 with their on and off texts (switch_toggle.cpp).
void PaintToggle(const Surface& s, const SwitchLook& a, const SwitchColors& c, const Derived& d);
// The rocker's face for the look, inside the inner rectangle.
RECT RockerFace(const SwitchLook& a, const RECT& inner);

}  // namespace switchpaint

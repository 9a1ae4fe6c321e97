// Drawing of the switch knob: the knob's dial, panel, pointer and marker
// steps (knob_paint.h) round the switch knob's own steps, the mark at each
// item position and the item's name beside the dial. Nothing here reads a
// control object; switchknob_render.cpp gathers what the paint reads.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <vector>
#include "common/markshape.h"
#include "knob_paint.h"

namespace knobpaint {

// What the switch knob's paint reads besides the colours (KnobColors: the
// fields the knob's steps use for the same parts).
struct SwitchKnobAppearance {
    int borderType = ES_FLAT;
    int outerBorderLen = 4;
    int innerBorderLen = 4;
    int outerTextHeight = 20;
    int outerTextLength = 20;
    PanelSpec panel{PS_None, PBS_RAISED, 10};
    DialArc arc;
    PointerSpec pointer{IS_RoundButton, 20, SS_FLAT, 10, MS_Circle, true};
    int elementIndicatorType = ITCIRCLE;
    int elementIndicatorSize = 6;
};

// One item of the list on show, placed and coloured.
struct PlacedItem {
    double angle;    // degrees, clockwise from three o'clock
    COLORREF color;  // translated
    BSTR name;       // borrowed; may be null
};

// Paints the whole switch knob into R with the pointer at pointerAngle and
// returns what input reads.
PointerGeometry PaintSwitchKnob(const Surface& s, const RECT& R, const SwitchKnobAppearance& a, const KnobColors& c,
                                const std::vector<PlacedItem>& items, double pointerAngle);

// ---------------------------------------------------------------- item steps

// The dial's working rectangle as the item steps see it.
struct SwitchDial {
    POINT centre;  // centre of the rectangle (integer halves)
    int width;
    int height;
};
SwitchDial SwitchDialOf(const RECT& k);

// How the item marks look (ElementIndicatorType, ElementIndicatorSize) and
// the pointer size that sets the shaded circle's ring width.
struct SwitchMarkStyle {
    int type;
    int size;
    int indicatorSize;
};

// The filled shape of the mark of the item at `angle` (none for a line).
MarkShape SwitchItemShape(const SwitchDial& dial, double angle, const SwitchMarkStyle& style);

// The mark of one item at `angle` degrees just inside the dial's rim, in the
// item's colour, drawn only as far as `clip` (MarkClip) can show it.
void PaintSwitchItemMark(HDC dc, const ClipArea& clip, const SwitchDial& dial, double angle, COLORREF color,
                         const SwitchMarkStyle& style);

// The item's name just outside the dial, aligned away from it by the angle:
// right-aligned on the left side, centred above and below, left-aligned on
// the right side. Into a metafile the text is anchored with SetTextAlign and
// TextOutA on the font's baseline (s.fontPoints).
void PaintSwitchItemName(const Surface& s, const SwitchDial& dial, double angle, BSTR name, COLORREF color);

}  // namespace knobpaint

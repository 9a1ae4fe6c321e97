// The switch knob's paint: gathers what the paint reads, places the items of
// the list on show and runs the paint on the target the control base resolved
// (PaintToTarget picks the buffer or the metafile and hands what the paint
// leaves back to input).
#include "switchknob.h"
#include "switchknob_geometry.h"
#include "switchknob_paint.h"
#include <new>

using namespace knobpaint;

// Reads the switch knob's members for the paint; nothing else here touches them.
struct SwitchKnobPainter {
    static SwitchKnobAppearance Appearance(const CQEV_SwitchKnob& k) {
        SwitchKnobAppearance a;
        a.borderType = k.m_BorderType;
        a.outerBorderLen = k.m_OuterBorderLen;
        a.innerBorderLen = k.m_InnerBorderLen;
        a.outerTextHeight = k.m_OuterTextHeight;
        a.outerTextLength = k.m_OuterTextLength;
        a.panel = PanelSpec{k.m_PanelType, k.m_PanelBorderType, k.m_PanelBorderLen};
        a.arc = DialArc{k.m_StartAngle, k.m_EndAngle, k.m_GradientRate};
        a.pointer = PointerSpec{k.m_IndicatorType, k.m_IndicatorSize, k.m_SliderType, k.m_SliderWidth, k.m_MarkerType,
                                k.m_MarkerVisible == 1, true, true};
        a.elementIndicatorType = k.m_ElementIndicatorType;
        a.elementIndicatorSize = k.m_ElementIndicatorSize;
        return a;
    }

    // The colours the knob's steps read for the parts the switch knob shares.
    static KnobColors Colors(CQEV_SwitchKnob& k) {
        const OLE_COLOR ambient = k.AmbientBackColor();
        KnobColors c{};
        c.ambient = TranslateColor(ambient);
        c.background = k.m_BackStyle == BS_Opaque ? TranslateColor(k.m_BkColor) : c.ambient;
        c.panel = TranslateColor(k.m_PanelColor);
        c.indicator = TranslateColor(k.m_IndicatorColor);
        c.borderDark = TranslateColor(k.m_BorderDarkColor);
        c.borderLight = TranslateColor(k.m_BorderLightColor);
        c.panelBorderLight = TranslateColor(k.m_PanelBorderLightColor);
        c.panelBorderDark = TranslateColor(k.m_PanelBorderDarkColor);
        c.circle = TranslateColor(k.m_CircleColor);
        c.slider = TranslateColor(k.m_SliderColor);
        c.marker = TranslateColor(k.m_MarkerColor);
        return c;
    }

    // The items of the list on show at their angles, and the pointer's angle:
    // the current item's while no drag is in progress, else where the mouse
    // put it. A current key that names no shown item leaves it where it was.
    static std::vector<PlacedItem> Place(CQEV_SwitchKnob& k, double& pointerAngle) {
        const CSwitchItemList& shown = k.ShownItems();
        const SwitchArc arc = SwitchItemArc(k.m_StartAngle, k.m_EndAngle, shown.Count());
        std::vector<PlacedItem> placed;
        placed.reserve(shown.Count());
        for (size_t i = 0; i < shown.Count(); ++i) {
            const CSwitchItem& item = shown[i];
            const double angle = SwitchItemAngle(arc, i, k.m_StartAngle, k.m_EndAngle, k.m_InverseDirection == 1);
            if (!k.DragFlag() && SameSwitchKey(item.m_key, k.m_switch.Current())) pointerAngle = angle;
            placed.push_back(PlacedItem{angle, TranslateColor(item.m_color), item.m_name});
        }
        return placed;
    }
};

void CQEV_SwitchKnob::Paint(const fw::RenderTarget& target) {
    const SwitchKnobAppearance appearance = SwitchKnobPainter::Appearance(*this);
    const KnobColors colors = SwitchKnobPainter::Colors(*this);
    double pointerAngle = m_geometry.pointerAngle;
    std::vector<PlacedItem> items;
    try {
        items = SwitchKnobPainter::Place(*this, pointerAngle);
    } catch (const std::bad_alloc&) {
        return;  // nothing drawn rather than a partial list
    }
    PaintToTarget(
        target, m_font,
        [&](const Surface& s) { return PaintSwitchKnob(s, target.bounds, appearance, colors, items, pointerAngle); },
        [&](const fw::RenderTarget& t, PointerGeometry& painted) {
            KeepForInput(t, painted, m_geometry, m_windowShape, m_hwnd, m_BorderType);
        });
}

void CQEV_SwitchKnob::ApplyWindowRegion() { ApplyRoundWindowRegion(m_windowShape, m_hwnd, m_BorderType); }

// The knob's paint: gathers what the paint reads and runs the paint pipeline
// on the target the control base resolved (PaintToTarget picks the buffer or
// the metafile and hands what the paint leaves back to input).
#include "knob.h"
#include "knob_paint.h"

using namespace knobpaint;

// Reads the knob's members for the paint; nothing else here touches them.
struct KnobPainter {
    static KnobAppearance Appearance(const CQEV_Knob& k) {
        KnobAppearance a;
        a.borderType = k.m_BorderType;
        a.outerBorderLen = k.m_OuterBorderLen;
        a.innerBorderLen = k.m_InnerBorderLen;
        a.outerTextHeight = k.m_OuterTextHeight;
        a.outerTextLength = k.m_OuterTextLength;
        a.scaleRingVisible = k.m_ScaleRingVisible == 1;
        a.scaleRingBorderType = k.m_ScaleRingBorderType;
        a.scaleTextPosStyle = k.m_ScaleTextPosStyle;
        a.tickerAlignment = k.m_TickerAlignment;
        a.tickerNum = k.m_TickerNum;
        a.subTickerNum = k.m_SubTickerNum;
        a.inverseDirection = k.m_InverseDirection == 1;
        a.text.precision = k.m_ScalePrecision;
        a.text.percentage = k.m_PercentageScale == 1;
        a.text.minVal = k.m_MinVal;
        a.text.maxVal = k.m_MaxVal;
        for (int i = 0; i < 10; ++i)
            a.ranges[i] = RangeSpec{k.m_ranges[i].start, k.m_ranges[i].end, k.m_ranges[i].active == 1};
        a.panelType = k.m_PanelType;
        a.panelBorderType = k.m_PanelBorderType;
        a.panelBorderLen = k.m_PanelBorderLen;
        a.arc = DialArc{k.m_StartAngle, k.m_EndAngle, k.m_GradientRate};
        a.indicatorType = k.m_IndicatorType;
        a.indicatorSize = k.m_IndicatorSize;
        a.sliderType = k.m_SliderType;
        a.sliderWidth = k.m_SliderWidth;
        a.markerType = k.m_MarkerType;
        a.markerVisible = k.m_MarkerVisible == 1;
        a.setpointTextType = k.m_SetpointTextType;
        a.value = k.m_value;
        a.unitName = AnsiText(k.m_UnitName);
        return a;
    }

    static KnobColors Colors(CQEV_Knob& k) {
        const OLE_COLOR ambient = k.AmbientBackColor();
        KnobColors c;
        c.ambient = TranslateColor(ambient);
        c.background = k.m_BackStyle == BS_Opaque ? TranslateColor(k.m_BkColor) : c.ambient;
        c.panel = TranslateColor(k.m_PanelColor);
        c.text = TranslateColor(k.m_TextColor);
        c.indicator = TranslateColor(k.m_IndicatorColor);
        c.ticker = TranslateColor(k.m_TickerColor);
        c.borderDark = TranslateColor(k.m_BorderDarkColor);
        c.borderLight = TranslateColor(k.m_BorderLightColor);
        c.scaleRing = TranslateColor(k.m_ScaleRingColor);
        c.panelBorderLight = TranslateColor(k.m_PanelBorderLightColor);
        c.panelBorderDark = TranslateColor(k.m_PanelBorderDarkColor);
        c.circle = TranslateColor(k.m_CircleColor);
        c.slider = TranslateColor(k.m_SliderColor);
        c.marker = TranslateColor(k.m_MarkerColor);
        for (int i = 0; i < 10; ++i) c.range[i] = TranslateColor(k.m_ranges[i].color);
        return c;
    }
};

void CQEV_Knob::Paint(const fw::RenderTarget& target) {
    const KnobAppearance appearance = KnobPainter::Appearance(*this);
    const KnobColors colors = KnobPainter::Colors(*this);
    const double previousAngle = m_geometry.pointerAngle;
    PaintToTarget(
        target, m_font,
        [&](const Surface& s) { return PaintKnob(s, target.bounds, appearance, colors, previousAngle); },
        [&](const fw::RenderTarget& t, PointerGeometry& painted) {
            KeepForInput(t, painted, m_geometry, m_windowShape, m_hwnd, m_BorderType);
        });
}

void CQEV_Knob::ApplyWindowRegion() { ApplyRoundWindowRegion(m_windowShape, m_hwnd, m_BorderType); }

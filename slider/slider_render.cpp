// The slider's paint: gathers what the paint reads and runs it on the target
// the control base resolved; only the own window's paint is kept for input.
#include "slider.h"
#include "slider_paint.h"
#include "common/color.h"

struct SliderPainter {
    static SliderLook Look(const CQEV_Slider& k) {
        SliderLook a{};
        a.vertical = k.m_Vertical == 1;
        a.inverse = k.m_InverseDirection == 1;
        a.labelsAfter = k.m_ScaleSideChanged == 1;
        a.tickerNum = k.m_TickerNum;
        a.subTickerNum = k.m_SubTickerNum;
        a.rangeFieldWidth = k.m_RangeFieldWidth;
        a.rangeEndGap = k.m_RangeEndGap;
        a.scaleGap = k.m_ScaleGap;
        a.rangeBorderStyle = k.m_RangeBorderStyle;
        a.scaleVisible = k.m_ScaleVisible == 1;
        a.actualVisible = k.m_ActualRangeVisible == 1;
        a.showSetpoint = k.m_ShowSetpointValue == 1;
        a.showActual = k.m_ShowActualValue == 1;
        a.markerWidth = k.m_MarkerWidth;
        a.markerHeight = k.m_MarkerHeight;
        a.text.precision = k.m_ScalePrecision;
        a.text.percentage = k.m_PercentageScale == 1;
        a.text.minVal = k.m_MinVal;
        a.text.maxVal = k.m_MaxVal;
        a.setpoint = k.m_setpoint;
        a.actual = k.m_actual;
        a.marker = MarkerSpec{k.m_MarkerStyle, false, false, TranslateColor(k.m_MarkerColor), k.m_gradientLevel};
        a.frame = FrameSpec{k.m_BorderStyle, k.m_OuterBorderLen, k.m_InnerBorderLen,
                            TranslateColor(k.m_BorderLightColor), TranslateColor(k.m_BorderDarkColor)};
        return a;
    }

    static SliderColors Colors(CQEV_Slider& k) {
        const OLE_COLOR ambient = k.AmbientBackColor();
        return SliderColors{TranslateColor(k.m_BackStyle == BS_Opaque ? k.m_BkColor : ambient),
                            TranslateColor(k.m_RangeBkColor), TranslateColor(k.m_TextColor),
                            TranslateColor(k.m_RangeActualColor)};
    }
};

void CQEV_Slider::Paint(const fw::RenderTarget& target) {
    const SliderLook look = SliderPainter::Look(*this);
    const SliderColors colors = SliderPainter::Colors(*this);
    PaintToTarget(
        target, m_font, [&](const Surface& s) { return PaintSlider(s, target.bounds, look, colors); },
        [&](const fw::RenderTarget& t, const SliderLeft& left) {
            if (!t.own) return;  // prints and metafiles leave input alone
            m_geometry.field.Set(left.value);
            m_geometry.marker.Set(left.marker);
        });
}

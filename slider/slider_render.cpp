// The slider's paint: gathers what the paint reads and runs it on the target
// the control base resolved.
#include "slider.h"
#include "slider_layout.h"

struct SliderPainter {
    static SliderPlacement Place(const CQEV_Slider& k, const RECT& R, RECT& V) {
        SliderLayoutSpec spec{k.m_Vertical == 1, k.m_TickerNum, k.m_RangeFieldWidth, k.m_RangeEndGap,
                              SliderFrameDepth(k.m_BorderStyle, k.m_OuterBorderLen, k.m_InnerBorderLen)};
        V = SliderValueRect(R, spec);
        SliderValues values{k.m_Vertical == 1, k.m_InverseDirection == 1, k.m_MinVal,      k.m_MaxVal,
                            k.m_setpoint,      k.m_actual,                 k.m_MarkerWidth, k.m_MarkerHeight};
        return PlaceSliderMarker(V, values);
    }
};

void CQEV_Slider::Paint(const fw::RenderTarget& target) {
    RECT V;
    SliderPlacement p = SliderPainter::Place(*this, target.bounds, V);
    if (target.own) {
        m_geometry.field.Set(V);
        m_geometry.marker.Set(p.marker);
    }
}

// The switch slider's paint.
#include "switchslider.h"
#include "slider_layout.h"

struct SwitchSliderPainter {
    static SwitchLayoutSpec Spec(const CQEV_SwitchSlider& k) {
        return SwitchLayoutSpec{k.m_Vertical == 1,
                                k.m_ScaleSideChanged != 0,
                                k.m_InverseDirection != 0,
                                SliderFrameDepth(k.m_BorderStyle, k.m_OuterBorderLen, k.m_InnerBorderLen),
                                k.m_RangeFieldWidth,
                                k.m_RangeEndGap,
                                k.m_ScaleGap,
                                k.m_IndicatorSize,
                                k.m_MarkerWidth,
                                k.m_MarkerHeight};
    }
};

void CQEV_SwitchSlider::Paint(const fw::RenderTarget& target) {
    const CSwitchItemList& shown = ShownItems();
    const SwitchLayoutSpec spec = SwitchSliderPainter::Spec(*this);
    const int n = static_cast<int>(shown.Count());
    const SwitchLayout lay = LayOutSwitchSlider(target.bounds, spec, n);
    if (!target.own) return;
    m_geometry.field.Set(lay.field);
    if (n == 0) return;
    int u = shown.Find(m_currentKey);
    if (u < 0) u = 0;
    const int along = DragFlag() && m_hasDragPoint ? (spec.vertical ? m_dragPoint.y : m_dragPoint.x)
                                                   : SwitchItemCentre(lay, spec, u);
    m_geometry.marker.Set(SwitchMarkerRect(lay, spec, along));
}

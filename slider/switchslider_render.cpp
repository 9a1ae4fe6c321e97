// The switch slider's paint: gathers what the paint reads and runs it on the
// target the control base resolved; only the own window's paint is kept for
// input.
#include "switchslider.h"
#include "slider_paint.h"
#include "common/color.h"

struct SwitchSliderPainter {
    static SwitchLook Look(const CQEV_SwitchSlider& k, const CSwitchItemList& shown) {
        SwitchLook a{};
        a.vertical = k.m_Vertical == 1;
        a.inverse = k.m_InverseDirection != 0;
        a.labelsAfter = k.m_ScaleSideChanged != 0;
        a.scaleVisible = k.m_ScaleVisible == 1;
        a.rangeFieldWidth = k.m_RangeFieldWidth;
        a.rangeEndGap = k.m_RangeEndGap;
        a.scaleGap = k.m_ScaleGap;
        a.rangeBorderStyle = k.m_RangeBorderStyle;
        a.indicatorType = k.m_IndicatorType;
        a.indicatorSize = k.m_IndicatorSize;
        a.markerWidth = k.m_MarkerWidth;
        a.markerHeight = k.m_MarkerHeight;
        const int u = shown.Find(k.m_switch.Current());
        a.current = u < 0 ? 0 : u;  // a key of no shown item: the first item
        a.dragging = k.DragFlag() && k.m_hasDragPoint;
        a.dragAlong = a.vertical ? k.m_dragPoint.y : k.m_dragPoint.x;
        a.marker = MarkerSpec{k.m_MarkerStyle, false, false, TranslateColor(k.m_MarkerColor), k.m_gradientLevel};
        a.frame = FrameSpec{k.m_BorderStyle, k.m_OuterBorderLen, k.m_InnerBorderLen,
                            TranslateColor(k.m_BorderLightColor), TranslateColor(k.m_BorderDarkColor)};
        return a;
    }

    static std::vector<ShownItem> Items(const CSwitchItemList& shown) {
        std::vector<ShownItem> items;
        items.reserve(shown.Count());
        for (const CSwitchItem& item : shown) items.push_back(ShownItem{TranslateColor(item.m_color), AnsiText(item.m_name)});
        return items;
    }
};

void CQEV_SwitchSlider::Paint(const fw::RenderTarget& target) {
    const CSwitchItemList& shown = ShownItems();
    const SwitchLook look = SwitchSliderPainter::Look(*this, shown);
    const std::vector<ShownItem> items = SwitchSliderPainter::Items(shown);
    const COLORREF background = TranslateColor(m_BackStyle == BS_Opaque ? m_BkColor : AmbientBackColor());
    const COLORREF rangeBack = TranslateColor(m_RangeBkColor);
    PaintToTarget(
        target, m_font,
        [&](const Surface& s) { return PaintSwitchSlider(s, target.bounds, look, background, rangeBack, items); },
        [&](const fw::RenderTarget& t, const SwitchLeft& left) {
            if (!t.own) return;  // prints and metafiles leave input alone
            m_geometry.field.Set(left.field);
            // With an empty list the marker keeps its last place.
            if (left.hasMarker) m_geometry.marker.Set(left.marker);
        });
}

#include "slider_paint.h"
#include "Morvel.h"
#include "common/gdi.h"
#include "common/gradient.h"
#include "common/markshape.h"
#include "slider_layout.h"

namespace {

const COLORREF kBlack = 0x000000, kWhite = 0xFFFFFF;

SwitchLayoutSpec LayoutSpec(const SwitchLook& k) {
    return SwitchLayoutSpec{k.vertical,
                            k.labelsAfter,
                            k.inverse,
                            SliderFrameDepth(k.frame.style, static_cast<short>(k.frame.outerLen),
                                             static_cast<short>(k.frame.innerLen)),
                            k.rangeFieldWidth,
                            k.rangeEndGap,
                            k.scaleGap,
                            k.indicatorSize,
                            k.markerWidth,
                            k.markerHeight};
}

void PenLine(HDC dc, COLORREF colour, int x0, int y0, int x1, int y1) {
    gdi::Pen pen = gdi::SolidPen(colour);
    gdi::Select sel(dc, pen);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

// The filled shape of an item's mark in its box (g, l, h, m); none for a line.
MarkShape ItemShape(const RECT& box, const SwitchLook& k) {
    const int g = box.left, l = box.top, h = box.right, m = box.bottom;
    switch (k.indicatorType) {
    case ITCIRCLE: return MarkShape::Ellipse(g, l, h, m);
    case ITGRADIENTCIRCLE: return MarkShape::Ellipse(g, l, h - 1, m - 1);
    case ITDIAMOND: {
        const POINT pts[] = {{(g + h) / 2, l}, {g, (l + m) / 2}, {(g + h) / 2, m}, {h, (l + m) / 2}};
        return MarkShape::Polygon(pts, 4);
    }
    case ITSQURE: return MarkShape::Rectangle(g, l, h, m);
    case ITTRIANGLE: {
        // Base on the side facing the field, apex on the far side.
        POINT pts[3];
        if (k.vertical && k.labelsAfter) pts[0] = {g, l}, pts[1] = {g, m}, pts[2] = {h, (l + m) / 2};
        else if (k.vertical) pts[0] = {h, l}, pts[1] = {h, m}, pts[2] = {g, (l + m) / 2};
        else if (k.labelsAfter) pts[0] = {g, l}, pts[1] = {h, l}, pts[2] = {(g + h) / 2, m};
        else pts[0] = {g, m}, pts[1] = {h, m}, pts[2] = {(g + h) / 2, l};
        return MarkShape::Polygon(pts, 3);
    }
    default: return MarkShape();
    }
}

// One item's mark in its box (g, l, h, m), in the item's colour, drawn only
// as far as `clip` (MarkClip) can show it.
void PaintItemMark(HDC dc, const ClipArea& clip, const RECT& box, const SwitchLook& k, COLORREF colour) {
    const int g = box.left, l = box.top, h = box.right, m = box.bottom, size = k.indicatorSize;
    if (k.indicatorType == ITLINE || k.indicatorType == IT3DLINE) {
        const bool plain = k.indicatorType == ITLINE;
        if (k.vertical) {
            const int y = l + size / 2;
            PenLine(dc, plain ? colour : kWhite, g, y, h, y);
            if (!plain) PenLine(dc, kBlack, g, y + 1, h, y + 1);
        } else {
            const int x = g + size / 2;
            PenLine(dc, plain ? colour : kWhite, x, l, x, m);
            if (!plain) PenLine(dc, kBlack, x + 1, l, x + 1, m);
        }
        return;
    }
    const MarkShape shape = ItemShape(box, k);
    if (!shape.Meets(clip)) return;  // the shaded circle's rings lie within it too
    gdi::Brush brush = gdi::SolidBrush(colour);
    gdi::Pen outline = gdi::SolidPen(kBlack);
    gdi::Select selBrush(dc, brush);
    gdi::Select selPen(dc, outline);
    shape.Draw(dc, clip);
    if (k.indicatorType == ITGRADIENTCIRCLE) {
        const COLORREF outer = RGB(GetRValue(colour) * 3 / 4, GetGValue(colour) * 3 / 4, GetBValue(colour) * 3 / 4);
        FillGradientBand(dc, box, size / 2 + 1, 0, 0, 0.5f, outer, kWhite);
    }
}

// One item's name beside its mark.
void PaintItemName(const Surface& s, const RECT& client, const RECT& box, const SwitchLook& k,
                   const std::string& name) {
    const int g = box.left, l = box.top, h = box.right, m = box.bottom;
    if (k.vertical) {
        const int y0 = (l + m) / 2;
        RECT rc;
        UINT dt = DT_SINGLELINE, ta = 0;
        POINT at;
        if (k.labelsAfter) rc.left = h + 2, rc.right = client.right, at.x = h + 2, ta |= TA_LEFT;
        else rc.left = client.left, rc.right = g - 2, at.x = g - 2, dt |= DT_RIGHT, ta |= TA_RIGHT;
        if (y0 + 10 > client.bottom) {
            rc.top = client.bottom - 50, rc.bottom = client.bottom, dt |= DT_BOTTOM;
            at.y = client.bottom, ta |= TA_BOTTOM;
        } else if (y0 - 10 < client.top) {
            rc.top = client.top, rc.bottom = client.top + 50;
            at.y = client.top, ta |= TA_TOP;
        } else {
            rc.top = y0 - 25, rc.bottom = y0 + 25, dt |= DT_VCENTER;
            at = BaselineAnchor(s, at.x, y0), ta |= TA_BASELINE;
        }
        BoxText(s, name, rc, dt, ta, at);
        return;
    }
    const int x0 = (g + h) / 2;
    if (k.labelsAfter) BoxText(s, name, RECT{x0 - 150, m + 2, x0 + 150, m + 52}, DT_SINGLELINE | DT_CENTER,
                               TA_CENTER | TA_TOP, POINT{x0, m + 2});
    else BoxText(s, name, RECT{x0 - 150, l - 52, x0 + 150, l - 2}, DT_SINGLELINE | DT_BOTTOM | DT_CENTER,
                 TA_CENTER | TA_BOTTOM, POINT{x0, l - 2});
}

}  // namespace

SwitchLeft PaintSwitchSlider(const Surface& s, const RECT& client, const SwitchLook& k, COLORREF background,
                             COLORREF rangeBack, const std::vector<ShownItem>& items) {
    {
        gdi::Brush brush = gdi::SolidBrush(background);
        FillRect(s.dc, &client, brush);
    }
    const SwitchLayoutSpec spec = LayoutSpec(k);
    const int n = static_cast<int>(items.size());
    const SwitchLayout lay = LayOutSwitchSlider(client, spec, n);

    if (k.scaleVisible) {
        SetBkMode(s.dc, TRANSPARENT);
        // A mark whose inside covers all the DC shows hides every item before it.
        const ClipArea clip = MarkClip(s.dc);
        const int first = static_cast<int>(FirstShownMark(
            n, clip, [&](size_t i) { return ItemShape(SwitchItemBox(lay, spec, static_cast<int>(i)), k); }));
        for (int i = first; i < n; ++i) {
            SetTextColor(s.dc, items[i].color);
            const RECT box = SwitchItemBox(lay, spec, i);
            PaintItemMark(s.dc, clip, box, k, items[i].color);
            PaintItemName(s, client, box, k, items[i].name);
        }
    }

    SwitchLeft left;
    left.field = lay.field;
    int along = 0;
    if (n > 0) {
        along = k.dragging ? k.dragAlong : SwitchItemCentre(lay, spec, k.current);
        left.marker = SwitchMarkerRect(lay, spec, along);
        left.hasMarker = true;
    }
    {
        gdi::Brush brush = gdi::SolidBrush(rangeBack);
        FillRect(s.dc, &lay.field, brush);
    }
    PaintFieldEdge(s.dc, lay.field, k.rangeBorderStyle);
    if (left.hasMarker) {
        MarkerSpec marker = k.marker;
        marker.vertical = k.vertical;
        marker.labelsAfter = k.labelsAfter;
        const int across = k.vertical ? (lay.field.left + lay.field.right) / 2 : (lay.field.top + lay.field.bottom) / 2;
        PaintMarker(s.dc, left.marker, along, across, marker);
    }
    PaintFrame(s.dc, client, k.frame);
    return left;
}

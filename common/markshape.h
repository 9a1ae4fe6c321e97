// An item's mark on a switch control's scale: an ellipse, a rectangle or a
// convex polygon, outlined with the DC's pen and filled with its brush.
// A mark may be set far larger than its control, and GDI's work on a shape
// grows with its size however little of it shows: a mark that cannot show
// is passed over, and one whose inside covers all the DC shows is drawn as
// a fill of the clip box (its outline lies outside it: the same pixels).
// An ellipse more than 2048 pixels wide and high that crosses the clip box
// is drawn there as polygons through points of its edge (no screen shows
// such a mark whole; its edge may move by a pixel).
#pragma once
#include <windows.h>

#include <cstddef>

#include "common/cliparea.h"

// What a mark is tested against: the DC's clip area where a logical unit is
// a pixel and drawing overwrites; otherwise none (nothing is passed over).
ClipArea MarkClip(HDC dc);

class MarkShape {
public:
    MarkShape() = default;  // no shape
    static MarkShape Ellipse(int left, int top, int right, int bottom);
    static MarkShape Rectangle(int left, int top, int right, int bottom);
    // A convex polygon of 3 or 4 corners.
    static MarkShape Polygon(const POINT* corners, int n);

    bool Meets(const ClipArea& clip) const;
    bool Covers(const ClipArea& clip) const;
    // Draws it as GDI's Ellipse, Rectangle or Polygon would, within `clip`.
    void Draw(HDC dc, const ClipArea& clip) const;

private:
    enum Kind { kNone, kEllipse, kRectangle, kPolygon };
    Kind m_kind = kNone;
    RECT m_box{};
    POINT m_corners[4]{};
    int m_count = 0;
};

// Of n marks drawn in order (each hiding what it covers), the first that can
// show: the last whose inside covers all `clip` shows, or else the first.
template <class ShapeAt>
size_t FirstShownMark(size_t n, const ClipArea& clip, ShapeAt shapeAt) {
    for (size_t i = n; i > 0; --i)
        if (shapeAt(i - 1).Covers(clip)) return i - 1;
    return 0;
}

// The region of the ellipse in `box` (CreateEllipticRgnIndirect), or, for one
// more than 2048 pixels wide and high that crosses the clip box, only its
// part near the clip box, bounded by a polygon through points of its edge.
HRGN EllipseRegionSeen(const RECT& box, const ClipArea& clip);

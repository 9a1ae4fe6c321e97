// The part of a DC a paint can still change, for drawing steps whose work
// grows with the size of their shapes: a ring, strip or tile that lies
// wholly outside that part, or a hole that covers it, changes no pixel and
// is passed over. A metafile DC has no such part known: nothing is skipped.
#pragma once
#include <windows.h>

class ClipArea {
public:
    // The DC's clip box in logical coordinates.
    static ClipArea Of(HDC dc);

    // The clip box; false when the DC gives none.
    bool Box(RECT* box) const;
    // Whether the DC can show a pixel of [left, right) x [top, bottom).
    bool Meets(long long left, long long top, long long right, long long bottom) const;
    bool Meets(const RECT& r) const { return Meets(r.left, r.top, r.right, r.bottom); }
    // Whether the region of the ellipse in `box` (cornerW = cornerH = 0), or
    // of the round rectangle with those corners, surely covers every pixel
    // the DC can show: the test keeps a margin of a few pixels, so that a
    // false answer only costs work.
    bool CoveredBy(const RECT& box, int cornerW, int cornerH) const;

    // The same tests for the ellipse in `box` (either corner order) and for
    // the convex polygon p[0..n): whether it may show a pixel (false only
    // when what the DC shows lies, with the margin, wholly outside it), and
    // whether its inside surely covers all the DC shows. A polygon that is
    // not convex, or has no area, meets the DC wherever its box does and
    // covers nothing.
    bool MeetsEllipse(const RECT& box) const;
    bool MeetsConvex(const POINT* p, int n) const;
    bool CoveredByConvex(const POINT* p, int n) const;

private:
    bool m_bounded = false;
    RECT m_box{};
};

// While one lives, ClipArea::Of takes `bounds` for what the metafile DC `dc`
// shows: a metafile keeps no clip box, and a control's picture in it is the
// part within its bounds.
class MetafileBounds {
public:
    MetafileBounds(HDC dc, const RECT& bounds);
    ~MetafileBounds();
    MetafileBounds(const MetafileBounds&) = delete;
    MetafileBounds& operator=(const MetafileBounds&) = delete;

private:
    friend class ClipArea;
    HDC m_dc;
    RECT m_bounds;
    const MetafileBounds* m_outer;
};

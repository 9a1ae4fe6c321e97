// Step 13 of the button's paint: the layout of caption and icon by shape
// group, the drawn icons and the picture icon, and the three texts, drawn
// into a box or, in a metafile, at an anchor computed here.
#include "button_paint.h"

#include <algorithm>

#include "Pellan.h"
#include "common/draw.h"
#include "common/text.h"

namespace buttonpaint {

namespace {

enum HAlign { kLeft, kCentre, kRight };
enum VAlign { kTop, kMiddle, kBottom };
enum Placement { kNone, kPlaceLeft, kPlaceRight, kPlaceTop, kPlaceBottom };

struct Alignment {
    HAlign h;
    VAlign v;
};

Alignment AlignmentOf(int pos) {
    Alignment a{kCentre, kMiddle};
    if (pos == BTPS_LEFT || pos == BTPS_LEFT_TOP || pos == BTPS_LEFT_BOTTOM) a.h = kLeft;
    if (pos == BTPS_RIGHT || pos == BTPS_RIGHT_TOP || pos == BTPS_RIGHT_BOTTOM) a.h = kRight;
    if (pos == BTPS_LEFT_TOP || pos == BTPS_TOP || pos == BTPS_RIGHT_TOP) a.v = kTop;
    if (pos == BTPS_LEFT_BOTTOM || pos == BTPS_RIGHT_BOTTOM || pos == BTPS_BOTTOM) a.v = kBottom;
    return a;
}

struct Layout {
    RECT caption;
    RECT icon;
    Alignment align;
    Placement placement = kNone;
};

Layout LayOut(const RECT& content, const RECT& R, const ButtonLook& a) {
    Layout l{content, content, AlignmentOf(a.caption.pos)};
    const int midX = (R.left + R.right) / 2, midY = (R.top + R.bottom) / 2;
    const bool icon = !(a.iconType == BIS_NONE || (a.iconType == BIS_ICON_RES && !a.picture) ||
                        a.iconPos == BIPS_CENTER);
    switch (a.shape) {
    case BSS_RECT:
    case BSS_ROUND_RECT:
    case BSS_DIAMOND:
    case BSS_CIRCLE:
        if (!icon) break;
        if (a.iconPos == BIPS_LEFT) {
            l.icon.right = midX, l.caption.left = midX, l.align.h = kLeft, l.placement = kPlaceLeft;
        } else if (a.iconPos == BIPS_RIGHT) {
            l.icon.left = midX, l.caption.right = midX, l.align.h = kRight, l.placement = kPlaceRight;
        } else if (a.iconPos == BIPS_TOP) {
            l.icon.bottom = midY, l.caption.top = midY, l.align.v = kTop, l.placement = kPlaceTop;
        } else if (a.iconPos == BIPS_BOTTOM) {
            l.icon.top = midY, l.caption.bottom = midY, l.align.v = kBottom, l.placement = kPlaceBottom;
        }
        break;
    case BSS_LEFT_TRIANGLE:
    case BSS_LEFT_ARROW:
    case BSS_LEFT_HALF_CIRCLE:
        if (a.iconPos == BIPS_LEFT && icon) l.icon.right = midX, l.caption.left = midX, l.placement = kPlaceLeft;
        else l.caption.right -= 3;
        l.align.h = kRight;
        break;
    case BSS_RIGHT_TRIANGLE:
    case BSS_RIGHT_ARROW:
    case BSS_RIGHT_HALF_CIRCLE:
        if (a.iconPos == BIPS_RIGHT && icon) l.icon.left = midX, l.caption.right = midX, l.placement = kPlaceRight;
        else l.caption.left += 3;
        l.align.h = kLeft;
        break;
    case BSS_TOP_TRIANGLE:
    case BSS_TOP_ARROW:
    case BSS_TOP_HALF_CIRCLE:
        if (a.iconPos == BIPS_TOP && icon)
            l.icon.bottom = midY, l.caption.top = midY, l.align.v = kMiddle, l.placement = kPlaceTop;
        else
            l.caption.bottom -= 3, l.align.v = kBottom;
        break;
    case BSS_BOTTOM_TRIANGLE:
    case BSS_BOTTOM_ARROW:
    case BSS_BOTTOM_HALF_CIRCLE:
        if (a.iconPos == BIPS_BOTTOM && icon)
            l.icon.top = midY, l.caption.bottom = midY, l.align.v = kMiddle, l.placement = kPlaceBottom;
        else
            l.caption.top += 3, l.align.v = kTop;
        break;
    default:
        break;
    }
    if (a.caption.text.empty()) {
        l.icon = content;
        l.placement = kNone;
    }
    return l;
}

// ---------------------------------------------------------------- icon

HRGN Poly(std::initializer_list<POINT> pts) {
    POINT p[4];
    int n = 0;
    for (const POINT& q : pts) p[n++] = q;
    return CreatePolygonRgn(p, n, WINDING);
}

HRGN Union(HRGN a, HRGN b) {
    if (a && b) CombineRgn(a, a, b, RGN_OR);
    if (b) DeleteObject(b);
    return a;
}

HRGN IconOutline(int type, int cx, int cy, int s) {
    const int h = s / 2;
    switch (type) {
    case BIS_LEFT_TRIANGLE: return Poly({{cx - h, cy}, {cx + h, cy - h}, {cx + h, cy + h}});
    case BIS_LEFT_TWO_TRIANGLE:
        return Union(Poly({{cx, cy}, {cx + s, cy - h}, {cx + s, cy + h}}), Poly({{cx - s, cy}, {cx, cy - h}, {cx, cy + h}}));
    case BIS_LEFT_TRIANGLE_BAR:
        return Union(Poly({{cx - h, cy}, {cx + h, cy - h}, {cx + h, cy + h}}),
                     Poly({{cx - h - 5, cy - h}, {cx - h, cy - h}, {cx - h, cy + h}, {cx - h - 5, cy + h}}));
    case BIS_RIGHT_TRIANGLE: return Poly({{cx + h, cy}, {cx - h, cy - h}, {cx - h, cy + h}});
    case BIS_RIGHT_TWO_TRIANGLE:
        return Union(Poly({{cx, cy}, {cx - s, cy - h}, {cx - s, cy + h}}), Poly({{cx + s, cy}, {cx, cy - h}, {cx, cy + h}}));
    case BIS_RIGHT_TRIANGLE_BAR:
        return Union(Poly({{cx + h, cy}, {cx - h, cy - h}, {cx - h, cy + h}}),
                     Poly({{cx + h + 5, cy - h}, {cx + h, cy - h}, {cx + h, cy + h}, {cx + h + 5, cy + h}}));
    case BIS_TOP_TRIANGLE: return Poly({{cx, cy - h}, {cx - h, cy + h}, {cx + h, cy + h}});
    case BIS_BOTTOM_TRIANGLE: return Poly({{cx, cy + h}, {cx - h, cy - h}, {cx + h, cy - h}});
    case BIS_TWO_BAR:
        return Union(Poly({{cx - 7, cy - h}, {cx - 7, cy + h}, {cx - 2, cy + h}, {cx - 2, cy - h}}),
                     Poly({{cx + 7, cy - h}, {cx + 7, cy + h}, {cx + 2, cy + h}, {cx + 2, cy - h}}));
    case BIS_SQURE: return Poly({{cx - h, cy - h}, {cx - h, cy + h}, {cx + h, cy + h}, {cx + h, cy - h}});
    case BIS_CIRCLE: return CreateEllipticRgn(cx - h, cy - h, cx + h, cy + h);
    default: return nullptr;
    }
}

void PaintIcon(const Surface& s, const Layout& l, HRGN region, const ButtonLook& a, COLORREF colour) {
    const RECT& r = l.icon;
    if (a.iconType == BIS_ICON_RES) {
        PictureInfo info;
        if (a.imageStyle != IPS_ORIGINALSIZE || !region || !ReadPicture(a.picture, info)) return;
        gdi::Region clip(CreateRectRgn(r.left, r.top, r.right, r.bottom));
        CombineRgn(clip, clip, region, RGN_AND);
        ClipTo clipped(s.dc, clip);
        const int w = info.pixels.cx, h = info.pixels.cy;
        RenderPicture(s.dc, info, (r.left + r.right - w) / 2, (r.top + r.bottom - h) / 2, w, h);
        return;
    }
    int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    const int size = a.iconSize;
    if (l.placement == kPlaceRight) cx = r.left + size + 3;
    if (l.placement == kPlaceLeft) cx = r.right - size - 3;
    if (l.placement == kPlaceBottom) cy = r.top + size + 3;
    if (l.placement == kPlaceTop) cy = r.bottom - size - 3;
    gdi::Region outline(IconOutline(a.iconType, cx, cy, size));
    if (!outline) return;
    {
        gdi::Brush brush = gdi::SolidBrush(colour);
        FillRgn(s.dc, outline, brush);
    }
    if (a.iconBorder == BIBS_RAISED || a.iconBorder == BIBS_SUNKEN)
        DrawRegionEdge3D(s.dc, outline, a.iconBorder == BIBS_SUNKEN, 3);
}

// ---------------------------------------------------------------- texts

UINT DrawFlags(const Alignment& al) {
    const UINT h = al.h == kLeft ? DT_LEFT : (al.h == kRight ? DT_RIGHT : DT_CENTER);
    const UINT v = al.v == kTop ? DT_TOP : (al.v == kBottom ? DT_BOTTOM : DT_VCENTER);
    return h | v;
}

// One text in one colour: into the box, or at the box's anchor in a metafile.
void OneText(const Surface& s, const std::string& text, const RECT& box, UINT format, const Alignment& al,
             COLORREF colour) {
    SetTextColor(s.dc, colour);
    const int x = al.h == kLeft ? box.left : (al.h == kRight ? box.right : (box.left + box.right) / 2);
    POINT anchor{x, al.v == kTop ? box.top : box.bottom};
    if (al.v == kMiddle) anchor = BaselineAnchor(s, x, (box.top + box.bottom) / 2);
    const UINT h = al.h == kLeft ? TA_LEFT : (al.h == kRight ? TA_RIGHT : TA_CENTER);
    const UINT v = al.v == kTop ? TA_TOP : (al.v == kBottom ? TA_BOTTOM : TA_BASELINE);
    BoxText(s, text, box, format, h | v, anchor);
}

RECT Moved(RECT r, int dx, int dy) {
    OffsetRect(&r, dx, dy);
    return r;
}

// Steps 4 and 5: the disabled run-mode look, else the optional 3D shadow
// and the state colour.
void TextLooks(const Surface& s, const std::string& text, const RECT& box, UINT format, const Alignment& al,
               COLORREF colour, const ButtonLook& a) {
    if (!a.enabled && a.userMode) {
        OneText(s, text, Moved(box, -1, -1), format, al, RGB(255, 255, 255));
        OneText(s, text, box, format, al, RGB(128, 128, 128));
        return;
    }
    if (a.text3D) OneText(s, text, Moved(box, -2, -1), format, al, RGB(255, 255, 255));
    OneText(s, text, box, format, al, colour);
}

// Longest wrapped caption laid out whole: a caption that long takes a few
// milliseconds to break into lines, and a centred or bottom one is placed by
// the height of all its lines.
constexpr size_t kLongestWholeCaption = 4096;

// How much of a text wrapped into `box`, its first line at `top`, can show
// in the clip box. Lines break greedily from the start, so the lines that
// show need only the text before them, and what follows adds nothing
// visible. A line holds at most what fits at the narrowest advance among the
// text's characters (twice as many bytes: "&&" and double-byte characters),
// or else one word wider than the box, and drops a space or a line break
// after it. `top` is wide: an offset near the int range takes it past.
// `fromTop`: the text's first line is at `top`; otherwise the text is placed
// by its height and may begin above. The whole text when that cannot be
// known.
size_t ShownLength(HDC dc, const std::string& text, const RECT& box, long long top, bool fromTop) {
    TEXTMETRICA tm;
    INT advances[256];
    RECT clip;
    if (!GetTextMetricsA(dc, &tm) || tm.tmHeight <= 0 || !GetCharWidth32A(dc, 0, 255, advances) ||
        GetClipBox(dc, &clip) == ERROR)
        return text.size();
    // A text from the top whose first line lies below the clip box shows
    // nothing.
    if (fromTop && top >= clip.bottom) return 0;
    // Nor does one whose lines all lie above it: each line takes at least a
    // byte, and a text placed by its height ends no lower than the box's
    // bottom or its own last line (a line's height of margin).
    const long long tallest =
        std::max<long long>((static_cast<long long>(text.size()) + 1) * tm.tmHeight, box.bottom - box.top);
    if (top + tallest + tm.tmHeight < clip.top) return 0;
    bool used[256] = {};
    for (char c : text) used[static_cast<unsigned char>(c)] = true;
    int narrowest = 0;
    for (int c = 0; c < 256; ++c)
        if (used[c] && (narrowest == 0 || advances[c] < narrowest)) narrowest = advances[c];
    if (narrowest <= 0) return text.size();
    // Lines from `top` to the clip box's bottom, and a margin for the
    // shifted shadow texts and a part line.
    const long long below = clip.bottom - top;
    const long long lines = (below > 0 ? below / tm.tmHeight : 0) + 3;
    const int width = box.right - box.left;
    const size_t perLine = 2 * static_cast<size_t>(width > 0 ? width / narrowest : 0) + 2;
    size_t pos = 0;
    for (long long i = 0; i < lines && pos < text.size(); ++i) {
        size_t word = pos;
        while (word < text.size() && text[word] != ' ') ++word;
        pos += std::max(perLine, word - pos + 2);
    }
    return std::min(pos, text.size());
}

void PaintCaption(const Surface& s, const Layout& l, const ButtonLook& a) {
    const TextSpec& t = a.caption;
    if (t.text.empty() || !t.visible) return;
    RECT box = l.caption;
    const UINT format = (a.wordWrap ? DT_WORDBREAK : DT_SINGLELINE) | DrawFlags(l.align);
    if (a.wordWrap && !s.metafile) {
        // A text far longer than the box shows only its start; the platform's
        // line breaking of the rest would cost seconds.
        const bool cut = t.text.size() > kLongestWholeCaption;
        const long long top = static_cast<long long>(box.top) + t.offset.y - 1;
        const std::string text =
            cut ? t.text.substr(0, ShownLength(s.dc, t.text, box, top, l.align.v == kTop)) : t.text;
        RECT measured = box;
        DrawTextA(s.dc, text.data(), static_cast<int>(text.size()), &measured, format | DT_CALCRECT);
        const int hT = measured.bottom - measured.top;
        if (l.align.v == kTop) {
            box.bottom = box.top + hT;
        } else if (l.align.v == kMiddle) {
            box.top = (box.top + box.bottom - hT) / 2;
            box.bottom = box.top + hT;
        } else {
            box.top = box.bottom - hT;
        }
        TextLooks(s, text, Moved(box, t.offset.x, t.offset.y), format, l.align, t.colour, a);
        return;
    }
    TextLooks(s, t.text, Moved(box, t.offset.x, t.offset.y), format, l.align, t.colour, a);
}

void PaintAuxText(const Surface& s, const RECT& content, const TextSpec& t, const ButtonLook& a) {
    if (t.text.empty() || !t.visible) return;
    const Alignment al = AlignmentOf(t.pos);
    TextLooks(s, t.text, Moved(content, t.offset.x, t.offset.y), DT_SINGLELINE | DrawFlags(al), al, t.colour, a);
}

}  // namespace

void PaintIconAndTexts(const Surface& s, const RECT& R, HRGN region, const ButtonLook& a, const ButtonColors& c) {
    const int b = a.outerLen + a.innerLen;
    const RECT content{R.left + b, R.top + b, R.right - b, R.bottom - b};
    const Layout l = LayOut(content, R, a);
    PaintIcon(s, l, region, a, c.icon);
    PaintCaption(s, l, a);
    PaintAuxText(s, content, a.text1, a);
    PaintAuxText(s, content, a.text2, a);
}

}  // namespace buttonpaint

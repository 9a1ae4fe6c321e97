// One paint of a control into the target the control base resolved: the
// kept memory bitmap of screen paints (PaintBuffer), the control's font
// selected for the paint (PaintFont), what the drawing steps draw on
// (Surface), and the metafile-or-buffer decision written once
// (PaintToTarget), with or without a hand-back of what the paint leaves for
// input.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <type_traits>
#include <utility>
#include "framework/control.h"
#include "common/cliparea.h"
#include "common/gdi.h"

// Where a paint goes: the DC, the pixel target of the per-pixel routines
// (the same DC, or the bits of its DIB section), whether it is a metafile,
// and the font's point size that places metafile text on its baseline.
struct Surface {
    HDC dc;
    gdi::PixelTarget pixels;
    bool metafile;
    int fontPoints;  // 14 when there is no font
};

// The memory bitmap of a screen paint: a memory DC over a 32-bit DIB section
// whose logical coordinates are those of `area`. Fresh memory is costly (the
// first touch of every page of a new 400 x 400 bitmap costs more than drawing
// a whole knob), so the bitmap is kept between the paints of the thread that
// made it and grows to the largest area asked for; a paint from another thread,
// or one nested inside a paint, gets a bitmap of its own. The DC's state is
// saved at the start and restored at the end, and every pixel of `area` is
// the paint's to set: what lies outside it is never copied.
class PaintBuffer {
public:
    PaintBuffer(HDC reference, const RECT& area);
    ~PaintBuffer();
    PaintBuffer(const PaintBuffer&) = delete;
    PaintBuffer& operator=(const PaintBuffer&) = delete;

    bool ok() const { return m_dc != nullptr; }
    HDC dc() const { return m_dc; }
    gdi::PixelTarget Pixels() const;
    // Copies the area to the same coordinates of target.
    BOOL BlitTo(HDC target) const;

private:
    struct Store;
    RECT m_area;
    HDC m_dc = nullptr;
    void* m_bits = nullptr;
    int m_width = 0;                // of the whole bitmap
    int m_saved = 0;
    Store* m_store = nullptr;       // the shared bitmap, or null
    gdi::MemoryDC* m_own = nullptr; // a bitmap of its own otherwise
};

// The control's font selected into a DC for one paint, and its point size
// (14 without a font), which places metafile text on its baseline. A font
// taller than kMaxPaintFontPixels is realised at that height instead (the
// platform rasterises each glyph whole, and no such text fits a control on a
// screen); the font object itself keeps its size.
constexpr LONG kMaxPaintFontPixels = 2048;

class PaintFont {
public:
    PaintFont(HDC dc, IFontDisp* font);
    ~PaintFont();
    PaintFont(const PaintFont&) = delete;
    PaintFont& operator=(const PaintFont&) = delete;
    int points() const { return m_points; }

private:
    IFont* m_font = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_previous = nullptr;
    HFONT m_capped = nullptr;  // the smaller copy, when the font was too tall
    int m_points = 14;
};

// One paint into a resolved target: straight into a metafile (its DC state
// saved around the paint), else into the kept paint buffer that is then
// copied to the target. Either way the control's font is selected for the
// paint. `paint(const Surface&)` draws over target.bounds, and `painted()`
// runs after it, before the buffer is copied. False when no buffer could be
// made (nothing was painted).
template <class PaintStep, class Painted>
bool PaintThen(const fw::RenderTarget& target, IFontDisp* font, PaintStep&& paint, Painted&& painted) {
    if (target.metafile) {
        {
            gdi::SavedState saved(target.hdc);
            MetafileBounds shown(target.hdc, target.bounds);
            PaintFont paintFont(target.hdc, font);
            paint(Surface{target.hdc, gdi::PixelTarget::Within(target.hdc, target.bounds), true, paintFont.points()});
        }
        painted();
        return true;
    }
    PaintBuffer memory(target.hdc, target.bounds);
    if (!memory.ok()) return false;
    {
        PaintFont paintFont(memory.dc(), font);
        Surface s{memory.dc(), memory.Pixels(), false, paintFont.points()};
        paint(s);
        s.pixels.Flush();
    }
    // Before the copy: a window shape set there is drawn by it.
    painted();
    memory.BlitTo(target.hdc);
    return true;
}

// The same with nothing after the paint.
template <class PaintStep>
bool PaintToTarget(const fw::RenderTarget& target, IFontDisp* font, PaintStep&& paint) {
    return PaintThen(target, font, std::forward<PaintStep>(paint), [] {});
}

// The same for a paint that leaves something for input: `paint` returns it
// (a default-constructible value) and `keep(target, left)` receives it after
// the paint, also for prints and metafiles, so it can take what only the own
// window's paint may keep and free the rest. Nothing is kept when nothing
// was painted. On a screen it runs before the paint's pixels reach the
// target, so that a window shape it sets is drawn by this paint.
template <class PaintStep, class KeepStep>
void PaintToTarget(const fw::RenderTarget& target, IFontDisp* font, PaintStep&& paint, KeepStep&& keep) {
    using Left = std::decay_t<decltype(paint(std::declval<const Surface&>()))>;
    Left left{};
    PaintThen(target, font, [&](const Surface& s) { left = paint(s); }, [&] { keep(target, left); });
}

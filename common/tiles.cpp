#include "common/tiles.h"

#include <algorithm>
#include <memory>

#include "common/gdi.h"

namespace {

// A metafile records a render per tile up to this many tiles (a render
// costs a fraction of a millisecond, so a tiny picture over a print would
// take seconds); past it, composed bitmaps of at most kBlock pixels square.
constexpr long long kRecordedTiles = 256;
constexpr int kBlock = 512;
// A tile is rendered once and copied only up to this size: a larger one
// meets few tiles of any visible area.
constexpr long long kCopiedTilePixels = 1 << 22;

// The first grid line at or before `from`, the grid starting at `origin`.
long long FirstMeeting(long long origin, long long from, int step) {
    return from <= origin ? origin : origin + (from - origin) / step * step;
}

long long TilesMeeting(const RECT& grid, const RECT& seen, int cx, int cy) {
    const long long across = (seen.right - FirstMeeting(grid.left, seen.left, cx) + cx - 1) / cx;
    const long long down = (seen.bottom - FirstMeeting(grid.top, seen.top, cy) + cy - 1) / cy;
    return std::max(0LL, across) * std::max(0LL, down);
}

// Screen drawing: every tile meeting `seen`, copied from one rendered tile
// where the picture allows.
void DrawTiles(HDC dc, const RECT& grid, const RECT& seen, const TiledPicture& p) {
    const long long x0 = FirstMeeting(grid.left, seen.left, p.cx), y0 = FirstMeeting(grid.top, seen.top, p.cy);
    std::unique_ptr<gdi::MemoryDC> tile;
    if ((p.opaque || p.onGround) && (long long)p.cx * p.cy <= kCopiedTilePixels &&
        TilesMeeting(grid, seen, p.cx, p.cy) > 1) {
        tile.reset(new gdi::MemoryDC(dc, RECT{0, 0, p.cx, p.cy}));
        if (tile->ok()) {
            if (!p.opaque) {
                const RECT cell{0, 0, p.cx, p.cy};
                gdi::Brush brush = gdi::SolidBrush(p.ground);
                FillRect(tile->dc(), &cell, brush);
            }
            p.render(tile->dc(), 0, 0);
        } else {
            tile.reset();
        }
    }
    for (long long y = y0; y < seen.bottom; y += p.cy)
        for (long long x = x0; x < seen.right; x += p.cx) {
            if (tile) BitBlt(dc, (int)x, (int)y, p.cx, p.cy, tile->dc(), 0, 0, SRCCOPY);
            else p.render(dc, (int)x, (int)y);
        }
}

// One block of tiles drawn on `ground` into a new memory DC.
std::unique_ptr<gdi::MemoryDC> ComposedBlock(const RECT& grid, const RECT& block, TiledPicture p, bool onGround,
                                             COLORREF ground) {
    std::unique_ptr<gdi::MemoryDC> mem(new gdi::MemoryDC(nullptr, block));
    if (!mem->ok()) return nullptr;
    if (onGround) {
        gdi::Brush brush = gdi::SolidBrush(ground);
        FillRect(mem->dc(), &block, brush);
        p.onGround = true;
        p.ground = ground;
    }
    DrawTiles(mem->dc(), grid, block, p);
    GdiFlush();
    return mem;
}

// Copies a memory DC's bitmap to `block` of a metafile. The metafile takes
// the source's logical origin as an offset into the bits: copy from the
// bitmap's own origin.
void Record(HDC dc, const RECT& block, const gdi::MemoryDC& mem, DWORD rop) {
    SetViewportOrgEx(mem.dc(), 0, 0, nullptr);
    BitBlt(dc, block.left, block.top, mem.width(), mem.height(), mem.dc(), 0, 0, rop);
}

// A block of a picture that may be transparent: drawn on white and on black,
// a pixel that comes out the same on both is the picture's, any other lets
// the ground show; recorded as a mask (AND) and the picture's pixels on
// black (OR).
void RecordTransparentBlock(HDC dc, const RECT& grid, const RECT& block, const TiledPicture& p) {
    std::unique_ptr<gdi::MemoryDC> white = ComposedBlock(grid, block, p, true, RGB(255, 255, 255));
    std::unique_ptr<gdi::MemoryDC> black = ComposedBlock(grid, block, p, true, RGB(0, 0, 0));
    if (!white || !black) return;
    DWORD* mask = static_cast<DWORD*>(white->bits());
    DWORD* colour = static_cast<DWORD*>(black->bits());
    const size_t n = (size_t)white->width() * white->height();
    for (size_t i = 0; i < n; ++i) {
        const bool picture = (mask[i] & 0xFFFFFF) == (colour[i] & 0xFFFFFF);
        mask[i] = picture ? 0 : 0xFFFFFF;
        if (!picture) colour[i] = 0;
    }
    Record(dc, block, *white, SRCAND);
    Record(dc, block, *black, SRCPAINT);
}

}  // namespace

void PaintTiledPicture(HDC dc, bool metafile, const RECT& grid, const RECT& seen, const TiledPicture& p) {
    if (p.cx < 1 || p.cy < 1 || !p.render || seen.left >= seen.right || seen.top >= seen.bottom) return;
    if (!metafile) return DrawTiles(dc, grid, seen, p);
    if (TilesMeeting(grid, seen, p.cx, p.cy) <= kRecordedTiles) {
        const long long x0 = FirstMeeting(grid.left, seen.left, p.cx), y0 = FirstMeeting(grid.top, seen.top, p.cy);
        for (long long y = y0; y < seen.bottom; y += p.cy)
            for (long long x = x0; x < seen.right; x += p.cx) p.render(dc, (int)x, (int)y);
        return;
    }
    for (long long top = seen.top; top < seen.bottom; top += kBlock)
        for (long long left = seen.left; left < seen.right; left += kBlock) {
            const RECT block{(LONG)left, (LONG)top, (LONG)std::min<long long>(seen.right, left + kBlock),
                             (LONG)std::min<long long>(seen.bottom, top + kBlock)};
            if (p.opaque || p.onGround) {
                if (auto mem = ComposedBlock(grid, block, p, !p.opaque, p.ground)) Record(dc, block, *mem, SRCCOPY);
            } else {
                RecordTransparentBlock(dc, grid, block, p);
            }
        }
}

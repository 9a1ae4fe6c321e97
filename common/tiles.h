// A picture tiled over a rectangle from its top-left corner (the switch's
// picture shape, the button's picture face), drawn only where it can be
// seen: a tiny picture over a rectangle that hostile sizes grow far past the
// control would otherwise cost a render or copy per tile of the whole grid.
#pragma once
#include <windows.h>

#include <functional>

struct TiledPicture {
    int cx = 0, cy = 0;                         // one tile, pixels
    std::function<void(HDC, int, int)> render;  // draws one tile at (x, y)
    // How a tile may be drawn other than by a render of its own: `opaque`,
    // it covers its whole cell (an opaque bitmap); `onGround`, what lies
    // under the tiles is plain `ground` (then a tile rendered on that colour
    // is the tile as it would come out anywhere).
    bool opaque = false;
    bool onGround = false;
    COLORREF ground = 0;
};

// The tiles of the grid that starts at grid's top-left corner and meet
// `seen` (inside grid; logical coordinates). On screen one tile is rendered
// and copied to the others where the picture allows; a metafile records a
// render per tile, or, past a few hundred tiles, the tiles composed into
// bitmaps block by block (transparent parts kept through a mask).
void PaintTiledPicture(HDC dc, bool metafile, const RECT& grid, const RECT& seen, const TiledPicture& picture);

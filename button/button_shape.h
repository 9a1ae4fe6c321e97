// Outlines of the smart button as pure geometry: the button region of every
// shape, the polygons of the polygon shapes, the face rectangle and the
// highlight box where a shaded face is brightest.
#pragma once
#include <windows.h>
#include <string>

namespace buttonshape {

// The drawing rectangle inset by outer + inner on every side when the border
// is configurable (borderType != 0); the drawing rectangle itself otherwise.
RECT FaceRect(const RECT& R, int borderType, int outerLen, int innerLen);

// The part of the face where a BFS_GRADIENT face is brightest: (left, top)
// while raised, (right, bottom) while pressed.
RECT HighlightBox(int shape, const RECT& face);

// Vertices of the polygon shapes (diamond, triangles, arrows) over R in the
// order the region is built from; 0 for other shapes. `pts` holds 7.
int ShapePolygon(int shape, const RECT& R, POINT* pts);

// The button region of `shape` over R: a new region, or null for a shape
// outside 0 to 16 and for a character shape whose caption (8-bit text) has
// no outline. The character shape's glyphs are Arial bold as tall as R,
// placed at (R.left, R.top); they are laid out on a memory DC of their own,
// so the caller's DC may be a metafile or carry any viewport offset.
HRGN BuildShapeRegion(int shape, const RECT& R, int roundRadius, const std::string& caption);

}  // namespace buttonshape

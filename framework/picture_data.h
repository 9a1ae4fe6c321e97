// Structure checks of picture file data before it reaches the platform's
// picture reader. The readers of icons, cursors and bitmaps trust the sizes
// and offsets in the data and read past its end when they lie; these checks
// refuse such data. Other formats (GIF, JPEG, PNG, metafiles) pass as they
// are: their readers bound themselves.
#pragma once
#include <windows.h>
#include <cstddef>

namespace fw {

// Header word of the standard picture's saved data.
constexpr DWORD kPictureMagic = 0x0000746C;

// True unless `data` is an icon, cursor or bitmap file whose directory,
// headers, colour tables, masks or pixel data reach outside its `size` bytes
// or describe something the platform does not read (a bit count, plane count
// or compression it has no reader for).
bool PictureDataSound(const BYTE* data, size_t size);

// The same for the standard picture's saved form as the platform's loader
// takes it: the 0x746C header word and byte count followed by the file, or a
// bare file. A header whose count runs past `size` is refused.
bool SavedPictureSound(const BYTE* saved, size_t size);

}  // namespace fw

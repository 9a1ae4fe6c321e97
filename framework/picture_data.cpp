#include "picture_data.h"

#include <cstdint>

namespace fw {
namespace {

// Every size below is computed in 64 bits from fields of at most 32 bits,
// so no product or sum of them can wrap.
using u64 = uint64_t;

// The platform computes image sizes in signed 32-bit arithmetic.
constexpr u64 kMaxImageBytes = 0x7FFFFFFF;
// A colour table never has more entries than this, whatever the header says.
constexpr u64 kMaxColours = 256;

WORD U16(const BYTE* p) { return static_cast<WORD>(p[0] | p[1] << 8); }
DWORD U32(const BYTE* p) { return static_cast<DWORD>(U16(p)) | static_cast<DWORD>(U16(p + 2)) << 16; }
LONG I32(const BYTE* p) { return static_cast<LONG>(U32(p)); }

bool KnownBitCount(WORD bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Bytes of one row of pixels: rows are padded to whole DWORDs.
u64 RowBytes(u64 width, u64 bits) { return (width * bits + 31) / 32 * 4; }

// Colour table entries a reader takes: the header's count (capped as the
// platform caps it), else the full palette of an indexed bit count.
u64 ColourCount(DWORD used, WORD bits) {
    if (used) return used < kMaxColours ? used : kMaxColours;
    return bits <= 8 ? u64(1) << bits : 0;
}

// ----- icons and cursors: ICONDIR, ICONDIRENTRY[count], images

constexpr size_t kIconDir = 6;
constexpr size_t kIconEntry = 16;
constexpr BYTE kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
// Signature, then the IHDR chunk: length, type, 13 bytes of data, CRC.
constexpr size_t kPngHead = 8 + 4 + 4 + 13 + 4;

bool IsPng(const BYTE* p, u64 size) {
    if (size < sizeof kPngSignature) return false;
    for (size_t i = 0; i < sizeof kPngSignature; ++i)
        if (p[i] != kPngSignature[i]) return false;
    return true;
}

// One entry's image: a PNG (read by the platform's own bounded decoder once
// its head is there) or a DIB of XOR and AND masks that matches the entry.
bool IconImageSound(const BYTE* entry, const BYTE* img, u64 size) {
    if (IsPng(img, size))
        return size >= kPngHead && img[12] == 'I' && img[13] == 'H' && img[14] == 'D' && img[15] == 'R';
    if (size < sizeof(BITMAPINFOHEADER)) return false;
    const u64 header = U32(img);
    if (header < sizeof(BITMAPINFOHEADER) || header > size) return false;
    const LONG width = I32(img + 4), height = I32(img + 8);
    const WORD planes = U16(img + 12), bits = U16(img + 14);
    const DWORD compression = U32(img + 16), used = U32(img + 32);
    // The header's height covers both masks; the entry's byte fields hold
    // the low byte of each dimension (0 for 256).
    if (width <= 0 || height <= 0 || height % 2 != 0) return false;
    const u64 w = static_cast<u64>(width), h = static_cast<u64>(height) / 2;
    if ((w & 0xFF) != entry[0] || (h & 0xFF) != entry[1]) return false;
    if (planes != 1 || !KnownBitCount(bits)) return false;
    // The platform saves its own icons of 16 and 32 bits with colour masks.
    u64 masks = 0;
    if (compression == BI_BITFIELDS) {
        if (bits != 16 && bits != 32) return false;
        if (header == sizeof(BITMAPINFOHEADER)) masks = 3 * sizeof(DWORD);
    } else if (compression != BI_RGB) {
        return false;
    }
    const u64 xorMask = RowBytes(w, bits) * h, andMask = RowBytes(w, 1) * h;
    if (xorMask + andMask > kMaxImageBytes) return false;
    return header + masks + ColourCount(used, bits) * sizeof(RGBQUAD) + xorMask + andMask <= size;
}

bool IconSound(const BYTE* data, size_t size) {
    if (size < kIconDir) return false;
    const WORD reserved = U16(data), type = U16(data + 2), count = U16(data + 4);
    if (reserved != 0 || (type != 1 && type != 2) || count == 0) return false;
    if (kIconDir + u64(count) * kIconEntry > size) return false;
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = data + kIconDir + size_t(i) * kIconEntry;
        const u64 bytes = U32(entry + 8), offset = U32(entry + 12);
        if (bytes == 0 || offset + bytes > size) return false;
        if (!IconImageSound(entry, data + offset, bytes)) return false;
    }
    return true;
}

// ----- bitmaps: BITMAPFILEHEADER, info header, colour table or masks, bits

constexpr size_t kFileHeader = 14;
constexpr u64 kCoreHeader = 12;

bool KnownInfoHeader(u64 size) {
    return size == kCoreHeader || size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool BitmapSound(const BYTE* data, size_t size) {
    if (size < kFileHeader + 4) return false;
    const u64 bitsAt = U32(data + 10);
    const BYTE* info = data + kFileHeader;
    const u64 header = U32(info);
    if (!KnownInfoHeader(header) || kFileHeader + header > size) return false;
    // Only the headers need come before the bits: the colour masks of a
    // bitmap may share the bits' first bytes (the platform saves such files),
    // which is harmless while both lie inside the data.
    if (bitsAt < kFileHeader + header) return false;

    u64 width, height, tableEntry = sizeof(RGBQUAD), masks = 0, colours;
    LONG rawHeight = 1;
    WORD planes, bits;
    DWORD compression = BI_RGB, imageSize = 0;
    if (header == kCoreHeader) {
        width = U16(info + 4);
        height = U16(info + 6);
        planes = U16(info + 8);
        bits = U16(info + 10);
        tableEntry = sizeof(RGBTRIPLE);
        colours = bits <= 8 ? u64(1) << bits : 0;
    } else {
        const LONG rawWidth = I32(info + 4);
        rawHeight = I32(info + 8);
        planes = U16(info + 12);
        bits = U16(info + 14);
        compression = U32(info + 16);
        imageSize = U32(info + 20);
        if (rawWidth <= 0) return false;
        width = static_cast<u64>(rawWidth);
        // Negative heights are top-down rows; 64 bits hold the magnitude of
        // the most negative one.
        height = rawHeight < 0 ? u64(-static_cast<int64_t>(rawHeight)) : u64(rawHeight);
        colours = ColourCount(U32(info + 32), bits);
    }
    if (width == 0 || height == 0 || planes != 1 || !KnownBitCount(bits)) return false;

    const u64 pixels = RowBytes(width, bits) * height;
    if (pixels > kMaxImageBytes) return false;
    u64 bitsBytes = pixels;
    switch (compression) {
    case BI_RGB:
        break;
    case BI_RLE8:
    case BI_RLE4:
        // The run data, bounded by the header's byte count, is what is read.
        if (bits != (compression == BI_RLE8 ? 8 : 4) || rawHeight < 0 || imageSize == 0) return false;
        bitsBytes = imageSize;
        break;
    case BI_BITFIELDS:
        if (bits != 16 && bits != 32) return false;
        // A 40-byte header is followed by three masks; larger ones hold them.
        if (header == 40) masks = 3 * sizeof(DWORD);
        break;
    default:
        return false;
    }
    if (kFileHeader + header + masks + colours * tableEntry > size) return false;
    return bitsAt + bitsBytes <= size;
}

}  // namespace

bool PictureDataSound(const BYTE* data, size_t size) {
    if (size < 2) return true;
    const WORD magic = U16(data);
    // The platform takes a leading zero word for an icon or cursor directory.
    if (magic == 0) return IconSound(data, size);
    if (magic == 0x4D42) return BitmapSound(data, size);  // "BM"
    return true;
}

bool SavedPictureSound(const BYTE* saved, size_t size) {
    if (size >= 8 && U32(saved) == kPictureMagic) {
        const u64 count = U32(saved + 4);
        if (8 + count > size) return false;
        // With no count a reader may take the rest of the data instead.
        if (count == 0) return PictureDataSound(saved + 8, size - 8);
        return PictureDataSound(saved + 8, static_cast<size_t>(count));
    }
    return PictureDataSound(saved, size);
}

}  // namespace fw

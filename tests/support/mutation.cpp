#include "mutation.h"

#include <olectl.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

#include "canvas.h"
#include "host.h"

namespace testsupport {

uint64_t Rng::Next() {
    uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

namespace {

// ----------------------------------------------------------------- tokens

const CLSID kForeignClass = {0x00000303, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};  // the file moniker

Bytes GuidBytes(const CLSID& id) {
    const BYTE* p = reinterpret_cast<const BYTE*>(&id);
    return Bytes(p, p + sizeof id);
}

void Put16(Bytes& b, WORD v) {
    b.push_back(static_cast<BYTE>(v));
    b.push_back(static_cast<BYTE>(v >> 8));
}

void Put32(Bytes& b, DWORD v) {
    Put16(b, static_cast<WORD>(v));
    Put16(b, static_cast<WORD>(v >> 16));
}

// A font's saved data: version 1, charset, attributes, weight, size in
// ten-thousandths of a point, name.
Bytes FontData(DWORD size) {
    Bytes b{1};
    Put16(b, 0);
    b.push_back(0);
    Put16(b, 400);
    Put32(b, size);
    const char name[] = "Arial";
    b.push_back(sizeof name - 1);
    b.insert(b.end(), name, name + sizeof name - 1);
    return b;
}

// A picture value: the standard picture's class, header and byte count, and
// the file.
Bytes PictureValue(const Bytes& file) {
    Bytes b;
    Put16(b, VT_DISPATCH);
    Bytes id = GuidBytes(CLSID_StdPicture);
    b.insert(b.end(), id.begin(), id.end());
    Put32(b, 0x746C);
    Put32(b, static_cast<DWORD>(file.size()));
    b.insert(b.end(), file.begin(), file.end());
    return b;
}

// Pieces of the format that random bytes would rarely hit: value tags, class
// ids, whole font values of extreme sizes and picture values whose icon or
// bitmap data lies about its extent.
std::vector<Bytes> Tokens() {
    std::vector<Bytes> t;
    const WORD tags[] = {VT_DISPATCH, VT_UNKNOWN, VT_BSTR, VT_DECIMAL, VT_R8, VT_I2, VT_EMPTY, VT_VARIANT,
                         VT_ARRAY | VT_I4, 0xFFFF};
    for (WORD tag : tags) {
        Bytes b;
        Put16(b, tag);
        t.push_back(b);
    }
    for (const CLSID* id : {&CLSID_StdFont, &CLSID_StdPicture, &CLSID_NULL, &kForeignClass}) t.push_back(GuidBytes(*id));
    for (DWORD size : {DWORD(32766u * 10000u), DWORD(10000u * 10000u), DWORD(0), DWORD(0xFFFFFFFF)}) {
        Bytes b;
        Put16(b, VT_DISPATCH);
        Bytes id = GuidBytes(CLSID_StdFont), font = FontData(size);
        b.insert(b.end(), id.begin(), id.end());
        b.insert(b.end(), font.begin(), font.end());
        t.push_back(b);
    }
    // Icons that lie: a directory of 65535 entries in a few bytes, and an
    // image whose offset and size wrap around when added.
    for (int kind = 0; kind < 2; ++kind) {
        Bytes icon;
        Put16(icon, 0);
        Put16(icon, 1);
        Put16(icon, kind == 0 ? 0xFFFF : 1);
        Put32(icon, 0x00010010);  // 16 x 16, no palette, one plane
        Put16(icon, 32);
        Put32(icon, kind == 0 ? 0 : 0x20);           // bytes of the image
        Put32(icon, kind == 0 ? 22 : 0xFFFFFFF0u);  // where it starts
        t.push_back(PictureValue(icon));
    }
    // Bitmaps that lie: 4 x 4096 pixels of 24 bits in 4 bytes, and
    // run-length data whose byte count runs far past the end.
    for (int kind = 0; kind < 2; ++kind) {
        Bytes bmp{'B', 'M'};
        Put32(bmp, 14 + 40 + 4);
        Put32(bmp, 0);
        Put32(bmp, kind == 0 ? 14 + 40 : 14 + 40 + 4);  // where the bits start
        Put32(bmp, 40);
        Put32(bmp, 4);
        Put32(bmp, kind == 0 ? 4096 : 4);
        Put16(bmp, 1);
        Put16(bmp, kind == 0 ? 24 : 8);
        Put32(bmp, kind == 0 ? BI_RGB : BI_RLE8);
        Put32(bmp, kind == 0 ? 0 : 0x10000);  // bytes of the bits
        Put32(bmp, 0);
        Put32(bmp, 0);
        Put32(bmp, kind == 0 ? 0 : 1);  // colours: one palette entry for the runs
        Put32(bmp, 0);
        if (kind == 1) Put32(bmp, 0x00FFFFFF);
        Put32(bmp, 0x00000104);  // a run of 4, then the end of the first row
        t.push_back(PictureValue(bmp));
    }
    return t;
}

const std::vector<Bytes>& TokenList() {
    static const std::vector<Bytes> tokens = Tokens();
    return tokens;
}

const DWORD kBoundary32[] = {0, 1, 0x7F, 0x80, 0xFF, 0x7FFF, 0x8000, 0xFFFF, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF,
                             0x80000005, 0xCCCCCCCC, 0x746C};
const WORD kBoundary16[] = {0, 1, 0x7F, 0x80, 0xFF, 0x7FFF, 0x8000, 0xFFFE, 0xFFFF, 0x7FFE};
const BYTE kBoundary8[] = {0, 1, 0x7F, 0x80, 0xFE, 0xFF};

void MutateOnce(Bytes& b, Rng& rng) {
    const size_t n = b.size();
    const size_t at = n ? rng.Below(static_cast<uint32_t>(n)) : 0;
    switch (rng.Below(9)) {
    case 0:  // bit flips
        if (n) for (uint32_t i = 0, k = 1 + rng.Below(4); i < k; ++i) b[rng.Below(uint32_t(n))] ^= BYTE(1u << rng.Below(8));
        break;
    case 1:
        if (n) b[at] = kBoundary8[rng.Below(sizeof kBoundary8)];
        break;
    case 2:
        if (at + 2 <= n) {
            WORD v = kBoundary16[rng.Below(sizeof kBoundary16 / sizeof kBoundary16[0])];
            memcpy(&b[at], &v, 2);
        }
        break;
    case 3:
        if (at + 4 <= n) {
            DWORD v = kBoundary32[rng.Below(sizeof kBoundary32 / sizeof kBoundary32[0])];
            memcpy(&b[at], &v, 4);
        }
        break;
    case 4: {  // random bytes inserted
        Bytes extra(1 + rng.Below(8));
        for (BYTE& c : extra) c = static_cast<BYTE>(rng.Next());
        b.insert(b.begin() + at, extra.begin(), extra.end());
        break;
    }
    case 5:  // a range removed
        if (n) b.erase(b.begin() + at, b.begin() + std::min(n, at + 1 + rng.Below(16)));
        break;
    case 6:  // the end cut off
        b.resize(at);
        break;
    case 7: {  // a range repeated
        size_t len = std::min<size_t>(n - at, 1 + rng.Below(32));
        Bytes copy(b.begin() + at, b.begin() + at + len);
        b.insert(b.begin() + rng.Below(uint32_t(n + 1)), copy.begin(), copy.end());
        break;
    }
    default: {  // a token of the format written over or into the data
        const Bytes& t = TokenList()[rng.Below(static_cast<uint32_t>(TokenList().size()))];
        if (rng.OneIn(2) && at + t.size() <= n) std::copy(t.begin(), t.end(), b.begin() + at);
        else b.insert(b.begin() + at, t.begin(), t.end());
        break;
    }
    }
}

}  // namespace

Bytes MutateBytes(const Bytes& seed, Rng& rng) {
    Bytes b = seed;
    for (uint32_t i = 0, k = 1 + rng.Below(4); i < k; ++i) MutateOnce(b, rng);
    return b;
}

}  // namespace testsupport

// Pictures for tests: the data of a plain BMP file and a picture loaded
// from such data (pictures loaded from file data save and reload exactly; one
// made from an HBITMAP reloads white on this platform).
#pragma once
#include <doctest/doctest.h>
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <cstring>
#include <vector>
#include "persistence.h"
#include "ptr.h"

namespace testsupport {

// The data of a 24-bit BMP file of w x h pixels, every pixel `colour`.
// Pictures loaded from file data save and reload exactly; one made from an
// HBITMAP reloads white on this platform.
inline std::vector<BYTE> BmpFile(int w, int h, COLORREF colour) {
    const int row = (w * 3 + 3) / 4 * 4;
    std::vector<BYTE> f(54 + (size_t)row * h, 0);
    auto put32 = [&](size_t at, DWORD v) { memcpy(&f[at], &v, 4); };
    f[0] = 'B';
    f[1] = 'M';
    put32(2, (DWORD)f.size());
    put32(10, 54);
    put32(14, 40);
    put32(18, (DWORD)w);
    put32(22, (DWORD)h);
    f[26] = 1;
    f[28] = 24;
    put32(34, (DWORD)row * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            BYTE* p = &f[54 + (size_t)y * row + (size_t)x * 3];
            p[0] = GetBValue(colour);
            p[1] = GetGValue(colour);
            p[2] = GetRValue(colour);
        }
    return f;
}

// A picture loaded from file data (OleLoadPicture).
inline IPictureDisp* PictureOf(const std::vector<BYTE>& file) {
    Ptr<IStream> s;
    s.p = StreamOf(file);
    IPictureDisp* pic = nullptr;
    REQUIRE(OleLoadPicture(s, 0, FALSE, IID_IPictureDisp, reinterpret_cast<void**>(&pic)) == S_OK);
    return pic;
}

}  // namespace testsupport

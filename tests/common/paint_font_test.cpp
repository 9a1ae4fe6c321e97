// The font a paint selects: the control's own font as it is, except that a
// font taller than 2,048 pixels is realised at 2,048 (its glyphs would cost
// seconds and gigabytes to rasterise); the font object keeps its size.
#include <doctest/doctest.h>

#include <windows.h>
#include <olectl.h>

#include "canvas.h"
#include "paint.h"

using namespace testsupport;

namespace {

IFontDisp* MakeFont(LONGLONG points) {
    FONTDESC fd{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {}, FW_NORMAL, ANSI_CHARSET, FALSE, FALSE, FALSE};
    fd.cySize.int64 = points * 10000;
    IFontDisp* f = nullptr;
    REQUIRE(OleCreateFontIndirect(&fd, IID_IFontDisp, reinterpret_cast<void**>(&f)) == S_OK);
    return f;
}

LOGFONTW FontOf(IFontDisp* font) {
    IFont* f = nullptr;
    font->QueryInterface(IID_IFont, reinterpret_cast<void**>(&f));
    HFONT h = nullptr;
    f->get_hFont(&h);
    LOGFONTW lf{};
    GetObjectW(h, sizeof lf, &lf);
    f->Release();
    return lf;
}

LOGFONTW Selected(HDC dc) {
    LOGFONTW lf{};
    GetObjectW(GetCurrentObject(dc, OBJ_FONT), sizeof lf, &lf);
    return lf;
}

LONGLONG Points(IFontDisp* font) {
    IFont* f = nullptr;
    font->QueryInterface(IID_IFont, reinterpret_cast<void**>(&f));
    CY size{};
    f->get_Size(&size);
    f->Release();
    return size.int64 / 10000;
}

}  // namespace

TEST_CASE("a paint realises fonts up to 2,048 pixels as they are and taller ones at 2,048") {
    DibCanvas canvas(8, 8);
    HGDIOBJ before = GetCurrentObject(canvas.dc(), OBJ_FONT);
    struct Row {
        LONGLONG points;
        bool capped;
    };
    for (Row row : {Row{8, false}, Row{20, false}, Row{1000, false}, Row{2000, true}, Row{32766, true}}) {
        CAPTURE(row.points);
        IFontDisp* font = MakeFont(row.points);
        // The font object reports its realised size, not always the one asked for.
        const LONGLONG points = Points(font);
        const LONG own = FontOf(font).lfHeight;
        REQUIRE(own != 0);
        CHECK((labs(own) > 2048) == row.capped);
        {
            PaintFont paint(canvas.dc(), font);
            LOGFONTW lf = Selected(canvas.dc());
            if (row.capped) {
                CHECK(lf.lfHeight == (own < 0 ? -2048 : 2048));
                CHECK(paint.points() < points);
            } else {
                CHECK(lf.lfHeight == own);
                CHECK(paint.points() == points);
            }
            CHECK(lstrcmpW(lf.lfFaceName, FontOf(font).lfFaceName) == 0);
            // Text really is drawn with the smaller font, and soon.
            CHECK(TextOutW(canvas.dc(), 0, 0, L"W", 1));
        }
        CHECK(GetCurrentObject(canvas.dc(), OBJ_FONT) == before);
        CHECK(Points(font) == points);
        font->Release();
    }
}

TEST_CASE("a metafile paint records the capped font, and capping leaks nothing") {
    IFontDisp* font = MakeFont(32766);
    Wmf wmf;
    REQUIRE(wmf.RecordWith([&](HDC dc) { PaintFont paint(dc, font); }) == S_OK);
    const WmfRecord* create = wmf.First(META_CREATEFONTINDIRECT);
    REQUIRE(create != nullptr);
    CHECK(abs(create->Param(0)) == 2048);

    DibCanvas canvas(8, 8);
    { PaintFont warm(canvas.dc(), font); }
    int objects = CountGdiObjects();
    for (int i = 0; i < 5; ++i) PaintFont paint(canvas.dc(), font);
    CHECK(CountGdiObjects() == objects);
    font->Release();
}

// The scale ring and ticks as the metafile records them: the ring's radial
// end points and how many ticks a dense scale draws.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>

#include "Tarnik.h"
#include "tests/support/canvas.h"
#include "tests/support/host.h"

using namespace testsupport;

namespace {

const WORD kMetaPie = 0x081A;
const WORD kMetaLineTo = 0x0213;

IQEV_Knob* NewKnob() {
    static LoadedLibrary* lib = new LoadedLibrary(L"Tarnik.dll");
    IQEV_Knob* knob = nullptr;
    REQUIRE(lib->Create(CLSID_QEV_Knob, IID_IQEV_Knob, reinterpret_cast<void**>(&knob)) == S_OK);
    return knob;
}

}  // namespace

TEST_CASE("the scale ring runs from the point at EndAngle to the point at StartAngle") {
    IQEV_Knob* knob = NewKnob();
    knob->put_ScaleTextPosStyle(INNER);  // no label margins: S is R inset by 2
    knob->put_StartAngle(180);
    knob->put_EndAngle(0);
    Wmf wmf;
    REQUIRE(wmf.Record(knob, 200, 200) == S_OK);
    const WmfRecord* pie = wmf.First(kMetaPie);
    REQUIRE(pie != nullptr);
    // Parameters are stored last first: y2, x2, y1, x1, bottom, right, top, left.
    // S = (2, 2, 198, 198): centre (100, 100), outer axes (194, 194).
    CHECK(pie->Param(3) == 197);  // x of the point at 0 degrees
    CHECK(pie->Param(2) == 100);  // y of it, not one pixel above
    CHECK(pie->Param(1) == 3);    // the point at 180 degrees
    CHECK(pie->Param(0) == 100);
    knob->Release();
}

TEST_CASE("a dense scale draws every minor tick") {
    IQEV_Knob* knob = NewKnob();
    knob->put_ScaleRingVisible(VARIANT_TRUE);
    Wmf base;
    knob->put_TickerNum(2);
    knob->put_SubTickerNum(0);
    REQUIRE(base.Record(knob, 140, 140) == S_OK);
    const size_t lines = base.Count(kMetaLineTo);
    knob->put_TickerNum(33);
    knob->put_SubTickerNum(10);
    Wmf dense;
    REQUIRE(dense.Record(knob, 140, 140) == S_OK);
    // 31 more major ticks and 32 x 10 minor ticks, each one line.
    CHECK(dense.Count(kMetaLineTo) == lines + 31 + 320);
    knob->Release();
}

TEST_CASE("a metafile records no pixel off the picture, so a huge pointer records in bounded time") {
    const WORD kMetaSetPixel = 0x041F;
    IQEV_Knob* knob = NewKnob();
    knob->put_IndicatorType(IS_Bubble);
    knob->put_IndicatorSize(32767);
    Wmf wmf;
    REQUIRE(wmf.Record(knob, 120, 120) == S_OK);
    size_t outside = 0;
    for (const WmfRecord& r : wmf.Records()) {
        if (r.function != kMetaSetPixel) continue;
        // color (2 words), y, x: stored last first
        const int y = r.Param(2), x = r.Param(3);
        if (x < 0 || y < 0 || x >= 120 || y >= 120) ++outside;
    }
    CHECK(outside == 0);
    CHECK(wmf.Count(kMetaSetPixel) <= 120 * 120 * 4);
    knob->Release();
}

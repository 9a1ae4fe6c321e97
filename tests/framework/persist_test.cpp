// Saving and loading through a property map, against real memory streams,
// the platform's font and picture objects, and a property bag.
#include <doctest/doctest.h>

#include <cstddef>
#include "propmap.h"
#include "test_props.h"
#include "test_streams.h"
#include "tests/support/platform_ids.h"

using test::ByteWriter;
using test::Bytes;
using test::TestProps;
using testsupport::kStdFont;
using testsupport::kStdPicture;
using testsupport::kStockColorPage;
using testsupport::kStockFontPage;

namespace {

// The extent block that data rows point into.
struct Extent {
    DWORD cx;
    DWORD cy;
};

const CLSID kGeneralPage = {0x4C601D46, 0x2A06, 0x44C3, {0x8A, 0xEA, 0x30, 0xF0, 0x04, 0x07, 0x8B, 0xAF}};
const CLSID kScalePage = {0x3AEBA6C6, 0x34EB, 0x441B, {0xA8, 0xB5, 0xD2, 0x58, 0x40, 0xA4, 0x00, 0x9E}};
// A class every prefix registers (the file moniker) but no control property is.
const CLSID kForeign = {0x00000303, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Rows of the kinds the knob's map has, in the knob's arrangement.
const fw::PropRow kRows[] = {
    fw::DataRow(L"_cx", offsetof(Extent, cx), 4, VT_UI4),
    fw::DataRow(L"_cy", offsetof(Extent, cy), 4, VT_UI4),
    fw::PageRow(&kGeneralPage),
    fw::PageRow(&kScalePage),
    fw::PropertyRow(L"BkColor", TestProps::kColor, VT_UI4, &kStockColorPage),
    fw::PropertyRow(L"InverseDirection", TestProps::kFlag, VT_BOOL, &kScalePage),
    fw::PropertyRow(L"MaxVal", TestProps::kMax, VT_R8, &kScalePage),
    fw::PropertyRow(L"TickerNum", TestProps::kCount, VT_I2, &kScalePage),
    fw::PropertyRow(L"UnitName", TestProps::kUnit, VT_BSTR, &kScalePage),
    fw::PropertyRow(L"BorderType", TestProps::kStyle, VT_I4, &kGeneralPage),
    fw::PropertyRow(L"GradientRate", TestProps::kRate, VT_R4, &kGeneralPage),
    fw::PropertyRow(L"Font", TestProps::kFont, VT_DISPATCH, &kStockFontPage, &kStdFont),
    fw::PropertyRow(L"bMarkerVisible", TestProps::kMarker, VT_BOOL, &kScalePage),
};
const fw::PropMap kMap{kRows, sizeof kRows / sizeof kRows[0]};
constexpr size_t kUnitRowEnd = 9;  // rows up to and including UnitName

const fw::PropRow kUnitRow[] = {fw::PropertyRow(L"UnitName", TestProps::kUnit, VT_BSTR, nullptr)};
const fw::PropMap kUnitMap{kUnitRow, 1};
const fw::PropRow kFontRow[] = {fw::PropertyRow(L"Font", TestProps::kFont, VT_DISPATCH, nullptr, &kStdFont)};
const fw::PropMap kFontMap{kFontRow, 1};
const fw::PropRow kPictureRow[] = {fw::PropertyRow(L"Picture", TestProps::kPicture, VT_DISPATCH, nullptr,
                                                     &kStdPicture)};
const fw::PropMap kPictureMap{kPictureRow, 1};
const fw::PropRow kAmountRow[] = {fw::PropertyRow(L"Amount", TestProps::kAmount, VT_DECIMAL, nullptr)};
const fw::PropMap kAmountMap{kAmountRow, 1};

IFontDisp* MakeFont(const wchar_t* name, LONGLONG tenThousandths, SHORT weight, bool italic = false) {
    FONTDESC fd{sizeof(FONTDESC), const_cast<LPOLESTR>(name), {}, weight, ANSI_CHARSET, italic, FALSE, FALSE};
    fd.cySize.int64 = tenThousandths;
    IFontDisp* f = nullptr;
    OleCreateFontIndirect(&fd, IID_IFontDisp, reinterpret_cast<void**>(&f));
    return f;
}

// What a font or picture object itself saves, the reference for comparisons.
Bytes ObjectData(IUnknown* object) {
    IPersistStream* ps = nullptr;
    object->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&ps));
    IStream* s = test::EmptyStream();
    ps->Save(s, FALSE);
    Bytes out = test::Contents(s);
    s->Release();
    ps->Release();
    return out;
}

// A 2x1 24-bit bitmap file.
Bytes BitmapFile() {
    ByteWriter w;
    w.u16(0x4D42).u32(14 + 40 + 8).u32(0).u32(14 + 40);
    w.u32(40).u32(2).u32(1).u16(1).u16(24).u32(BI_RGB).u32(8).u32(2835).u32(2835).u32(0).u32(0);
    w.bytes({0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0, 0});
    return w.b;
}

IPictureDisp* MakePicture() {
    IStream* s = test::StreamOf(BitmapFile());
    IPictureDisp* p = nullptr;
    OleLoadPicture(s, 0, FALSE, IID_IPictureDisp, reinterpret_cast<void**>(&p));
    s->Release();
    return p;
}

Bytes Save(IDispatch* props, const fw::PropMap& map, const Extent& ext, HRESULT* status = nullptr) {
    IStream* s = test::EmptyStream();
    HRESULT hr = fw::SaveToStream(s, props, map, &ext);
    if (status) *status = hr;
    else REQUIRE(hr == S_OK);
    Bytes out = test::Contents(s);
    s->Release();
    return out;
}

HRESULT Load(IDispatch* props, const fw::PropMap& map, Extent& ext, const Bytes& bytes) {
    IStream* s = test::StreamOf(bytes);
    HRESULT hr = fw::LoadFromStream(s, props, map, &ext);
    s->Release();
    return hr;
}

// Loads a single-row map from hand-made row bytes after the version word.
HRESULT LoadRow(IDispatch* props, const fw::PropMap& map, const Bytes& row) {
    ByteWriter w;
    w.u32(0x800).raw(row.data(), row.size());
    Extent ext{};
    return Load(props, map, ext, w.b);
}

Bytes Tail(const Bytes& all, size_t from) { return Bytes(all.begin() + from, all.end()); }

std::wstring Str(BSTR b) { return b ? std::wstring(b, SysStringLen(b)) : std::wstring(L"<null>"); }

// Gives every mapped property a value that differs from the defaults.
void SetNonDefaults(TestProps& p) {
    p.color = 0x80000005;  // a system-colour index survives as stored
    p.flag = VARIANT_TRUE;
    p.maxVal = -12.375;
    p.count = -300;
    SysFreeString(p.unit);
    p.unit = SysAllocString(L"km/h \x00B0 \x4E2D");
    p.style = 7;
    p.rate = 0.8125f;
    IFontDisp* f = MakeFont(L"Arial", 120000, FW_BOLD, true);
    p.SetFont(f);
    f->Release();
    p.marker = VARIANT_FALSE;
}

void CheckSameProperties(TestProps& a, TestProps& b) {
    CHECK(b.color == a.color);
    CHECK(b.flag == a.flag);
    CHECK(b.maxVal == a.maxVal);
    CHECK(b.count == a.count);
    CHECK(Str(b.unit) == Str(a.unit));
    CHECK(b.style == a.style);
    CHECK(b.rate == a.rate);
    REQUIRE((a.font == nullptr) == (b.font == nullptr));
    if (a.font) CHECK(ObjectData(b.font) == ObjectData(a.font));
    CHECK(b.marker == a.marker);
}

}  // namespace

TEST_CASE("a save writes the version word, the extent and one tagged value per property in map order") {
    TestProps p;
    p.color = 0x00F5F5F5;
    p.flag = VARIANT_FALSE;
    p.maxVal = 100.0;
    p.count = 6;
    SysFreeString(p.unit);
    p.unit = SysAllocString(L"RPM");
    p.style = 3;
    p.rate = 0.5f;
    IFontDisp* f = MakeFont(L"MS Sans Serif", 82500, FW_NORMAL);
    p.SetFont(f);
    f->Release();
    p.marker = VARIANT_TRUE;
    Extent ext{0x00001234, 0x00020D80};

    Bytes expected = {
        0x00, 0x08, 0x00, 0x00,                                      // version
        0x34, 0x12, 0x00, 0x00, 0x80, 0x0D, 0x02, 0x00,              // _cx, _cy
        0x13, 0x00, 0xF5, 0xF5, 0xF5, 0x00,                          // BkColor
        0x0B, 0x00, 0x00, 0x00,                                      // InverseDirection false
        0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x59, 0x40,  // MaxVal 100.0
        0x02, 0x00, 0x06, 0x00,                                      // TickerNum 6
        0x08, 0x00, 0x08, 0x00, 0x00, 0x00, 0x52, 0x00, 0x50, 0x00, 0x4D, 0x00, 0x00, 0x00,  // "RPM"
        0x03, 0x00, 0x03, 0x00, 0x00, 0x00,                          // BorderType 3
        0x04, 0x00, 0x00, 0x00, 0x00, 0x3F,                          // GradientRate 0.5
        0x09, 0x00,                                                  // Font
        0x03, 0x52, 0xE3, 0x0B, 0x91, 0x8F, 0xCE, 0x11, 0x9D, 0xE3, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51,
        0x01, 0x00, 0x00, 0x00, 0x90, 0x01, 0x44, 0x42, 0x01, 0x00, 0x0D,
        'M', 'S', ' ', 'S', 'a', 'n', 's', ' ', 'S', 'e', 'r', 'i', 'f',
        0x0B, 0x00, 0xFF, 0xFF,                                      // bMarkerVisible true
    };
    CHECK(Save(&p, kMap, ext) == expected);
}

TEST_CASE("strings and objects keep their documented encodings") {
    TestProps p;
    Extent ext{};
    SUBCASE("an empty string is its terminator alone") {
        CHECK(Tail(Save(&p, kUnitMap, ext), 4) == Bytes{0x08, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00});
    }
    SUBCASE("a null string is the count 0 and nothing else") {
        SysFreeString(p.unit);
        p.unit = nullptr;
        CHECK(Tail(Save(&p, kUnitMap, ext), 4) == Bytes{0x08, 0x00, 0x00, 0x00, 0x00, 0x00});
    }
    SUBCASE("a null object is the null class id alone") {
        Bytes expected{0x09, 0x00};
        expected.resize(18, 0);
        CHECK(Tail(Save(&p, kFontMap, ext), 4) == expected);
    }
    SUBCASE("the Booleans are the getter's -1 and 0") {
        const fw::PropRow rows[] = {fw::PropertyRow(L"a", TestProps::kFlag, VT_BOOL, nullptr),
                                    fw::PropertyRow(L"b", TestProps::kMarker, VT_BOOL, nullptr)};
        p.flag = VARIANT_TRUE;
        p.marker = VARIANT_FALSE;
        CHECK(Tail(Save(&p, fw::PropMap{rows, 2}, ext), 4) == Bytes{0x0B, 0x00, 0xFF, 0xFF, 0x0B, 0x00, 0x00, 0x00});
    }
    SUBCASE("a colour that arrives as a signed integer keeps its bits and its tag") {
        const fw::PropRow rows[] = {fw::PropertyRow(L"BkColor", TestProps::kColor, VT_UI4, nullptr)};
        p.color = 0x80000005;
        p.colorAsI4 = true;
        CHECK(Tail(Save(&p, fw::PropMap{rows, 1}, ext), 4) == Bytes{0x13, 0x00, 0x05, 0x00, 0x00, 0x80});
    }
    SUBCASE("a decimal is kept as its text and read back as a decimal") {
        VarDecFromR8(-12.5, &p.amount);
        Bytes saved = Save(&p, kAmountMap, ext);
        ByteWriter w;
        w.u16(VT_DECIMAL).u32(12).text(L"-12.5").u16(0);
        CHECK(Tail(saved, 4) == w.b);
        TestProps q;
        CHECK(Load(&q, kAmountMap, ext, saved) == S_OK);
        CHECK(VarDecCmp(&q.amount, &p.amount) == VARCMP_EQ);
    }
}

TEST_CASE("a saved object loads back into another with every property") {
    TestProps a;
    SetNonDefaults(a);
    Extent extA{2646, 1323};
    Bytes saved = Save(&a, kMap, extA);

    TestProps b;
    Extent extB{100, 200};
    CHECK(Load(&b, kMap, extB, saved) == S_OK);
    CHECK(extB.cx == 2646);
    CHECK(extB.cy == 1323);
    CheckSameProperties(a, b);
    // Each property went through its setter, in map order, the font as a
    // plain put (the setter keeps a copy).
    CHECK(b.puts == std::vector<DISPID>{TestProps::kColor, TestProps::kFlag, TestProps::kMax, TestProps::kCount,
                                        TestProps::kUnit, TestProps::kStyle, TestProps::kRate, TestProps::kFont,
                                        TestProps::kMarker});
    CHECK(b.fontPutFlags == std::vector<WORD>{DISPATCH_PROPERTYPUT});
    // Saving the loaded object gives the same bytes again.
    CHECK(Save(&b, kMap, extB) == saved);

    SUBCASE("a null font loads as a null font") {
        a.SetFont(nullptr);
        saved = Save(&a, kMap, extA);
        CHECK(Load(&b, kMap, extB, saved) == S_OK);
        CHECK(b.font == nullptr);
    }
    SUBCASE("a stream at an offset is read from its position and left after the data") {
        Bytes padded{0xEE, 0xEE, 0xEE};
        padded.insert(padded.end(), saved.begin(), saved.end());
        padded.push_back(0x77);
        IStream* s = test::StreamOf(padded);
        LARGE_INTEGER at;
        at.QuadPart = 3;
        s->Seek(at, STREAM_SEEK_SET, nullptr);
        TestProps c;
        Extent extC{};
        CHECK(fw::LoadFromStream(s, &c, kMap, &extC) == S_OK);
        CHECK(test::Position(s) == 3 + saved.size());
        CheckSameProperties(a, c);
        s->Release();
    }
}

TEST_CASE("a version above 0x800 is refused before anything changes") {
    TestProps a;
    SetNonDefaults(a);
    Extent ext{500, 600};
    Bytes saved = Save(&a, kMap, ext);
    for (DWORD version : {0x801u, 0x80000000u, 0xFFFFFFFFu}) {
        CAPTURE(version);
        memcpy(saved.data(), &version, 4);
        TestProps b;
        Extent extB{1, 2};
        CHECK(Load(&b, kMap, extB, saved) == E_FAIL);
        CHECK(b.puts.empty());
        CHECK(extB.cx == 1);
        CHECK(extB.cy == 2);
    }
    SUBCASE("an older version is read") {
        DWORD older = 0x7FF;
        memcpy(saved.data(), &older, 4);
        TestProps b;
        Extent extB{};
        CHECK(Load(&b, kMap, extB, saved) == S_OK);
        CheckSameProperties(a, b);
    }
}

TEST_CASE("a stream that ends early keeps the rows before the end and changes nothing after") {
    TestProps a;
    SetNonDefaults(a);
    Extent ext{2646, 1323};
    Bytes saved = Save(&a, kMap, ext);
    TestProps b;
    Extent extB{1, 2};

    SUBCASE("after the UnitName row: the next tag cannot be read") {
        Bytes head = Save(&a, fw::PropMap{kRows, kUnitRowEnd}, ext);
        REQUIRE(head.size() < saved.size());
        CHECK(Load(&b, kMap, extB, head) == E_FAIL);
        CHECK(extB.cx == 2646);
        CHECK(b.color == a.color);
        CHECK(b.flag == a.flag);
        CHECK(b.maxVal == a.maxVal);
        CHECK(b.count == a.count);
        CHECK(Str(b.unit) == Str(a.unit));
        CHECK(b.style == 0);
        CHECK(b.rate == 0.5f);
        CHECK(b.font == nullptr);
        CHECK(b.marker == VARIANT_TRUE);
    }
    SUBCASE("inside a tag") {
        Bytes head = Save(&a, fw::PropMap{kRows, 5}, ext);  // up to BkColor
        head.push_back(0x0B);
        CHECK(Load(&b, kMap, extB, head) == E_FAIL);
        CHECK(b.color == a.color);
        CHECK(b.flag == VARIANT_FALSE);
    }
    SUBCASE("inside a value") {
        Bytes head = Save(&a, fw::PropMap{kRows, 6}, ext);  // up to InverseDirection
        head.insert(head.end(), {0x05, 0x00, 0x01, 0x02, 0x03});
        CHECK(Load(&b, kMap, extB, head) == E_FAIL);
        CHECK(b.flag == a.flag);
        CHECK(b.maxVal == 100.0);
        CHECK(b.puts.size() == 2);
    }
    SUBCASE("inside the extent") {
        Bytes head(saved.begin(), saved.begin() + 10);
        CHECK(Load(&b, kMap, extB, head) == E_FAIL);
        CHECK(extB.cx == 2646);
        CHECK(extB.cy == 2);
        CHECK(b.puts.empty());
    }
    SUBCASE("inside the version word, or no bytes at all") {
        CHECK(Load(&b, kMap, extB, Bytes{0x00, 0x08}) == E_FAIL);
        CHECK(Load(&b, kMap, extB, Bytes{}) == E_FAIL);
        CHECK(extB.cx == 1);
    }
    SUBCASE("inside the font data") {
        Bytes head = Save(&a, fw::PropMap{kRows, 11}, ext);  // up to GradientRate
        size_t fontStart = head.size();
        REQUIRE(saved.size() > fontStart + 2 + 16 + 11);
        for (size_t cut : {fontStart + 2 + 8, fontStart + 2 + 16, fontStart + 2 + 16 + 5, fontStart + 2 + 16 + 11,
                           fontStart + 2 + 16 + 13}) {
            CAPTURE(cut);
            TestProps c;
            Extent extC{};
            CHECK(Load(&c, kMap, extC, Bytes(saved.begin(), saved.begin() + cut)) == E_FAIL);
            CHECK(c.rate == a.rate);
            CHECK(c.font == nullptr);
        }
    }
}

TEST_CASE("a read that the stream reports as failed ends the load with that status") {
    TestProps a;
    SetNonDefaults(a);
    Extent ext{7, 8};
    Bytes saved = Save(&a, kMap, ext);
    for (size_t failAt : {size_t(0), size_t(6), size_t(20), saved.size() - 3}) {
        CAPTURE(failAt);
        test::PipeStream s(saved);
        s.failAt = failAt;
        TestProps b;
        Extent extB{};
        CHECK(fw::LoadFromStream(&s, &b, kMap, &extB) == STG_E_READFAULT);
    }
    SUBCASE("a stream that cannot tell its size loads like any other") {
        test::PipeStream s(saved);
        TestProps b;
        Extent extB{};
        CHECK(fw::LoadFromStream(&s, &b, kMap, &extB) == S_OK);
        CheckSameProperties(a, b);
    }
}

TEST_CASE("hostile string counts are refused without reading past the data") {
    TestProps p;
    auto row = [](DWORD count, size_t dataBytes) {
        ByteWriter w;
        w.u16(VT_BSTR).u32(count);
        for (size_t i = 0; i < dataBytes; ++i) w.u8('A');
        return w.b;
    };
    CHECK(LoadRow(&p, kUnitMap, row(3, 4)) == E_FAIL);           // odd
    CHECK(LoadRow(&p, kUnitMap, row(1, 2)) == E_FAIL);           // shorter than the terminator
    CHECK(LoadRow(&p, kUnitMap, row(0xFFFFFFFE, 64)) == E_FAIL);  // far beyond the stream
    CHECK(LoadRow(&p, kUnitMap, row(10, 8)) == E_FAIL);          // just beyond the stream
    CHECK(LoadRow(&p, kUnitMap, row(4, 2)) == E_FAIL);
    CHECK(Str(p.unit) == L"");
    CHECK(p.puts.empty());

    SUBCASE("on a stream that cannot tell its size, the string is read in bounded pieces") {
        ByteWriter w;
        w.u32(0x800).raw(row(0xFFFFFFF0, 100000).data(), 6 + 100000);
        test::PipeStream s(w.b);
        Extent ext{};
        CHECK(fw::LoadFromStream(&s, &p, kUnitMap, &ext) == E_FAIL);
        CHECK(s.largestRead <= 64 * 1024);
        CHECK(p.puts.empty());
    }
    SUBCASE("a missing terminator: the last code unit is dropped and the string ends properly") {
        ByteWriter w;
        w.u16(VT_BSTR).u32(8).text(L"RPMX");
        CHECK(LoadRow(&p, kUnitMap, w.b) == S_OK);
        CHECK(Str(p.unit) == L"RPM");
        CHECK(p.unit[3] == 0);
    }
    SUBCASE("the null string and the empty string stay apart") {
        CHECK(LoadRow(&p, kUnitMap, ByteWriter().u16(VT_BSTR).u32(0).b) == S_OK);
        CHECK(p.unit == nullptr);
        CHECK(LoadRow(&p, kUnitMap, ByteWriter().u16(VT_BSTR).u32(2).u16(0).b) == S_OK);
        REQUIRE(p.unit != nullptr);
        CHECK(SysStringLen(p.unit) == 0);
    }
}

TEST_CASE("tags outside the format stop the load") {
    TestProps p;
    for (WORD tag : {WORD(VT_EMPTY), WORD(VT_NULL), WORD(VT_VARIANT), WORD(VT_RECORD), WORD(0x0FFF),
                     WORD(VT_ARRAY | VT_I4), WORD(VT_BYREF | VT_I4), WORD(VT_VECTOR | VT_I2)}) {
        CAPTURE(tag);
        CHECK(LoadRow(&p, kUnitMap, ByteWriter().u16(tag).u32(0).u32(0).u32(0).u32(0).b) == E_FAIL);
    }
    CHECK(p.puts.empty());
    SUBCASE("a tag of another known type is converted by the setter") {
        CHECK(LoadRow(&p, kUnitMap, ByteWriter().u16(VT_I4).u32(42).b) == S_OK);
        CHECK(Str(p.unit) == L"42");
    }
}

TEST_CASE("object values come only from the standard font and picture classes") {
    TestProps p;
    IFontDisp* f = MakeFont(L"Arial", 100000, FW_NORMAL);
    p.SetFont(f);
    f->Release();
    Bytes before = ObjectData(p.font);
    auto object = [](const CLSID& clsid, const Bytes& data) {
        ByteWriter w;
        w.u16(VT_DISPATCH).guid(clsid).raw(data.data(), data.size());
        return w.b;
    };

    SUBCASE("a foreign class id stops the load; nothing is created") {
        CHECK(LoadRow(&p, kFontMap, object(kForeign, Bytes(64, 0))) == E_FAIL);
        CHECK(LoadRow(&p, kFontMap, object(IID_IUnknown, Bytes(64, 0))) == E_FAIL);
        REQUIRE(p.font != nullptr);
        CHECK(ObjectData(p.font) == before);
        CHECK(p.puts.empty());
    }
    SUBCASE("the null class id sets a null object") {
        CHECK(LoadRow(&p, kFontMap, object(CLSID_NULL, Bytes{})) == S_OK);
        CHECK(p.font == nullptr);
    }
    SUBCASE("font data is read as the font saved it") {
        IFontDisp* g = MakeFont(L"Times New Roman", 140000, FW_BOLD, true);
        CHECK(LoadRow(&p, kFontMap, object(kStdFont, ObjectData(g))) == S_OK);
        REQUIRE(p.font != nullptr);
        CHECK(ObjectData(p.font) == ObjectData(g));
        g->Release();
    }
    SUBCASE("a foreign object tagged as unknown is refused too") {
        ByteWriter w;
        w.u16(VT_UNKNOWN).guid(kForeign).u32(0);
        CHECK(LoadRow(&p, kFontMap, w.b) == E_FAIL);
    }
    SUBCASE("a picture whose header lies is refused") {
        IPictureDisp* pic = MakePicture();
        REQUIRE(pic != nullptr);
        Bytes good = ObjectData(pic);
        pic->Release();
        Bytes badMagic = good;
        badMagic[0] ^= 0xFF;
        CHECK(LoadRow(&p, kPictureMap, object(kStdPicture, badMagic)) == E_FAIL);
        Bytes huge = good;
        DWORD count = 0x7FFFFFF0;
        memcpy(huge.data() + 4, &count, 4);
        CHECK(LoadRow(&p, kPictureMap, object(kStdPicture, huge)) == E_FAIL);
        Bytes cut(good.begin(), good.end() - 1);
        CHECK(LoadRow(&p, kPictureMap, object(kStdPicture, cut)) == E_FAIL);
        CHECK(p.picture == nullptr);
    }
    SUBCASE("font data that is not a font stops the load with the font's status") {
        Bytes data = ObjectData(p.font);
        data[0] = 7;  // unknown font data version
        HRESULT hr = LoadRow(&p, kFontMap, object(kStdFont, data));
        CHECK(FAILED(hr));
        CHECK(ObjectData(p.font) == before);
    }
}

TEST_CASE("an object loads only on a row whose property holds one, and only of that property's class") {
    TestProps p;
    IFontDisp* f = MakeFont(L"Arial", 100000, FW_NORMAL);
    p.SetFont(f);
    f->Release();
    Bytes font = ObjectData(p.font);
    IPictureDisp* pic = MakePicture();
    REQUIRE(pic != nullptr);
    Bytes picture = ObjectData(pic);
    auto object = [](VARTYPE tag, const CLSID& clsid, const Bytes& data) {
        ByteWriter w;
        w.u16(tag).guid(clsid).raw(data.data(), data.size());
        return w.b;
    };
    for (VARTYPE tag : {VARTYPE(VT_DISPATCH), VARTYPE(VT_UNKNOWN)}) {
        CAPTURE(tag);
        // Wrong class for the row: refused before the data is looked at.
        CHECK(LoadRow(&p, kFontMap, object(tag, kStdPicture, picture)) == E_FAIL);
        CHECK(LoadRow(&p, kPictureMap, object(tag, kStdFont, font)) == E_FAIL);
        // Any object, even the null one, on a row that holds none.
        CHECK(LoadRow(&p, kUnitMap, object(tag, kStdFont, font)) == E_FAIL);
        CHECK(LoadRow(&p, kUnitMap, object(tag, CLSID_NULL, Bytes{})) == E_FAIL);
    }
    CHECK(p.puts.empty());
    CHECK(p.picture == nullptr);
    REQUIRE(p.font != nullptr);
    CHECK(ObjectData(p.font) == font);

    SUBCASE("a bag's object of another class, or on a row without objects, stops the load") {
        test::MemoryBag bag;
        VARIANT v;
        v.vt = VT_DISPATCH;
        v.pdispVal = pic;
        bag.Set(L"Font", v);
        Extent ext{};
        CHECK(fw::LoadFromBag(&bag, nullptr, &p, kFontMap, &ext) == E_FAIL);
        bag.coerce = false;
        bag.Set(L"UnitName", v);
        CHECK(fw::LoadFromBag(&bag, nullptr, &p, kUnitMap, &ext) == E_FAIL);
        CHECK(p.puts.empty());
        bag.Set(L"Picture", v);
        CHECK(fw::LoadFromBag(&bag, nullptr, &p, kPictureMap, &ext) == S_OK);
        CHECK(p.picture != nullptr);
    }
    SUBCASE("a table row that holds objects of no class is not saved") {
        const fw::PropRow row[] = {fw::PropertyRow(L"Font", TestProps::kFont, VT_DISPATCH, nullptr)};
        HRESULT hr = S_OK;
        Save(&p, fw::PropMap{row, 1}, Extent{}, &hr);
        CHECK(hr == E_FAIL);
    }
    pic->Release();
}

TEST_CASE("pictures are saved as their class id and own data and load back") {
    TestProps a;
    a.picture = MakePicture();
    REQUIRE(a.picture != nullptr);
    Extent ext{};
    Bytes saved = Save(&a, kPictureMap, ext);
    ByteWriter w;
    w.u32(0x800).u16(VT_DISPATCH).guid(kStdPicture);
    Bytes data = ObjectData(a.picture);
    w.raw(data.data(), data.size());
    CHECK(saved == w.b);
    DWORD magic = 0;
    memcpy(&magic, data.data(), 4);
    CHECK(magic == 0x746C);

    TestProps b;
    CHECK(Load(&b, kPictureMap, ext, saved) == S_OK);
    REQUIRE(b.picture != nullptr);
    CHECK(ObjectData(b.picture) == data);
}

TEST_CASE("a setter that fails stops the load with E_FAIL; earlier rows stay applied") {
    TestProps a;
    SetNonDefaults(a);
    Extent ext{9, 9};
    Bytes saved = Save(&a, kMap, ext);
    TestProps b;
    b.failPut = TestProps::kMax;
    Extent extB{};
    CHECK(Load(&b, kMap, extB, saved) == E_FAIL);
    CHECK(b.color == a.color);
    CHECK(b.flag == a.flag);
    CHECK(b.maxVal == 100.0);
    CHECK(b.count == 6);
    CHECK(b.font == nullptr);
    CHECK(b.puts == std::vector<DISPID>{TestProps::kColor, TestProps::kFlag});
}

TEST_CASE("a getter that fails ends the save with E_FAIL") {
    TestProps a;
    a.failGet = TestProps::kCount;
    Extent ext{};
    HRESULT hr = S_OK;
    Save(&a, kMap, ext, &hr);
    CHECK(hr == E_FAIL);
    ULARGE_INTEGER size{};
    CHECK(fw::SizeMax(&a, kMap, &size) == E_FAIL);
}

TEST_CASE("the size bound covers what a save writes") {
    TestProps a;
    Extent ext{};
    ULARGE_INTEGER size{};
    CHECK(fw::SizeMax(&a, kMap, &size) == S_OK);
    CHECK(size.QuadPart == Save(&a, kMap, ext).size());
    SetNonDefaults(a);
    CHECK(fw::SizeMax(&a, kMap, &size) == S_OK);
    CHECK(size.QuadPart >= Save(&a, kMap, ext).size());
    a.picture = MakePicture();
    CHECK(fw::SizeMax(&a, kPictureMap, &size) == S_OK);
    CHECK(size.QuadPart >= Save(&a, kPictureMap, ext).size());
}

TEST_CASE("property bags hold one typed value per named row") {
    TestProps a;
    SetNonDefaults(a);
    Extent ext{2646, 1323};
    test::MemoryBag bag;
    CHECK(fw::SaveToBag(&bag, &a, kMap, &ext, TRUE) == S_OK);
    CHECK(bag.writes == std::vector<std::wstring>{L"_cx", L"_cy", L"BkColor", L"InverseDirection", L"MaxVal",
                                                  L"TickerNum", L"UnitName", L"BorderType", L"GradientRate",
                                                  L"Font", L"bMarkerVisible"});
    CHECK(bag.At(L"_cx").vt == VT_UI4);
    CHECK(bag.At(L"_cx").ulVal == 2646);
    CHECK(bag.At(L"BkColor").vt == VT_UI4);
    CHECK(bag.At(L"BkColor").ulVal == 0x80000005);
    CHECK(bag.At(L"InverseDirection").vt == VT_BOOL);
    CHECK(bag.At(L"InverseDirection").boolVal == VARIANT_TRUE);
    CHECK(bag.At(L"TickerNum").vt == VT_I2);
    CHECK(bag.At(L"Font").vt == VT_DISPATCH);

    SUBCASE("a bag round trip reproduces every property") {
        TestProps b;
        Extent extB{};
        CHECK(fw::LoadFromBag(&bag, nullptr, &b, kMap, &extB) == S_OK);
        CHECK(extB.cx == 2646);
        CHECK(extB.cy == 1323);
        CheckSameProperties(a, b);
        // Each property row asks for the type its property has now.
        std::vector<std::pair<std::wstring, VARTYPE>> asked(bag.reads.begin(), bag.reads.end());
        CHECK(asked[0] == std::make_pair(std::wstring(L"_cx"), VARTYPE(VT_UI4)));
        CHECK(asked[2] == std::make_pair(std::wstring(L"BkColor"), VARTYPE(VT_UI4)));
        CHECK(asked[5] == std::make_pair(std::wstring(L"TickerNum"), VARTYPE(VT_I2)));
        CHECK(asked[9] == std::make_pair(std::wstring(L"Font"), VARTYPE(VT_DISPATCH)));
    }
    SUBCASE("missing keys leave their properties and members alone") {
        bag.Remove(L"_cy");
        bag.Remove(L"MaxVal");
        bag.Remove(L"Font");
        bag.Remove(L"bMarkerVisible");
        TestProps b;
        Extent extB{5, 6};
        CHECK(fw::LoadFromBag(&bag, nullptr, &b, kMap, &extB) == S_OK);
        CHECK(extB.cx == 2646);
        CHECK(extB.cy == 6);
        CHECK(b.color == a.color);
        CHECK(b.maxVal == 100.0);
        CHECK(b.font == nullptr);
        CHECK(b.marker == VARIANT_TRUE);
        CHECK(Str(b.unit) == Str(a.unit));
    }
    SUBCASE("values stored as text are converted to the property's type") {
        bag.coerce = false;
        VARIANT v;
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocString(L"-42");
        bag.Set(L"TickerNum", v);
        VariantClear(&v);
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocString(L"4000");
        bag.Set(L"_cx", v);
        VariantClear(&v);
        TestProps b;
        Extent extB{};
        CHECK(fw::LoadFromBag(&bag, nullptr, &b, kMap, &extB) == S_OK);
        CHECK(b.count == -42);
        CHECK(extB.cx == 4000);
    }
    SUBCASE("a value that is no number for a data row stops the load") {
        bag.coerce = false;
        VARIANT v;
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocString(L"wide");
        bag.Set(L"_cy", v);
        VariantClear(&v);
        TestProps b;
        Extent extB{5, 6};
        CHECK(fw::LoadFromBag(&bag, nullptr, &b, kMap, &extB) == E_FAIL);
        CHECK(extB.cx == 2646);
        CHECK(extB.cy == 6);
        CHECK(b.puts.empty());
    }
    SUBCASE("a setter that fails stops the bag load with E_FAIL") {
        TestProps b;
        b.failPut = TestProps::kCount;
        Extent extB{};
        CHECK(fw::LoadFromBag(&bag, nullptr, &b, kMap, &extB) == E_FAIL);
        CHECK(b.maxVal == a.maxVal);
        CHECK(Str(b.unit) == L"");
    }
    SUBCASE("a getter that fails stops the bag load and save with E_FAIL") {
        TestProps b;
        b.failGet = TestProps::kUnit;
        Extent extB{};
        CHECK(fw::LoadFromBag(&bag, nullptr, &b, kMap, &extB) == E_FAIL);
        CHECK(b.count == a.count);
        CHECK(b.style == 0);
        test::MemoryBag out;
        CHECK(fw::SaveToBag(&out, &b, kMap, &extB, TRUE) == E_FAIL);
    }
}

TEST_CASE("a bag save leaves a null object out and stops at the first failing write") {
    TestProps a;
    Extent ext{};
    test::MemoryBag bag;
    CHECK(fw::SaveToBag(&bag, &a, kMap, &ext, FALSE) == S_OK);
    CHECK_FALSE(bag.Has(L"Font"));
    CHECK(bag.Has(L"bMarkerVisible"));

    test::MemoryBag failing;
    failing.failWriteKey = L"MaxVal";
    CHECK(fw::SaveToBag(&failing, &a, kMap, &ext, TRUE) == STG_E_ACCESSDENIED);
    CHECK(failing.writes == std::vector<std::wstring>{L"_cx", L"_cy", L"BkColor", L"InverseDirection"});
}

TEST_CASE("the map's pages are listed once each in first order") {
    CLSID pages[8];
    REQUIRE(fw::MapPages(kMap, pages, 8) == 4);
    CHECK(IsEqualCLSID(pages[0], kGeneralPage));
    CHECK(IsEqualCLSID(pages[1], kScalePage));
    CHECK(IsEqualCLSID(pages[2], kStockColorPage));
    CHECK(IsEqualCLSID(pages[3], kStockFontPage));
    CHECK(fw::MapPages(kMap, pages, 2) == 2);
    CHECK(fw::MapPages(kUnitMap, pages, 8) == 0);
}

TEST_CASE("through a type-library Invoke the font row takes the plain put and values keep their types") {
    const fw::PropRow rows[] = {
        fw::PropertyRow(L"BkColor", 1, VT_UI4, nullptr),   fw::PropertyRow(L"Flag", 3, VT_BOOL, nullptr),
        fw::PropertyRow(L"Count", 6, VT_I2, nullptr),      fw::PropertyRow(L"UnitName", 11, VT_BSTR, nullptr),
        fw::PropertyRow(L"Font", 33, VT_DISPATCH, nullptr, &kStdFont),
    };
    const fw::PropMap map{rows, 5};
    test::TypedProps a;
    REQUIRE(a.Ready());
    a.color = 0x80000005;
    a.flag = VARIANT_TRUE;
    a.count = -2;
    a.unit = SysAllocString(L"RPM");
    a.font = MakeFont(L"Arial", 90000, FW_BOLD);
    Extent ext{};
    Bytes saved = Save(&a, map, ext);
    ByteWriter w;
    w.u32(0x800).bytes({0x13, 0x00, 0x05, 0x00, 0x00, 0x80, 0x0B, 0x00, 0xFF, 0xFF, 0x02, 0x00, 0xFE, 0xFF});
    w.bytes({0x08, 0x00, 0x08, 0x00, 0x00, 0x00, 0x52, 0x00, 0x50, 0x00, 0x4D, 0x00, 0x00, 0x00});
    Bytes font = ObjectData(a.font);
    w.u16(VT_DISPATCH).guid(kStdFont).raw(font.data(), font.size());
    CHECK(saved == w.b);

    test::TypedProps b;
    REQUIRE(b.Ready());
    CHECK(Load(&b, map, ext, saved) == S_OK);
    CHECK(b.color == a.color);
    CHECK(b.flag == VARIANT_TRUE);
    CHECK(b.count == -2);
    CHECK(Str(b.unit) == L"RPM");
    REQUIRE(b.font != nullptr);
    CHECK(ObjectData(b.font) == font);
    CHECK(b.fontPuts == 1);
    CHECK(b.fontPutRefs == 0);

    test::MemoryBag bag;
    CHECK(fw::SaveToBag(&bag, &a, map, &ext, TRUE) == S_OK);
    test::TypedProps c;
    REQUIRE(c.Ready());
    CHECK(fw::LoadFromBag(&bag, nullptr, &c, map, &ext) == S_OK);
    CHECK(c.color == a.color);
    CHECK(c.count == -2);
    REQUIRE(c.font != nullptr);
    CHECK(ObjectData(c.font) == font);
    CHECK(c.fontPuts == 1);
    CHECK(c.fontPutRefs == 0);
}

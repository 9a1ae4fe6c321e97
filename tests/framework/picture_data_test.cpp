// Icon, cursor and bitmap data whose structure lies, handed to a real control
// (the smart button) through its saved stream, a property bag and put: the
// load stops with E_FAIL before the platform's reader sees the data, and the
// control keeps its picture, paints and saves. Sound files of every bit
// count load and save exactly as the platform's own picture keeps them.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstring>
#include <functional>
#include <string>

#include "tests/support/canvas.h"
#include "tests/support/host.h"
#include "tests/support/persistence.h"
#include "tests/support/platform_ids.h"
#include "tests/support/pictures.h"
#include "tests/support/stubdispatch.h"

using namespace testsupport;
using Bytes = std::vector<BYTE>;

namespace {

const CLSID kButton = {0xBA283D99, 0xA0F2, 0x45B2, {0x94, 0xAD, 0xA9, 0x0D, 0x8F, 0x51, 0x2F, 0x0E}};
constexpr DISPID kPicture = 14;

void Set16(Bytes& b, size_t at, WORD v) { memcpy(&b[at], &v, 2); }
void Set32(Bytes& b, size_t at, DWORD v) { memcpy(&b[at], &v, 4); }

// BITMAPINFOHEADER fields at `at`; the colour table, if any, follows.
void InfoHeader(Bytes& b, size_t at, DWORD size, LONG w, LONG h, WORD bits, DWORD compression, DWORD image) {
    Set32(b, at, size);
    Set32(b, at + 4, DWORD(w));
    Set32(b, at + 8, DWORD(h));
    Set16(b, at + 12, 1);
    Set16(b, at + 14, bits);
    Set32(b, at + 16, compression);
    Set32(b, at + 20, image);
}

DWORD Row(LONG w, WORD bits) { return (DWORD(w) * bits + 31) / 32 * 4; }

// An icon (type 1) or cursor (type 2) of one w x h image: header, palette,
// XOR mask of a pattern, opaque AND mask.
Bytes Icon(LONG w, LONG h, WORD bits, WORD type = 1) {
    const DWORD colours = bits <= 8 ? 1u << bits : 0, image = 40 + colours * 4 + (Row(w, bits) + Row(w, 1)) * h;
    Bytes b(22 + image, 0);
    Set16(b, 2, type);
    Set16(b, 4, 1);
    b[6] = BYTE(w);
    b[7] = BYTE(h);
    Set16(b, 10, type == 1 ? 1 : 0);
    Set16(b, 12, type == 1 ? bits : 0);
    Set32(b, 14, image);
    Set32(b, 18, 22);
    InfoHeader(b, 22, 40, w, 2 * h, bits, BI_RGB, 0);
    for (DWORD i = 0; i < colours * 4 + Row(w, bits) * h; ++i) b[62 + i] = BYTE(i * 37 + 11);
    return b;
}

// A bitmap file with a header of `header` bytes and every row of run data or
// pixels alike.
Bytes Bitmap(LONG w, LONG h, WORD bits, DWORD compression = BI_RGB, DWORD header = 40) {
    const bool core = header == 12;
    const DWORD colours = bits <= 8 ? 1u << bits : 0, entry = core ? 3 : 4;
    const DWORD masks = compression == BI_BITFIELDS && header == 40 ? 12 : 0;
    Bytes pixels;
    if (compression == BI_RLE8 || compression == BI_RLE4) {
        for (LONG y = 0; y < h; ++y) pixels.insert(pixels.end(), {BYTE(w), BYTE(y * 0x11 + 1), 0, 0});
        pixels.back() = 1;  // the last end of line ends the bitmap
    } else {
        pixels.resize(size_t(Row(w, bits)) * (h < 0 ? -h : h));
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = BYTE(i * 29 + 3);
    }
    const DWORD at = 14 + header + masks + colours * entry;
    Bytes b(at, 0);
    b[0] = 'B';
    b[1] = 'M';
    Set32(b, 2, DWORD(at + pixels.size()));
    Set32(b, 10, at);
    if (core) {
        Set32(b, 14, 12);
        Set16(b, 18, WORD(w));
        Set16(b, 20, WORD(h));
        Set16(b, 22, 1);
        Set16(b, 24, bits);
    } else {
        InfoHeader(b, 14, header, w, h, bits, compression, compression == BI_RGB ? 0 : DWORD(pixels.size()));
        if (compression == BI_BITFIELDS)
            for (int i = 0; i < 3; ++i) Set32(b, 14 + 40 + 4 * i, bits == 16 ? 0x7C00u >> 5 * i : 0xFF0000u >> 8 * i);
    }
    for (DWORD i = 0; i < colours * entry; ++i) b[at - colours * entry + i] = BYTE(i * 7);
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

// The standard picture's saved form of a file: 0x746C, byte count, file.
Bytes Saved(const Bytes& file) {
    Bytes b(8);
    Set32(b, 0, 0x746C);
    Set32(b, 4, DWORD(file.size()));
    b.insert(b.end(), file.begin(), file.end());
    return b;
}

Bytes ObjectData(IUnknown* object) {
    Ptr<IPersistStream> ps;
    REQUIRE(object->QueryInterface(IID_IPersistStream, ps.pv()) == S_OK);
    Ptr<IStream> s;
    s.p = NewStream();
    REQUIRE(ps->Save(s, FALSE) == S_OK);
    return StreamBytes(s);
}

// A picture of any maker: it saves the bytes it was given, whatever they hold.
struct ForeignPicture : StubDispatch<IPictureDisp, &IID_IPictureDisp>, IPersistStream {
    Bytes saved;
    explicit ForeignPicture(Bytes b) : saved(std::move(b)) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        if (!IsEqualIID(iid, IID_IPersist) && !IsEqualIID(iid, IID_IPersistStream))
            return StubDispatch::QueryInterface(iid, ppv);
        *ppv = static_cast<IPersistStream*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return StubDispatch::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return StubDispatch::Release(); }
    STDMETHODIMP GetClassID(CLSID* id) override {
        *id = kStdPicture;
        return S_OK;
    }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(IStream*) override { return E_NOTIMPL; }
    STDMETHODIMP Save(IStream* s, BOOL) override { return s->Write(saved.data(), ULONG(saved.size()), nullptr); }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
};

// A button holding a sound picture, with its saved stream and where the
// picture's data stands in it.
struct Button {
    Ptr<IDispatch> control;
    Bytes stream;
    size_t at = 0, length = 0;

    Button() {
        REQUIRE(KeptLibrary(L"Pellan.dll").Create(kButton, IID_IDispatch, control.pv()) == S_OK);
        Ptr<IPersistStreamInit> init;
        REQUIRE(control->QueryInterface(IID_IPersistStreamInit, init.pv()) == S_OK);
        REQUIRE(init->InitNew() == S_OK);
        Ptr<IPictureDisp> first;
        first.p = PictureOf(BmpFile(3, 3, RGB(0, 0, 255)));
        REQUIRE(Put(first, DISPATCH_PROPERTYPUT) == S_OK);
        REQUIRE(SaveControl(control, stream) == S_OK);
        const Bytes data = ObjectData(Picture());
        at = FindBytes(stream, data);
        REQUIRE(at != std::string::npos);
        length = data.size();
    }
    // The saved stream with the picture's data replaced.
    Bytes With(const Bytes& data) const {
        Bytes b(stream.begin(), stream.begin() + at);
        b.insert(b.end(), data.begin(), data.end());
        b.insert(b.end(), stream.begin() + at + length, stream.end());
        return b;
    }
    HRESULT Put(IPictureDisp* picture, WORD flags) {
        VARIANT v;
        v.vt = VT_DISPATCH;
        v.pdispVal = picture;
        DISPID put = DISPID_PROPERTYPUT;
        DISPPARAMS params{&v, &put, 1, 1};
        EXCEPINFO ei{};
        HRESULT hr = control->Invoke(kPicture, IID_NULL, 0, flags, &params, nullptr, &ei, nullptr);
        SysFreeString(ei.bstrSource);
        SysFreeString(ei.bstrDescription);
        SysFreeString(ei.bstrHelpFile);
        return hr == DISP_E_EXCEPTION ? ei.scode : hr;
    }
    IPictureDisp* Picture() {
        VARIANT v;
        VariantInit(&v);
        DISPPARAMS none{};
        REQUIRE(control->Invoke(kPicture, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr) == S_OK);
        IPictureDisp* p = reinterpret_cast<IPictureDisp*>(v.pdispVal);
        if (p) p->Release();  // the control keeps its own reference
        return p;
    }
    // Paints and saves, whatever the last load did.
    void StillWorks() {
        HRESULT paint = E_FAIL;
        DrawToDib(control, 32, 32, &paint);
        CHECK(paint == S_OK);
        Bytes again;
        CHECK(SaveControl(control, again) == S_OK);
    }
};

struct Lie {
    const char* name;
    std::function<Bytes()> file;
};

Bytes Patched(Bytes b, size_t at, DWORD v, int width = 4) {
    if (width == 1) b[at] = BYTE(v);
    else if (width == 2) Set16(b, at, WORD(v));
    else Set32(b, at, v);
    return b;
}

}  // namespace

TEST_CASE("icons, cursors and bitmaps that lie about their structure reach no reader") {
    // Icon offsets: 4 count, 6 entry (14 bytes, 18 offset), 22 header.
    const Bytes icon = Icon(16, 16, 4), bmp = Bitmap(4, 4, 8), rle = Bitmap(4, 4, 8, BI_RLE8);
    const Lie lies[] = {
        {"icon count past the directory", [&] { return Patched(icon, 4, 0xFFFF, 2); }},
        {"icon count zero", [&] { return Patched(icon, 4, 0, 2); }},
        {"directory of another type", [&] { return Patched(icon, 2, 3, 2); }},
        {"entry bytes past the end", [&] { return Patched(icon, 14, DWORD(icon.size())); }},
        {"entry offset wrapping around", [&] { return Patched(icon, 18, 0xFFFFFFF0u); }},
        {"cursor entry outside", [&] { return Patched(Icon(32, 32, 1, 2), 18, 0x10000); }},
        {"icon header size 12", [&] { return Patched(icon, 22, 12); }},
        {"icon header larger than its entry", [&] { return Patched(icon, 22, 0x10000); }},
        {"icon bit count 3", [&] { return Patched(icon, 36, 3, 2); }},
        {"icon planes 0", [&] { return Patched(icon, 34, 0, 2); }},
        {"icon height not twice the entry's", [&] { return Patched(icon, 30, 16); }},
        {"icon masks larger than the entry", [&] { return Patched(Patched(icon, 6, 64, 1), 26, 64); }},
        {"icon huge width", [&] { return Patched(Patched(icon, 6, 0xFF, 1), 26, 0x7FFFFFFF); }},
        {"icon colour table past its entry", [&] { return Patched(Icon(16, 16, 24), 54, 256); }},
        {"icon compressed", [&] { return Patched(icon, 38, BI_RLE4); }},
        {"icon image a cut PNG", [&] {
             Bytes b = icon;
             const BYTE png[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
             memcpy(&b[22], png, sizeof png);
             return b;
         }},
        {"bits offset past the end", [&] { return Patched(bmp, 10, DWORD(bmp.size())); }},
        {"bits offset inside the header", [&] { return Patched(bmp, 10, 20); }},
        {"bitmap header size 64", [&] { return Patched(bmp, 14, 64); }},
        {"bitmap width 0", [&] { return Patched(bmp, 18, 0); }},
        {"bitmap width negative", [&] { return Patched(bmp, 18, DWORD(-4)); }},
        {"bitmap height 0", [&] { return Patched(bmp, 22, 0); }},
        {"bitmap huge height", [&] { return Patched(bmp, 22, 0x7FFFFFFF); }},
        {"bitmap most negative height", [&] { return Patched(bmp, 22, 0x80000000u); }},
        {"bitmap planes 2", [&] { return Patched(bmp, 26, 2, 2); }},
        {"bitmap bit count 7", [&] { return Patched(bmp, 28, 7, 2); }},
        {"bitmap JPEG compression", [&] { return Patched(bmp, 30, BI_JPEG); }},
        {"bitmap colour table past the end", [&] { return Patched(Bitmap(4, 4, 24), 46, 200); }},
        {"bit fields without room for masks", [&] { return Patched(Bitmap(1, 1, 32), 30, BI_BITFIELDS); }},
        {"RLE data short", [&] { return Patched(rle, 34, DWORD(rle.size())); }},
        {"RLE without a byte count", [&] { return Patched(rle, 34, 0); }},
        {"RLE top-down", [&] { return Patched(rle, 22, DWORD(-4)); }},
        {"core header huge width", [&] { return Patched(Bitmap(4, 4, 24, BI_RGB, 12), 18, 0xFFFF, 2); }},
        {"bitmap cut short", [&] { return Bytes(bmp.begin(), bmp.end() - 1); }},
    };
    Button button;
    for (const Lie& lie : lies) {
        CAPTURE(lie.name);
        const Bytes file = lie.file();
        IPictureDisp* before = button.Picture();
        CHECK(LoadControl(button.control, button.With(Saved(file))) == E_FAIL);
        MapBag bag;
        Ptr<IPersistPropertyBag> pb;
        REQUIRE(button.control->QueryInterface(IID_IPersistPropertyBag, pb.pv()) == S_OK);
        REQUIRE(pb->Save(&bag, TRUE, TRUE) == S_OK);
        ForeignPicture foreign(Saved(file)), bare(file);
        VARIANT v;
        v.vt = VT_DISPATCH;
        v.pdispVal = &foreign;
        bag.values[L"Picture"] = Variant(v);
        CHECK(pb->Load(&bag, nullptr) == E_FAIL);
        CHECK(button.Put(&foreign, DISPATCH_PROPERTYPUT) == E_FAIL);
        CHECK(button.Put(&bare, DISPATCH_PROPERTYPUT) == E_FAIL);
        CHECK(button.Picture() == before);
        button.StillWorks();
    }
}

TEST_CASE("sound icons, cursors and bitmaps of every bit count load and save as the platform keeps them") {
    const std::pair<const char*, Bytes> files[] = {
        {"icon 1", Icon(16, 16, 1)},   {"icon 4", Icon(16, 16, 4)},    {"icon 8", Icon(32, 32, 8)},
        {"icon 24", Icon(16, 16, 24)}, {"icon 32", Icon(48, 48, 32)},  {"cursor", Icon(32, 32, 1, 2)},
        {"bmp 1", Bitmap(9, 3, 1)},    {"bmp 4", Bitmap(5, 3, 4)},     {"bmp 8", Bitmap(4, 4, 8)},
        {"bmp 16", Bitmap(3, 2, 16)},  {"bmp 24", Bitmap(3, 3, 24)},   {"bmp 32", Bitmap(2, 2, 32)},
        {"top-down", Bitmap(3, -3, 24)}, {"core", Bitmap(4, 4, 8, BI_RGB, 12)},
        {"RLE8", Bitmap(6, 4, 8, BI_RLE8)}, {"RLE4", Bitmap(6, 4, 4, BI_RLE4)},
        {"fields 16", Bitmap(3, 2, 16, BI_BITFIELDS)}, {"fields 32 v5", Bitmap(2, 2, 32, BI_BITFIELDS, 124)},
    };
    Button button;
    for (const auto& f : files) {
        CAPTURE(f.first);
        Ptr<IPictureDisp> direct;
        direct.p = PictureOf(f.second);
        const Bytes reference = ObjectData(direct);
        REQUIRE(LoadControl(button.control, button.With(Saved(f.second))) == S_OK);
        CHECK(ObjectData(button.Picture()) == reference);
        Bytes saved;
        REQUIRE(SaveControl(button.control, saved) == S_OK);
        CHECK(saved == button.With(reference));
        ForeignPicture foreign(reference);
        CHECK(button.Put(&foreign, DISPATCH_PROPERTYPUT) == S_OK);
        CHECK(ObjectData(button.Picture()) == reference);
    }
    // What the platform's picture saves of an icon and a bitmap of its own
    // (icon and bitmap with colour masks, the bitmap's sharing its bits'
    // first bytes) loads as the platform's own loader takes it.
    HBITMAP colour = CreateBitmap(8, 8, 1, 32, nullptr), mask = CreateBitmap(8, 8, 1, 1, nullptr);
    ICONINFO ii{TRUE, 0, 0, mask, colour};
    PICTDESC icon{sizeof(PICTDESC), PICTYPE_ICON};
    icon.icon.hicon = CreateIconIndirect(&ii);
    PICTDESC bmp{sizeof(PICTDESC), PICTYPE_BITMAP};
    bmp.bmp.hbitmap = colour;
    for (PICTDESC* desc : {&icon, &bmp}) {
        Ptr<IPictureDisp> made;
        REQUIRE(OleCreatePictureIndirect(desc, IID_IPictureDisp, desc == &icon, made.pv()) == S_OK);
        const Bytes data = ObjectData(made);
        Ptr<IStream> stream;
        stream.p = StreamOf(data);
        Ptr<IPictureDisp> direct;
        const bool platform = OleLoadPicture(stream, 0, FALSE, IID_IPictureDisp, direct.pv()) == S_OK;
        CHECK((desc != &icon || platform));  // the bitmap's own loader refuses under Wine 8
        CHECK(SUCCEEDED(LoadControl(button.control, button.With(data))) == platform);
        if (platform) CHECK(ObjectData(button.Picture()) == data);
    }
    DeleteObject(mask);
    DeleteObject(colour);
}

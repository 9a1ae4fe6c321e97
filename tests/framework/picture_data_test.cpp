// Icon, cursor and bitmap data whose structure lies reaches a real control
// (the smart button) through its saved stream and through put (property bags
// reach pictures only through put): each stops with E_FAIL before the
// platform's reader sees the data, and the control keeps its picture, paints
// and saves. Sound data of every bit count loads and saves as the platform's
// own picture keeps it.
#include <doctest/doctest.h>

#include <cstring>
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

Bytes Set(Bytes b, size_t at, DWORD v, size_t width = 4) {
    memcpy(&b[at], &v, width);
    return b;
}

// A DIB of patterned rows: info header (12: core), masks, palette, then
// pixels or one run of the row's width per row.
Bytes Dib(LONG w, LONG h, WORD bits, DWORD comp = BI_RGB, DWORD header = 40) {
    const DWORD rows = h < 0 ? -h : h, stride = (w * bits + 31) / 32 * 4, rle = comp == BI_RLE8 || comp == BI_RLE4;
    const DWORD table = (bits <= 8 ? 1u << bits : 0) * (header == 12 ? 3 : 4) + (comp == BI_BITFIELDS ? 12 : 0);
    Bytes b(header + table + (rle ? 4 : stride) * rows);
    for (size_t i = header; i < b.size(); ++i) b[i] = BYTE(i * 29 + 3);
    if (header == 12) return Set(Set(Set(Set(b, 0, 12), 4, w, 2), 6, h, 2), 8, 1 | bits << 16);
    b = Set(Set(Set(Set(Set(Set(b, 0, header), 4, w), 8, h), 12, 1 | bits << 16), 16, comp), 32, 0);
    for (DWORD y = 0; rle && y < rows; ++y) b = Set(b, header + table + 4 * y, y + 1 < rows ? w : w | 0x1000000);
    if (rle) b = Set(b, 20, 4 * rows);
    if (comp != BI_BITFIELDS) return b;
    return bits == 16 ? Set(Set(Set(b, 40, 0xF800), 44, 0x7E0), 48, 0x1F)
                      : Set(Set(Set(b, 40, 0xFF0000), 44, 0xFF00), 48, 0xFF);
}

Bytes Bitmap(LONG w, LONG h, WORD bits, DWORD comp = BI_RGB, DWORD header = 40) {
    const Bytes dib = Dib(w, h, bits, comp, header);
    Bytes b = Set(Set(Bytes(14), 0, 0x4D42, 2), 10, 14 + header + (bits <= 8 ? (header == 12 ? 3 : 4) << bits : 0));
    if (comp == BI_BITFIELDS) b = Set(b, 10, 14 + header + 12);
    b.insert(b.end(), dib.begin(), dib.end());
    return comp == BI_RLE8 || comp == BI_RLE4 ? Set(b, 10, DWORD(b.size()) - 4 * DWORD(h)) : b;
}

// An icon (type 1) or cursor (type 2) of one image: the DIB's height covers
// the XOR and AND masks.
Bytes Icon(LONG w, LONG h, WORD bits, WORD type = 1) {
    const Bytes dib = Dib(w, 2 * h, bits);
    Bytes b = Set(Set(Set(Set(Bytes(22), 2, type | 1 << 16), 6, w | h << 8), 14, DWORD(dib.size())), 18, 22);
    b.insert(b.end(), dib.begin(), dib.end());
    return b;
}

// The standard picture's saved form: 0x746C, byte count, file.
Bytes Saved(const Bytes& file) {
    Bytes b = Set(Set(Bytes(8), 0, 0x746C), 4, DWORD(file.size()));
    b.insert(b.end(), file.begin(), file.end());
    return b;
}

Bytes ObjectData(IUnknown* object) {
    Ptr<IPersistStream> ps;
    Ptr<IStream> s;
    s.p = NewStream();
    REQUIRE(object->QueryInterface(IID_IPersistStream, ps.pv()) == S_OK);
    REQUIRE(ps->Save(s, FALSE) == S_OK);
    return StreamBytes(s);
}

// A picture of another maker: it saves whatever bytes it was given.
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

// A button holding a picture, its saved stream and where the picture's data
// stands in it.
struct Button {
    Ptr<IDispatch> control;
    Bytes stream, data;
    size_t at = 0;

    Button() {
        Ptr<IPersistStreamInit> init;
        Ptr<IPictureDisp> first;
        first.p = PictureOf(BmpFile(3, 3, RGB(0, 0, 255)));
        REQUIRE(KeptLibrary(L"Pellan.dll").Create(kButton, IID_IDispatch, control.pv()) == S_OK);
        REQUIRE((control->QueryInterface(IID_IPersistStreamInit, init.pv()) == S_OK && init->InitNew() == S_OK));
        REQUIRE(Put(first) == S_OK);
        REQUIRE(SaveControl(control, stream) == S_OK);
        data = ObjectData(Picture());
        REQUIRE((at = FindBytes(stream, data)) != std::string::npos);
    }
    Bytes With(const Bytes& other) const {  // the stream with other picture data
        Bytes b = stream;
        b.erase(b.begin() + at, b.begin() + at + data.size());
        b.insert(b.begin() + at, other.begin(), other.end());
        return b;
    }
    HRESULT Put(IPictureDisp* picture) {
        VARIANT v{};
        v.vt = VT_DISPATCH;
        v.pdispVal = picture;
        DISPID named = DISPID_PROPERTYPUT;
        DISPPARAMS params{&v, &named, 1, 1};
        EXCEPINFO ei{};
        HRESULT hr = control->Invoke(14, IID_NULL, 0, DISPATCH_PROPERTYPUT, &params, nullptr, &ei, nullptr);
        return hr == DISP_E_EXCEPTION ? ei.scode : hr;
    }
    IPictureDisp* Picture() {  // the control keeps its own reference
        VARIANT v{};
        DISPPARAMS none{};
        REQUIRE(control->Invoke(14, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, &v, nullptr, nullptr) == S_OK);
        if (v.pdispVal) v.pdispVal->Release();
        return reinterpret_cast<IPictureDisp*>(v.pdispVal);
    }
};

}  // namespace

TEST_CASE("icons, cursors and bitmaps that lie about their structure reach no reader") {
    // Icon: 4 count, 14 entry bytes, 18 entry offset, 22 header. Bitmap: 10
    // bits offset, 14 header, 18 width, 22 height, 28 bit count, 30
    // compression, 34 image bytes.
    const Bytes icon = Icon(16, 16, 4), bmp = Bitmap(4, 4, 8), rle = Bitmap(4, 4, 8, BI_RLE8);
    const std::pair<const char*, Bytes> lies[] = {
        {"icon count past the directory", Set(icon, 4, 0xFFFF, 2)},
        {"entry bytes past the end", Set(icon, 14, DWORD(icon.size()))},
        {"entry offset wrapping around", Set(icon, 18, 0xFFFFFFF0u)},
        {"cursor entry outside", Set(Icon(32, 32, 1, 2), 18, 0x10000)},
        {"icon header size 12", Set(icon, 22, 12)},
        {"icon bit count 3", Set(icon, 36, 3, 2)},
        {"icon height not twice the entry's", Set(icon, 30, 16)},
        {"icon masks larger than the entry", Set(Set(icon, 6, 64, 1), 26, 64)},
        {"icon huge width", Set(Set(icon, 6, 0xFF, 1), 26, 0x7FFFFFFF)},
        {"icon colour table past its entry", Set(Icon(16, 16, 24), 54, 256)},
        {"icon image a cut PNG", Set(Set(icon, 22, 0x474E5089), 26, 0x0A1A0A0D)},
        {"bits offset past the end", Set(bmp, 10, DWORD(bmp.size()))},
        {"bitmap header size 64", Set(bmp, 14, 64)},
        {"bitmap width negative", Set(bmp, 18, DWORD(-4))},
        {"bitmap huge height", Set(bmp, 22, 0x7FFFFFFF)},
        {"bitmap bit count 7", Set(bmp, 28, 7, 2)},
        {"colour table past the end", Set(Bitmap(4, 4, 24), 46, 200)},
        {"bit fields without room for masks", Set(Bitmap(1, 1, 32), 30, BI_BITFIELDS)},
        {"RLE data short", Set(rle, 34, DWORD(rle.size()))},
        {"RLE top-down", Set(rle, 22, DWORD(-4))},
        {"core header huge width", Set(Bitmap(4, 4, 24, BI_RGB, 12), 18, 0xFFFF, 2)},
        {"bitmap cut short", Bytes(bmp.begin(), bmp.end() - 1)},
    };
    Button button;
    for (const auto& lie : lies) {
        CAPTURE(lie.first);
        IPictureDisp* before = button.Picture();
        CHECK(LoadControl(button.control, button.With(Saved(lie.second))) == E_FAIL);
        ForeignPicture foreign(Saved(lie.second));
        CHECK(button.Put(&foreign) == E_FAIL);
        CHECK(button.Picture() == before);
        HRESULT paint = E_FAIL;
        DrawToDib(button.control, 32, 32, &paint);
        Bytes saved;
        CHECK((paint == S_OK && SaveControl(button.control, saved) == S_OK));
    }
}

TEST_CASE("sound icons, cursors and bitmaps of every bit count load and save as the platform keeps them") {
    const Bytes files[] = {Icon(16, 16, 1), Icon(16, 16, 4), Icon(32, 32, 8), Icon(16, 16, 24), Icon(48, 48, 32),
                           Icon(32, 32, 1, 2), Bitmap(9, 3, 1), Bitmap(5, 3, 4), Bitmap(4, 4, 8), Bitmap(3, 2, 16),
                           Bitmap(3, -3, 24), Bitmap(2, 2, 32), Bitmap(4, 4, 8, BI_RGB, 12), Bitmap(6, 4, 8, BI_RLE8),
                           Bitmap(6, 4, 4, BI_RLE4), Bitmap(3, 2, 16, BI_BITFIELDS),
                           Bitmap(2, 2, 32, BI_BITFIELDS, 124)};
    Button button;
    for (size_t i = 0; i < sizeof files / sizeof files[0]; ++i) {
        const Bytes& file = files[i];
        CAPTURE(i);
        Ptr<IPictureDisp> direct;
        direct.p = PictureOf(file);
        const Bytes reference = ObjectData(direct);
        REQUIRE(LoadControl(button.control, button.With(Saved(file))) == S_OK);
        Bytes saved;
        CHECK((SaveControl(button.control, saved) == S_OK && saved == button.With(reference)));
    }
}

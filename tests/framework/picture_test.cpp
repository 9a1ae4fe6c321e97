// Picture properties: the copy a put makes through a growable memory
// stream, put-by-reference, the veto, and a failed copy that keeps the held
// picture, with real standard picture objects.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstring>
#include <vector>

#include "picture.h"
#include "tests/support/canvas.h"
#include "tests/support/stubdispatch.h"

using testsupport::DibCanvas;

namespace {

// A 4 x 4 24-bit BMP file of one colour.
std::vector<BYTE> BmpFile(COLORREF colour) {
    const int w = 4, h = 4, stride = 12;
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = w;
    ih.biHeight = h;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biCompression = BI_RGB;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + stride * h;
    std::vector<BYTE> file(fh.bfSize);
    std::memcpy(&file[0], &fh, sizeof fh);
    std::memcpy(&file[sizeof fh], &ih, sizeof ih);
    for (int i = 0; i < w * h; ++i) {
        BYTE* px = &file[fh.bfOffBits + (i / w) * stride + (i % w) * 3];
        px[0] = GetBValue(colour);
        px[1] = GetGValue(colour);
        px[2] = GetRValue(colour);
    }
    return file;
}

IPictureDisp* LoadPicture(const std::vector<BYTE>& file) {
    IStream* stream = nullptr;
    REQUIRE(CreateStreamOnHGlobal(nullptr, TRUE, &stream) == S_OK);
    ULONG written = 0;
    stream->Write(file.data(), static_cast<ULONG>(file.size()), &written);
    LARGE_INTEGER start{};
    stream->Seek(start, STREAM_SEEK_SET, nullptr);
    IPictureDisp* picture = nullptr;
    HRESULT hr = OleLoadPicture(stream, 0, FALSE, IID_IPictureDisp, reinterpret_cast<void**>(&picture));
    stream->Release();
    REQUIRE(hr == S_OK);
    REQUIRE(picture != nullptr);
    return picture;
}

// A metafile picture: the standard picture object cannot save one under Wine.
IPictureDisp* MetafilePicture() {
    HDC rec = CreateMetaFileW(nullptr);
    Rectangle(rec, 0, 0, 10, 10);
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_METAFILE;
    desc.wmf.hmeta = CloseMetaFile(rec);
    desc.wmf.xExt = 254;
    desc.wmf.yExt = 254;
    IPictureDisp* picture = nullptr;
    REQUIRE(OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, reinterpret_cast<void**>(&picture)) == S_OK);
    return picture;
}

// The centre pixel of the picture rendered over a 20 x 20 canvas.
COLORREF Rendered(IPictureDisp* disp) {
    IPicture* picture = nullptr;
    REQUIRE(disp->QueryInterface(IID_IPicture, reinterpret_cast<void**>(&picture)) == S_OK);
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    picture->get_Width(&w);
    picture->get_Height(&h);
    DibCanvas canvas(20, 20, RGB(0, 0, 0));
    picture->Render(canvas.dc(), 0, 0, 20, 20, 0, h, w, -h, nullptr);
    picture->Release();
    return canvas.Pixel(10, 10);
}

LONG Refs(IUnknown* p) {
    p->AddRef();
    return static_cast<LONG>(p->Release());
}

// The control's side of the setter protocol, recorded.
struct Protocol {
    bool veto = false;
    int requests = 0;
    int changes = 0;
    fw::PictureSetter setter() {
        return fw::PictureSetter{[this] {
                                     ++requests;
                                     return veto ? S_FALSE : S_OK;
                                 },
                                 [this] { ++changes; }};
    }
};

// An automation object that cannot save itself.
struct NotPersistable : testsupport::StubDispatch<IDispatch> {};

}  // namespace

TEST_CASE("put holds a copy of its own that outlives the caller's picture; putref holds the very object") {
    fw::Picture held;
    Protocol protocol;
    IPictureDisp* red = LoadPicture(BmpFile(RGB(255, 0, 0)));
    CHECK(fw::PutPictureCopy(held, red, protocol.setter()) == S_OK);
    CHECK(protocol.changes == 1);
    REQUIRE(held.get() != nullptr);
    CHECK(held.get() != red);
    CHECK(Refs(red) == 1);  // the caller's picture is not kept
    red->Release();
    CHECK(Rendered(held.get()) == RGB(255, 0, 0));

    IPictureDisp* out = nullptr;
    CHECK(held.CopyOut(&out) == S_OK);
    CHECK(out == held.get());
    out->Release();
    CHECK(held.CopyOut(nullptr) == E_POINTER);

    IPictureDisp* blue = LoadPicture(BmpFile(RGB(0, 0, 255)));
    CHECK(fw::PutPictureRef(held, blue, protocol.setter()) == S_OK);
    CHECK(held.get() == blue);
    CHECK(protocol.changes == 2);
    CHECK(fw::PutPictureCopy(held, nullptr, protocol.setter()) == S_OK);  // null empties it
    CHECK(held.get() == nullptr);
    CHECK(protocol.changes == 3);
    CHECK(Refs(blue) == 1);
    blue->Release();
}

TEST_CASE("a vetoed or failed picture change keeps the held picture and notifies nothing") {
    fw::Picture held;
    Protocol protocol;
    IPictureDisp* green = LoadPicture(BmpFile(RGB(0, 255, 0)));
    REQUIRE(fw::PutPictureRef(held, green, protocol.setter()) == S_OK);
    protocol.changes = 0;
    protocol.requests = 0;

    SUBCASE("veto: S_OK, nothing changes") {
        protocol.veto = true;
        IPictureDisp* other = LoadPicture(BmpFile(RGB(1, 2, 3)));
        CHECK(fw::PutPictureCopy(held, other, protocol.setter()) == S_OK);
        CHECK(fw::PutPictureRef(held, other, protocol.setter()) == S_OK);
        CHECK(fw::PutPictureCopy(held, nullptr, protocol.setter()) == S_OK);
        CHECK(held.get() == green);
        CHECK(protocol.requests == 3);
        other->Release();
    }
    SUBCASE("a metafile picture that cannot be saved: the failing status, the old picture stays") {
        IPictureDisp* wmf = MetafilePicture();
        const HRESULT hr = fw::PutPictureCopy(held, wmf, protocol.setter());
        CHECK(FAILED(hr));
        CHECK(held.get() == green);
        wmf->Release();
    }
    SUBCASE("an object that offers no IPersistStream") {
        NotPersistable object;
        CHECK(fw::PutPictureCopy(held, reinterpret_cast<IPictureDisp*>(static_cast<IDispatch*>(&object)),
                                 protocol.setter()) == E_NOINTERFACE);
        CHECK(held.get() == green);
    }
    CHECK(protocol.changes == 0);
    held.reset();
    CHECK(Refs(green) == 1);
    green->Release();
}

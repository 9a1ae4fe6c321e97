#include "pngread.h"

#include <objbase.h>
#include <wincodec.h>

#include <cstdio>
#include <cstring>
#include <utility>

namespace testsupport {

namespace {

template <class T>
struct Owned {
    T* p = nullptr;
    ~Owned() {
        if (p) p->Release();
    }
    T* operator->() const { return p; }
    T** out() { return &p; }
};

HRESULT Decode(const std::wstring& path, forms::DibCanvas& canvas) {
    Owned<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(factory.out()));
    if (FAILED(hr)) return hr;
    Owned<IWICBitmapDecoder> decoder;
    hr = factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                            decoder.out());
    if (FAILED(hr)) return hr;
    Owned<IWICBitmapFrameDecode> frame;
    if (FAILED(hr = decoder->GetFrame(0, frame.out()))) return hr;
    Owned<IWICFormatConverter> converter;
    if (FAILED(hr = factory->CreateFormatConverter(converter.out()))) return hr;
    hr = converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                               WICBitmapPaletteTypeCustom);
    if (FAILED(hr)) return hr;
    UINT w = 0, h = 0;
    if (FAILED(hr = converter->GetSize(&w, &h))) return hr;
    forms::DibCanvas out(static_cast<int>(w), static_cast<int>(h));
    if (!out.valid()) return E_OUTOFMEMORY;
    GdiFlush();
    hr = converter->CopyPixels(nullptr, 4 * w, 4 * w * h,
                               reinterpret_cast<BYTE*>(const_cast<uint32_t*>(out.bits())));
    if (FAILED(hr)) return hr;
    canvas = std::move(out);
    return S_OK;
}

}  // namespace

forms::DibCanvas DecodeImage(const std::wstring& path, HRESULT* hr) {
    forms::DibCanvas canvas(0, 0);
    const HRESULT result = Decode(path, canvas);
    if (hr) *hr = result;
    return canvas;
}

bool HasPngSignature(const std::wstring& path) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    unsigned char head[8] = {};
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f) return false;
    const bool read = fread(head, 1, sizeof head, f) == sizeof head;
    fclose(f);
    return read && std::memcmp(head, kSignature, sizeof head) == 0;
}

}  // namespace testsupport

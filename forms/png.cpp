// PNG writing for screenshots through the platform's imaging component
// (its PNG encoder compresses; the files are a fraction of the raw pixels).
#include "forms/capture.h"

#include <objbase.h>
#include <wincodec.h>

#include <vector>

namespace forms {

namespace {

// Releases a COM pointer at the end of a scope.
template <class T>
struct Owned {
    T* p = nullptr;
    ~Owned() {
        if (p) p->Release();
    }
    T* operator->() const { return p; }
    T** out() { return &p; }
};

HRESULT Encode(const DibCanvas& canvas, const wchar_t* path) {
    Owned<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  reinterpret_cast<void**>(factory.out()));
    if (FAILED(hr)) return hr;
    Owned<IWICStream> stream;
    if (FAILED(hr = factory->CreateStream(stream.out()))) return hr;
    if (FAILED(hr = stream->InitializeFromFilename(path, GENERIC_WRITE))) return hr;
    Owned<IWICBitmapEncoder> encoder;
    if (FAILED(hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out()))) return hr;
    if (FAILED(hr = encoder->Initialize(stream.p, WICBitmapEncoderNoCache))) return hr;
    Owned<IWICBitmapFrameEncode> frame;
    if (FAILED(hr = encoder->CreateNewFrame(frame.out(), nullptr))) return hr;
    if (FAILED(hr = frame->Initialize(nullptr))) return hr;
    const UINT w = static_cast<UINT>(canvas.width()), h = static_cast<UINT>(canvas.height());
    if (FAILED(hr = frame->SetSize(w, h))) return hr;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(hr = frame->SetPixelFormat(&format))) return hr;
    if (format != GUID_WICPixelFormat24bppBGR) return WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
    // The canvas holds 32-bit BGRX pixels: hand the encoder 24-bit rows.
    const UINT stride = (3 * w + 3) & ~3u;
    std::vector<BYTE> row(stride);
    GdiFlush();
    for (UINT y = 0; y < h; ++y) {
        const uint32_t* src = canvas.bits() + static_cast<size_t>(y) * w;
        for (UINT x = 0; x < w; ++x) {
            row[3 * x] = static_cast<BYTE>(src[x]);
            row[3 * x + 1] = static_cast<BYTE>(src[x] >> 8);
            row[3 * x + 2] = static_cast<BYTE>(src[x] >> 16);
        }
        if (FAILED(hr = frame->WritePixels(1, stride, stride, row.data()))) return hr;
    }
    if (FAILED(hr = frame->Commit())) return hr;
    return encoder->Commit();
}

}  // namespace

bool WritePng(const DibCanvas& canvas, const wchar_t* path) {
    if (!canvas.valid() || canvas.width() <= 0 || canvas.height() <= 0) return false;
    // Callers normally run in an apartment already; one that does not gets a
    // short-lived one for the encoder.
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const HRESULT hr = Encode(canvas, path);
    if (SUCCEEDED(init)) CoUninitialize();
    return SUCCEEDED(hr);
}

}  // namespace forms

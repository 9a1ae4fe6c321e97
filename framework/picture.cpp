#include "picture.h"

namespace fw {

void Picture::reset(IPictureDisp* picture) {
    IPictureDisp* old = m_picture;
    m_picture = picture;
    if (old) old->Release();
}

HRESULT Picture::CopyOut(IPictureDisp** out) const {
    if (!out) return E_POINTER;
    *out = m_picture;
    if (m_picture) m_picture->AddRef();
    return S_OK;
}

HRESULT CopyPicture(IUnknown* source, IPictureDisp** copy) {
    if (!copy) return E_POINTER;
    *copy = nullptr;
    if (!source) return E_POINTER;
    IPersistStream* persist = nullptr;
    HRESULT hr = source->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&persist));
    if (FAILED(hr)) return hr;
    if (!persist) return E_NOINTERFACE;
    IStream* stream = nullptr;
    hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    if (SUCCEEDED(hr)) {
        hr = persist->Save(stream, FALSE);
        if (SUCCEEDED(hr)) {
            LARGE_INTEGER start{};
            hr = stream->Seek(start, STREAM_SEEK_SET, nullptr);
        }
        if (SUCCEEDED(hr)) hr = OleLoadPicture(stream, 0, FALSE, IID_IPictureDisp, reinterpret_cast<void**>(copy));
        if (SUCCEEDED(hr) && !*copy) hr = E_FAIL;
        stream->Release();
    }
    persist->Release();
    if (FAILED(hr) && *copy) {
        (*copy)->Release();
        *copy = nullptr;
    }
    return hr;
}

HRESULT PutPictureCopy(Picture& held, IPictureDisp* picture, const PictureSetter& setter) {
    if (setter.requestEdit() == S_FALSE) return S_OK;
    IPictureDisp* copy = nullptr;
    if (picture) {
        HRESULT hr = CopyPicture(picture, &copy);
        if (FAILED(hr)) return hr;
    }
    held.reset(copy);
    setter.changed();
    return S_OK;
}

HRESULT PutPictureRef(Picture& held, IPictureDisp* picture, const PictureSetter& setter) {
    if (setter.requestEdit() == S_FALSE) return S_OK;
    if (picture) picture->AddRef();
    held.reset(picture);
    setter.changed();
    return S_OK;
}

}  // namespace fw

#include "picture.h"

#include "picture_data.h"

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

namespace {

// Refuses saved picture data that the platform's reader would follow out of
// bounds; any object can implement the picture's persistence.
HRESULT CheckSaved(IStream* stream) {
    STATSTG st{};
    HRESULT hr = stream->Stat(&st, STATFLAG_NONAME);
    if (FAILED(hr)) return hr;
    HGLOBAL memory = nullptr;
    hr = GetHGlobalFromStream(stream, &memory);
    if (FAILED(hr)) return hr;
    const size_t size = static_cast<size_t>(st.cbSize.QuadPart);
    if (size == 0) return S_OK;  // nothing that reaches a reader
    const BYTE* bytes = static_cast<const BYTE*>(GlobalLock(memory));
    if (!bytes) return E_OUTOFMEMORY;
    const bool sound = SavedPictureSound(bytes, size);
    GlobalUnlock(memory);
    return sound ? S_OK : E_FAIL;
}

}  // namespace

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
        if (SUCCEEDED(hr)) hr = CheckSaved(stream);
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

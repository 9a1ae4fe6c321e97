#include "button.h"

const CLSID kStockPicturePage = {0x7EBDAAE2, 0x8120, 0x11CF, {0x89, 0x9F, 0x00, 0xAA, 0x00, 0x68, 0x8B, 0x10}};

namespace {

FW_PROPERTY_MAP(kSmartButtonMap, SMARTBUTTON_PROPERTIES, fw::PageRow(&CLSID_SBGeneralProp),
                fw::PageRow(&CLSID_SBTextProp));

const fw::ControlBase::Traits kSmartButtonTraits = {
    &CLSID_QEV_SmartButton,
    &IID_IQEV_SmartButton,
    &DIID__IQEV_SmartButtonEvents,
    &kSmartButtonMap,
    {13, 52, 53, 54, 55, 56, 57, 58, 59},
    L"QEV_SmartButtonWindow",
};

// A copy of the picture: saved into a growable stream and loaded back (the
// standard picture cannot tell its saved size beforehand).
HRESULT CopyPicture(IPictureDisp* source, IPictureDisp** copy) {
    *copy = nullptr;
    IPersistStream* ps = nullptr;
    HRESULT hr = source->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&ps));
    if (FAILED(hr)) return hr;
    IStream* stream = nullptr;
    hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    if (SUCCEEDED(hr)) hr = ps->Save(stream, FALSE);
    if (SUCCEEDED(hr)) {
        LARGE_INTEGER zero{};
        hr = stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    }
    if (SUCCEEDED(hr)) hr = OleLoadPicture(stream, 0, FALSE, IID_IPictureDisp, reinterpret_cast<void**>(copy));
    if (SUCCEEDED(hr) && !*copy) hr = E_FAIL;
    if (stream) stream->Release();
    ps->Release();
    return hr;
}

}  // namespace

const fw::PropMap& CQEV_SmartButton::Map() { return kSmartButtonMap; }

CQEV_SmartButton::CQEV_SmartButton()
    : fw::ControlBase(kSmartButtonTraits),
      m_Caption(SysAllocString(L"SButton")),
      m_FaceColor(GetSysColor(COLOR_BTNFACE)),
      m_CaptureColor(GetSysColor(COLOR_BTNFACE)),
      m_Text1(SysAllocString(L"")),
      m_Text2(SysAllocString(L"")),
      m_FocusColor(GetSysColor(COLOR_BTNFACE)),
      m_DisableColor(GetSysColor(COLOR_BTNFACE)) {
    CFontNotifyImpl::AttachTo(this);
}

CQEV_SmartButton::~CQEV_SmartButton() {
    if (m_region) DeleteObject(m_region);
    SysFreeString(m_Caption);
    SysFreeString(m_Text1);
    SysFreeString(m_Text2);
    if (m_Picture) m_Picture->Release();
}

STDMETHODIMP CQEV_SmartButton::get_Picture(IPictureDisp** p) {
    if (!p) return E_POINTER;
    *p = m_Picture;
    if (m_Picture) m_Picture->AddRef();
    return S_OK;
}

STDMETHODIMP CQEV_SmartButton::put_Picture(IPictureDisp* p) {
    if (FireOnRequestEdit(14) == S_FALSE) return S_OK;
    IPictureDisp* copy = nullptr;
    if (p) {
        // A picture that cannot be copied leaves the present one in place.
        HRESULT hr = CopyPicture(p, &copy);
        if (FAILED(hr)) return hr;
    }
    if (m_Picture) m_Picture->Release();
    m_Picture = copy;
    PropertyChanged(14);
    return S_OK;
}

STDMETHODIMP CQEV_SmartButton::putref_Picture(IPictureDisp* p) {
    if (FireOnRequestEdit(14) == S_FALSE) return S_OK;
    if (p) p->AddRef();
    if (m_Picture) m_Picture->Release();
    m_Picture = p;
    PropertyChanged(14);
    return S_OK;
}

// A disabled button ignores the mouse, so it must not keep a capture it could
// never release, in design mode as much as at run time.
void CQEV_SmartButton::OnEnabledChanged() {
    if (Enabled()) return;
    if (m_hwnd && GetCapture() == m_hwnd) ReleaseCapture();
    m_pressed = 0;
    m_hover = 0;
}

HRESULT CreateSmartButton(IUnknown* outer, REFIID iid, void** ppv) {
    return fw::CreateObject<CQEV_SmartButton>(outer, iid, ppv);
}

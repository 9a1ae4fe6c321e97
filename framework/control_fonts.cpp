// Control base: the stock font and its eight parts.
#include "control.h"

namespace fw {

// ---------------------------------------------------------------- fonts

void ControlBase::ReleaseFont(IFontDisp* next) {
    if (!m_font) return;
    // Disconnect the change sink from the font it watches, so a font that
    // outlives this control never calls into it; a font handed back again
    // (next) stays connected.
    if (m_font == m_connectedFont && next != m_connectedFont) {
        if (m_fontSinkCookie && *m_fontSinkCookie) {
            IConnectionPointContainer* cpc = nullptr;
            if (SUCCEEDED(m_font->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&cpc)))) {
                IConnectionPoint* cp = nullptr;
                if (SUCCEEDED(cpc->FindConnectionPoint(IID_IPropertyNotifySink, &cp))) {
                    cp->Unadvise(*m_fontSinkCookie);
                    cp->Release();
                }
                cpc->Release();
            }
            *m_fontSinkCookie = 0;
        }
        m_connectedFont = nullptr;
    }
    IFontDisp* f = m_font;
    m_font = nullptr;
    f->Release();
}

HRESULT ControlBase::GetFont(IFontDisp** out) {
    if (!out) return E_POINTER;
    *out = m_font;
    if (m_font) m_font->AddRef();
    return S_OK;
}

HRESULT ControlBase::PutFont(IFontDisp* font) {
    if (FireOnRequestEdit(m_traits.fontIds.font) == S_FALSE) return S_OK;
    ReleaseFont();
    if (!font) return S_OK;
    IFont* src = nullptr;
    if (FAILED(font->QueryInterface(IID_IFont, reinterpret_cast<void**>(&src))) || !src) return S_OK;
    IFont* clone = nullptr;
    HRESULT hr = src->Clone(&clone);
    src->Release();
    if (FAILED(hr) || !clone) return S_OK;
    clone->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(&m_font));
    clone->Release();
    PropertyChanged(m_traits.fontIds.font);
    return S_OK;
}

HRESULT ControlBase::PutRefFont(IFontDisp* font) {
    if (FireOnRequestEdit(m_traits.fontIds.font) == S_FALSE) return S_OK;
    if (font) font->AddRef();  // before the release: it may be the same font
    ReleaseFont(font);
    m_font = font;
    PropertyChanged(m_traits.fontIds.font);
    return S_OK;
}

namespace {

// The current font's IFont, or null (then the font parts do nothing).
IFont* FontOf(IFontDisp* disp) {
    IFont* f = nullptr;
    if (disp && FAILED(disp->QueryInterface(IID_IFont, reinterpret_cast<void**>(&f)))) f = nullptr;
    return f;
}

VARIANT_BOOL ToVariantBool(BOOL b) { return b == TRUE ? VARIANT_TRUE : VARIANT_FALSE; }

}  // namespace

// A font part getter: E_POINTER for a null result, S_OK and nothing done
// without a font.
template <class T, class Get>
static HRESULT FontPartGet(IFontDisp* disp, T* out, Get get) {
    if (!out) return E_POINTER;
    IFont* f = FontOf(disp);
    if (!f) return S_OK;
    HRESULT hr = get(f, out);
    f->Release();
    return FAILED(hr) ? hr : S_OK;
}

template <class Put>
static HRESULT FontPartPut(ControlBase* ctl, IFontDisp* disp, DISPID fontId, DISPID ownId, Put put) {
    IFont* f = FontOf(disp);
    if (!f) return S_OK;
    HRESULT hr = put(f);
    f->Release();
    if (FAILED(hr)) return hr;
    // The repaint comes from the font-change sink of the connected font.
    ctl->FireOnChanged(fontId);
    ctl->FireOnChanged(ownId);
    ctl->SetDirty(true);
    ctl->SendOnDataChange(0);
    return S_OK;
}

HRESULT ControlBase::GetFontName(BSTR* out) {
    return FontPartGet(m_font, out, [](IFont* f, BSTR* p) { return f->get_Name(p); });
}
HRESULT ControlBase::PutFontName(BSTR name) {
    return FontPartPut(this, m_font, m_traits.fontIds.font, m_traits.fontIds.name,
                       [name](IFont* f) { return f->put_Name(name); });
}
HRESULT ControlBase::GetFontSize(short* out) {
    return FontPartGet(m_font, out, [](IFont* f, short* p) {
        CY cy;
        HRESULT hr = f->get_Size(&cy);
        if (SUCCEEDED(hr)) *p = (short)(cy.Lo / 10000);  // whole points, truncated
        return hr;
    });
}
HRESULT ControlBase::PutFontSize(short size) {
    // Read back through the low 32 bits unsigned, -1 would become a font of
    // about 429,000 points. Zero stays: saved data may hold it.
    if (size < 0) return E_INVALIDARG;
    return FontPartPut(this, m_font, m_traits.fontIds.font, m_traits.fontIds.size, [size](IFont* f) {
        CY cy;
        cy.Lo = (ULONG)(size * 10000);
        cy.Hi = 0;
        return f->put_Size(cy);
    });
}

// The four style parts differ only in the IFont member they call.
#define FW_FONT_STYLE_PART(Part, idField)                                                          \
    HRESULT ControlBase::GetFont##Part(VARIANT_BOOL* out) {                                        \
        return FontPartGet(m_font, out, [](IFont* f, VARIANT_BOOL* p) {                            \
            BOOL b = FALSE;                                                                        \
            HRESULT hr = f->get_##Part(&b);                                                        \
            if (SUCCEEDED(hr)) *p = ToVariantBool(b);                                              \
            return hr;                                                                             \
        });                                                                                        \
    }                                                                                              \
    HRESULT ControlBase::PutFont##Part(VARIANT_BOOL v) {                                           \
        return FontPartPut(this, m_font, m_traits.fontIds.font, m_traits.fontIds.idField,          \
                           [v](IFont* f) { return f->put_##Part(v == VARIANT_TRUE ? TRUE : FALSE); }); \
    }

FW_FONT_STYLE_PART(Bold, bold)
FW_FONT_STYLE_PART(Italic, italic)
FW_FONT_STYLE_PART(Underline, underline)
FW_FONT_STYLE_PART(Strikethrough, strikethrough)
#undef FW_FONT_STYLE_PART

HRESULT ControlBase::GetFontWeight(short* out) {
    return FontPartGet(m_font, out, [](IFont* f, short* p) { return f->get_Weight(p); });
}
HRESULT ControlBase::PutFontWeight(short w) {
    return FontPartPut(this, m_font, m_traits.fontIds.font, m_traits.fontIds.weight,
                       [w](IFont* f) { return f->put_Weight(w); });
}
HRESULT ControlBase::GetFontCharset(short* out) {
    return FontPartGet(m_font, out, [](IFont* f, short* p) { return f->get_Charset(p); });
}
HRESULT ControlBase::PutFontCharset(short c) {
    return FontPartPut(this, m_font, m_traits.fontIds.font, m_traits.fontIds.charset,
                       [c](IFont* f) { return f->put_Charset(c); });
}

}  // namespace fw

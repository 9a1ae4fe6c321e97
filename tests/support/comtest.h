// Small helpers the control tests share: an owning interface pointer, saving
// and loading through memory streams, a picture made from BMP file data and
// a property bag over a map.
#pragma once
#include <doctest/doctest.h>
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <cstring>
#include <map>
#include <string>
#include <vector>
#include "recorders.h"

namespace testsupport {

template <class T>
struct Ptr {
    T* p = nullptr;
    Ptr() = default;
    Ptr(const Ptr&) = delete;
    Ptr& operator=(const Ptr&) = delete;
    ~Ptr() { reset(); }
    void reset() {
        if (p) p->Release();
        p = nullptr;
    }
    T** out() {
        reset();
        return &p;
    }
    void** pv() { return reinterpret_cast<void**>(out()); }
    T* operator->() const { return p; }
    operator T*() const { return p; }
};

inline IStream* NewStream() {
    IStream* s = nullptr;
    CreateStreamOnHGlobal(nullptr, TRUE, &s);
    return s;
}

// The whole content of a stream; the position is left at the start.
inline std::vector<BYTE> Bytes(IStream* s) {
    STATSTG st{};
    s->Stat(&st, STATFLAG_NONAME);
    std::vector<BYTE> out((size_t)st.cbSize.QuadPart);
    LARGE_INTEGER zero{};
    s->Seek(zero, STREAM_SEEK_SET, nullptr);
    ULONG read = 0;
    if (!out.empty()) s->Read(out.data(), (ULONG)out.size(), &read);
    s->Seek(zero, STREAM_SEEK_SET, nullptr);
    return out;
}

inline IStream* StreamOf(const std::vector<BYTE>& bytes) {
    IStream* s = NewStream();
    ULONG written = 0;
    s->Write(bytes.data(), (ULONG)bytes.size(), &written);
    LARGE_INTEGER zero{};
    s->Seek(zero, STREAM_SEEK_SET, nullptr);
    return s;
}

// IPersistStreamInit::Save into memory, and Load from bytes.
inline std::vector<BYTE> Save(IUnknown* ctl) {
    Ptr<IPersistStreamInit> ps;
    REQUIRE(ctl->QueryInterface(IID_IPersistStreamInit, ps.pv()) == S_OK);
    Ptr<IStream> s;
    s.p = NewStream();
    REQUIRE(ps->Save(s, TRUE) == S_OK);
    return Bytes(s);
}

inline HRESULT Load(IUnknown* ctl, const std::vector<BYTE>& bytes) {
    Ptr<IPersistStreamInit> ps;
    REQUIRE(ctl->QueryInterface(IID_IPersistStreamInit, ps.pv()) == S_OK);
    Ptr<IStream> s;
    s.p = StreamOf(bytes);
    return ps->Load(s);
}

// The data of a 24-bit BMP file of w x h pixels, every pixel `colour`.
// Pictures loaded from file data save and reload exactly; one made from an
// HBITMAP reloads white on this platform.
inline std::vector<BYTE> BmpFile(int w, int h, COLORREF colour) {
    const int row = (w * 3 + 3) / 4 * 4;
    std::vector<BYTE> f(54 + (size_t)row * h, 0);
    auto put32 = [&](size_t at, DWORD v) { memcpy(&f[at], &v, 4); };
    f[0] = 'B';
    f[1] = 'M';
    put32(2, (DWORD)f.size());
    put32(10, 54);
    put32(14, 40);
    put32(18, (DWORD)w);
    put32(22, (DWORD)h);
    f[26] = 1;
    f[28] = 24;
    put32(34, (DWORD)row * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            BYTE* p = &f[54 + (size_t)y * row + (size_t)x * 3];
            p[0] = GetBValue(colour);
            p[1] = GetGValue(colour);
            p[2] = GetRValue(colour);
        }
    return f;
}

// A picture loaded from file data (OleLoadPicture).
inline IPictureDisp* PictureOf(const std::vector<BYTE>& file) {
    Ptr<IStream> s;
    s.p = StreamOf(file);
    IPictureDisp* pic = nullptr;
    REQUIRE(OleLoadPicture(s, 0, FALSE, IID_IPictureDisp, reinterpret_cast<void**>(&pic)) == S_OK);
    return pic;
}

// A property bag over a map, as a container keeps it.
class Bag : public IPropertyBag {
public:
    std::map<std::wstring, Variant> values;
    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyBag)) {
            *ppv = this;
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP Read(LPCOLESTR name, VARIANT* v, IErrorLog*) override {
        auto it = values.find(name);
        if (it == values.end()) return E_INVALIDARG;
        VARTYPE want = V_VT(v);
        VariantClear(v);
        if (want == VT_EMPTY || want == it->second.vt()) return VariantCopy(v, &it->second.v);
        return VariantChangeType(v, &it->second.v, 0, want);
    }
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* v) override {
        values[name] = Variant(*v);
        return S_OK;
    }
};

}  // namespace testsupport

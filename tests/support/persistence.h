// Saving and loading controls in tests: memory streams, the saved bytes of a
// control, a builder of tagged values laid out as the saved stream lays
// them out, and a property bag over a map, as a container keeps one.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <algorithm>
#include <map>
#include <string>
#include <vector>
#include "recorders.h"

namespace testsupport {

inline IStream* NewStream() {
    IStream* s = nullptr;
    CreateStreamOnHGlobal(nullptr, TRUE, &s);
    return s;
}

// Everything the stream holds; the stream is left at its start.
inline std::vector<BYTE> StreamBytes(IStream* s) {
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

// A memory stream holding the bytes, at its start.
inline IStream* StreamOf(const std::vector<BYTE>& bytes) {
    IStream* s = NewStream();
    ULONG written = 0;
    if (!bytes.empty()) s->Write(bytes.data(), (ULONG)bytes.size(), &written);
    LARGE_INTEGER zero{};
    s->Seek(zero, STREAM_SEEK_SET, nullptr);
    return s;
}

// IPersistStreamInit::Save (clearing the dirty flag) into a new stream.
inline HRESULT SaveControl(IUnknown* control, std::vector<BYTE>& bytes) {
    IPersistStreamInit* ps = nullptr;
    HRESULT hr = control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&ps));
    if (FAILED(hr)) return hr;
    IStream* s = NewStream();
    hr = ps->Save(s, TRUE);
    if (SUCCEEDED(hr)) bytes = StreamBytes(s);
    s->Release();
    ps->Release();
    return hr;
}

// IPersistStreamInit::Load from the bytes.
inline HRESULT LoadControl(IUnknown* control, const std::vector<BYTE>& bytes) {
    IPersistStreamInit* ps = nullptr;
    HRESULT hr = control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&ps));
    if (FAILED(hr)) return hr;
    IStream* s = StreamOf(bytes);
    hr = ps->Load(s);
    s->Release();
    ps->Release();
    return hr;
}

// Appends little-endian values the way the saved stream lays them out.
struct TaggedBytes {
    std::vector<BYTE> b;
    template <class T>
    TaggedBytes& raw(T v) {
        const BYTE* p = reinterpret_cast<const BYTE*>(&v);
        b.insert(b.end(), p, p + sizeof(T));
        return *this;
    }
    TaggedBytes& tag(VARTYPE vt) { return raw<USHORT>(vt); }
    TaggedBytes& color(DWORD c) { return tag(VT_UI4).raw<DWORD>(c); }
    TaggedBytes& boolean(bool v) { return tag(VT_BOOL).raw<SHORT>(v ? -1 : 0); }
    TaggedBytes& i2(SHORT v) { return tag(VT_I2).raw<SHORT>(v); }
    TaggedBytes& i4(LONG v) { return tag(VT_I4).raw<LONG>(v); }
    TaggedBytes& r4(float v) { return tag(VT_R4).raw<float>(v); }
    TaggedBytes& r8(double v) { return tag(VT_R8).raw<double>(v); }
    TaggedBytes& str(const std::wstring& s) {
        tag(VT_BSTR).raw<DWORD>((DWORD)(s.size() + 1) * 2);
        for (wchar_t c : s) raw<USHORT>(c);
        return raw<USHORT>(0);
    }
    // An object row with no object: the null class id alone.
    TaggedBytes& nullObject() {
        tag(VT_DISPATCH);
        for (int i = 0; i < 4; ++i) raw<DWORD>(0);
        return *this;
    }
};

// Where `needle` first stands in `hay` from `from` on; npos when nowhere.
inline size_t FindBytes(const std::vector<BYTE>& hay, const std::vector<BYTE>& needle, size_t from = 0) {
    for (size_t i = from; i + needle.size() <= hay.size(); ++i)
        if (std::equal(needle.begin(), needle.end(), hay.begin() + i)) return i;
    return std::string::npos;
}

// A property bag over a map, as a container keeps it. Reads convert to the
// type the caller asks for (with `coerce` off they hand out what is kept, like
// a container that keeps text); a missing key answers E_INVALIDARG.
class MapBag : public IPropertyBag {
public:
    std::map<std::wstring, Variant> values;
    bool coerce = true;
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
        if (!coerce || want == VT_EMPTY || want == it->second.vt()) return VariantCopy(v, &it->second.v);
        return VariantChangeType(v, &it->second.v, 0, want);
    }
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* v) override {
        values[name] = Variant(*v);
        return S_OK;
    }
};

}  // namespace testsupport

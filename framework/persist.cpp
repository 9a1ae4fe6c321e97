// Saving and loading a control's properties to streams and property bags,
// row by row through its property map.
//
// Stream layout (little-endian): the version word, then per row in map
// order: data rows as the member's raw bytes, property rows as a tagged
// value (16-bit VARTYPE, then the value). The controls are marked safe for
// untrusted data, so every read here is bounded by what the stream really
// holds, and an object is created only on a row whose property holds one and
// only of that property's class (the standard font or picture).
#include "propmap.h"

#include <olectl.h>
#include <cstring>
#include <new>
#include <vector>

#include "picture_data.h"

namespace fw {
namespace {

// Strings and pictures of unknown length arrive in pieces of this size, so
// a forged length costs no more memory than the data that really follows.
constexpr ULONG kReadChunk = 64 * 1024;
// Text forms of values are locale-independent, so a saved form reads back
// the same on every machine.
constexpr LCID kTextLocale = LOCALE_INVARIANT;

// Byte size of a value that is written raw; 0 for every other encoding.
size_t RawSize(VARTYPE vt) {
    switch (vt) {
    case VT_UI1: case VT_I1:
        return 1;
    case VT_I2: case VT_UI2: case VT_BOOL:
        return 2;
    case VT_I4: case VT_UI4: case VT_R4: case VT_INT: case VT_UINT: case VT_ERROR:
        return 4;
    case VT_R8: case VT_CY: case VT_DATE: case VT_I8: case VT_UI8:
        return 8;
    default:
        return 0;
    }
}

bool IsObjectType(VARTYPE vt) { return vt == VT_DISPATCH || vt == VT_UNKNOWN; }

bool IsIntegerType(VARTYPE vt) {
    switch (vt) {
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4:
    case VT_INT: case VT_UINT: case VT_I8: case VT_UI8:
        return true;
    default:
        return false;
    }
}

// Types kept as their text: the one plain value type with no raw form. Any
// other tag (empty, null, variant, arrays, references, records, unknown
// numbers) is not part of the format.
bool IsTextType(VARTYPE vt) { return vt == VT_DECIMAL; }

bool IsKnownTag(VARTYPE vt) {
    return RawSize(vt) != 0 || IsObjectType(vt) || vt == VT_BSTR || IsTextType(vt);
}

// Owns a VARIANT for the length of a scope.
struct Var : VARIANT {
    Var() { VariantInit(this); }
    ~Var() { VariantClear(this); }
    Var(const Var&) = delete;
    Var& operator=(const Var&) = delete;
};

template <class T>
struct Ref {
    T* p = nullptr;
    ~Ref() {
        if (p) p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

// ----- stream primitives

// Reads exactly cb bytes. A failing stream gives its status; a stream that
// ends early gives E_FAIL.
HRESULT ReadExact(IStream* s, void* buf, ULONG cb) {
    BYTE* at = static_cast<BYTE*>(buf);
    while (cb) {
        ULONG got = 0;
        HRESULT hr = s->Read(at, cb, &got);
        if (FAILED(hr)) return hr;
        if (got == 0 || got > cb) return E_FAIL;
        at += got;
        cb -= got;
    }
    return S_OK;
}

HRESULT WriteAll(IStream* s, const void* buf, ULONG cb) {
    const BYTE* at = static_cast<const BYTE*>(buf);
    while (cb) {
        ULONG put = 0;
        HRESULT hr = s->Write(at, cb, &put);
        if (FAILED(hr)) return hr;
        if (put == 0 || put > cb) return STG_E_MEDIUMFULL;
        at += put;
        cb -= put;
    }
    return S_OK;
}

// Bytes left between the seek position and the end, when the stream can
// tell.
bool BytesLeft(IStream* s, ULONGLONG& left) {
    STATSTG st{};
    HRESULT hr = s->Stat(&st, STATFLAG_NONAME);
    if (st.pwcsName) CoTaskMemFree(st.pwcsName);
    if (FAILED(hr)) return false;
    LARGE_INTEGER zero{};
    ULARGE_INTEGER pos{};
    if (FAILED(s->Seek(zero, STREAM_SEEK_CUR, &pos))) return false;
    left = st.cbSize.QuadPart > pos.QuadPart ? st.cbSize.QuadPart - pos.QuadPart : 0;
    return true;
}

// Appends a block whose length came from the stream itself. A length beyond
// the stream's end is refused up front; when the stream cannot tell its
// size the block grows only as the bytes arrive.
HRESULT ReadBlock(IStream* s, ULONG count, std::vector<BYTE>& out) {
    ULONGLONG left = 0;
    if (BytesLeft(s, left) && count > left) return E_FAIL;
    try {
        while (count) {
            ULONG step = count < kReadChunk ? count : kReadChunk;
            size_t at = out.size();
            out.resize(at + step);
            HRESULT hr = ReadExact(s, out.data() + at, step);
            if (FAILED(hr)) return hr;
            count -= step;
        }
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

// A growable memory stream holding the given bytes, positioned at the start.
HRESULT MemoryStream(const std::vector<BYTE>& bytes, IStream** out) {
    *out = nullptr;
    IStream* s = nullptr;
    HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, &s);
    if (FAILED(hr)) return hr;
    hr = WriteAll(s, bytes.data(), static_cast<ULONG>(bytes.size()));
    LARGE_INTEGER zero{};
    if (SUCCEEDED(hr)) hr = s->Seek(zero, STREAM_SEEK_SET, nullptr);
    if (FAILED(hr)) {
        s->Release();
        return hr;
    }
    *out = s;
    return S_OK;
}

// ----- strings: u32 byte count with the terminator, UTF-16LE, terminator

HRESULT WriteString(IStream* s, BSTR str) {
    if (!str) {
        DWORD zero = 0;
        return WriteAll(s, &zero, 4);
    }
    ULONGLONG bytes = (static_cast<ULONGLONG>(SysStringLen(str)) + 1) * sizeof(WCHAR);
    if (bytes > 0xFFFFFFFFull) return E_FAIL;
    DWORD count = static_cast<DWORD>(bytes);
    HRESULT hr = WriteAll(s, &count, 4);
    if (FAILED(hr)) return hr;
    // The BSTR's own terminator follows its characters.
    return WriteAll(s, str, count);
}

// Count 0 is the null string. Any other count must be even, cover at least
// the terminator and fit in what the stream holds. The last code unit is the
// terminator's place and never becomes part of the string, whatever it holds.
HRESULT ReadString(IStream* s, BSTR* out) {
    *out = nullptr;
    DWORD count = 0;
    HRESULT hr = ReadExact(s, &count, 4);
    if (FAILED(hr)) return hr;
    if (count == 0) return S_OK;
    if (count < sizeof(WCHAR) || count % sizeof(WCHAR) != 0) return E_FAIL;
    std::vector<BYTE> bytes;
    hr = ReadBlock(s, count, bytes);
    if (FAILED(hr)) return hr;
    UINT chars = count / sizeof(WCHAR) - 1;
    BSTR str = SysAllocStringLen(nullptr, chars);
    if (!str) return E_OUTOFMEMORY;
    memcpy(str, bytes.data(), chars * sizeof(WCHAR));
    *out = str;
    return S_OK;
}

// ----- objects: class id, then the object's own saved data

template <class P>
HRESULT SaveObjectThrough(P* persist, IStream* s) {
    CLSID clsid;
    HRESULT hr = persist->GetClassID(&clsid);
    if (FAILED(hr)) return hr;
    hr = WriteAll(s, &clsid, sizeof clsid);
    if (FAILED(hr)) return hr;
    return persist->Save(s, TRUE);
}

HRESULT WriteObject(IStream* s, IUnknown* obj) {
    if (!obj) return WriteAll(s, &CLSID_NULL, sizeof(CLSID));
    Ref<IPersistStream> ps;
    if (SUCCEEDED(obj->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&ps))) && ps)
        return SaveObjectThrough(ps.p, s);
    Ref<IPersistStreamInit> psi;
    if (SUCCEEDED(obj->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&psi))) && psi)
        return SaveObjectThrough(psi.p, s);
    return E_FAIL;
}

// Byte size of an object's saved data.
HRESULT ObjectDataSize(IUnknown* obj, ULONGLONG& size) {
    size = 0;
    if (!obj) return S_OK;
    Ref<IPersistStream> ps;
    if (SUCCEEDED(obj->QueryInterface(IID_IPersistStream, reinterpret_cast<void**>(&ps))) && ps) {
        ULARGE_INTEGER max{};
        if (SUCCEEDED(ps->GetSizeMax(&max))) {
            size = max.QuadPart;
            return S_OK;
        }
    }
    // Objects that cannot tell (the standard picture) are measured by saving
    // them into memory.
    Ref<IStream> mem;
    HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, &mem);
    if (FAILED(hr)) return hr;
    hr = WriteObject(mem.p, obj);
    if (FAILED(hr)) return hr;
    STATSTG st{};
    hr = mem->Stat(&st, STATFLAG_NONAME);
    if (FAILED(hr)) return hr;
    size = st.cbSize.QuadPart - sizeof(CLSID);
    return S_OK;
}

// Hands the object exactly the bytes read for it, so it can neither read
// past its data nor leave the stream in the middle of it.
HRESULT LoadObjectFrom(const std::vector<BYTE>& bytes, IPersistStream* ps) {
    Ref<IStream> mem;
    HRESULT hr = MemoryStream(bytes, &mem);
    if (FAILED(hr)) return hr;
    return ps->Load(mem.p);
}

// Font data: u8 version, u16 charset, u8 attributes, u16 weight, u32 size,
// u8 name length, the name.
HRESULT LoadFont(IStream* s, IUnknown** out) {
    std::vector<BYTE> bytes(11);
    HRESULT hr = ReadExact(s, bytes.data(), 11);
    if (FAILED(hr)) return hr;
    BYTE nameLen = bytes[10];
    bytes.resize(11 + nameLen);
    hr = ReadExact(s, bytes.data() + 11, nameLen);
    if (FAILED(hr)) return hr;
    // Every field of this description is replaced by the loaded data.
    FONTDESC fd{sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {80000, 0}, FW_NORMAL, DEFAULT_CHARSET,
                FALSE, FALSE, FALSE};
    Ref<IPersistStream> ps;
    hr = OleCreateFontIndirect(&fd, IID_IPersistStream, reinterpret_cast<void**>(&ps));
    if (FAILED(hr)) return hr;
    hr = LoadObjectFrom(bytes, ps.p);
    if (FAILED(hr)) return hr;
    return ps->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(out));
}

// Picture data: u32 0x746C, u32 byte count, the picture file, whose
// structure is checked before any object is created.
HRESULT LoadPicture(IStream* s, IUnknown** out) {
    DWORD header[2];
    HRESULT hr = ReadExact(s, header, sizeof header);
    if (FAILED(hr)) return hr;
    if (header[0] != kPictureMagic) return E_FAIL;
    std::vector<BYTE> bytes(reinterpret_cast<BYTE*>(header), reinterpret_cast<BYTE*>(header) + sizeof header);
    hr = ReadBlock(s, header[1], bytes);
    if (FAILED(hr)) return hr;
    // The platform's readers trust the file's own offsets and sizes.
    if (!PictureDataSound(bytes.data() + sizeof header, bytes.size() - sizeof header)) return E_FAIL;
    Ref<IPersistStream> ps;
    hr = OleCreatePictureIndirect(nullptr, IID_IPersistStream, TRUE, reinterpret_cast<void**>(&ps));
    if (FAILED(hr)) return hr;
    hr = LoadObjectFrom(bytes, ps.p);
    if (FAILED(hr)) return hr;
    return ps->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(out));
}

// An object tag on a row whose property holds no object is refused before its
// class is read; a class other than the property's own (or the null class)
// is refused before anything is created.
HRESULT ReadObject(IStream* s, VARTYPE tag, const PropRow& row, VARIANT* v) {
    if (!row.object) return E_FAIL;
    CLSID clsid;
    HRESULT hr = ReadExact(s, &clsid, sizeof clsid);
    if (FAILED(hr)) return hr;
    Ref<IUnknown> obj;
    if (IsEqualCLSID(clsid, CLSID_NULL)) hr = S_OK;
    else if (!IsEqualCLSID(clsid, *row.object)) return E_FAIL;
    else if (IsEqualCLSID(clsid, CLSID_StdFont)) hr = LoadFont(s, &obj);
    else if (IsEqualCLSID(clsid, CLSID_StdPicture)) hr = LoadPicture(s, &obj);
    else return E_FAIL;
    if (FAILED(hr)) return hr;
    if (tag == VT_DISPATCH) {
        IDispatch* d = nullptr;
        if (obj && FAILED(obj->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&d)))) return E_FAIL;
        v->vt = VT_DISPATCH;
        v->pdispVal = d;
    } else {
        v->vt = VT_UNKNOWN;
        v->punkVal = obj.p;
        obj.p = nullptr;
    }
    return S_OK;
}

// ----- tagged values

HRESULT WriteTagged(IStream* s, VARTYPE vt, VARIANT& value) {
    HRESULT hr = WriteAll(s, &vt, sizeof vt);
    if (FAILED(hr)) return hr;
    if (size_t raw = RawSize(vt)) return WriteAll(s, &value.bVal, static_cast<ULONG>(raw));
    if (vt == VT_BSTR) return WriteString(s, value.bstrVal);
    if (IsObjectType(vt)) return WriteObject(s, value.punkVal);
    Var text;
    if (FAILED(VariantChangeTypeEx(&text, &value, kTextLocale, 0, VT_BSTR))) return E_FAIL;
    return WriteString(s, text.bstrVal);
}

HRESULT ReadTagged(IStream* s, const PropRow& row, VARIANT* v) {
    VARTYPE tag = VT_EMPTY;
    HRESULT hr = ReadExact(s, &tag, sizeof tag);
    if (FAILED(hr)) return hr;
    if (!IsKnownTag(tag)) return E_FAIL;
    if (size_t raw = RawSize(tag)) {
        hr = ReadExact(s, &v->bVal, static_cast<ULONG>(raw));
        if (FAILED(hr)) return hr;
        v->vt = tag;
        return S_OK;
    }
    if (IsObjectType(tag)) return ReadObject(s, tag, row, v);
    BSTR str = nullptr;
    hr = ReadString(s, &str);
    if (FAILED(hr)) return hr;
    if (tag == VT_BSTR) {
        v->vt = VT_BSTR;
        v->bstrVal = str;
        return S_OK;
    }
    Var text;
    text.vt = VT_BSTR;
    text.bstrVal = str;
    return FAILED(VariantChangeTypeEx(v, &text, kTextLocale, 0, tag)) ? E_FAIL : S_OK;
}

// Byte size of a tagged value as WriteTagged writes it.
HRESULT TaggedSize(VARTYPE vt, VARIANT& value, ULONGLONG& size) {
    size = sizeof(VARTYPE);
    if (size_t raw = RawSize(vt)) {
        size += raw;
        return S_OK;
    }
    if (IsObjectType(vt)) {
        ULONGLONG data = 0;
        HRESULT hr = ObjectDataSize(value.punkVal, data);
        if (FAILED(hr)) return hr;
        size += sizeof(CLSID) + data;
        return S_OK;
    }
    Var text;
    BSTR str = value.bstrVal;
    if (vt != VT_BSTR) {
        if (FAILED(VariantChangeTypeEx(&text, &value, kTextLocale, 0, VT_BSTR))) return E_FAIL;
        str = text.bstrVal;
    }
    size += 4 + (str ? (static_cast<ULONGLONG>(SysStringLen(str)) + 1) * sizeof(WCHAR) : 0);
    return S_OK;
}

// Brings a value to the given type. Integers of the same width only change
// their tag, so a colour with the high bit set that arrives as VT_I4 stays
// the same bits as VT_UI4 instead of overflowing.
HRESULT ToType(VARIANT* v, VARTYPE vt) {
    if (v->vt == vt) return S_OK;
    if (IsIntegerType(v->vt) && IsIntegerType(vt) && RawSize(v->vt) == RawSize(vt)) {
        v->vt = vt;
        return S_OK;
    }
    return VariantChangeTypeEx(v, v, kTextLocale, 0, vt);
}

// ----- properties through IDispatch

void ClearExcepInfo(EXCEPINFO& ei) {
    SysFreeString(ei.bstrSource);
    SysFreeString(ei.bstrDescription);
    SysFreeString(ei.bstrHelpFile);
}

// The property's current value in the row's type. Object rows take the
// object as it comes (dispatch or unknown, possibly null).
HRESULT GetProperty(IDispatch* disp, const PropRow& row, VARIANT* out) {
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXCEPINFO ei{};
    HRESULT hr = disp->Invoke(row.dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, out, &ei,
                              nullptr);
    ClearExcepInfo(ei);
    if (FAILED(hr)) {
        VariantClear(out);
        return E_FAIL;
    }
    if (IsObjectType(row.vt)) {
        if (out->vt == VT_DISPATCH || out->vt == VT_UNKNOWN) return S_OK;
        if (out->vt == VT_EMPTY || out->vt == VT_NULL) {
            VariantClear(out);
            out->vt = row.vt;
            out->punkVal = nullptr;
            return S_OK;
        }
        VariantClear(out);
        return E_FAIL;
    }
    if (FAILED(ToType(out, row.vt))) {
        VariantClear(out);
        return E_FAIL;
    }
    return S_OK;
}

// Sets through the property's setter, so the control's whole setter
// protocol runs.
HRESULT PutProperty(IDispatch* disp, DISPID dispid, VARIANT* value) {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{value, &named, 1, 1};
    EXCEPINFO ei{};
    HRESULT hr = disp->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, &ei,
                              nullptr);
    ClearExcepInfo(ei);
    return FAILED(hr) ? E_FAIL : S_OK;
}

// An object a bag hands over fits a row only when the row's property holds
// objects of its class.
bool IsOfClass(IUnknown* obj, const CLSID* wanted) {
    if (!wanted) return false;
    Ref<IPersist> persist;
    if (FAILED(obj->QueryInterface(IID_IPersist, reinterpret_cast<void**>(&persist))) || !persist) return false;
    CLSID clsid;
    return SUCCEEDED(persist->GetClassID(&clsid)) && IsEqualCLSID(clsid, *wanted);
}

bool IsNullObject(const VARIANT& v) { return IsObjectType(v.vt) && v.punkVal == nullptr; }

}  // namespace

HRESULT SaveToStream(IStream* stream, IDispatch* disp, const PropMap& map, const void* data) {
    if (!stream || !disp) return E_POINTER;
    DWORD version = kStreamVersion;
    HRESULT hr = WriteAll(stream, &version, sizeof version);
    if (FAILED(hr)) return hr;
    for (size_t i = 0; i < map.count; ++i) {
        const PropRow& row = map.rows[i];
        if (row.kind == RowKind::Data) {
            hr = WriteAll(stream, static_cast<const BYTE*>(data) + row.offset, static_cast<ULONG>(row.size));
        } else if (row.kind == RowKind::Property) {
            // A type the load could not read back is refused here rather
            // than written.
            if (!IsKnownTag(row.vt) || (IsObjectType(row.vt) && !row.object)) return E_FAIL;
            Var value;
            hr = GetProperty(disp, row, &value);
            if (SUCCEEDED(hr)) hr = WriteTagged(stream, row.vt, value);
        }
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

HRESULT LoadFromStream(IStream* stream, IDispatch* disp, const PropMap& map, void* data) {
    if (!stream || !disp) return E_POINTER;
    DWORD version = 0;
    HRESULT hr = ReadExact(stream, &version, sizeof version);
    if (FAILED(hr)) return hr;
    if (version > kStreamVersion) return E_FAIL;
    for (size_t i = 0; i < map.count; ++i) {
        const PropRow& row = map.rows[i];
        if (row.kind == RowKind::Data) {
            // Read whole before storing, so a short stream leaves the member
            // as it was.
            BYTE buf[16];
            if (row.size > sizeof buf) return E_UNEXPECTED;
            hr = ReadExact(stream, buf, static_cast<ULONG>(row.size));
            if (FAILED(hr)) return hr;
            memcpy(static_cast<BYTE*>(data) + row.offset, buf, row.size);
        } else if (row.kind == RowKind::Property) {
            Var value;
            hr = ReadTagged(stream, row, &value);
            if (FAILED(hr)) return hr;
            hr = PutProperty(disp, row.dispid, &value);
            if (FAILED(hr)) return hr;
        }
    }
    return S_OK;
}

HRESULT SaveToBag(IPropertyBag* bag, IDispatch* disp, const PropMap& map, const void* data, BOOL /*saveAll*/) {
    if (!bag || !disp) return E_POINTER;
    for (size_t i = 0; i < map.count; ++i) {
        const PropRow& row = map.rows[i];
        if (row.kind == RowKind::Page) continue;
        Var value;
        if (row.kind == RowKind::Data) {
            if (RawSize(row.vt) != row.size) return E_UNEXPECTED;
            memcpy(&value.bVal, static_cast<const BYTE*>(data) + row.offset, row.size);
            value.vt = row.vt;
        } else {
            HRESULT hr = GetProperty(disp, row, &value);
            if (FAILED(hr)) return hr;
            if (IsNullObject(value)) continue;  // a null object is left out of the bag
        }
        HRESULT hr = bag->Write(row.name, &value);
        if (FAILED(hr)) return hr;
    }
    return S_OK;
}

HRESULT LoadFromBag(IPropertyBag* bag, IErrorLog* log, IDispatch* disp, const PropMap& map, void* data) {
    if (!bag || !disp) return E_POINTER;
    for (size_t i = 0; i < map.count; ++i) {
        const PropRow& row = map.rows[i];
        if (row.kind == RowKind::Data) {
            if (RawSize(row.vt) != row.size) return E_UNEXPECTED;
            Var value;
            value.vt = row.vt;
            // A key the bag does not have is no error.
            if (FAILED(bag->Read(row.name, &value, log))) continue;
            if (FAILED(ToType(&value, row.vt))) return E_FAIL;
            memcpy(static_cast<BYTE*>(data) + row.offset, &value.bVal, row.size);
        } else if (row.kind == RowKind::Property) {
            Var current;
            HRESULT hr = GetProperty(disp, row, &current);
            if (FAILED(hr)) return hr;
            // Ask for the type the property has now; the current object
            // itself is not handed to the bag.
            Var value;
            value.vt = current.vt;
            if (FAILED(bag->Read(row.name, &value, log))) continue;
            if (IsObjectType(value.vt) && value.punkVal && !IsOfClass(value.punkVal, row.object)) return E_FAIL;
            hr = PutProperty(disp, row.dispid, &value);
            if (FAILED(hr)) return hr;
        }
    }
    return S_OK;
}

HRESULT SizeMax(IDispatch* disp, const PropMap& map, ULARGE_INTEGER* size) {
    if (!size) return E_POINTER;
    size->QuadPart = 0;
    if (!disp) return E_POINTER;
    ULONGLONG total = sizeof(DWORD);
    for (size_t i = 0; i < map.count; ++i) {
        const PropRow& row = map.rows[i];
        if (row.kind == RowKind::Data) {
            total += row.size;
        } else if (row.kind == RowKind::Property) {
            if (!IsKnownTag(row.vt)) return E_FAIL;
            Var value;
            HRESULT hr = GetProperty(disp, row, &value);
            if (FAILED(hr)) return hr;
            ULONGLONG bytes = 0;
            hr = TaggedSize(row.vt, value, bytes);
            if (FAILED(hr)) return hr;
            total += bytes;
        }
    }
    size->QuadPart = total;
    return S_OK;
}

size_t MapPages(const PropMap& map, CLSID* out, size_t max) {
    size_t n = 0;
    for (size_t i = 0; i < map.count && n < max; ++i) {
        const CLSID* page = map.rows[i].page;
        if (!page || map.rows[i].kind == RowKind::Data) continue;
        bool seen = false;
        for (size_t j = 0; j < n && !seen; ++j) seen = IsEqualCLSID(out[j], *page) != 0;
        if (!seen) out[n++] = *page;
    }
    return n;
}

}  // namespace fw

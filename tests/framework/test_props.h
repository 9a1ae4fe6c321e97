// Test doubles for the persistence tests: an automation object whose
// properties are plain members (standing in for a control) and a property
// bag over a map of VARIANTs (standing in for a container's bag).
#pragma once
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <map>
#include <string>
#include <vector>

namespace test {

// Properties of the kinds a control persists: colour, Boolean, double,
// short, enumeration, float, string, font, picture, plus a decimal (kept as
// text in streams). Setters take their argument the way a type-library
// Invoke does: only with the named argument DISPID_PROPERTYPUT, coerced to
// the property's type.
class TestProps : public IDispatch {
public:
    enum : DISPID {
        kColor = 1,
        kFlag = 3,
        kMax = 4,
        kCount = 6,
        kUnit = 11,
        kStyle = 12,
        kRate = 26,
        kFont = 33,
        kMarker = 43,
        kPicture = 80,
        kAmount = 81,
    };

    OLE_COLOR color = 0x00F5F5F5;
    VARIANT_BOOL flag = VARIANT_FALSE;
    double maxVal = 100.0;
    short count = 6;
    BSTR unit = SysAllocString(L"");
    LONG style = 0;
    float rate = 0.5f;
    IFontDisp* font = nullptr;
    VARIANT_BOOL marker = VARIANT_TRUE;
    IPictureDisp* picture = nullptr;
    DECIMAL amount{};

    bool colorAsI4 = false;           // the colour getter answers VT_I4
    DISPID failGet = DISPID_UNKNOWN;  // this getter answers E_UNEXPECTED
    DISPID failPut = DISPID_UNKNOWN;  // this setter answers E_INVALIDARG
    std::vector<DISPID> puts;          // setters that ran, in order
    std::vector<WORD> fontPutFlags;    // Invoke flags of each Font put

    TestProps() { VarDecFromI4(0, &amount); }
    virtual ~TestProps() {
        SysFreeString(unit);
        if (font) font->Release();
        if (picture) picture->Release();
    }

    // Stores a copy of the font, as the controls' put_Font does.
    void SetFont(IFontDisp* f) {
        IFontDisp* copy = nullptr;
        if (f) copy = CloneFont(f);
        if (font) font->Release();
        font = copy;
    }
    static IFontDisp* CloneFont(IFontDisp* f) {
        IFont* src = nullptr;
        IFont* clone = nullptr;
        IFontDisp* out = nullptr;
        if (SUCCEEDED(f->QueryInterface(IID_IFont, reinterpret_cast<void**>(&src)))) {
            if (SUCCEEDED(src->Clone(&clone))) {
                clone->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(&out));
                clone->Release();
            }
            src->Release();
        }
        return out;
    }

    // IUnknown: the tests own the object on the stack; counting is kept
    // only so the platform's calls balance.
    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *ppv = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override { return --m_refs; }

    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        *n = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override {
        if (flags & DISPATCH_PROPERTYGET) {
            if (!result) return E_POINTER;
            if (id == failGet) return E_UNEXPECTED;
            return Get(id, result);
        }
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            if (!params || params->cArgs != 1 || params->cNamedArgs != 1 ||
                params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
                return DISP_E_PARAMNOTFOUND;
            if (id == failPut) return E_INVALIDARG;
            if (id == kFont) fontPutFlags.push_back(flags);
            HRESULT hr = Put(id, &params->rgvarg[0]);
            if (SUCCEEDED(hr)) puts.push_back(id);
            return hr;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

private:
    HRESULT Get(DISPID id, VARIANT* r) {
        VariantInit(r);
        switch (id) {
        case kColor: r->vt = colorAsI4 ? VT_I4 : VT_UI4; r->ulVal = color; return S_OK;
        case kFlag: r->vt = VT_BOOL; r->boolVal = flag; return S_OK;
        case kMax: r->vt = VT_R8; r->dblVal = maxVal; return S_OK;
        case kCount: r->vt = VT_I2; r->iVal = count; return S_OK;
        case kUnit:
            r->vt = VT_BSTR;
            r->bstrVal = unit ? SysAllocStringLen(unit, SysStringLen(unit)) : nullptr;
            return S_OK;
        case kStyle: r->vt = VT_I4; r->lVal = style; return S_OK;
        case kRate: r->vt = VT_R4; r->fltVal = rate; return S_OK;
        case kFont:
            r->vt = VT_DISPATCH;
            r->pdispVal = font;
            if (font) font->AddRef();
            return S_OK;
        case kMarker: r->vt = VT_BOOL; r->boolVal = marker; return S_OK;
        case kPicture:
            r->vt = VT_DISPATCH;
            r->pdispVal = picture;
            if (picture) picture->AddRef();
            return S_OK;
        case kAmount:
            r->decVal = amount;  // overlaps vt: set the type after the value
            r->vt = VT_DECIMAL;
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

    static VARTYPE TypeOf(DISPID id) {
        switch (id) {
        case kColor: return VT_UI4;
        case kFlag: case kMarker: return VT_BOOL;
        case kMax: return VT_R8;
        case kCount: return VT_I2;
        case kUnit: return VT_BSTR;
        case kStyle: return VT_I4;
        case kRate: return VT_R4;
        case kFont: case kPicture: return VT_DISPATCH;
        case kAmount: return VT_DECIMAL;
        }
        return VT_EMPTY;
    }

    HRESULT Put(DISPID id, VARIANT* arg) {
        VARTYPE vt = TypeOf(id);
        if (vt == VT_EMPTY) return DISP_E_MEMBERNOTFOUND;
        VARIANT v;
        VariantInit(&v);
        if (vt == VT_DISPATCH && (arg->vt == VT_DISPATCH || arg->vt == VT_UNKNOWN) && !arg->punkVal) {
            v.vt = VT_DISPATCH;  // null object
        } else if (vt == VT_BSTR && arg->vt == VT_BSTR) {
            // Passed as it comes, so a null string stays null.
            v.vt = VT_BSTR;
            v.bstrVal = arg->bstrVal ? SysAllocStringLen(arg->bstrVal, SysStringLen(arg->bstrVal)) : nullptr;
        } else if (FAILED(VariantChangeType(&v, arg, 0, vt))) {
            return DISP_E_TYPEMISMATCH;
        }
        switch (id) {
        case kColor: color = v.ulVal; break;
        case kFlag: flag = v.boolVal; break;
        case kMax: maxVal = v.dblVal; break;
        case kCount: count = v.iVal; break;
        case kUnit:
            SysFreeString(unit);
            unit = v.bstrVal;  // takes the coerced copy
            v.vt = VT_EMPTY;
            break;
        case kStyle: style = v.lVal; break;
        case kRate: rate = v.fltVal; break;
        case kFont: {
            IFontDisp* f = nullptr;
            if (v.pdispVal && FAILED(v.pdispVal->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(&f)))) {
                VariantClear(&v);
                return DISP_E_TYPEMISMATCH;
            }
            SetFont(f);
            if (f) f->Release();
            break;
        }
        case kMarker: marker = v.boolVal; break;
        case kPicture: {
            IPictureDisp* p = nullptr;
            if (v.pdispVal &&
                FAILED(v.pdispVal->QueryInterface(IID_IPictureDisp, reinterpret_cast<void**>(&p)))) {
                VariantClear(&v);
                return DISP_E_TYPEMISMATCH;
            }
            if (picture) picture->Release();
            picture = p;
            break;
        }
        case kAmount: amount = v.decVal; break;
        }
        VariantClear(&v);
        return S_OK;
    }

    ULONG m_refs = 1;
};

// The same kinds of property behind a type-library Invoke, as the controls'
// dual interfaces have: the type information is built at run time, and the
// font has a put and a put-by-reference under one dispatch identifier.
struct ITypedProps : IDispatch {
    virtual HRESULT STDMETHODCALLTYPE get_Color(OLE_COLOR* v) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Color(OLE_COLOR v) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Flag(VARIANT_BOOL* v) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Flag(VARIANT_BOOL v) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Count(short* v) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Count(short v) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Unit(BSTR* v) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Unit(BSTR v) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Font(IDispatch** v) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Font(IDispatch* v) = 0;
    virtual HRESULT STDMETHODCALLTYPE putref_Font(IDispatch* v) = 0;
};

class TypedProps : public ITypedProps {
public:
    OLE_COLOR color = 0;
    VARIANT_BOOL flag = VARIANT_FALSE;
    short count = 0;
    BSTR unit = nullptr;
    IFontDisp* font = nullptr;
    int fontPuts = 0;     // put_Font calls
    int fontPutRefs = 0;  // putref_Font calls

    TypedProps() { m_ti = BuildTypeInfo(); }
    virtual ~TypedProps() {
        SysFreeString(unit);
        if (font) font->Release();
        if (m_ti) m_ti->Release();
    }
    bool Ready() const { return m_ti != nullptr; }

    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *ppv = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override { return --m_refs; }
    STDMETHODIMP GetTypeInfoCount(UINT* n) override {
        *n = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
        *out = m_ti;
        m_ti->AddRef();
        return S_OK;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT n, LCID, DISPID* ids) override {
        return m_ti->GetIDsOfNames(names, n, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* ei,
                        UINT* argErr) override {
        return m_ti->Invoke(static_cast<ITypedProps*>(this), id, flags, params, result, ei, argErr);
    }

    STDMETHODIMP get_Color(OLE_COLOR* v) override { *v = color; return S_OK; }
    STDMETHODIMP put_Color(OLE_COLOR v) override { color = v; return S_OK; }
    STDMETHODIMP get_Flag(VARIANT_BOOL* v) override { *v = flag; return S_OK; }
    STDMETHODIMP put_Flag(VARIANT_BOOL v) override { flag = v; return S_OK; }
    STDMETHODIMP get_Count(short* v) override { *v = count; return S_OK; }
    STDMETHODIMP put_Count(short v) override { count = v; return S_OK; }
    STDMETHODIMP get_Unit(BSTR* v) override {
        *v = unit ? SysAllocStringLen(unit, SysStringLen(unit)) : nullptr;
        return S_OK;
    }
    STDMETHODIMP put_Unit(BSTR v) override {
        SysFreeString(unit);
        unit = v ? SysAllocStringLen(v, SysStringLen(v)) : nullptr;
        return S_OK;
    }
    STDMETHODIMP get_Font(IDispatch** v) override {
        *v = font;
        if (font) font->AddRef();
        return S_OK;
    }
    STDMETHODIMP put_Font(IDispatch* v) override {
        ++fontPuts;
        return Keep(v);
    }
    STDMETHODIMP putref_Font(IDispatch* v) override {
        ++fontPutRefs;
        return Keep(v);
    }

private:
    HRESULT Keep(IDispatch* v) {
        IFontDisp* f = nullptr;
        if (v && FAILED(v->QueryInterface(IID_IFontDisp, reinterpret_cast<void**>(&f)))) return E_INVALIDARG;
        if (font) font->Release();
        font = f;
        return S_OK;
    }

    // Type information of ITypedProps: a dual interface on IDispatch whose
    // members sit in vtable order after IDispatch's seven.
    static ITypeInfo* BuildTypeInfo() {
        static const IID iid = {0x6D0A1E55, 0x1111, 0x4222, {0x83, 0x33, 0x44, 0x44, 0x55, 0x55, 0x66, 0x66}};
        struct Member {
            const wchar_t* name;
            DISPID id;
            INVOKEKIND kind;
            VARTYPE vt;
        };
        static const Member members[] = {
            {L"Color", 1, INVOKE_PROPERTYGET, VT_UI4},       {L"Color", 1, INVOKE_PROPERTYPUT, VT_UI4},
            {L"Flag", 3, INVOKE_PROPERTYGET, VT_BOOL},       {L"Flag", 3, INVOKE_PROPERTYPUT, VT_BOOL},
            {L"Count", 6, INVOKE_PROPERTYGET, VT_I2},        {L"Count", 6, INVOKE_PROPERTYPUT, VT_I2},
            {L"Unit", 11, INVOKE_PROPERTYGET, VT_BSTR},      {L"Unit", 11, INVOKE_PROPERTYPUT, VT_BSTR},
            {L"Font", 33, INVOKE_PROPERTYGET, VT_DISPATCH},  {L"Font", 33, INVOKE_PROPERTYPUT, VT_DISPATCH},
            {L"Font", 33, INVOKE_PROPERTYPUTREF, VT_DISPATCH},
        };
        ICreateTypeLib2* lib = nullptr;
        if (FAILED(CreateTypeLib2(sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32, L"typedprops.tlb", &lib)))
            return nullptr;
        ITypeInfo* result = nullptr;
        ICreateTypeInfo* cti = nullptr;
        ITypeLib* stdole = nullptr;
        ITypeInfo* dispatchInfo = nullptr;
        HREFTYPE dispatchRef = 0;
        bool ok = SUCCEEDED(lib->CreateTypeInfo(const_cast<LPOLESTR>(L"ITypedProps"), TKIND_INTERFACE, &cti)) &&
                  SUCCEEDED(cti->SetGuid(iid)) &&
                  SUCCEEDED(cti->SetTypeFlags(TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION)) &&
                  SUCCEEDED(LoadTypeLib(L"stdole2.tlb", &stdole)) &&
                  SUCCEEDED(stdole->GetTypeInfoOfGuid(IID_IDispatch, &dispatchInfo)) &&
                  SUCCEEDED(cti->AddRefTypeInfo(dispatchInfo, &dispatchRef)) &&
                  SUCCEEDED(cti->AddImplType(0, dispatchRef));
        for (UINT i = 0; ok && i < sizeof members / sizeof members[0]; ++i) {
            const Member& m = members[i];
            TYPEDESC pointee{};
            pointee.vt = m.vt;
            ELEMDESC param{};
            if (m.kind == INVOKE_PROPERTYGET) {
                param.tdesc.vt = VT_PTR;
                param.tdesc.lptdesc = &pointee;
                param.paramdesc.wParamFlags = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;
            } else {
                param.tdesc.vt = m.vt;
                param.paramdesc.wParamFlags = PARAMFLAG_FIN;
            }
            FUNCDESC fd{};
            fd.memid = m.id;
            fd.lprgelemdescParam = &param;
            fd.funckind = FUNC_PUREVIRTUAL;
            fd.invkind = m.kind;
            fd.callconv = CC_STDCALL;
            fd.cParams = 1;
            fd.oVft = static_cast<SHORT>((7 + i) * sizeof(void*));
            fd.elemdescFunc.tdesc.vt = VT_HRESULT;
            LPOLESTR name = const_cast<LPOLESTR>(m.name);
            ok = SUCCEEDED(cti->AddFuncDesc(i, &fd)) && SUCCEEDED(cti->SetFuncAndParamNames(i, &name, 1));
        }
        ok = ok && SUCCEEDED(cti->LayOut()) &&
             SUCCEEDED(cti->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(&result)));
        if (!ok && result) {
            result->Release();
            result = nullptr;
        }
        if (dispatchInfo) dispatchInfo->Release();
        if (stdole) stdole->Release();
        if (cti) cti->Release();
        lib->Release();
        return result;
    }

    ITypeInfo* m_ti = nullptr;
    ULONG m_refs = 1;
};

// A property bag over a map of VARIANTs. Read coerces to the requested type
// (VT_EMPTY: as stored) unless `coerce` is off, in which case it hands out
// what it holds, like bags that keep text; a missing key is E_INVALIDARG.
class MemoryBag : public IPropertyBag {
public:
    std::map<std::wstring, VARIANT> values;
    std::vector<std::wstring> writes;                   // keys in write order
    std::vector<std::pair<std::wstring, VARTYPE>> reads;  // key and requested type
    std::wstring failWriteKey;                          // writing this key fails
    HRESULT failWriteStatus = STG_E_ACCESSDENIED;
    bool coerce = true;

    ~MemoryBag() { Clear(); }
    void Clear() {
        for (auto& kv : values) VariantClear(&kv.second);
        values.clear();
    }
    bool Has(const wchar_t* key) const { return values.count(key) != 0; }
    const VARIANT& At(const wchar_t* key) { return values.at(key); }
    void Set(const wchar_t* key, const VARIANT& v) {
        VARIANT& slot = values[key];
        VariantClear(&slot);
        VariantCopy(&slot, const_cast<VARIANT*>(&v));
    }
    void Remove(const wchar_t* key) {
        auto it = values.find(key);
        if (it == values.end()) return;
        VariantClear(&it->second);
        values.erase(it);
    }

    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyBag)) {
            *ppv = static_cast<IPropertyBag*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override { return --m_refs; }

    STDMETHODIMP Read(LPCOLESTR name, VARIANT* var, IErrorLog*) override {
        VARTYPE want = var->vt;
        reads.emplace_back(name, want);
        auto it = values.find(name);
        if (it == values.end()) return E_INVALIDARG;
        VARIANT out;
        VariantInit(&out);
        HRESULT hr = (!coerce || want == VT_EMPTY || want == it->second.vt) ? VariantCopy(&out, &it->second)
                                                                  : VariantChangeType(&out, &it->second, 0, want);
        if (FAILED(hr)) return hr;
        *var = out;
        return S_OK;
    }
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* var) override {
        if (failWriteKey == name) return failWriteStatus;
        writes.emplace_back(name);
        Set(name, *var);
        return S_OK;
    }

private:
    ULONG m_refs = 1;
};

}  // namespace test

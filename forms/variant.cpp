#include "forms/variant.h"

namespace forms {

namespace {
bool Coerced(const VARIANT& src, VARTYPE vt, VARIANT& out) {
    VariantInit(&out);
    return SUCCEEDED(VariantChangeType(&out, const_cast<VARIANT*>(&src), 0, vt));
}

template <class T, class Read>
T Read1(const VARIANT& src, VARTYPE vt, T fallback, Read read) {
    VARIANT t;
    T r = Coerced(src, vt, t) ? read(t) : fallback;
    VariantClear(&t);
    return r;
}
}  // namespace

double Variant::AsDouble() const { return Read1<double>(v, VT_R8, 0.0, [](VARIANT& t) { return V_R8(&t); }); }
float Variant::AsFloat() const { return Read1<float>(v, VT_R4, 0.0f, [](VARIANT& t) { return V_R4(&t); }); }
short Variant::AsShort() const { return Read1<short>(v, VT_I2, 0, [](VARIANT& t) { return V_I2(&t); }); }
LONG Variant::AsLong() const { return Read1<LONG>(v, VT_I4, 0, [](VARIANT& t) { return V_I4(&t); }); }
bool Variant::AsBool() const {
    return Read1<bool>(v, VT_BOOL, false, [](VARIANT& t) { return V_BOOL(&t) != VARIANT_FALSE; });
}
std::wstring Variant::AsString() const {
    return Read1<std::wstring>(v, VT_BSTR, std::wstring(), [](VARIANT& t) {
        return V_BSTR(&t) ? std::wstring(V_BSTR(&t), SysStringLen(V_BSTR(&t))) : std::wstring();
    });
}

}  // namespace forms

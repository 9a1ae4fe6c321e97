// A VARIANT that owns its value, with the coerced reads that late-bound
// callers make of results and event arguments.
#pragma once
#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>
#include <string>

namespace forms {

class Variant {
public:
    Variant() { VariantInit(&v); }
    explicit Variant(const VARIANT& src) {
        VariantInit(&v);
        VariantCopy(&v, const_cast<VARIANT*>(&src));
    }
    Variant(const Variant& o) : Variant(o.v) {}
    Variant& operator=(const Variant& o) {
        if (this != &o) {
            VariantClear(&v);
            VariantCopy(&v, const_cast<VARIANT*>(&o.v));
        }
        return *this;
    }
    ~Variant() { VariantClear(&v); }
    VARTYPE vt() const { return V_VT(&v); }
    // Coerced reads (VariantChangeType, by-reference values followed);
    // 0 / empty when the value does not convert.
    double AsDouble() const;
    float AsFloat() const;
    short AsShort() const;
    LONG AsLong() const;
    bool AsBool() const;
    std::wstring AsString() const;
    VARIANT v;
};

}  // namespace forms

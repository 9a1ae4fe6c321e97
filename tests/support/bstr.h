// An owned BSTR for tests: freed at the end of its scope; &b hands out a
// cleared slot for an [out] parameter.
#pragma once
#include <windows.h>
#include <oleauto.h>
#include <string>

namespace testsupport {

struct Bstr {
    BSTR b;
    explicit Bstr(const wchar_t* s = nullptr) : b(s ? SysAllocString(s) : nullptr) {}
    ~Bstr() { SysFreeString(b); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    operator BSTR() const { return b; }
    BSTR* operator&() {
        SysFreeString(b);
        b = nullptr;
        return &b;
    }
    std::wstring str() const { return b ? std::wstring(b, SysStringLen(b)) : L"<null>"; }
};

}  // namespace testsupport

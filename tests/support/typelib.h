// Type-library tests: the type library embedded in a loaded control library,
// its type infos by GUID or by name, and member names as narrow text.
#pragma once
#include <doctest/doctest.h>
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>
#include <string>
#include "host.h"

namespace testsupport {

inline std::string Narrow(const wchar_t* s) {
    std::string out;
    for (; s && *s; ++s) out += (char)*s;
    return out;
}

// The type info of the one type called name (the caller releases it).
inline ITypeInfo* FindNamedType(ITypeLib* tl, const wchar_t* name) {
    ITypeInfo* ti = nullptr;
    MEMBERID id;
    USHORT found = 1;
    std::wstring n = name;
    REQUIRE(tl->FindName(&n[0], 0, &ti, &id, &found) == S_OK);
    REQUIRE(found == 1);
    return ti;
}

struct TypeLib {
    ITypeLib* tl = nullptr;
    explicit TypeLib(const LoadedLibrary& library) {
        REQUIRE(LoadTypeLibEx(library.Path().c_str(), REGKIND_NONE, &tl) == S_OK);
    }
    ~TypeLib() { tl->Release(); }
    TypeLib(const TypeLib&) = delete;
    TypeLib& operator=(const TypeLib&) = delete;
    // The library's LIBID and its version 3.0.
    void CheckIdentity(REFGUID libid) {
        TLIBATTR* la = nullptr;
        REQUIRE(tl->GetLibAttr(&la) == S_OK);
        CHECK(IsEqualGUID(la->guid, libid));
        CHECK(la->wMajorVerNum == 3);
        CHECK(la->wMinorVerNum == 0);
        tl->ReleaseTLibAttr(la);
    }
    // The caller releases what these return.
    ITypeInfo* Info(REFGUID guid) {
        ITypeInfo* ti = nullptr;
        REQUIRE(tl->GetTypeInfoOfGuid(guid, &ti) == S_OK);
        return ti;
    }
    ITypeInfo* Named(const wchar_t* name) { return FindNamedType(tl, name); }
};

inline std::string MemberName(ITypeInfo* ti, MEMBERID id) {
    BSTR name = nullptr;
    UINT n = 0;
    ti->GetNames(id, &name, 1, &n);
    std::string s = Narrow(name);
    SysFreeString(name);
    return s;
}

}  // namespace testsupport

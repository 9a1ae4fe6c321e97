// Every dispatch id the forms call or bind is the one the control's type
// library gives that name (classes whose library is not registered are
// skipped, and said so).
#include <doctest/doctest.h>

#include "driver.h"

#include <olectl.h>

using namespace demotest;

namespace {

// The type information of the class's default interface or default source.
ITypeInfo* InterfaceInfo(IUnknown* object, bool events) {
    IProvideClassInfo* pci = nullptr;
    if (FAILED(object->QueryInterface(IID_IProvideClassInfo, reinterpret_cast<void**>(&pci)))) return nullptr;
    ITypeInfo* coclass = nullptr;
    pci->GetClassInfo(&coclass);
    pci->Release();
    if (!coclass) return nullptr;
    TYPEATTR* attr = nullptr;
    ITypeInfo* found = nullptr;
    coclass->GetTypeAttr(&attr);
    for (UINT i = 0; attr && i < attr->cImplTypes && !found; ++i) {
        INT flags = 0;
        coclass->GetImplTypeFlags(i, &flags);
        const bool source = (flags & IMPLTYPEFLAG_FSOURCE) != 0;
        if (!(flags & IMPLTYPEFLAG_FDEFAULT) || source != events) continue;
        HREFTYPE ref = 0;
        coclass->GetRefTypeOfImplType(i, &ref);
        coclass->GetRefTypeInfo(ref, &found);
    }
    if (attr) coclass->ReleaseTypeAttr(attr);
    coclass->Release();
    return found;
}

}  // namespace

TEST_CASE("the forms' dispatch ids are the type libraries' ids of those names") {
    int checked = 0;
    for (size_t i = 0; i < velmora::kMemberCount; ++i) {
        const velmora::Member& m = velmora::kMembers[i];
        if (!Registered(*m.cls)) {
            MESSAGE(m.cls->name << " is not registered: " << forms::Narrow(m.name) << " not checked");
            continue;
        }
        IUnknown* object = nullptr;
        REQUIRE(CoCreateInstance(m.cls->clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                 reinterpret_cast<void**>(&object)) == S_OK);
        ITypeInfo* info = InterfaceInfo(object, m.event);
        REQUIRE(info);
        TYPEATTR* attr = nullptr;
        info->GetTypeAttr(&attr);
        CHECK(IsEqualGUID(attr->guid, m.event ? m.cls->events : m.cls->iid));
        info->ReleaseTypeAttr(attr);
        MEMBERID id = DISPID_UNKNOWN;
        LPOLESTR name = const_cast<LPOLESTR>(m.name);
        CHECK_MESSAGE(info->GetIDsOfNames(&name, 1, &id) == S_OK, forms::Narrow(m.name));
        CHECK_MESSAGE(id == m.id, m.cls->name << "." << forms::Narrow(m.name));
        info->Release();
        object->Release();
        ++checked;
    }
    CHECK(checked >= 6);  // the knob library's members at least
}

// Class objects, unloading and aggregation of Tarnik.dll through its exported
// entry points.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>

#include "Tarnik.h"

namespace {

typedef HRESULT(STDAPICALLTYPE* GetClassObjectFn)(REFCLSID, REFIID, void**);
typedef HRESULT(STDAPICALLTYPE* CanUnloadNowFn)();

struct Library {
    HMODULE module = nullptr;
    GetClassObjectFn getClassObject = nullptr;
    CanUnloadNowFn canUnloadNow = nullptr;
    Library() {
        module = LoadLibraryW(L"Tarnik.dll");
        REQUIRE(module);
        getClassObject = reinterpret_cast<GetClassObjectFn>(GetProcAddress(module, "DllGetClassObject"));
        canUnloadNow = reinterpret_cast<CanUnloadNowFn>(GetProcAddress(module, "DllCanUnloadNow"));
        REQUIRE((getClassObject != nullptr));
        REQUIRE((canUnloadNow != nullptr));
    }
    ~Library() { FreeLibrary(module); }
    IClassFactory* Factory(REFCLSID clsid) {
        IClassFactory* cf = nullptr;
        REQUIRE(getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&cf)) == S_OK);
        REQUIRE(cf);
        return cf;
    }
};

// A minimal controlling unknown for aggregation.
struct Outer : IUnknown {
    LONG refs = 1;
    IUnknown* inner = nullptr;
    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        if (IsEqualIID(iid, IID_IUnknown)) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        if (inner) return inner->QueryInterface(iid, ppv);
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
};

}  // namespace

TEST_CASE("the library can unload only while nothing of it is alive") {
    Library lib;
    CHECK(lib.canUnloadNow() == S_OK);

    IClassFactory* cf = lib.Factory(CLSID_QEV_Knob);
    SUBCASE("a class object held without a lock does not keep the library") {
        CHECK(lib.canUnloadNow() == S_OK);
    }
    SUBCASE("a live object keeps it") {
        IUnknown* obj = nullptr;
        REQUIRE(cf->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&obj)) == S_OK);
        CHECK(lib.canUnloadNow() == S_FALSE);
        IUnknown* second = nullptr;
        REQUIRE(cf->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&second)) == S_OK);
        obj->Release();
        CHECK(lib.canUnloadNow() == S_FALSE);
        second->Release();
        CHECK(lib.canUnloadNow() == S_OK);
    }
    SUBCASE("a LockServer lock keeps it") {
        CHECK(cf->LockServer(TRUE) == S_OK);
        CHECK(cf->LockServer(TRUE) == S_OK);
        CHECK(lib.canUnloadNow() == S_FALSE);
        CHECK(cf->LockServer(FALSE) == S_OK);
        CHECK(lib.canUnloadNow() == S_FALSE);
        CHECK(cf->LockServer(FALSE) == S_OK);
        CHECK(lib.canUnloadNow() == S_OK);
    }
    SUBCASE("a live interface proxy keeps it") {
        IPSFactoryBuffer* ps = nullptr;
        // The merged proxy/stub's class id is the first dual interface's id.
        REQUIRE(lib.getClassObject(IID_IQEV_Knob, IID_IPSFactoryBuffer, reinterpret_cast<void**>(&ps)) == S_OK);
        Outer outer;
        IRpcProxyBuffer* buffer = nullptr;
        void* itf = nullptr;
        REQUIRE(ps->CreateProxy(&outer, IID_IQEV_Knob, &buffer, &itf) == S_OK);
        CHECK(lib.canUnloadNow() == S_FALSE);
        static_cast<IUnknown*>(itf)->Release();
        buffer->Release();
        ps->Release();
        CHECK(lib.canUnloadNow() == S_OK);
    }
    cf->Release();
}

TEST_CASE("class objects are handed out per class id") {
    Library lib;
    SUBCASE("the same class object is returned each time") {
        IClassFactory* a = lib.Factory(CLSID_QEV_Knob);
        IUnknown* b = nullptr;
        REQUIRE(lib.getClassObject(CLSID_QEV_Knob, IID_IUnknown, reinterpret_cast<void**>(&b)) == S_OK);
        CHECK(static_cast<IUnknown*>(a) == b);
        a->Release();
        b->Release();
    }
    SUBCASE("an unknown class id is refused") {
        const CLSID unknown = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
        void* p = reinterpret_cast<void*>(1);
        CHECK(lib.getClassObject(unknown, IID_IClassFactory, &p) == CLASS_E_CLASSNOTAVAILABLE);
        CHECK(p == nullptr);
    }
    SUBCASE("a class object answers only its own interfaces") {
        void* p = reinterpret_cast<void*>(1);
        CHECK(lib.getClassObject(CLSID_QEV_Knob, IID_IDispatch, &p) == E_NOINTERFACE);
        CHECK(p == nullptr);
    }
    SUBCASE("a null result pointer is refused") {
        IClassFactory* cf = lib.Factory(CLSID_QEV_Knob);
        CHECK(cf->CreateInstance(nullptr, IID_IUnknown, nullptr) == E_POINTER);
        cf->Release();
        CHECK(lib.getClassObject(CLSID_QEV_Knob, IID_IClassFactory, nullptr) == E_POINTER);
    }
}

TEST_CASE("an object can be aggregated through its inner unknown only") {
    Library lib;
    IClassFactory* cf = lib.Factory(CLSID_QEV_Knob);
    Outer outer;

    SUBCASE("outer unknown with IUnknown gives the inner unknown") {
        IUnknown* inner = nullptr;
        REQUIRE(cf->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&inner)) == S_OK);
        REQUIRE(inner);
        CHECK(inner != static_cast<IUnknown*>(&outer));
        // The inner unknown answers IUnknown with itself, not with the outer.
        IUnknown* again = nullptr;
        REQUIRE(inner->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&again)) == S_OK);
        CHECK(again == inner);
        again->Release();
        CHECK(lib.canUnloadNow() == S_FALSE);
        inner->Release();
        CHECK(lib.canUnloadNow() == S_OK);
        CHECK(outer.refs == 1);
    }
    SUBCASE("outer unknown with any other interface is refused and leaves nothing alive") {
        void* p = reinterpret_cast<void*>(1);
        CHECK(cf->CreateInstance(&outer, IID_IDispatch, &p) == CLASS_E_NOAGGREGATION);
        CHECK(p == nullptr);
        CHECK(lib.canUnloadNow() == S_OK);
        CHECK(outer.refs == 1);
    }
    cf->Release();
}

TEST_CASE("the library unloads and loads again with fresh class objects") {
    for (int round = 0; round < 2; ++round) {
        Library lib;
        IClassFactory* cf = lib.Factory(CLSID_QEV_Knob);
        IUnknown* obj = nullptr;
        CHECK(cf->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&obj)) == S_OK);
        obj->Release();
        cf->Release();
        CHECK(lib.canUnloadNow() == S_OK);
    }
}

// An owned COM interface pointer for tests: released at the end of its scope.
#pragma once

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

}  // namespace testsupport

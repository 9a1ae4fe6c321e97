// Helpers of the slider library's tests: owned COM pointers and strings,
// saved bytes and a bag that keeps its key order, late-bound calls, and a
// control hosted in a window of its own through the project's control site.
#pragma once
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <map>
#include <string>
#include <vector>

#include "Morvel.h"
#include "forms/site.h"
#include "tests/support/bstr.h"
#include "tests/support/host.h"
#include "tests/support/latebound.h"
#include "tests/support/persistence.h"
#include "tests/support/ptr.h"
#include "tests/support/recorders.h"

namespace slidertest {

using namespace testsupport;

inline const LoadedLibrary& Morvel() { return KeptLibrary(L"Morvel.dll"); }

template <class I>
I* QueryOwned(IUnknown* from, REFIID iid, Ptr<I>& into) {
    REQUIRE(from->QueryInterface(iid, reinterpret_cast<void**>(into.out())) == S_OK);
    return into.p;
}

// A new control of the library, neither sited nor initialised.
template <class T>
T* Create(REFCLSID clsid, REFIID iid) {
    T* obj = nullptr;
    REQUIRE(Morvel().Create(clsid, iid, reinterpret_cast<void**>(&obj)) == S_OK);
    return obj;
}

typedef std::vector<BYTE> Bytes;
typedef TaggedBytes Builder;
using testsupport::FindBytes;

// The saved stream of a control (its dirty mark cleared), and a load from bytes.
inline Bytes SaveBytes(IUnknown* control) {
    Bytes bytes;
    REQUIRE(SaveControl(control, bytes) == S_OK);
    return bytes;
}
inline HRESULT LoadBytes(IUnknown* control, const Bytes& bytes) { return LoadControl(control, bytes); }

// A property bag that also keeps the order of the keys written.
class Bag : public MapBag {
public:
    std::vector<std::wstring> order;
    STDMETHODIMP Write(LPCOLESTR name, VARIANT* v) override {
        order.push_back(name);
        return MapBag::Write(name, v);
    }
};

// Late-bound property put and get through the control's IDispatch.
HRESULT PutProperty(IUnknown* control, DISPID id, const VARIANT& value);
Variant GetProperty(IUnknown* control, DISPID id);

// One control of the library on a site of its own in a window; events recorded.
struct Hosted {
    TestWindow window;
    forms::ControlSite* site = nullptr;
    IUnknown* control = nullptr;
    EventRecorder events;
    HWND hwnd = nullptr;

    // Created, attached and initialised new; activated at (0, 0, w, h) when w > 0.
    Hosted(REFCLSID clsid, REFIID events, int w, int h, bool userMode = true, bool answerUserMode = true);
    ~Hosted();
    Hosted(const Hosted&) = delete;
    Hosted& operator=(const Hosted&) = delete;

    template <class I>
    I* As() const {
        return reinterpret_cast<I*>(control);  // the dual interface it was created with
    }
    void Activate(int w, int h);
    void Paint();
    void Send(UINT msg, WPARAM wp, int x, int y) { SendMessageW(hwnd, msg, wp, MAKELPARAM(x, y)); }
    void Press(int x, int y) { Send(WM_LBUTTONDOWN, MK_LBUTTON, x, y); }
    void Drag(int x, int y) { Send(WM_MOUSEMOVE, MK_LBUTTON, x, y); }
    void Hover(int x, int y) { Send(WM_MOUSEMOVE, 0, x, y); }
    void Release(int x, int y) { Send(WM_LBUTTONUP, 0, x, y); }
};

enum : DISPID { ValueEvent = 1, DblClick, Click, MouseDown, MouseUp, MouseMove, KeyDown, KeyUp };

}  // namespace slidertest

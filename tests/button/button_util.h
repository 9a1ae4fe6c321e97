// What the button tests share: the published identities written out (so a
// test checks them, not what the header happens to say), a button on a site
// of its own, and late-bound property access by dispatch id.
#pragma once
#include "Pellan.h"
#include "canvas.h"
#include "persistence.h"
#include "pictures.h"
#include "ptr.h"
#include "hosted.h"
#include "latebound.h"
#include "host.h"
#include "common/gdi.h"

namespace buttontest {

using namespace testsupport;

const CLSID kClsidButton = {0xBA283D99, 0xA0F2, 0x45B2, {0x94, 0xAD, 0xA9, 0x0D, 0x8F, 0x51, 0x2F, 0x0E}};
const CLSID kClsidGeneral = {0x6021B4D6, 0x28F7, 0x4206, {0x86, 0x19, 0x83, 0xC5, 0x02, 0x93, 0xC8, 0x8E}};
const CLSID kClsidText = {0x752369A1, 0xDCA4, 0x456A, {0x94, 0x8F, 0xEC, 0x1B, 0x97, 0xC7, 0xEC, 0x57}};
const IID kIidButton = {0xB1300056, 0xDC18, 0x46B2, {0x88, 0x98, 0x8C, 0x4C, 0x63, 0x17, 0xF5, 0x81}};
const IID kIidEvents = {0xE3D1A263, 0xC5F3, 0x45DE, {0x82, 0x86, 0xED, 0x76, 0xAD, 0x6A, 0x83, 0x4C}};
const GUID kLibId = {0x334FFD56, 0x9665, 0x4910, {0xAD, 0x84, 0x3F, 0xC4, 0x1F, 0x17, 0x5C, 0x74}};

enum : DISPID { E_DblClick = 1, E_Click, E_MouseDown, E_MouseUp, E_MouseMove, E_KeyDown, E_KeyUp };

inline const LoadedLibrary& Library() { return KeptLibrary(L"Pellan.dll"); }

inline IQEV_SmartButton* NewButton() {
    IQEV_SmartButton* b = nullptr;
    REQUIRE(Library().Create(kClsidButton, kIidButton, reinterpret_cast<void**>(&b)) == S_OK);
    return b;
}

// A button on a site of its own, initialised as new.
struct Hosted : HostedControl<IQEV_SmartButton> {
    Ptr<IQEV_SmartButton>& b = control;
    Hosted() : HostedControl(Library(), kClsidButton, kIidButton) {}
    // In place at pos, painted once by the system (a paint with a DC).
    HWND Activate(const RECT& pos) {
        HWND w = HostedControl::Activate(pos);
        PumpPending();
        return w;
    }
};

// Late-bound get and put by dispatch id, as containers and scripts call.
inline Variant Get(IDispatch* d, DISPID id) {
    Variant v;
    REQUIRE(GetById(d, id, v) == S_OK);
    return v;
}
inline HRESULT Put(IDispatch* d, DISPID id, const VARIANT& value) { return PutById(d, id, value); }
inline VARIANT I4(LONG v) {
    VARIANT r;
    VariantInit(&r);
    r.vt = VT_I4;
    r.lVal = v;
    return r;
}

}  // namespace buttontest

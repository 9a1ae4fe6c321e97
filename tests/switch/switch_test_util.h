// What the switch tests share: the library's identities written out (so a
// test checks the published GUIDs, not the ones the header happens to
// give), a switch on a site of its own, streams and a property bag.
#pragma once
#include <doctest/doctest.h>
#include <map>
#include <string>
#include <vector>

#include "Wendal.h"
#include "hosted.h"
#include "host.h"
#include "persistence.h"
#include "pictures.h"
#include "platform_ids.h"
#include "ptr.h"
#include "recorders.h"
#include "stubdispatch.h"

namespace switchtest {

using namespace testsupport;

const CLSID kClsidSwitch = {0x8350B0B5, 0xE102, 0x4E28, {0x9E, 0x26, 0xBA, 0x96, 0xCB, 0x52, 0x27, 0x91}};
const CLSID kClsidGeneral = {0x453D8043, 0x3491, 0x42FF, {0x89, 0xA3, 0x03, 0x78, 0x51, 0x9E, 0x78, 0x14}};
const CLSID kClsidOthers = {0x970843EB, 0xB125, 0x4198, {0x93, 0xFD, 0x6A, 0x76, 0x62, 0x23, 0xFE, 0xFC}};
const IID kIidSwitch = {0x9D556F69, 0x8A12, 0x4C6C, {0xAB, 0xF9, 0x0D, 0xA7, 0xD3, 0x4B, 0x83, 0x9B}};
const IID kIidEvents = {0xB41BF188, 0xCEA1, 0x4070, {0xA5, 0x82, 0x11, 0xFF, 0xCF, 0xBF, 0xD0, 0x6B}};
const GUID kLibId = {0x95B9A515, 0x6783, 0x4A10, {0x84, 0x88, 0x87, 0x36, 0xD7, 0xE5, 0xAA, 0xBF}};

// Event dispatch identifiers of the switch.
enum : DISPID {
    SE_DblClick = 1, SE_Click, SE_MouseDown, SE_MouseUp, SE_MouseMove, SE_KeyDown, SE_KeyUp, SE_ValueChange, SE_StatusChange
};

inline const LoadedLibrary& Library() { return KeptLibrary(L"Wendal.dll"); }

// A switch attached to a site of its own, initialised as new; activated in
// place (with a window) only when asked.
struct Hosted : HostedControl<IQEV_Switch> {
    Ptr<IQEV_Switch>& sw = control;
    explicit Hosted(bool attach = true) : HostedControl(Library(), kClsidSwitch, kIidSwitch, attach) {}
};

inline std::vector<BYTE> Save(IUnknown* ctl) {
    std::vector<BYTE> bytes;
    REQUIRE(SaveControl(ctl, bytes) == S_OK);
    return bytes;
}

}  // namespace switchtest

// A control of a library on a site of its own in a test window, initialised
// as new; in place (with a window of its own) only when activated.
#pragma once
#include <doctest/doctest.h>
#include <windows.h>
#include "forms/site.h"
#include "host.h"
#include "ptr.h"

namespace testsupport {

template <class Itf>
struct HostedControl {
    TestWindow window;
    forms::ControlSite* site = nullptr;
    Ptr<Itf> control;

    HostedControl(const LoadedLibrary& library, REFCLSID clsid, REFIID iid, bool attach = true) {
        REQUIRE(library.Create(clsid, iid, control.pv()) == S_OK);
        REQUIRE(forms::ControlSite::Create(window, &site) == S_OK);
        if (attach) {
            REQUIRE(site->Attach(control) == S_OK);
            REQUIRE(site->InitNew() == S_OK);
        }
    }
    ~HostedControl() {
        site->Detach();
        site->Release();
    }
    HostedControl(const HostedControl&) = delete;
    HostedControl& operator=(const HostedControl&) = delete;
    // In place at pos (container client coordinates); the control's window.
    HWND Activate(const RECT& pos) {
        REQUIRE(site->Activate(pos) == S_OK);
        HWND w = site->ControlWindow();
        REQUIRE(w != nullptr);
        return w;
    }
};

}  // namespace testsupport

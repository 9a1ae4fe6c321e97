// The item methods of a multi-position control, alike for the switch knob and
// the switch slider: AddItem, RemoveItem, UpdateSetpoint and GetSetpoint on
// the control's items, each redrawing when the items or the current key
// changed, and the list on show.
#pragma once
#include "framework/control.h"
#include "framework/dispatch.h"
#include "common/switchstate.h"

// Control derives from SwitchItemMethods<Control, Itf, &IID_Itf> in place of
// fw::DualImpl<Itf, &IID_Itf>, and from fw::ControlBase.
template <class Control, class Itf, const IID* piid>
class SwitchItemMethods : public fw::DualImpl<Itf, piid> {
public:
    STDMETHODIMP AddItem(BSTR strKey, BSTR strName, OLE_COLOR color) override {
        HRESULT hr = m_switch.Add(strKey, strName, color);
        if (SUCCEEDED(hr)) Owner().RedrawNow();
        return hr;
    }
    STDMETHODIMP RemoveItem(BSTR strKey) override {
        if (m_switch.Remove(strKey)) Owner().RedrawNow();
        return S_OK;
    }
    STDMETHODIMP UpdateSetpoint(BSTR strKey) override {
        HRESULT hr = m_switch.SetCurrent(strKey);
        if (SUCCEEDED(hr)) Owner().RedrawNow();
        return hr;
    }
    STDMETHODIMP GetSetpoint(BSTR* pstrKey) override { return m_switch.GetCurrent(pstrKey); }

protected:
    // The list on show: the run-time list in user mode (or when the container
    // does not say), the design-time list otherwise.
    const CSwitchItemList& ShownItems() { return m_switch.Shown(!Owner().AmbientUserMode()); }

    CSwitchItems m_switch;  // run-time and design-time lists, current key

private:
    Control& Owner() { return static_cast<Control&>(*this); }
};

// The items of a multi-position control (switch knob, switch slider): the
// run-time list that AddItem and RemoveItem manage and snapping selects from,
// the design-time list with its three samples, and the key of the current
// item. None of it is saved with the control's properties.
#pragma once
#include "common/switchitem.h"

class CSwitchItems {
public:
    // The design-time samples Key1, Key2, Key3 (Item1..Item3 in red, green
    // and blue) and the current key "Key2".
    CSwitchItems();
    ~CSwitchItems();
    CSwitchItems(const CSwitchItems&) = delete;
    CSwitchItems& operator=(const CSwitchItems&) = delete;

    // AddItem and its design-time twin: insert, or replace name and colour.
    HRESULT Add(BSTR key, BSTR name, OLE_COLOR color) { return m_runTime.Add(key, name, color); }
    HRESULT AddDesign(BSTR key, BSTR name, OLE_COLOR color) { return m_design.Add(key, name, color); }
    // RemoveItem: false when the run-time list has no such key. The current
    // key stays, even when it named the removed item.
    bool Remove(BSTR key) { return m_runTime.Remove(key); }

    // The current key as given (a null key stays null), unchecked against
    // either list; E_OUTOFMEMORY keeps the old one.
    HRESULT SetCurrent(BSTR key);
    // A new copy of the current key for the caller (null for a null key).
    HRESULT GetCurrent(BSTR* out) const;
    BSTR Current() const { return m_current; }

    // Makes item i of the run-time list current and hands out a second copy
    // of its key for the event; false (nothing changed) when a copy fails.
    bool SelectRunTime(size_t i, BSTR* eventKey);

    const CSwitchItemList& RunTime() const { return m_runTime; }
    // The list on show: the design-time list only when the container says
    // it is not in user mode.
    const CSwitchItemList& Shown(bool designMode) const { return designMode ? m_design : m_runTime; }

private:
    CSwitchItemList m_runTime;
    CSwitchItemList m_design;
    BSTR m_current = nullptr;
};

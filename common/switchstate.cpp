#include "switchstate.h"

namespace {

struct Sample {
    const wchar_t* key;
    const wchar_t* name;
    OLE_COLOR color;
};
const Sample kSamples[] = {
    {L"Key1", L"Item1", 0x0000FF},
    {L"Key2", L"Item2", 0x00FF00},
    {L"Key3", L"Item3", 0xFF0000},
};

}  // namespace

CSwitchItems::CSwitchItems() {
    for (const Sample& s : kSamples) {
        BSTR key = SysAllocString(s.key), name = SysAllocString(s.name);
        if (key && name) m_design.Add(key, name, s.color);
        SysFreeString(key);
        SysFreeString(name);
    }
    m_current = SysAllocString(L"Key2");
}

CSwitchItems::~CSwitchItems() { SysFreeString(m_current); }

HRESULT CSwitchItems::SetCurrent(BSTR key) {
    BSTR copy;
    if (!CopySwitchString(key, &copy)) return E_OUTOFMEMORY;
    SysFreeString(m_current);
    m_current = copy;
    return S_OK;
}

HRESULT CSwitchItems::GetCurrent(BSTR* out) const {
    if (!out) return E_POINTER;
    return CopySwitchString(m_current, out) ? S_OK : E_OUTOFMEMORY;
}

bool CSwitchItems::SelectRunTime(size_t i, BSTR* eventKey) {
    *eventKey = nullptr;
    if (i >= m_runTime.Count()) return false;
    BSTR key;
    if (!CopySwitchString(m_runTime[i].m_key, &key)) return false;
    if (!CopySwitchString(key, eventKey)) {
        SysFreeString(key);
        return false;
    }
    SysFreeString(m_current);
    m_current = key;
    return true;
}

#include "switchslider.h"

namespace {

FW_PROPERTY_MAP(kSwitchSliderMap, SWITCHSLIDER_PROPERTIES, fw::PageRow(&CLSID_GeneralProp));

const fw::ControlBase::Traits kSwitchSliderTraits = {
    &CLSID_QEV_SwitchSlider,
    &IID_IQEV_SwitchSlider,
    &DIID__IQEV_SwitchSliderEvents,
    &kSwitchSliderMap,
    {22, 29, 30, 31, 32, 33, 34, 35, 36},
    L"QEV_SwitchSliderWindow",
};

// The sample items a container shows while it is in design mode.
struct DesignItem {
    const wchar_t* key;
    const wchar_t* name;
    OLE_COLOR color;
};
const DesignItem kDesignItems[] = {
    {L"Key1", L"Item1", 0x0000FF},
    {L"Key2", L"Item2", 0x00FF00},
    {L"Key3", L"Item3", 0xFF0000},
};

}  // namespace

const fw::PropMap& CQEV_SwitchSlider::Map() { return kSwitchSliderMap; }

CQEV_SwitchSlider::CQEV_SwitchSlider() : fw::ControlBase(kSwitchSliderTraits) {
    CFontNotifyImpl2::AttachTo(this);
    for (const DesignItem& d : kDesignItems) {
        BSTR key = SysAllocString(d.key), name = SysAllocString(d.name);
        if (key && name) AddDesignItem(key, name, d.color);
        SysFreeString(key);
        SysFreeString(name);
    }
    m_currentKey = SysAllocString(L"Key2");
}

CQEV_SwitchSlider::~CQEV_SwitchSlider() {
    m_items.Clear();
    m_designItems.Clear();
    SysFreeString(m_currentKey);
}

HRESULT CQEV_SwitchSlider::InitNewProperties() {
    OLE_COLOR c;
    m_BkColor = SUCCEEDED(GetAmbientBackColor(c)) ? c : GetSysColor(COLOR_WINDOW);
    return S_OK;
}

const CSwitchItemList& CQEV_SwitchSlider::ShownItems() {
    BOOL userMode = TRUE;
    if (FAILED(GetAmbientUserMode(userMode))) userMode = TRUE;
    return userMode ? m_items : m_designItems;
}

// ---------------------------------------------------------------- items

STDMETHODIMP CQEV_SwitchSlider::AddItem(BSTR strKey, BSTR strName, OLE_COLOR color) {
    HRESULT hr = m_items.Add(strKey, strName, color);
    if (FAILED(hr)) return hr;
    RedrawNow();
    return S_OK;
}

HRESULT CQEV_SwitchSlider::AddDesignItem(BSTR strKey, BSTR strName, OLE_COLOR color) {
    HRESULT hr = m_designItems.Add(strKey, strName, color);
    if (FAILED(hr)) return hr;
    RedrawNow();
    return S_OK;
}

STDMETHODIMP CQEV_SwitchSlider::RemoveItem(BSTR strKey) {
    // The current key stays, even when it named the removed item.
    if (m_items.Remove(strKey)) RedrawNow();
    return S_OK;
}

STDMETHODIMP CQEV_SwitchSlider::UpdateSetpoint(BSTR strKey) {
    BSTR copy;
    if (!CopySwitchString(strKey, &copy)) return E_OUTOFMEMORY;
    SysFreeString(m_currentKey);
    m_currentKey = copy;
    RedrawNow();
    return S_OK;
}

STDMETHODIMP CQEV_SwitchSlider::GetSetpoint(BSTR* pstrKey) {
    if (!pstrKey) return E_POINTER;
    return CopySwitchString(m_currentKey, pstrKey) ? S_OK : E_OUTOFMEMORY;
}

// ---------------------------------------------------------------- input

bool CQEV_SwitchSlider::ProcessWindowMessage(HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (HandleCommonInput(msg, wp, lp, kSliderEvents, result)) return true;
    int x = (short)LOWORD(lp), y = (short)HIWORD(lp);
    switch (msg) {
    case WM_LBUTTONDOWN:
        PressOnMarker(x, y);
        break;
    case WM_LBUTTONUP:
        // Every release snaps again on the last drag point, drag or not.
        if (ReleaseAt(x, y, kSliderEvents)) Snap();
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(x, y, (wp & MK_LBUTTON) != 0);
        break;
    case WM_KILLFOCUS:
        SetDragFlag(false);  // no snap, no event
        break;
    case WM_CREATE:
        break;
    default:
        return false;  // WM_ERASEBKGND too: the window erases before each paint
    }
    result = 0;
    return true;
}

void CQEV_SwitchSlider::PressOnMarker(int x, int y) {
    if (!PressAt(x, y, m_geometry.marker.rc, kSliderEvents) || !m_geometry.marker.Holds(x, y)) return;
    m_hasDragPoint = true;
    m_dragPoint = POINT{x, y};
}

void CQEV_SwitchSlider::EndDragAndSnap() {
    SetDragFlag(false);
    Snap();
}

// The drag step: the marker follows the mouse along the range field.
void CQEV_SwitchSlider::OnMouseMove(int x, int y, bool buttonHeld) {
    if (!Enabled()) return;
    Fire(SE_MouseMove, (LONG)x, (LONG)y);
    if (!DragFlag()) return;
    // Without capture a release outside the window never arrives: a move
    // without the left button ends the drag as the margin does.
    if (!buttonHeld) {
        EndDragAndSnap();
        return;
    }
    RECT c{0, 0, 0, 0};
    if (m_hwnd) GetClientRect(m_hwnd, &c);
    if (!(c.left + 2 < x && x < c.right - 2 && c.top + 2 < y && y < c.bottom - 2)) {
        EndDragAndSnap();
        return;
    }
    if (!m_geometry.field.set) return;
    const RECT& f = m_geometry.field.rc;
    if (m_Vertical == 1) {
        if (f.bottom - f.top <= 0 || y < f.top || y > f.bottom) return;
    } else {
        if (f.right - f.left <= 0 || x < f.left || x > f.right) return;
    }
    m_dragPoint = POINT{x, y};
    RedrawNow();
}

// Makes the first run-time item within half a step of the drag point current
// and reports it, also when it was current already.
void CQEV_SwitchSlider::Snap() {
    if (!m_hasDragPoint || !m_geometry.field.set) return;
    const RECT& f = m_geometry.field.rc;
    const bool vertical = m_Vertical == 1, inverse = m_InverseDirection != 0;
    const int n = static_cast<int>(m_items.Count());
    const int length = vertical ? f.bottom - f.top : f.right - f.left;
    const int step = n > 1 ? (length - m_IndicatorSize - 2) / (n - 1) : length;
    const int half = m_IndicatorSize / 2, reach = step / 2;
    const int p = vertical ? m_dragPoint.y : m_dragPoint.x;
    for (int i = 0; i < n; ++i) {
        const int offset = i * step;
        int c;
        if (vertical) c = inverse ? f.top + half + offset + 1 : f.bottom - half - offset - 1;
        else c = inverse ? f.right - half - offset - 1 : f.left + half + offset + 1;
        if (p < c - reach || p > c + reach) continue;

        BSTR key, arg;
        if (!CopySwitchString(m_items[i].m_key, &key)) return;
        if (!CopySwitchString(key, &arg)) {
            SysFreeString(key);
            return;
        }
        SysFreeString(m_currentKey);
        m_currentKey = key;
        RedrawNow();
        // Each sink gets its own copy of this one, which no sink can touch.
        Fire(SE_ValueEvent, arg);
        SysFreeString(arg);
        return;
    }
}

HRESULT CreateSwitchSlider(IUnknown* outer, REFIID iid, void** ppv) {
    return fw::CreateObject<CQEV_SwitchSlider>(outer, iid, ppv);
}

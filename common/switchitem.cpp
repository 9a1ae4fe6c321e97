#include "switchitem.h"
#include <new>
#include <utility>

int CompareSwitchKeys(BSTR a, BSTR b) {
    if (!a || !b) return (a ? 1 : 0) - (b ? 1 : 0);
    UINT na = SysStringLen(a), nb = SysStringLen(b);
    UINT n = na < nb ? na : nb;
    for (UINT i = 0; i < n; ++i) {
        unsigned ca = (unsigned short)a[i], cb = (unsigned short)b[i];
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return na == nb ? 0 : (na < nb ? -1 : 1);
}

bool CopySwitchString(BSTR src, BSTR* out) {
    *out = nullptr;
    if (!src) return true;
    *out = SysAllocStringLen(src, SysStringLen(src));
    return *out != nullptr;
}

size_t CSwitchItemList::LowerBound(BSTR key) const {
    size_t lo = 0, hi = m_items.size();
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        if (CompareSwitchKeys(m_items[mid].m_key, key) < 0) lo = mid + 1;
        else hi = mid;
    }
    return lo;
}

int CSwitchItemList::Find(BSTR key) const {
    size_t i = LowerBound(key);
    return i < m_items.size() && SameSwitchKey(m_items[i].m_key, key) ? (int)i : -1;
}

HRESULT CSwitchItemList::Add(BSTR key, BSTR name, OLE_COLOR color) {
    CSwitchItem item;
    item.m_color = color;
    if (!CopySwitchString(key, &item.m_key) || !CopySwitchString(name, &item.m_name)) return E_OUTOFMEMORY;
    size_t i = LowerBound(key);
    if (i < m_items.size() && SameSwitchKey(m_items[i].m_key, key)) {
        m_items[i] = std::move(item);
        return S_OK;
    }
    try {
        m_items.insert(m_items.begin() + i, std::move(item));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

bool CSwitchItemList::Remove(BSTR key) {
    int i = Find(key);
    if (i < 0) return false;
    m_items.erase(m_items.begin() + i);
    return true;
}

// Keyed item lists of the multi-position controls (switch knob, switch
// slider): items ordered by key, one position on the control per item.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <olectl.h>
#include <vector>

// One item: its colour, its key and the name shown beside its position.
// Owns both strings.
class CSwitchItem {
public:
    OLE_COLOR m_color = 0;
    BSTR m_key = nullptr;
    BSTR m_name = nullptr;

    CSwitchItem() = default;
    CSwitchItem(CSwitchItem&& o) noexcept { Swap(o); }
    CSwitchItem& operator=(CSwitchItem&& o) noexcept {
        Swap(o);
        return *this;
    }
    CSwitchItem(const CSwitchItem&) = delete;
    CSwitchItem& operator=(const CSwitchItem&) = delete;
    ~CSwitchItem() {
        SysFreeString(m_key);
        SysFreeString(m_name);
    }

private:
    void Swap(CSwitchItem& o) noexcept {
        OLE_COLOR c = m_color; m_color = o.m_color; o.m_color = c;
        BSTR k = m_key; m_key = o.m_key; o.m_key = k;
        BSTR n = m_name; m_name = o.m_name; o.m_name = n;
    }
};

// Key order: UTF-16 code units compared as unsigned numbers from the first
// on, a key before every longer key that begins with it, a null key before
// every other key (the empty one included). Case-sensitive.
int CompareSwitchKeys(BSTR a, BSTR b);
inline bool SameSwitchKey(BSTR a, BSTR b) { return CompareSwitchKeys(a, b) == 0; }

// A copy of a string that may be null; false when the copy could not be made.
bool CopySwitchString(BSTR src, BSTR* out);

// Items in key order; the order in which they were added plays no part.
class CSwitchItemList {
public:
    // Inserts an item, or replaces the colour, name and key of the item that
    // has this key already. Copies both strings; E_OUTOFMEMORY leaves the
    // list unchanged.
    HRESULT Add(BSTR key, BSTR name, OLE_COLOR color);
    // Removes the item with this key; false when there is none.
    bool Remove(BSTR key);
    // Index of the item with this key, or -1.
    int Find(BSTR key) const;
    void Clear() { m_items.clear(); }

    size_t Count() const { return m_items.size(); }
    const CSwitchItem& operator[](size_t i) const { return m_items[i]; }
    std::vector<CSwitchItem>::const_iterator begin() const { return m_items.begin(); }
    std::vector<CSwitchItem>::const_iterator end() const { return m_items.end(); }

private:
    // First index whose key is not before `key`.
    size_t LowerBound(BSTR key) const;

    std::vector<CSwitchItem> m_items;
};

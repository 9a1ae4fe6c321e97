#include "proppage.h"

#include <stdio.h>
#include <stdlib.h>
#include <new>
#include "module.h"

namespace fw {
namespace {

// Change notification of each field kind that marks the page dirty.
WORD ChangeNotification(FieldKind kind) {
    switch (kind) {
    case FieldKind::List: return CBN_SELCHANGE;
    case FieldKind::Check: return BN_CLICKED;
    default: return EN_CHANGE;
    }
}

std::wstring ItemText(HWND dlg, int id) {
    HWND item = GetDlgItem(dlg, id);
    int n = item ? GetWindowTextLengthW(item) : 0;
    if (n <= 0) return std::wstring();
    std::wstring text(n + 1, L'\0');
    n = GetDlgItemTextW(dlg, id, &text[0], n + 1);
    text.resize(n > 0 ? n : 0);
    return text;
}

// Fixed-point text with 0 to 15 digits after the point. mingw's formatter
// is used on purpose: it rounds the exact binary value, whatever C runtime
// the host provides; the buffer holds the longest double with 15 digits.
std::wstring FormatFixed(double v, int decimals) {
    if (decimals < 0) decimals = 0;
    if (decimals > 15) decimals = 15;
    char buf[400];
    int n = __mingw_snprintf(buf, sizeof buf, "%.*f", decimals, v);
    if (n < 0) return std::wstring();
    if (n >= (int)sizeof buf) n = sizeof buf - 1;
    return std::wstring(buf, buf + n);
}

// atof of the field's text in the ANSI code page; 0 for no number.
double ParseDecimal(const std::wstring& text) {
    if (text.empty()) return 0;
    int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return 0;
    std::string narrow(n, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &narrow[0], n, nullptr, nullptr);
    return atof(narrow.c_str());
}

LPOLESTR LoadTaskString(UINT id) {
    const wchar_t* res = nullptr;
    int n = LoadStringW(ModuleInstance(), id, reinterpret_cast<LPWSTR>(&res), 0);
    if (n <= 0 || !res) return nullptr;
    auto* s = static_cast<LPOLESTR>(CoTaskMemAlloc((n + 1) * sizeof(wchar_t)));
    if (!s) return nullptr;
    memcpy(s, res, n * sizeof(wchar_t));
    s[n] = 0;
    return s;
}

// Skips a name-or-ordinal field of a dialog template.
const WORD* SkipNameOrOrdinal(const WORD* p) {
    if (*p == 0) return p + 1;
    if (*p == 0xFFFF) return p + 2;
    while (*p) ++p;
    return p + 1;
}

// Size of a dialog template in pixels, for the font it names, measured the
// way the dialog manager measures its base units.
bool DialogSizePixels(UINT dialogId, SIZE& size) {
    HINSTANCE inst = ModuleInstance();
    HRSRC res = FindResourceW(inst, MAKEINTRESOURCEW(dialogId), reinterpret_cast<LPCWSTR>(RT_DIALOG));
    HGLOBAL mem = res ? LoadResource(inst, res) : nullptr;
    const WORD* p = mem ? static_cast<const WORD*>(LockResource(mem)) : nullptr;
    if (!p || SizeofResource(inst, res) < sizeof(DLGTEMPLATE)) return false;

    const bool extended = p[0] == 1 && p[1] == 0xFFFF;
    DWORD style;
    short cx, cy;
    if (extended) {
        style = *reinterpret_cast<const DWORD*>(p + 6);
        cx = static_cast<short>(p[11]);
        cy = static_cast<short>(p[12]);
        p += 13;
    } else {
        style = reinterpret_cast<const DLGTEMPLATE*>(p)->style;
        cx = reinterpret_cast<const DLGTEMPLATE*>(p)->cx;
        cy = reinterpret_cast<const DLGTEMPLATE*>(p)->cy;
        p += sizeof(DLGTEMPLATE) / sizeof(WORD);
    }
    p = SkipNameOrOrdinal(p);  // menu
    p = SkipNameOrOrdinal(p);  // window class
    while (*p) ++p;            // title
    ++p;

    LONG baseX = LOWORD(GetDialogBaseUnits()), baseY = HIWORD(GetDialogBaseUnits());
    if (style & DS_SETFONT) {
        WORD points = p[0];
        WORD weight = FW_DONTCARE;
        BYTE italic = 0;
        p += 1;
        if (extended) {
            weight = p[0];
            italic = LOBYTE(p[1]);
            p += 2;
        }
        HDC dc = GetDC(nullptr);
        HFONT font = CreateFontW(-MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, weight, italic, FALSE,
                                 FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                                 FF_DONTCARE, reinterpret_cast<LPCWSTR>(p));
        if (font) {
            HGDIOBJ old = SelectObject(dc, font);
            static const wchar_t kAlphabet[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
            TEXTMETRICW tm;
            SIZE ext;
            if (GetTextMetricsW(dc, &tm) && GetTextExtentPoint32W(dc, kAlphabet, 52, &ext)) {
                baseX = (ext.cx / 26 + 1) / 2;
                baseY = tm.tmHeight;
            }
            SelectObject(dc, old);
            DeleteObject(font);
        }
        ReleaseDC(nullptr, dc);
    }
    size.cx = MulDiv(cx, baseX, 4);
    size.cy = MulDiv(cy, baseY, 8);
    return true;
}

// An integer field's value at its width: 16 bits (cut) or all 32.
LONG FieldWidth(FieldKind kind, LONG value) { return kind == FieldKind::Integer ? static_cast<short>(value) : value; }

}  // namespace

PropertyPageBase::PropertyPageBase(const PageDescription& page) : m_page(page) {
    if (page.numericCount) {
        m_edits.reset(new CQEVEditCntl[page.numericCount]);
        for (size_t i = 0; i < page.numericCount; ++i) {
            m_edits[i].m_nMode = 1;
            m_edits[i].m_bAllowMinus = page.numericEdits[i].allowMinus;
            m_edits[i].m_bAllowDot = page.numericEdits[i].allowDot;
        }
    }
    for (size_t t = 0; t < page.targetCount; ++t)
        if (page.targets[t].count > m_loadedCount) m_loadedCount = page.targets[t].count;
    if (m_loadedCount) m_loaded.reset(new Loaded[m_loadedCount]);
}

PropertyPageBase::~PropertyPageBase() {
    if (m_hWnd) DestroyWindow(m_hWnd);
    ForgetLoaded();
    ReleaseObjects();
    if (m_pPageSite) m_pPageSite->Release();
}

void* PropertyPageBase::FindInterface(REFIID iid) {
    if (IsEqualIID(iid, IID_IPropertyPage)) return static_cast<IPropertyPage*>(this);
    return nullptr;
}

void PropertyPageBase::ReleaseObjects() {
    for (ULONG i = 0; i < m_nObjects; ++i)
        if (m_ppUnk[i]) m_ppUnk[i]->Release();
    delete[] m_ppUnk;
    m_ppUnk = nullptr;
    m_nObjects = 0;
}

void PropertyPageBase::ForgetLoaded() {
    for (size_t i = 0; i < m_loadedCount; ++i) {
        Loaded& slot = m_loaded[i];
        SysFreeString(slot.value.s);
        slot = Loaded();
    }
    m_loadedTarget = nullptr;
}

// ---------------------------------------------------------------- IPropertyPage

STDMETHODIMP PropertyPageBase::SetPageSite(IPropertyPageSite* site) {
    if (site) {
        if (m_pPageSite) return E_UNEXPECTED;
        m_pPageSite = site;
        site->AddRef();
    } else if (m_pPageSite) {
        IPropertyPageSite* old = m_pPageSite;
        m_pPageSite = nullptr;
        old->Release();
    }
    return S_OK;
}

STDMETHODIMP PropertyPageBase::Activate(HWND parent, LPCRECT rect, BOOL) {
    if (!rect) return E_POINTER;
    // A second activation replaces the dialog rather than leaking it.
    if (m_hWnd) Deactivate();
    ForgetLoaded();
    HWND dlg = CreateDialogParamW(ModuleInstance(), MAKEINTRESOURCEW(m_page.dialogId), parent,
                                  &PropertyPageBase::DialogProc, reinterpret_cast<LPARAM>(this));
    if (!dlg) {
        DWORD err = GetLastError();
        return err ? HRESULT_FROM_WIN32(err) : E_FAIL;
    }
    m_hWnd = dlg;
    Move(rect);
    m_size.cx = rect->right - rect->left;
    m_size.cy = rect->bottom - rect->top;
    m_bActivated = true;
    for (size_t l = 0; l < m_page.listCount; ++l) {
        const PageList& list = m_page.lists[l];
        for (size_t i = 0; i < list.count; ++i)
            SendDlgItemMessageW(m_hWnd, list.id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(list.items[i]));
    }
    LoadFields();
    MarkClean();
    return S_OK;
}

STDMETHODIMP PropertyPageBase::Deactivate() {
    if (m_hWnd) {
        HWND dlg = m_hWnd;
        m_hWnd = nullptr;
        DestroyWindow(dlg);
    }
    return S_OK;
}

STDMETHODIMP PropertyPageBase::GetPageInfo(PROPPAGEINFO* info) {
    if (!info) return E_POINTER;
    SIZE size;
    if (!DialogSizePixels(m_page.dialogId, size)) return E_UNEXPECTED;
    info->cb = sizeof(PROPPAGEINFO);
    info->pszTitle = LoadTaskString(m_page.titleId);
    info->size = size;
    info->pszDocString = LoadTaskString(m_page.docStringId);
    info->pszHelpFile = LoadTaskString(m_page.helpFileId);
    info->dwHelpContext = m_dwHelpContext;
    return S_OK;
}

STDMETHODIMP PropertyPageBase::SetObjects(ULONG count, IUnknown** objects) {
    if (count && !objects) return E_POINTER;
    IUnknown** kept = nullptr;
    if (count) {
        kept = new (std::nothrow) IUnknown*[count];
        if (!kept) return E_OUTOFMEMORY;
        for (ULONG i = 0; i < count; ++i) {
            kept[i] = objects[i];
            if (kept[i]) kept[i]->AddRef();
        }
    }
    ReleaseObjects();
    m_ppUnk = kept;
    m_nObjects = count;
    return m_bActivated ? LoadFields() : S_OK;
}

STDMETHODIMP PropertyPageBase::Show(UINT cmd) {
    if (m_hWnd) ShowWindow(m_hWnd, cmd);
    return S_OK;
}

STDMETHODIMP PropertyPageBase::Move(LPCRECT rect) {
    if (!rect) return E_POINTER;
    if (m_hWnd) MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
    return S_OK;
}

STDMETHODIMP PropertyPageBase::IsPageDirty() { return m_bDirty ? S_OK : S_FALSE; }

STDMETHODIMP PropertyPageBase::Help(LPCOLESTR dir) {
    std::wstring path = dir ? dir : L"";
    LPOLESTR file = LoadTaskString(m_page.helpFileId);
    if (file) {
        path += L"\\";
        path += file;
        CoTaskMemFree(file);
    }
    WinHelpW(m_hWnd, path.c_str(), HELP_CONTEXTPOPUP, m_dwHelpContext);
    return S_OK;
}

STDMETHODIMP PropertyPageBase::TranslateAccelerator(MSG* msg) {
    if (!msg) return E_POINTER;
    const UINT m = msg->message;
    const bool keyboard = m >= 0x100 && m <= 0x108;
    const bool mouse = m >= 0x200 && m <= 0x20A;
    if (!keyboard && !mouse) return S_FALSE;
    return m_hWnd && IsDialogMessageW(m_hWnd, msg) ? S_OK : S_FALSE;
}

STDMETHODIMP PropertyPageBase::Apply() {
    // Without a dialog there are no fields to read: writing would replace
    // every property with zeros.
    if (!m_nObjects || !m_hWnd) return S_OK;
    const PageTarget* target = nullptr;
    IUnknown* itf = QueryTarget(target);
    if (!itf) return E_UNEXPECTED;
    for (size_t k = 0; k < m_page.applyCount; ++k) {
        const WORD id = m_page.applyOrder[k];
        const PageField* f = FindField(*target, id);
        if (!f) continue;
        FieldValue v;
        // What the last load showed counts only for the interface it came from.
        const Loaded* slot = target == m_loadedTarget ? &m_loaded[FieldIndex(*target, id)] : nullptr;
        HRESULT hr = ReadField(*f, slot, v);
        if (SUCCEEDED(hr)) hr = f->put(itf, v);
        SysFreeString(v.s);
        if (FAILED(hr)) {
            itf->Release();
            return hr;
        }
    }
    itf->Release();
    MarkClean();
    return S_OK;
}

// ---------------------------------------------------------------- load and fields

HRESULT PropertyPageBase::LoadFields() {
    if (!m_nObjects || !m_hWnd) return S_OK;
    const PageTarget* target = nullptr;
    IUnknown* itf = QueryTarget(target);
    if (!itf) return E_UNEXPECTED;
    if (target != m_loadedTarget) ForgetLoaded();
    m_loadedTarget = target;
    ShowItemsFor(*target);
    for (size_t k = 0; k < m_page.loadCount; ++k) {
        const WORD id = m_page.loadOrder[k];
        const PageField* f = FindField(*target, id);
        if (!f) continue;
        FieldValue v;
        HRESULT hr = f->get(itf, v);
        if (FAILED(hr)) {
            SysFreeString(v.s);
            itf->Release();
            return hr;
        }
        ShowField(*f, m_loaded[FieldIndex(*target, id)], v);
    }
    itf->Release();
    MarkClean();
    return S_OK;
}

IUnknown* PropertyPageBase::QueryTarget(const PageTarget*& target) {
    target = nullptr;
    if (!m_nObjects || !m_ppUnk[0]) return nullptr;
    for (size_t t = 0; t < m_page.targetCount; ++t) {
        void* p = nullptr;
        if (SUCCEEDED(m_ppUnk[0]->QueryInterface(*m_page.targets[t].iid, &p)) && p) {
            target = &m_page.targets[t];
            return static_cast<IUnknown*>(p);
        }
    }
    return nullptr;
}

const PageField* PropertyPageBase::FindField(const PageTarget& target, WORD id) const {
    for (size_t i = 0; i < target.count; ++i)
        if (target.fields[i].id == id) return &target.fields[i];
    return nullptr;
}

const PageField* PropertyPageBase::ChangedField(WORD id) const {
    if (m_loadedTarget) return FindField(*m_loadedTarget, id);
    for (size_t t = 0; t < m_page.targetCount; ++t)
        if (const PageField* f = FindField(m_page.targets[t], id)) return f;
    return nullptr;
}

void PropertyPageBase::ShowItemsFor(const PageTarget& target) {
    auto hides = [](const PageTarget& t, WORD id) {
        for (size_t i = 0; i < t.hiddenCount; ++i)
            if (t.hiddenItems[i] == id) return true;
        return false;
    };
    for (size_t t = 0; t < m_page.targetCount; ++t) {
        const PageTarget& other = m_page.targets[t];
        for (size_t i = 0; i < other.hiddenCount; ++i) {
            const WORD id = other.hiddenItems[i];
            if (HWND item = GetDlgItem(m_hWnd, id)) ShowWindow(item, hides(target, id) ? SW_HIDE : SW_SHOW);
        }
    }
}

size_t PropertyPageBase::FieldIndex(const PageTarget& target, WORD id) const {
    for (size_t i = 0; i < target.count; ++i)
        if (target.fields[i].id == id) return i;
    return 0;
}

int PropertyPageBase::Decimals(const PageTarget& target, const PageField& f) const {
    int decimals = f.decimals;
    if (f.decimalsFrom) {
        const Loaded& from = m_loaded[FieldIndex(target, f.decimalsFrom)];
        if (from.valid) decimals = from.value.i;
    }
    return decimals < 0 ? 0 : decimals > 15 ? 15 : decimals;
}

// Puts a loaded value into its field and remembers what the field shows.
// `v` is handed over (its string now belongs to the slot).
void PropertyPageBase::ShowField(const PageField& f, Loaded& slot, const FieldValue& v) {
    SysFreeString(slot.value.s);
    slot = Loaded();
    switch (f.kind) {
    case FieldKind::List: {
        LRESULT count = SendDlgItemMessageW(m_hWnd, f.id, CB_GETCOUNT, 0, 0);
        // An index past the end must clear the selection explicitly: some
        // list boxes keep the previous one.
        WPARAM index = (v.i >= 0 && v.i < count) ? static_cast<WPARAM>(v.i) : static_cast<WPARAM>(-1);
        SendDlgItemMessageW(m_hWnd, f.id, CB_SETCURSEL, index, 0);
        return;
    }
    case FieldKind::Check:
        CheckDlgButton(m_hWnd, f.id, v.i == VARIANT_TRUE ? BST_CHECKED : BST_UNCHECKED);
        return;
    case FieldKind::Integer:
    case FieldKind::Long:
        SetDlgItemTextW(m_hWnd, f.id, std::to_wstring(FieldWidth(f.kind, v.i)).c_str());
        break;
    case FieldKind::Decimal:
        SetDlgItemTextW(m_hWnd, f.id, FormatFixed(v.d, Decimals(*m_loadedTarget, f)).c_str());
        break;
    case FieldKind::Text:
        SetDlgItemTextW(m_hWnd, f.id, v.s ? std::wstring(v.s, SysStringLen(v.s)).c_str() : L"");
        break;
    }
    slot.valid = true;
    slot.value = v;
    slot.text = ItemText(m_hWnd, f.id);
}

// The value a field gives its property on Apply. An edit box still showing
// what the last load put there gives the loaded value itself.
HRESULT PropertyPageBase::ReadField(const PageField& f, const Loaded* slot, FieldValue& v) {
    const bool unchanged = slot && slot->valid && ItemText(m_hWnd, f.id) == slot->text;
    switch (f.kind) {
    case FieldKind::List:
        v.i = static_cast<short>(SendDlgItemMessageW(m_hWnd, f.id, CB_GETCURSEL, 0, 0));
        return S_OK;
    case FieldKind::Check:
        v.i = IsDlgButtonChecked(m_hWnd, f.id) != BST_UNCHECKED ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    case FieldKind::Integer:
    case FieldKind::Long:
        v.i = unchanged ? slot->value.i
                        : FieldWidth(f.kind, static_cast<LONG>(GetDlgItemInt(m_hWnd, f.id, nullptr, TRUE)));
        return S_OK;
    case FieldKind::Decimal:
        v.d = unchanged ? slot->value.d : ParseDecimal(ItemText(m_hWnd, f.id));
        return S_OK;
    case FieldKind::Text: {
        if (unchanged) {
            if (!slot->value.s) return S_OK;
            v.s = SysAllocStringLen(slot->value.s, SysStringLen(slot->value.s));
        } else {
            std::wstring text = ItemText(m_hWnd, f.id);
            v.s = SysAllocStringLen(text.data(), (UINT)text.size());
        }
        return v.s ? S_OK : E_OUTOFMEMORY;
    }
    }
    return S_OK;
}

// ---------------------------------------------------------------- dialog

INT_PTR CALLBACK PropertyPageBase::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<PropertyPageBase*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<PropertyPageBase*>(lp);
        SetWindowLongPtrW(hwnd, DWLP_USER, lp);
        self->m_hWnd = hwnd;
    }
    if (!self) return FALSE;
    if (msg == WM_NCDESTROY) {
        // The frame may destroy the page's window with its own.
        if (self->m_hWnd == hwnd) self->m_hWnd = nullptr;
        return FALSE;
    }
    return self->OnMessage(msg, wp, lp);
}

INT_PTR PropertyPageBase::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_INITDIALOG:
        // A page without numeric fields has no row for this message, so the
        // dialog manager leaves the focus where it was.
        if (!m_page.numericCount) return FALSE;
        for (size_t i = 0; i < m_page.numericCount; ++i)
            m_edits[i].SubclassWindow(GetDlgItem(m_hWnd, m_page.numericEdits[i].id));
        return m_page.initDialogAnswer == PageDescription::InitDialogAnswer::Default;
    case WM_COMMAND: {
        const WORD code = HIWORD(wp), id = LOWORD(wp);
        const PageField* f = ChangedField(id);
        if (!f || code != ChangeNotification(f->kind)) return FALSE;
        SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, OnControlChange(code, id));
        return TRUE;
    }
    case WM_STYLECHANGING:
        if (static_cast<int>(wp) == GWL_EXSTYLE) {
            reinterpret_cast<STYLESTRUCT*>(lp)->styleNew |= WS_EX_CONTROLPARENT;
            SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, 0);
        } else {
            SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, 1);
        }
        return TRUE;
    }
    return FALSE;
}

}  // namespace fw

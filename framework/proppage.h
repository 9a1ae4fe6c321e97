// Property-page base: a modeless dialog that edits the first object it is
// given through that object's dual interface. A page is a table: its dialog,
// strings, fields (id, kind, property accessors), list texts, numeric edit
// fields and its load and apply orders; the base runs everything from it.
#pragma once
#include <ocidl.h>
#include <memory>
#include <string>
#include <type_traits>
#include "object.h"
#include "common/editcntl.h"

namespace fw {

// How a dialog field shows a property.
enum class FieldKind : BYTE {
    List,     // drop-down list: the selection index is the enumeration value
    Integer,  // edit box, "%d" of a short; read signed and cut to 16 bits
    Long,     // edit box, "%d" of a long; read signed, all 32 bits kept
    Decimal,  // edit box, fixed-point text of a float or double; read with atof
    Text,     // edit box, any text (a BSTR property)
    Check,    // check box: checked exactly when the property is VARIANT_TRUE
};

// A value on its way between a property and a field.
struct FieldValue {
    LONG i = 0;        // List, Integer, Long, Check
    double d = 0;      // Decimal
    BSTR s = nullptr;  // Text (owned by whoever holds the FieldValue)
};

// Accessors of one property on the page's control interface. `itf` is the
// interface pointer that the first object gave for the page's interface.
typedef HRESULT (*FieldGetter)(IUnknown* itf, FieldValue& out);
typedef HRESULT (*FieldSetter)(IUnknown* itf, const FieldValue& in);

struct PageField {
    WORD id;
    FieldKind kind;
    FieldGetter get;
    FieldSetter put;
    BYTE decimals = 0;      // Decimal: digits after the point
    WORD decimalsFrom = 0;  // Decimal: the Integer field whose loaded value gives
                            // the digits instead (clamped to 0-15); 0 for none
};

// One control interface the page can edit, with its fields, and the dialog
// items hidden while an object of this interface is loaded (every item that
// some target hides is shown for the other targets).
struct PageTarget {
    const IID* iid;
    const PageField* fields;
    size_t count;
    const WORD* hiddenItems = nullptr;
    size_t hiddenCount = 0;
};

// Texts of a drop-down list, in order (the position is the value).
struct PageList {
    WORD id;
    const wchar_t* const* items;
    size_t count;
};

// An edit box filtered by the numeric edit field.
struct PageNumericEdit {
    WORD id;
    bool allowMinus;
    bool allowDot;
};

struct PageDescription {
    UINT dialogId;
    UINT titleId, helpFileId, docStringId;
    const PageTarget* targets;  // tried in order on the first object
    size_t targetCount;
    const WORD* loadOrder;
    size_t loadCount;
    const WORD* applyOrder;
    size_t applyCount;
    const PageList* lists;  // filled in this order on activation
    size_t listCount;
    const PageNumericEdit* numericEdits;  // subclassed in this order
    size_t numericCount;
    // The answer to WM_INITDIALOG: by default TRUE after subclassing numeric
    // fields (the dialog manager sets the focus), and no row at all (FALSE)
    // for a page without them.
    enum class InitDialogAnswer : BYTE { Default, False } initDialogAnswer = InitDialogAnswer::Default;
};

// Table builders that take the lengths from the arrays themselves.
template <size_t N>
constexpr PageTarget TargetOf(const IID* iid, const PageField (&fields)[N]) {
    return PageTarget{iid, fields, N};
}
template <size_t N, size_t H>
constexpr PageTarget TargetOf(const IID* iid, const PageField (&fields)[N], const WORD (&hiddenItems)[H]) {
    return PageTarget{iid, fields, N, hiddenItems, H};
}
template <size_t N>
constexpr PageList ListOf(WORD id, const wchar_t* const (&items)[N]) {
    return PageList{id, items, N};
}
// The dialog and its title, help file and doc string resources, then the
// tables of a page; a page without numeric edit fields leaves out the last.
template <size_t T, size_t L, size_t A, size_t S>
constexpr PageDescription DescribePage(UINT dialogId, UINT titleId, UINT helpFileId, UINT docStringId,
                                       const PageTarget (&targets)[T], const WORD (&loadOrder)[L],
                                       const WORD (&applyOrder)[A], const PageList (&lists)[S]) {
    return PageDescription{dialogId,   titleId, helpFileId, docStringId, targets, T, loadOrder, L,
                           applyOrder, A,       lists,      S,           nullptr, 0};
}
template <size_t T, size_t L, size_t A, size_t S, size_t N>
constexpr PageDescription DescribePage(UINT dialogId, UINT titleId, UINT helpFileId, UINT docStringId,
                                       const PageTarget (&targets)[T], const WORD (&loadOrder)[L],
                                       const WORD (&applyOrder)[A], const PageList (&lists)[S],
                                       const PageNumericEdit (&numericEdits)[N]) {
    PageDescription page =
        DescribePage(dialogId, titleId, helpFileId, docStringId, targets, loadOrder, applyOrder, lists);
    page.numericEdits = numericEdits;
    page.numericCount = N;
    return page;
}

// A page without drop-down lists.
template <size_t T, size_t L, size_t A, size_t N>
constexpr PageDescription DescribePage(UINT dialogId, UINT titleId, UINT helpFileId, UINT docStringId,
                                       const PageTarget (&targets)[T], const WORD (&loadOrder)[L],
                                       const WORD (&applyOrder)[A], const PageNumericEdit (&numericEdits)[N]) {
    return PageDescription{dialogId, titleId, helpFileId, docStringId, targets,      T, loadOrder, L,
                           applyOrder, A,     nullptr,    0,           numericEdits, N};
}

// The page answers WM_INITDIALOG with FALSE also after subclassing its
// numeric fields, so the dialog manager leaves the focus alone.
constexpr PageDescription AnswerInitDialogFalse(PageDescription page) {
    page.initDialogAnswer = PageDescription::InitDialogAnswer::False;
    return page;
}

class PropertyPageBase : public ObjectRoot, public IPropertyPage, public CPageChangeHandler {
public:
    FW_DELEGATING_IUNKNOWN

    explicit PropertyPageBase(const PageDescription& page);
    ~PropertyPageBase() override;

    void* FindInterface(REFIID iid) override;

    // ----- IPropertyPage
    STDMETHODIMP SetPageSite(IPropertyPageSite* site) override;
    STDMETHODIMP Activate(HWND parent, LPCRECT rect, BOOL modal) override;
    STDMETHODIMP Deactivate() override;
    STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override;
    STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override;
    STDMETHODIMP Show(UINT cmd) override;
    STDMETHODIMP Move(LPCRECT rect) override;
    STDMETHODIMP IsPageDirty() override;
    STDMETHODIMP Apply() override;
    STDMETHODIMP Help(LPCOLESTR dir) override;
    STDMETHODIMP TranslateAccelerator(MSG* msg) override;

    // Fills the dialog's fields from the first object.
    HRESULT LoadFields();

    HWND Dialog() const { return m_hWnd; }

private:
    // What the last load put into a field, so that an untouched field writes
    // back the property's own value rather than its rounded display.
    struct Loaded {
        bool valid = false;
        std::wstring text;
        FieldValue value;
    };

    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    INT_PTR OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    // The first object's interface for the first target it answers (with a
    // reference), or null.
    IUnknown* QueryTarget(const PageTarget*& target);
    const PageField* FindField(const PageTarget& target, WORD id) const;
    // The field of a change notification: of the loaded target, or of any
    // target before a load.
    const PageField* ChangedField(WORD id) const;
    void ShowItemsFor(const PageTarget& target);
    size_t FieldIndex(const PageTarget& target, WORD id) const;
    void ShowField(const PageField& f, Loaded& slot, const FieldValue& v);
    HRESULT ReadField(const PageField& f, const Loaded* slot, FieldValue& v);
    int Decimals(const PageTarget& target, const PageField& f) const;
    void ReleaseObjects();
    void ForgetLoaded();

    const PageDescription& m_page;
    ULONG m_nObjects = 0;
    IUnknown** m_ppUnk = nullptr;
    DWORD m_dwHelpContext = 0;
    SIZE m_size{0, 0};
    HWND m_hWnd = nullptr;
    bool m_bActivated = false;
    std::unique_ptr<CQEVEditCntl[]> m_edits;
    std::unique_ptr<Loaded[]> m_loaded;  // per field of the widest target
    size_t m_loadedCount = 0;
    const PageTarget* m_loadedTarget = nullptr;  // target of the last load
};

// ----- accessors generated from the interface's get_/put_ members

template <class M>
struct GetterTraits;
template <class C, class T>
struct GetterTraits<HRESULT (STDMETHODCALLTYPE C::*)(T*)> {
    typedef C Itf;
    typedef T Value;
};
template <class M>
struct SetterTraits;
template <class C, class T>
struct SetterTraits<HRESULT (STDMETHODCALLTYPE C::*)(T)> {
    typedef C Itf;
    typedef T Value;
};

inline void StoreField(FieldValue& v, BSTR s) { v.s = s; }
template <class T>
void StoreField(FieldValue& v, T x) {
    if constexpr (std::is_floating_point<T>::value) v.d = x;
    else v.i = static_cast<LONG>(x);
}
template <class T>
T TakeField(const FieldValue& v) {
    if constexpr (std::is_same<T, BSTR>::value) return v.s;
    else if constexpr (std::is_floating_point<T>::value) return static_cast<T>(v.d);
    else return static_cast<T>(v.i);
}

template <auto Get>
HRESULT GetField(IUnknown* itf, FieldValue& out) {
    typedef GetterTraits<decltype(Get)> Tr;
    typename Tr::Value x{};
    HRESULT hr = (static_cast<typename Tr::Itf*>(itf)->*Get)(&x);
    if (SUCCEEDED(hr)) StoreField(out, x);
    return hr;
}
template <auto Put>
HRESULT PutField(IUnknown* itf, const FieldValue& in) {
    typedef SetterTraits<decltype(Put)> Tr;
    return (static_cast<typename Tr::Itf*>(itf)->*Put)(TakeField<typename Tr::Value>(in));
}

}  // namespace fw

// One row of a page's field table: the property Name of interface Itf shown
// in the dialog item id as a field of the given kind.
#define FW_PAGE_FIELD(id, kind, Itf, Name) \
    fw::PageField { id, fw::FieldKind::kind, &fw::GetField<&Itf::get_##Name>, &fw::PutField<&Itf::put_##Name> }
#define FW_PAGE_DECIMAL(id, Itf, Name, decimals, decimalsFrom)                                            \
    fw::PageField {                                                                                       \
        id, fw::FieldKind::Decimal, &fw::GetField<&Itf::get_##Name>, &fw::PutField<&Itf::put_##Name>, \
            decimals, decimalsFrom                                                                        \
    }

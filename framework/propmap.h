// Property maps: the ordered rows that drive saving and loading of a control
// and the list of its property pages.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <olectl.h>

namespace fw {

enum class RowKind {
    Data,      // raw member bytes in the stream; a typed value in a bag
    Page,      // names a property page, nothing is persisted
    Property,  // tagged value read and written through IDispatch by dispid
};

struct PropRow {
    RowKind kind;
    const wchar_t* name;  // property-bag key (null for page rows)
    DISPID dispid;        // property rows
    VARTYPE vt;           // tag of property rows; type of data rows (VT_UI4)
    const CLSID* page;    // page rows: the page; property rows: its page or null
    size_t offset;        // data rows: byte offset of the member in the data block
    size_t size;          // data rows: byte size of the member
    const CLSID* object;  // property rows holding an object: its class (the
                          // standard font or picture); null for all others
};

struct PropMap {
    const PropRow* rows;
    size_t count;
};

// Row builders for the tables of each control.
inline constexpr PropRow DataRow(const wchar_t* name, size_t offset, size_t size, VARTYPE vt) {
    return PropRow{RowKind::Data, name, 0, vt, nullptr, offset, size, nullptr};
}
inline constexpr PropRow PageRow(const CLSID* page) {
    return PropRow{RowKind::Page, nullptr, 0, VT_EMPTY, page, 0, 0, nullptr};
}
// `object`: the class of the object the property holds, for object rows.
// Saved data may hold an object only on such a row and only of that class.
inline constexpr PropRow PropertyRow(const wchar_t* name, DISPID dispid, VARTYPE vt, const CLSID* page,
                                     const CLSID* object = nullptr) {
    return PropRow{RowKind::Property, name, dispid, vt, page, 0, 0, object};
}

// The class of the object a property of interface type T holds: the standard
// font for a font, the standard picture for a picture, none otherwise.
template <class T>
struct ObjectClass {
    static constexpr const CLSID* value = nullptr;
};
template <>
struct ObjectClass<IFontDisp*> {
    static constexpr const CLSID* value = &CLSID_StdFont;
};
template <>
struct ObjectClass<IPictureDisp*> {
    static constexpr const CLSID* value = &CLSID_StdPicture;
};

// Persistence driven by a map. `disp` is the control's dual interface,
// `data` the base address that data-row offsets are relative to.
// Save/Load leave the requires-save flag to the caller.
HRESULT SaveToStream(IStream* stream, IDispatch* disp, const PropMap& map, const void* data);
HRESULT LoadFromStream(IStream* stream, IDispatch* disp, const PropMap& map, void* data);
HRESULT SaveToBag(IPropertyBag* bag, IDispatch* disp, const PropMap& map, const void* data, BOOL saveAll);
HRESULT LoadFromBag(IPropertyBag* bag, IErrorLog* log, IDispatch* disp, const PropMap& map, void* data);
// Upper bound of the saved stream's size (ULARGE_INTEGER for GetSizeMax).
HRESULT SizeMax(IDispatch* disp, const PropMap& map, ULARGE_INTEGER* size);

// Distinct page class ids of the map in first-seen order (page rows and the
// pages of property rows). Returns the count written (at most `max`).
size_t MapPages(const PropMap& map, CLSID* out, size_t max);

// The stream format's version word.
constexpr DWORD kStreamVersion = 0x800;

}  // namespace fw

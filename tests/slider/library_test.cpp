// Morvel.dll as a library: its type library (identity, every dispatch id of
// both dual interfaces and both event interfaces by name, the enumerations,
// the classes) and its class objects and unloading.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "Morvel.h"
#include "tests/support/typelib.h"

using namespace testsupport;

namespace {

struct Named {
    const wchar_t* name;
    LONG id;  // dispatch id, or an enumeration value
};

void CheckDispids(ITypeInfo* ti, const std::vector<Named>& rows) {
    for (const Named& r : rows) {
        INFO(Narrow(r.name));
        LPOLESTR name = const_cast<LPOLESTR>(r.name);
        MEMBERID id = 0;
        CHECK(ti->GetIDsOfNames(&name, 1, &id) == S_OK);
        CHECK(id == r.id);
    }
}

const std::vector<Named> kSliderMembers = {
    {L"Vertical", 1}, {L"BkColor", 2}, {L"RangeBkColor", 3}, {L"InverseDirection", 4}, {L"MaxVal", 5},
    {L"MinVal", 6}, {L"TickerNum", 7}, {L"SubTickerNum", 8}, {L"TextColor", 9}, {L"MarkerStyle", 10},
    {L"ScaleSideChanged", 11}, {L"BorderStyle", 12}, {L"OuterBorderLen", 13}, {L"InnerBorderLen", 14},
    {L"BorderDarkColor", 15}, {L"BorderLightColor", 16}, {L"RangeBorderStyle", 17}, {L"RangeFieldWidth", 18},
    {L"RangeActualColor", 19}, {L"PercentageScale", 20}, {L"ScaleVisible", 21}, {L"ShowSetpointValue", 22},
    {L"ActualRangeVisible", 23}, {L"ShowActualValue", 24}, {L"ScalePrecision", 25}, {L"MarkerWidth", 26},
    {L"MarkerHeight", 27}, {L"ScaleGap", 28}, {L"MarkerColor", 29}, {L"RangeEndGap", 30}, {L"Font", 31},
    {L"UpdateActualValue", 32}, {L"UpdateSetpoint", 33}, {L"GetSetpoint", 34}, {L"Enabled", 35}, {L"hWnd", 36},
    {L"FontName", 37}, {L"FontSize", 38}, {L"FontBold", 39}, {L"FontItalic", 40}, {L"FontUnderline", 41},
    {L"FontStrikethrough", 42}, {L"FontWeight", 43}, {L"FontCharset", 44}, {L"BackStyle", 45},
};

const std::vector<Named> kSwitchSliderMembers = {
    {L"Vertical", 1}, {L"BkColor", 2}, {L"RangeBkColor", 3}, {L"InverseDirection", 4}, {L"MarkerStyle", 5},
    {L"ScaleSideChanged", 6}, {L"BorderStyle", 7}, {L"OuterBorderLen", 8}, {L"InnerBorderLen", 9},
    {L"BorderDarkColor", 10}, {L"BorderLightColor", 11}, {L"RangeBorderStyle", 12}, {L"RangeFieldWidth", 13},
    {L"ScaleVisible", 14}, {L"MarkerWidth", 15}, {L"MarkerHeight", 16}, {L"ScaleGap", 17}, {L"MarkerColor", 18},
    {L"RangeEndGap", 19}, {L"IndicatorType", 20}, {L"IndicatorSize", 21}, {L"Font", 22}, {L"UpdateSetpoint", 23},
    {L"GetSetpoint", 24}, {L"AddItem", 25}, {L"RemoveItem", 26}, {L"Enabled", 27}, {L"hWnd", 28},
    {L"FontName", 29}, {L"FontSize", 30}, {L"FontBold", 31}, {L"FontItalic", 32}, {L"FontUnderline", 33},
    {L"FontStrikethrough", 34}, {L"FontWeight", 35}, {L"FontCharset", 36}, {L"BackStyle", 37},
};

std::vector<Named> Events(const wchar_t* valueEvent) {
    return {{valueEvent, 1}, {L"DblClick", 2}, {L"Click", 3}, {L"MouseDown", 4},
            {L"MouseUp", 5},  {L"MouseMove", 6}, {L"KeyDown", 7}, {L"KeyUp", 8}};
}

// Members of an enumeration in order with their values.
std::vector<std::pair<std::string, LONG>> EnumMembers(ITypeInfo* ti) {
    std::vector<std::pair<std::string, LONG>> out;
    TYPEATTR* ta = nullptr;
    REQUIRE(ti->GetTypeAttr(&ta) == S_OK);
    for (UINT i = 0; i < ta->cVars; ++i) {
        VARDESC* vd = nullptr;
        REQUIRE(ti->GetVarDesc(i, &vd) == S_OK);
        BSTR name = nullptr;
        ti->GetDocumentation(vd->memid, &name, nullptr, nullptr, nullptr);
        out.push_back({Narrow(name), V_I4(vd->lpvarValue)});
        SysFreeString(name);
        ti->ReleaseVarDesc(vd);
    }
    ti->ReleaseTypeAttr(ta);
    return out;
}

}  // namespace

TEST_CASE("the type library carries the library's identity, interfaces and classes") {
    LoadedLibrary dll(L"Morvel.dll");
    TypeLib lib(dll);
    lib.CheckIdentity(LIBID_MorvelLib);
    BSTR name = nullptr, doc = nullptr;
    REQUIRE(lib.tl->GetDocumentation(-1, &name, &doc, nullptr, nullptr) == S_OK);
    CHECK(Narrow(name) == "MorvelLib");
    CHECK(Narrow(doc) == "Morvel 3.0 Type Library");
    SysFreeString(name);
    SysFreeString(doc);

    struct Dual {
        const IID* iid;
        const CLSID* clsid;
        const IID* events;
        WORD functions;  // IDispatch's seven not counted
        const std::vector<Named>* members;
        const wchar_t* valueEvent;
    } duals[] = {
        {&IID_IQEV_Slider, &CLSID_QEV_Slider, &DIID__IQEV_SliderEvents, 87, &kSliderMembers, L"SetpointChange"},
        {&IID_IQEV_SwitchSlider, &CLSID_QEV_SwitchSlider, &DIID__IQEV_SwitchSliderEvents, 70, &kSwitchSliderMembers,
         L"ValueChange"},
    };
    for (const Dual& d : duals) {
        ITypeInfo* ti = lib.Info(*d.iid);
        TYPEATTR* ta = nullptr;
        REQUIRE(ti->GetTypeAttr(&ta) == S_OK);
        CHECK(ta->typekind == TKIND_DISPATCH);  // a dual interface's dispatch side
        CHECK((ta->wTypeFlags & TYPEFLAG_FDUAL) != 0);
        ti->ReleaseTypeAttr(ta);
        HREFTYPE href;
        ITypeInfo* vt = nullptr;
        REQUIRE(ti->GetRefTypeOfImplType(-1, &href) == S_OK);
        REQUIRE(ti->GetRefTypeInfo(href, &vt) == S_OK);
        REQUIRE(vt->GetTypeAttr(&ta) == S_OK);
        CHECK(ta->cFuncs == d.functions);
        vt->ReleaseTypeAttr(ta);
        vt->Release();
        CheckDispids(ti, *d.members);
        ti->Release();

        ITypeInfo* ev = lib.Info(*d.events);
        CheckDispids(ev, Events(d.valueEvent));
        ev->Release();

        // The class names the dual interface as default and the events as default source.
        ITypeInfo* co = lib.Info(*d.clsid);
        REQUIRE(co->GetTypeAttr(&ta) == S_OK);
        CHECK(ta->cImplTypes == 2);
        co->ReleaseTypeAttr(ta);
        for (UINT i = 0; i < 2; ++i) {
            INT flags = 0;
            ITypeInfo* impl = nullptr;
            REQUIRE(co->GetRefTypeOfImplType(i, &href) == S_OK);
            REQUIRE(co->GetRefTypeInfo(href, &impl) == S_OK);
            co->GetImplTypeFlags(i, &flags);
            REQUIRE(impl->GetTypeAttr(&ta) == S_OK);
            CHECK(IsEqualGUID(ta->guid, i == 0 ? *d.iid : *d.events));
            CHECK(flags == (i == 0 ? IMPLTYPEFLAG_FDEFAULT : IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE));
            impl->ReleaseTypeAttr(ta);
            impl->Release();
        }
        co->Release();
    }
    for (const CLSID* page : {&CLSID_OthersProp}) lib.Info(*page)->Release();
}

TEST_CASE("the enumerations hold their members and values") {
    LoadedLibrary dll(L"Morvel.dll");
    TypeLib lib(dll);
    struct Enum {
        const wchar_t* name;
        std::vector<Named> members;
    } enums[] = {
        {L"SliderMarkerStyle",
         {{L"MKFLAT", 0}, {L"MKGRADIENT", 1}, {L"MKARROW", 2}, {L"MKRAISEDTOOTH", 3}, {L"MKSUNKENTOOTH", 4},
          {L"MKRAISEDTOOTHARROW", 5}, {L"MKSUNKENTOOTHARROW", 6}, {L"MKRAISED", 7}, {L"MKSUNKEN", 8},
          {L"MKTRIANGLE", 9}, {L"MKDUMBBELL", 10}, {L"MKELLIPSE", 11}, {L"MKEX1", 12}, {L"MKEX2", 13},
          {L"MKEX3", 14}, {L"MKEX4", 15}}},
        {L"SliderBorderStyle", {{L"FLAT", 0}, {L"SUNKEN", 1}, {L"RAISED", 2}, {L"CONFIGURABLE", 3}}},
        {L"BackStyleType", {{L"BS_Transparent", 0}, {L"BS_Opaque", 1}}},
        {L"IndicatorStyle",
         {{L"ITCIRCLE", 0}, {L"ITGRADIENTCIRCLE", 1}, {L"ITLINE", 2}, {L"IT3DLINE", 3}, {L"ITDIAMOND", 4},
          {L"ITSQURE", 5}, {L"ITTRIANGLE", 6}}},
    };
    for (const Enum& e : enums) {
        INFO(Narrow(e.name));
        ITypeInfo* ti = lib.Named(e.name);
        auto got = EnumMembers(ti);
        ti->Release();
        REQUIRE(got.size() == e.members.size());
        for (size_t i = 0; i < got.size(); ++i) {
            CHECK(got[i].first == Narrow(e.members[i].name));
            CHECK(got[i].second == e.members[i].id);
        }
    }
}

TEST_CASE("each class of the object map is handed out, and the library unloads once nothing of it is alive") {
    LoadedLibrary lib(L"Morvel.dll");
    REQUIRE(lib.Loaded());
    struct Cls {
        const CLSID* clsid;
        const IID* iid;  // its dual interface where it has one
    } classes[] = {{&CLSID_QEV_Slider, &IID_IQEV_Slider},
                   {&CLSID_QEV_SwitchSlider, &IID_IQEV_SwitchSlider},
                   {&CLSID_OthersProp, &IID_IPropertyPage}};
    for (const Cls& c : classes) {
        IUnknown* unk = nullptr;
        REQUIRE(lib.Create(*c.clsid, *c.iid, reinterpret_cast<void**>(&unk)) == S_OK);
        CHECK(lib.CanUnloadNow() == S_FALSE);
        unk->Release();
        CHECK(lib.CanUnloadNow() == S_OK);
    }
}

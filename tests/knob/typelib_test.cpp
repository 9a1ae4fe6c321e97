// The knob library's type library as built into Tarnik.dll: identity,
// members of both dual interfaces in vtable order with their dispatch ids and
// types, the events, the enumerations and the coclasses.
#include <doctest/doctest.h>

#include <windows.h>
#include <ole2.h>

#include <string>
#include <vector>

#include "Tarnik.h"

namespace {

std::string Narrow(const wchar_t* s) {
    std::string out;
    for (; s && *s; ++s) out += (char)*s;
    return out;
}

struct TypeLibFixture {
    HMODULE module = nullptr;
    ITypeLib* tl = nullptr;
    TypeLibFixture() {
        module = LoadLibraryW(L"Tarnik.dll");
        REQUIRE(module);
        wchar_t path[MAX_PATH];
        GetModuleFileNameW(module, path, MAX_PATH);
        REQUIRE(LoadTypeLibEx(path, REGKIND_NONE, &tl) == S_OK);
    }
    ~TypeLibFixture() {
        if (tl) tl->Release();
        if (module) FreeLibrary(module);
    }
    ITypeInfo* Info(REFGUID guid) {
        ITypeInfo* ti = nullptr;
        REQUIRE(tl->GetTypeInfoOfGuid(guid, &ti) == S_OK);
        return ti;
    }
};

std::string TypeName(ITypeInfo* owner, const TYPEDESC& td) {
    switch (td.vt) {
    case VT_PTR: return TypeName(owner, *td.lptdesc) + "*";
    case VT_I2: return "short";
    case VT_I4: return "long";
    case VT_R4: return "float";
    case VT_R8: return "double";
    case VT_BSTR: return "BSTR";
    case VT_BOOL: return "VARIANT_BOOL";
    case VT_HRESULT: return "HRESULT";
    case VT_VOID: return "void";
    case VT_USERDEFINED: {
        ITypeInfo* ref = nullptr;
        if (owner->GetRefTypeInfo(td.hreftype, &ref) != S_OK) return "?";
        BSTR name = nullptr;
        ref->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
        std::string s = Narrow(name);
        SysFreeString(name);
        ref->Release();
        return s;
    }
    default: return "vt" + std::to_string(td.vt);
    }
}

// "get Name([retval] T* pVal)", "put Name(T newVal)", "method Name(T a, U b)".
std::string Signature(ITypeInfo* ti, const FUNCDESC* fd) {
    BSTR names[16] = {};
    UINT count = 0;
    ti->GetNames(fd->memid, names, 16, &count);
    std::string kind = fd->invkind == INVOKE_PROPERTYGET ? "get"
                     : fd->invkind == INVOKE_PROPERTYPUT ? "put"
                     : fd->invkind == INVOKE_PROPERTYPUTREF ? "putref" : "method";
    std::string s = kind + " " + Narrow(names[0]) + "(";
    for (SHORT i = 0; i < fd->cParams; ++i) {
        const ELEMDESC& p = fd->lprgelemdescParam[i];
        if (i) s += ", ";
        if (p.paramdesc.wParamFlags & PARAMFLAG_FRETVAL) s += "[retval] ";
        s += TypeName(ti, p.tdesc);
        // Names come by member id, so the put of a property shares its get's
        // names: only gets and methods have their own.
        bool own = fd->invkind == INVOKE_PROPERTYGET || fd->invkind == INVOKE_FUNC;
        if (own && (UINT)i + 1 < count) s += " " + Narrow(names[i + 1]);
    }
    for (UINT i = 0; i < count; ++i) SysFreeString(names[i]);
    return s + ")";
}

struct Member {
    DISPID id;
    const char* name;
    const char* type;  // property type, "ro:T" read-only, "font", or "(args)" for a method
};

const Member kKnobMembers[] = {
    {1, "BkColor", "OLE_COLOR"}, {2, "PanelColor", "OLE_COLOR"}, {3, "InverseDirection", "VARIANT_BOOL"},
    {4, "MaxVal", "double"}, {5, "MinVal", "double"}, {6, "TickerNum", "short"}, {7, "SubTickerNum", "short"},
    {8, "TextColor", "OLE_COLOR"}, {9, "ScaleSideChanged", "VARIANT_BOOL"}, {10, "IndicatorColor", "OLE_COLOR"},
    {11, "UnitName", "BSTR"}, {12, "BorderType", "EdgeStyle"}, {13, "ScalePrecision", "short"},
    {14, "OuterTextHeight", "short"}, {15, "OuterTextLength", "short"},
    {16, "ScaleRingBorderType", "ScaleRingBorderStyle"}, {17, "ScaleTextPosStyle", "ShowStyle"},
    {18, "TickerAlignment", "ShowStyle"}, {19, "TickerColor", "OLE_COLOR"}, {20, "PanelType", "PanelStyle"},
    {21, "PanelBorderType", "PanelBorderStyle"}, {22, "PanelBorderLen", "short"},
    {23, "PanelBorderDarkColor", "OLE_COLOR"}, {24, "PanelBorderLightColor", "OLE_COLOR"},
    {25, "IndicatorType", "IndicatorStyle"}, {26, "GradientRate", "float"}, {27, "StartAngle", "short"},
    {28, "EndAngle", "short"}, {29, "OuterBorderLen", "short"}, {30, "InnerBorderLen", "short"},
    {31, "BorderDarkColor", "OLE_COLOR"}, {32, "BorderLightColor", "OLE_COLOR"}, {33, "Font", "font"},
    {34, "PercentageScale", "VARIANT_BOOL"}, {35, "CircleColor", "OLE_COLOR"}, {36, "ScaleRingColor", "OLE_COLOR"},
    {37, "SliderType", "SlideStyle"}, {38, "SliderColor", "OLE_COLOR"}, {39, "IndicatorSize", "short"},
    {40, "SliderWidth", "short"}, {41, "MarkerColor", "OLE_COLOR"}, {42, "MarkerType", "MarkerStyle"},
    {43, "MarkerVisible", "VARIANT_BOOL"}, {44, "SetpointTextType", "SetpointTextStyle"},
    {45, "SetScaleRangeColor", "(short index, double start, double end, OLE_COLOR color)"},
    {46, "CancelScaleRangeColor", "(short index)"}, {47, "UpdateValue", "(double newVal)"},
    {48, "GetValue", "([retval] double* pVal)"}, {49, "Enabled", "VARIANT_BOOL"}, {50, "hWnd", "ro:long"},
    {51, "ScaleRingVisible", "VARIANT_BOOL"}, {52, "FontName", "BSTR"}, {53, "FontSize", "short"},
    {54, "FontBold", "VARIANT_BOOL"}, {55, "FontItalic", "VARIANT_BOOL"}, {56, "FontUnderline", "VARIANT_BOOL"},
    {57, "FontStrikethrough", "VARIANT_BOOL"}, {58, "FontWeight", "short"}, {59, "FontCharset", "short"},
    {60, "BackStyle", "BackStyleType"},
};

const Member kSwitchKnobMembers[] = {
    {1, "BkColor", "OLE_COLOR"}, {2, "PanelColor", "OLE_COLOR"}, {3, "InverseDirection", "VARIANT_BOOL"},
    {4, "IndicatorColor", "OLE_COLOR"}, {5, "BorderType", "EdgeStyle"}, {6, "OuterTextHeight", "short"},
    {7, "OuterTextLength", "short"}, {8, "PanelType", "PanelStyle"}, {9, "PanelBorderType", "PanelBorderStyle"},
    {10, "PanelBorderLen", "short"}, {11, "PanelBorderDarkColor", "OLE_COLOR"},
    {12, "PanelBorderLightColor", "OLE_COLOR"}, {13, "IndicatorType", "IndicatorStyle"},
    {14, "GradientRate", "float"}, {15, "StartAngle", "short"}, {16, "EndAngle", "short"},
    {17, "OuterBorderLen", "short"}, {18, "InnerBorderLen", "short"}, {19, "BorderDarkColor", "OLE_COLOR"},
    {20, "BorderLightColor", "OLE_COLOR"}, {21, "Font", "font"}, {22, "CircleColor", "OLE_COLOR"},
    {23, "SliderType", "SlideStyle"}, {24, "SliderColor", "OLE_COLOR"}, {25, "IndicatorSize", "short"},
    {26, "SliderWidth", "short"}, {27, "MarkerColor", "OLE_COLOR"}, {28, "MarkerType", "MarkerStyle"},
    {29, "MarkerVisible", "VARIANT_BOOL"}, {30, "ElementIndicatorType", "ElementIndicatorStyle"},
    {31, "ElementIndicatorSize", "short"}, {32, "UpdateSetpoint", "(BSTR strKey)"},
    {33, "GetSetpoint", "([retval] BSTR* pstrKey)"},
    {34, "AddItem", "(BSTR strKey, BSTR strName, OLE_COLOR color)"}, {35, "RemoveItem", "(BSTR strKey)"},
    {36, "Enabled", "VARIANT_BOOL"}, {37, "hWnd", "ro:long"}, {38, "FontName", "BSTR"}, {39, "FontSize", "short"},
    {40, "FontBold", "VARIANT_BOOL"}, {41, "FontItalic", "VARIANT_BOOL"}, {42, "FontUnderline", "VARIANT_BOOL"},
    {43, "FontStrikethrough", "VARIANT_BOOL"}, {44, "FontWeight", "short"}, {45, "FontCharset", "short"},
    {46, "BackStyle", "BackStyleType"},
};

struct Expected {
    DISPID id;
    std::string signature;
    std::string help;
};

template <size_t N>
std::vector<Expected> Expand(const Member (&table)[N]) {
    std::vector<Expected> out;
    for (const Member& m : table) {
        std::string t = m.type, name = m.name;
        if (t[0] == '(') {
            out.push_back({m.id, "method " + name + t, "method " + name});
            continue;
        }
        std::string help = "property " + name;
        if (t == "font") {
            out.push_back({m.id, "get " + name + "([retval] IFontDisp** pVal)", help});
            out.push_back({m.id, "put " + name + "(IFontDisp*)", help});
            out.push_back({m.id, "putref " + name + "(IFontDisp*)", help});
        } else if (t.compare(0, 3, "ro:") == 0) {
            out.push_back({m.id, "get " + name + "([retval] " + t.substr(3) + "* pVal)", help});
        } else {
            out.push_back({m.id, "get " + name + "([retval] " + t + "* pVal)", help});
            out.push_back({m.id, "put " + name + "(" + t + ")", help});
        }
    }
    return out;
}

// Checks the vtable part of a dual interface: every member in order, at its
// slot after the seven of IDispatch, with its dispatch id, signature and help.
void CheckDual(TypeLibFixture& f, REFIID iid, const std::vector<Expected>& expected,
               const char* misspelledHelp30 = nullptr, const char* misspelledHelp31 = nullptr) {
    ITypeInfo* disp = f.Info(iid);
    TYPEATTR* attr = nullptr;
    REQUIRE(disp->GetTypeAttr(&attr) == S_OK);
    CHECK(attr->typekind == TKIND_DISPATCH);
    CHECK((attr->wTypeFlags & TYPEFLAG_FDUAL) != 0);
    disp->ReleaseTypeAttr(attr);

    HREFTYPE href = 0;
    ITypeInfo* vt = nullptr;
    REQUIRE(disp->GetRefTypeOfImplType(-1, &href) == S_OK);
    REQUIRE(disp->GetRefTypeInfo(href, &vt) == S_OK);
    REQUIRE(vt->GetTypeAttr(&attr) == S_OK);
    CHECK(attr->typekind == TKIND_INTERFACE);
    REQUIRE(attr->cFuncs == expected.size());
    vt->ReleaseTypeAttr(attr);

    for (size_t i = 0; i < expected.size(); ++i) {
        FUNCDESC* fd = nullptr;
        REQUIRE(vt->GetFuncDesc((UINT)i, &fd) == S_OK);
        INFO("member " << i << ": " << expected[i].signature);
        CHECK(Signature(vt, fd) == expected[i].signature);
        CHECK(fd->memid == expected[i].id);
        CHECK(fd->oVft == (SHORT)((7 + i) * sizeof(void*)));
        CHECK(fd->elemdescFunc.tdesc.vt == VT_HRESULT);
        BSTR help = nullptr;
        vt->GetDocumentation(fd->memid, nullptr, &help, nullptr, nullptr);
        std::string want = expected[i].help;
        if (fd->memid == 30 && misspelledHelp30) want = misspelledHelp30;
        if (fd->memid == 31 && misspelledHelp31) want = misspelledHelp31;
        CHECK(Narrow(help) == want);
        SysFreeString(help);
        vt->ReleaseFuncDesc(fd);
    }

    // Late binding finds every member by name through the dispatch side.
    for (const Expected& e : expected) {
        std::string name = e.signature.substr(e.signature.find(' ') + 1);
        name = name.substr(0, name.find('('));
        std::wstring wide(name.begin(), name.end());
        LPOLESTR names[1] = {&wide[0]};
        MEMBERID id = 0;
        CHECK_MESSAGE(disp->GetIDsOfNames(names, 1, &id) == S_OK, name);
        CHECK_MESSAGE(id == e.id, name);
    }
    vt->Release();
    disp->Release();
}

struct Event {
    DISPID id;
    const char* signature;
};

void CheckEvents(TypeLibFixture& f, REFIID iid, const std::vector<Event>& events) {
    ITypeInfo* ti = f.Info(iid);
    TYPEATTR* attr = nullptr;
    REQUIRE(ti->GetTypeAttr(&attr) == S_OK);
    CHECK(attr->typekind == TKIND_DISPATCH);
    CHECK((attr->wTypeFlags & TYPEFLAG_FDUAL) == 0);
    UINT count = attr->cFuncs;
    ti->ReleaseTypeAttr(attr);
    // The dispinterface's own methods follow IDispatch's seven, when listed.
    UINT first = count - (UINT)events.size();
    REQUIRE((first == 0 || first == 7));
    for (size_t i = 0; i < events.size(); ++i) {
        FUNCDESC* fd = nullptr;
        REQUIRE(ti->GetFuncDesc(first + (UINT)i, &fd) == S_OK);
        CHECK(fd->memid == events[i].id);
        CHECK(fd->funckind == FUNC_DISPATCH);
        CHECK(Signature(ti, fd) == events[i].signature);
        ti->ReleaseFuncDesc(fd);
    }
    ti->Release();
}

const Event kCommonEvents[] = {
    {2, "method DblClick()"},
    {3, "method Click()"},
    {4, "method MouseDown(long x, long y)"},
    {5, "method MouseUp(long x, long y)"},
    {6, "method MouseMove(long x, long y)"},
    {7, "method KeyDown(long nChar, long nRepCnt, long nFlags)"},
    {8, "method KeyUp(long nChar, long nRepCnt, long nFlags)"},
};

}  // namespace

TEST_CASE("the type library carries the library's identity") {
    TypeLibFixture f;
    TLIBATTR* attr = nullptr;
    REQUIRE(f.tl->GetLibAttr(&attr) == S_OK);
    CHECK(IsEqualGUID(attr->guid, LIBID_TarnikLib));
    CHECK(attr->wMajorVerNum == 3);
    CHECK(attr->wMinorVerNum == 0);
    CHECK(attr->syskind == (sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32));
    f.tl->ReleaseTLibAttr(attr);

    const GUID expected = {0x0BF13BB0, 0x9746, 0x42C7, {0xBF, 0xFF, 0x6D, 0x1C, 0xB5, 0x9D, 0xD8, 0xF0}};
    CHECK(IsEqualGUID(LIBID_TarnikLib, expected));

    BSTR name = nullptr, help = nullptr;
    REQUIRE(f.tl->GetDocumentation(-1, &name, &help, nullptr, nullptr) == S_OK);
    CHECK(Narrow(name) == "TarnikLib");
    CHECK(Narrow(help) == "Tarnik 3.0 Type Library");
    SysFreeString(name);
    SysFreeString(help);
}

TEST_CASE("every interface and class of the library is found by its id") {
    TypeLibFixture f;
    struct {
        const GUID* guid;
        GUID literal;
        TYPEKIND kind;
        const char* name;
    } rows[] = {
        {&IID_IQEV_Knob, {0xA8CF3C06, 0xB1D0, 0x44D3, {0x8B, 0x49, 0x1E, 0x4C, 0xE4, 0x7B, 0x6D, 0x39}}, TKIND_DISPATCH, "IQEV_Knob"},
        {&IID_IQEV_SwitchKnob, {0x184F71B0, 0x046F, 0x4BB7, {0x81, 0xE9, 0x0D, 0xDC, 0x0A, 0x66, 0x8A, 0x18}}, TKIND_DISPATCH, "IQEV_SwitchKnob"},
        {&DIID__IQEV_KnobEvents, {0x436A8A85, 0xE142, 0x40BB, {0xBF, 0xB5, 0x65, 0x06, 0xBE, 0xD7, 0x16, 0xA9}}, TKIND_DISPATCH, "_IQEV_KnobEvents"},
        {&DIID__IQEV_SwitchKnobEvents, {0x72DCE7F3, 0xB49A, 0x4D31, {0x9A, 0x22, 0xEF, 0x30, 0x96, 0xBE, 0xFA, 0xF2}}, TKIND_DISPATCH, "_IQEV_SwitchKnobEvents"},
        {&CLSID_QEV_Knob, {0x4239AE66, 0xF4F8, 0x4D5F, {0xA2, 0x6B, 0xCF, 0x36, 0x9C, 0x4E, 0xDE, 0xA6}}, TKIND_COCLASS, "QEV_Knob"},
        {&CLSID_QEV_SwitchKnob, {0xCF35E3ED, 0xFFDB, 0x4343, {0xB0, 0xAE, 0xC1, 0x07, 0x3A, 0xA2, 0x21, 0x90}}, TKIND_COCLASS, "QEV_SwitchKnob"},
        {&CLSID_GeneralProp, {0x4C601D46, 0x2A06, 0x44C3, {0x8A, 0xEA, 0x30, 0xF0, 0x04, 0x07, 0x8B, 0xAF}}, TKIND_COCLASS, "GeneralProp"},
        {&CLSID_KnobScale, {0x3AEBA6C6, 0x34EB, 0x441B, {0xA8, 0xB5, 0xD2, 0x58, 0x40, 0xA4, 0x00, 0x9E}}, TKIND_COCLASS, "KnobScale"},
        {&CLSID_SwitchOthersProp, {0xF93B5B48, 0xCB44, 0x452C, {0x89, 0x32, 0x38, 0x3E, 0xD7, 0x1A, 0x24, 0x11}}, TKIND_COCLASS, "SwitchOthersProp"},
    };
    for (auto& r : rows) {
        INFO(r.name);
        CHECK(IsEqualGUID(*r.guid, r.literal));
        ITypeInfo* ti = f.Info(r.literal);
        TYPEATTR* attr = nullptr;
        REQUIRE(ti->GetTypeAttr(&attr) == S_OK);
        CHECK(attr->typekind == r.kind);
        ti->ReleaseTypeAttr(attr);
        BSTR name = nullptr;
        ti->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
        CHECK(Narrow(name) == r.name);
        SysFreeString(name);
        ti->Release();
    }
}

TEST_CASE("IQEV_Knob lists its 116 members in vtable order with their dispatch ids") {
    TypeLibFixture f;
    CheckDual(f, IID_IQEV_Knob, Expand(kKnobMembers));
}

TEST_CASE("IQEV_SwitchKnob lists its 88 members in vtable order with their dispatch ids") {
    TypeLibFixture f;
    CheckDual(f, IID_IQEV_SwitchKnob, Expand(kSwitchKnobMembers), "property ElememtIndicatorType",
              "property ElememtIndicatorSize");
}

TEST_CASE("the event interfaces carry their dispatch ids and argument types") {
    TypeLibFixture f;
    std::vector<Event> knob = {{1, "method SetpointChange(double newVal)"}};
    std::vector<Event> switchKnob = {{1, "method ValueChange(BSTR strKey)"}};
    for (const Event& e : kCommonEvents) {
        knob.push_back(e);
        switchKnob.push_back(e);
    }
    SUBCASE("knob") { CheckEvents(f, DIID__IQEV_KnobEvents, knob); }
    SUBCASE("switch knob") { CheckEvents(f, DIID__IQEV_SwitchKnobEvents, switchKnob); }
}

TEST_CASE("the enumerations hold their members and values") {
    TypeLibFixture f;
    struct Enum {
        const char* name;
        std::vector<const char*> members;  // value = position
    } enums[] = {
        {"EdgeStyle", {"ES_FLAT", "ES_SUNKEN", "ES_RAISED", "ES_CIRCLE", "ES_3DRING", "ES_3DGRADIENT",
                       "ES_3DCIRCLEFLAT", "ES_SUNKENCIRCLE", "ES_RAISEDCIRCLE", "ES_CONFIGURABLE"}},
        {"ScaleRingBorderStyle", {"ONLY_OUTER", "ONLY_INNER", "BOTH", "NONE"}},
        {"ShowStyle", {"INNER", "OUTER"}},
        {"PanelStyle", {"PS_None", "PS_Circle", "PS_Bubble", "PS_Hover"}},
        {"PanelBorderStyle", {"PBS_NONE", "PBS_GRADIENT", "PBS_3D_FLAT", "PBS_3D_GRADIENT", "PBS_3D_RING",
                              "PBS_SUNKEN", "PBS_RAISED"}},
        {"IndicatorStyle", {"IS_Rect_Flat", "IS_Rect_3D", "IS_Circle", "IS_Slide_Circle", "IS_RoundButton",
                            "IS_Slide_RoundButton", "IS_Bubble", "IS_Slide_Bubble", "IS_Hover", "IS_Slide_Hover",
                            "IS_Needle", "IS_Bold_Needle", "IS_Arrow_Needle", "IS_Arrow", "IS_Sunken_Needle",
                            "IS_Sunken_Bold_Needle", "IS_Sunken_Arrow_Needle", "IS_Sunken_Arrow"}},
        {"SlideStyle", {"SS_FLAT", "SS_GRADIENT"}},
        {"MarkerStyle", {"MS_Squre", "MS_Raised_Squre", "MS_Sunken_Squre", "MS_Rect", "MS_Raised_Rect",
                         "MS_Sunken_Rect", "MS_Circle", "MS_Raised_Circle", "MS_Sunken_Circle"}},
        {"SetpointTextStyle", {"STS_NONE", "STS_TRANSPARENT", "STS_SUNKEN", "STS_BOTTOM_TRANSPARENT",
                               "STS_BOTTOM_SUNKEN", "STS_BOTTOM_NONE"}},
        {"ElementIndicatorStyle", {"ITCIRCLE", "ITGRADIENTCIRCLE", "ITLINE", "ITDIAMOND", "ITSQURE", "ITTRIANGLE"}},
        {"BackStyleType", {"BS_Transparent", "BS_Opaque"}},
    };
    for (const Enum& e : enums) {
        INFO(e.name);
        ITypeInfo* found = nullptr;
        for (UINT i = 0, n = f.tl->GetTypeInfoCount(); i < n && !found; ++i) {
            TYPEKIND kind;
            BSTR name = nullptr;
            if (f.tl->GetTypeInfoType(i, &kind) != S_OK || kind != TKIND_ENUM) continue;
            f.tl->GetDocumentation((INT)i, &name, nullptr, nullptr, nullptr);
            if (Narrow(name) == e.name) f.tl->GetTypeInfo(i, &found);
            SysFreeString(name);
        }
        REQUIRE(found);
        TYPEATTR* attr = nullptr;
        REQUIRE(found->GetTypeAttr(&attr) == S_OK);
        CHECK(attr->cVars == e.members.size());
        found->ReleaseTypeAttr(attr);
        for (size_t v = 0; v < e.members.size(); ++v) {
            VARDESC* vd = nullptr;
            REQUIRE(found->GetVarDesc((UINT)v, &vd) == S_OK);
            BSTR name = nullptr;
            UINT count = 0;
            found->GetNames(vd->memid, &name, 1, &count);
            CHECK(Narrow(name) == e.members[v]);
            CHECK(vd->varkind == VAR_CONST);
            CHECK(V_I4(vd->lpvarValue) == (LONG)v);
            SysFreeString(name);
            found->ReleaseVarDesc(vd);
        }
        found->Release();
    }
}

TEST_CASE("each control class names its dual interface as default and its events as default source") {
    TypeLibFixture f;
    struct {
        const CLSID* clsid;
        const IID* dual;
        const IID* events;
    } controls[] = {
        {&CLSID_QEV_Knob, &IID_IQEV_Knob, &DIID__IQEV_KnobEvents},
        {&CLSID_QEV_SwitchKnob, &IID_IQEV_SwitchKnob, &DIID__IQEV_SwitchKnobEvents},
    };
    for (auto& c : controls) {
        ITypeInfo* ti = f.Info(*c.clsid);
        TYPEATTR* attr = nullptr;
        REQUIRE(ti->GetTypeAttr(&attr) == S_OK);
        REQUIRE(attr->cImplTypes == 2);
        ti->ReleaseTypeAttr(attr);
        bool sawDual = false, sawEvents = false;
        for (UINT i = 0; i < 2; ++i) {
            INT flags = 0;
            HREFTYPE href = 0;
            ITypeInfo* impl = nullptr;
            REQUIRE(ti->GetImplTypeFlags(i, &flags) == S_OK);
            REQUIRE(ti->GetRefTypeOfImplType(i, &href) == S_OK);
            REQUIRE(ti->GetRefTypeInfo(href, &impl) == S_OK);
            TYPEATTR* ia = nullptr;
            impl->GetTypeAttr(&ia);
            if (IsEqualIID(ia->guid, *c.dual)) {
                sawDual = true;
                CHECK(flags == IMPLTYPEFLAG_FDEFAULT);
            } else if (IsEqualIID(ia->guid, *c.events)) {
                sawEvents = true;
                CHECK(flags == (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE));
            }
            impl->ReleaseTypeAttr(ia);
            impl->Release();
        }
        CHECK(sawDual);
        CHECK(sawEvents);
        ti->Release();
    }
}

TEST_CASE("colours and fonts are the standard OLE types of stdole") {
    TypeLibFixture f;
    const GUID stdole = {0x00020430, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    ITypeInfo* disp = f.Info(IID_IQEV_Knob);
    HREFTYPE href = 0;
    ITypeInfo* vt = nullptr;
    REQUIRE(disp->GetRefTypeOfImplType(-1, &href) == S_OK);
    REQUIRE(disp->GetRefTypeInfo(href, &vt) == S_OK);
    // Members 0 (get BkColor) and 64 (get Font): a pointer to the property type.
    for (UINT index : {0u, 64u}) {
        FUNCDESC* fd = nullptr;
        REQUIRE(vt->GetFuncDesc(index, &fd) == S_OK);
        const TYPEDESC* td = fd->lprgelemdescParam[0].tdesc.lptdesc;
        if (index == 64) td = td->lptdesc;  // IFontDisp**
        REQUIRE(td->vt == VT_USERDEFINED);
        ITypeInfo* ref = nullptr;
        REQUIRE(vt->GetRefTypeInfo(td->hreftype, &ref) == S_OK);
        ITypeLib* owner = nullptr;
        UINT at = 0;
        REQUIRE(ref->GetContainingTypeLib(&owner, &at) == S_OK);
        TLIBATTR* la = nullptr;
        owner->GetLibAttr(&la);
        CHECK(IsEqualGUID(la->guid, stdole));
        owner->ReleaseTLibAttr(la);
        owner->Release();
        ref->Release();
        vt->ReleaseFuncDesc(fd);
    }
    vt->Release();
    disp->Release();
}

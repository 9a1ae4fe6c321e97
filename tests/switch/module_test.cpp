// Wendal.dll as a library: its type library (the dual interface's 94
// operations in order, the events, the enumerations, the coclasses), its
// class objects and when it may unload.
#include "switch_test_util.h"
#include "typelib.h"

using namespace switchtest;

namespace {

// The properties in dispid order with their types; hWnd is read only, the
// pictures and the font also have a put-by-reference.
struct Prop {
    const char* name;
    VARTYPE vt;  // VT_USERDEFINED for enumerations and OLE_COLOR
};
const Prop kProps[46] = {
    {"SwitchType", VT_USERDEFINED}, {"BkColor", VT_USERDEFINED}, {"ForeColor", VT_USERDEFINED},
    {"EdgeColor", VT_USERDEFINED}, {"StatusColor", VT_USERDEFINED}, {"bShowStatus", VT_BOOL}, {"Value", VT_BOOL},
    {"Status", VT_BOOL}, {"ButtonHeight", VT_I2}, {"SideLightColor", VT_USERDEFINED},
    {"SideDarkColor", VT_USERDEFINED}, {"BorderLen", VT_I2}, {"Light3D", VT_USERDEFINED}, {"ToggleHeight", VT_I2},
    {"GradientRate", VT_R4}, {"RoundWidth", VT_I2}, {"RoundHeight", VT_I2}, {"Text", VT_BSTR},
    {"OnText", VT_BSTR}, {"OffText", VT_BSTR}, {"TextColor", VT_USERDEFINED}, {"OnTextColor", VT_USERDEFINED},
    {"OffTextColor", VT_USERDEFINED}, {"OnPicture", VT_PTR}, {"OffPicture", VT_PTR}, {"Font", VT_PTR},
    {"b3DText", VT_BOOL}, {"bVerticalToggle", VT_BOOL}, {"bForeGradientToggle", VT_BOOL},
    {"bCircleStatus", VT_BOOL}, {"Enabled", VT_BOOL}, {"hWnd", VT_I4}, {"ImageStyle", VT_USERDEFINED},
    {"BorderDarkColor", VT_USERDEFINED}, {"BorderLightColor", VT_USERDEFINED}, {"FontName", VT_BSTR},
    {"FontSize", VT_I2}, {"FontBold", VT_BOOL}, {"FontItalic", VT_BOOL}, {"FontUnderline", VT_BOOL},
    {"FontStrikethrough", VT_BOOL}, {"FontWeight", VT_I2}, {"FontCharset", VT_I2},
    {"BackStyle", VT_USERDEFINED}, {"StatusXOffset", VT_I2}, {"StatusYOffset", VT_I2},
};

}  // namespace

TEST_CASE("the dual interface lists its 94 operations in order with the published dispatch ids") {
    TypeLib lib(Library());
    lib.CheckIdentity(kLibId);
    BSTR doc = nullptr, name = nullptr;
    lib.tl->GetDocumentation(-1, &name, &doc, nullptr, nullptr);
    CHECK(Narrow(name) == "WendalLib");
    CHECK(Narrow(doc) == "Wendal 3.0 Type Library");
    SysFreeString(doc);
    SysFreeString(name);

    ITypeInfo* ti = lib.Info(kIidSwitch);
    // The dual's vtable half: IDispatch's seven slots, then the members.
    HREFTYPE ref;
    ITypeInfo* vt = ti;
    if (ti->GetRefTypeOfImplType(-1, &ref) != S_OK || ti->GetRefTypeInfo(ref, &vt) != S_OK) vt = ti, ti->AddRef();
    std::vector<std::string> expected, got;
    for (int i = 0; i < 46; ++i) {
        std::string n = kProps[i].name, id = std::to_string(i + 1);
        expected.push_back("get " + n + " " + id);
        if (n == "hWnd") continue;
        expected.push_back("put " + n + " " + id);
        if (kProps[i].vt == VT_PTR) expected.push_back("putref " + n + " " + id);
    }
    TYPEATTR* ta = nullptr;
    REQUIRE(vt->GetTypeAttr(&ta) == S_OK);
    for (UINT i = 0; i < ta->cFuncs; ++i) {
        FUNCDESC* fd = nullptr;
        REQUIRE(vt->GetFuncDesc(i, &fd) == S_OK);
        if (fd->oVft / (SHORT)sizeof(void*) >= 7) {
            std::string kind = fd->invkind == INVOKE_PROPERTYGET ? "get"
                             : fd->invkind == INVOKE_PROPERTYPUT ? "put"
                             : fd->invkind == INVOKE_PROPERTYPUTREF ? "putref" : "method";
            got.push_back(kind + " " + MemberName(vt, fd->memid) + " " + std::to_string(fd->memid));
            // Each property's declared type.
            size_t p = (size_t)fd->memid - 1;
            const TYPEDESC& td = fd->invkind == INVOKE_PROPERTYGET ? *fd->lprgelemdescParam[0].tdesc.lptdesc
                                                                   : fd->lprgelemdescParam[0].tdesc;
            if (p < 46) CHECK_MESSAGE(td.vt == kProps[p].vt, kProps[p].name);
        }
        vt->ReleaseFuncDesc(fd);
    }
    vt->ReleaseTypeAttr(ta);
    CHECK(got.size() == 94);
    CHECK(got == expected);
    vt->Release();
    ti->Release();
}

TEST_CASE("events, enumerations and coclasses") {
    TypeLib lib(Library());
    ITypeInfo* ev = lib.Info(kIidEvents);
    const char* events[] = {"DblClick", "Click", "MouseDown", "MouseUp", "MouseMove",
                            "KeyDown", "KeyUp", "ValueChange", "StatusChange"};
    for (int i = 0; i < 9; ++i) CHECK(MemberName(ev, i + 1) == events[i]);
    TYPEATTR* ta = nullptr;
    ev->GetTypeAttr(&ta);
    CHECK(ta->cFuncs == 9);
    for (UINT i = 0; i < ta->cFuncs; ++i) {  // the value events carry one Boolean
        FUNCDESC* fd = nullptr;
        ev->GetFuncDesc(i, &fd);
        if (fd->memid >= 8) CHECK((fd->cParams == 1 && fd->lprgelemdescParam[0].tdesc.vt == VT_BOOL));
        ev->ReleaseFuncDesc(fd);
    }
    ev->ReleaseTypeAttr(ta);
    ev->Release();

    struct Enum {
        const wchar_t* name;
        std::vector<std::pair<std::string, LONG>> members;
    } enums[] = {
        {L"SwitchShape", {{"USER_IMAGE", 0}, {"RECTANGLE", 1}, {"ROUND_RECTANGLE", 2}, {"CIRCLE", 3},
                          {"WEDGE_TOGGLE", 4}, {"GROOVE_TOGGLE", 5}, {"SWITCH_TOGGLE", 6}}},
        {L"LightDirection", {{"MIDDLE", 0}, {"LEFT_TOP", 1}, {"LEFT_BOTTOM", 2}, {"RIGHT_TOP", 3}, {"RIGHT_BOTTOM", 4}}},
        {L"ImagePaintStyle", {{"IPS_ORIGINALSIZE", 0}, {"IPS_TEXTURE", 1}, {"IPS_AUTOSIZE", 2}}},
        {L"BackStyleType", {{"BS_Transparent", 0}, {"BS_Opaque", 1}}},
    };
    for (const Enum& e : enums) {
        INFO(Narrow(e.name));
        ITypeInfo* ti = lib.Named(e.name);
        TYPEATTR* a = nullptr;
        ti->GetTypeAttr(&a);
        CHECK(a->typekind == TKIND_ENUM);
        REQUIRE(a->cVars == e.members.size());
        for (UINT i = 0; i < a->cVars; ++i) {
            VARDESC* vd = nullptr;
            ti->GetVarDesc(i, &vd);
            CHECK(MemberName(ti, vd->memid) == e.members[i].first);
            CHECK(V_I4(vd->lpvarValue) == e.members[i].second);
            ti->ReleaseVarDesc(vd);
        }
        ti->ReleaseTypeAttr(a);
        ti->Release();
    }

    // The control's coclass: the dual interface by default, the events as its default source.
    ITypeInfo* co = lib.Info(kClsidSwitch);
    for (UINT i = 0; i < 2; ++i) {
        INT flags = 0;
        HREFTYPE ref;
        REQUIRE(co->GetImplTypeFlags(i, &flags) == S_OK);
        REQUIRE(co->GetRefTypeOfImplType(i, &ref) == S_OK);
        ITypeInfo* impl = nullptr;
        co->GetRefTypeInfo(ref, &impl);
        TYPEATTR* a = nullptr;
        impl->GetTypeAttr(&a);
        CHECK(IsEqualGUID(a->guid, i == 0 ? kIidSwitch : kIidEvents));
        CHECK(flags == (i == 0 ? IMPLTYPEFLAG_FDEFAULT : (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)));
        impl->ReleaseTypeAttr(a);
        impl->Release();
    }
    co->Release();
    for (const CLSID* page : {&kClsidGeneral, &kClsidOthers}) lib.Info(*page)->Release();
}

TEST_CASE("class objects for the switch and both pages; the library unloads only when nothing of it lives") {
    const LoadedLibrary& lib = Library();
    CHECK(lib.CanUnloadNow() == S_OK);
    for (const CLSID* clsid : {&kClsidSwitch, &kClsidGeneral, &kClsidOthers}) {
        Ptr<IClassFactory> cf;
        REQUIRE(lib.GetClassObject(*clsid, IID_IClassFactory, cf.pv()) == S_OK);
        Ptr<IUnknown> obj;
        REQUIRE(cf->CreateInstance(nullptr, IID_IUnknown, obj.pv()) == S_OK);
        CHECK(lib.CanUnloadNow() == S_FALSE);
        obj.reset();
        CHECK(lib.CanUnloadNow() == S_OK);
    }
    // The switch's pages as it names them: General, Others, colour, picture, font.
    Ptr<ISpecifyPropertyPages> spp;
    REQUIRE(lib.Create(kClsidSwitch, IID_ISpecifyPropertyPages, spp.pv()) == S_OK);
    CAUUID pages{};
    REQUIRE(spp->GetPages(&pages) == S_OK);
    const CLSID* expected[] = {&kClsidGeneral, &kClsidOthers, &kStockColorPage, &kStockPicturePage, &kStockFontPage};
    REQUIRE(pages.cElems == 5);
    for (int i = 0; i < 5; ++i) CHECK(IsEqualGUID(pages.pElems[i], *expected[i]));
    CoTaskMemFree(pages.pElems);
}

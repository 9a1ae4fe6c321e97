// Pellan.dll as a library: the type library's contract (every operation of
// the dual interface in its slot with its dispatch id, the events, the
// enumerations, the coclasses), its class objects and when it may unload.
#include "button_util.h"
#include "typelib.h"

#include <map>

using namespace buttontest;

namespace {

// The properties in dispatch-id order; hWnd is read only, Font and Picture
// also have a put-by-reference.
const char* const kProps[59] = {
    "ShapeType", "BorderType", "FaceType", "IconType", "IconPosType", "FaceColor", "Caption", "TextColor",
    "BorderDarkColor", "BorderLightColor", "OuterBorderLen", "InnerBorderLen", "Font", "Picture", "GradientRate",
    "CaptureColor", "RoundRadius", "IconBorderType", "IconColor", "IconSize", "Text3D", "Enabled",
    "TextCaptureColor", "TextPressDownColor", "TextPos", "Text1", "Text1Color", "Text1CaptureColor",
    "Text1PressDownColor", "Text1Pos", "Text1Visible", "TextXOffset", "TextYOffset", "Text1XOffset", "Text1YOffset",
    "Text2", "Text2Color", "Text2CaptureColor", "Text2PressDownColor", "Text2Pos", "Text2Visible", "Text2XOffset",
    "Text2YOffset", "FocusColor", "DisableColor", "CaptionVisible", "DynamicBorder", "GradientColor", "WordWrap",
    "ImageStyle", "hWnd", "FontName", "FontSize", "FontBold", "FontItalic", "FontUnderline", "FontStrikethrough",
    "FontWeight", "FontCharset",
};

struct Slot {
    MEMBERID id;
    INVOKEKIND kind;
    std::string name;
    bool operator==(const Slot& o) const { return id == o.id && kind == o.kind && name == o.name; }
};

}  // namespace

TEST_CASE("the dual interface holds 119 operations in slots 7 to 125 with the published dispatch ids") {
    TypeLib lib(Library());
    lib.CheckIdentity(kLibId);

    std::vector<Slot> expected;
    for (int i = 0; i < 59; ++i) {
        const std::string name = kProps[i];
        expected.push_back({i + 1, INVOKE_PROPERTYGET, name});
        if (name == "hWnd") continue;
        expected.push_back({i + 1, INVOKE_PROPERTYPUT, name});
        if (name == "Font" || name == "Picture") expected.push_back({i + 1, INVOKE_PROPERTYPUTREF, name});
    }
    REQUIRE(expected.size() == 119);

    ITypeInfo* dual = lib.Info(kIidButton);
    HREFTYPE ref;
    ITypeInfo* vtbl = nullptr;
    REQUIRE(dual->GetRefTypeOfImplType(-1, &ref) == S_OK);  // the interface side of the dual
    REQUIRE(dual->GetRefTypeInfo(ref, &vtbl) == S_OK);
    TYPEATTR* ta = nullptr;
    REQUIRE(vtbl->GetTypeAttr(&ta) == S_OK);
    CHECK(ta->typekind == TKIND_INTERFACE);
    CHECK((ta->wTypeFlags & TYPEFLAG_FDUAL) != 0);
    REQUIRE(ta->cFuncs == 119);
    std::map<int, Slot> bySlot;
    for (UINT f = 0; f < ta->cFuncs; ++f) {
        FUNCDESC* fd = nullptr;
        REQUIRE(vtbl->GetFuncDesc(f, &fd) == S_OK);
        bySlot[fd->oVft / (int)sizeof(void*)] = Slot{fd->memid, fd->invkind, MemberName(vtbl, fd->memid)};
        vtbl->ReleaseFuncDesc(fd);
    }
    vtbl->ReleaseTypeAttr(ta);
    for (int i = 0; i < 119; ++i) {
        INFO("slot " << i + 7 << " " << expected[i].name);
        CHECK(bySlot[i + 7] == expected[i]);
    }
    vtbl->Release();
    dual->Release();
}

TEST_CASE("events by name, the enumerations and the classes") {
    TypeLib lib(Library());
    ITypeInfo* events = lib.Info(kIidEvents);
    const std::map<std::string, std::pair<MEMBERID, int>> kEvents = {
        {"DblClick", {1, 0}}, {"Click", {2, 0}},   {"MouseDown", {3, 2}}, {"MouseUp", {4, 2}},
        {"MouseMove", {5, 2}}, {"KeyDown", {6, 3}}, {"KeyUp", {7, 3}},
    };
    TYPEATTR* ta = nullptr;
    REQUIRE(events->GetTypeAttr(&ta) == S_OK);
    CHECK(ta->cFuncs == 7);
    for (UINT f = 0; f < ta->cFuncs; ++f) {
        FUNCDESC* fd = nullptr;
        REQUIRE(events->GetFuncDesc(f, &fd) == S_OK);
        const std::string name = MemberName(events, fd->memid);
        INFO(name);
        REQUIRE(kEvents.count(name) == 1);
        CHECK(fd->memid == kEvents.at(name).first);
        CHECK(fd->cParams == kEvents.at(name).second);
        for (int p = 0; p < fd->cParams; ++p) CHECK(fd->lprgelemdescParam[p].tdesc.vt == VT_I4);
        events->ReleaseFuncDesc(fd);
    }
    events->ReleaseTypeAttr(ta);
    events->Release();

    struct Enum {
        const char* name;
        int count;
        const char* sample;
        int value;
    };
    const Enum kEnums[] = {
        {"ButtonShapeStyle", 17, "BSS_CHARACTER", 16},   {"ButtonBorderStyle", 3, "BBS_GRADIENT_CONFIGURABLE", 2},
        {"ButtonFaceStyle", 3, "BFS_GRADIENT_2", 2},     {"ButtonIconStyle", 13, "BIS_SQURE", 10},
        {"ButtonIconPosStyle", 5, "BIPS_CENTER", 4},     {"ButtonIconBorderStyle", 3, "BIBS_SUNKEN", 2},
        {"ButtonTxtPosStyle", 9, "BTPS_BOTTOM", 8},      {"ImagePaintStyle", 3, "IPS_AUTOSIZE", 2},
    };
    for (const Enum& e : kEnums) {
        INFO(e.name);
        ITypeInfo* ti = lib.Named(std::wstring(e.name, e.name + strlen(e.name)).c_str());
        TYPEATTR* a = nullptr;
        REQUIRE(ti->GetTypeAttr(&a) == S_OK);
        CHECK(a->typekind == TKIND_ENUM);
        CHECK(a->cVars == e.count);
        bool seen = false;
        for (UINT v = 0; v < a->cVars; ++v) {
            VARDESC* vd = nullptr;
            REQUIRE(ti->GetVarDesc(v, &vd) == S_OK);
            CHECK(V_I4(vd->lpvarValue) == (LONG)v);  // members run 0, 1, 2, ...
            if (MemberName(ti, vd->memid) == e.sample) seen = V_I4(vd->lpvarValue) == e.value;
            ti->ReleaseVarDesc(vd);
        }
        CHECK(seen);
        ti->ReleaseTypeAttr(a);
        ti->Release();
    }
    for (const CLSID* c : {&kClsidButton, &kClsidGeneral, &kClsidText}) lib.Info(*c)->Release();
}

TEST_CASE("class objects for the three classes, none for others, and unloading once nothing is alive") {
    LoadedLibrary dll(L"Pellan.dll");
    REQUIRE(dll.Loaded());
    CHECK(dll.CanUnloadNow() == S_OK);
    {
        Ptr<IUnknown> button, general, text;
        REQUIRE(dll.Create(kClsidButton, IID_IUnknown, button.pv()) == S_OK);
        REQUIRE(dll.Create(kClsidGeneral, IID_IPropertyPage, general.pv()) == S_OK);
        REQUIRE(dll.Create(kClsidText, IID_IPropertyPage, text.pv()) == S_OK);
        CHECK(dll.CanUnloadNow() == S_FALSE);
        Ptr<IUnknown> none;
        CHECK(dll.GetClassObject(kIidButton, IID_IClassFactory, none.pv()) == CLASS_E_CLASSNOTAVAILABLE);
        Ptr<IClassFactory> factory;
        REQUIRE(dll.GetClassObject(kClsidButton, IID_IClassFactory, factory.pv()) == S_OK);
        CHECK(factory->LockServer(TRUE) == S_OK);
        button.reset(), general.reset(), text.reset();
        CHECK(dll.CanUnloadNow() == S_FALSE);
        CHECK(factory->LockServer(FALSE) == S_OK);
    }
    CHECK(dll.CanUnloadNow() == S_OK);
}

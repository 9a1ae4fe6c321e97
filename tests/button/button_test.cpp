// The smart button as a container sees it: defaults, the setter protocol,
// fonts and pictures, the saved stream byte for byte and round trips.
#include "button_util.h"

#include <functional>

using namespace buttontest;

namespace {

std::vector<BYTE> Save(IUnknown* control) {
    std::vector<BYTE> bytes;
    REQUIRE(SaveControl(control, bytes) == S_OK);
    return bytes;
}

// One row of a numeric type as the saved stream holds it.
void Tagged(TaggedBytes& out, VARTYPE vt, double value) {
    switch (vt) {
    case VT_I2: out.i2((SHORT)value); break;
    case VT_BOOL: out.boolean(value != 0); break;
    case VT_R4: out.r4((float)value); break;
    case VT_DISPATCH: out.nullObject(); break;
    default: out.tag(vt).raw<DWORD>((DWORD)(LONG)value); break;
    }
}

// A persisted property of a new button without a site (so without a font).
struct Row {
    DISPID id;
    VARTYPE vt;
    double value;           // numbers, colours and Booleans (-1 true)
    const wchar_t* text;    // strings
};

std::vector<Row> NewButtonRows() {
    const double face = GetSysColor(COLOR_BTNFACE);
    std::vector<Row> rows = {
        {1, VT_I4, 0, nullptr},         {2, VT_I4, 0, nullptr},          {3, VT_I4, 0, nullptr},
        {4, VT_I4, 0, nullptr},         {5, VT_I4, 4, nullptr},          {6, VT_UI4, face, nullptr},
        {7, VT_BSTR, 0, L"SButton"},    {8, VT_UI4, 0, nullptr},         {9, VT_UI4, 0xA8A8A8, nullptr},
        {10, VT_UI4, 0xE4E4E4, nullptr}, {11, VT_I2, 2, nullptr},        {12, VT_I2, 1, nullptr},
        {13, VT_DISPATCH, 0, nullptr},  {14, VT_DISPATCH, 0, nullptr},   {15, VT_R4, 0.5, nullptr},
        {16, VT_UI4, face, nullptr},    {17, VT_I2, 4, nullptr},         {18, VT_I4, 0, nullptr},
        {19, VT_UI4, 0xFFFFFF, nullptr}, {20, VT_I2, 10, nullptr},       {21, VT_BOOL, 0, nullptr},
        {22, VT_BOOL, -1, nullptr},     {23, VT_UI4, 0, nullptr},        {24, VT_UI4, 0, nullptr},
        {25, VT_I4, 0, nullptr},        {26, VT_BSTR, 0, L""},           {27, VT_UI4, 0, nullptr},
        {28, VT_UI4, 0, nullptr},       {29, VT_UI4, 0, nullptr},        {30, VT_I4, 3, nullptr},
        {31, VT_BOOL, 0, nullptr},      {32, VT_I4, 0, nullptr},         {33, VT_I4, 0, nullptr},
        {34, VT_I4, 0, nullptr},        {35, VT_I4, 0, nullptr},         {36, VT_BSTR, 0, L""},
        {37, VT_UI4, 0, nullptr},       {38, VT_UI4, 0, nullptr},        {39, VT_UI4, 0, nullptr},
        {40, VT_I4, 7, nullptr},        {41, VT_BOOL, 0, nullptr},       {42, VT_I4, 0, nullptr},
        {43, VT_I4, 0, nullptr},        {44, VT_UI4, face, nullptr},     {45, VT_UI4, face, nullptr},
        {46, VT_BOOL, -1, nullptr},     {47, VT_BOOL, 0, nullptr},       {48, VT_UI4, 0xFFFFFF, nullptr},
        {49, VT_BOOL, 0, nullptr},      {50, VT_I4, 0, nullptr},
        // The font parts of a button without a font read as their defaults.
        {52, VT_BSTR, 0, L""},          {53, VT_I2, 0, nullptr},         {54, VT_BOOL, 0, nullptr},
        {55, VT_BOOL, 0, nullptr},      {56, VT_BOOL, 0, nullptr},       {57, VT_BOOL, 0, nullptr},
        {58, VT_I2, 0, nullptr},        {59, VT_I2, 0, nullptr},
    };
    return rows;
}

std::vector<BYTE> Hex(std::initializer_list<int> bytes) {
    std::vector<BYTE> v;
    for (int b : bytes) v.push_back((BYTE)b);
    return v;
}

bool Contains(const std::vector<BYTE>& hay, const std::vector<BYTE>& needle) {
    return FindBytes(hay, needle) != std::string::npos;
}

}  // namespace

TEST_CASE("a new button saves exactly its defaults: version, extent and 58 tagged rows in dispatch-id order") {
    Ptr<IQEV_SmartButton> b;
    b.p = NewButton();
    const std::vector<Row> rows = NewButtonRows();
    REQUIRE(rows.size() == 58);

    TaggedBytes expected;
    expected.raw<DWORD>(0x800);
    SIZEL extent{};
    Ptr<IOleObject> ole;
    REQUIRE(b->QueryInterface(IID_IOleObject, ole.pv()) == S_OK);
    ole->GetExtent(DVASPECT_CONTENT, &extent);
    expected.raw<DWORD>(extent.cx).raw<DWORD>(extent.cy);
    for (const Row& r : rows) {
        if (r.vt == VT_BSTR) expected.str(r.text);
        else Tagged(expected, r.vt, r.value);
    }
    const std::vector<BYTE> saved = Save(b);
    CHECK(saved == expected.b);

    // The pieces as the published format gives them.
    CHECK(Contains(saved, Hex({0x03, 0x00, 0x00, 0x00, 0x00, 0x00})));  // ShapeType
    CHECK(Contains(saved, Hex({0x03, 0x00, 0x04, 0x00, 0x00, 0x00})));  // IconPosType
    CHECK(Contains(saved, Hex({0x08, 0x00, 0x10, 0x00, 0x00, 0x00, 'S', 0, 'B', 0, 'u', 0, 't', 0, 't', 0, 'o', 0,
                               'n', 0, 0, 0})));                          // Caption
    CHECK(Contains(saved, Hex({0x04, 0x00, 0x00, 0x00, 0x00, 0x3F})));  // GradientRate
    CHECK(Contains(saved, Hex({0x08, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00})));  // Text1

    // Every row read late-bound gives the default the stream holds.
    Ptr<IDispatch> d;
    REQUIRE(b->QueryInterface(IID_IDispatch, d.pv()) == S_OK);
    for (const Row& r : rows) {
        INFO("dispid " << r.id);
        Variant v = Get(d, r.id);
        if (r.vt == VT_BSTR) CHECK(v.AsString() == r.text);
        else if (r.vt == VT_DISPATCH) CHECK(v.v.pdispVal == nullptr);
        else CHECK(v.AsDouble() == r.value);
    }
    LONG hwnd = 1;
    CHECK(b->get_hWnd(&hwnd) == S_OK);
    CHECK(hwnd == 0);
}

TEST_CASE("setters store, then notify their own dispatch id, repaint, mark dirty and tell data holders") {
    Hosted h;
    NotifyRecorder notify;
    REQUIRE(notify.Connect(h.b) == S_OK);
    Ptr<IDispatch> d;
    REQUIRE(h.b->QueryInterface(IID_IDispatch, d.pv()) == S_OK);
    Ptr<IPersistStreamInit> ps;
    REQUIRE(h.b->QueryInterface(IID_IPersistStreamInit, ps.pv()) == S_OK);

    struct Case {
        DISPID id;
        LONG value;
        LONG readBack;  // Booleans: only -1 is true
    };
    const Case cases[] = {
        {1, 77, 77},      // enumerations keep any value
        {6, (LONG)0x80000005, (LONG)0x80000005},  // system colours are stored untranslated
        {11, -3, -3}, {15, 2, 2}, {21, -1, -1}, {32, 70000, 70000}, {50, 9, 9},
    };
    for (const Case& c : cases) {
        INFO("dispid " << c.id);
        Save(h.b);  // clean
        notify.Clear();
        h.site->ResetCounters();
        LONG seen = 0;
        notify.onChanged = [&](DISPID) { seen = Get(d, c.id).AsLong(); };
        REQUIRE(Put(d, c.id, I4(c.value)) == S_OK);
        CHECK(notify.ChangedDispids() == std::vector<DISPID>{c.id});
        CHECK(seen == c.readBack);  // stored before the container hears of it
        CHECK(Get(d, c.id).AsLong() == c.readBack);
        CHECK(h.site->viewChanges() == 1);
        CHECK(h.site->dataChanges() == 1);
        CHECK(ps->IsDirty() == S_OK);
    }
    notify.onChanged = nullptr;
    // Booleans through the interface: only VARIANT_TRUE stores true.
    VARIANT_BOOL flag = 0;
    CHECK(h.b->put_WordWrap(1) == S_OK);
    h.b->get_WordWrap(&flag);
    CHECK(flag == VARIANT_FALSE);
    CHECK(h.b->put_WordWrap(VARIANT_TRUE) == S_OK);
    h.b->get_WordWrap(&flag);
    CHECK(flag == VARIANT_TRUE);

    // Strings are copies; a null caption reads back null.
    BSTR text = SysAllocString(L"Go");
    CHECK(h.b->put_Caption(text) == S_OK);
    text[0] = L'X';
    BSTR got = nullptr;
    h.b->get_Caption(&got);
    CHECK(std::wstring(got) == L"Go");
    SysFreeString(got);
    SysFreeString(text);
    CHECK(h.b->put_Caption(nullptr) == S_OK);
    got = SysAllocString(L"x");
    CHECK(h.b->get_Caption(&got) == S_OK);
    CHECK(got == nullptr);

    // A negative font size is refused and changes nothing; zero is accepted.
    short size = 0;
    h.b->get_FontSize(&size);
    notify.Clear();
    CHECK(h.b->put_FontSize(-1) == E_INVALIDARG);
    short after = 0;
    h.b->get_FontSize(&after);
    CHECK(after == size);
    CHECK(notify.Log().empty());
    CHECK(h.b->put_FontSize(0) == S_OK);
}

TEST_CASE("Font and Picture: veto, copies and references, a failed copy keeps the old picture") {
    Hosted h;
    NotifyRecorder notify;
    REQUIRE(notify.Connect(h.b) == S_OK);
    Ptr<IPictureDisp> red, blue, got;
    red.p = PictureOf(BmpFile(8, 6, RGB(255, 0, 0)));
    blue.p = PictureOf(BmpFile(4, 4, RGB(0, 0, 255)));

    CHECK(h.b->get_Picture(nullptr) == E_POINTER);
    SUBCASE("put keeps a distinct copy, putref the very object") {
        CHECK(h.b->put_Picture(red) == S_OK);
        REQUIRE(h.b->get_Picture(got.out()) == S_OK);
        CHECK(got.p != nullptr);
        CHECK(got.p != red.p);
        Ptr<IPicture> pic;
        REQUIRE(got->QueryInterface(IID_IPicture, pic.pv()) == S_OK);
        OLE_XSIZE_HIMETRIC w = 0;
        pic->get_Width(&w);
        CHECK(MulDiv(w, 96, 2540) == 8);
        CHECK(h.b->putref_Picture(blue) == S_OK);
        REQUIRE(h.b->get_Picture(got.out()) == S_OK);
        CHECK(got.p == blue.p);
        CHECK(notify.ChangedDispids() == std::vector<DISPID>{14, 14});
        CHECK(notify.Requests(14) == 2);
        CHECK(h.b->put_Picture(nullptr) == S_OK);  // a null picture notifies too
        REQUIRE(h.b->get_Picture(got.out()) == S_OK);
        CHECK(got.p == nullptr);
        CHECK(notify.Changed(14) == 3);
    }
    SUBCASE("a container's veto changes nothing and still answers S_OK") {
        REQUIRE(h.b->putref_Picture(red) == S_OK);
        Ptr<IFontDisp> font;
        REQUIRE(h.b->get_Font(font.out()) == S_OK);
        notify.veto = true;
        notify.Clear();
        CHECK(h.b->put_Picture(blue) == S_OK);
        CHECK(h.b->putref_Picture(blue) == S_OK);
        CHECK(h.b->put_Font(nullptr) == S_OK);
        REQUIRE(h.b->get_Picture(got.out()) == S_OK);
        CHECK(got.p == red.p);
        Ptr<IFontDisp> still;
        REQUIRE(h.b->get_Font(still.out()) == S_OK);
        CHECK(still.p == font.p);
        CHECK(notify.ChangedDispids().empty());
    }
    SUBCASE("a metafile picture cannot be saved on this platform: the put fails and the old picture stays") {
        REQUIRE(h.b->putref_Picture(red) == S_OK);
        HDC mdc = CreateMetaFileW(nullptr);
        Rectangle(mdc, 0, 0, 10, 10);
        PICTDESC pd{sizeof(PICTDESC), PICTYPE_METAFILE};
        pd.wmf.hmeta = CloseMetaFile(mdc);
        pd.wmf.xExt = 1000;
        pd.wmf.yExt = 1000;
        Ptr<IPictureDisp> wmf;
        REQUIRE(OleCreatePictureIndirect(&pd, IID_IPictureDisp, TRUE, wmf.pv()) == S_OK);
        notify.Clear();
        CHECK(FAILED(h.b->put_Picture(wmf)));
        REQUIRE(h.b->get_Picture(got.out()) == S_OK);
        CHECK(got.p == red.p);
        CHECK(notify.ChangedDispids().empty());
    }
}

TEST_CASE("a round trip keeps every property and the picture, through stream, storage and property bag") {
    Hosted source;
    IQEV_SmartButton* b = source.b;
    Ptr<IPictureDisp> pic;
    pic.p = PictureOf(BmpFile(5, 3, RGB(10, 200, 30)));
    REQUIRE(b->put_Picture(pic) == S_OK);
    b->put_ShapeType(BSS_CHARACTER);
    b->put_FaceColor(0x80000002);
    BSTR t = SysAllocString(L"Ωx");
    b->put_Text2(t);
    SysFreeString(t);
    b->put_GradientRate(0.456f);
    b->put_Text1Visible(VARIANT_TRUE);
    b->put_TextYOffset(-70000);
    b->put_IconSize(-2);
    const std::vector<BYTE> saved = Save(b);

    auto check = [&](IQEV_SmartButton* copy) {
        CHECK(Save(copy) == saved);
        Ptr<IPictureDisp> got;
        REQUIRE(copy->get_Picture(got.out()) == S_OK);
        REQUIRE(got.p != nullptr);
        CHECK(got.p != pic.p);
    };
    SUBCASE("stream") {
        Hosted copy;
        REQUIRE(LoadControl(copy.b, saved) == S_OK);
        check(copy.b);
    }
    SUBCASE("storage keeps the stream under Contents") {
        Ptr<ILockBytes> bytes;
        Ptr<IStorage> storage;
        REQUIRE(CreateILockBytesOnHGlobal(nullptr, TRUE, bytes.out()) == S_OK);
        REQUIRE(StgCreateDocfileOnILockBytes(bytes, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                             storage.out()) == S_OK);
        Ptr<IPersistStorage> from, to;
        REQUIRE(b->QueryInterface(IID_IPersistStorage, from.pv()) == S_OK);
        REQUIRE(from->Save(storage, FALSE) == S_OK);
        Hosted copy;
        REQUIRE(copy.b->QueryInterface(IID_IPersistStorage, to.pv()) == S_OK);
        REQUIRE(to->Load(storage) == S_OK);
        check(copy.b);
    }
    SUBCASE("bag: keys are the property names, and no Picture key without a picture") {
        MapBag bag;
        Ptr<IPersistPropertyBag> from;
        REQUIRE(b->QueryInterface(IID_IPersistPropertyBag, from.pv()) == S_OK);
        REQUIRE(from->Save(&bag, TRUE, TRUE) == S_OK);
        ITypeInfo* ti = nullptr;
        REQUIRE(b->GetTypeInfo(0, 0, &ti) == S_OK);
        for (DISPID id = 1; id <= 59; ++id) {
            if (id == 51) continue;
            BSTR name = nullptr;
            UINT n = 0;
            REQUIRE(ti->GetNames(id, &name, 1, &n) == S_OK);
            INFO("dispid " << id);
            CHECK(bag.values.count(name) == 1);
            SysFreeString(name);
        }
        ti->Release();
        CHECK(bag.values.size() == 60);  // _cx, _cy and 58 properties
        Hosted copy;
        Ptr<IPersistPropertyBag> to;
        REQUIRE(copy.b->QueryInterface(IID_IPersistPropertyBag, to.pv()) == S_OK);
        REQUIRE(to->Load(&bag, nullptr) == S_OK);
        check(copy.b);

        MapBag none;
        REQUIRE(copy.b->put_Picture(nullptr) == S_OK);
        REQUIRE(to->Save(&none, TRUE, TRUE) == S_OK);
        CHECK(none.values.count(L"Picture") == 0);
        CHECK(none.values.count(L"Caption") == 1);
    }
}

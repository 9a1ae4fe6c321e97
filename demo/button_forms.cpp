// frmSmartButton1 and frmSmartButton2: galleries of smart buttons; on the
// second one SmartButton33 enables and disables five others.
#include "demo/classes.h"
#include "demo/forms_common.h"
#include "demo/resource.h"
#include "demo/velmora.h"

namespace velmora {

using namespace forms;
using namespace forms::prop;

namespace {

enum Shape {
    BSS_RECT, BSS_ROUND_RECT, BSS_DIAMOND, BSS_CIRCLE, BSS_LEFT_TRIANGLE, BSS_RIGHT_TRIANGLE, BSS_TOP_TRIANGLE,
    BSS_BOTTOM_TRIANGLE, BSS_LEFT_ARROW, BSS_RIGHT_ARROW, BSS_TOP_ARROW, BSS_BOTTOM_ARROW, BSS_LEFT_HALF_CIRCLE,
    BSS_RIGHT_HALF_CIRCLE, BSS_TOP_HALF_CIRCLE, BSS_BOTTOM_HALF_CIRCLE, BSS_CHARACTER
};
enum Icon {
    BIS_NONE, BIS_LEFT_TRIANGLE, BIS_LEFT_TWO_TRIANGLE, BIS_LEFT_TRIANGLE_BAR, BIS_RIGHT_TRIANGLE,
    BIS_RIGHT_TWO_TRIANGLE, BIS_RIGHT_TRIANGLE_BAR, BIS_TOP_TRIANGLE, BIS_BOTTOM_TRIANGLE, BIS_TWO_BAR, BIS_SQURE,
    BIS_CIRCLE, BIS_ICON_RES
};

const FontDef kCharacterFont{L"Arial", 28, true, false, false};
const FontDef kWordFont{L"Arial", 20, true, false, false};

// Buttons in the cells of a grid; a null caption hides the caption.
struct Grid {
    int cellW, cellH;
    ControlDef operator()(int n, int col, int row, Shape shape, const wchar_t* caption,
                          const std::vector<Prop>& more = {}) const {
        return Hosted("SmartButton" + std::to_string(n), kSmartButton, 120 + col * cellW, 120 + row * cellH,
                      cellW - 160, cellH - 160,
                      Joined({I4(L"ShapeType", shape),
                              caption ? Str(L"Caption", caption) : Bool(L"CaptionVisible", false)},
                             more));
    }
};

std::vector<Prop> WithIcon(Icon icon, std::vector<Prop> more = {}) {
    more.push_back(I4(L"IconType", icon));
    return more;
}

FormDef MakeGallery1() {
    FormDef f = ChildForm("frmSmartButton1", 9285, 7680);
    const Grid B{1520, 1500};
    f.controls = {
        B(1, 0, 0, BSS_RECT, L"SButton"),
        B(2, 0, 1, BSS_ROUND_RECT, L"Edit", {Color(L"FaceColor", 0xFFE0C0)}),
        B(3, 1, 0, BSS_RECT, L"Gradient", {I4(L"FaceType", 1 /* BFS_GRADIENT */), Color(L"FaceColor", 0xC08040)}),
        B(4, 2, 0, BSS_RECT, L"Copy", {I4(L"BorderType", 1 /* BBS_CONFIGURABLE */)}),
        B(5, 3, 0, BSS_RECT, nullptr,
          WithIcon(BIS_ICON_RES, {Picture(L"Picture", IDR_CHART), I4(L"FaceType", 2 /* BFS_GRADIENT_2 */)})),
        B(6, 4, 0, BSS_RECT, nullptr, WithIcon(BIS_LEFT_TRIANGLE)),
        B(7, 5, 0, BSS_RECT, nullptr, WithIcon(BIS_RIGHT_TRIANGLE)),
        B(8, 1, 1, BSS_ROUND_RECT, L"Paste", {I4(L"FaceType", 1), Color(L"FaceColor", 0x40A040)}),
        B(9, 2, 1, BSS_ROUND_RECT, L"Remove", {Color(L"TextColor", 0x0000C0)}),
        B(10, 3, 1, BSS_ROUND_RECT, L"SButton", {I4(L"BorderType", 2 /* BBS_GRADIENT_CONFIGURABLE */)}),
        B(11, 4, 1, BSS_ROUND_RECT, L"Chart",
          WithIcon(BIS_ICON_RES, {Picture(L"Picture", IDR_CHART), I4(L"IconPosType", 0 /* BIPS_LEFT */),
                                  I4(L"TextPos", 5 /* BTPS_RIGHT */)})),
        B(12, 5, 1, BSS_ROUND_RECT, nullptr, WithIcon(BIS_LEFT_TWO_TRIANGLE)),
        B(13, 0, 2, BSS_DIAMOND, L"Diamond", {Color(L"FaceColor", 0xC0C0FF)}),
        B(14, 1, 2, BSS_DIAMOND, L"Fly", {I4(L"FaceType", 1)}),
        B(15, 2, 2, BSS_DIAMOND, L"Game", {Color(L"FaceColor", 0x80FFFF)}),
        B(16, 3, 2, BSS_DIAMOND, nullptr, WithIcon(BIS_TOP_TRIANGLE)),
        B(17, 4, 2, BSS_DIAMOND, nullptr, WithIcon(BIS_BOTTOM_TRIANGLE)),
        B(18, 5, 2, BSS_DIAMOND, nullptr, WithIcon(BIS_CIRCLE)),
        B(19, 0, 3, BSS_CIRCLE, L"Circle"),
        B(20, 1, 3, BSS_CIRCLE, L"Circle", {I4(L"FaceType", 1), Color(L"FaceColor", 0xFF8080)}),
        B(21, 2, 3, BSS_CIRCLE, L"Circle", {I4(L"FaceType", 2)}),
        B(22, 3, 3, BSS_CIRCLE, nullptr, WithIcon(BIS_SQURE)),
        B(23, 4, 3, BSS_CIRCLE, nullptr, WithIcon(BIS_TWO_BAR)),
        B(24, 5, 3, BSS_CIRCLE, nullptr, WithIcon(BIS_RIGHT_TRIANGLE_BAR)),
        B(25, 0, 4, BSS_CHARACTER, L"S", {Font(kCharacterFont), Color(L"FaceColor", 0x0080FF)}),
        B(26, 1, 4, BSS_CHARACTER, L">>", {Font(kCharacterFont), Color(L"FaceColor", 0x00A000)}),
        B(27, 2, 4, BSS_LEFT_ARROW, L"LEFT"),
        B(28, 3, 4, BSS_RIGHT_ARROW, L"RIGHT"),
        B(29, 4, 4, BSS_CHARACTER, L"QEV", {Font(kWordFont), Color(L"FaceColor", 0xC00000)}),
    };
    return f;
}

// ---------------------------------------------------------------- frmSmartButton2

// The caption names what the next click does: "Disable" disables the five
// targets and shows "Enable", anything else enables them and shows "Disable".
void SmartButton33_Click(Form& f, const EventArgs&) {
    Control& me = f["SmartButton33"];
    bool enable;
    if (me.Get(button::Caption).AsString() == L"Disable") {
        me.Put(button::Caption, Arg::Str(L"Enable"));
        enable = false;
    } else {
        me.Put(button::Caption, Arg::Str(L"Disable"));
        enable = true;
    }
    for (const char* n : {"SmartButton28", "SmartButton29", "SmartButton30", "SmartButton31", "SmartButton32"}) {
        VARIANT_BOOL state = enable ? VARIANT_TRUE : VARIANT_FALSE;
        f[n].Put(button::Enabled, Arg::BoolRef(&state));
    }
}

// "A" in red and "B" beside the caption, at the given positions and offsets.
std::vector<Prop> Texts(int pos1, int pos2, LONG dx, LONG dy, std::vector<Prop> more = {}) {
    return Joined({Str(L"Text1", L"A"), Color(L"Text1Color", 0x0000FF), Bool(L"Text1Visible", true),
                   I4(L"Text1Pos", pos1), I4(L"Text1XOffset", dx), I4(L"Text1YOffset", dy), Str(L"Text2", L"B"),
                   Bool(L"Text2Visible", true), I4(L"Text2Pos", pos2), I4(L"Text2XOffset", -dx),
                   I4(L"Text2YOffset", -dy)},
                  more);
}

FormDef MakeGallery2() {
    FormDef f = ChildForm("frmSmartButton2", 9015, 7650);
    const Grid B{1480, 1240};
    const Shape triangles[4] = {BSS_LEFT_TRIANGLE, BSS_RIGHT_TRIANGLE, BSS_TOP_TRIANGLE, BSS_BOTTOM_TRIANGLE};
    std::vector<ControlDef> c;
    for (int i = 0; i < 12; ++i) {
        std::vector<Prop> more{Color(L"FaceColor", i < 4 ? 0xFFC080 : 0x80C0FF)};
        if (i >= 4 && i < 8) more.push_back(I4(L"FaceType", 1));
        if (i >= 8) more = WithIcon(BIS_ICON_RES, {Picture(L"Picture", IDR_TEXTURE), I4(L"ImageStyle", 1)});
        c.push_back(B(i + 1, i % 6, i / 6, triangles[i % 4], nullptr, more));
    }
    const Shape arrows[4] = {BSS_LEFT_ARROW, BSS_RIGHT_ARROW, BSS_TOP_ARROW, BSS_BOTTOM_ARROW};
    for (int i = 0; i < 4; ++i) c.push_back(B(13 + i, i, 2, arrows[i], nullptr, {Color(L"FaceColor", 0xC0FFC0)}));
    c.push_back(B(17, 4, 2, BSS_LEFT_HALF_CIRCLE, L"Left"));
    c.push_back(B(18, 5, 2, BSS_RIGHT_HALF_CIRCLE, L"Right"));
    c.push_back(B(19, 0, 3, BSS_BOTTOM_HALF_CIRCLE, L"Down"));
    c.push_back(B(20, 1, 3, BSS_TOP_HALF_CIRCLE, L"Up"));
    c.push_back(B(21, 2, 3, BSS_TOP_HALF_CIRCLE, L"Up", WithIcon(BIS_TOP_TRIANGLE)));
    c.push_back(B(22, 3, 3, BSS_RECT, nullptr, WithIcon(BIS_SQURE)));
    c.push_back(B(23, 4, 3, BSS_LEFT_HALF_CIRCLE, L"Left", WithIcon(BIS_LEFT_TRIANGLE)));
    c.push_back(B(24, 5, 3, BSS_RIGHT_HALF_CIRCLE, L"Right", WithIcon(BIS_RIGHT_TRIANGLE)));
    c.push_back(B(25, 0, 4, BSS_BOTTOM_HALF_CIRCLE, L"Down", WithIcon(BIS_BOTTOM_TRIANGLE)));
    c.push_back(B(26, 1, 4, BSS_RECT, nullptr, WithIcon(BIS_TWO_BAR)));
    c.push_back(B(27, 2, 4, BSS_CHARACTER, L"@", {Font(kCharacterFont), Color(L"FaceColor", 0xFF8000)}));
    c.push_back(B(28, 3, 4, BSS_RECT, L"Click", Texts(2 /* BTPS_LEFT_TOP */, 7 /* BTPS_RIGHT_BOTTOM */, 4, 0)));
    c.push_back(B(29, 4, 4, BSS_RECT, L"Click", Texts(1 /* BTPS_LEFT */, 5 /* BTPS_RIGHT */, 0, 0)));
    c.push_back(B(30, 5, 4, BSS_CIRCLE, L"Click", Texts(4 /* BTPS_TOP */, 8 /* BTPS_BOTTOM */, 0, 6)));
    c.push_back(B(31, 0, 5, BSS_RECT, L"Word Wrap Text",
                  Texts(3 /* BTPS_LEFT_BOTTOM */, 6 /* BTPS_RIGHT_TOP */, 2, -2, {Bool(L"WordWrap", true)})));
    c.push_back(B(32, 1, 5, BSS_DIAMOND, L"Click", Texts(4 /* BTPS_TOP */, 8 /* BTPS_BOTTOM */, 0, 4)));
    c.push_back(B(33, 2, 5, BSS_LEFT_TRIANGLE, L"Disable",
                  Texts(0 /* BTPS_CENTER */, 0 /* BTPS_CENTER */, 0, -20, {Color(L"FaceColor", 0xC00000),
                                                                        Color(L"TextColor", 0xFFFFFF)})));
    c.push_back(B(34, 3, 5, BSS_RECT, L"Original Size",
                  WithIcon(BIS_ICON_RES, {Picture(L"Picture", IDR_TEXTURE), I4(L"ImageStyle", 0)})));
    c.push_back(B(35, 4, 5, BSS_RECT, L"Auto Size",
                  WithIcon(BIS_ICON_RES, {Picture(L"Picture", IDR_TEXTURE), I4(L"ImageStyle", 2)})));
    c.push_back(B(36, 5, 5, BSS_RECT, L"Texture",
                  WithIcon(BIS_ICON_RES, {Picture(L"Picture", IDR_TEXTURE), I4(L"ImageStyle", 1)})));
    f.controls = std::move(c);
    f.handlers = {{"SmartButton33", button::Click, "SmartButton33_Click", &SmartButton33_Click}};
    return f;
}

}  // namespace

const FormDef frmSmartButton1 = MakeGallery1();
const FormDef frmSmartButton2 = MakeGallery2();

}  // namespace velmora

// The smart button's rows of the paint benchmark: the default button at the
// demonstration's cell size (100 x 85, six rows of six on a 601 x 510 form)
// and at 50 x 50; every shape at 200 x 200 with each face type, and shapes
// 0 to 7 with the gradient border, the picture as icon, tiled and stretched;
// then one batch: the 36 buttons of the second demonstration form, each drawn
// into its own cell of one DIB.
#include <cstdio>
#include <string>
#include <vector>

#include <olectl.h>

#include "Pellan.h"
#include "common/gdi.h"
#include "common/shading.h"
#include "paint/bench.h"

namespace {

typedef std::function<void(IQEV_SmartButton*)> Setting;

IQEV_SmartButton* NewButton() {
    return static_cast<IQEV_SmartButton*>(
        bench::NewControl(L"Pellan.dll", __uuidof(QEV_SmartButton), __uuidof(IQEV_SmartButton)));
}

void PutText(IQEV_SmartButton* b, HRESULT (STDMETHODCALLTYPE IQEV_SmartButton::*put)(BSTR), const wchar_t* text) {
    BSTR s = SysAllocString(text);
    (b->*put)(s);
    SysFreeString(s);
}

// One pattern picture for every button (they hold it by reference).
IPictureDisp* Pattern() {
    static IPictureDisp* picture = bench::PatternPicture();
    return picture;
}

bench::Row ButtonRow(const std::string& name, Setting apply) {
    return bench::Row{name, [apply](bench::Size size, int repeats) {
                          IQEV_SmartButton* b = NewButton();
                          if (!b) return -1.0;
                          apply(b);
                          const double ms = bench::PaintMs(b, size, repeats);
                          b->Release();
                          return ms;
                      }};
}

const char* const kShapes[] = {"rect",         "round rect",   "diamond",          "circle",
                               "left tri",     "right tri",    "top tri",          "bottom tri",
                               "left arrow",   "right arrow",  "top arrow",        "bottom arrow",
                               "left half",    "right half",   "top half",         "bottom half",
                               "character"};
const char* const kFaces[] = {"flat", "gradient", "gradient 2"};

std::vector<bench::Row> DefaultRows() { return {ButtonRow("defaults", [](IQEV_SmartButton*) {})}; }

std::vector<bench::Row> ShapeRows() {
    std::vector<bench::Row> v;
    for (int shape = 0; shape <= 16; ++shape)
        for (int face = 0; face <= 2; ++face)
            v.push_back(ButtonRow(std::string(kShapes[shape]) + ", " + kFaces[face], [shape, face](IQEV_SmartButton* b) {
                b->put_ShapeType((ButtonShapeStyle)shape);
                b->put_FaceType((ButtonFaceStyle)face);
            }));
    for (int shape = 0; shape <= 7; ++shape)
        v.push_back(ButtonRow(std::string(kShapes[shape]) + ", gradient border", [shape](IQEV_SmartButton* b) {
            b->put_ShapeType((ButtonShapeStyle)shape);
            b->put_BorderType(BBS_GRADIENT_CONFIGURABLE);
            b->put_OuterBorderLen(4);
            b->put_InnerBorderLen(2);
        }));
    static const char* const styles[] = {"picture icon", "picture texture", "picture stretched"};
    for (int style = 0; style <= 2; ++style)
        v.push_back(ButtonRow(std::string("rect, ") + styles[style], [style](IQEV_SmartButton* b) {
            b->put_IconType(BIS_ICON_RES);
            b->put_ImageStyle((ImagePaintStyle)style);
            b->putref_Picture(Pattern());
        }));
    return v;
}

// The 36 buttons of the second demonstration form, in its order.
struct FormButton {
    int shape;
    const wchar_t* caption;  // null: caption hidden
    int icon;
    int imageStyle;
    bool auxTexts;
};
const FormButton kForm[36] = {
    {4, nullptr, 0, 0, false},  {5, nullptr, 0, 0, false},  {6, nullptr, 0, 0, false},  {7, nullptr, 0, 0, false},
    {4, nullptr, 0, 0, false},  {5, nullptr, 0, 0, false},  {6, nullptr, 0, 0, false},  {7, nullptr, 0, 0, false},
    {4, nullptr, 12, 1, false}, {5, nullptr, 12, 1, false}, {6, nullptr, 12, 1, false}, {7, nullptr, 12, 1, false},
    {8, nullptr, 0, 0, false},  {9, nullptr, 0, 0, false},  {10, nullptr, 0, 0, false}, {11, nullptr, 0, 0, false},
    {12, L"Left", 0, 0, false}, {13, L"Right", 0, 0, false}, {15, L"Down", 0, 0, false}, {14, L"Up", 0, 0, false},
    {14, L"Up", 7, 0, false},   {0, nullptr, 10, 0, false},  {12, L"Left", 1, 0, false}, {13, L"Right", 4, 0, false},
    {15, L"Down", 8, 0, false}, {0, nullptr, 9, 0, false},   {16, L"@", 0, 0, false},    {0, L"Click", 0, 0, true},
    {0, L"Click", 0, 0, true},  {3, L"Click", 0, 0, true},   {0, L"Word Wrap Text", 0, 0, true},
    {2, L"Click", 0, 0, true},  {4, L"Disable", 0, 0, true}, {0, L"Original Size", 12, 0, false},
    {0, L"Auto Size", 12, 2, false}, {0, L"Texture", 12, 1, false},
};

// Every third button gets a shaded face, alternating the two kinds.
std::vector<IQEV_SmartButton*> FormButtons() {
    std::vector<IQEV_SmartButton*> buttons;
    for (int i = 0; i < 36; ++i) {
        IQEV_SmartButton* b = NewButton();
        if (!b) break;
        buttons.push_back(b);
        const FormButton& f = kForm[i];
        b->put_ShapeType((ButtonShapeStyle)f.shape);
        if (f.caption) PutText(b, &IQEV_SmartButton::put_Caption, f.caption);
        else b->put_CaptionVisible(VARIANT_FALSE);
        b->put_IconType((ButtonIconStyle)f.icon);
        b->put_IconPosType(f.caption ? BIPS_LEFT : BIPS_CENTER);
        b->put_ImageStyle((ImagePaintStyle)f.imageStyle);
        if (f.icon == BIS_ICON_RES) b->putref_Picture(Pattern());
        if (f.auxTexts) {
            PutText(b, &IQEV_SmartButton::put_Text1, L"A");
            PutText(b, &IQEV_SmartButton::put_Text2, L"B");
            b->put_Text1Color(RGB(255, 0, 0));
            b->put_Text1Visible(VARIANT_TRUE);
            b->put_Text2Visible(VARIANT_TRUE);
        }
        if (i == 30) b->put_WordWrap(VARIANT_TRUE);
        if (i == 32) {
            b->put_FaceColor(0xC00000);
            b->put_Text1YOffset(-20);
            b->put_Text2YOffset(20);
        }
        if (i % 3 == 0) b->put_FaceType((i / 3) % 2 ? BFS_GRADIENT_2 : BFS_GRADIENT);
    }
    return buttons;
}

// The batch: every button of the form drawn into its own 100 x 85 cell of
// one 601 x 510 DIB.
double BatchMs(int repeats) {
    std::vector<IQEV_SmartButton*> buttons = FormButtons();
    std::vector<IViewObject*> views;
    for (IQEV_SmartButton* b : buttons) {
        IViewObject* v = nullptr;
        if (SUCCEEDED(b->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&v)))) views.push_back(v);
    }
    double ms = -1;
    if (views.size() == 36) {
        bench::Canvas form(601, 510);
        ms = bench::MedianMs(
            [&] {
                for (size_t i = 0; i < views.size(); ++i) {
                    const LONG x = (LONG)(i % 6) * 100, y = (LONG)(i / 6) * 85;
                    RECTL cell{x, y, x + 100, y + 85};
                    views[i]->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, form.dc(), &cell, nullptr,
                                   nullptr, 0);
                }
            },
            repeats);
    }
    for (IViewObject* v : views) v->Release();
    for (IQEV_SmartButton* b : buttons) b->Release();
    return ms;
}

// The shaded face's own cost at 200 x 200, limited to an ellipse: per pixel
// through SetPixelV (the metafile road) and written straight into the DIB.
void PixelPaths() {
    bench::Canvas canvas(200, 200);
    HRGN ellipse = CreateEllipticRgn(0, 0, 200, 200);
    const RECT face{0, 0, 200, 200};
    auto fill = [&](const gdi::PixelTarget& t) {
        FillQuadraticGradient(t, face, ellipse, POINT{40, 40}, RGB(255, 255, 255), RGB(90, 120, 200), false);
    };
    const double slow = bench::MedianMs([&] { fill(gdi::PixelTarget(canvas.dc())); }, 5);
    const gdi::PixelTarget direct = gdi::PixelTarget::ForDC(canvas.dc());
    const double fast = bench::MedianMs([&] { fill(direct); });
    DeleteObject(ellipse);
    std::printf("gradient face 200 x 200 in an ellipse: SetPixelV %.3f ms, direct %.3f ms (%s), %.0fx\n", slow, fast,
                direct.direct() ? "DIB" : "no DIB", fast > 0 ? slow / fast : 0.0);
}

// Hostile values: wrapped captions far longer than the button or placed far
// off it, and character shapes of long captions, beside captions of a sane
// length and of long words.
void WrappedCaption(IQEV_SmartButton* b, const std::wstring& text, short points = 0) {
    b->put_WordWrap(VARIANT_TRUE);
    PutText(b, &IQEV_SmartButton::put_Caption, text.c_str());
    if (points) b->put_FontSize(points);
}

// Words of four letters and a space.
std::wstring Words(size_t length) {
    std::wstring text;
    while (text.size() < length) text += L"word ";
    text.resize(length);
    return text;
}

// The character shape: the caption's glyphs as the button, most of them
// past its right edge.
void CharacterShape(IQEV_SmartButton* b, size_t letters) {
    b->put_ShapeType(BSS_CHARACTER);
    PutText(b, &IQEV_SmartButton::put_Caption, std::wstring(letters, L'W').c_str());
}

// A 1x1 picture tiled over the face, inside an outer border of `border`.
void TinyTiles(IQEV_SmartButton* b, short border) {
    b->put_IconType(BIS_ICON_RES);
    b->put_ImageStyle(IPS_TEXTURE);
    if (IPictureDisp* pic = bench::PatternPicture(1, 1)) {
        b->putref_Picture(pic);
        pic->Release();
    }
    b->put_OuterBorderLen(border);
}

std::vector<bench::Row> HostileRows() {
    return {
        ButtonRow("wrapped caption, 6 words",
                  [](IQEV_SmartButton* b) { WrappedCaption(b, L"a caption over several lines of it"); }),
        ButtonRow("wrapped caption, 4,000 spaces",
                  [](IQEV_SmartButton* b) { WrappedCaption(b, std::wstring(4000, L' ')); }),
        ButtonRow("wrapped caption, 65,535 letters",
                  [](IQEV_SmartButton* b) { WrappedCaption(b, std::wstring(65535, L'x')); }),
        ButtonRow("wrapped caption, 65,540 spaces",
                  [](IQEV_SmartButton* b) { WrappedCaption(b, std::wstring(65540, L' ')); }),
        ButtonRow("65,540 spaces, 4,659-point font",
                  [](IQEV_SmartButton* b) { WrappedCaption(b, std::wstring(65540, L' '), 4659); }),
        ButtonRow("wrapped 140,000 letters, TextYOffset 2^31 - 1",
                  [](IQEV_SmartButton* b) {
                      WrappedCaption(b, Words(140000));
                      b->put_TextYOffset(2147483647);
                  }),
        ButtonRow("wrapped 140,000 letters, TextYOffset -100,000",
                  [](IQEV_SmartButton* b) {
                      WrappedCaption(b, Words(140000));
                      b->put_TextYOffset(-100000);
                  }),
        ButtonRow("character shape, 5 letters", [](IQEV_SmartButton* b) { CharacterShape(b, 5); }),
        ButtonRow("character shape, 1,000 letters", [](IQEV_SmartButton* b) { CharacterShape(b, 1000); }),
        ButtonRow("tiled 1x1 picture face", [](IQEV_SmartButton* b) { TinyTiles(b, 2); }),
        ButtonRow("tiled 1x1 picture face, border -32768", [](IQEV_SmartButton* b) { TinyTiles(b, -32768); }),
    };
}

void DefaultSummary(const std::vector<bench::Row>&, const std::vector<std::vector<double>>& ms,
                    const std::vector<bench::References>&) {
    const double worst = ms[0][0] > ms[0][1] ? ms[0][0] : ms[0][1];
    std::printf("\nsummary: default button %.3f ms at 100 x 85, %.3f ms at 50 x 50; target within 1 ms: %s\n",
                ms[0][0], ms[0][1], worst <= 1.0 && worst >= 0 ? "met" : "MISSED");
}

void ShapeSummary(const std::vector<bench::Row>& rows, const std::vector<std::vector<double>>& ms,
                  const std::vector<bench::References>&) {
    double worst = 0;
    std::string worstName;
    for (size_t r = 0; r < rows.size(); ++r)
        if (ms[r][0] > worst || ms[r][0] < 0) worst = ms[r][0] < 0 ? 1e9 : ms[r][0], worstName = rows[r].name;
    const double batch = BatchMs(bench::kRepeats);
    std::printf("\nsummary: slowest shape and face at 200 x 200 %.3f ms (%s); target within 4 ms: %s\n", worst,
                worstName.c_str(), worst <= 4.0 ? "met" : "MISSED");
    std::printf("batch: the 36 buttons of the second form into one 601 x 510 DIB %.3f ms; target within 16 ms: %s\n",
                batch, batch >= 0 && batch <= 16.0 ? "met" : "MISSED");
    PixelPaths();
}

const bool defaults = bench::AddGroup(
    bench::Group{"Smart button paint: default button", 30, {{100, 85}, {50, 50}}, DefaultRows, DefaultSummary});
const bool shapes = bench::AddGroup(
    bench::Group{"Smart button paint: shapes and faces", 31, {{200, 200}}, ShapeRows, ShapeSummary});
const bool hostile =
    bench::AddGroup(bench::Group{"Smart button paint: hostile values", 32, {{200, 150}}, HostileRows, nullptr});

}  // namespace

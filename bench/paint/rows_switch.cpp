// The switch's rows of the paint benchmark: every shape at the sizes the
// demonstration form gives its switches (64 x 64 buttons and pictures,
// 48 x 96 and 96 x 48 toggles) and at 200 x 100, the picture shape in each
// image style with a 32 x 32 bitmap loaded from file data, and at 200 x 100
// every shape in every light direction with a 4 px border.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <olectl.h>

#include "Wendal.h"
#include "paint/bench.h"

namespace {

typedef std::function<void(IQEV_Switch*)> Setting;

IQEV_Switch* NewSwitch() {
    return static_cast<IQEV_Switch*>(
        bench::NewControl(L"Wendal.dll", __uuidof(QEV_Switch), __uuidof(IQEV_Switch)));
}

void PutText(IQEV_Switch* s, HRESULT (STDMETHODCALLTYPE IQEV_Switch::*put)(BSTR), const wchar_t* text) {
    BSTR b = SysAllocString(text);
    (s->*put)(b);
    SysFreeString(b);
}

// A row that paints a new switch with `apply` done.
bench::Row SwitchRow(const std::string& name, Setting apply) {
    return bench::Row{name, [apply](bench::Size size, int repeats) {
                          IQEV_Switch* s = NewSwitch();
                          if (!s) return -1.0;
                          apply(s);
                          const double ms = bench::PaintMs(s, size, repeats);
                          s->Release();
                          return ms;
                      }};
}

const char* const kShapes[] = {"user image", "rectangle", "round rectangle", "circle",
                               "wedge toggle", "groove toggle", "switch toggle"};

Setting Shape(int shape) {
    return [shape](IQEV_Switch* s) { s->put_SwitchType(static_cast<SwitchShape>(shape)); };
}

std::vector<bench::Row> ShapeRows() {
    std::vector<bench::Row> v;
    v.push_back(SwitchRow("defaults (1 rectangle)", [](IQEV_Switch*) {}));
    for (int shape = 0; shape <= 6; ++shape)
        v.push_back(SwitchRow("shape " + std::to_string(shape) + " " + kShapes[shape], Shape(shape)));
    for (int shape : {4, 5})
        v.push_back(SwitchRow("shape " + std::to_string(shape) + " horizontal", [shape](IQEV_Switch* s) {
            s->put_SwitchType(static_cast<SwitchShape>(shape));
            s->put_bVerticalToggle(VARIANT_FALSE);
        }));
    v.push_back(SwitchRow("shape 5 two-tone, texts, off", [](IQEV_Switch* s) {
        s->put_SwitchType(GROOVE_TOGGLE);
        s->put_bForeGradientToggle(VARIANT_FALSE);
        s->put_Value(VARIANT_FALSE);
        PutText(s, &IQEV_Switch::put_OnText, L"On");
        PutText(s, &IQEV_Switch::put_OffText, L"Off");
    }));
    v.push_back(SwitchRow("shape 1 with texts, 3D", [](IQEV_Switch* s) {
        PutText(s, &IQEV_Switch::put_Text, L"Click");
        s->put_b3DText(VARIANT_TRUE);
    }));
    static const char* const styles[] = {"original size", "texture", "auto size"};
    for (int style = 0; style < 3; ++style)
        v.push_back(SwitchRow(std::string("shape 0 32x32 ") + styles[style], [style](IQEV_Switch* s) {
            s->put_SwitchType(USER_IMAGE);
            s->put_ImageStyle(static_cast<ImagePaintStyle>(style));
            if (IPictureDisp* pic = bench::PatternPicture()) {
                s->put_OnPicture(pic);
                pic->Release();
            }
        }));
    return v;
}

std::vector<bench::Row> LightRows() {
    std::vector<bench::Row> v;
    for (int shape = 0; shape <= 6; ++shape)
        for (int light = 0; light <= 4; ++light)
            v.push_back(SwitchRow("shape " + std::to_string(shape) + " light " + std::to_string(light),
                                  [shape, light](IQEV_Switch* s) {
                                      s->put_SwitchType(static_cast<SwitchShape>(shape));
                                      s->put_Light3D(static_cast<LightDirection>(light));
                                      s->put_BorderLen(4);
                                  }));
    return v;
}

// The slowest row at the size of index `at`, over every row.
void Slowest(const std::vector<bench::Row>& rows, const std::vector<std::vector<double>>& ms, size_t at,
             double& worst, std::string& name) {
    for (size_t r = 0; r < rows.size(); ++r)
        if (ms[r][at] > worst) {
            worst = ms[r][at];
            name = rows[r].name;
        }
}

double g_worst200 = 0;  // the shape table's slowest row at 200 x 100, for the light table's summary
std::string g_worst200Name;

void ShapeSummary(const std::vector<bench::Row>& rows, const std::vector<std::vector<double>>& ms,
                  const std::vector<bench::References>& refs) {
    Slowest(rows, ms, 3, g_worst200, g_worst200Name);
    std::printf("\nsummary:\n");
    std::printf("  defaults at 64 px %.3f ms (%.1fx BitBlt, %.2fx trackbar), at 200x100 %.3f ms (%.2fx trackbar)\n",
                ms[0][0], ms[0][0] / refs[0].blt, ms[0][0] / refs[0].track, ms[0][3], ms[0][3] / refs[3].track);
    std::printf("  target: defaults at 64 px and at 200x100 within 1 ms: %s\n",
                ms[0][0] <= 1.0 && ms[0][3] <= 1.0 ? "met" : "MISSED");
    std::printf("  slowest row at 200x100: %.3f ms (%s)\n", g_worst200, g_worst200Name.c_str());
}

void LightSummary(const std::vector<bench::Row>& rows, const std::vector<std::vector<double>>& ms,
                  const std::vector<bench::References>& refs) {
    double worst = g_worst200;
    std::string name = g_worst200Name;
    Slowest(rows, ms, 0, worst, name);
    std::printf("\nsummary: slowest switch row at 200x100 %.3f ms (%s), trackbar %.3f ms\n", worst, name.c_str(),
                refs[0].track);
    std::printf("  target: every row at 200x100 within 4 ms: %s\n", worst <= 4.0 ? "met" : "MISSED");
}

const bool shapes = bench::AddGroup(bench::Group{
    "Switch paint", 40, {{64, 64}, {48, 96}, {96, 48}, {200, 100}}, ShapeRows, ShapeSummary});
const bool lights = bench::AddGroup(bench::Group{
    "Switch paint, 4 px border, every light direction", 41, {{200, 100}}, LightRows, LightSummary});

}  // namespace

// The slider library's rows of the paint benchmark: the default slider and
// switch slider at the sizes the demonstration's forms give them (15 twips
// a pixel), also with those forms' settings, then every marker, frame, range
// frame and indicator style and the texts at 400x80 and 80x400. A row lies
// down or stands up with its size: Vertical is set when the area is taller
// than wide.
#include <olectl.h>
#include <cstdio>
#include <string>
#include <vector>

#include "Morvel.h"
#include "paint/bench.h"

namespace {

// A form's font: Times New Roman 10, or the given face, size and weight.
void GiveFont(IDispatch* control, const wchar_t* face = L"Times New Roman", ULONG tenThousandths = 100000,
              short weight = 400) {
    FONTDESC fd{sizeof(FONTDESC), const_cast<LPOLESTR>(face), {{tenThousandths, 0}}, weight, ANSI_CHARSET, FALSE,
                FALSE, FALSE};
    IFontDisp* font = nullptr;
    if (FAILED(OleCreateFontIndirect(&fd, IID_IFontDisp, reinterpret_cast<void**>(&font)))) return;
    VARIANT arg;
    V_VT(&arg) = VT_DISPATCH;
    V_DISPATCH(&arg) = font;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{&arg, &named, 1, 1};
    // Font is 31 on the slider and 22 on the switch slider.
    LPOLESTR name = const_cast<LPOLESTR>(L"Font");
    DISPID id = 0;
    if (SUCCEEDED(control->GetIDsOfNames(IID_NULL, &name, 1, 0, &id)))
        control->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYPUTREF, &params, nullptr, nullptr, nullptr);
    font->Release();
}

typedef std::function<void(IQEV_Slider*)> SliderSetting;
typedef std::function<void(IQEV_SwitchSlider*)> SwitchSetting;

bench::Row SliderRow(const std::string& name, SliderSetting apply) {
    return bench::Row{name, [apply](bench::Size size, int repeats) {
                          auto* s = static_cast<IQEV_Slider*>(
                              bench::NewControl(L"Morvel.dll", __uuidof(QEV_Slider), __uuidof(IQEV_Slider)));
                          if (!s) return -1.0;
                          GiveFont(s);
                          s->put_Vertical(size.h > size.w ? VARIANT_TRUE : VARIANT_FALSE);
                          apply(s);
                          s->UpdateSetpoint(37.5);
                          s->UpdateActualValue(62.5);
                          const double ms = bench::PaintMs(s, size, repeats);
                          s->Release();
                          return ms;
                      }};
}

void AddItem(IQEV_SwitchSlider* s, const wchar_t* key, const wchar_t* name, OLE_COLOR color) {
    BSTR k = SysAllocString(key), n = SysAllocString(name);
    s->AddItem(k, n, color);
    SysFreeString(k);
    SysFreeString(n);
}

// The five items of the form's first switch slider.
void FiveItems(IQEV_SwitchSlider* s) {
    AddItem(s, L"Key1", L"Opt1", 0x0000FF);
    AddItem(s, L"Key2", L"Opt2", 0x00FF00);
    AddItem(s, L"Key3", L"Opt3", 0xFF0000);
    AddItem(s, L"Key4", L"Opt4", 0x00FFFF);
    AddItem(s, L"Key5", L"Opt5", 0x008000);
}

bench::Row SwitchRow(const std::string& name, SwitchSetting apply) {
    return bench::Row{name, [apply](bench::Size size, int repeats) {
                          auto* s = static_cast<IQEV_SwitchSlider*>(bench::NewControl(
                              L"Morvel.dll", __uuidof(QEV_SwitchSlider), __uuidof(IQEV_SwitchSlider)));
                          if (!s) return -1.0;
                          GiveFont(s);
                          s->put_Vertical(size.h > size.w ? VARIANT_TRUE : VARIANT_FALSE);
                          apply(s);
                          const double ms = bench::PaintMs(s, size, repeats);
                          s->Release();
                          return ms;
                      }};
}

std::vector<bench::Row> FormRows() {
    return {
        SliderRow("slider defaults", [](IQEV_Slider*) {}),
        SliderRow("slider as SSlider1",
                  [](IQEV_Slider* s) {
                      s->put_MarkerStyle(MKELLIPSE);
                      s->put_MarkerColor(0xFF80FF);
                      s->put_MarkerWidth(20);
                      s->put_MarkerHeight(28);
                      s->put_ShowSetpointValue(VARIANT_TRUE);
                      s->put_ShowActualValue(VARIANT_TRUE);
                      s->put_RangeActualColor(0xFF0000);
                      s->put_ScaleSideChanged(VARIANT_TRUE);
                      GiveFont(s, L"MS Sans Serif", 82500);
                  }),
        SliderRow("slider as SSlider2",
                  [](IQEV_Slider* s) {
                      s->put_MarkerStyle(MKDUMBBELL);
                      s->put_ShowSetpointValue(VARIANT_TRUE);
                      s->put_ShowActualValue(VARIANT_TRUE);
                      s->put_RangeBkColor(0xFFFF00);
                      s->put_ScaleSideChanged(VARIANT_TRUE);
                      GiveFont(s, L"MS Sans Serif", 97500, 700);
                  }),
        SwitchRow("switch slider defaults", [](IQEV_SwitchSlider*) {}),
        SwitchRow("switch slider, five items", FiveItems),
    };
}

std::vector<bench::Row> StyleRows() {
    std::vector<bench::Row> v;
    v.push_back(SliderRow("slider defaults", [](IQEV_Slider*) {}));
    for (int i = 0; i < 16; ++i)
        v.push_back(SliderRow("slider marker " + std::to_string(i), [i](IQEV_Slider* s) {
            s->put_MarkerStyle(static_cast<SliderMarkerStyle>(i));
        }));
    for (int i = 0; i < 4; ++i) {
        v.push_back(SliderRow("slider border " + std::to_string(i), [i](IQEV_Slider* s) {
            s->put_BorderStyle(static_cast<SliderBorderStyle>(i));
        }));
        v.push_back(SliderRow("slider range border " + std::to_string(i), [i](IQEV_Slider* s) {
            s->put_RangeBorderStyle(static_cast<SliderBorderStyle>(i));
        }));
    }
    v.push_back(SliderRow("slider texts, band, % labels", [](IQEV_Slider* s) {
        s->put_ShowSetpointValue(VARIANT_TRUE);
        s->put_ShowActualValue(VARIANT_TRUE);
        s->put_ActualRangeVisible(VARIANT_TRUE);
        s->put_PercentageScale(VARIANT_TRUE);
        s->put_ScalePrecision(2);
    }));
    v.push_back(SwitchRow("switch slider, five items", FiveItems));
    for (int i = 0; i < 7; ++i)
        v.push_back(SwitchRow("switch indicator " + std::to_string(i), [i](IQEV_SwitchSlider* s) {
            FiveItems(s);
            s->put_IndicatorType(static_cast<IndicatorStyle>(i));
        }));
    for (int i = 0; i < 16; ++i)
        v.push_back(SwitchRow("switch marker " + std::to_string(i), [i](IQEV_SwitchSlider* s) {
            FiveItems(s);
            s->put_MarkerStyle(static_cast<SliderMarkerStyle>(i));
        }));
    for (int i = 0; i < 4; ++i)
        v.push_back(SwitchRow("switch border " + std::to_string(i), [i](IQEV_SwitchSlider* s) {
            FiveItems(s);
            s->put_BorderStyle(static_cast<SliderBorderStyle>(i));
            s->put_RangeBorderStyle(static_cast<SliderBorderStyle>(i));
        }));
    return v;
}

// Hostile values: more labels than the scale has pixels, beside the default
// scale; and a switch slider with many items.
std::vector<bench::Row> HostileRows() {
    return {
        SliderRow("slider defaults", [](IQEV_Slider*) {}),
        SliderRow("32,767 labels", [](IQEV_Slider* s) { s->put_TickerNum(32767); }),
        SliderRow("32,767 labels, underlined",
                  [](IQEV_Slider* s) {
                      s->put_TickerNum(32767);
                      s->put_FontUnderline(VARIANT_TRUE);
                  }),
        SwitchRow("switch slider, five items", FiveItems),
        SwitchRow("switch slider, 2,000 items",
                  [](IQEV_SwitchSlider* s) {
                      for (int i = 0; i < 2000; ++i) {
                          const std::wstring key = L"k" + std::to_wstring(i), name = L"item " + std::to_wstring(i);
                          AddItem(s, key.c_str(), name.c_str(), 0x0000FF);
                      }
                  }),
        // Item marks far larger than the control, one per item.
        SwitchRow("switch slider, 5,000 items, indicator size -32768",
                  [](IQEV_SwitchSlider* s) {
                      s->put_IndicatorSize(-32768);
                      for (int i = 0; i < 5000; ++i) {
                          const std::wstring key = L"k" + std::to_wstring(i), name = L"item " + std::to_wstring(i);
                          AddItem(s, key.c_str(), name.c_str(), 0x0000FF);
                      }
                  }),
        SwitchRow("switch slider, 5,000 squares of size 32767",
                  [](IQEV_SwitchSlider* s) {
                      s->put_IndicatorType(ITSQURE);
                      s->put_IndicatorSize(32767);
                      for (int i = 0; i < 5000; ++i) {
                          const std::wstring key = L"k" + std::to_wstring(i), name = L"item " + std::to_wstring(i);
                          AddItem(s, key.c_str(), name.c_str(), 0x0000FF);
                      }
                  }),
    };
}

// The slowest row and the defaults per size, against the targets.
void Summarise(const char* what, double target, const std::vector<bench::Row>& rows,
               const std::vector<std::vector<double>>& ms, const std::vector<bench::References>& refs,
               const std::vector<bench::Size>& sizes) {
    std::printf("\nsummary (%s, target %.0f ms a paint):\n", what, target);
    bool met = true;
    for (size_t s = 0; s < sizes.size(); ++s) {
        double worst = 0;
        std::string worstName;
        for (size_t r = 0; r < rows.size(); ++r)
            if (ms[r][s] > worst) worst = ms[r][s], worstName = rows[r].name;
        met = met && worst <= target;
        std::printf("  %dx%d: %s %.3f ms (%.1fx BitBlt, %.2fx trackbar), slowest %.3f ms (%s, %.1fx BitBlt, "
                    "%.2fx trackbar)\n",
                    sizes[s].w, sizes[s].h, rows[0].name.c_str(), ms[0][s], ms[0][s] / refs[s].blt,
                    ms[0][s] / refs[s].track, worst, worstName.c_str(), worst / refs[s].blt, worst / refs[s].track);
    }
    std::printf("  target: %s\n", met ? "met" : "MISSED");
}

const std::vector<bench::Size> kFormSizes = {{113, 209}, {209, 97}, {105, 225}, {225, 105}};
const std::vector<bench::Size> kStyleSizes = {{400, 80}, {80, 400}};

const bool addedForms = bench::AddGroup(bench::Group{
    "Slider and switch slider at the demonstration's sizes", 20, kFormSizes, FormRows,
    [](const std::vector<bench::Row>& rows, const std::vector<std::vector<double>>& ms,
       const std::vector<bench::References>& refs) {
        Summarise("defaults and form settings", 1, rows, ms, refs, kFormSizes);
    }});

const bool addedStyles = bench::AddGroup(bench::Group{
    "Slider and switch slider styles", 21, kStyleSizes, StyleRows,
    [](const std::vector<bench::Row>& rows, const std::vector<std::vector<double>>& ms,
       const std::vector<bench::References>& refs) { Summarise("every style", 4, rows, ms, refs, kStyleSizes); }});

const bool addedHostile =
    bench::AddGroup(bench::Group{"Slider and switch slider: hostile values", 22, kStyleSizes, HostileRows, nullptr});

}  // namespace

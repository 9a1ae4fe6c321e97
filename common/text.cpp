#include "text.h"
#include <cmath>
#include <cstdio>

namespace {
// GDI takes coordinates of 27 bits.
const double kCoordLimit = 134217727.0;
}  // namespace

int Trunc(double v) {
    if (std::isnan(v)) return 0;
    if (v > kCoordLimit) return static_cast<int>(kCoordLimit);
    if (v < -kCoordLimit) return -static_cast<int>(kCoordLimit);
    return static_cast<int>(v);
}

std::string FormatScaleValue(const ScaleTextFormat& fmt, float v) {
    static const char* const kPlain[] = {"%1.0f", "%1.1f", "%1.2f", "%1.3f", "%1.4f"};
    static const char* const kPercent[] = {"%1.0f%%", "%1.1f%%", "%1.2f%%", "%1.3f%%", "%1.4f%%"};
    int p = (fmt.precision >= 0 && fmt.precision <= 4) ? fmt.precision : 1;
    char buf[80];
    buf[0] = 0;
    if (!fmt.percentage) {
        _snprintf(buf, sizeof buf - 1, kPlain[p], static_cast<double>(v));
    } else {
        if (fmt.minVal + 1e-8 >= fmt.maxVal || std::isnan(fmt.minVal) || std::isnan(fmt.maxVal)) return std::string();
        float q = static_cast<float>((v - fmt.minVal) * 100 / (fmt.maxVal - fmt.minVal));
        _snprintf(buf, sizeof buf - 1, kPercent[p], static_cast<double>(q));
    }
    buf[sizeof buf - 1] = 0;
    return std::string(buf);
}

std::string AnsiText(const wchar_t* text, int length) {
    if (!text || length <= 0) return std::string();
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, &out[0], bytes, nullptr, nullptr);
    return out;
}

void AnchorText(HDC dc, const std::string& text, UINT taAlign, POINT anchor) {
    SetTextAlign(dc, taAlign);
    TextOutA(dc, anchor.x, anchor.y, text.data(), static_cast<int>(text.size()));
}

void BoxText(const Surface& s, const std::string& text, const RECT& box, UINT dtAlign, UINT taAlign, POINT anchor) {
    if (text.empty()) return;
    if (s.metafile) {
        AnchorText(s.dc, text, taAlign, anchor);
    } else {
        RECT rc = box;
        DrawTextA(s.dc, text.data(), static_cast<int>(text.size()), &rc, dtAlign);
    }
}

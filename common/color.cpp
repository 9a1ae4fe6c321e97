#include "common/color.h"

#include <cmath>

COLORREF TranslateColor(OLE_COLOR colour) {
    COLORREF rgb = 0;
    if (FAILED(OleTranslateColor(colour, nullptr, &rgb))) return colour & 0xFFFFFF;
    return rgb & 0xFFFFFF;
}

COLORREF LightTint(COLORREF c) {
    return ChannelsToRgb((RedOf(c) + 765) / 4, (GreenOf(c) + 765) / 4, (BlueOf(c) + 765) / 4);
}

COLORREF HalfColor(COLORREF c) {
    return ChannelsToRgb(RedOf(c) / 2, GreenOf(c) / 2, BlueOf(c) / 2);
}

COLORREF GradedColor(COLORREF from, COLORREF to, int num, int den) {
    auto ch = [&](int a, int b) { return a + (int)((long long)(b - a) * num / den); };
    return ChannelsToRgb(ch(RedOf(from), RedOf(to)), ch(GreenOf(from), GreenOf(to)), ch(BlueOf(from), BlueOf(to)));
}

COLORREF MixColors(COLORREF a, int wa, COLORREF b, int wb, int divisor) {
    auto mix = [&](int x, int y) {
        int v = (wa * x + wb * y) / divisor;
        return v < 0 ? 0 : (v > 255 ? 255 : v);
    };
    return ChannelsToRgb(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
}

double LightingCosine(double angle) {
    double t = -angle - 2.356;
    if (t < -3.1415)
        t += 6.293;
    else if (t > 3.1415)
        t = 6.293 - t;
    return std::cos(t);
}

namespace {

int BlendChannel(double w, int light, int dark) {
    int v = (int)((1.0 - w) * dark + w * light);
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

double CurveDelta(double g, double knee, double level, int c1, int c2) {
    double d = (double)(c2 - c1);
    if (knee < g) return level * d + ((g - knee) * (1.0 - level) / (1.0 - knee)) * d;
    return d * (g * level / knee);
}

}  // namespace

COLORREF BlendColorByAngle(double angle, COLORREF light, COLORREF dark) {
    // An angle that is not finite would carry NaN into the integer
    // conversion; it is taken as 0 (straight right).
    if (!std::isfinite(angle)) angle = 0.0;
    double w = (LightingCosine(angle) + 1.0) * 0.5;
    return ChannelsToRgb(BlendChannel(w, RedOf(light), RedOf(dark)), BlendChannel(w, GreenOf(light), GreenOf(dark)),
                         BlendChannel(w, BlueOf(light), BlueOf(dark)));
}

COLORREF BlendColorByAngleCurve(double angle, COLORREF c1, COLORREF c2, float knee, float level) {
    double k = knee, lv = level;
    if (k <= 1e-10) return c1 & 0xFFFFFF;
    if (!(k < 1.0)) return c2 & 0xFFFFFF;
    if (!std::isfinite(angle)) angle = 0.0;
    double g = 1.0 - (LightingCosine(angle) + 1.0) * 0.5;
    return ChannelsToRgb(CurveChannel(RedOf(c1), CurveDelta(g, k, lv, RedOf(c1), RedOf(c2))),
                         CurveChannel(GreenOf(c1), CurveDelta(g, k, lv, GreenOf(c1), GreenOf(c2))),
                         CurveChannel(BlueOf(c1), CurveDelta(g, k, lv, BlueOf(c1), BlueOf(c2))));
}

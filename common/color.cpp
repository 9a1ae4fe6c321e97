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

// cos(i degrees) for i = 0 to 360.
struct DegreeCosines {
    double value[361];
    DegreeCosines() {
        for (int i = 0; i <= 360; ++i) value[i] = std::cos(i * 3.141592653589793 / 180);
    }
};

// The lighting angle folded as LightingCosine folds it, in whole degrees.
double WholeDegreeCosine(double angle) {
    static const DegreeCosines table;
    double t = -angle - 2.356;
    if (t < -3.1415)
        t += 6.293;
    else if (t > 3.1415)
        t = 6.293 - t;
    int d = (int)(t * 180 / 3.141592653589793);
    if (d < 0) d += 360;
    if (d < 0) d += 720;
    if (d > 360) d -= 360;
    if (d > 360) d -= 720;
    if (d < 0 || d > 360) d = 0;  // only for angles far outside one turn
    return table.value[d];
}

int BlendChannel(double w, int light, int dark) {
    int v = (int)((1.0 - w) * dark + w * light);
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

double CurveDelta(double g, double knee, double level, int c1, int c2) {
    double d = (double)(c2 - c1);
    if (knee < g) return level * d + ((g - knee) * (1.0 - level) / (1.0 - knee)) * d;
    return d * (g * level / knee);
}

COLORREF BlendByCosine(double cosine, COLORREF light, COLORREF dark) {
    double w = (cosine + 1.0) * 0.5;
    return ChannelsToRgb(BlendChannel(w, RedOf(light), RedOf(dark)), BlendChannel(w, GreenOf(light), GreenOf(dark)),
                         BlendChannel(w, BlueOf(light), BlueOf(dark)));
}

COLORREF CurveByCosine(double cosine, COLORREF c1, COLORREF c2, double k, double lv) {
    double g = 1.0 - (cosine + 1.0) * 0.5;
    return ChannelsToRgb(CurveChannel(RedOf(c1), CurveDelta(g, k, lv, RedOf(c1), RedOf(c2))),
                         CurveChannel(GreenOf(c1), CurveDelta(g, k, lv, GreenOf(c1), GreenOf(c2))),
                         CurveChannel(BlueOf(c1), CurveDelta(g, k, lv, BlueOf(c1), BlueOf(c2))));
}

}  // namespace

// An angle that is not finite would carry NaN into the integer conversion;
// it is taken as 0 (straight right).
COLORREF BlendColorByAngle(double angle, COLORREF light, COLORREF dark) {
    if (!std::isfinite(angle)) angle = 0.0;
    return BlendByCosine(LightingCosine(angle), light, dark);
}

COLORREF BlendColorByDegree(double angle, COLORREF light, COLORREF dark) {
    if (!std::isfinite(angle)) angle = 0.0;
    return BlendByCosine(WholeDegreeCosine(angle), light, dark);
}

COLORREF BlendColorByAngleCurve(double angle, COLORREF c1, COLORREF c2, float knee, float level) {
    if (knee <= 1e-10) return c1 & 0xFFFFFF;
    if (!(knee < 1.0f)) return c2 & 0xFFFFFF;
    if (!std::isfinite(angle)) angle = 0.0;
    return CurveByCosine(LightingCosine(angle), c1, c2, knee, level);
}

COLORREF BlendColorByDegreeCurve(double angle, COLORREF c1, COLORREF c2, float knee, float level) {
    if (knee <= 1e-10) return c1 & 0xFFFFFF;
    if (!(knee < 1.0f)) return c2 & 0xFFFFFF;
    if (!std::isfinite(angle)) angle = 0.0;
    return CurveByCosine(WholeDegreeCosine(angle), c1, c2, knee, level);
}

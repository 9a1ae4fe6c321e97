#include "slider_layout.h"
#include "Morvel.h"
#include "common/text.h"

int SliderFrameDepth(int borderStyle, short outerLen, short innerLen) {
    if (borderStyle == SUNKEN || borderStyle == RAISED) return 2;
    if (borderStyle == CONFIGURABLE) return static_cast<short>(outerLen + innerLen + 1);
    return 0;
}

RECT SliderValueRect(const RECT& R, const SliderLayoutSpec& s) {
    if (s.tickerNum <= 1) return R;
    const int d = s.frameDepth, gap = s.rangeEndGap;
    int h = s.rangeFieldWidth / 2;
    RECT V;
    if (s.vertical) {
        const int a = (R.right - R.left) - (2 * d + 20);
        if (2 * h > a) h = a / 2;
        const int c = (R.left + R.right) / 2;
        V.left = c - h;
        V.right = c + h;
        V.top = R.top + gap + d + 1;
        V.bottom = R.bottom - gap - d - 1;
        if (V.top > V.bottom) V.top = V.bottom - 2;
    } else {
        const int a = (R.bottom - R.top) - (2 * d + 20);
        if (2 * h > a) h = a / 2;
        const int c = (R.top + R.bottom) / 2;
        V.left = R.left + d + gap;
        V.right = R.right - gap - d - 1;
        V.top = c - h;
        V.bottom = c + h;
        if (V.left > V.right) V.left = V.right - 2;
    }
    return V;
}

SliderPlacement PlaceSliderMarker(const RECT& V, const SliderValues& v) {
    SliderPlacement p;
    const bool degenerate = !(v.minVal + 1e-6 < v.maxVal);
    const double span = v.maxVal - v.minVal;
    if (v.vertical) {
        const double L = V.bottom - V.top;
        auto dMax = [&](double x) { return Trunc(L * (v.maxVal - x) / span); };
        p.band = V;
        if (degenerate) {
            p.centre = v.inverse ? V.bottom : V.top;
        } else if (!v.inverse) {
            p.centre = V.top + dMax(v.setpoint);
            p.band.top = V.top + dMax(v.actual);
        } else {
            p.centre = V.bottom - dMax(v.setpoint);
            p.band.bottom = V.bottom - dMax(v.actual);
        }
        p.middle = (V.left + V.right) / 2;
        p.marker = RECT{p.middle - v.markerHeight / 2, p.centre - v.markerWidth / 2, p.middle + v.markerHeight / 2,
                        p.centre + v.markerWidth / 2};
    } else {
        const double L = V.right - V.left;
        auto dMin = [&](double x) { return Trunc(L * (x - v.minVal) / span); };
        p.band = V;
        if (degenerate) {
            p.centre = v.inverse ? V.right : V.left;
        } else if (!v.inverse) {
            p.centre = V.left + dMin(v.setpoint);
            p.band.right = V.left + dMin(v.actual);
        } else {
            p.centre = V.right - dMin(v.setpoint);
            p.band.left = V.right - dMin(v.actual);
        }
        p.middle = (V.top + V.bottom) / 2;
        p.marker = RECT{p.centre - v.markerWidth / 2, p.middle - v.markerHeight / 2, p.centre + v.markerWidth / 2,
                        p.middle + v.markerHeight / 2};
    }
    return p;
}

SwitchLayout LayOutSwitchSlider(const RECT& client, const SwitchLayoutSpec& s, int n) {
    // Across the field (x when vertical) and along it, the same rules.
    const int lo = s.vertical ? client.left : client.top, hi = s.vertical ? client.right : client.bottom;
    const int start = s.vertical ? client.top : client.left, end = s.vertical ? client.bottom : client.right;
    const int b = s.frame;
    const int pad = s.markerHeight / 2 + 4 > 10 ? s.markerHeight / 2 + 4 : 10;
    int o = s.rangeFieldWidth / 2;
    if (2 * o > hi - lo - 2 * b - 20) o = (hi - lo - 2 * b - 20) / 2;
    SwitchLayout lay{};
    int fieldLo, fieldHi;
    if (!s.marksAfter) {
        fieldHi = hi - b - pad;
        fieldLo = fieldHi - 2 * o;
        lay.across1 = fieldLo - s.scaleGap;
        lay.across0 = lay.across1 - s.indicatorSize;
    } else {
        fieldLo = lo + b + pad;
        fieldHi = fieldLo + 2 * o;
        lay.across0 = fieldHi + s.scaleGap;
        lay.across1 = lay.across0 + s.indicatorSize;
    }
    int first = start + b + s.rangeEndGap + 1, last = end - b - s.rangeEndGap - 1;
    if (first > last) first = last - 2;
    lay.field = s.vertical ? RECT{fieldLo, first, fieldHi, last} : RECT{first, fieldLo, last, fieldHi};
    lay.step = SwitchStep(last - first, s.indicatorSize, n);
    return lay;
}

RECT SwitchItemBox(const SwitchLayout& lay, const SwitchLayoutSpec& s, int i) {
    const RECT& f = lay.field;
    const int offset = i * lay.step;
    if (s.vertical) {
        const int l = s.inverse ? f.top + offset + 1 : f.bottom - offset - s.indicatorSize - 1;
        return RECT{lay.across0, l, lay.across1, l + s.indicatorSize};
    }
    const int h = s.inverse ? f.right - offset - 1 : f.left + offset + s.indicatorSize + 1;
    return RECT{h - s.indicatorSize, lay.across0, h, lay.across1};
}

int SwitchItemCentre(const SwitchLayout& lay, const SwitchLayoutSpec& s, int i) {
    const RECT& f = lay.field;
    const int half = s.indicatorSize / 2, offset = i * lay.step;
    if (s.vertical) return s.inverse ? f.top + half + offset + 1 : f.bottom - half - offset - 1;
    return s.inverse ? f.right - half - offset - 1 : f.left + half + offset + 1;
}

RECT SwitchMarkerRect(const SwitchLayout& lay, const SwitchLayoutSpec& s, int along) {
    const RECT& f = lay.field;
    if (s.vertical) {
        const int x = (f.left + f.right) / 2;
        return RECT{x - s.markerHeight / 2, along - s.markerWidth / 2, x + s.markerHeight / 2, along + s.markerWidth / 2};
    }
    const int y = (f.top + f.bottom) / 2;
    return RECT{along - s.markerWidth / 2, y - s.markerHeight / 2, along + s.markerWidth / 2, y + s.markerHeight / 2};
}

// Plain per-pixel forms of the filters.
#include "Reference.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/Errors.h"

namespace lf::reference {
namespace {

int ClampByte(long v) { return v < 0 ? 0 : v > 255 ? 255 : static_cast<int>(v); }

struct Rgb {
    int r, g, b;
};
Rgb Get(const Bitmap& b, int x, int y) {
    const uint32_t c = b.Pixel(x, y);
    return {GetR(c), GetG(c), GetB(c)};
}
void Put(Bitmap& b, int x, int y, Rgb c) {
    b.SetPixel(x, y, RGB(static_cast<uint8_t>(c.r), static_cast<uint8_t>(c.g), static_cast<uint8_t>(c.b)));
}
int IntensityOf(Rgb c) { return (c.r + c.g + c.b) / 3; }

template <typename F>
void EachPixel(Bitmap& copy, F&& f) {
    for (int y = 0; y < copy.Height(); ++y)
        for (int x = 0; x < copy.Width(); ++x) Put(copy, x, y, f(Get(copy, x, y)));
}

bool Picks(int channel, int which) { return channel == 0 || channel == which; }

Bitmap CopyOf(const Bitmap& picture, const TRect& s) {
    Bitmap copy(s.Right - s.Left + 1, s.Bottom - s.Top + 1);
    for (int y = 0; y < copy.Height(); ++y)
        for (int x = 0; x < copy.Width(); ++x) copy.SetPixel(x, y, picture.Pixel(s.Left + x, s.Top + y));
    return copy;
}

}  // namespace

void Pass(Bitmap& picture, const TRect& s, const Operation& operation) {
    Bitmap copy = CopyOf(picture, s);
    operation(copy);
    for (int y = 0; y < copy.Height(); ++y)
        for (int x = 0; x < copy.Width(); ++x) picture.SetPixel(s.Left + x, s.Top + y, copy.Pixel(x, y));
}

void AdjustChannels(Bitmap& copy, int dR, int dG, int dB) {
    EachPixel(copy, [&](Rgb c) {
        return Rgb{ClampByte(c.r + dR), ClampByte(c.g + dG), ClampByte(c.b + dB)};
    });
}

void BlackAndWhite(Bitmap& copy) {
    EachPixel(copy, [](Rgb c) {
        const int v = IntensityOf(c) > 127 ? 255 : 0;
        return Rgb{v, v, v};
    });
}

void Grayscale(Bitmap& copy) {
    EachPixel(copy, [](Rgb c) {
        const int i = IntensityOf(c);
        return Rgb{i, i, i};
    });
}

void Invert(Bitmap& copy, int channel) {
    EachPixel(copy, [&](Rgb c) {
        if (Picks(channel, 1)) c.r = 255 - c.r;
        if (Picks(channel, 2)) c.g = 255 - c.g;
        if (Picks(channel, 3)) c.b = 255 - c.b;
        return c;
    });
}

void Logaritmize(Bitmap& copy, int channel) {
    auto curve = [](int v) { return static_cast<int>(std::nearbyint(std::log10(v + 1.0) * 105.88)); };
    EachPixel(copy, [&](Rgb c) {
        if (Picks(channel, 1)) c.r = curve(c.r);
        if (Picks(channel, 2)) c.g = curve(c.g);
        if (Picks(channel, 3)) c.b = curve(c.b);
        return c;
    });
}

void SwapChannels(Bitmap& copy) {
    EachPixel(copy, [](Rgb c) { return Rgb{c.b, c.r, c.g}; });
}

void Optimize(Bitmap& copy) {
    int minimum[3] = {256, 256, 256}, maximum[3] = {-1, -1, -1};
    for (int y = 0; y < copy.Height(); ++y)
        for (int x = 0; x < copy.Width(); ++x) {
            const Rgb c = Get(copy, x, y);
            const int v[3] = {c.r, c.g, c.b};
            for (int k = 0; k < 3; ++k) {
                if (v[k] > maximum[k]) maximum[k] = v[k];
                if (v[k] < minimum[k]) minimum[k] = v[k];
            }
        }
    double scale[3], offset[3];
    for (int k = 0; k < 3; ++k) {
        if (maximum[k] == minimum[k]) throw Error(kDivisionByZero);
        scale[k] = 255.0 / (maximum[k] - minimum[k]);
        offset[k] = -(scale[k] * minimum[k]);
    }
    auto stretch = [&](int v, int k) {
        const long double sum = static_cast<long double>(v) * scale[k] + static_cast<long double>(offset[k]);
        return static_cast<int>(std::lrint(sum));
    };
    EachPixel(copy, [&](Rgb c) { return Rgb{stretch(c.r, 0), stretch(c.g, 1), stretch(c.b, 2)}; });
}

void Contrast(Bitmap& copy, bool decrease) {
    const double factor = decrease ? 0.5 : 2.0, offset = decrease ? 64.0 : -128.0;
    auto step = [&](int v) { return ClampByte(static_cast<long>(std::trunc(v * factor + offset))); };
    EachPixel(copy, [&](Rgb c) { return Rgb{step(c.r), step(c.g), step(c.b)}; });
}

void Mean(Bitmap& copy, int r) {
    const Bitmap grid = copy;
    const int w = copy.Width(), h = copy.Height(), area = (2 * r + 1) * (2 * r + 1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            int sr = 0, sg = 0, sb = 0;
            for (int i = -r; i <= r; ++i)
                for (int j = -r; j <= r; ++j) {
                    const Rgb c = Get(grid, std::clamp(x + i, 0, w - 1), std::clamp(y + j, 0, h - 1));
                    sr += c.r, sg += c.g, sb += c.b;
                }
            Put(copy, x, y, Rgb{sr / area, sg / area, sb / area});
        }
}

void Sharpness(Bitmap& copy, bool decrease) {
    const double k = decrease ? -0.5 : 2.0;
    const int w = copy.Width(), h = copy.Height();
    std::vector<int> grid(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) grid[static_cast<size_t>(y) * w + x] = IntensityOf(Get(copy, x, y));
    auto A = [&](int x, int y) { return grid[static_cast<size_t>(y) * w + x]; };
    for (int y = 1; y <= h - 2; ++y)
        for (int x = 1; x <= w - 2; ++x) {
            int sum = 0;
            for (int j = -1; j <= 1; ++j)
                for (int i = -1; i <= 1; ++i)
                    if (i != 0 || j != 0) sum += A(x + i, y + j);
            const int m = sum / 8;
            Rgb c = Get(copy, x, y);
            const Rgb c0 = c;
            c.r = ClampByte(static_cast<long>(std::trunc((IntensityOf(c) - m) * k + c0.r)));
            c.g = ClampByte(static_cast<long>(std::trunc((IntensityOf(c) - m) * k + c0.g)));
            c.b = ClampByte(static_cast<long>(std::trunc((IntensityOf(c) - m) * k + c0.b)));
            Put(copy, x, y, c);
        }
}

void AddNoise(Bitmap& copy, int a, uint32_t& seed) {
    auto below = [&](uint32_t n) {
        seed = seed * 134775813u + 1u;
        return static_cast<int>((static_cast<uint64_t>(seed) * n) >> 32);
    };
    EachPixel(copy, [&](Rgb c) {
        const int rR = below(a), rG = below(a), rB = below(a);
        return Rgb{ClampByte(c.r + 2 * rR - a), ClampByte(c.g + 2 * rG - a), ClampByte(c.b + 2 * rB - a)};
    });
}

void FindEdges(Bitmap& picture, const TRect& s) {
    Bitmap copy = CopyOf(picture, s);
    const int w = copy.Width(), h = copy.Height();
    Bitmap edges = copy;
    if (w >= 3 && h >= 3) {
        for (int y = 1; y <= h - 2; ++y)
            for (int x = 1; x <= w - 2; ++x) {
                const int a = IntensityOf(Get(copy, x, y));
                int sum = 0;
                for (int j = -1; j <= 1; ++j)
                    for (int i = -1; i <= 1; ++i)
                        if (i != 0 || j != 0) sum += std::abs(IntensityOf(Get(copy, x + i, y + j)) - a);
                Put(edges, x, y, Rgb{sum / 8, sum / 8, sum / 8});
            }
    }
    const int pw = picture.Width(), ph = picture.Height();
    for (int x = 0; x < pw; ++x) picture.SetPixel(x, 0, 0), picture.SetPixel(x, ph - 1, 0);
    for (int y = 0; y < ph; ++y) picture.SetPixel(0, y, 0), picture.SetPixel(pw - 1, y, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // Each selection pixel takes the interior pixel nearest in proportion.
            // Without an interior the selection keeps its pixels.
            const bool interior = w >= 3 && h >= 3;
            const int sx = interior ? 1 + (2 * x + 1) * (w - 2) / (2 * w) : x;
            const int sy = interior ? 1 + (2 * y + 1) * (h - 2) / (2 * h) : y;
            picture.SetPixel(s.Left + x, s.Top + y, edges.Pixel(sx, sy));
        }
    Pass(picture, s, reference::Optimize);
    Pass(picture, s, [](Bitmap& c) { reference::Logaritmize(c, 0); });
}

void RunCommand(const std::string& component, Bitmap& p, const TRect& s, uint32_t seed) {
    auto adjust = [&](int dR, int dG, int dB) {
        Pass(p, s, [=](Bitmap& c) { AdjustChannels(c, dR, dG, dB); });
    };
    auto invert = [&](int ch) { Pass(p, s, [=](Bitmap& c) { Invert(c, ch); }); };
    auto logaritmize = [&](int ch) { Pass(p, s, [=](Bitmap& c) { Logaritmize(c, ch); }); };
    auto mean = [&](int r) { Pass(p, s, [=](Bitmap& c) { Mean(c, r); }); };
    auto contrast = [&](bool decrease) { Pass(p, s, [=](Bitmap& c) { Contrast(c, decrease); }); };
    auto sharpness = [&](bool decrease) { Pass(p, s, [=](Bitmap& c) { Sharpness(c, decrease); }); };
    auto noise = [&] {
        uint32_t generator = seed;
        Pass(p, s, [&](Bitmap& c) { AddNoise(c, 25, generator); });
    };
    auto grayscale = [&] { Pass(p, s, Grayscale); };
    const std::string& n = component;
    if (n == "BlackandwhiteMenu")
        Pass(p, s, BlackAndWhite);
    else if (n == "IncreaseBrightnessMenu")
        adjust(25, 25, 25);
    else if (n == "DecreaseBrightnessMenu")
        adjust(-25, -25, -25);
    else if (n == "IncreaseRedMenu")
        adjust(25, 0, 0);
    else if (n == "DecreaseRedMenu")
        adjust(-25, 0, 0);
    else if (n == "IncreaseGreenMenu")
        adjust(0, 25, 0);
    else if (n == "DecreaseGreenMenu")
        adjust(0, -25, 0);
    else if (n == "IncreaseBlueMenu")
        adjust(0, 0, 25);
    else if (n == "DecreaseBlueMenu")
        adjust(0, 0, -25);
    else if (n == "GrayscaleMenu")
        grayscale();
    else if (n == "InvertAllmenu")
        invert(0);
    else if (n == "InvertRedMenu")
        invert(1);
    else if (n == "InvertGreenMenu")
        invert(2);
    else if (n == "InvertBlueMenu")
        invert(3);
    else if (n == "LogaritmizeAllMenu")
        logaritmize(0);
    else if (n == "LogaritmizeRedMenu")
        logaritmize(1);
    else if (n == "LogaritmizeGreenMenu")
        logaritmize(2);
    else if (n == "LogaritmizeBlueMenu")
        logaritmize(3);
    else if (n == "OptimizeMenu")
        Pass(p, s, Optimize);
    else if (n == "SepiaMenu")
        grayscale(), adjust(25, 0, -25);
    else if (n == "IncreaseContrastmenu")
        contrast(false);
    else if (n == "DecreaseContrastmenu")
        contrast(true);
    else if (n == "FindEdgesMenu")
        FindEdges(p, s);
    else if (n == "MeanvalueMenu")
        mean(5);
    else if (n == "AddNoiseMenu")
        noise();
    else if (n == "RemoveNoiseMenu")
        mean(1);
    else if (n == "IncreaseSharpnessMenu")
        sharpness(false);
    else if (n == "DecreaseSharpnessMenu")
        sharpness(true);
    else if (n == "DrawnMenu")
        mean(1), FindEdges(p, s), invert(0), contrast(false);
    else if (n == "Early20thCenturyMenu")
        noise(), mean(1), grayscale(), adjust(25, 13, -25), contrast(false);
    else if (n == "CheapcolorcameraMenu")
        adjust(25, 0, 0), noise(), mean(1), contrast(false);
    else if (n == "SwapchannelsMenu")
        Pass(p, s, SwapChannels);
    else
        throw std::invalid_argument("no reference for " + n);
}

}  // namespace lf::reference

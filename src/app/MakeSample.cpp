// make-sample: writes the bundled sample picture, a 640 × 480 landscape of gradients and
// shapes, as a 24-bit BMP file: make-sample OUTPUT.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <vector>

namespace {

struct Colour {
    double r, g, b;
};

Colour Mix(Colour a, Colour b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

uint8_t Byte(double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0))); }

// The colour at (x, y): sky, sun with a halo, two rows of hills, a lake with the sun's
// reflection and a few coloured houses, so every filter has edges, gradients and flat areas.
Colour Scene(int x, int y, int width, int height) {
    const double u = static_cast<double>(x) / width;
    const double v = static_cast<double>(y) / height;
    const double horizon = 0.62;
    Colour c = Mix({40, 90, 200}, {250, 190, 140}, v / horizon);

    const double sunX = 0.72, sunY = 0.30;
    const double sun = std::hypot((u - sunX) * width, (v - sunY) * height);
    if (sun < 38)
        c = {255, 236, 120};
    else if (sun < 110)
        c = Mix({255, 220, 120}, c, (sun - 38) / 72);

    const double far = horizon - 0.10 - 0.06 * std::sin(u * 9.0) - 0.03 * std::sin(u * 23.0 + 1.0);
    if (v > far) c = Mix({110, 120, 170}, {80, 100, 140}, (v - far) * 8);
    const double near = horizon - 0.04 * std::sin(u * 5.0 + 2.0) - 0.02 * std::cos(u * 31.0);
    if (v > near) c = Mix({60, 150, 60}, {20, 90, 30}, (v - near) * 6);

    for (int i = 0; i < 4; ++i) {
        const double left = 0.08 + i * 0.07, right = left + 0.05;
        const double roof = near - 0.07, base = near + 0.02;
        const Colour walls[4] = {{220, 60, 50}, {240, 200, 60}, {70, 170, 220}, {230, 230, 230}};
        if (u >= left && u < right && v >= roof + 0.03 && v < base) c = walls[i];
        const double mid = (left + right) / 2;
        if (v >= roof && v < roof + 0.03 && std::abs(u - mid) < (v - roof) * 0.9) c = {130, 40, 30};
        if (u >= left + 0.018 && u < left + 0.032 && v >= base - 0.035 && v < base) c = {70, 40, 20};
    }

    if (v > 0.80) {
        c = Mix({30, 80, 150}, {10, 30, 80}, (v - 0.80) * 5);
        const double ripple = std::sin(y * 1.7 + std::sin(x * 0.05) * 3.0);
        if (std::abs(u - sunX) < 0.06 * (1.0 - (v - 0.80) * 2) && ripple > 0.2)
            c = Mix(c, {255, 225, 130}, 0.8);
    }
    return c;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-sample OUTPUT.bmp\n");
        return 2;
    }
    const int width = 640, height = 480;
    const uint32_t stride = (width * 3 + 3) & ~3u;
    const uint32_t imageBytes = stride * height;
    std::vector<uint8_t> file(54 + imageBytes, 0);
    auto put16 = [&](size_t at, uint32_t v) {
        file[at] = static_cast<uint8_t>(v);
        file[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    auto put32 = [&](size_t at, uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, width);
    put32(22, height);  // positive: rows bottom-up
    put16(26, 1);
    put16(28, 24);
    put32(34, imageBytes);
    put32(38, 2835);  // 72 dpi
    put32(42, 2835);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = file.data() + 54 + static_cast<size_t>(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const Colour c = Scene(x, y, width, height);
            row[3 * x] = Byte(c.b);
            row[3 * x + 1] = Byte(c.g);
            row[3 * x + 2] = Byte(c.r);
        }
    }
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    if (!out) {
        std::fprintf(stderr, "make-sample: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

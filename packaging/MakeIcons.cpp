// Makes the desktop icons from the game's logo: the square around its initial, with rounded corners,
// resampled to each size asked for. Usage: make_icons LOGO.png OUTDIR SIZE...
// Writes OUTDIR/quintora-SIZE.png for each size.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Image.hpp"

namespace {

using quintora::platform::Bitmap;

// The logo's initial sits in this square of the 480 x 320 picture.
constexpr int kCropX = 50, kCropY = 84, kCropSide = 106;

// One output pixel is the average of the source pixels its square covers (bilinear when enlarging), so
// small sizes stay smooth instead of sparkling.
void sample(const Bitmap& src, double x0, double y0, double x1, double y1, double out[4]) {
    const int ix0 = static_cast<int>(std::floor(x0)), iy0 = static_cast<int>(std::floor(y0));
    const int ix1 = std::max(ix0 + 1, static_cast<int>(std::ceil(x1)));
    const int iy1 = std::max(iy0 + 1, static_cast<int>(std::ceil(y1)));
    double sum[4] = {0, 0, 0, 0};
    int count = 0;
    for (int y = iy0; y < iy1; ++y) {
        for (int x = ix0; x < ix1; ++x) {
            const int cx = std::clamp(x, 0, src.width - 1), cy = std::clamp(y, 0, src.height - 1);
            const auto* p = &src.pixels[static_cast<std::size_t>((cy * src.width + cx) * 4)];
            for (int c = 0; c < 4; ++c) sum[c] += p[c];
            ++count;
        }
    }
    for (int c = 0; c < 4; ++c) out[c] = sum[c] / count;
}

Bitmap icon(const Bitmap& logo, int size) {
    Bitmap out{size, size, std::vector<std::uint8_t>(static_cast<std::size_t>(size * size * 4))};
    const double step = static_cast<double>(kCropSide) / size;
    const double radius = size * 0.18;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double rgba[4];
            sample(logo, kCropX + x * step, kCropY + y * step, kCropX + (x + 1) * step,
                   kCropY + (y + 1) * step, rgba);
            // Distance into a rounded corner decides the pixel's coverage.
            const double dx = std::max({radius - (x + 0.5), (x + 0.5) - (size - radius), 0.0});
            const double dy = std::max({radius - (y + 0.5), (y + 0.5) - (size - radius), 0.0});
            const double coverage = std::clamp(radius + 0.5 - std::hypot(dx, dy), 0.0, 1.0);
            auto* p = &out.pixels[static_cast<std::size_t>((y * size + x) * 4)];
            for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(std::lround(rgba[c]));
            p[3] = static_cast<std::uint8_t>(std::lround(rgba[3] * coverage));
        }
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: make_icons LOGO.png OUTDIR SIZE...\n");
        return 2;
    }
    const auto logo = quintora::platform::decodePng(argv[1]);
    if (!logo || logo->width < kCropX + kCropSide || logo->height < kCropY + kCropSide) {
        std::fprintf(stderr, "make_icons: cannot use %s as the logo\n", argv[1]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size < 8 || size > 1024) {
            std::fprintf(stderr, "make_icons: bad size '%s'\n", argv[i]);
            return 2;
        }
        const std::string path = std::string(argv[2]) + "/quintora-" + argv[i] + ".png";
        if (!quintora::platform::writePng(path, icon(*logo, size))) {
            std::fprintf(stderr, "make_icons: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

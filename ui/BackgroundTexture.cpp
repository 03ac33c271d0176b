#include "ui/BackgroundTexture.h"

#include <QImage>
#include <cstdint>
#include <vector>

namespace {

constexpr int Side = 127;
// The message box's back colour; the grain only ever darkens it a little.
constexpr int BaseRed = 255;
constexpr int BaseGreen = 255;
constexpr int BaseBlue = 192;
constexpr double MaxShade = 14.0;

// A fixed hash, so the texture is the same on every run and every machine.
double Noise(int x, int y) {
    std::uint32_t h =
        static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<double>(h & 0xFFFF) / 65535.0;
}

int Wrap(int v) {
    return (v % Side + Side) % Side;
}

using Field = std::vector<double>;

// Averages along one direction, wrapping at the edges so the tile has no seam: this draws
// the threads of the weave.
Field Smear(const Field& in, int dx, int dy, int radius) {
    Field out(in.size(), 0.0);
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x) {
            double sum = 0.0;
            for (int r = -radius; r <= radius; ++r)
                sum += in[Wrap(y + r * dy) * Side + Wrap(x + r * dx)];
            out[y * Side + x] = sum / (2 * radius + 1);
        }
    return out;
}

QImage MakeTexture() {
    Field white(Side * Side);
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            white[y * Side + x] = Noise(x, y);
    const Field warp = Smear(white, 1, 0, 4);
    const Field weft = Smear(white, 0, 1, 4);

    QImage image(Side, Side, QImage::Format_RGB32);
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x) {
            const int i = y * Side + x;
            // Threads carry most of the grain, single specks the rest.
            const double grain = 0.4 * warp[i] + 0.4 * weft[i] + 0.2 * white[i];
            const int shade = static_cast<int>(grain * MaxShade);
            image.setPixel(x, y, qRgb(BaseRed - shade, BaseGreen - shade, BaseBlue - shade));
        }
    return image;
}

} // namespace

const QPixmap& BackgroundTexture() {
    static const QPixmap texture = QPixmap::fromImage(MakeTexture());
    return texture;
}

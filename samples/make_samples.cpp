// Makes the sample pictures: grey height pictures whose red intensity is the height.
// Usage: make_samples <folder>

#include <QDir>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>

#include "tests/support/picture_files.h"

namespace {

// A height in 0..1 at a pixel.
using Relief = std::function<double(int x, int y)>;

constexpr int kLevels = 32;       // the heights the program tells apart
constexpr int kYellow = kLevels;  // palette index of the marker colour

// Each level's grey is the middle of the red range that reads as that level.
int levelRed(int level) { return std::min(255, 8 * level + 11); }

int levelOf(double height) { return std::clamp(int(height * kLevels), 0, kLevels - 1); }

double lattice(int x, int y, std::uint32_t seed) {
    std::uint32_t h = std::uint32_t(x) * 374761393u + std::uint32_t(y) * 668265263u + seed;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return double(h & 0xFFFFu) / 65535.0;
}

double smoothNoise(double x, double y, std::uint32_t seed) {
    const int x0 = int(std::floor(x));
    const int y0 = int(std::floor(y));
    const auto ease = [](double t) { return t * t * (3 - 2 * t); };
    const double u = ease(x - x0);
    const double v = ease(y - y0);
    const double top = lattice(x0, y0, seed) * (1 - u) + lattice(x0 + 1, y0, seed) * u;
    const double bottom = lattice(x0, y0 + 1, seed) * (1 - u) + lattice(x0 + 1, y0 + 1, seed) * u;
    return top * (1 - v) + bottom * v;
}

// Five octaves of value noise, the coarsest cells `scale` pixels wide.
Relief terrain(std::uint32_t seed, double scale) {
    return [seed, scale](int x, int y) {
        double sum = 0;
        double amplitude = 0.5;
        double frequency = 1 / scale;
        for (int octave = 0; octave < 5; ++octave) {
            sum +=
                amplitude * smoothNoise(x * frequency, y * frequency, seed + std::uint32_t(octave));
            amplitude /= 2;
            frequency *= 2;
        }
        return std::clamp((sum - 0.2) / 0.6, 0.0, 1.0);
    };
}

Relief hill(int width, int height) {
    return [width, height](int x, int y) {
        const double dx = (x - width / 2.0) / width;
        const double dy = (y - height / 2.0) / height;
        return std::exp(-9 * (dx * dx + dy * dy));
    };
}

// Ridges running from top left to bottom right, higher towards the middle.
Relief ridges(int width) {
    return [width](int x, int y) {
        const double across = (x - y) * 0.06;
        const double along = double(x + y) / (2 * width);
        return (0.5 + 0.5 * std::sin(across)) * (0.4 + 0.6 * std::sin(3.14159 * along));
    };
}

QImage greyPicture(int width, int height, const Relief& relief) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int grey = std::clamp(int(relief(x, y) * 255 + 0.5), 0, 255);
            picture.setPixel(x, y, qRgb(grey, grey, grey));
        }
    }
    return picture;
}

// Indexed pictures hold only the program's height levels, which keeps the GIFs small.
QImage levelPicture(int width, int height, const Relief& relief) {
    QImage picture(width, height, QImage::Format_Indexed8);
    picture.setColorCount(kLevels + 1);
    for (int level = 0; level < kLevels; ++level) {
        const int red = levelRed(level);
        picture.setColor(level, qRgb(red, red, red));
    }
    picture.setColor(kYellow, qRgb(255, 255, 0));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.setPixel(x, y, uint(levelOf(relief(x, y))));
        }
    }
    return picture;
}

// Survey marks: yellow crosses whose heights the program fills in from their surroundings.
void addMarkers(QImage& picture) {
    for (int i = 0; i < 9; ++i) {
        const int cx = 40 + (i % 3) * 140 + 20 * (i / 3);
        const int cy = 50 + (i / 3) * 130;
        for (int d = -3; d <= 3; ++d) {
            picture.setPixel(cx + d, cy, kYellow);
            picture.setPixel(cx, cy + d, kYellow);
        }
    }
}

bool report(bool written, const QString& path) {
    std::printf("%s %s\n", written ? "wrote" : "could not write", qPrintable(path));
    return written;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_samples <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    bool ok = report(kestrane::testing::writeGif(folder.filePath("hill.gif"),
                                                 levelPicture(320, 320, hill(320, 320))),
                     folder.filePath("hill.gif"));
    QImage marked = levelPicture(480, 400, terrain(7, 96));
    addMarkers(marked);
    ok = report(kestrane::testing::writeGif(folder.filePath("terrain_markers.gif"), marked),
                folder.filePath("terrain_markers.gif")) &&
         ok;
    ok = report(greyPicture(512, 512, ridges(512)).save(folder.filePath("ridges.jpg"), "JPG", 85),
                folder.filePath("ridges.jpg")) &&
         ok;
    ok = report(greyPicture(1024, 768, terrain(23, 256))
                    .save(folder.filePath("terrain_1024x768.jpg"), "JPG", 80),
                folder.filePath("terrain_1024x768.jpg")) &&
         ok;
    return ok ? 0 : 1;
}

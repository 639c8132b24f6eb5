// make-test-image: draws the default picture of the picture analysis window,
// a hue wheel whose colours soften towards a grey centre, beside strips that
// run from dark to light, so that every part of the picture has a notation
// worth reading.
//   make-test-image data/TestImage.jpg
#include <QColor>
#include <QGuiApplication>
#include <QImage>

#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

QRgb wheel(double dx, double dy, double radius) {
    const double r = std::hypot(dx, dy) / radius;
    if (r > 1.0) return qRgb(236, 236, 232);
    double hue = std::atan2(-dy, dx) / (2 * std::numbers::pi);
    if (hue < 0) hue += 1;
    // Saturation grows with the radius; the lower half of the wheel is darker.
    const double value = 0.55 + 0.4 * (0.5 - dy / radius / 2);
    return QColor::fromHsvF(hue, std::min(1.0, r * 1.1), std::clamp(value, 0.0, 1.0)).rgb();
}

QRgb strips(int x, int y, int width, int height) {
    const double t = static_cast<double>(y) / (height - 1);
    const int band = x * 3 / width;
    if (band == 0) { // a neutral ramp
        const int v = static_cast<int>(std::lround(20 + 215 * t));
        return qRgb(v, v, v);
    }
    const double hue = band == 1 ? 0.08 : 0.58; // earth browns and sky blues
    return QColor::fromHsvF(hue, 0.65 - 0.4 * t, 0.15 + 0.8 * t).rgb();
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-test-image <out.jpg>\n");
        return 2;
    }
    const int width = 480, height = 360, wheelWidth = 360;
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y,
                           x < wheelWidth ? wheel(x - wheelWidth / 2.0, y - height / 2.0, 170)
                                          : strips(x - wheelWidth, y, width - wheelWidth, height));
    if (!image.save(argv[1], "JPG", 92)) {
        std::fprintf(stderr, "make-test-image: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}

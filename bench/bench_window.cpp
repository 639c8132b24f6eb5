// Speed of the main window's entry paths with the window hidden, and of the
// windows' long runs (palette loading, picture palette, tables, imports).
#include "bench_support.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/main_window.h"
#include "photo/calibration.h"
#include "picture/picture_surface.h"
#include "picture/picture_window.h"
#include "test_doubles/scripted_platform.h"
#include "viewer/palette_viewer.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>

namespace {

using namespace huelinx;

using Window = BenchWindow;

Window& window() {
    return benchWindow();
}

void munsellEnter(benchmark::State& state) {
    Window& w = window();
    MainWindowControls& f = w.ui();
    const char* hues[4] = {"5R", "2.5YR", "7.5GY", "10PB"};
    int i = 0;
    for (auto _ : state) {
        f.munsellBoxes[0]->setText(hues[i++ % 4]);
        f.munsellBoxes[1]->setText("5");
        f.munsellBoxes[2]->setText("8");
        w.convertMunsellEntry();
    }
}

void xyzEnter(benchmark::State& state) {
    Window& w = window();
    MainWindowControls& f = w.ui();
    const char* xs[4] = {"20.5", "35.1", "12.9", "60.2"};
    int i = 0;
    for (auto _ : state) {
        f.xyzBoxes[0]->setText(xs[i++ % 4]);
        f.xyzBoxes[1]->setText("25.3");
        f.xyzBoxes[2]->setText("30.7");
        w.convertXyzEntry();
    }
}

// The palette and table writers, in a scratch working directory.
struct ScratchDir {
    QTemporaryDir dir;
    QString previous = QDir::currentPath();
    ScratchDir() { QDir::setCurrent(dir.path()); }
    ~ScratchDir() { QDir::setCurrent(previous); }
};

void makeTable(benchmark::State& state) {
    ScratchDir scratch;
    Window& w = window();
    for (auto _ : state) {
        w.onMakeTable();
        w.platform.clear();
    }
}

void importMunsellRows(benchmark::State& state) {
    ScratchDir scratch;
    Window& w = window();
    QFile input("rows.csv");
    input.open(QIODevice::WriteOnly);
    input.write("H,V,C\r\n");
    const char* families[10] = {"R", "YR", "Y", "GY", "G", "BG", "B", "PB", "P", "RP"};
    for (int i = 0; i < 10000; ++i)
        input.write(QString("%1%2,%3,%4\r\n")
                        .arg(2.5 * (1 + i % 4))
                        .arg(families[i % 10])
                        .arg(1 + i % 9)
                        .arg(i % 12)
                        .toLatin1());
    input.close();
    for (auto _ : state) {
        w.platform.queueInput("0");
        w.platform.queueFile("rows.csv");
        w.onImport();
        w.platform.clear();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}

void paletteAppends(benchmark::State& state) {
    ScratchDir scratch;
    Window& w = window();
    w.program.session().palette().setFile("bench.csv");
    w.program.session().palette().setTag("bench");
    for (auto _ : state) {
        for (int i = 0; i < 10000; ++i)
            w.saveColourToPalette(TagPrompt::UseCurrentTag);
        state.PauseTiming();
        QFile::remove("bench.csv");
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}

void picturePalette(benchmark::State& state) {
    ScratchDir scratch;
    Window& w = window();
    w.ui().pictureCheck->setChecked(true);
    PictureWindow* pictures = w.program.companions().picture();
    QImage image(1000, 1000, QImage::Format_RGB32);
    for (int y = 0; y < 1000; ++y)
        for (int x = 0; x < 1000; ++x)
            image.setPixel(x, y, qRgb(30 + x / 5, 40 + y / 6, 90));
    for (auto _ : state) {
        state.PauseTiming();
        pictures->picture->setPicture(image);
        pictures->paletteMade = false;
        w.platform.queueInput("bench");
        w.platform.queueInput("10");
        w.platform.queueAnswer(Answer::Yes);
        state.ResumeTiming();
        pictures->makePicturePalette();
        w.platform.clear();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}

// A 24-megapixel photograph with the chart in its top-left corner (patches of
// 400 pixels on a 500-pixel pitch) and a sample: the chart calibrated from
// its corners, then one calibrated reading of an 81-pixel block in the window.
void pictureChartCalibration(benchmark::State& state) {
    Window& w = window();
    w.ui().pictureCheck->setChecked(true);
    PictureWindow* pictures = w.program.companions().picture();
    QImage image(6000, 4000, QImage::Format_RGB32);
    image.fill(qRgb(90, 88, 85));
    // The chart's own colours through a camera whose linear R, G, B are
    // positive mixtures of X, Y, Z, encoded as sRGB.
    const auto known = photo::chartReference(HUELINX_DATA_DIR "/photo/chart-reflectance.csv");
    if (!known.value) {
        state.SkipWithError(known.message.c_str());
        return;
    }
    const auto encoded = [](double v) {
        v = std::clamp(v, 0.0, 1.0);
        return static_cast<int>(
            255 * (v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055) + 0.5);
    };
    QPainter painter(&image);
    for (int i = 0; i < 24; ++i) {
        const Tristimulus& t = (*known.value)[i];
        const double X = t.X / 125, Y = t.Y / 125, Z = t.Z / 125;
        const QColor colour(encoded(0.70 * X + 0.15 * Y), encoded(0.15 * X + 0.62 * Y + 0.05 * Z),
                            encoded(0.04 * Y + 0.66 * Z));
        painter.fillRect(500 * (i % 6), 500 * (i / 6), 400, 400, colour);
    }
    painter.end();
    for (auto _ : state) {
        state.PauseTiming();
        pictures->picture->setPicture(image);
        state.ResumeTiming();
        pictures->calibrateChartAction->trigger();
        for (const QPoint& corner :
             {QPoint(200, 200), QPoint(2700, 200), QPoint(2700, 1700), QPoint(200, 1700)})
            pictures->onPictureClicked(corner.x(), corner.y());
        benchmark::DoNotOptimize(pictures->chart.fit());
    }
    if (!pictures->chart.fit()) state.SkipWithError("the chart was not fitted");
    w.platform.clear();
}

void pictureCalibratedReading(benchmark::State& state) {
    Window& w = window();
    PictureWindow* pictures = w.program.companions().picture();
    if (!pictures || !pictures->chart.fit()) {
        state.SkipWithError("run after pictureChartCalibration");
        return;
    }
    // The block's flash passes at once on the scripted clock.
    w.platform.setAdvancePerRead(0.25);
    int i = 0;
    for (auto _ : state)
        pictures->onPictureClicked(4000 + (i++ % 100), 3000);
    w.platform.setAdvancePerRead(0);
}

// A palette of 10,000 rows spread through the solid.
void writeBigPalette(const QString& name) {
    QFile file(name);
    file.open(QIODevice::WriteOnly);
    const char* families[10] = {"R", "YR", "Y", "GY", "G", "BG", "B", "PB", "P", "RP"};
    for (int i = 0; i < 10000; ++i)
        file.write(QString("\"12-17-2022\",\"10:30:00\",\"t%1\",\"%2%3\",\"%4\",\"%5\",\"1\",\r\n")
                       .arg(i)
                       .arg(2.5 * (1 + i % 4))
                       .arg(families[i % 10])
                       .arg(2 + i % 7)
                       .arg(i % 9)
                       .toLatin1());
}

PaletteViewer& viewer() {
    Window& w = window();
    if (!w.program.companions().viewer()) {
        w.ui().viewerCheck->setChecked(true);
        w.program.companions().viewer()->onStop();
        w.program.companions().viewer()->redrawTimer->stop();
    }
    return *w.program.companions().viewer();
}

void viewerLoad(benchmark::State& state) {
    ScratchDir scratch;
    writeBigPalette("big.csv");
    Window& w = window();
    PaletteViewer& v = viewer();
    w.program.session().palette().setFile("big.csv");
    for (auto _ : state) {
        v.loadPalette(PaletteSource::CurrentFile);
        w.platform.clear();
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}

// The drawing is made in the device's pixels: run with QT_SCALE_FACTOR=2 for
// twice the scale.
void viewerDraw(benchmark::State& state) {
    ScratchDir scratch;
    writeBigPalette("big.csv");
    Window& w = window();
    PaletteViewer& v = viewer();
    w.program.session().palette().setFile("big.csv");
    v.loadPalette(PaletteSource::CurrentFile);
    w.platform.clear();
    for (auto _ : state)
        v.drawPalette();
    state.counters["dots"] = v.pointCount();
}

BENCHMARK(viewerLoad)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(viewerDraw)->Unit(benchmark::kMillisecond);
BENCHMARK(picturePalette)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(pictureChartCalibration)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(pictureCalibratedReading)->Unit(benchmark::kMillisecond);
BENCHMARK(makeTable)->Unit(benchmark::kMillisecond);
BENCHMARK(importMunsellRows)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(paletteAppends)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(munsellEnter)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(xyzEnter)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    return huelinx::runBenchmarks(argc, argv);
}

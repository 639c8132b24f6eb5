// Speed of a Munsell Enter in the main window while the hue page, the value
// page and the tolerance set are open (each Enter redraws all three), and of
// each chart's drawing alone. The frame budget for the Enter is 16 ms. The
// MacAdam limit lines are searched once per hue or value and kept: the page
// benchmarks redraw a page whose line is kept, the limit-line ones search a
// line afresh (what the first showing of a hue or value costs).
#include "bench_support.h"
#include "charts/chart_common.h"
#include "charts/colorchecker_chart.h"
#include "charts/hue_page.h"
#include "charts/limit_line.h"
#include "charts/tolerance_set.h"
#include "charts/value_page.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/main_window.h"
#include "test_doubles/scripted_platform.h"

#include <QApplication>
#include <QCheckBox>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <iostream>

namespace {

using namespace huelinx;

// The main window shown with its four chart windows open.
BenchWindow& window() {
    static BenchWindow* w = [] {
        BenchWindow* started = &benchWindow();
        started->form.show();
        MainWindowControls& ui = started->ui();
        for (QCheckBox* box :
             {ui.huePageCheck, ui.toleranceSetCheck, ui.valuePageCheck, ui.colorCheckerCheck})
            box->setChecked(true);
        QApplication::processEvents();
        return started;
    }();
    return *w;
}

// Typing a notation and pressing Enter, then letting every window repaint:
// what the user waits for before the next frame.
void munsellEnterWithChartsOpen(benchmark::State& state) {
    MainWindowControls& f = window().ui();
    const char* hues[4] = {"5R", "2.5YR", "7.5GY", "10PB"};
    const char* values[4] = {"5", "6.5", "3", "8"};
    int i = 0;
    for (auto _ : state) {
        f.munsellBoxes[0]->setText(hues[i % 4]);
        f.munsellBoxes[1]->setText(values[i++ % 4]);
        f.munsellBoxes[2]->setText("8");
        QTest::keyClick(f.munsellBoxes[2], Qt::Key_Return);
        QApplication::processEvents();
    }
}

void showHuePage(benchmark::State& state) {
    HuePage* page = window().form.findChild<HuePage*>();
    for (auto _ : state)
        page->showHuePage();
}

void showValuePage(benchmark::State& state) {
    ValuePage* page = window().form.findChild<ValuePage*>();
    for (auto _ : state) {
        float value = 5;
        page->showValuePage(value);
    }
}

// The program's check, as the pages are given it.
const LimitExcess& limitCheck() {
    static const LimitExcess check = macAdamCheckOfC(window().program.session().resources());
    return check;
}

void hueLimitLineAfresh(benchmark::State& state) {
    const MunTable& table = window().program.session().table();
    double hue = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(hueLimitLine(hue, table, limitCheck()));
        hue = std::fmod(hue + 7.3, 100.0);
    }
}

void valueLimitLineAfresh(benchmark::State& state) {
    const MunTable& table = window().program.session().table();
    double value = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(valueLimitLine(value, table, limitCheck()));
        value = value >= 9 ? 1 : value + 0.37;
    }
}

// The value page drawn at a value not shown before, as when the value slider
// is dragged: each redraw searches its curve.
void valuePageAtNewValues(benchmark::State& state) {
    ValuePage* page = window().form.findChild<ValuePage*>();
    int step = 0;
    for (auto _ : state) {
        float value = 1.0f + static_cast<float>(step++ % 8000) * 0.001f;
        page->showValuePage(value);
    }
}

void buildAround(benchmark::State& state) {
    ToleranceSet* set = window().form.findChild<ToleranceSet*>();
    for (auto _ : state)
        set->buildAround(52.5f, 20.0f, -12.0f);
}

void drawChart(benchmark::State& state) {
    ColorCheckerChart* chart = window().form.findChild<ColorCheckerChart*>();
    for (auto _ : state)
        chart->drawChart();
}

BENCHMARK(munsellEnterWithChartsOpen)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(showHuePage)->Unit(benchmark::kMicrosecond);
BENCHMARK(showValuePage)->Unit(benchmark::kMicrosecond);
BENCHMARK(hueLimitLineAfresh)->Unit(benchmark::kMillisecond);
BENCHMARK(valueLimitLineAfresh)->Unit(benchmark::kMillisecond);
BENCHMARK(valuePageAtNewValues)->Unit(benchmark::kMillisecond);
BENCHMARK(buildAround)->Unit(benchmark::kMicrosecond);
BENCHMARK(drawChart)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return huelinx::runBenchmarks(argc, argv);
}

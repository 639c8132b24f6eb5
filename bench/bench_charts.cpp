// Speed of a Munsell Enter in the main window while the hue page, the value
// page and the tolerance set are open (each Enter redraws all three), and of
// each chart's drawing alone. The frame budget for the Enter is 16 ms.
#include "bench_support.h"
#include "charts/colorchecker_chart.h"
#include "charts/hue_page.h"
#include "charts/tolerance_set.h"
#include "charts/value_page.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/main_window.h"
#include "test_doubles/scripted_platform.h"

#include <QApplication>
#include <QCheckBox>
#include <QTest>

#include <benchmark/benchmark.h>

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
BENCHMARK(buildAround)->Unit(benchmark::kMicrosecond);
BENCHMARK(drawChart)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return huelinx::runBenchmarks(argc, argv);
}

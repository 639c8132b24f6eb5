// What the window benchmarks share: one started main window on the scripted
// platform, and a main that runs the benchmarks in an offscreen application.
#pragma once

#include "app/application.h"
#include "app/companions.h"
#include "mainwindow/main_window.h"
#include "test_doubles/scripted_platform.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <iostream>

namespace huelinx {

struct BenchWindow {
    ScriptedPlatform platform;
    Application program{platform, {HUELINX_DATA_DIR}};
    MainWindow& form = program.mainWindow();
    BenchWindow() {
        if (!program.start()) {
            std::cerr << "the Munsell table did not load\n";
            std::exit(1);
        }
    }
    // The window's controls and handlers, which it keeps to itself (this
    // harness is its friend).
    MainWindowControls& ui() { return form; }
    void convertMunsellEntry() { form.convertMunsellEntry(); }
    void convertXyzEntry() { form.convertXyzEntry(); }
    void onMakeTable() { form.onMakeTable(); }
    void onImport() { form.onImport(); }
    bool saveColourToPalette(TagPrompt prompt) { return form.saveColourToPalette(prompt); }
};

// Made once and kept to the end: it must not outlive the application object.
inline BenchWindow& benchWindow() {
    static BenchWindow* w = new BenchWindow;
    return *w;
}

inline int runBenchmarks(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QApplication::setStyle("Fusion");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace huelinx

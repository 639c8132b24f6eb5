// A started main window in its own scratch working directory, on a scripted
// platform that fails the test on any question it was not told to expect.
#pragma once

#include "app/application.h"
#include "app/companions.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/main_window.h"
#include "test_doubles/scripted_platform.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// Lets test failures print texts as texts.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace huelinx::testing {

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Writes the settings file before start-up (call before start()).
    void writeSettings(const QByteArray& contents);
    // Makes the program (the data folder read at start only `withData`),
    // not started yet; `form` is its main window.
    void make(bool withData = true);
    // Makes the program and starts the window; false when start-up failed.
    bool start(bool withData = true);
    // Ends the program made.
    void end();
    // Puts text into a box and presses Enter there.
    static void enter(QLineEdit* box, const QString& text);
    // Types a notation into the Munsell boxes and presses Enter in the chroma box.
    void typeMunsell(const QString& hue, const QString& value, const QString& chroma);
    static QString text(const QLineEdit* box);
    // Texts of the message boxes shown since the last clear().
    std::vector<QString> messages() const;
    QString readFile(const QString& name) const;

    Session& session() const { return app->session(); }
    Companions& companions() { return app->companions(); }
    // The palette document's file and tag, as texts.
    QString paletteFile() { return QString::fromStdString(session().palette().file()); }
    void setPaletteFile(const QString& name) { session().palette().setFile(name.toStdString()); }
    QString paletteTag() { return QString::fromStdString(session().palette().tag()); }
    void setPaletteTag(const QString& tag) { session().palette().setTag(tag.toStdString()); }

    // The main window's controls and state, which the window keeps to itself
    // (this fixture is its friend): `form`'s, or another window's.
    MainWindowControls& ui() const { return *form; }
    static MainWindowControls& ui(MainWindow& window) { return window; }
    // The window's own handlers, run as its buttons and lists run them.
    void onMeasure() { form->onMeasure(); }
    void onCalibrate() { form->onCalibrate(); }
    void onInstrumentChosen() { form->onInstrumentChosen(); }
    void onSaveToPalette() { form->onSaveToPalette(); }
    bool saveColourToPalette(TagPrompt prompt) { return form->saveColourToPalette(prompt); }
    static void convertXyzEntry(MainWindow& window) { window.convertXyzEntry(); }

    ScriptedPlatform platform;
    std::unique_ptr<Application> app;
    MainWindow* form = nullptr;

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString previousDir_;
};

} // namespace huelinx::testing

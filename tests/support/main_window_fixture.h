// A started main window in its own scratch working directory, on a scripted
// platform that fails the test on any question it was not told to expect.
#pragma once

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
    // Creates and starts the window; false when start-up failed.
    bool start(bool withData = true);
    // Puts text into a box and presses Enter there.
    static void enter(QLineEdit* box, const QString& text);
    static QString text(const QLineEdit* box);
    // Texts of the message boxes shown since the last clear().
    std::vector<QString> messages() const;
    QString readFile(const QString& name) const;

    ScriptedPlatform platform;
    std::unique_ptr<Program> program;
    std::unique_ptr<MainWindow> form;

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString previousDir_;
};

} // namespace huelinx::testing

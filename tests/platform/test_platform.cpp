#include "platform/qt_platform.h"
#include "platform/qt_serial_port.h"
#include "test_doubles/scripted_platform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QTimer>

#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace huelinx {
namespace {

TEST(QtFileFilter, TurnsDescriptionPatternPairsIntoQtFilters) {
    EXPECT_EQ(qtFileFilter("*.csv|*.csv"), "*.csv (*.csv)");
    EXPECT_EQ(qtFileFilter("Text files|*.txt|All|*.*"), "Text files (*.txt);;All (*.*)");
    EXPECT_EQ(qtFileFilter(" Data | *.dat ; *.csv |All|*.*"), "Data (*.dat *.csv);;All (*.*)");
}

TEST(QtFileFilter, CopesWithIncompleteFilters) {
    EXPECT_EQ(qtFileFilter(""), "");
    EXPECT_EQ(qtFileFilter("*.txt"), "*.txt (*.txt)");
    EXPECT_EQ(qtFileFilter("Text|*.txt|"), "Text (*.txt)");
    EXPECT_EQ(qtFileFilter("Everything|"), "Everything (*)");
}

TEST(DisplayLineEnds, EachKindOfLineEndBreaksTheLineOnce) {
    EXPECT_EQ(displayLineEnds("a\r\nb\rc\nd"), "a\nb\nc\nd");
    EXPECT_EQ(displayLineEnds("x\r\n\r\ny"), "x\n\ny");
    EXPECT_EQ(displayLineEnds("\n\r"), "\n\n"); // LF then CR is two line ends
}

TEST(PrintedImageRect, FillsTheAreaInsideTheMarginsKeepingProportions) {
    const QRect page(0, 0, 1000, 1400);
    EXPECT_EQ(printedImageRect(QSize(400, 200), page, 50), QRect(50, 50, 900, 450));
    EXPECT_EQ(printedImageRect(QSize(100, 400), page, 50), QRect(50, 50, 325, 1300));
    // Margins that leave no room give way to the whole page.
    EXPECT_EQ(printedImageRect(QSize(10, 10), QRect(0, 0, 80, 80), 50), QRect(0, 0, 80, 80));
}

struct Scripted : testing::Test {
    ScriptedPlatform platform;
    std::vector<QString> unexpected;
    void SetUp() override {
        platform.setUnexpectedHandler([this](const QString& what) { unexpected.push_back(what); });
    }
};

TEST_F(Scripted, AnswersQuestionsInQueueOrderWhileOkBoxesTakeNone) {
    for (Answer a : {Answer::No, Answer::Cancel, Answer::Ok})
        platform.queueAnswer(a);
    EXPECT_EQ(platform.message("Saved"), Answer::Ok);
    EXPECT_EQ(platform.message("Overwrite?", Buttons::YesNo, Icon::Question, "Save"), Answer::No);
    EXPECT_EQ(platform.message("Keep?", Buttons::YesNoCancel), Answer::Cancel);
    EXPECT_EQ(platform.message("Print?", Buttons::OkCancel), Answer::Ok);
    EXPECT_EQ(platform.pendingAnswers(), 0u);
    EXPECT_TRUE(unexpected.empty());
    ASSERT_EQ(platform.shown().size(), 4u); // every box is recorded, answered or not
}

TEST_F(Scripted, UnansweredQuestionsTakeTheFirstButtonAndAreReported) {
    EXPECT_EQ(platform.message("Printer not Found", Buttons::Ok, Icon::Exclamation), Answer::Ok);
    EXPECT_TRUE(unexpected.empty()); // an Ok box asks nothing
    EXPECT_EQ(platform.message("Replace?", Buttons::YesNo), Answer::Yes);
    EXPECT_EQ(platform.message("Go on?", Buttons::OkCancel), Answer::Ok);
    platform.queueAnswer(Answer::Yes); // no Yes button on an Ok/Cancel box
    EXPECT_EQ(platform.message("Print?", Buttons::OkCancel), Answer::Ok);
    EXPECT_TRUE(platform.inputBox("Name").isEmpty());
    EXPECT_TRUE(platform.openFileName("*.csv|*.csv").isEmpty());
    ASSERT_EQ(unexpected.size(), 5u);
    EXPECT_EQ(unexpected[0], "message box: Replace?");
    EXPECT_TRUE(unexpected[2].contains("Yes") && unexpected[2].contains("Print?"));
    EXPECT_EQ(unexpected[3], "input box: Name");
    EXPECT_EQ(unexpected[4], "file dialog: *.csv|*.csv");

    ScriptedPlatform withoutHandler; // the converter's case: answered quietly
    EXPECT_EQ(withoutHandler.message("Replace?", Buttons::YesNoCancel), Answer::Yes);
}

TEST_F(Scripted, EmptyQueuedInputsAndFileNamesCancel) {
    platform.queueInput("12.5");
    platform.queueInput("");
    platform.queueFile("/data/a.csv");
    platform.queueFile(QString());
    EXPECT_EQ(platform.inputBox("Value", "Munsell", "5.0"), "12.5");
    EXPECT_TRUE(platform.inputBox("Value").isEmpty());
    EXPECT_EQ(platform.openFileName("*.csv|*.csv"), "/data/a.csv");
    EXPECT_TRUE(platform.openFileName("*.csv|*.csv").isEmpty());
    EXPECT_TRUE(unexpected.empty());
}

TEST_F(Scripted, ClockMovesOnAfterEachReadingAndWrapsAtMidnight) {
    platform.setSecondsSinceMidnight(86399.5);
    platform.setAdvancePerRead(0.25);
    for (double expected : {86399.5, 86399.75, 0.0, 0.25})
        EXPECT_DOUBLE_EQ(platform.secondsSinceMidnight(), expected);
    platform.setAdvancePerRead(0.0);
    platform.advance(-1.0);
    EXPECT_DOUBLE_EQ(platform.secondsSinceMidnight(), 86399.5);
    EXPECT_DOUBLE_EQ(platform.secondsSinceMidnight(), 86399.5);
}

// Runs `act` on the modal dialog as soon as it is up, from the dialog's own
// event loop.
void whenModalShown(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start(5);
}

TEST(QtSerialPort, PortNumbersCountTheDevicesAndAMissingPortListsThoseThatExist) {
#ifdef Q_OS_WIN
    GTEST_SKIP() << "port n is COMn on Windows";
#else
    QStringList devices{"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyUSB0"};
    QtSerialPort port([&] { return devices; });
    EXPECT_EQ(port.deviceOf({3, {}}), "/dev/ttyUSB0");
    EXPECT_EQ(port.deviceOf({4, {}}), "");
    EXPECT_EQ(port.deviceOf({0, {}}), "");
    QString error;
    port.setPort({5, {}});
    EXPECT_FALSE(port.open(error));
    EXPECT_EQ(error, "port 5 does not exist; the serial ports are 1 = /dev/ttyACM0, "
                     "2 = /dev/ttyS0, 3 = /dev/ttyUSB0");
    devices.clear();
    EXPECT_FALSE(port.open(error));
    EXPECT_EQ(error, "port 5 does not exist; there are no serial ports");
    // A device by path, or by a name in /dev, when it is there.
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    EXPECT_EQ(port.deviceOf({1, file.fileName()}), file.fileName());
    EXPECT_EQ(port.deviceOf({1, "null"}), "/dev/null");
    EXPECT_EQ(port.deviceOf({1, "huelinx-no-such-device"}), "");
    port.setPort({1, "COM3"});
    EXPECT_FALSE(port.open(error));
    EXPECT_EQ(error, "port COM3 does not exist; there are no serial ports");
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.deviceGone());
#endif
}

TEST(QtSerialPort, DevicesAreNumberedByFamilyThenByTheirNumber) {
    // Families keep their text order; within one, ttyS2 is port 3 and ttyS10 after it.
    const QStringList found{"/dev/ttyUSB10", "/dev/ttyS10",  "/dev/ttyS2",   "/dev/ttyUSB1",
                            "/dev/ttyS0",    "/dev/ttyACM0", "/dev/ttyS100", "/dev/ttyUSB9",
                            "/dev/rfcomm",   "/dev/ttyS1"};
    EXPECT_EQ(QtSerialPort::inPortOrder(found),
              (QStringList{"/dev/rfcomm", "/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2",
                           "/dev/ttyS10", "/dev/ttyS100", "/dev/ttyUSB1", "/dev/ttyUSB9",
                           "/dev/ttyUSB10"}));
    // Numbers longer than any integer, and leading zeros, still compare by value.
    EXPECT_EQ(
        QtSerialPort::inPortOrder(
            {"COM100000000000000000001", "COM99999999999999999999", "COM007", "COM8"}),
        (QStringList{"COM007", "COM8", "COM99999999999999999999", "COM100000000000000000001"}));
    EXPECT_EQ(QtSerialPort::inPortOrder({}), QStringList{});
}

TEST(QtPlatform, PauseWaitsWithoutSpinning) {
    QtPlatform platform;
    QElapsedTimer waited;
    waited.start();
    const std::clock_t cpuBefore = std::clock();
    platform.pause(0.2);
    EXPECT_GE(waited.elapsed(), 195);
    EXPECT_LT(waited.elapsed(), 1000);
    EXPECT_LT(double(std::clock() - cpuBefore) / CLOCKS_PER_SEC, 0.1);
}

TEST(QtPlatform, MessageBoxShowsPlainLinesUnderTheProgramNameAndMapsButtons) {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    whenModalShown([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(QtPlatform().message("one\r\ntwo\rthree", Buttons::YesNoCancel, Icon::Exclamation),
              Answer::No);
    EXPECT_EQ(title, "Huelinx");
    EXPECT_EQ(text, "one\ntwo\nthree");
    EXPECT_EQ(icon, QMessageBox::Warning);

    whenModalShown([&](QWidget* modal) {
        title = modal->windowTitle();
        modal->close();
    });
    EXPECT_EQ(QtPlatform().message("Print?", Buttons::OkCancel, Icon::None, "Colour"),
              Answer::Cancel);
    EXPECT_EQ(title, "Colour");
}

TEST(QtPlatform, InputBoxGivesTheTypedTextOrNothingWhenCancelled) {
    QString label, shownDefault;
    whenModalShown([&](QWidget* modal) {
        auto* dialog = qobject_cast<QInputDialog*>(modal);
        label = dialog->labelText();
        shownDefault = dialog->textValue();
        dialog->setTextValue("42");
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_EQ(QtPlatform().inputBox("Chroma", "Munsell", "10"), "42");
    EXPECT_EQ(label, "Chroma");
    EXPECT_EQ(shownDefault, "10");

    whenModalShown([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    EXPECT_TRUE(QtPlatform().inputBox("Chroma", "", "10").isNull());
}

TEST(QtPlatform, FileDialogStartsInTheWorkingDirectoryWithConvertedFilters) {
    const QString workingDirectory = QDir::currentPath();
    QString startDirectory;
    QStringList filters;
    whenModalShown([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        startDirectory = dialog->directory().absolutePath();
        filters = dialog->nameFilters();
        dialog->reject();
    });
    EXPECT_TRUE(QtPlatform().openFileName("Text files|*.txt|All|*.*").isEmpty());
    EXPECT_EQ(startDirectory, workingDirectory);
    EXPECT_EQ(filters, QStringList({"Text files (*.txt)", "All (*.*)"}));
    EXPECT_EQ(QDir::currentPath(), workingDirectory);
}

TEST(QtPlatform, SaveDialogNamesTheFileInTheTypeChosen) {
    const QString workingDirectory = QDir::currentPath();
    const QString filter = "GIMP palette (*.gpl)|*.gpl|Adobe Swatch Exchange (*.ase)|*.ase";
    QString title, shownName;
    whenModalShown([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        title = dialog->windowTitle();
        shownName = QFileInfo(dialog->selectedFiles().value(0)).fileName();
        // Another type renames the file to its extension.
        dialog->selectNameFilter("Adobe Swatch Exchange (*.ase)");
        emit dialog->filterSelected("Adobe Swatch Exchange (*.ase)");
        static_cast<QDialog*>(dialog)->accept();
    });
    const QString chosen = QtPlatform().saveFileName(filter, "field.gpl", "Export Palette");
    EXPECT_EQ(title, "Export Palette");
    EXPECT_EQ(shownName, "field.gpl");
    EXPECT_EQ(QFileInfo(chosen).fileName(), "field.ase");
    // A name typed without an extension takes the type's; Cancel gives nothing.
    whenModalShown([](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        dialog->selectFile("plain");
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_EQ(QFileInfo(QtPlatform().saveFileName(filter, "field.gpl", "")).fileName(),
              "plain.gpl");
    whenModalShown([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    EXPECT_TRUE(QtPlatform().saveFileName(filter, "field.gpl", "").isEmpty());
    EXPECT_EQ(QDir::currentPath(), workingDirectory);
}

TEST(QtPlatform, PrintingWithoutAPrinterFailsQuietly) {
    QWidget window;
    window.resize(200, 100);
    EXPECT_FALSE(QtPlatform().printWindow(nullptr));
    if (!QPrinterInfo::availablePrinters().isEmpty()) GTEST_SKIP() << "this machine has a printer";
    EXPECT_FALSE(QtPlatform().printWindow(&window));
}

TEST(QtPlatform, DateAndTimeTextsAreMonthFirstAnd24Hour) {
    QtPlatform platform;
    EXPECT_TRUE(QRegularExpression("^(0[1-9]|1[0-2])-(0[1-9]|[12][0-9]|3[01])-[0-9]{4}$")
                    .match(platform.dateText())
                    .hasMatch())
        << platform.dateText().toStdString();
    EXPECT_TRUE(QRegularExpression("^([01][0-9]|2[0-3]):[0-5][0-9]:[0-5][0-9]$")
                    .match(platform.timeText())
                    .hasMatch())
        << platform.timeText().toStdString();
    const double seconds = platform.secondsSinceMidnight();
    EXPECT_GE(seconds, 0.0);
    EXPECT_LT(seconds, 86400.0);
}

// A window that refuses to close, as one asking "save changes?" would.
struct StubbornWindow : QWidget {
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

TEST(QtPlatform, EndProgramEndsEvenWhenAWindowRefusesToClose) {
    QWidget window;
    StubbornWindow stubborn;
    window.show();
    stubborn.show();
    QtPlatform().endProgram();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(stubborn.isVisible());

    QTimer failSafe; // ends the loop with 1 should the program not end
    failSafe.setSingleShot(true);
    QObject::connect(&failSafe, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    failSafe.start(2000);
    EXPECT_EQ(QApplication::exec(), 0);
}

} // namespace
} // namespace huelinx

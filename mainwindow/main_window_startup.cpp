// Start-up and end of the program, the settings file and instrument list, and
// the window's extras: About, Help, PRINT and the white balance.
#include "colour/data_files.h"
#include "colour/muntable.h"
#include "instrument_data/settings_file.h"
#include "mainwindow/main_window.h"
#include "platform/serial_port.h"
#include "platform/standard_colours.h"
#include "text/number_read.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

namespace huelinx {

namespace {

const char* const instrumentNames[] = {"Import", "CE7000",  "CE7000A",     "CE2180",
                                       "XTH",    "Ci5/Ci7", "Spectrolino", "SpectroEye"};

const char* const aboutText =
    "The Huelinx Program is a software utility with no direct support \r"
    "from Xrite, Munsell or GretagMacbeth.\r"
    "CE7000, CE7000A, CE2180, Ci5, Ci7, Spectrolino & SpectroEye Spectrophotometer drivers are "
    "included in this version.\r\r\n";

const char* const helpText = "Enter Hue, Value and Chroma and press 'Enter'\r"
                             "Neutrals - Enter value and set Chroma to zero - ignore Hue\r"
                             "Hue Names - R YR Y GY G BG B PB P RP \r"
                             "                      or\r"
                             "Enter X,Y and Z and press 'Enter'\r"
                             "                      or\r"
                             "Enter L*,a* and b* and press 'Enter'\r"
                             "                  or\r"
                             "Enter R,G or B and press enter\r"
                             "\r"
                             "Checking PWD sets the Value scale to 10 for a Y value of 100\r"
                             "\r"
                             "'Save to Palette' saves a Palette file for opening with Excel or "
                             "viewing with Optional 3D Palette Viewer (option 2)";

int roundedComponent(double value) {
    return static_cast<int>(roundHalfEven(value));
}

} // namespace

bool MainWindow::start() {
    versionText_ = QString("%1.%2.%3").arg(versionMajor).arg(versionMinor).arg(versionRevision);
    setWindowTitle("Huelinx  -" + QString(" Version  ") + versionText_ + "   " + releaseDate);
    session_.caption = windowTitle().toStdString();
    readStoredSettings();
    for (QWidget* w : std::initializer_list<QWidget*>{huePageCheck, toleranceSetCheck,
                                                      valuePageCheck, colorCheckerCheck,
                                                      pictureCheck, viewerCheck, instrumentFrame})
        w->setVisible(true);
    instrumentList->setEditText(instrumentName_);
    for (QWidget* w : std::initializer_list<QWidget*>{
             illuminantButtons[0], illuminantButtons[1], illuminantButtons[2], illuminantFrame,
             makeTableButton, importButton, whiteBalanceSlider})
        w->setVisible(true);
    commPort = 1;
    commDevice.clear();
    const bool instrument = !instrumentName_.isEmpty();
    for (QWidget* w : std::initializer_list<QWidget*>{calibrateButton, measureButton, d65Marker,
                                                      aMarker, portBox, portDeviceLabel})
        w->setVisible(instrument);
    ColourModel opening = colour();
    opening.settings.channelScale = ColourSettings{}.channelScale;
    opening.settings.gammaInv = ColourSettings{}.gammaInv;
    opening.settings.cmyExponent = ColourSettings{}.cmyExponent;
    session_.keep(std::move(opening));

    const Result loaded = session_.resources().loadTable();
    if (!loaded.ok) {
        platform_.message(QString::fromStdString(loaded.message), Buttons::Ok, Icon::Critical,
                          "Huelinx");
        return false;
    }
    platform_.beep();

    // Filling the list must not replace the name typed into the box.
    const QString shown = instrumentList->currentText();
    for (const char* name : instrumentNames)
        instrumentList->addItem(name);
    instrumentList->setCurrentIndex(-1);
    instrumentList->setEditText(shown);
    d65Marker->setVisible(false);
    aMarker->setVisible(false);
    loadNamesAndChips();
    loadMacAdamLimits();
    illuminantButtons[0]->setChecked(true);
    onIlluminant(0);
    readStoredSettings();
    showStoredPort();
    showInstrumentMode();
    noteWorkingFolderFiles();
    return true;
}

void MainWindow::loadMacAdamLimits() {
    const Result loaded = session_.resources().loadSpectra();
    if (loaded.ok) return;
    addNote("The MacAdam limits are not shown: " + QString::fromStdString(loaded.message));
}

void MainWindow::addNote(const QString& note) {
    const QString above = messagesAbove();
    messagesBox->setPlainText((above.isEmpty() ? QString() : above + "\n") + note +
                              (limitsLine_.isEmpty() ? QString() : "\n" + limitsLine_));
}

// A data file of the working folder is used before the program's own (users
// keep their own tables there): Messages says so, after any note of the
// start-up before it.
void MainWindow::noteWorkingFolderFiles() {
    const std::string note = workingFolderNote(session_.resources().filesInUse());
    if (note.empty()) return;
    addNote(QString::fromStdString(note));
}

void MainWindow::readStoredSettings() {
    // A missing or short file leaves the name and port as they are.
    const StoredSettings stored = readSettingsFile();
    if (stored.instrumentName) instrumentName_ = QString::fromStdString(*stored.instrumentName);
    if (stored.commPort) {
        commPort = static_cast<std::int16_t>(*stored.commPort);
        commDevice.clear();
    } else if (stored.commDevice) {
        commDevice = QString::fromStdString(*stored.commDevice);
    }
}

void MainWindow::showStoredPort() {
    const QSignalBlocker quiet(portBox);
    portBox->setText(portChoice().text());
    showPortDevice();
}

void MainWindow::showPortDevice() {
    const QString device = platform_.serialPort().deviceOf(portChoice());
    portDeviceLabel->setText(device.isEmpty() ? "no such port" : device);
}

void MainWindow::saveSettings(const QString& instrument) {
    const Result saved =
        writeSettingsFile(instrument.toStdString(), commPort, commDevice.toStdString());
    if (saved.ok) {
        settingsWriteReported_ = false;
    } else if (!settingsWriteReported_) {
        settingsWriteReported_ = true;
        platform_.message(QString::fromStdString(saved.message), Buttons::Ok, Icon::Exclamation);
    }
}

void MainWindow::showInstrumentMode() {
    const bool import = instrumentList->currentText() == "Import";
    calibrateButton->setVisible(!import);
    measureButton->setText(import ? "Import %R" : "Measure");
    portLabel->setVisible(!import);
    portBox->setVisible(!import);
    portDeviceLabel->setVisible(!import);
}

void MainWindow::onInstrumentChosen() {
    saveSettings(instrumentList->currentText());
    showInstrumentMode();
}

void MainWindow::onPortTyped() {
    // Text that is no number names a device ("/dev/ttyUSB0", "ttyUSB0", "COM3").
    // An empty box gives port 1, like a port out of range.
    const QString typed = portBox->text().trimmed();
    const auto number = strictNumber(typed.toStdString());
    if (number || typed.isEmpty()) {
        const double port = number ? roundHalfEven(*number) : 1.0;
        commPort = static_cast<std::int16_t>(port < 1.0 || port > 4.0 ? 1.0 : port);
        commDevice.clear();
    } else {
        commDevice = typed;
    }
    saveSettings(instrumentName_);
    showPortDevice();
}

void MainWindow::onExit() {
    platform_.endProgram();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    platform_.endProgram();
}

void MainWindow::onAbout() {
    const std::string files = dataFilesText(session_.resources().filesInUse());
    platform_.message(aboutText + QString("Data files:\n") + QString::fromStdString(files),
                      Buttons::Ok, Icon::Information, "Huelinx Version " + versionText_);
}

void MainWindow::onHelp() {
    platform_.message(helpText, Buttons::Ok, Icon::None, "Munsell TZM Help");
}

void MainWindow::onPrint() {
    if (!platform_.printWindow(this)) platform_.message("Printer not Found");
}

void MainWindow::onWhiteBalance() {
    const int p = whiteBalanceSlider->value();
    session_.keep(moveWhiteBalance(colour(), p));
    const float k1 = colour().settings.channelScale[1];
    const float k2 = colour().settings.channelScale[2];
    const float k3 = colour().settings.channelScale[3];
    logo->setVisible(p == 100);
    const auto shade = [&](double level) {
        return QColor(roundedComponent(level * k1), roundedComponent(level * k2),
                      roundedComponent(level * k3));
    };
    setRoleColour(this, QPalette::Window, shade(200));
    setRoleColour(instrumentFrame, QPalette::Window, shade(200));
    for (QPushButton* b :
         {helpButton, exitButton, calibrateButton, measureButton, aboutButton, saveToPaletteButton})
        setRoleColour(b, QPalette::Button, shade(200));
    for (QLabel* label : boxLabels_)
        setRoleColour(label, QPalette::Window, shade(200));
    for (QWidget* box : entryBoxes())
        setRoleColour(box, QPalette::Base, shade(255));
    setRoleColour(portBox, QPalette::Base, shade(255));
    setRoleColour(messagesBox, QPalette::Base, shade(255));
}

} // namespace huelinx

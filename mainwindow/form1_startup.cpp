// Start-up and end of the program, the settings file and instrument list, and
// the window's extras: About, Help, PRINT and the white balance.
#include "colour/muntable.h"
#include "instruments/settings_file.h"
#include "mainwindow/form1.h"
#include "picture/form2.h"
#include "platform/standard_colours.h"
#include "text/number_read.h"
#include "viewer/form3.h"

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

namespace huelinx {

namespace {

const char* const instrumentList[] = {"Import", "CE7000",  "CE7000A",     "CE2180",
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

bool Form1::Form_Load() {
    program_.versionText =
        QString("%1.%2.%3").arg(versionMajor).arg(versionMinor).arg(versionRevision);
    setWindowTitle("Huelinx  -" + QString(" Version  ") + program_.versionText + "   " +
                   releaseDate);
    readStoredSettings();
    for (QWidget* w :
         std::initializer_list<QWidget*>{Check2, Check3, Check4, Check5, Check6, Check7, Frame1})
        w->setVisible(true);
    Combo1->setEditText(program_.instrumentName);
    for (QWidget* w : std::initializer_list<QWidget*>{Option1[0], Option1[1], Option1[2], Frame2,
                                                      Command3, importButton, VScroll7})
        w->setVisible(true);
    commPort = 1;
    const bool instrument = !program_.instrumentName.isEmpty();
    for (QWidget* w : std::initializer_list<QWidget*>{Command7, Command8, Label24, Label25, Text4})
        w->setVisible(instrument);
    colour_.settings.channelScale = ColourSettings{}.channelScale;
    colour_.settings.gammaInv = ColourSettings{}.gammaInv;
    colour_.settings.cmyExponent = ColourSettings{}.cmyExponent;

    const QString tablePath = program_.locateDataFile("Vadoro.dat");
    const LoadResult loaded = loadMunTableFile(tablePath.toStdString(), program_.table);
    if (!loaded.ok) {
        program_.platform.message(QString::fromStdString(loaded.message), Buttons::Ok,
                                  Icon::Critical, "Huelinx");
        return false;
    }
    program_.platform.beep();

    // Filling the list must not replace the name typed into the box.
    const QString shown = Combo1->currentText();
    for (const char* name : instrumentList)
        Combo1->addItem(name);
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(shown);
    Label24->setVisible(false);
    Label25->setVisible(false);
    Option1[0]->setChecked(true);
    Option1_Click(0);
    readStoredSettings();
    showInstrumentMode();
    return true;
}

void Form1::readStoredSettings() {
    // A missing or short file leaves the name and port as they are.
    const StoredSettings stored = readSettingsFile();
    if (stored.instrumentName)
        program_.instrumentName = QString::fromStdString(*stored.instrumentName);
    if (stored.commPort) commPort = static_cast<std::int16_t>(*stored.commPort);
}

void Form1::saveSettings(const QString& instrument) {
    std::string message;
    if (writeSettingsFile(instrument.toStdString(), commPort, message)) {
        settingsWriteReported_ = false;
    } else if (!settingsWriteReported_) {
        settingsWriteReported_ = true;
        program_.platform.message(QString::fromStdString(message), Buttons::Ok, Icon::Exclamation);
    }
}

void Form1::showInstrumentMode() {
    const bool import = Combo1->currentText() == "Import";
    Command7->setVisible(!import);
    Command8->setText(import ? "Import %R" : "Measure");
    Label3->setVisible(!import);
    Text4->setVisible(!import);
}

void Form1::Combo1_Click() {
    saveSettings(Combo1->currentText());
    showInstrumentMode();
}

void Form1::Text4_Change() {
    // An empty box or one that holds no number gives port 1, like a port out of range.
    const auto number = strictNumber(Text4->text().toStdString());
    const double port = number ? roundHalfEven(*number) : 1.0;
    commPort = static_cast<std::int16_t>(port < 1.0 || port > 4.0 ? 1.0 : port);
    saveSettings(program_.instrumentName);
}

void Form1::Command2_Click() {
    program_.platform.endProgram();
}

void Form1::Check6_Click() {
    if (!Check6->isChecked()) {
        if (form2_) form2_->hide();
        return;
    }
    if (!form2_) {
        form2_ = new Form2(*this, program_);
        form2_->Form_Load();
    }
    form2_->show();
    form2_->activateWindow();
}

Form2* Form1::pictureWindow() const {
    return form2_.data();
}

Form3* Form1::viewerWindow() const {
    return form3_.data();
}

// Creates the viewer on first use; its start-up loads the remembered palette.
static Form3* ensureViewer(QPointer<Form3>& viewer, Form1& form, Program& program) {
    if (!viewer) {
        viewer = new Form3(form, program);
        viewer->Form_Load();
    }
    return viewer;
}

void Form1::Check7_Click() {
    if (!Check7->isChecked()) {
        if (form3_) form3_->hide();
        return;
    }
    ensureViewer(form3_, *this, program_)->show();
}

void Form1::viewCurrentPalette() {
    Form3* viewer = ensureViewer(form3_, *this, program_);
    viewer->show();
    viewer->activateWindow();
    viewer->GetData(2);
}

void Form1::companionClosed(Companion which) {
    QCheckBox* boxes[] = {Check2, Check3, Check4, Check5, Check6, Check7};
    boxes[static_cast<int>(which)]->setChecked(false);
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    program_.platform.endProgram();
}

void Form1::Command9_Click() {
    program_.platform.message(aboutText, Buttons::Ok, Icon::Information,
                              "Huelinx Version " + program_.versionText);
}

void Form1::Command1_Click() {
    program_.platform.message(helpText, Buttons::Ok, Icon::None, "Munsell TZM Help");
}

void Form1::printB_Click() {
    if (!program_.platform.printWindow(this)) program_.platform.message("Printer not Found");
}

void Form1::VScroll7_Change() {
    const int p = VScroll7->value();
    colour_ = moveWhiteBalance(colour_, p);
    const float k1 = colour_.settings.channelScale[1];
    const float k2 = colour_.settings.channelScale[2];
    const float k3 = colour_.settings.channelScale[3];
    Picture2->setVisible(p == 100);
    const auto shade = [&](double level) {
        return QColor(roundedComponent(level * k1), roundedComponent(level * k2),
                      roundedComponent(level * k3));
    };
    setRoleColour(this, QPalette::Window, shade(200));
    setRoleColour(Frame1, QPalette::Window, shade(200));
    for (QPushButton* b : {Command1, Command2, Command7, Command8, Command9, Command11})
        setRoleColour(b, QPalette::Button, shade(200));
    for (QLabel* label : boxLabels_)
        setRoleColour(label, QPalette::Window, shade(200));
    for (QWidget* box : entryBoxes())
        setRoleColour(box, QPalette::Base, shade(255));
    setRoleColour(Text4, QPalette::Base, shade(255));
    setRoleColour(Text3, QPalette::Base, shade(255));
}

} // namespace huelinx

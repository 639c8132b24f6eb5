#include "main_window_fixture.h"

#include "colour/mun2xyz.h"
#include "mainwindow/swatch.h"
#include "text/number_format.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

namespace huelinx::testing {
namespace {

using Startup = MainWindowTest;

TEST_F(Startup, ShowsTheInitialNotationInEveryField) {
    ASSERT_TRUE(start());
    MainWindowControls& f = ui();
    EXPECT_EQ(form->windowTitle(), "Huelinx  - Version  12.23.1   Dec 17 2022");
    EXPECT_EQ(form->versionText(), "12.23.1");
    EXPECT_EQ(f.illuminantLabel->text(), "illuminant C  2° Observer ");
    EXPECT_EQ(text(f.munsellBoxes[0]) + " " + text(f.munsellBoxes[1]) + "/" +
                  text(f.munsellBoxes[2]),
              "6.4Y 8.6/10.4");
    const CieOfMunsell cie = mun2xyz(26.4f, 8.6f, 10.4f, session().table(), {});
    ASSERT_EQ(cie.status, MunsellToCie::Ok);
    EXPECT_EQ(text(f.xyzBoxes[0]).toStdString(), formatNumber(cie.X, "##0.00"));
    EXPECT_EQ(text(f.xyzBoxes[1]).toStdString(), formatNumber(cie.Y, "##0.00"));
    EXPECT_EQ(text(f.chromaticityBoxes[0]).toStdString(), formatNumber(cie.x, "0.0000"));
    EXPECT_EQ(text(f.xyzBoxes[0]) + " " + text(f.xyzBoxes[1]) + " " + text(f.xyzBoxes[2]) + " " +
                  text(f.chromaticityBoxes[0]) + " " + text(f.chromaticityBoxes[1]),
              "65.10 70.37 15.75 0.4305 0.4654");
    EXPECT_FALSE(text(f.labBoxes[0]).isEmpty());
    EXPECT_EQ(text(f.rgbBoxes[0]).toInt(), form->colour().red);
    EXPECT_EQ(f.swatch->backColor(),
              QColor(form->colour().red, form->colour().green, form->colour().blue));
    EXPECT_FALSE(text(f.cmykBoxes[3]).isEmpty());
    // The Munsell sliders follow the notation: hue 26.4 x 2, value 8.6 x 2, chroma 10.4.
    EXPECT_EQ(f.hueSlider->value(), 53);
    EXPECT_EQ(f.valueSlider->value(), 17);
    EXPECT_EQ(f.chromaSlider->value(), 10);
    QStringList items;
    for (int i = 0; i < f.instrumentList->count(); ++i)
        items << f.instrumentList->itemText(i);
    EXPECT_EQ(items.join(","), "Import,CE7000,CE7000A,CE2180,XTH,Ci5/Ci7,Spectrolino,SpectroEye");
    EXPECT_TRUE(f.d65Marker->isHidden());
    EXPECT_TRUE(f.aMarker->isHidden());
}

TEST_F(Startup, SoundsOneBeepOnceTheTableIsLoaded) {
    make(true);
    ASSERT_TRUE(form->start());
    ASSERT_EQ(platform.shown().size(), 1u);
    EXPECT_EQ(platform.shown()[0].kind, ScriptedPlatform::Shown::Beep);
}

TEST_F(Startup, MissingOrEmptySettingsFileGivesNoInstrument) {
    for (const bool emptyFile : {false, true}) {
        if (emptyFile) writeSettings("");
        ASSERT_TRUE(start());
        MainWindowControls& f = ui();
        EXPECT_EQ(form->instrumentName(), "");
        EXPECT_EQ(f.instrumentList->currentText(), "");
        EXPECT_EQ(f.commPort, 1);
        // Measure stays hidden; calibrate, port label and port box come back.
        EXPECT_TRUE(f.measureButton->isHidden());
        EXPECT_EQ(f.measureButton->text(), "Measure");
        EXPECT_FALSE(f.calibrateButton->isHidden());
        EXPECT_FALSE(f.portLabel->isHidden());
        EXPECT_FALSE(f.portBox->isHidden());
        EXPECT_EQ(text(f.portBox), "1");
    }
}

TEST_F(Startup, StoredInstrumentSetsTheMode) {
    writeSettings("Import\r\n 1 \r\n");
    ASSERT_TRUE(start());
    EXPECT_EQ(ui().instrumentList->currentText(), "Import");
    EXPECT_EQ(ui().measureButton->text(), "Import %R");
    EXPECT_FALSE(ui().measureButton->isHidden());
    EXPECT_TRUE(ui().calibrateButton->isHidden());
    EXPECT_TRUE(ui().portLabel->isHidden());
    EXPECT_TRUE(ui().portBox->isHidden());

    writeSettings("XTH\r\n 7 \r\n");
    ASSERT_TRUE(start());
    EXPECT_EQ(form->instrumentName(), "XTH");
    EXPECT_EQ(ui().commPort, 7); // not limited until the port box is edited
    EXPECT_EQ(ui().measureButton->text(), "Measure");
    EXPECT_FALSE(ui().measureButton->isHidden());
    EXPECT_FALSE(ui().calibrateButton->isHidden());
    EXPECT_EQ(text(ui().portBox), "7"); // the box shows the port that will be used
    EXPECT_EQ(readFile("tzm.cfg"), "XTH\r\n 7 \r\n");
}

TEST_F(Startup, SettingsFileNameIsMatchedWithoutLetterCase) {
    QFile file("TZM.CFG");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("CE2180\r\n 3 \r\n");
    file.close();
    ASSERT_TRUE(start());
    EXPECT_EQ(form->instrumentName(), "CE2180");
    ui().portBox->setText("2");
    EXPECT_EQ(readFile("TZM.CFG"), "CE2180\r\n 2 \r\n");
    EXPECT_FALSE(QFile::exists("tzm.cfg"));
}

TEST_F(Startup, MissingTableIsNamedAndStopsStartUp) {
    EXPECT_FALSE(start(false));
    make(false);
    EXPECT_FALSE(form->start());
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "Cannot open the Munsell data file \"Vadoro.dat\".");
    EXPECT_EQ(platform.shown()[0].icon, Icon::Critical);
}

TEST_F(Startup, BadTableInTheWorkingDirectoryIsReportedWithItsProblem) {
    QFile file("Vadoro.dat");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("3101,3163\r\n");
    file.close();
    make(true);
    EXPECT_FALSE(form->start());
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "\"Vadoro.dat\" ends after 2 numbers; 14960 are needed.");
}

// A Vadoro.dat of the working folder is used before the program's own: the
// window says so in Messages at start-up, and About names the files in use.
TEST_F(Startup, AWorkingFolderTableIsNotedAndAboutNamesTheDataFiles) {
    ASSERT_TRUE(start());
    // The starting colour's MacAdam line alone.
    EXPECT_EQ(ui().messagesBox->toPlainText(), "Within the MacAdam limits");
    const QString data = QFileInfo(HUELINX_DATA_DIR).canonicalFilePath();
    ASSERT_TRUE(QFile::copy(data + "/Vadoro.dat", "Vadoro.dat"));
    ASSERT_TRUE(start());
    EXPECT_EQ(ui().messagesBox->toPlainText(),
              "The working folder's Vadoro.dat is used, not the program's own " + data +
                  "/Vadoro.dat.\nWithin the MacAdam limits");
    ui().aboutButton->click();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].contains("Data files:\nVadoro.dat: " + QDir::currentPath() +
                                       "/Vadoro.dat (working folder, instead of " + data +
                                       "/Vadoro.dat)\n"))
        << messages()[0].toStdString();
    EXPECT_TRUE(messages()[0].contains("\niscc-nbs-names.csv: " + data + "/iscc-nbs-names.csv\n"))
        << messages()[0].toStdString();
}

TEST_F(Startup, ChoosingAnInstrumentSavesItAndSwitchesTheMode) {
    ASSERT_TRUE(start());
    MainWindowControls& f = ui();
    f.instrumentList->setCurrentIndex(0);
    onInstrumentChosen();
    EXPECT_EQ(readFile("tzm.cfg"), "Import\r\n 1 \r\n");
    EXPECT_EQ(f.measureButton->text(), "Import %R");
    EXPECT_TRUE(f.calibrateButton->isHidden());
    f.instrumentList->setCurrentIndex(4);
    onInstrumentChosen();
    EXPECT_EQ(readFile("tzm.cfg"), "XTH\r\n 1 \r\n");
    EXPECT_EQ(f.measureButton->text(), "Measure");
    EXPECT_FALSE(f.portBox->isHidden());
    // Editing the port writes the name from start-up, not the one just chosen.
    f.portBox->setText("3");
    EXPECT_EQ(readFile("tzm.cfg"), "\r\n 3 \r\n");
}

TEST_F(Startup, PortBoxKeepsThePortWithinOneToFour) {
    ASSERT_TRUE(start());
    const struct {
        const char* typed;
        int port;
    } cases[] = {{"4", 4}, {"0", 1}, {"5", 1}, {"2.5", 2}, {"3.5", 4}, {"", 1}, {"-2", 1}};
    for (const auto& c : cases) {
        ui().portBox->setText("x"); // make sure the next text is a change
        ui().portBox->setText(c.typed);
        EXPECT_EQ(ui().commPort, c.port) << c.typed;
        EXPECT_EQ(readFile("tzm.cfg"), QString("\r\n %1 \r\n").arg(c.port));
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(Startup, PortIsANumberOrADeviceAndTheBoxShowsTheDeviceItMeans) {
    FakeSerialPort* port = platform.fakePort();
    port->setDevices({"/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyUSB0"});
    writeSettings("XTH\r\n 2 \r\n");
    ASSERT_TRUE(start());
    EXPECT_EQ(text(ui().portBox), "2");
    EXPECT_EQ(ui().portDeviceLabel->text(), "/dev/ttyS0");
    EXPECT_FALSE(ui().portDeviceLabel->isHidden());
    // A device by path stays that device, in the file too.
    ui().portBox->setText(" /dev/ttyUSB0 ");
    EXPECT_EQ(ui().commDevice, "/dev/ttyUSB0");
    EXPECT_EQ(ui().portDeviceLabel->text(), "/dev/ttyUSB0");
    EXPECT_EQ(readFile("tzm.cfg"), "XTH\r\n/dev/ttyUSB0\r\n");
    ASSERT_TRUE(start());
    EXPECT_EQ(text(ui().portBox), "/dev/ttyUSB0");
    EXPECT_EQ(ui().commDevice, "/dev/ttyUSB0");
    // The instrument is driven on the device chosen.
    platform.setAdvancePerRead(0.01);
    ui().instrumentList->setEditText("CE7000");
    onMeasure();
    EXPECT_EQ(port->port().device, "/dev/ttyUSB0");
    EXPECT_EQ(messages(), std::vector<QString>{"CE-7000 not connected"});
    // A device that is not there, and numbers again.
    ui().portBox->setText("ttyUSB7");
    EXPECT_EQ(ui().portDeviceLabel->text(), "no such port");
    ui().portBox->setText("3");
    EXPECT_EQ(ui().portDeviceLabel->text(), "/dev/ttyUSB0");
    EXPECT_EQ(ui().commDevice, "");
    EXPECT_EQ(readFile("tzm.cfg"), "CE7000\r\n 3 \r\n"); // the name measured with
    ui().portBox->setText("4");
    EXPECT_EQ(ui().portDeviceLabel->text(), "no such port");
    // Import needs no port: the device beside the box hides with it.
    ui().instrumentList->setEditText("Import");
    onInstrumentChosen();
    EXPECT_TRUE(ui().portDeviceLabel->isHidden());
}

TEST_F(Startup, UnwritableSettingsFileIsReportedOnce) {
    ASSERT_TRUE(QDir().mkdir("tzm.cfg"));
    ASSERT_TRUE(start());
    ui().portBox->setText("2");
    ui().portBox->setText("3");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].contains("tzm.cfg"));
    EXPECT_EQ(ui().commPort, 3);
}

TEST_F(Startup, ExitEndsTheProgram) {
    ASSERT_TRUE(start());
    ui().exitButton->click();
    EXPECT_TRUE(platform.programEnded());
}

TEST_F(Startup, ClosingTheWindowEndsTheProgram) {
    ASSERT_TRUE(start());
    form->show();
    form->close();
    EXPECT_TRUE(platform.programEnded());
}

} // namespace
} // namespace huelinx::testing

// View > Spectral Light and Spectral Observer: a reading's X, Y, Z and
// L*a*b* under another light in Messages, its notation still under C.
#include "main_window_fixture.h"

#include "colour/reflectance_colour.h"
#include "simulated_instrument.h"
#include "tools/instrument_replies.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

namespace huelinx::testing {
namespace {

class SpectralReadings : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
        platform.setAdvancePerRead(0.01);
    }
    QAction* action(const QString& name) const {
        auto* found = form->findChild<QAction*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    void importCurve(const QString& name) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Tile 4\r\n" + knownCurveText() + "\r\n");
        f.close();
        ui().instrumentList->setEditText("Import");
        platform.queueFile(name);
        onMeasure();
    }
    QString messagesText() const { return ui().messagesBox->toPlainText(); }
    QString boxes() const {
        QString all;
        for (const auto* box : ui().munsellBoxes)
            all += text(box) + " ";
        for (const auto* box : ui().xyzBoxes)
            all += text(box) + " ";
        return all;
    }
    // The line the window should add for the known curve.
    static QString lineFor(const char* light, int observer) {
        Loaded<SpectralTables> tables = loadSpectralTables({HUELINX_DATA_DIR});
        const auto weights = spectralWeights(*tables.value, light, observer);
        return QString("Under %1, %2\u00b0: ").arg(light).arg(observer) +
               QString::fromStdString(spectralColourText(spectralColour(knownCurve(), *weights)));
    }
};

TEST_F(SpectralReadings, ReadingsAddTheirColourUnderTheLightChosenAndKeepTheirNotation) {
    // Every light of the tables, C and 2 degrees chosen at start.
    auto* lights = form->findChild<QMenu*>("viewSpectralLightMenu");
    ASSERT_NE(lights, nullptr);
    EXPECT_EQ(lights->actions().size(), 17);
    EXPECT_TRUE(action("spectralLightC")->isChecked());
    EXPECT_TRUE(action("spectralObserver2")->isChecked());

    // Under C, 2 degrees the boxes show the reading: nothing more is said.
    importCurve("tile.txt");
    const QString underC = boxes();
    EXPECT_FALSE(messagesText().contains("Under")) << messagesText().toStdString();

    action("spectralLightF11")->trigger();
    action("spectralObserver10")->trigger();
    EXPECT_FALSE(action("spectralLightC")->isChecked());
    importCurve("tile.txt");
    EXPECT_EQ(boxes(), underC); // the notation and X, Y, Z stay those under C
    EXPECT_TRUE(messagesText().endsWith(lineFor("F11", 10))) << messagesText().toStdString();

    // An instrument's reading says it the same way.
    FakeSerialPort* port = platform.fakePort();
    ASSERT_NE(port, nullptr);
    port->setResponder(simulatorResponder("XTH", {}, {}));
    action("spectralLightD65")->trigger();
    ui().messagesBox->clear();
    ui().instrumentList->setEditText("XTH");
    onMeasure();
    EXPECT_EQ(boxes(), underC);
    EXPECT_TRUE(messagesText().endsWith(lineFor("D65", 10))) << messagesText().toStdString();
    EXPECT_TRUE(messages().empty());
}

TEST_F(SpectralReadings, ImportedCurvesGiveTheLastUnderTheLight) {
    QByteArray curves;
    for (const char* id : {"A1", "B2"})
        curves += QByteArray(id) + ",tile,glossy," + knownCurveText() + "\r\nnote\r\n";
    QFile f("munfile1.txt");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(curves);
    f.close();
    action("spectralLightA")->trigger();
    platform.queueInput("1");
    ui().importButton->click();
    EXPECT_EQ(messagesText(), "\"munout.txt\" written: 2 record(s).\nLast curve: " +
                                  lineFor("A", 2) + "\nWithin the MacAdam limits");
}

TEST_F(SpectralReadings, CgatsSpectraGiveTheLastSampleUnderTheLight) {
    QString format, white;
    for (int nm = 380; nm <= 730; nm += 10) {
        format += QString(" SPECTRAL_NM%1").arg(nm);
        white += " 1";
    }
    QFile f("white.txt");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(("CGATS.17\nBEGIN_DATA_FORMAT\nSAMPLE_ID" + format +
             "\nEND_DATA_FORMAT\nBEGIN_DATA\n1" + white + "\nEND_DATA\n")
                .toUtf8());
    f.close();
    action("spectralLightD65")->trigger();
    action("spectralObserver10")->trigger();
    platform.queueInput("cgats");
    platform.queueInput("field");
    platform.queueFile("white.txt");
    ui().importButton->click();
    const QStringList said = messagesText().split("\n");
    ASSERT_EQ(said.size(), 3) << messagesText().toStdString();
    EXPECT_TRUE(said[0].startsWith("1 sample(s) of \"white.txt\" added"));
    // A perfect white is the light's own white: x, y 0.3138, 0.3310 with the
    // 10 degree observer, so X 94.80, Z 107.30 to the table's four places.
    EXPECT_TRUE(said[1].startsWith("Last sample: Under D65, 10\u00b0: X 94.8"))
        << said[1].toStdString();
    EXPECT_TRUE(said[1].contains(" Y 100.00 Z 107.3")) << said[1].toStdString();
    EXPECT_TRUE(said[1].endsWith("L*a*b* 100.00 0.00 0.00")) << said[1].toStdString();
    // The perfect white lies on the surface of every light's solid.
    EXPECT_EQ(said[2], "Within the MacAdam limits");
}

} // namespace
} // namespace huelinx::testing

// The instruments end to end: the simulator plays each instrument on one end
// of a pseudo-terminal pair made by socat, and the window drives the other end
// through the real serial port code and the real clock.
#include "main_window_fixture.h"

#include "colour/tristimulus.h"
#include "platform/qt_serial_port.h"
#include "text/number_format.h"
#include "tools/instrument_replies.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <ctime>

namespace huelinx::testing {
namespace {

// socat and the simulator, stopped when the line goes out of scope.
class SimulatedLine {
  public:
    SimulatedLine(const QString& instrument, const QStringList& options = {}) {
        host = dir_.filePath("host");
        const QString device = dir_.filePath("instrument");
        socat_.start("socat", {"pty,raw,echo=0,link=" + host, "pty,raw,echo=0,link=" + device});
        QElapsedTimer waited;
        waited.start();
        while (!(QFileInfo::exists(host) && QFileInfo::exists(device)) && waited.elapsed() < 5000)
            QThread::msleep(10);
        sim_.start(HUELINX_SIM_PATH,
                   QStringList{"--instrument", instrument, "--device", device} + options);
        ready = sim_.waitForStarted(5000) && QFileInfo::exists(host);
        QThread::msleep(100); // the simulator opens its end
    }
    ~SimulatedLine() {
        for (QProcess* p : {&sim_, &socat_}) {
            p->terminate();
            if (!p->waitForFinished(2000)) p->kill(), p->waitForFinished(1000);
        }
    }
    // Ends socat at once: the host end of the line goes dead, as a serial
    // adapter does when it is pulled out.
    void cut() {
        socat_.kill();
        socat_.waitForFinished(1000);
    }
    QString host;
    bool ready = false;

  private:
    QTemporaryDir dir_;
    QProcess socat_, sim_;
};

class SerialLine : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
        platform.useRealClock(true);
    }
    void attach(const QString& device) {
        platform.setSerialPort(
            std::make_unique<QtSerialPort>([device] { return QStringList{device}; }));
    }
    QString xyz() const {
        return text(ui().xyzBoxes[0]) + " " + text(ui().xyzBoxes[1]) + " " + text(ui().xyzBoxes[2]);
    }
    // The notation the window gives for X, Y, Z typed in by hand.
    QString notationOf(const QString& tristimulus) {
        Application other(platform, {HUELINX_DATA_DIR});
        other.start();
        MainWindowControls& window = ui(other.mainWindow());
        const QStringList parts = tristimulus.split(' ');
        for (int i = 0; i < 3; ++i)
            window.xyzBoxes[i]->setText(parts[i]);
        convertXyzEntry(other.mainWindow());
        return window.munsellBoxes[0]->text() + " " + window.munsellBoxes[1]->text() + "/" +
               window.munsellBoxes[2]->text();
    }
};

TEST_F(SerialLine, EveryInstrumentCalibratesAndMeasuresOverARealPort) {
    const struct {
        const char* name;
        std::vector<Answer> answers;
    } cases[] = {
        {"CE7000", {Answer::Yes, Answer::Yes}},
        {"CE7000A", {Answer::No, Answer::Yes}},
        {"CE2180", {Answer::Yes, Answer::Yes}},
        {"XTH", {Answer::Ok, Answer::Ok}},
        {"Ci5/Ci7", {Answer::Ok, Answer::Ok}},
        {"Spectrolino", {}},
        {"SpectroEye", {}},
    };
    for (const auto& c : cases) {
        SimulatedLine line(c.name);
        ASSERT_TRUE(line.ready) << c.name;
        attach(line.host);
        session().reflectance = Reflectance{};
        for (Answer a : c.answers)
            platform.queueAnswer(a);
        ui().instrumentList->setEditText(c.name);
        onCalibrate();
        onMeasure();
        const std::vector<QString> expectedMessages =
            QString(c.name).startsWith("Spectro")
                ? std::vector<
                      QString>{"Follow users manual for Calibration of Spectrolino / SpectroEye"}
                : std::vector<QString>{};
        std::vector<QString> shownMessages;
        for (const auto& s : platform.shown())
            if (s.kind == ScriptedPlatform::Shown::Message && s.buttons == Buttons::Ok)
                shownMessages.push_back(s.text);
        EXPECT_EQ(shownMessages, expectedMessages) << c.name;
        Reflectance expected = knownCurve();
        if (QString(c.name).startsWith("Spectro"))
            expected[1] = expected[2] = expected[39] = expected[40] = 0;
        const Tristimulus t = tris(expected);
        const QString tristimulus =
            QString::fromStdString(formatNumber(t.X, "###.00") + " " + formatNumber(t.Y, "###.00") +
                                   " " + formatNumber(t.Z, "###.00"));
        EXPECT_EQ(xyz(), tristimulus) << c.name;
        EXPECT_EQ(text(ui().munsellBoxes[0]) + " " + text(ui().munsellBoxes[1]) + "/" +
                      text(ui().munsellBoxes[2]),
                  notationOf(tristimulus))
            << c.name;
        platform.clear();
    }
}

TEST_F(SerialLine, SilentAndUncalibratedInstrumentsAndMissingPorts) {
    {
        SimulatedLine line("CE2180", {"--uncalibrated"});
        attach(line.host);
        ui().instrumentList->setEditText("CE2180");
        onMeasure();
        EXPECT_EQ(messages(), std::vector<QString>{"Calibrate Instrument"});
    }
    platform.clear();
    {
        SimulatedLine line("CE7000", {"--silent"});
        attach(line.host);
        ui().instrumentList->setEditText("CE7000");
        QElapsedTimer waited;
        waited.start();
        onMeasure();
        EXPECT_EQ(messages(), std::vector<QString>{"CE-7000 not connected"});
        EXPECT_GE(waited.elapsed(), 4900);
        EXPECT_LT(waited.elapsed(), 8000);
    }
    platform.clear();
    attach("/dev/huelinx-no-such-port");
    ui().instrumentList->setEditText("XTH");
    onMeasure();
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].startsWith(
        "XTH not connected: port 1 (/dev/huelinx-no-such-port) can't be opened"))
        << messages()[0].toStdString();
}

TEST_F(SerialLine, APulledOutDeviceEndsTheMeasurementAtOnce) {
    // The instrument takes 1 s for each reply; the line is cut while the
    // measurement is awaited.
    SimulatedLine line("CE7000", {"--delay", "1"});
    ASSERT_TRUE(line.ready);
    attach(line.host);
    ui().instrumentList->setEditText("CE7000");
    QElapsedTimer waited;
    waited.start();
    QTimer cutter; // goes before the line, should the measurement end first
    cutter.setSingleShot(true);
    QObject::connect(&cutter, &QTimer::timeout, [&] { line.cut(); });
    cutter.start(1500);
    const std::clock_t cpuBefore = std::clock();
    onMeasure();
    const double cpuSeconds = double(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "CE-7000 disconnected: port 1 (" + line.host + ") is gone");
    EXPECT_LT(waited.elapsed(), 3000);
    EXPECT_LT(cpuSeconds, 0.5);
}

} // namespace
} // namespace huelinx::testing

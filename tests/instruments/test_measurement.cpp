#include "main_window_fixture.h"

#include "colour/tristimulus.h"
#include "simulated_instrument.h"
#include "text/number_format.h"
#include "tools/instrument_replies.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace huelinx::testing {
namespace {

// The main window with an instrument on the fake port; the fake clock moves
// 10 ms at every reading, so waits pass without sleeping.
class Measure : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
        platform.setAdvancePerRead(0.01);
        port = platform.fakePort();
        ASSERT_NE(port, nullptr);
    }

    // The instrument answers as the simulator does; `edit` may change a reply.
    void plays(const QString& name, SimMode mode = {}, ReplyEdit edit = {}) {
        port->setResponder(simulatorResponder(name, mode, edit));
    }
    void choose(const QString& name) { ui().instrumentList->setEditText(name); }
    void measure() { onMeasure(); }
    QString xyz() const {
        return text(ui().xyzBoxes[0]) + " " + text(ui().xyzBoxes[1]) + " " + text(ui().xyzBoxes[2]);
    }
    // X, Y, Z of a curve as the window writes them.
    static QString shown(const Reflectance& curve) {
        const Tristimulus t = tris(curve);
        return QString::fromStdString(formatNumber(t.X, "###.00") + " " +
                                      formatNumber(t.Y, "###.00") + " " +
                                      formatNumber(t.Z, "###.00"));
    }
    QStringList sent() const {
        QStringList commands;
        for (const QByteArray& w : port->written())
            commands << QString::fromLatin1(w).remove(QChar(0xff));
        return commands;
    }

    FakeSerialPort* port = nullptr;
};

TEST_F(Measure, EveryInstrumentFillsTheCurveAndTheColour) {
    const struct {
        const char* name;
        const char* settings;
        int handshaking;
        bool rts;
        QStringList commands;
    } cases[] = {
        {"CE7000", "9600,N,8,1", 0, false, {"R", "M\r"}},
        {"CE7000A", "9600,N,8,1", 0, false, {"R", "M\r"}},
        {"CE2180", "9600,N,8,1", 0, false, {"v", "M"}},
        {"XTH", "38400,N,8,1", 2, false, {"R\r", "M 8\r"}},
        {"Ci5/Ci7", "38400,N,8,1", 2, false, {"R\r", "config -mode=sce\r", "measure\r"}},
        {"Spectrolino", "9600,n,8,1", 0, true, {"; 32\r\n", "; 184 9 0\r\n"}},
        {"SpectroEye", "9600,n,8,1", 0, true, {"; 32\r\n", "; 184 9 0\r\n"}},
    };
    for (const auto& c : cases) {
        session().reflectance = Reflectance{};
        ui().portBox->setText("3");
        port->clearWritten();
        plays(c.name);
        choose(c.name);
        measure();
        Reflectance expected = knownCurve();
        if (QString(c.name).startsWith("Spectro"))
            expected[1] = expected[2] = expected[39] = expected[40] = 0;
        // A fraction of 1 times 100 may differ from the percent in the last bit.
        for (int i = 0; i <= 40; ++i)
            EXPECT_NEAR(session().reflectance[i], expected[i], 1e-4f) << c.name << " " << i;
        EXPECT_EQ(xyz(), shown(expected)) << c.name;
        EXPECT_EQ(form->instrumentName(), c.name);
        EXPECT_EQ(sent(), c.commands) << c.name;
        EXPECT_EQ(port->settings(), c.settings);
        EXPECT_EQ(port->handshaking(), c.handshaking);
        EXPECT_EQ(port->rts(), c.rts);
        EXPECT_EQ(port->portNumber(), 3);
        EXPECT_FALSE(port->isOpen());
        EXPECT_TRUE(messages().empty()) << c.name << ": " << messages().front().toStdString();
        platform.clear();
    }
    // The measured colour reached every notation and the name line.
    EXPECT_FALSE(text(ui().munsellBoxes[0]).isEmpty());
    EXPECT_FALSE(ui().colourNameBox->text().isEmpty());
    EXPECT_TRUE(ui().nearestChipBox->text().contains("\u0394E00"));
    EXPECT_EQ(text(ui().rgbBoxes[0]).toInt(), form->colour().red);
}

TEST_F(Measure, UnansweredFirstExchangesEndTheMeasurement) {
    const struct {
        const char* name;
        const char* message; // message box, or the messages box when `inBox` is false
        bool inBox;
    } cases[] = {
        {"CE7000", "CE-7000 not connected", true},
        {"CE2180", "CE-2180 not connected", true},
        {"Ci5/Ci7", "Ci5/Ci7 not connected", false},
        {"Spectrolino", "SpectroEye not responding - Settings serial 9600 handshake=No", true},
    };
    for (const auto& c : cases) {
        port->setResponder({});
        ui().xyzBoxes[0]->setText("keep");
        choose(c.name);
        measure();
        if (c.inBox)
            EXPECT_EQ(messages(), std::vector<QString>{c.message}) << c.name;
        else
            EXPECT_EQ(ui().messagesBox->toPlainText(), c.message);
        EXPECT_EQ(text(ui().xyzBoxes[0]), "keep") << c.name; // nothing recomputed
        EXPECT_FALSE(port->isOpen());
        platform.clear();
    }
}

TEST_F(Measure, UncalibratedInstrumentsRecomputeTheStoredCurve) {
    session().reflectance = knownCurve();
    const struct {
        const char* name;
        const char* message;
    } cases[] = {{"CE7000", "Calibrate Instrument"},
                 {"CE2180", "Calibrate Instrument"},
                 {"XTH", "Instrument Uncalibrated"}};
    for (const auto& c : cases) {
        SimMode uncalibrated;
        uncalibrated.calibrated = false;
        plays(c.name, uncalibrated);
        choose(c.name);
        ui().xyzBoxes[0]->setText("old");
        measure();
        EXPECT_EQ(messages(), std::vector<QString>{c.message});
        EXPECT_EQ(xyz(), shown(knownCurve())) << c.name; // closing still runs
        EXPECT_FALSE(port->isOpen());
        platform.clear();
    }
}

TEST_F(Measure, XthWakesUpAgainAfterSleepingAndReportsAnIncompleteMeasurement) {
    int wakeCalls = 0;
    plays("XTH", {}, [&](const QByteArray& w, std::vector<FakeSerialPort::Arrival>& a) {
        if (w == "R\r" && ++wakeCalls == 1) a.clear(); // asleep the first time
        if (w == "M 8\r") a.back().bytes.chop(1);      // the final ">" never comes
    });
    choose("XTH");
    measure();
    EXPECT_EQ(wakeCalls, 2);
    // The colour shown after it keeps its MacAdam line below the note.
    EXPECT_EQ(ui().messagesBox->toPlainText(), "XTH Sleeping\nWithin the MacAdam limits");
    EXPECT_EQ(messages(), std::vector<QString>{"error in Measurement"});
}

TEST_F(Measure, CiLosingItsLaterRepliesEndsAndConfiguresOncePerRun) {
    for (const char* silentAt : {"config -mode=sce\r", "measure\r"}) {
        plays("Ci5/Ci7", {}, [&](const QByteArray& w, std::vector<FakeSerialPort::Arrival>& a) {
            if (w == silentAt) a.clear();
        });
        choose("Ci5/Ci7");
        ui().messagesBox->setPlainText("");
        measure();
        EXPECT_EQ(ui().messagesBox->toPlainText(), "Ci5/Ci7 not connected") << silentAt;
        EXPECT_FALSE(port->isOpen());
    }
    // The measure time-out came after a configuration was accepted.
    plays("Ci5/Ci7");
    port->clearWritten();
    measure();
    EXPECT_FALSE(sent().contains("config -mode=sce\r"));
    EXPECT_EQ(session().reflectance, knownCurve());
}

TEST_F(Measure, SpectrolinoWithoutDataQuotesWhatCame) {
    plays("Spectrolino", {}, [](const QByteArray& w, std::vector<FakeSerialPort::Arrival>& a) {
        if (w.endsWith("; 184 9 0\r\n")) a = {{0.1, ": 185 9 0 0.12"}};
    });
    choose("SpectroEye");
    measure();
    EXPECT_EQ(messages(),
              std::vector<QString>{"SpectroEye data not returned - message=: 185 9 0 0.12"});
    EXPECT_TRUE(ui().messagesBox->toPlainText().startsWith(": 32"));
}

TEST_F(Measure, SilentOrGarbledInstrumentsCannotHangOrCorruptTheCurve) {
    // A reply that stops short: the count and length waits give up after 10 s.
    for (const char* name : {"CE7000", "CE2180"}) {
        plays(name, {}, [](const QByteArray& w, std::vector<FakeSerialPort::Arrival>& a) {
            if (w.startsWith("M")) a.resize(a.size() > 1 ? 1 : 0);
            if (w == "M\r" && !a.empty()) a[0].bytes.truncate(100);
        });
        choose(name);
        const double before = platform.secondsSinceMidnight();
        measure();
        EXPECT_EQ(messages(), std::vector<QString>{"Instrument not responding"}) << name;
        EXPECT_LT(platform.secondsSinceMidnight() - before, 25.0);
        EXPECT_FALSE(port->isOpen());
        platform.clear();
    }
    // An XTH that never wakes up, or never starts its measurement reply.
    for (bool wakes : {false, true}) {
        plays("XTH", {}, [wakes](const QByteArray& w, std::vector<FakeSerialPort::Arrival>& a) {
            if ((w == "R\r" && !wakes) || w == "M 8\r") a.clear();
        });
        choose("XTH");
        measure();
        EXPECT_EQ(messages(), std::vector<QString>{"Instrument not responding"});
        platform.clear();
    }
    // Letters where numbers belong: the curve stays as it was.
    session().reflectance = Reflectance{};
    SimMode garbage;
    garbage.garbage = true;
    for (const char* name : {"CE7000", "CE2180", "XTH", "Ci5/Ci7", "Spectrolino"}) {
        plays(name, garbage);
        choose(name);
        ui().xyzBoxes[0]->setText("keep");
        measure();
        EXPECT_EQ(messages(), std::vector<QString>{"Measurement data not readable"}) << name;
        EXPECT_EQ(session().reflectance, Reflectance{}) << name;
        EXPECT_EQ(text(ui().xyzBoxes[0]), "keep");
        platform.clear();
    }
}

TEST_F(Measure, APulledOutDeviceEndsTheRunAtOnceNamingThePort) {
    // Each instrument loses its device while a reply comes in: half of it
    // arrives, the rest never does.
    port->setDevices({"/dev/ttyS0", "/dev/ttyUSB0"});
    ui().portBox->setText("2");
    const struct {
        const char* name;
        const char* command; // the device goes during the reply to this one
        const char* message;
    } cases[] = {
        {"CE7000", "M\r", "CE-7000 disconnected: port 2 (/dev/ttyUSB0) is gone"},
        {"CE2180", "M", "CE-2180 disconnected: port 2 (/dev/ttyUSB0) is gone"},
        {"XTH", "M 8\r", "XTH disconnected: port 2 (/dev/ttyUSB0) is gone"},
        {"XTH", "R\r", "XTH disconnected: port 2 (/dev/ttyUSB0) is gone"},
        {"Ci5/Ci7", "measure\r", "Ci5/Ci7 disconnected: port 2 (/dev/ttyUSB0) is gone"},
        {"SpectroEye", "; 184 9 0\r\n", "SpectroEye disconnected: port 2 (/dev/ttyUSB0) is gone"},
    };
    for (const auto& c : cases) {
        session().reflectance = Reflectance{};
        plays(c.name, {}, [&](const QByteArray& w, std::vector<FakeSerialPort::Arrival>& a) {
            if (!w.endsWith(c.command)) return;
            a.back().bytes.truncate(a.back().bytes.size() / 2);
            port->unplugAfter(0.1);
        });
        choose(c.name);
        ui().xyzBoxes[0]->setText("keep");
        const double before = platform.secondsSinceMidnight();
        measure();
        EXPECT_EQ(messages(), std::vector<QString>{c.message}) << c.name << " " << c.command;
        EXPECT_LT(platform.secondsSinceMidnight() - before, 2.0) << c.name;
        EXPECT_EQ(session().reflectance, Reflectance{}) << c.name;
        EXPECT_EQ(text(ui().xyzBoxes[0]), "keep") << c.name;
        EXPECT_FALSE(port->isOpen());
        platform.clear();
    }
}

TEST_F(Measure, InstrumentsEchoingCommandsAreWokenAtAPaceAndTheLastReplyShown) {
    // The reply starts with the command, not with the instrument's letter.
    platform.setAdvancePerRead(0.001);
    for (const char* name : {"XTH", "Ci5/Ci7"}) {
        port->setResponder([](const QByteArray& written) {
            return std::vector<FakeSerialPort::Arrival>{{0.002, written + ">"}};
        });
        port->clearWritten();
        ui().messagesBox->setPlainText("");
        choose(name);
        const double before = platform.secondsSinceMidnight();
        measure();
        const double took = platform.secondsSinceMidnight() - before;
        EXPECT_GT(took, 10.0) << name;
        EXPECT_LT(took, 11.0) << name;
        const auto tries = port->written().size();
        EXPECT_LE(tries, 101u) << name; // one every 0.1 s at most
        EXPECT_GE(tries, 80u) << name;
        // The reply is quoted with its control characters shown as ?.
        EXPECT_EQ(ui().messagesBox->toPlainText(), "Last reply: R?>") << name;
        EXPECT_EQ(messages(), std::vector<QString>{"Instrument not responding"}) << name;
        EXPECT_FALSE(port->isOpen());
        platform.clear();
    }
}

TEST_F(Measure, PortThatCannotOpenIsNamed) {
    port->setOpenFails(true);
    choose("CE2180");
    measure();
    EXPECT_EQ(messages(), std::vector<QString>{"CE-2180 not connected: port 1 can't be opened"});
}

TEST_F(Measure, WaitsCountAcrossMidnight) {
    platform.setSecondsSinceMidnight(86399.9);
    plays("CE7000");
    choose("CE7000");
    measure();
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(session().reflectance, knownCurve());
    EXPECT_LT(platform.secondsSinceMidnight(), 100.0);
}

TEST_F(Measure, UnknownNamesRecomputeTheStoredCurveWithoutThePort) {
    session().reflectance = knownCurve();
    choose("Colorimeter 9");
    measure();
    EXPECT_EQ(port->openCount(), 0);
    EXPECT_EQ(xyz(), shown(knownCurve()));
    EXPECT_TRUE(messages().empty());
}

TEST_F(Measure, ReflectanceFilesImportOrSayWhatIsWrong) {
    QFile good("sample.txt");
    ASSERT_TRUE(good.open(QIODevice::WriteOnly));
    good.write("Tile 4\r\n" + knownCurveText() + "\r\n");
    good.close();
    choose("Import");
    platform.queueFile("sample.txt");
    measure();
    EXPECT_EQ(session().reflectance, knownCurve());
    EXPECT_EQ(ui().importedFileName->text(), "sample.txt Tile 4");
    EXPECT_EQ(xyz(), shown(knownCurve()));
    EXPECT_EQ(port->openCount(), 0);

    QFile bad("short.txt");
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("Tile 5\r\n1,2,3\r\n");
    bad.close();
    ui().xyzBoxes[0]->setText("keep");
    platform.queueFile("short.txt");
    measure();
    EXPECT_EQ(messages(), std::vector<QString>{
                              "file import format error\r\nFORMAT\r\nTAG\r\n%R360, ...,%R750"});
    EXPECT_FLOAT_EQ(session().reflectance[3], 3.0f);
    EXPECT_EQ(text(ui().xyzBoxes[0]), "keep");
    platform.clear();
    platform.queueFile("missing.txt");
    measure();
    EXPECT_EQ(messages(), std::vector<QString>{"File not found"});
    platform.clear();
    platform.queueFile("");
    measure();
    EXPECT_TRUE(messages().empty()); // a cancelled dialog is no error
}

} // namespace
} // namespace huelinx::testing

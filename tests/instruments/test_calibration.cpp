#include "main_window_fixture.h"

#include "simulated_instrument.h"

#include <QComboBox>
#include <QPlainTextEdit>

namespace huelinx::testing {
namespace {

class Calibrate : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
        platform.setAdvancePerRead(0.01);
        port = platform.fakePort();
    }
    // `name` answers like the simulator; commands in `silent` get no answer.
    void run(const QString& name, QStringList silent = {}) {
        runWith(name, [silent](const QByteArray& written, auto& arrivals) {
            if (silent.contains(QString::fromLatin1(written))) arrivals.clear();
        });
    }
    void runWith(const QString& name, ReplyEdit edit) {
        port->setResponder(simulatorResponder(name, {}, edit));
        ui().instrumentList->setEditText(name);
        port->clearWritten();
        onCalibrate();
        EXPECT_FALSE(port->isOpen());
        EXPECT_EQ(platform.pendingAnswers(), 0u);
    }
    QStringList sent() const {
        QStringList commands;
        for (const QByteArray& w : port->written())
            commands << QString::fromLatin1(w);
        return commands;
    }
    QStringList questions() const {
        QStringList asked;
        for (const auto& s : platform.shown())
            if (s.buttons != Buttons::Ok)
                asked << s.text + (s.title.isEmpty() ? "" : " / " + s.title);
        return asked;
    }
    FakeSerialPort* port = nullptr;
};

TEST_F(Calibrate, Ce7000AsksForEachStandard) {
    platform.queueAnswer(Answer::No);
    platform.queueAnswer(Answer::Yes);
    run("CE7000");
    EXPECT_EQ(sent(), (QStringList{"R", "C\r"}));
    EXPECT_EQ(questions(), (QStringList{"Open Port", "White Standard"}));
    platform.clear();
    platform.queueAnswer(Answer::Yes);
    platform.queueAnswer(Answer::Cancel);
    run("CE7000A");
    EXPECT_EQ(sent(), (QStringList{"R", "I\r"}));
}

TEST_F(Calibrate, Ce2180SendsSingleLettersAndStopsAtCancel) {
    platform.queueAnswer(Answer::Yes);
    platform.queueAnswer(Answer::Yes);
    run("CE2180");
    EXPECT_EQ(sent(), (QStringList{"v", "K", "C", "B"}));
    EXPECT_EQ(questions(), (QStringList{"White Standard", "Open Port"}));
    platform.clear();
    platform.queueAnswer(Answer::Cancel);
    run("CE2180");
    EXPECT_EQ(sent(), (QStringList{"v", "K"}));
}

TEST_F(Calibrate, XthAndCiAskWithTheirTitlesAndShowTheReplies) {
    platform.queueAnswer(Answer::Ok);
    platform.queueAnswer(Answer::Cancel);
    run("XTH");
    EXPECT_EQ(sent(), (QStringList{"R\r", "C\r"}));
    EXPECT_EQ(questions(), (QStringList{"White Calibration / XT Calibration",
                                        "Open Port Calibration / XT Calibration"}));
    EXPECT_EQ(ui().messagesBox->toPlainText(), "OK>");
    platform.clear();
    // The Ci configures itself at every calibration, even after a measurement.
    platform.queueAnswer(Answer::Cancel);
    platform.queueAnswer(Answer::Cancel);
    run("Ci5/Ci7");
    onMeasure();
    platform.clear();
    platform.queueAnswer(Answer::Cancel);
    platform.queueAnswer(Answer::Ok);
    run("Ci5/Ci7");
    EXPECT_EQ(sent(), (QStringList{"R\r", "config -mode=sce\r", "blackcal\r"}));
    EXPECT_EQ(questions(), (QStringList{"White Ceramic Calibration / Instrument Calibration",
                                        "Black Trap Calibration / Black Calibration"}));
}

TEST_F(Calibrate, SilentInstrumentsAreReportedWithoutHanging) {
    const struct {
        const char* name;
        const char* silentAt;
        const char* message; // in a message box, or in the messages box for the Ci
    } cases[] = {
        {"CE7000", "R", "CE-7000 not connected"},
        {"CE2180", "v", "CE-2180 not connected"},
        {"CE2180", "K", "Instrument not responding"},
        {"XTH", "R\r", "Instrument not responding"},
        {"Ci5/Ci7", "R\r", "Ci5/Ci7 not connected"},
        {"Ci5/Ci7", "config -mode=sce\r", "Ci5/Ci7 not connected"},
    };
    for (const auto& c : cases) {
        platform.clear();
        ui().messagesBox->setPlainText("");
        run(c.name, {c.silentAt});
        const bool inBox = !QString(c.name).startsWith("Ci");
        if (inBox)
            EXPECT_EQ(messages(), std::vector<QString>{c.message}) << c.name << " " << c.silentAt;
        else
            EXPECT_EQ(ui().messagesBox->toPlainText(), c.message);
    }
    // The XTH went on waking it while it slept.
    EXPECT_GT(std::count(port->written().begin(), port->written().end(), QByteArray("R\r")), 0);
}

TEST_F(Calibrate, APulledOutDeviceStopsTheCalibration) {
    const struct {
        const char* name;
        const char* at; // the device goes during the reply to this command
        std::vector<Answer> answers;
        QStringList sent;
        const char* message;
    } cases[] = {
        {"CE7000", "I\r", {Answer::Yes}, {"R", "I\r"}, "CE-7000 disconnected: port 1 is gone"},
        {"CE2180", "K", {}, {"v", "K"}, "CE-2180 disconnected: port 1 is gone"},
        {"XTH", "C\r", {Answer::Ok}, {"R\r", "C\r"}, "XTH disconnected: port 1 is gone"},
        {"Ci5/Ci7",
         "config -mode=sce\r",
         {},
         {"R\r", "config -mode=sce\r"},
         "Ci5/Ci7 disconnected: port 1 is gone"},
    };
    for (const auto& c : cases) {
        platform.clear();
        for (Answer a : c.answers)
            platform.queueAnswer(a);
        runWith(c.name, [&](const QByteArray& written, auto& arrivals) {
            if (written != c.at) return;
            arrivals.clear();
            port->unplugAfter(0.1);
        });
        // No further question or command: the run ended with the device.
        EXPECT_EQ(sent(), c.sent) << c.name;
        ASSERT_FALSE(messages().empty()) << c.name;
        EXPECT_EQ(messages().back(), c.message);
    }
}

TEST_F(Calibrate, SpectrolinoAndUnknownNamesUseNoPort) {
    run("Spectrolino");
    EXPECT_EQ(messages(), std::vector<QString>{
                              "Follow users manual for Calibration of Spectrolino / SpectroEye"});
    EXPECT_EQ(port->openCount(), 0);
    platform.clear();
    ui().instrumentList->setEditText("Instrument");
    onCalibrate();
    ASSERT_EQ(messages(), std::vector<QString>{"No Instrument found - CE-7000 or CE-2180 only"});
    EXPECT_EQ(platform.shown()[0].icon, Icon::Critical);
    platform.clear();
    ui().instrumentList->setEditText("Something else");
    onCalibrate();
    EXPECT_TRUE(platform.shown().empty());
    EXPECT_EQ(port->openCount(), 0);
}

} // namespace
} // namespace huelinx::testing

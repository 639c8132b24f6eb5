#include "instruments/serial_exchange.h"
#include "test_doubles/scripted_platform.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace huelinx {
namespace {

// The scripted platform's clock moves 0.1 s at each reading, so every wait
// ends without sleeping; the fake port delivers each command's reply parts
// at the given delays after the write.
class Exchange : public ::testing::Test {
  protected:
    void SetUp() override {
        platform.setAdvancePerRead(0.1);
        port = platform.fakePort();
        QString error;
        ASSERT_TRUE(port->open(error));
    }
    // `parts` arrive, in order, at the given seconds after each write.
    void answerWith(std::vector<FakeSerialPort::Arrival> parts) {
        port->setResponder([parts](const QByteArray&) { return parts; });
    }
    ScriptedPlatform platform;
    FakeSerialPort* port = nullptr;
    SerialExchange x{platform, platform.serialPort()};
};

TEST_F(Exchange, PromptWaitAnswersWhenTheTerminatorComesWithinTheLimit) {
    answerWith({{0.3, "ok"}, {0.6, " ready>"}});
    x.startClock();
    x.send("R\r");
    EXPECT_EQ(x.promptWait(">", 2, false), WaitEnd::Answered);
    EXPECT_EQ(x.reply, "ok ready>");
    EXPECT_LE(x.elapsed(), 2.0f);
}

TEST_F(Exchange, PromptWaitTimesOutPastTheLimitEvenWithTheTerminator) {
    answerWith({{0.3, "no prompt"}});
    x.startClock();
    x.send("R\r");
    EXPECT_EQ(x.promptWait(">", 2, false), WaitEnd::TimedOut);
    EXPECT_EQ(x.reply, "no prompt");
    // The terminator arrives, but the read that brings it ends past the limit.
    answerWith({{0.3, "late>"}});
    x.startClock();
    x.send("R\r");
    const auto slowRead = [this](const QByteArray& reply) {
        if (reply.endsWith(">")) platform.advance(5);
    };
    EXPECT_EQ(x.promptWait(">", 2, false, slowRead), WaitEnd::TimedOut);
    EXPECT_EQ(x.reply, "late>");
}

TEST_F(Exchange, CountWaitReadsEverythingOnceTheCountHasArrived) {
    answerWith({{0.2, "1122"}, {0.4, "33"}});
    x.reply = "old";
    x.send("M\r");
    EXPECT_EQ(x.countWait(5, true), WaitEnd::Answered);
    EXPECT_EQ(x.reply, "112233");
    EXPECT_GT(platform.processEventsCount(), 0);
    // Too few bytes within the instrument bound: the reply is left as it was.
    answerWith({{0.2, "12"}});
    x.send("M\r");
    EXPECT_EQ(x.countWait(5, false), WaitEnd::TimedOut);
    EXPECT_EQ(x.reply, "112233");
}

TEST_F(Exchange, LengthWaitAddsToTheReplyUntilItIsLongEnough) {
    answerWith({{0.2, "abc"}, {0.5, "def"}});
    x.reply = "0";
    x.send("M\r");
    EXPECT_EQ(x.lengthWait(7, false), WaitEnd::Answered);
    EXPECT_EQ(x.reply, "0abcdef");
    answerWith({{0.2, "gh"}});
    x.send("M\r");
    EXPECT_EQ(x.lengthWait(20, false), WaitEnd::TimedOut);
    EXPECT_EQ(x.reply, "0abcdefgh");
}

TEST_F(Exchange, FirstByteWaitEndsAtTheFirstByteOrTheBound) {
    answerWith({{1.5, "x"}});
    x.send("M 8\r");
    EXPECT_EQ(x.firstByteWait(), WaitEnd::Answered);
    answerWith({});
    port->readAll();
    x.send("M 8\r");
    EXPECT_EQ(x.firstByteWait(), WaitEnd::TimedOut);
}

TEST_F(Exchange, EveryWaitEndsAtOnceWhenTheDevicePullsOutMidReply) {
    // Part of the reply comes, then the device goes: no wait sits out its limit.
    const auto pullOutMidReply = [this] {
        port->readAll();
        answerWith({{0.2, "12"}, {0.8, "345>"}});
        x.startClock();
        x.send("M\r");
        port->unplugAfter(0.5);
        return platform.secondsSinceMidnight();
    };
    const std::pair<const char*, std::function<WaitEnd()>> waits[] = {
        {"prompt", [&] { return x.promptWait(">", 10, true); }},
        {"count", [&] { return x.countWait(6, true); }},
        {"length", [&] { return x.lengthWait(6, false); }},
    };
    for (const auto& [name, wait] : waits) {
        x.reply.clear();
        const double start = pullOutMidReply();
        EXPECT_EQ(wait(), WaitEnd::Disconnected) << name;
        EXPECT_LT(platform.secondsSinceMidnight() - start, 1.0) << name;
    }
    // Gone before the first byte.
    port->readAll();
    answerWith({{2.0, "x"}});
    x.send("M 8\r");
    port->unplugAfter(0.3);
    EXPECT_EQ(x.firstByteWait(), WaitEnd::Disconnected);
    // Opening the port again plugs it back in.
    QString error;
    ASSERT_TRUE(port->open(error));
    EXPECT_FALSE(port->deviceGone());
    answerWith({{0.2, "ok>"}});
    x.startClock();
    x.send("R\r");
    EXPECT_EQ(x.promptWait(">", 2, false), WaitEnd::Answered);
}

TEST_F(Exchange, WaitsAcrossMidnightCountTheDayThatBegan) {
    platform.setSecondsSinceMidnight(86399.5);
    answerWith({{1.0, "done>"}});
    x.startClock();
    x.send("R\r");
    EXPECT_EQ(x.promptWait(">", 2, false), WaitEnd::Answered);
    // Without the day added, the time passed would stay negative and these
    // waits would never end.
    platform.setSecondsSinceMidnight(86399.5);
    answerWith({});
    x.startClock();
    x.send("R\r");
    EXPECT_EQ(x.promptWait(">", 2, false), WaitEnd::TimedOut);
    EXPECT_LT(x.elapsed(), 3.0f);
    platform.setSecondsSinceMidnight(86399.5);
    x.send("M\r");
    EXPECT_EQ(x.countWait(4, false), WaitEnd::TimedOut);
}

} // namespace
} // namespace huelinx

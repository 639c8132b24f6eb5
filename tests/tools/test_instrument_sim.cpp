#include "tools/instrument_replies.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <poll.h>
#include <signal.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace huelinx {
namespace {

using namespace std::chrono_literals;
const Reflectance curve = knownCurve();

// `count` characters of `s` from 1-based character `first` on.
std::string at(const std::string& s, std::size_t first, std::size_t count) {
    return s.substr(first - 1, count);
}

std::string blanks(std::size_t n) { return std::string(n, ' '); }
std::string filled(std::string_view text) { return std::string(250, '\xff') + std::string(text) + "\r\n"; }

// Checks the value fields of a reply against the curve (value i at
// position(i), the first holding index `first`, divided by `scale`) and
// returns the reply with those fields blanked.
std::string withoutValues(std::string line, std::function<std::size_t(int)> position, int count,
                          std::size_t width, int first = 1, double scale = 1) {
    for (int i = 1; i <= count; ++i) {
        const std::string field = at(line, position(i), width);
        EXPECT_NEAR(std::stod(field), curve[i + first - 1] / scale, 1e-6) << "value " << i << " '" << field << "'";
        line.replace(position(i) - 1, width, blanks(width));
    }
    return line;
}

TEST(InstrumentReplies, KnownCurveIsABellWithTwoDecimals) {
    EXPECT_EQ(curve[0], 0.0f);
    EXPECT_FLOAT_EQ(curve[1], 5.0f);
    EXPECT_FLOAT_EQ(curve[25], 85.0f);
    EXPECT_FLOAT_EQ(curve[18], 34.43f); // 5 + 80 / e
    EXPECT_EQ(curve[18], curve[32]);
    for (int i = 1; i <= 40; ++i) EXPECT_NEAR(curve[i] * 100, std::round(curve[i] * 100), 1e-3) << i;
}

TEST(InstrumentReplies, MeasurementsPutEachValueInItsColumns) {
    const std::string ce7000 = ce7000Measurement(curve, {});
    ASSERT_EQ(ce7000.size(), 422u);
    EXPECT_EQ(at(ce7000, 261, 7), "  85.00");
    EXPECT_EQ(withoutValues(ce7000, [](int i) { return 10 * i + 11; }, 40, 7), "11" + blanks(420));

    EXPECT_EQ(ce2180Status(true), "11" + blanks(16));
    const std::string ce2180 = ce2180Data(curve, false);
    ASSERT_EQ(ce2180.size(), 290u);
    EXPECT_EQ(at(ce2180, 44, 6), "  5.11");
    EXPECT_EQ(withoutValues(ce2180, [](int i) { return 7 * i + (i - 1) / 6 - 6; }, 40, 6), blanks(290));

    const std::string xth = xthMeasurement(curve, {});
    ASSERT_EQ(xth.size(), 337u);
    EXPECT_EQ(at(xth, 331, 6), "  5.81");
    EXPECT_EQ(withoutValues(xth, [](int i) { return 8 * i + 11; }, 40, 6), "11" + blanks(334) + ">");

    const std::string ci = ciMeasurement(curve, {});
    ASSERT_EQ(ci.size(), 320u);
    EXPECT_EQ(at(ci, 153, 7), " 53.030");
    std::string commas;
    for (int i = 1; i <= 40; ++i) commas += blanks(7) + (i < 40 ? "," : ">");
    EXPECT_EQ(withoutValues(ci, [](int i) { return 8 * i - 7; }, 40, 7), commas);

    const std::string lino = spectrolinoSpectrum(curve, false);
    ASSERT_EQ(lino.size(), 264u);
    EXPECT_EQ(at(lino, 11, 6), "0.0500");
    EXPECT_EQ(at(lino, 256, 6), "0.0754");
    EXPECT_EQ(withoutValues(lino, [](int i) { return 7 * i + 4; }, 36, 6, 3, 100),
              ": 185 9 0 " + blanks(252) + "\r\n");
}

// Outside the first `kept` characters, the garbled reply has letters exactly
// where the plain one has digits and is the same everywhere else.
void expectGarbled(const std::string& plain, const std::string& garbage, std::size_t kept) {
    ASSERT_EQ(garbage.size(), plain.size());
    EXPECT_EQ(garbage.substr(0, kept), plain.substr(0, kept));
    for (std::size_t k = kept; k < plain.size(); ++k) {
        if (std::isdigit(static_cast<unsigned char>(plain[k])))
            EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(garbage[k]))) << k << ": " << garbage;
        else
            EXPECT_EQ(garbage[k], plain[k]) << k;
    }
}

TEST(InstrumentReplies, GarbageKeepsWidthsPointsAndStatus) {
    EXPECT_EQ(garbled(" 45.67"), " ab.cd");
    EXPECT_EQ(garbled("100.00"), "abc.de");
    const SimMode garbage{true, true};
    expectGarbled(ce7000Measurement(curve, {}), ce7000Measurement(curve, garbage), 19);
    expectGarbled(ce2180Data(curve, false), ce2180Data(curve, true), 0);
    expectGarbled(xthMeasurement(curve, {}), xthMeasurement(curve, garbage), 18);
    expectGarbled(ciMeasurement(curve, {}), ciMeasurement(curve, garbage), 0);
    expectGarbled(spectrolinoSpectrum(curve, false), spectrolinoSpectrum(curve, true), 10);
}

TEST(InstrumentReplies, UncalibratedMeasurementsReportFailure) {
    const SimMode uncalibrated{false, false};
    EXPECT_EQ(ce7000Measurement(curve, uncalibrated), "00" + blanks(17));
    EXPECT_EQ(ce2180Status(false), "00" + blanks(16));
    EXPECT_EQ(replyTo(Instrument::CE2180, "M", curve, uncalibrated).size(), 1u);
    EXPECT_EQ(at(xthMeasurement(curve, uncalibrated), 1, 18), "00" + blanks(16));
    EXPECT_EQ(ciMeasurement(curve, uncalibrated), "ERR>");
}

TEST(InstrumentReplies, CommandsAreFramedPerInstrument) {
    EXPECT_EQ(commandLength(Instrument::CE7000, "RI\r"), 1u);
    EXPECT_EQ(commandLength(Instrument::CE7000A, "I"), 0u);
    EXPECT_EQ(commandLength(Instrument::CE7000, "M\rR"), 2u);
    EXPECT_EQ(commandLength(Instrument::CE2180, "vK"), 1u);
    EXPECT_EQ(commandLength(Instrument::XTH, ""), 0u);
    EXPECT_EQ(commandLength(Instrument::XTH, "R"), 0u); // only CE7000 takes a bare R
    EXPECT_EQ(commandLength(Instrument::Ci, "measure\r"), 8u);
    const std::string query = filled("; 32");
    EXPECT_EQ(commandLength(Instrument::Spectrolino, query + "x"), query.size());
    EXPECT_EQ(commandLength(Instrument::SpectroEye, query.substr(0, 255)), 0u);
    EXPECT_EQ(commandLength(Instrument::Ci, std::string(4096, 'x')), 4096u);

    EXPECT_EQ(replyTo(Instrument::SpectroEye, query, curve, {})[0].bytes, ": 32 Spectrolino 1.0\r\n");
    EXPECT_TRUE(replyTo(Instrument::XTH, "M 9\r", curve, {}).empty());
    const auto parts = replyTo(Instrument::CE2180, "M", curve, {});
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_DOUBLE_EQ(parts[1].pause, 0.3);
    EXPECT_EQ(instrumentNamed("Ci5/Ci7"), Instrument::Ci);
    EXPECT_EQ(instrumentNamed("Ci7"), Instrument::Ci);
    EXPECT_FALSE(instrumentNamed("ce7000"));
}

} // namespace
} // namespace huelinx

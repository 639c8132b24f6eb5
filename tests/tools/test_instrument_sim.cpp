#include "tools/instrument_replies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
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

std::string blanks(std::size_t n) {
    return std::string(n, ' ');
}
// A Spectrolino command as sent: fill bytes, the text, CR LF.
std::string filled(std::string_view text) {
    return std::string(250, '\xff') + std::string(text) + "\r\n";
}

// Checks the value fields of a reply against the curve (value i at
// position(i), the first holding index `first`, divided by `scale`) and
// returns the reply with those fields blanked.
std::string withoutValues(std::string line, std::function<std::size_t(int)> position, int count,
                          std::size_t width, int first = 1, double scale = 1) {
    for (int i = 1; i <= count; ++i) {
        const std::string field = at(line, position(i), width);
        EXPECT_FLOAT_EQ(static_cast<float>(std::stod(field) * scale), curve[i + first - 1])
            << "value " << i << " '" << field << "'";
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
    for (int i = 1; i <= 40; ++i)
        EXPECT_FLOAT_EQ(curve[i], std::round(curve[i] * 100) / 100) << i;
}

TEST(InstrumentReplies, MeasurementsPutEachValueInItsColumns) {
    const std::string ce7000 = ce7000Measurement(curve, {});
    ASSERT_EQ(ce7000.size(), 422u);
    EXPECT_EQ(at(ce7000, 261, 7), "  85.00");
    EXPECT_EQ(withoutValues(
                  ce7000, [](int i) { return 10 * i + 11; }, 40, 7),
              "11" + blanks(420));

    EXPECT_EQ(ce2180Status(true), "11" + blanks(16));
    const std::string ce2180 = ce2180Data(curve, false);
    ASSERT_EQ(ce2180.size(), 290u);
    EXPECT_EQ(at(ce2180, 44, 6), "  5.11");
    EXPECT_EQ(withoutValues(
                  ce2180, [](int i) { return 7 * i + (i - 1) / 6 - 6; }, 40, 6),
              blanks(290));

    const std::string xth = xthMeasurement(curve, {});
    ASSERT_EQ(xth.size(), 337u);
    EXPECT_EQ(at(xth, 331, 6), "  5.81");
    EXPECT_EQ(withoutValues(
                  xth, [](int i) { return 8 * i + 11; }, 40, 6),
              "11" + blanks(334) + ">");

    const std::string ci = ciMeasurement(curve, {});
    ASSERT_EQ(ci.size(), 320u);
    EXPECT_EQ(at(ci, 153, 7), " 53.030");
    std::string commas;
    for (int i = 1; i <= 40; ++i)
        commas += blanks(7) + (i < 40 ? "," : ">");
    EXPECT_EQ(withoutValues(
                  ci, [](int i) { return 8 * i - 7; }, 40, 7),
              commas);

    const std::string lino = spectrolinoSpectrum(curve, false);
    ASSERT_EQ(lino.size(), 264u);
    EXPECT_EQ(at(lino, 11, 6), "0.0500");
    EXPECT_EQ(at(lino, 256, 6), "0.0754");
    EXPECT_EQ(withoutValues(
                  lino, [](int i) { return 7 * i + 4; }, 36, 6, 3, 100),
              ": 185 9 0 " + blanks(252) + "\r\n");
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
    EXPECT_EQ(commandLength(Instrument::XTH, "R"), 0u); // only CE7000 takes a bare R
    EXPECT_EQ(commandLength(Instrument::Ci, "measure\r"), 8u);
    const std::string query = filled("; 32");
    EXPECT_EQ(commandLength(Instrument::Spectrolino, query + "x"), query.size());
    EXPECT_EQ(commandLength(Instrument::SpectroEye, query.substr(0, 255)), 0u);
    EXPECT_EQ(commandLength(Instrument::Ci, std::string(4096, 'x')), 4096u);

    EXPECT_EQ(instrumentNamed("Ci7"), Instrument::Ci);
}

// ---- The simulator on a pseudo-terminal pair ----

pid_t spawn(const std::vector<std::string>& args, bool quiet) {
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        if (quiet) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, STDOUT_FILENO);
            dup2(null, STDERR_FILENO);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    if (pid < 0) throw std::runtime_error("fork failed");
    return pid;
}

// A child process, ended with SIGTERM (SIGKILL after 2 s) at the latest when
// it goes out of scope.
class Child {
  public:
    explicit Child(pid_t pid) : pid_(pid) {}
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() { finish(); }

    // The wait status once the child has ended, after SIGTERM when `terminate`
    // (SIGKILL when it is still running 2 s later).
    int finish(bool terminate = true) {
        int status = 0;
        if (pid_ <= 0) return status;
        if (terminate) kill(pid_, SIGTERM);
        for (int i = 0; waitpid(pid_, &status, WNOHANG) != pid_; ++i) {
            if (i == 200) {
                kill(pid_, SIGKILL);
                waitpid(pid_, &status, 0);
                break;
            }
            std::this_thread::sleep_for(10ms);
        }
        pid_ = -1;
        return status;
    }

  private:
    pid_t pid_;
};

struct TempDir {
    std::string path;
    TempDir() {
        char name[] = "/tmp/huelinx-sim-XXXXXX";
        if (!mkdtemp(name)) throw std::runtime_error("mkdtemp failed");
        path = name;
    }
    ~TempDir() { std::filesystem::remove_all(path); }
};

// socat's pty pair with the simulator on one end and the test on the other.
class Bench {
  public:
    explicit Bench(const std::string& instrument, std::vector<std::string> options = {})
        : socat_(spawn({"socat", "-d", "-d", "pty,raw,echo=0,link=" + dir_.path + "/host",
                        "pty,raw,echo=0,link=" + dir_.path + "/instrument"},
                       true)) {
        for (int i = 0; !linked(); ++i) {
            if (i == 500) throw std::runtime_error("socat made no pty pair within 5 s");
            std::this_thread::sleep_for(10ms);
        }
        options.insert(options.begin(), {HUELINX_SIM_PATH, "--instrument", instrument, "--device",
                                         dir_.path + "/instrument", "--log", logPath()});
        sim_.emplace(spawn(options, false));
        host_ = open((dir_.path + "/host").c_str(), O_RDWR | O_NOCTTY);
        termios tio{};
        if (host_ < 0 || tcgetattr(host_, &tio) != 0) {
            if (host_ >= 0) close(host_);
            throw std::runtime_error("no host end");
        }
        cfmakeraw(&tio);
        tcsetattr(host_, TCSANOW, &tio);
    }

    ~Bench() { close(host_); }
    Bench(const Bench&) = delete;
    Bench& operator=(const Bench&) = delete;

    void send(std::string_view bytes) {
        ASSERT_EQ(write(host_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // Up to `count` bytes, as many as arrive within `timeoutMs`.
    std::string read(std::size_t count, int timeoutMs = 2000) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        std::string got;
        while (got.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                until - std::chrono::steady_clock::now());
            pollfd p{host_, POLLIN, 0};
            if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
            char buffer[512];
            const ssize_t n = ::read(host_, buffer, std::min(sizeof buffer, count - got.size()));
            if (n <= 0) break;
            got.append(buffer, static_cast<std::size_t>(n));
        }
        return got;
    }

    // True when no byte arrives within `ms`.
    bool quiet(int ms) {
        pollfd p{host_, POLLIN, 0};
        return poll(&p, 1, ms) == 0;
    }

    std::string log() const {
        std::ifstream in(logPath());
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // The simulator's wait status after SIGTERM.
    int stopSimulator() { return sim_->finish(); }

  private:
    bool linked() const {
        return std::filesystem::exists(dir_.path + "/host") &&
               std::filesystem::exists(dir_.path + "/instrument");
    }
    std::string logPath() const { return dir_.path + "/log"; }

    TempDir dir_;
    Child socat_;
    std::optional<Child> sim_;
    int host_ = -1;
};

struct Step {
    std::string command, reply;
};

std::vector<Step> script(const std::string& instrument) {
    const std::string ok = "11 OK" + blanks(13);
    if (instrument.starts_with("CE7000"))
        return {{"R", "CE7000 READY>"},
                {"I\r", "11 OPEN PORT OK    "},
                {"C\r", "11 WHITE OK        "},
                {"?? junk\r", ""},
                {"M\r", ce7000Measurement(curve, {})}};
    if (instrument == "CE2180")
        return {{"v", "CE2180 V1.0\n"},
                {"K", ok},
                {"Cx", ok},
                {"B", ok},
                {"M", ce2180Status(true) + ce2180Data(curve, false)}};
    if (instrument == "XTH")
        return {{"R\r", "XTH READY>"},
                {"C\r", "OK>"},
                {"B\r", "OK>"},
                {"M 9\r", ""},
                {"M 8\r", xthMeasurement(curve, {})}};
    if (instrument == "Ci5/Ci7")
        return {{"R\r", "i1 READY>"},  {"config -mode=sce\r", "OK>"},
                {"whitecal\r", "OK>"}, {"blackcal\r", "OK>"},
                {"help\r", ""},        {"measure\r", ciMeasurement(curve, {})}};
    return {{filled("; 32"), ": 32 Spectrolino 1.0\r\n"},
            {filled("; 99"), ""},
            {filled("; 184 9 0"), spectrolinoSpectrum(curve, false)}};
}

const std::vector<std::string> instruments = {"CE7000",  "CE7000A",     "CE2180",    "XTH",
                                              "Ci5/Ci7", "Spectrolino", "SpectroEye"};

// The log lines a script leaves: one per command (each CE2180 byte is one).
std::string logged(const std::string& instrument, const std::vector<Step>& steps) {
    std::string log;
    for (const Step& step : steps) {
        for (const char c : step.command) {
            log += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '\xff' ? "\\xff" : std::string{c};
            if (instrument == "CE2180") log += '\n';
        }
        if (instrument != "CE2180") log += '\n';
    }
    return log;
}

TEST(InstrumentSim, AnswersAndLogsTheCommandsOfEachInstrument) {
    for (const std::string& instrument : instruments) {
        SCOPED_TRACE(instrument);
        Bench bench(instrument);
        const auto steps = script(instrument);
        for (const Step& step : steps) {
            bench.send(step.command);
            EXPECT_EQ(bench.read(step.reply.size()), step.reply) << step.command;
        }
        EXPECT_TRUE(bench.quiet(50));
        EXPECT_EQ(bench.log(), logged(instrument, steps));
        const int status = bench.stopSimulator();
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
}

TEST(InstrumentSim, SilentReadsButNeverAnswers) {
    std::vector<std::unique_ptr<Bench>> benches;
    for (const std::string& instrument : instruments) {
        const std::vector<std::string> silent = {"--silent"};
        benches.push_back(std::make_unique<Bench>(instrument, silent));
        for (const Step& step : script(instrument))
            benches.back()->send(step.command);
    }
    std::this_thread::sleep_for(500ms);
    for (std::size_t k = 0; k < instruments.size(); ++k) {
        EXPECT_TRUE(benches[k]->quiet(0)) << instruments[k];
        EXPECT_EQ(benches[k]->log(), logged(instruments[k], script(instruments[k])))
            << instruments[k];
    }
}

TEST(InstrumentSim, CE2180SendsItsDataBlockAfterTheStatus) {
    Bench bench("CE2180", {"--delay", "0.2"});
    bench.send("v");
    EXPECT_TRUE(bench.quiet(120));
    EXPECT_EQ(bench.read(12), "CE2180 V1.0\n");
    bench.send("M");
    EXPECT_TRUE(bench.quiet(120));
    EXPECT_EQ(bench.read(18), ce2180Status(true));
    EXPECT_TRUE(bench.quiet(400)); // 0.3 s between the parts, then the delay again
    const std::string data = bench.read(290);
    EXPECT_EQ(at(data, 44, 6), "  5.11");
    EXPECT_EQ(data, ce2180Data(curve, false));
}

// The measurement command of each instrument, its reply in a mode, and the
// length of the reply's head that holds no values.
struct Measurement {
    std::string instrument, command;
    std::function<std::string(SimMode)> reply;
    std::size_t head;
};

const auto ce7000 = [](SimMode m) { return ce7000Measurement(curve, m); };
const auto ce2180 = [](SimMode m) {
    return ce2180Status(m.calibrated) + (m.calibrated ? ce2180Data(curve, m.garbage) : "");
};
const auto xth = [](SimMode m) { return xthMeasurement(curve, m); };
const auto ci = [](SimMode m) { return ciMeasurement(curve, m); };
const auto lino = [](SimMode m) { return spectrolinoSpectrum(curve, m.garbage); };
const std::vector<Measurement> measurements = {{"CE7000", "M\r", ce7000, 19},
                                               {"CE7000A", "M\r", ce7000, 19},
                                               {"CE2180", "M", ce2180, 18},
                                               {"XTH", "M 8\r", xth, 18},
                                               {"Ci5/Ci7", "measure\r", ci, 0},
                                               {"Spectrolino", filled("; 184 9 0"), lino, 10},
                                               {"SpectroEye", filled("; 184 9 0"), lino, 10}};

// The reply to the measurement command of a simulator started with `option`,
// checked to be all that comes.
std::string measured(const Measurement& m, const std::string& option, std::size_t size) {
    Bench bench(m.instrument, {option});
    bench.send(m.command);
    const std::string reply = bench.read(size);
    EXPECT_TRUE(bench.quiet(m.instrument == "CE2180" ? 400 : 50)); // its data come 0.3 s late
    return reply;
}

TEST(InstrumentSim, UncalibratedMeasurementsCarryStatus00) {
    for (const Measurement& m : measurements) {
        const std::string expected = m.reply({false, false});
        EXPECT_EQ(measured(m, "--uncalibrated", expected.size()), expected) << m.instrument;
    }
}

// Outside the first `head` characters, the garbled reply has letters exactly
// where the plain one has digits and is the same everywhere else.
void expectGarbled(const std::string& plain, const std::string& garbage, std::size_t head) {
    ASSERT_EQ(garbage.size(), plain.size());
    EXPECT_EQ(garbage.substr(0, head), plain.substr(0, head));
    for (std::size_t k = head; k < plain.size(); ++k) {
        if (std::isdigit(static_cast<unsigned char>(plain[k])))
            EXPECT_TRUE(std::isalpha(static_cast<unsigned char>(garbage[k])))
                << k << ": " << garbage;
        else
            EXPECT_EQ(garbage[k], plain[k]) << k;
    }
}

TEST(InstrumentSim, GarbageTurnsEveryDigitOfTheValuesIntoALetter) {
    EXPECT_EQ(garbled(" 45.67"), " ab.cd");
    EXPECT_EQ(garbled("100.00"), "abc.de");
    for (const Measurement& m : measurements) {
        SCOPED_TRACE(m.instrument);
        const std::string plain = m.reply({});
        expectGarbled(plain, measured(m, "--garbage", plain.size()), m.head);
    }
}

TEST(InstrumentSim, RefusesAnUnknownInstrument) {
    Child sim(spawn({HUELINX_SIM_PATH, "--instrument", "CE9999", "--device", "/dev/null"}, true));
    const int status = sim.finish(false);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << status;
}

} // namespace
} // namespace huelinx

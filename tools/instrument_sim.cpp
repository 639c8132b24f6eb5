// huelinx-instrument-sim: plays one spectrophotometer on a serial device, so
// that the instrument code can be tried against a pseudo-terminal.
//
//   huelinx-instrument-sim --instrument NAME --device PATH [--silent]
//       [--delay SECONDS] [--uncalibrated] [--garbage] [--log FILE]
//
// Every measurement reports the known curve of instrument_replies.h. Unknown
// commands are ignored. Runs until SIGTERM or SIGINT (exit 0) or until the
// other end of the device goes away.
#include "tools/instrument_replies.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace huelinx {
namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) {
    stopRequested = 1;
}

struct Options {
    Instrument instrument = Instrument::CE7000;
    std::string device, log;
    bool silent = false;
    double delay = 0;
    SimMode mode;
};

const char* const usage =
    "usage: huelinx-instrument-sim --instrument NAME --device PATH [--silent]\n"
    "       [--delay SECONDS] [--uncalibrated] [--garbage] [--log FILE]\n"
    "NAME: CE7000, CE7000A, CE2180, XTH, Ci5/Ci7, Spectrolino, SpectroEye\n";

bool parseDelay(const char* text, double& delay) {
    char* end = nullptr;
    delay = std::strtod(text, &end);
    return end != text && *end == '\0' && delay >= 0 && delay < 3600;
}

// Fills `options`; false with a message in `error` for a bad command line.
bool parseArguments(int argc, char** argv, Options& options, std::string& error) {
    bool haveInstrument = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--silent")
            options.silent = true;
        else if (arg == "--uncalibrated")
            options.mode.calibrated = false;
        else if (arg == "--garbage")
            options.mode.garbage = true;
        else if (!hasValue)
            return error = "missing value or unknown option: " + arg, false;
        else if (arg == "--device")
            options.device = argv[++i];
        else if (arg == "--log")
            options.log = argv[++i];
        else if (arg == "--delay") {
            if (!parseDelay(argv[++i], options.delay))
                return error = std::string("bad delay: ") + argv[i], false;
        } else if (arg == "--instrument") {
            const auto instrument = instrumentNamed(argv[++i]);
            if (!instrument) return error = std::string("unknown instrument: ") + argv[i], false;
            options.instrument = *instrument;
            haveInstrument = true;
        } else
            return error = "unknown option: " + arg, false;
    }
    if (!haveInstrument || options.device.empty())
        return error = "--instrument and --device are required", false;
    return true;
}

// The device in raw mode; -1 with a message on stderr when that fails.
int openDevice(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0) {
        std::fprintf(stderr, "huelinx-instrument-sim: %s: %s\n", path.c_str(),
                     std::strerror(errno));
        return -1;
    }
    termios tio{};
    if (tcgetattr(fd, &tio) == 0) {
        cfmakeraw(&tio);
        tcsetattr(fd, TCSANOW, &tio);
    }
    return fd;
}

void installSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

// Waits `seconds`, cut short by a stop request; false when stopping.
bool pause(double seconds) {
    using namespace std::chrono;
    const auto until = steady_clock::now() + duration_cast<nanoseconds>(duration<double>(seconds));
    while (!stopRequested) {
        const auto left = until - steady_clock::now();
        if (left <= nanoseconds::zero()) break;
        std::this_thread::sleep_for(std::min<nanoseconds>(left, milliseconds(20)));
    }
    return !stopRequested;
}

void writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n < 0 && errno != EINTR && errno != EAGAIN)
            return;
    }
}

// A command as it goes into the log: CR, LF, backslash and any byte outside
// printable ASCII escaped (\r, \n, \\, \xff).
std::string escaped(std::string_view bytes) {
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r')
            text += "\\r";
        else if (c == '\n')
            text += "\\n";
        else if (c == '\\')
            text += "\\\\";
        else if (byte < 0x20 || byte >= 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", byte);
            text += hex;
        } else
            text += c;
    }
    return text;
}

class Simulator {
  public:
    Simulator(const Options& options, int fd, std::FILE* log)
        : options_(options), fd_(fd), log_(log), curve_(knownCurve()) {}

    // Handles every complete command in `bytes` and those before it.
    void received(std::string_view bytes) {
        pending_.append(bytes);
        while (std::size_t n = commandLength(options_.instrument, pending_)) {
            const std::string command = pending_.substr(0, n);
            pending_.erase(0, n);
            record(command);
            if (!options_.silent) answer(command);
        }
    }

  private:
    void record(const std::string& command) {
        if (!log_) return;
        std::fprintf(log_, "%s\n", escaped(command).c_str());
        std::fflush(log_);
    }

    void answer(const std::string& command) {
        for (const ReplyPart& part : replyTo(options_.instrument, command, curve_, options_.mode)) {
            if (!pause(part.pause + options_.delay)) return;
            writeAll(fd_, part.bytes);
        }
    }

    const Options& options_;
    int fd_;
    std::FILE* log_;
    Reflectance curve_;
    std::string pending_;
};

// Reads and answers until stopped (0) or the device fails or hangs up (1).
int serve(Simulator& simulator, int fd) {
    char buffer[1024];
    while (!stopRequested) {
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, 200);
        if (ready < 0 && errno != EINTR) break;
        if (ready <= 0) continue;
        if (!(p.revents & POLLIN)) break; // hang-up or error without data
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0)
            simulator.received(std::string_view(buffer, static_cast<std::size_t>(n)));
        else if (n == 0 || (errno != EINTR && errno != EAGAIN))
            break;
    }
    if (stopRequested) return 0;
    std::fprintf(stderr, "huelinx-instrument-sim: device closed\n");
    return 1;
}

int run(int argc, char** argv) {
    Options options;
    std::string error;
    if (!parseArguments(argc, argv, options, error)) {
        std::fprintf(stderr, "huelinx-instrument-sim: %s\n%s", error.c_str(), usage);
        return 2;
    }
    installSignalHandlers();
    const int fd = openDevice(options.device);
    if (fd < 0) return 1;
    std::FILE* log = options.log.empty() ? nullptr : std::fopen(options.log.c_str(), "a");
    if (!options.log.empty() && !log) {
        std::fprintf(stderr, "huelinx-instrument-sim: %s: %s\n", options.log.c_str(),
                     std::strerror(errno));
        ::close(fd);
        return 1;
    }
    Simulator simulator(options, fd, log);
    const int status = serve(simulator, fd);
    if (log) std::fclose(log);
    ::close(fd);
    return status;
}

} // namespace
} // namespace huelinx

int main(int argc, char** argv) {
    return huelinx::run(argc, argv);
}

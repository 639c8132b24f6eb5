#include "instruments/instrument_protocols.h"

#include "instrument_data/reply_parse.h"
#include "instruments/serial_exchange.h"
#include "platform/platform.h"
#include "platform/serial_port.h"
#include "text/excerpt.h"

#include <cctype>

namespace huelinx {

namespace {

const QByteArray cr = "\r";

// The pause between wake-up tries: an instrument that answers at once, but
// not as awake, is not flooded with commands.
constexpr double wakeUpPause = 0.1;

// The name an instrument is known by in its messages.
QString displayName(const QString& name) {
    if (name == "CE7000" || name == "CE7000A") return "CE-7000";
    if (name == "CE2180") return "CE-2180";
    return name;
}

QString text(const QByteArray& bytes) {
    return QString::fromLatin1(bytes);
}

// A reply quoted in a message: its first 40 characters, control bytes as ?.
QString quotedReply(const QByteArray& bytes) {
    return QString::fromLatin1(excerpt(bytes.toStdString()));
}

} // namespace

Spectrophotometer::Spectrophotometer(Platform& platform,
                                     std::function<void(const QString&)> showMessage)
    : platform_(platform), showMessage_(std::move(showMessage)) {}

bool Spectrophotometer::openPort(const QString& name, const PortChoice& choice) {
    SerialPort& port = platform_.serialPort();
    port.setPort(choice);
    instrument_ = displayName(name);
    portText_ = choice.describe(port.deviceOf(choice));
    const bool fast = name == "XTH" || name == "Ci5/Ci7";
    const bool spectro = name == "Spectrolino" || name == "SpectroEye";
    port.setSettings(fast ? "38400,N,8,1" : spectro ? "9600,n,8,1" : "9600,N,8,1");
    port.setHandshaking(fast ? 2 : 0);
    if (spectro) port.setRtsEnable(true);
    QString error;
    if (port.open(error)) return true;
    platform_.message(displayName(name) + " not connected: " + error);
    return false;
}

MeasureEnd Spectrophotometer::endWith(const QString& message) {
    platform_.serialPort().close();
    platform_.message(message);
    return MeasureEnd::Ends;
}

MeasureEnd Spectrophotometer::notResponding() {
    return endWith("Instrument not responding");
}

MeasureEnd Spectrophotometer::unreadable() {
    return endWith("Measurement data not readable");
}

MeasureEnd Spectrophotometer::disconnected() {
    return endWith(instrument_ + " disconnected: " + portText_ + " is gone");
}

MeasureEnd Spectrophotometer::failed(WaitEnd end, const QString& onTimeout) {
    return end == WaitEnd::Disconnected ? disconnected() : endWith(onTimeout);
}

MeasureEnd Spectrophotometer::failed(WaitEnd end) {
    return end == WaitEnd::Disconnected ? disconnected() : notResponding();
}

bool Spectrophotometer::wakeUp(SerialExchange& x, char first, bool startBeforeSending,
                               const QString& onTimeout, bool timeoutEnds, bool showReplies) {
    const float bound = SerialExchange::instrumentBound;
    SerialExchange total(platform_, platform_.serialPort());
    total.startClock();
    const auto show = [this](const QByteArray& reply) { showMessage_(text(reply)); };
    for (;;) {
        if (startBeforeSending) x.startClock();
        x.send("R" + cr);
        if (!startBeforeSending) x.startClock();
        const WaitEnd end = x.promptWait(
            ">", 2, false, showReplies ? show : std::function<void(const QByteArray&)>());
        if (end == WaitEnd::Disconnected) {
            disconnected();
            return false;
        }
        if (end == WaitEnd::TimedOut) {
            showMessage_(onTimeout);
            if (timeoutEnds) {
                platform_.serialPort().close();
                return false;
            }
        }
        platform_.processEvents();
        if (!x.reply.isEmpty() && std::tolower(static_cast<unsigned char>(x.reply[0])) == first &&
            x.reply.endsWith(">"))
            return true;
        if (total.elapsed() > bound) return giveUpWaking(x.reply);
        platform_.pause(wakeUpPause);
    }
}

bool Spectrophotometer::giveUpWaking(const QByteArray& lastReply) {
    if (!lastReply.isEmpty()) showMessage_("Last reply: " + quotedReply(lastReply));
    notResponding();
    return false;
}

MeasureEnd Spectrophotometer::measure(const QString& name, const PortChoice& port,
                                      Reflectance& curve) {
    const bool known = name == "Ci5/Ci7" || name == "Spectrolino" || name == "SpectroEye" ||
                       name == "XTH" || name == "CE2180" || name == "CE7000" || name == "CE7000A";
    if (!known) return MeasureEnd::ClosingRuns;
    if (!openPort(name, port)) return MeasureEnd::Ends;
    SerialExchange x(platform_, platform_.serialPort());
    if (name == "Ci5/Ci7") return ci(x, curve);
    if (name == "Spectrolino" || name == "SpectroEye") return spectrolino(x, curve);
    if (name == "XTH") return xth(x, curve);
    if (name == "CE2180") return ce2180(x, curve);
    return ce7000(x, curve);
}

MeasureEnd Spectrophotometer::ce7000(SerialExchange& x, Reflectance& curve) {
    x.send("R");
    x.startClock();
    if (const WaitEnd e = x.promptWait(">", 5, true); e != WaitEnd::Answered)
        return failed(e, "CE-7000 not connected");
    x.send("M" + cr);
    if (const WaitEnd e = x.countWait(19, true); e != WaitEnd::Answered) return failed(e);
    if (!x.reply.startsWith("11")) {
        platform_.message("Calibrate Instrument");
        return MeasureEnd::ClosingRuns;
    }
    if (const WaitEnd e = x.lengthWait(422, true); e != WaitEnd::Answered) return failed(e);
    return parseCe7000(x.reply.toStdString(), curve) ? MeasureEnd::Filled : unreadable();
}

MeasureEnd Spectrophotometer::ce2180(SerialExchange& x, Reflectance& curve) {
    x.send("v");
    x.startClock();
    if (const WaitEnd e = x.promptWait("\n", 5, true); e != WaitEnd::Answered)
        return failed(e, "CE-2180 not connected");
    x.send("M");
    if (const WaitEnd e = x.countWait(18, true); e != WaitEnd::Answered) return failed(e);
    if (!x.reply.startsWith("11")) {
        platform_.message("Calibrate Instrument");
        return MeasureEnd::ClosingRuns;
    }
    if (const WaitEnd e = x.countWait(290, true); e != WaitEnd::Answered) return failed(e);
    return parseCe2180(x.reply.toStdString(), curve) ? MeasureEnd::Filled : unreadable();
}

MeasureEnd Spectrophotometer::xth(SerialExchange& x, Reflectance& curve) {
    if (!wakeUp(x, 'x', false, "XTH Sleeping", false, false)) return MeasureEnd::Ends;
    x.startClock();
    x.send("M 8" + cr);
    if (const WaitEnd e = x.firstByteWait(); e != WaitEnd::Answered) return failed(e);
    const WaitEnd end = x.promptWait(">", 5, false);
    if (end == WaitEnd::Disconnected) return disconnected();
    if (end == WaitEnd::TimedOut) {
        platform_.message("error in Measurement");
        return MeasureEnd::ClosingRuns;
    }
    if (!x.reply.startsWith("11")) {
        platform_.message("Instrument Uncalibrated");
        return MeasureEnd::ClosingRuns;
    }
    return parseXth(x.reply.toStdString(), curve) ? MeasureEnd::Filled : unreadable();
}

MeasureEnd Spectrophotometer::ci(SerialExchange& x, Reflectance& curve) {
    const auto lost = [this](WaitEnd end) {
        if (end == WaitEnd::Disconnected) return disconnected();
        showMessage_("Ci5/Ci7 not connected");
        platform_.serialPort().close();
        return MeasureEnd::Ends;
    };
    if (!wakeUp(x, 'i', true, "Ci5/Ci7 not connected", true, false)) return MeasureEnd::Ends;
    if (!ciConfigured) {
        x.startClock();
        x.send("config -mode=sce" + cr);
        if (const WaitEnd e = x.promptWait(">", 2, false); e != WaitEnd::Answered) return lost(e);
        ciConfigured = true;
    }
    platform_.processEvents();
    x.startClock();
    x.send("measure" + cr);
    if (const WaitEnd e = x.promptWait(">", 10, false); e != WaitEnd::Answered) return lost(e);
    return parseCi(x.reply.toStdString(), curve) ? MeasureEnd::Filled : unreadable();
}

MeasureEnd Spectrophotometer::spectrolino(SerialExchange& x, Reflectance& curve) {
    const QByteArray prefix(250, '\xff');
    x.startClock();
    x.send(prefix + "; 32\r\n");
    if (const WaitEnd e = x.promptWait("\r\n", 5, false); e != WaitEnd::Answered)
        return failed(e, "SpectroEye not responding - Settings serial 9600 handshake=No");
    showMessage_(text(x.reply));
    x.startClock();
    x.send(prefix + "; 184 9 0\r\n");
    if (const WaitEnd e = x.promptWait("\r\n", 5, false); e != WaitEnd::Answered)
        return failed(e, "SpectroEye data not returned - message=" + quotedReply(x.reply));
    return parseSpectrolino(x.reply.toStdString(), curve) ? MeasureEnd::Filled : unreadable();
}

} // namespace huelinx

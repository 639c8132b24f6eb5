// Calibration: the instrument is woken, and the user is asked to present each
// standard in turn before its calibration command goes out.
#include "instruments/instrument_protocols.h"
#include "instruments/serial_exchange.h"
#include "platform/platform.h"
#include "platform/serial_port.h"

namespace huelinx {

namespace {

const QByteArray cr = "\r";

} // namespace

void Spectrophotometer::calibrate(const QString& name, const PortChoice& choice) {
    SerialPort& port = platform_.serialPort();
    if (name == "Spectrolino" || name == "SpectroEye") {
        platform_.message("Follow users manual for Calibration of Spectrolino / SpectroEye");
    } else if (name == "Ci5/Ci7" || name == "XTH" || name == "CE2180" || name == "CE7000" ||
               name == "CE7000A") {
        if (!openPort(name, choice)) return;
        SerialExchange x(platform_, port);
        if (name == "Ci5/Ci7")
            calibrateCi(x);
        else if (name == "XTH")
            calibrateXth(x);
        else if (name == "CE2180")
            calibrateCe2180(x);
        else
            calibrateCe7000(x);
    } else if (name == "Instrument") {
        platform_.message("No Instrument found - CE-7000 or CE-2180 only", Buttons::Ok,
                          Icon::Critical);
    }
    if (port.isOpen()) port.close();
}

bool Spectrophotometer::replyShown(SerialExchange& x, const QByteArray& command) {
    x.startClock();
    x.send(command + cr);
    if (x.promptWait(">", 10, false) == WaitEnd::Disconnected) {
        disconnected();
        return false;
    }
    showMessage_(QString::fromLatin1(x.reply));
    return true;
}

void Spectrophotometer::calibrateCe7000(SerialExchange& x) {
    x.send("R");
    x.startClock();
    if (const WaitEnd e = x.promptWait(">", 5, true); e != WaitEnd::Answered)
        return void(failed(e, "CE-7000 not connected"));
    if (platform_.message("Open Port", Buttons::YesNoCancel) == Answer::Yes) {
        x.send("I" + cr);
        if (const WaitEnd e = x.countWait(19, true); e != WaitEnd::Answered) return void(failed(e));
    }
    const Answer white = platform_.message("White Standard", Buttons::YesNoCancel);
    if (white == Answer::Yes) {
        x.send("C" + cr);
        if (const WaitEnd e = x.countWait(19, true); e != WaitEnd::Answered) failed(e);
    }
}

void Spectrophotometer::calibrateCe2180(SerialExchange& x) {
    x.send("v");
    x.startClock();
    if (const WaitEnd e = x.promptWait("\n", 5, true); e != WaitEnd::Answered)
        return void(failed(e, "CE-2180 not connected"));
    x.send("K");
    if (const WaitEnd e = x.countWait(18, true); e != WaitEnd::Answered) return void(failed(e));
    const Answer white = platform_.message("White Standard", Buttons::YesNoCancel);
    if (white == Answer::Cancel) return;
    if (white == Answer::Yes) {
        x.send("C");
        if (const WaitEnd e = x.countWait(18, true); e != WaitEnd::Answered) return void(failed(e));
    }
    if (platform_.message("Open Port", Buttons::YesNoCancel) == Answer::Yes) {
        x.send("B");
        if (const WaitEnd e = x.countWait(18, true); e != WaitEnd::Answered) failed(e);
    }
}

void Spectrophotometer::calibrateXth(SerialExchange& x) {
    if (!wakeUp(x, 'x', true, "XT Sleeping", false, false)) return;
    // A step the user skips or the instrument leaves unanswered does not stop
    // the next; a device gone does.
    const auto step = [&](const char* question, const QByteArray& command) {
        if (platform_.message(question, Buttons::OkCancel, Icon::None, "XT Calibration") !=
            Answer::Ok)
            return true;
        return replyShown(x, command);
    };
    if (step("White Calibration", "C")) step("Open Port Calibration", "B");
}

void Spectrophotometer::calibrateCi(SerialExchange& x) {
    if (!wakeUp(x, 'i', true, "Ci5/Ci7 not connected", true, true)) return;
    x.startClock();
    x.send("config -mode=sce" + cr);
    const WaitEnd configured = x.promptWait(">", 2, false);
    if (configured == WaitEnd::Disconnected) return void(disconnected());
    if (configured == WaitEnd::TimedOut) {
        showMessage_("Ci5/Ci7 not connected");
        platform_.serialPort().close();
        return;
    }
    platform_.processEvents();
    const auto step = [&](const char* question, const char* title, const QByteArray& command) {
        if (platform_.message(question, Buttons::OkCancel, Icon::None, title) != Answer::Ok)
            return true;
        return replyShown(x, command);
    };
    if (step("White Ceramic Calibration", "Instrument Calibration", "whitecal"))
        step("Black Trap Calibration", "Black Calibration", "blackcal");
}

} // namespace huelinx

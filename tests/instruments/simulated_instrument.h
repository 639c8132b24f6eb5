// The simulated instruments for window tests: a fake port that answers as the
// instrument simulator does, and the known curve as files write it.
#pragma once

#include "test_doubles/fake_serial_port.h"
#include "tools/instrument_replies.h"

#include <QString>

#include <functional>

namespace huelinx::testing {

using ReplyEdit =
    std::function<void(const QByteArray& written, std::vector<FakeSerialPort::Arrival>&)>;

// The replies of the named instrument to each command, 50 ms after it, with
// their own pauses; `edit` may change or drop the arrivals of a command.
inline FakeSerialPort::Responder simulatorResponder(const QString& name, SimMode mode = {},
                                                    ReplyEdit edit = {}) {
    const Instrument instrument = *instrumentNamed(name.toStdString());
    return [=](const QByteArray& written) {
        std::vector<FakeSerialPort::Arrival> arrivals;
        double at = 0.05;
        for (const ReplyPart& part :
             replyTo(instrument, written.toStdString(), knownCurve(), mode)) {
            at += part.pause;
            arrivals.push_back({at, QByteArray::fromStdString(part.bytes)});
        }
        if (edit) edit(written, arrivals);
        return arrivals;
    };
}

// The known curve's 40 readings as a reflectance file writes them: two
// decimals, separated by commas.
inline QByteArray knownCurveText() {
    QByteArray text;
    for (int i = 1; i <= 40; ++i)
        text += (i > 1 ? "," : "") + QByteArray::number(knownReflectance(i), 'f', 2);
    return text;
}

} // namespace huelinx::testing

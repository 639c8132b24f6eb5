// A fake port that answers as the instrument simulator does: the replies of the
// named instrument to each command, 50 ms after it, with their own pauses.
#pragma once

#include "test_doubles/fake_serial_port.h"
#include "tools/instrument_replies.h"

#include <QString>

#include <functional>

namespace huelinx::testing {

using ReplyEdit =
    std::function<void(const QByteArray& written, std::vector<FakeSerialPort::Arrival>&)>;

// `edit` may change or drop the arrivals of a command.
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

} // namespace huelinx::testing

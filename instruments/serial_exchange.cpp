#include "instruments/serial_exchange.h"

#include "platform/platform.h"
#include "platform/serial_port.h"

namespace huelinx {

namespace {

float sinceStart(float now, float start) {
    float elapsed = now - start;
    if (elapsed < 0.0f) elapsed += 86400.0f;
    return elapsed;
}

} // namespace

float SerialExchange::now() {
    return static_cast<float>(platform_.secondsSinceMidnight());
}

void SerialExchange::send(const QByteArray& command) {
    port_.write(command);
}

void SerialExchange::startClock() {
    start_ = now();
}

float SerialExchange::elapsed() {
    return sinceStart(now(), start_);
}

WaitEnd SerialExchange::promptWait(const QByteArray& terminator, float limit, bool processEvents,
                                   const std::function<void(const QByteArray&)>& onRead) {
    reply.clear();
    float passed = 0;
    for (;;) {
        reply += port_.readAll();
        if (onRead) onRead(reply);
        passed = elapsed();
        if (reply.endsWith(terminator) || passed > limit) break;
        if (port_.deviceGone()) return WaitEnd::Disconnected;
        if (processEvents) platform_.processEvents();
    }
    // Past the limit counts as timed out even when the terminator came with the last read.
    return passed > limit ? WaitEnd::TimedOut : WaitEnd::Answered;
}

WaitEnd SerialExchange::bounded(const std::function<bool()>& arrived, bool processEvents) {
    const float start = now();
    while (!arrived()) {
        if (port_.deviceGone()) return WaitEnd::Disconnected;
        if (sinceStart(now(), start) > instrumentBound) return WaitEnd::TimedOut;
        if (processEvents) platform_.processEvents();
    }
    return WaitEnd::Answered;
}

WaitEnd SerialExchange::countWait(int count, bool processEvents) {
    const WaitEnd end = bounded([&] { return port_.bytesAvailable() >= count; }, processEvents);
    if (end != WaitEnd::Answered) return end;
    reply = port_.readAll();
    return WaitEnd::Answered;
}

WaitEnd SerialExchange::lengthWait(int length, bool processEvents) {
    return bounded(
        [&] {
            reply += port_.readAll();
            return reply.size() >= length;
        },
        processEvents);
}

WaitEnd SerialExchange::firstByteWait() {
    return bounded([&] { return port_.bytesAvailable() != 0; }, false);
}

} // namespace huelinx

// The reply waits of the instrument protocols, over the platform's serial
// port and clock.
//
//   prompt wait: read until the reply ends with a terminator or more than a
//                limit has passed since the start time (timed out then, even
//                if the terminator did arrive);
//   count wait:  until a number of bytes has arrived, then read them all;
//   length wait: read on until the reply holds a number of bytes.
//
// Elapsed time is taken on the time of day in single precision; across
// midnight a day is added. Count and length waits, and waits for a first
// byte, give up after `instrumentBound` seconds. Every wait ends at once when
// the device goes away under the open port.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace huelinx {

class Platform;
class SerialPort;

// How a reply wait ended.
enum class WaitEnd {
    Answered,     // the terminator, or the bytes waited for, came in time
    TimedOut,     // the limit or the instrument bound passed first
    Disconnected, // the device went away (pulled out) before the reply was complete
};

class SerialExchange {
  public:
    static constexpr float instrumentBound = 10.0f;

    SerialExchange(Platform& platform, SerialPort& port) : platform_(platform), port_(port) {}

    void send(const QByteArray& command);
    // Start time = now.
    void startClock();
    // Seconds since the start time.
    float elapsed();

    // `limit` in seconds. `processEvents` lets the window run on each pass;
    // `onRead` sees the reply after each read.
    WaitEnd promptWait(const QByteArray& terminator, float limit, bool processEvents,
                       const std::function<void(const QByteArray&)>& onRead = {});
    // TimedOut when the bytes did not come within the instrument bound.
    WaitEnd countWait(int count, bool processEvents);
    WaitEnd lengthWait(int length, bool processEvents);
    WaitEnd firstByteWait();

    QByteArray reply;

  private:
    float now();
    // Runs `arrived` until it is true, the bound has passed or the device has gone.
    WaitEnd bounded(const std::function<bool()>& arrived, bool processEvents);

    Platform& platform_;
    SerialPort& port_;
    float start_ = 0;
};

} // namespace huelinx

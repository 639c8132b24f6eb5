// Calibration and measurement of the spectrophotometers on the serial port:
// CE7000 and CE7000A, CE2180, XTH, Ci5/Ci7, Spectrolino and SpectroEye. The
// window only starts a run and shows its outcome; the exchanges and the
// reading of the replies happen here.
#pragma once

#include "colour/tristimulus.h"
#include "platform/port_choice.h"

#include <QString>

#include <functional>

namespace huelinx {

class Platform;
class SerialExchange;

enum class WaitEnd;

enum class MeasureEnd {
    Filled,      // the curve holds the new measurement
    ClosingRuns, // a reported failure: the colour is recomputed from the stored curve
    Ends,        // a reported failure: nothing more happens
};

class Spectrophotometer {
  public:
    // `showMessage` puts a text into the window's messages box.
    Spectrophotometer(Platform& platform, std::function<void(const QString&)> showMessage);

    // Measures with the named instrument on `port`; a name of no instrument
    // leaves the curve and returns ClosingRuns. The port is left open after
    // Filled and ClosingRuns (the caller closes it) and closed after Ends.
    MeasureEnd measure(const QString& name, const PortChoice& port, Reflectance& curve);
    // Leads the user through the named instrument's calibration; closes the port.
    void calibrate(const QString& name, const PortChoice& port);

    // Set once the Ci5/Ci7 has taken its configuration; lasts the whole run.
    bool ciConfigured = false;

  private:
    bool openPort(const QString& name, const PortChoice& port);
    MeasureEnd endWith(const QString& message);
    MeasureEnd notResponding();
    MeasureEnd unreadable();
    // The device went away under the open port: says so, naming the port.
    MeasureEnd disconnected();
    // Ends the run after a wait that was not answered: a device gone as
    // disconnected, a time-out with `onTimeout`.
    MeasureEnd failed(WaitEnd end, const QString& onTimeout);
    MeasureEnd failed(WaitEnd end);
    // Sends "R" until the reply starts with `first` (any case) and ends with
    // ">", pausing between tries; false (port closed, reported) when it never
    // does within the instrument bound, the last reply then in the messages
    // box. A 2 s time-out puts `onTimeout` into the messages box and ends the
    // wake-up when `timeoutEnds`; `showReplies` shows the reply after every read.
    bool wakeUp(SerialExchange& x, char first, bool startBeforeSending, const QString& onTimeout,
                bool timeoutEnds, bool showReplies);
    bool giveUpWaking(const QByteArray& lastReply);

    MeasureEnd ce7000(SerialExchange& x, Reflectance& curve);
    MeasureEnd ce2180(SerialExchange& x, Reflectance& curve);
    MeasureEnd xth(SerialExchange& x, Reflectance& curve);
    MeasureEnd ci(SerialExchange& x, Reflectance& curve);
    MeasureEnd spectrolino(SerialExchange& x, Reflectance& curve);

    // Sends a calibration command and shows the reply, whenever it ends;
    // false (reported) when the device went away.
    bool replyShown(SerialExchange& x, const QByteArray& command);
    void calibrateCe7000(SerialExchange& x);
    void calibrateCe2180(SerialExchange& x);
    void calibrateXth(SerialExchange& x);
    void calibrateCi(SerialExchange& x);

    Platform& platform_;
    std::function<void(const QString&)> showMessage_;
    // The instrument and port of the run, as messages name them.
    QString instrument_, portText_;
};

} // namespace huelinx

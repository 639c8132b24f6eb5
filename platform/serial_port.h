// The serial port the instruments are driven through: the port chosen, line
// settings, handshaking and the RTS line, open and close, write, read what has
// arrived, and count it. Bytes pass unchanged (0..255). Reading never blocks
// for long: a read or count returns what has arrived within a short poll.
#pragma once

#include "platform/port_choice.h"

#include <QByteArray>
#include <QString>

namespace huelinx {

class SerialPort {
  public:
    virtual ~SerialPort() = default;

    // The port the next open uses.
    virtual void setPort(const PortChoice& choice) = 0;
    // The device `choice` means on this machine now ("/dev/ttyUSB0", "COM3");
    // empty when there is none.
    virtual QString deviceOf(const PortChoice& choice) = 0;
    // Line settings such as "9600,N,8,1" (baud, parity N/E/O in any case,
    // data bits, stop bits).
    virtual void setSettings(const QString& settings) = 0;
    // 0 none, 2 RTS/CTS.
    virtual void setHandshaking(int mode) = 0;
    virtual void setRtsEnable(bool on) = 0;
    // Opens the port; false with a message naming the port when it does not
    // exist (then also the ports that do), is busy or refuses the settings.
    virtual bool open(QString& error) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual void write(const QByteArray& data) = 0;
    // Everything received and not yet handed over (possibly nothing).
    virtual QByteArray readAll() = 0;
    // Number of bytes received and not yet handed over.
    virtual int bytesAvailable() = 0;
    // True once the device has gone away since the port was opened (a USB
    // adapter pulled out): nothing more will arrive, so waits end at once.
    // Opening the port again clears it.
    virtual bool deviceGone() = 0;
};

} // namespace huelinx

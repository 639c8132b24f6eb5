// The serial port of the real program, over QSerialPort. Reads and counts
// poll the port briefly, so waits that call them in a loop do not spin.
#pragma once

#include "platform/serial_port.h"

#include <QSerialPort>
#include <QStringList>

#include <functional>

namespace huelinx {

class QtSerialPort : public SerialPort {
  public:
    // `listDevices` gives the machine's serial devices in port-number order;
    // by default those Qt finds (see machineDevices).
    explicit QtSerialPort(std::function<QStringList()> listDevices = {});

    void setPort(const PortChoice& choice) override { choice_ = choice; }
    // Port n is COMn on Windows and the n-th device of the list elsewhere. A
    // device by name is used as given on Windows; elsewhere a name without a
    // folder is in /dev, and the device must exist.
    QString deviceOf(const PortChoice& choice) override;
    void setSettings(const QString& settings) override { settings_ = settings; }
    void setHandshaking(int mode) override { handshaking_ = mode; }
    void setRtsEnable(bool on) override;
    bool open(QString& error) override;
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    void write(const QByteArray& data) override;
    QByteArray readAll() override;
    int bytesAvailable() override;
    // Reads failing under the open port (Qt's read or resource error), or,
    // outside Windows, the device file gone.
    bool deviceGone() override;

    // The serial devices Qt finds: their names (COM3) on Windows, their
    // paths elsewhere, in port order (see inPortOrder).
    static QStringList machineDevices();
    // Devices in port-number order: families of names in text order
    // (/dev/ttyACM before /dev/ttyS before /dev/ttyUSB), and the devices of a
    // family by their number, so /dev/ttyS2 comes before /dev/ttyS10.
    static QStringList inPortOrder(QStringList devices);

  private:
    bool applySettings(QString& error);
    // "the serial ports are 1 = /dev/ttyS0, 2 = /dev/ttyUSB0" (on Windows
    // "... are COM1, COM3"), or "there are no serial ports".
    QString existingPortsText();

    std::function<QStringList()> listDevices_;
    QSerialPort port_;
    PortChoice choice_;
    QString settings_ = "9600,N,8,1";
    QString openDevice_;
    int handshaking_ = 0;
    bool rts_ = false, gone_ = false;
};

} // namespace huelinx

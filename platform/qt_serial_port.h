// The serial port of the real program, over QSerialPort. Reads and counts
// poll the port briefly, so waits that call them in a loop do not spin.
#pragma once

#include "platform/serial_port.h"

#include <QSerialPort>

#include <functional>

namespace huelinx {

class QtSerialPort : public SerialPort {
  public:
    // `deviceFor` names the device of port n; by default COMn on Windows and
    // the n-th serial device of the machine elsewhere.
    explicit QtSerialPort(std::function<QString(int)> deviceFor = {});

    void setPortNumber(int number) override { portNumber_ = number; }
    void setSettings(const QString& settings) override { settings_ = settings; }
    void setHandshaking(int mode) override { handshaking_ = mode; }
    void setRtsEnable(bool on) override;
    bool open(QString& error) override;
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    void write(const QByteArray& data) override;
    QByteArray readAll() override;
    int bytesAvailable() override;

    // The device of port n by the default rule; empty when there is none.
    static QString defaultDevice(int number);

  private:
    bool applySettings(QString& error);

    std::function<QString(int)> deviceFor_;
    QSerialPort port_;
    QString settings_ = "9600,N,8,1";
    int portNumber_ = 1, handshaking_ = 0;
    bool rts_ = false;
};

} // namespace huelinx

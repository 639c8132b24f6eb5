#include "platform/qt_serial_port.h"

#include <QSerialPortInfo>
#include <QStringList>

#include <algorithm>

namespace huelinx {

namespace {

// How long one read or count waits for bytes to come in.
constexpr int pollMilliseconds = 5;

} // namespace

QtSerialPort::QtSerialPort(std::function<QString(int)> deviceFor)
    : deviceFor_(deviceFor ? std::move(deviceFor) : defaultDevice) {}

QString QtSerialPort::defaultDevice(int number) {
#ifdef Q_OS_WIN
    return QString("COM%1").arg(number);
#else
    QStringList devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices << info.systemLocation();
    devices.sort();
    return number >= 1 && number <= devices.size() ? devices[number - 1] : QString();
#endif
}

void QtSerialPort::setRtsEnable(bool on) {
    rts_ = on;
    // Pseudo-terminals and some adapters have no RTS line: that is no error.
    if (port_.isOpen()) port_.setRequestToSend(on);
}

bool QtSerialPort::applySettings(QString& error) {
    const QStringList parts = settings_.split(',');
    bool baudOk = false;
    const int baud = parts.value(0).trimmed().toInt(&baudOk);
    const QString parity = parts.value(1).trimmed().toUpper();
    const int bits = parts.value(2).trimmed().toInt();
    const QString stop = parts.value(3).trimmed();
    if (parts.size() != 4 || !baudOk || !QString("NEOMS").contains(parity) || parity.size() != 1 ||
        bits < 5 || bits > 8 || (stop != "1" && stop != "1.5" && stop != "2")) {
        error = "the line settings \"" + settings_ + "\" are not understood";
        return false;
    }
    const QSerialPort::Parity parities[] = {QSerialPort::NoParity, QSerialPort::EvenParity,
                                            QSerialPort::OddParity, QSerialPort::MarkParity,
                                            QSerialPort::SpaceParity};
    port_.setBaudRate(baud);
    port_.setParity(parities[QString("NEOMS").indexOf(parity)]);
    port_.setDataBits(static_cast<QSerialPort::DataBits>(bits));
    port_.setStopBits(stop == "1"   ? QSerialPort::OneStop
                      : stop == "2" ? QSerialPort::TwoStop
                                    : QSerialPort::OneAndHalfStop);
    port_.setFlowControl(handshaking_ == 2   ? QSerialPort::HardwareControl
                         : handshaking_ == 1 ? QSerialPort::SoftwareControl
                                             : QSerialPort::NoFlowControl);
    return true;
}

bool QtSerialPort::open(QString& error) {
    if (port_.isOpen()) port_.close();
    const QString device = deviceFor_(portNumber_);
    if (device.isEmpty()) {
        error = QString("port %1 does not exist").arg(portNumber_);
        return false;
    }
    port_.setPortName(device);
    QString settingsError;
    if (!applySettings(settingsError)) {
        error = QString("port %1 (%2): %3").arg(portNumber_).arg(device, settingsError);
        return false;
    }
    if (!port_.open(QIODevice::ReadWrite)) {
        error = QString("port %1 (%2) can't be opened: %3")
                    .arg(portNumber_)
                    .arg(device, port_.errorString());
        return false;
    }
    // Devices without DTR or RTS lines refuse these; the port still works.
    port_.setDataTerminalReady(true);
    if (handshaking_ != 2) port_.setRequestToSend(rts_);
    port_.clear();
    return true;
}

void QtSerialPort::close() {
    if (port_.isOpen()) port_.close();
}

void QtSerialPort::write(const QByteArray& data) {
    if (!port_.isOpen()) return;
    port_.write(data);
    port_.waitForBytesWritten(1000);
}

QByteArray QtSerialPort::readAll() {
    if (!port_.isOpen()) return {};
    if (port_.bytesAvailable() == 0) port_.waitForReadyRead(pollMilliseconds);
    return port_.readAll();
}

int QtSerialPort::bytesAvailable() {
    if (!port_.isOpen()) return 0;
    port_.waitForReadyRead(pollMilliseconds);
    return static_cast<int>(port_.bytesAvailable());
}

} // namespace huelinx

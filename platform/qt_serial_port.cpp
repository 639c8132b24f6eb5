#include "platform/qt_serial_port.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>
#include <utility>

namespace huelinx {

namespace {

// How long one read or count waits for bytes to come in.
constexpr int pollMilliseconds = 5;

#ifdef Q_OS_WIN
constexpr bool windows = true;
#else
constexpr bool windows = false;
#endif

// A device name as its family (the text before its trailing digits) and its
// number (those digits without leading zeros).
std::pair<QStringView, QStringView> familyAndNumber(const QString& name) {
    qsizetype digits = name.size();
    while (digits > 0 && name[digits - 1].isDigit())
        --digits;
    qsizetype significant = digits;
    while (significant + 1 < name.size() && name[significant] == u'0')
        ++significant;
    return {QStringView(name).left(digits), QStringView(name).mid(significant)};
}

// Families in text order; within a family by number, compared digit by digit
// so that no number is too long to compare.
bool portBefore(const QString& a, const QString& b) {
    const auto [familyA, numberA] = familyAndNumber(a);
    const auto [familyB, numberB] = familyAndNumber(b);
    if (const int c = familyA.compare(familyB); c != 0) return c < 0;
    if (numberA.size() != numberB.size()) return numberA.size() < numberB.size();
    if (const int c = numberA.compare(numberB); c != 0) return c < 0;
    return a < b;
}

} // namespace

QtSerialPort::QtSerialPort(std::function<QStringList()> listDevices)
    : listDevices_(listDevices ? std::move(listDevices) : machineDevices) {}

QStringList QtSerialPort::machineDevices() {
    QStringList devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices << (windows ? info.portName() : info.systemLocation());
    return inPortOrder(std::move(devices));
}

QStringList QtSerialPort::inPortOrder(QStringList devices) {
    std::sort(devices.begin(), devices.end(), portBefore);
    return devices;
}

QString QtSerialPort::deviceOf(const PortChoice& choice) {
    if (!choice.byDevice()) {
        if (windows) return choice.number >= 1 ? QString("COM%1").arg(choice.number) : QString();
        const QStringList devices = listDevices_();
        return choice.number >= 1 ? devices.value(choice.number - 1) : QString();
    }
    if (windows) return choice.device;
    const QString path = choice.device.contains('/') ? choice.device : "/dev/" + choice.device;
    return QFileInfo::exists(path) ? path : QString();
}

QString QtSerialPort::existingPortsText() {
    const QStringList devices = listDevices_();
    if (devices.isEmpty()) return "there are no serial ports";
    QStringList ports;
    for (int i = 0; i < devices.size(); ++i)
        ports << (windows ? devices[i] : QString("%1 = %2").arg(i + 1).arg(devices[i]));
    return "the serial ports are " + ports.join(", ");
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
    gone_ = false;
    const QString device = deviceOf(choice_);
    const QString port = choice_.describe(device);
    if (device.isEmpty()) {
        error = port + " does not exist; " + existingPortsText();
        return false;
    }
    port_.setPortName(device);
    QString settingsError;
    if (!applySettings(settingsError)) {
        error = port + ": " + settingsError;
        return false;
    }
    port_.clearError();
    if (!port_.open(QIODevice::ReadWrite)) {
        error = port + " can't be opened: " + port_.errorString();
        if (port_.error() == QSerialPort::DeviceNotFoundError) error += "; " + existingPortsText();
        return false;
    }
    openDevice_ = device;
    // Devices without DTR or RTS lines refuse these; the port still works.
    port_.setDataTerminalReady(true);
    if (handshaking_ != 2) port_.setRequestToSend(rts_);
    port_.clear();
    return true;
}

void QtSerialPort::close() {
    if (port_.isOpen()) port_.close();
}

bool QtSerialPort::deviceGone() {
    if (gone_ || !port_.isOpen()) return gone_;
    // A hung-up device reads as an end of file, which Qt reports as a read
    // error (a resource error when the system says the device failed); its
    // file goes when the adapter is pulled out.
    const QSerialPort::SerialPortError error = port_.error();
    gone_ = error == QSerialPort::ResourceError || error == QSerialPort::ReadError ||
            (!windows && !QFileInfo::exists(openDevice_));
    return gone_;
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

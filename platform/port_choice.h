// The serial port as the user chooses it in "Comm Port" and on line 2 of the
// settings file: a number, port n (COMn on Windows, the n-th of the machine's
// serial devices in port order elsewhere: ttyS2 before ttyS10), or a device
// by its path or name ("/dev/ttyUSB0", "ttyUSB0", "COM3"), which stays the
// same device however many others are plugged in or out.
#pragma once

#include <QString>

namespace huelinx {

struct PortChoice {
    int number = 1;
    // When not empty, the port is this device and `number` is not used.
    QString device;

    bool byDevice() const { return !device.isEmpty(); }
    // As the port box shows it: "2", or the device as it was given.
    QString text() const { return byDevice() ? device : QString::number(number); }
    // The port as messages name it, given the device it means (empty when there
    // is none): "port 2 (/dev/ttyUSB0)", "port 2", "port /dev/ttyUSB0".
    QString describe(const QString& meantDevice) const {
        if (byDevice()) return "port " + (meantDevice.isEmpty() ? device : meantDevice);
        const QString port = QString("port %1").arg(number);
        return meantDevice.isEmpty() ? port : port + " (" + meantDevice + ")";
    }
};

} // namespace huelinx

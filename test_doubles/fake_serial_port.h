// A serial port for tests: what is written is recorded, and a responder
// script decides what arrives and when, on the scripted platform's clock. The
// device can be pulled out at a chosen moment.
#pragma once

#include "platform/serial_port.h"

#include <QStringList>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace huelinx {

class FakeSerialPort : public SerialPort {
  public:
    // A reply part: bytes that arrive `delay` seconds after the write.
    struct Arrival {
        double delay;
        QByteArray bytes;
    };
    using Responder = std::function<std::vector<Arrival>(const QByteArray& written)>;

    // `now` gives the current time in seconds, never wrapping.
    explicit FakeSerialPort(std::function<double()> now) : now_(std::move(now)) {}

    void setResponder(Responder responder) { responder_ = std::move(responder); }
    // Makes the next opens fail, as a missing or busy port does.
    void setOpenFails(bool fails) { openFails_ = fails; }
    // The machine's serial devices in port-number order (none by default).
    void setDevices(const QStringList& devices) { devices_ = devices; }
    // The device goes away `seconds` from now: what arrived before stays
    // readable, nothing arrives after. Opening the port again plugs it back in.
    void unplugAfter(double seconds) { goneAt_ = now_() + seconds; }

    void setPort(const PortChoice& choice) override { choice_ = choice; }
    // Port n is the n-th device given; a device by name is itself when given.
    QString deviceOf(const PortChoice& choice) override;
    void setSettings(const QString& settings) override { settings_ = settings; }
    void setHandshaking(int mode) override { handshaking_ = mode; }
    void setRtsEnable(bool on) override { rts_ = on; }
    bool open(QString& error) override;
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void write(const QByteArray& data) override;
    QByteArray readAll() override;
    int bytesAvailable() override;
    bool deviceGone() override { return open_ && goneAt_ && now_() >= *goneAt_; }

    // What the program did with the port.
    const std::vector<QByteArray>& written() const { return written_; }
    const PortChoice& port() const { return choice_; }
    int portNumber() const { return choice_.number; }
    const QString& settings() const { return settings_; }
    int handshaking() const { return handshaking_; }
    bool rts() const { return rts_; }
    int openCount() const { return openCount_; }
    void clearWritten() { written_.clear(); }

  private:
    void collectArrived();

    std::function<double()> now_;
    Responder responder_;
    std::vector<std::pair<double, QByteArray>> pending_; // arrival time, bytes
    QByteArray received_;
    std::vector<QByteArray> written_;
    QStringList devices_;
    PortChoice choice_{0, {}};
    QString settings_;
    std::optional<double> goneAt_;
    int handshaking_ = 0, openCount_ = 0;
    bool rts_ = false, open_ = false, openFails_ = false;
};

} // namespace huelinx

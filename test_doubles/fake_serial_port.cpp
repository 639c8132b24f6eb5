#include "test_doubles/fake_serial_port.h"

#include <algorithm>

namespace huelinx {

QString FakeSerialPort::deviceOf(const PortChoice& choice) {
    if (choice.byDevice()) return devices_.contains(choice.device) ? choice.device : QString();
    return devices_.value(choice.number - 1);
}

bool FakeSerialPort::open(QString& error) {
    if (openFails_) {
        error = QString("port %1 can't be opened").arg(choice_.number);
        return false;
    }
    open_ = true;
    ++openCount_;
    pending_.clear();
    received_.clear();
    goneAt_.reset();
    return true;
}

void FakeSerialPort::write(const QByteArray& data) {
    written_.push_back(data);
    if (!open_ || !responder_ || deviceGone()) return;
    for (const Arrival& a : responder_(data))
        pending_.emplace_back(now_() + a.delay, a.bytes);
    std::stable_sort(pending_.begin(), pending_.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

void FakeSerialPort::collectArrived() {
    // Nothing arrives once the device has gone.
    const double until = goneAt_ ? std::min(now_(), *goneAt_) : now_();
    auto it = pending_.begin();
    for (; it != pending_.end() && it->first <= until; ++it)
        received_ += it->second;
    pending_.erase(pending_.begin(), it);
}

QByteArray FakeSerialPort::readAll() {
    collectArrived();
    QByteArray bytes;
    std::swap(bytes, received_);
    return bytes;
}

int FakeSerialPort::bytesAvailable() {
    collectArrived();
    return static_cast<int>(received_.size());
}

} // namespace huelinx

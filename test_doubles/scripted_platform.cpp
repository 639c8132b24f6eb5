#include "test_doubles/scripted_platform.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QThread>
#include <QTime>
#include <QWidget>

#include <cmath>

namespace huelinx {

namespace {

constexpr double secondsPerDay = 86400.0;

double withinOneDay(double seconds) {
    const double wrapped = std::fmod(seconds, secondsPerDay);
    return wrapped < 0.0 ? wrapped + secondsPerDay : wrapped;
}

bool hasButton(Buttons buttons, Answer answer) {
    switch (buttons) {
    case Buttons::Ok:
        return answer == Answer::Ok;
    case Buttons::OkCancel:
        return answer == Answer::Ok || answer == Answer::Cancel;
    case Buttons::YesNo:
        return answer == Answer::Yes || answer == Answer::No;
    case Buttons::YesNoCancel:
        return answer != Answer::Ok;
    }
    return false;
}

QString answerName(Answer answer) {
    switch (answer) {
    case Answer::Ok:
        return QStringLiteral("Ok");
    case Answer::Cancel:
        return QStringLiteral("Cancel");
    case Answer::Yes:
        return QStringLiteral("Yes");
    case Answer::No:
        return QStringLiteral("No");
    }
    return QString();
}

} // namespace

void ScriptedPlatform::reportUnexpected(const QString& what) {
    if (unexpected_) unexpected_(what);
}

Answer ScriptedPlatform::message(const QString& text, Buttons buttons, Icon icon,
                                 const QString& title) {
    shown_.push_back({Shown::Message, text, title, buttons, icon, QString(), QString()});
    if (buttons == Buttons::Ok) return Answer::Ok;
    const Answer fallback = buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
    if (answers_.empty()) {
        reportUnexpected(QStringLiteral("message box: ") + text);
        return fallback;
    }
    const Answer answer = answers_.front();
    answers_.pop_front();
    if (!hasButton(buttons, answer)) {
        reportUnexpected(
            QStringLiteral("message box without a %1 button: %2").arg(answerName(answer), text));
        return fallback;
    }
    return answer;
}

QString ScriptedPlatform::inputBox(const QString& prompt, const QString& title,
                                   const QString& defaultText) {
    shown_.push_back(
        {Shown::Input, prompt, title, Buttons::OkCancel, Icon::None, defaultText, QString()});
    if (inputs_.empty()) {
        reportUnexpected(QStringLiteral("input box: ") + prompt);
        return QString();
    }
    const QString text = inputs_.front();
    inputs_.pop_front();
    return text.isEmpty() ? QString() : text;
}

QString ScriptedPlatform::choose(const QString& prompt, const QStringList& items,
                                 const QString& title) {
    shown_.push_back({Shown::Choice, prompt, title, Buttons::OkCancel, Icon::None,
                      items.join(u'\n'), QString()});
    if (inputs_.empty()) {
        reportUnexpected(QStringLiteral("list: ") + prompt);
        return QString();
    }
    const QString answer = inputs_.front();
    inputs_.pop_front();
    if (answer.isEmpty() || items.contains(answer)) return answer;
    const QStringList led = items.filter(QRegularExpression(
        QStringLiteral("^") + QRegularExpression::escape(answer) + QStringLiteral("\\s")));
    if (led.size() == 1) return led.front();
    reportUnexpected(QStringLiteral("no item \"%1\" in the list: %2").arg(answer, prompt));
    return QString();
}

QString ScriptedPlatform::openFileName(const QString& filter, const QString& startFolder) {
    shown_.push_back({Shown::FileDialog, filter, QString(), Buttons::OkCancel, Icon::None,
                      QString(), startFolder});
    if (files_.empty()) {
        reportUnexpected(QStringLiteral("file dialog: ") + filter);
        return QString();
    }
    const QString name = files_.front();
    files_.pop_front();
    return name.isEmpty() ? QString() : name;
}

QString ScriptedPlatform::saveFileName(const QString& filter, const QString& suggestedName,
                                       const QString& title) {
    shown_.push_back({Shown::FileDialog, filter, title, Buttons::OkCancel, Icon::None,
                      suggestedName, QString()});
    if (files_.empty()) {
        reportUnexpected(QStringLiteral("save dialog: ") + filter);
        return QString();
    }
    const QString name = files_.front();
    files_.pop_front();
    return name;
}

bool ScriptedPlatform::printWindow(QWidget* window) {
    shown_.push_back({Shown::Print, window ? window->windowTitle() : QString(), QString(),
                      Buttons::Ok, Icon::None, QString(), QString()});
    return printerAvailable_;
}

void ScriptedPlatform::beep() {
    shown_.push_back(
        {Shown::Beep, QString(), QString(), Buttons::Ok, Icon::None, QString(), QString()});
}

void ScriptedPlatform::processEvents() {
    ++processEventsCount_;
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

void ScriptedPlatform::setSecondsSinceMidnight(double seconds) {
    seconds_ = withinOneDay(seconds);
}

void ScriptedPlatform::advance(double seconds) {
    seconds_ = withinOneDay(seconds_ + seconds);
    elapsed_ += seconds;
}

double ScriptedPlatform::secondsSinceMidnight() {
    if (realClock_)
        return static_cast<double>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0;
    const double reading = seconds_;
    advance(advancePerRead_);
    return reading;
}

void ScriptedPlatform::pause(double seconds) {
    if (realClock_)
        QThread::msleep(static_cast<unsigned long>(seconds * 1000.0));
    else
        advance(seconds);
}

ScriptedPlatform::ScriptedPlatform()
    : port_(std::make_unique<FakeSerialPort>([this] { return elapsed_; })) {}

ScriptedPlatform::~ScriptedPlatform() = default;

void ScriptedPlatform::setSerialPort(std::unique_ptr<SerialPort> port) {
    port_ = std::move(port);
}

FakeSerialPort* ScriptedPlatform::fakePort() {
    return dynamic_cast<FakeSerialPort*>(port_.get());
}

} // namespace huelinx

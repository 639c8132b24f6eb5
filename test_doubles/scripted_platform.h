// A platform that never blocks: every dialog, print and beep is recorded, and
// questions are answered from queues filled beforehand. The command-line
// converter runs on it, and tests use it to answer questions and to check what
// the user would have been shown. The clock is a fake one that moves only when
// told to.
#pragma once

#include "platform/platform.h"
#include "test_doubles/fake_serial_port.h"

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace huelinx {

class ScriptedPlatform : public Platform {
  public:
    ScriptedPlatform();
    ~ScriptedPlatform() override;

    // One thing the user would have seen. `text` is the message, the input
    // prompt, the file filter or the title of the printed window; a list to
    // choose from keeps its items, one a line, as `defaultText`.
    struct Shown {
        enum Kind { Message, Input, FileDialog, Print, Beep, Choice };
        Kind kind = Message;
        QString text;
        QString title;
        Buttons buttons = Buttons::Ok;
        Icon icon = Icon::None;
        QString defaultText;
        // Where a file-open dialog was asked to open (empty: the working folder).
        QString startFolder;
    };

    // Message boxes with more than an Ok button take the next queued answer.
    // Ok-only boxes take none (Ok is their only answer), so the queue holds
    // exactly the answers to real questions. With the queue empty, or when the
    // queued answer is not one of the box's buttons, the box answers Ok, or Yes
    // in a Yes/No box, and the unexpected handler is called.
    Answer message(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                   const QString& title = QString()) override;
    // Takes the next queued input; empty (and unexpected) when none is queued.
    QString inputBox(const QString& prompt, const QString& title = QString(),
                     const QString& defaultText = QString()) override;
    // Takes the next queued input as the choice: an item, or the leading word
    // of exactly one item (so "xyz" chooses "xyz — …"); an empty input
    // cancels. Anything else is unexpected and cancels, as no list offers it.
    QString choose(const QString& prompt, const QStringList& items,
                   const QString& title = QString()) override;
    // Takes the next queued file name; empty (and unexpected) when none is queued.
    QString openFileName(const QString& filter, const QString& startFolder = QString()) override;
    // Takes the next queued file name, like openFileName; the suggested name
    // is kept as the dialog's default text.
    QString saveFileName(const QString& filter, const QString& suggestedName,
                         const QString& title) override;
    // Records the print and reports whether a printer is "available".
    bool printWindow(QWidget* window) override;
    void beep() override;

    // The fake clock's reading, kept within one day like the real one.
    double secondsSinceMidnight() override;
    // Moves the fake clock on by `seconds` (sleeps on the real clock).
    void pause(double seconds) override;
    QString dateText() override { return dateText_; }
    QString timeText() override { return timeText_; }

    // Runs pending events when an application object exists; always counted.
    void processEvents() override;
    QSize screenSize() override { return screenSize_; }
    // Only records the request: the caller keeps running.
    void endProgram() override { programEnded_ = true; }
    // A fake port on the fake clock unless another port was installed.
    SerialPort& serialPort() override { return *port_; }

    // --- scripting -------------------------------------------------------
    void queueAnswer(Answer answer) { answers_.push_back(answer); }
    // An empty text answers the input box (or the list) with Cancel.
    void queueInput(const QString& text) { inputs_.push_back(text); }
    // An empty name cancels the file dialog.
    void queueFile(const QString& fileName) { files_.push_back(fileName); }
    void setPrinterAvailable(bool available) { printerAvailable_ = available; }
    // Called with a description such as "message box: Printer not Found"
    // whenever a question finds no suitable queued answer.
    void setUnexpectedHandler(std::function<void(const QString& what)> handler) {
        unexpected_ = std::move(handler);
    }
    // Queued answers, inputs and file names not yet taken.
    std::size_t pendingAnswers() const { return answers_.size() + inputs_.size() + files_.size(); }

    void setSecondsSinceMidnight(double seconds);
    // Replaces the fake port, for tests that drive a real device.
    void setSerialPort(std::unique_ptr<SerialPort> port);
    // The fake port, or null when another port was installed.
    FakeSerialPort* fakePort();
    // Reads the machine's clock instead of the fake one.
    void useRealClock(bool real) { realClock_ = real; }
    // Moves the clock on (or back, when negative), wrapping at midnight.
    void advance(double seconds);
    // Each reading of the clock moves it on by `seconds` after it is read, so
    // loops that wait for time to pass end without sleeping.
    void setAdvancePerRead(double seconds) { advancePerRead_ = seconds; }
    void setDateText(const QString& text) { dateText_ = text; }
    void setTimeText(const QString& text) { timeText_ = text; }
    void setScreenSize(const QSize& size) { screenSize_ = size; }

    // --- what happened -----------------------------------------------------
    const std::vector<Shown>& shown() const { return shown_; }
    // Forgets what was shown; queued answers stay.
    void clear() { shown_.clear(); }
    int processEventsCount() const { return processEventsCount_; }
    bool programEnded() const { return programEnded_; }

  private:
    void reportUnexpected(const QString& what);

    std::vector<Shown> shown_;
    std::deque<Answer> answers_;
    std::deque<QString> inputs_;
    std::deque<QString> files_;
    std::function<void(const QString&)> unexpected_;
    bool printerAvailable_ = false;
    double seconds_ = 37800.0; // 10:30:00, as timeText_
    double advancePerRead_ = 0.0;
    double elapsed_ = 0.0; // fake seconds since creation, never wrapping
    bool realClock_ = false;
    std::unique_ptr<SerialPort> port_;
    QString dateText_ = QStringLiteral("12-17-2022");
    QString timeText_ = QStringLiteral("10:30:00");
    QSize screenSize_{1920, 1080};
    int processEventsCount_ = 0;
    bool programEnded_ = false;
};

} // namespace huelinx

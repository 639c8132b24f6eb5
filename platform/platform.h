// The thin layer between the program and the toolkit and machine: modal
// questions, printing, the beep, the clock, event processing and the screen.
// Windows ask through it instead of calling the toolkit directly, so that tests
// can answer every question and the command-line converter never blocks.
#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

class QWidget;

namespace huelinx {

class SerialPort;

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Question, Exclamation, Critical };
enum class Answer { Ok, Cancel, Yes, No };

class Platform {
  public:
    virtual ~Platform() = default;

    // A modal message box; returns the button pressed. Texts may end lines with
    // CR, LF or CR LF.
    virtual Answer message(const QString& text, Buttons buttons = Buttons::Ok,
                           Icon icon = Icon::None, const QString& title = QString()) = 0;
    // A modal input box; Cancel gives an empty text.
    virtual QString inputBox(const QString& prompt, const QString& title = QString(),
                             const QString& defaultText = QString()) = 0;
    // A modal list to choose one of `items` from (nothing else can be typed);
    // the item chosen, or an empty text when cancelled.
    virtual QString choose(const QString& prompt, const QStringList& items,
                           const QString& title = QString()) = 0;
    // A file-open dialog with a filter such as "*.csv|*.csv" (description and
    // pattern pairs separated by '|'); empty when cancelled. The current working
    // directory is left as it was.
    // `startFolder` (when given) is where the dialog opens; otherwise the
    // working directory.
    virtual QString openFileName(const QString& filter, const QString& startFolder = QString()) = 0;
    // A file-save dialog titled `title` with a filter as above, opening on
    // `suggestedName`: the name chosen, with the extension of the chosen filter
    // added when it has none; empty when cancelled. The working directory is
    // left as it was.
    virtual QString saveFileName(const QString& filter, const QString& suggestedName,
                                 const QString& title) = 0;
    // Prints the image of `window` on the default printer; false when there is
    // no printer or printing failed.
    virtual bool printWindow(QWidget* window) = 0;
    virtual void beep() = 0;

    // Seconds since midnight, with fractions.
    virtual double secondsSinceMidnight() = 0;
    // Waits about `seconds` without using the processor; window events run meanwhile.
    virtual void pause(double seconds) = 0;
    // Today as mm-dd-yyyy and the time as 24-hour hh:mm:ss.
    virtual QString dateText() = 0;
    virtual QString timeText() = 0;

    // Lets pending window events run from inside a handler.
    virtual void processEvents() = 0;
    // Size of the screen in pixels.
    virtual QSize screenSize() = 0;
    // Ends the whole program at once: every window closes, nothing is asked.
    virtual void endProgram() = 0;
    // The serial port the instruments are driven through.
    virtual SerialPort& serialPort() = 0;
};

} // namespace huelinx

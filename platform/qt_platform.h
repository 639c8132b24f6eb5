// The platform of the real program: Qt dialogs, the default printer, the
// system clock and the primary screen.
#pragma once

#include "platform/platform.h"
#include "platform/qt_serial_port.h"

#include <QRect>

namespace huelinx {

class QtPlatform : public Platform {
  public:
    // Shows a QMessageBox over the active window. An empty title shows
    // "Huelinx"; the text is shown as plain text with CR, LF and CR LF all
    // breaking the line. Closing the box with Escape or the title bar counts as
    // Cancel, or as No in a Yes/No box.
    Answer message(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                   const QString& title = QString()) override;
    QString inputBox(const QString& prompt, const QString& title = QString(),
                     const QString& defaultText = QString()) override;
    QString choose(const QString& prompt, const QStringList& items,
                   const QString& title = QString()) override;
    // The dialog opens in the current working directory.
    QString openFileName(const QString& filter, const QString& startFolder = QString()) override;
    QString saveFileName(const QString& filter, const QString& suggestedName,
                         const QString& title) override;
    // The window's image, scaled to fit the page with its proportions kept, at
    // the top left inside a half-inch margin.
    bool printWindow(QWidget* window) override;
    void beep() override;

    double secondsSinceMidnight() override;
    void pause(double seconds) override;
    QString dateText() override;
    QString timeText() override;

    void processEvents() override;
    // 1024 x 768 when there is no screen.
    QSize screenSize() override;
    // Closes every window (hiding any that refuse to close), then queues an exit of the event loop
    // with code 0. Queued, because the event loop may not be running yet (a window can end the
    // program while it is being set up): exec() then returns as soon as it starts. The exit cannot
    // be refused by a window that ignores its close event. The caller should return promptly; the
    // program ends when control is back in the event loop.
    void endProgram() override;
    SerialPort& serialPort() override { return port_; }

  private:
    QtSerialPort port_;
};

// "description|pattern|description|pattern..." as a Qt name filter:
// "Text files (*.txt);;All (*.*)". Patterns separated by ';' within one pair
// become one filter with several patterns; a description without a pattern is
// used as its own pattern; an empty pattern matches every file.
QString qtFileFilter(const QString& filter);

// CR LF, lone CR and lone LF all become one LF, the line break Qt displays.
QString displayLineEnds(const QString& text);

// Where an image of size `image` is drawn on a page whose printable area is
// `page`: as large as fits inside `margin` on every side, proportions kept,
// at the top left. When the margins leave no room the whole page is used.
QRect printedImageRect(const QSize& image, const QRect& page, int margin);

} // namespace huelinx

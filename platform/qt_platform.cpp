#include "platform/qt_platform.h"

#include <QApplication>
#include <QDate>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QScreen>
#include <QThread>
#include <QTime>
#include <QWidget>

#include <algorithm>

namespace huelinx {

namespace {

const QString programName = QStringLiteral("Huelinx");

QString titleOrProgramName(const QString& title) {
    return title.isEmpty() ? programName : title;
}

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
    case Icon::None:
        return QMessageBox::NoIcon;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Critical:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons qtButtons(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok:
        return QMessageBox::Ok;
    case Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// The answer for the button pressed; a box closed without a button (Escape or
// the title bar) gives the answer of its "back out" button.
Answer answerFor(QMessageBox::StandardButton pressed, Buttons buttons) {
    switch (pressed) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        break;
    }
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::OkCancel:
    case Buttons::YesNoCancel:
        return Answer::Cancel;
    }
    return Answer::Cancel;
}

} // namespace

QString qtFileFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString patternText = i + 1 < parts.size() ? parts[i + 1] : parts[i];
        QStringList patterns;
        for (const QString& pattern : patternText.split(u';', Qt::SkipEmptyParts)) {
            if (!pattern.trimmed().isEmpty()) patterns << pattern.trimmed();
        }
        if (description.isEmpty() && patterns.isEmpty())
            continue; // nothing between two separators, e.g. a trailing '|'
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        const QString joined = patterns.join(u' ');
        filters << (description.isEmpty() ? joined : description) + QStringLiteral(" (") + joined +
                       u')';
    }
    return filters.join(QStringLiteral(";;"));
}

QString displayLineEnds(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(u'\r', u'\n');
    return shown;
}

QRect printedImageRect(const QSize& image, const QRect& page, int margin) {
    QRect area = page.adjusted(margin, margin, -margin, -margin);
    if (area.isEmpty()) area = page;
    if (image.isEmpty() || area.isEmpty()) return QRect(area.topLeft(), QSize(0, 0));
    return QRect(area.topLeft(), image.scaled(area.size(), Qt::KeepAspectRatio));
}

Answer QtPlatform::message(const QString& text, Buttons buttons, Icon icon, const QString& title) {
    QMessageBox box(qtIcon(icon), titleOrProgramName(title), displayLineEnds(text),
                    qtButtons(buttons), QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText); // a '<' in a message is not markup
    box.exec();
    return answerFor(box.standardButton(box.clickedButton()), buttons);
}

QString QtPlatform::inputBox(const QString& prompt, const QString& title,
                             const QString& defaultText) {
    bool accepted = false;
    const QString text =
        QInputDialog::getText(QApplication::activeWindow(), titleOrProgramName(title),
                              displayLineEnds(prompt), QLineEdit::Normal, defaultText, &accepted);
    return accepted ? text : QString();
}

QString QtPlatform::choose(const QString& prompt, const QStringList& items, const QString& title) {
    bool accepted = false;
    const QString item =
        QInputDialog::getItem(QApplication::activeWindow(), titleOrProgramName(title),
                              displayLineEnds(prompt), items, 0, false, &accepted);
    return accepted ? item : QString();
}

QString QtPlatform::openFileName(const QString& filter, const QString& startFolder) {
    const QString workingDirectory = QDir::currentPath();
    const QString name = QFileDialog::getOpenFileName(
        QApplication::activeWindow(), QString(),
        startFolder.isEmpty() ? workingDirectory : startFolder, qtFileFilter(filter));
    // Qt's own dialog leaves the working directory alone, but a native one may
    // not: relative data file names depend on it.
    if (QDir::currentPath() != workingDirectory) QDir::setCurrent(workingDirectory);
    return name;
}

namespace {

// ".gpl" of "GIMP palette (*.gpl)"; empty for a filter of any file.
QString filterExtension(const QString& filter) {
    const qsizetype star = filter.indexOf("*.");
    if (star < 0) return {};
    const QString rest = filter.mid(star + 1);
    const QString extension = rest.left(rest.indexOf(QRegularExpression("[ ;)]")));
    return extension == ".*" ? QString() : extension;
}

} // namespace

QString QtPlatform::saveFileName(const QString& filter, const QString& suggestedName,
                                 const QString& title) {
    const QString workingDirectory = QDir::currentPath();
    QFileDialog dialog(QApplication::activeWindow(), title, suggestedName, qtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Choosing another type changes the extension of the name in the box, so
    // the type chosen is the type written.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& chosen) {
                         const QString extension = filterExtension(chosen);
                         const QString current = dialog.selectedFiles().value(0);
                         if (extension.isEmpty() || current.isEmpty()) return;
                         dialog.selectFile(QFileInfo(current).completeBaseName() + extension);
                     });
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (QDir::currentPath() != workingDirectory) QDir::setCurrent(workingDirectory);
    QString name = accepted ? dialog.selectedFiles().value(0) : QString();
    // A name typed without an extension takes the chosen type's.
    if (!name.isEmpty() && QFileInfo(name).suffix().isEmpty())
        name += filterExtension(dialog.selectedNameFilter());
    return name;
}

bool QtPlatform::printWindow(QWidget* window) {
    if (!window) return false;
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (printerInfo.isNull() || QPrinterInfo::availablePrinters().isEmpty()) return false;
    const QPixmap image = window->grab();
    if (image.isNull()) return false;

    QPrinter printer(printerInfo, QPrinter::HighResolution);
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int halfInch = printer.resolution() / 2;
    painter.drawPixmap(printedImageRect(image.size(), painter.viewport(), halfInch), image);
    const bool ended = painter.end();
    return ended && printer.printerState() != QPrinter::Error &&
           printer.printerState() != QPrinter::Aborted;
}

void QtPlatform::beep() {
    QApplication::beep();
}

double QtPlatform::secondsSinceMidnight() {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void QtPlatform::pause(double seconds) {
    const QDeadlineTimer deadline(static_cast<qint64>(seconds * 1000.0));
    for (qint64 left = deadline.remainingTime(); left > 0; left = deadline.remainingTime()) {
        QCoreApplication::processEvents();
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, 10)));
    }
}

QString QtPlatform::dateText() {
    return QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy"));
}

QString QtPlatform::timeText() {
    return QTime::currentTime().toString(QStringLiteral("HH:mm:ss"));
}

void QtPlatform::processEvents() {
    QCoreApplication::processEvents();
}

QSize QtPlatform::screenSize() {
    if (qGuiApp) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) return screen->size();
    }
    return QSize(1024, 768);
}

void QtPlatform::endProgram() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    if (qobject_cast<QApplication*>(app)) {
        // Every window gets its close event, but closeAllWindows() stops at the
        // first window that refuses: whatever is still up is hidden unasked.
        QApplication::closeAllWindows();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible()) window->hide();
        }
    }
    // exit() rather than quit(): quit() may be refused by a window that will
    // not close, and the program must end without asking anything.
    QMetaObject::invokeMethod(
        app, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

} // namespace huelinx

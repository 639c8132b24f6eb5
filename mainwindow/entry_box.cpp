#include "mainwindow/entry_box.h"

#include "colour/typed_colour.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>

namespace huelinx {

EntryBox::EntryBox(const QString& objectName, const QString& text, QWidget* parent)
    : QLineEdit(text, parent) {
    setObjectName(objectName);
    connect(this, &QLineEdit::textEdited, this, [this] { clearRefused(); });
}

void EntryBox::setRefused(const QString& reason) {
    if (!refused_) ownTip_ = toolTip();
    refused_ = true;
    setProperty("refused", true);
    setStyleSheet("border: 2px solid #d00000;");
    setToolTip(reason);
}

void EntryBox::clearRefused() {
    if (!refused_) return;
    refused_ = false;
    setProperty("refused", false);
    setStyleSheet(QString());
    setToolTip(ownTip_);
}

bool EntryBox::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        leftToWindow(*static_cast<QKeyEvent*>(event))) {
        // Not taken here, so the window's shortcut runs.
        event->ignore();
        return true;
    }
    return QLineEdit::event(event);
}

bool EntryBox::leftToWindow(const QKeyEvent& key) const {
    if (key.matches(QKeySequence::Copy)) return !hasSelectedText();
    if (key.matches(QKeySequence::Paste))
        return readTypedColour(QGuiApplication::clipboard()->text().toStdString()).has_value();
    if (key.matches(QKeySequence::Undo)) return !isUndoAvailable();
    const bool redo = key.matches(QKeySequence::Redo) ||
                      key.keyCombination() == QKeyCombination(Qt::CTRL | Qt::SHIFT, Qt::Key_Z);
    return redo && !isRedoAvailable();
}

void EntryBox::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    // After a mouse click the click itself places the cursor; select once it is done.
    QTimer::singleShot(0, this, [this] { selectAll(); });
    selectAll();
}

void EntryBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (onEnter) onEnter();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace huelinx

#include "mainwindow/entry_box.h"

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

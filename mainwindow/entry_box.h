// A text box of the main window's entry groups: it selects its whole text
// when it gains focus, so that typing replaces it, and reports the Enter key.
// Typing alone converts nothing. A box whose entry was refused is marked (a
// red border, the reason as its tooltip) until it is next edited.
//
// Copy, paste, undo and redo keys work on the box's own text while there is
// something for them there (a selection, typing to undo or redo, a clipboard
// that holds part of a colour); otherwise they are the window's, which copies
// the whole notation, pastes a whole colour and undoes colour changes.
#pragma once

#include <QLineEdit>

#include <functional>

namespace huelinx {

class EntryBox : public QLineEdit {
  public:
    explicit EntryBox(const QString& objectName, const QString& text = QString(),
                      QWidget* parent = nullptr);
    // Called when Enter (either key) is pressed in the box.
    std::function<void()> onEnter;

    // Marks the box as the one an entry was refused for: the dynamic property
    // `refused` is true, the border red and the tooltip `reason`.
    void setRefused(const QString& reason);
    // Takes the mark away, the box's own tooltip back.
    void clearRefused();
    bool isRefused() const { return refused_; }

  protected:
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // The key is the window's shortcut rather than the box's own edit.
    bool leftToWindow(const QKeyEvent& key) const;

    bool refused_ = false;
    QString ownTip_; // the tooltip while not marked
};

} // namespace huelinx

// A text box of the main window's entry groups: it selects its whole text
// when it gains focus, so that typing replaces it, and reports the Enter key.
// Typing alone converts nothing. A box whose entry was refused is marked (a
// red border, the reason as its tooltip) until it is next edited.
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
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool refused_ = false;
    QString ownTip_; // the tooltip while not marked
};

} // namespace huelinx

// A text box of the main window's entry groups: it selects its whole text
// when it gains focus, so that typing replaces it, and reports the Enter key.
// Typing alone converts nothing.
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

  protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace huelinx

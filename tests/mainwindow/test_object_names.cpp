// Every object name of docs/object-names.md exists in its window, so the
// table stays true and scripts that find controls by name keep working; the
// main window's members stay its own.
#include "charts/chart_surface.h"
#include "main_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QRegularExpression>

#include <type_traits>

namespace huelinx::testing {
namespace {

class ObjectNames : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
    }
};

// The window of that object name, among the top-level windows and the main
// window's children.
QWidget* windowNamed(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name) return w;
    return nullptr;
}

// "Text12_0..2" stands for Text12_0, Text12_1 and Text12_2.
QStringList expanded(const QString& name) {
    const QRegularExpression range("^(.*_)(\\d+)\\.\\.(\\d+)$");
    const auto m = range.match(name);
    if (!m.hasMatch()) return {name};
    QStringList names;
    for (int i = m.captured(2).toInt(); i <= m.captured(3).toInt(); ++i)
        names << m.captured(1) + QString::number(i);
    return names;
}

bool hasControl(QWidget* window, const QString& name) {
    if (window->findChild<QObject*>(name)) return true;
    for (QWidget* child : window->findChildren<QWidget*>())
        if (auto* surface = dynamic_cast<ChartSurface*>(child); surface && surface->findShape(name))
            return true;
    return false;
}

TEST_F(ObjectNames, EveryNameInTheTableIsAControlOfItsWindow) {
    // Opening every companion window creates it.
    for (const char* check : {"Check2", "Check3", "Check4", "Check5", "Check6", "Check7"}) {
        ASSERT_NE(form->findChild<QCheckBox*>(check), nullptr) << check;
        form->findChild<QCheckBox*>(check)->setChecked(true);
    }
    QFile table(QString(HUELINX_SOURCE_DIR) + "/docs/object-names.md");
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    const QRegularExpression heading("^## `(\\w+)`"), row("^\\| `([^`]+)` \\| `(\\w+)` \\|");
    QWidget* window = nullptr;
    int checked = 0;
    for (const QString& line : QString::fromUtf8(table.readAll()).split('\n')) {
        if (const auto h = heading.match(line); h.hasMatch()) {
            window = windowNamed(h.captured(1));
            ASSERT_NE(window, nullptr) << h.captured(1).toStdString();
            continue;
        }
        const auto r = row.match(line);
        if (!r.hasMatch()) continue;
        ASSERT_NE(window, nullptr) << "a row before the first window: " << line.toStdString();
        for (const QString& name : expanded(r.captured(1))) {
            EXPECT_TRUE(hasControl(window, name))
                << window->objectName().toStdString() << " has no " << name.toStdString();
            ++checked;
        }
    }
    EXPECT_GT(checked, 150);
}

// Outside the window and its harnesses a control is found by its object name:
// the controls, the window's state and the handlers its own controls run are
// not reachable through the window.
template <class W>
concept ControlsReachable = requires(W& w) {
    w.munsellBoxes;
    w.messagesBox;
};
template <class W>
concept StateReachable = requires(W& w) {
    w.commPort;
};
template <class W>
concept HandlersReachable = requires(W& w) {
    w.onMeasure();
};
template <class W>
concept SavingReachable = requires(W& w) {
    w.saveColourToPalette(TagPrompt::Ask);
};

TEST(WindowInterface, ControlsStateAndHandlersStayInsideTheMainWindow) {
    EXPECT_FALSE(ControlsReachable<MainWindow>);
    EXPECT_FALSE(StateReachable<MainWindow>);
    EXPECT_FALSE(HandlersReachable<MainWindow>);
    EXPECT_FALSE(SavingReachable<MainWindow>);
    EXPECT_FALSE((std::is_convertible_v<MainWindow*, MainWindowControls*>));
}

} // namespace
} // namespace huelinx::testing

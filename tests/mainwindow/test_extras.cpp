#include "main_window_fixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

namespace huelinx::testing {
namespace {

class Extras : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
    }
};

TEST_F(Extras, AboutAndHelpShowTheirTexts) {
    ui().aboutButton->click();
    ui().helpButton->click();
    ASSERT_EQ(platform.shown().size(), 2u);
    const auto& about = platform.shown()[0];
    EXPECT_EQ(about.title, "Huelinx Version 12.23.1");
    EXPECT_EQ(about.icon, Icon::Information);
    EXPECT_TRUE(about.text.startsWith(
        "The Huelinx Program is a software utility with no direct support \rfrom "));
    EXPECT_TRUE(about.text.contains("drivers are included in this version.\r\r\nData files:\n"));
    const auto& help = platform.shown()[1];
    EXPECT_EQ(help.title, "Munsell TZM Help");
    const QStringList lines = help.text.split('\r');
    ASSERT_EQ(lines.size(), 13);
    EXPECT_EQ(lines[0], "Enter Hue, Value and Chroma and press 'Enter'");
    EXPECT_EQ(lines[9], "");
    EXPECT_EQ(lines[12], "'Save to Palette' saves a Palette file for opening with Excel or viewing "
                         "with Optional 3D Palette Viewer (option 2)");
}

TEST_F(Extras, PrintWithoutAPrinterSaysSo) {
    ui().printButton->click();
    EXPECT_EQ(messages(), std::vector<QString>{"Printer not Found"});
    platform.clear();
    platform.setPrinterAvailable(true);
    ui().printButton->click();
    EXPECT_TRUE(messages().empty());
    ASSERT_EQ(platform.shown().size(), 1u);
    EXPECT_EQ(platform.shown()[0].kind, ScriptedPlatform::Shown::Print);
}

TEST_F(Extras, WhiteBalanceTintsTheWindowAndTheNextConversion) {
    const auto base = [](QWidget* w) { return w->palette().color(QPalette::Base); };
    const auto back = [](QWidget* w) { return w->palette().color(QPalette::Window); };
    const QString blueBefore = ui().rgbBoxes[2]->text();
    ui().whiteBalanceSlider->setValue(50);
    EXPECT_FLOAT_EQ(form->colour().settings.channelScale[1], 1.0f);
    EXPECT_NEAR(form->colour().settings.channelScale[2], 0.694f, 5e-4f);
    EXPECT_FLOAT_EQ(form->colour().settings.channelScale[3], 0.5f);
    EXPECT_TRUE(ui().logo->isHidden());
    EXPECT_EQ(base(ui().munsellBoxes[0]), QColor(255, 177, 128));
    EXPECT_EQ(base(ui().messagesBox), QColor(255, 177, 128));
    EXPECT_EQ(back(form), QColor(200, 139, 100));
    EXPECT_EQ(back(ui().titleLabel), QColor(200, 139, 100));
    EXPECT_EQ(ui().exitButton->palette().color(QPalette::Button), QColor(200, 139, 100));
    const QColor gammaBox = base(ui().gammaBox), frame2 = back(ui().illuminantFrame);
    // Nothing converts until the next entry, which then scales its channels.
    EXPECT_EQ(ui().rgbBoxes[2]->text(), blueBefore);
    enter(ui().munsellBoxes[0], "6.4Y");
    EXPECT_LT(ui().rgbBoxes[2]->text().toInt(), blueBefore.toInt());

    ui().whiteBalanceSlider->setValue(100);
    EXPECT_FLOAT_EQ(form->colour().settings.channelScale[2], 1.0f);
    EXPECT_FALSE(ui().logo->isHidden());
    EXPECT_EQ(base(ui().xyzBoxes[1]), QColor(255, 255, 255));
    EXPECT_EQ(back(ui().titleLabel), QColor(200, 200, 200));
    EXPECT_EQ(base(ui().gammaBox), gammaBox);
    EXPECT_EQ(back(ui().illuminantFrame), frame2);
}

} // namespace
} // namespace huelinx::testing

// The MacAdam line in Messages: whether a surface can have the colour shown,
// under the illuminant it is shown under, beside "Out of RGB Range", which
// says only that the display can't show it.
#include "main_window_fixture.h"

#include "../colour/table_fixture.h"
#include "colour/macadam_limits.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>

#include <stdexcept>

namespace huelinx::testing {
namespace {

class Limits : public MainWindowTest {
  protected:
    QString messages() const { return ui().messagesBox->toPlainText(); }
    QString lastLine() const { return messages().section('\n', -1); }
    // The excess of the X, Y, Z boxes as shown, on the scale of a perfect
    // white, over the solid of `ill`, from tables loaded here.
    double shownExcess(Illuminant ill) const {
        const MacAdamSolids& solids = testing::programSolids();
        const auto number = [this](int i) { return text(ui().xyzBoxes[i]).toDouble() * 0.975; };
        return solids.of(ill)->check(number(0), number(1), number(2)).excess;
    }
};

TEST_F(Limits, EachColourSaysWhetherASurfaceCanHaveItUnderTheIlluminantShown) {
    ASSERT_TRUE(start());
    // Beyond every surface and beyond the display.
    typeMunsell("5R", "6", "24");
    EXPECT_EQ(ui().outOfRangeLabel->text(), "Out of RGB Range");
    ASSERT_TRUE(lastLine().startsWith("Beyond the MacAdam limits by ")) << messages().toStdString();
    EXPECT_NEAR(lastLine().section(' ', -1).toDouble(), shownExcess(Illuminant::C), 0.01);
    // Beyond the display, but a paint can be it.
    typeMunsell("10BG", "5", "10");
    EXPECT_EQ(ui().outOfRangeLabel->text(), "Out of RGB Range");
    EXPECT_EQ(messages(), "Within the MacAdam limits");
    EXPECT_LT(shownExcess(Illuminant::C), 0);

    // Under D65 the numbers shown are checked against D65's solid.
    typeMunsell("5R", "6", "24");
    ui().illuminantButtons[2]->click();
    ASSERT_TRUE(lastLine().startsWith("Beyond the MacAdam limits by ")) << messages().toStdString();
    EXPECT_NEAR(lastLine().section(' ', -1).toDouble(), shownExcess(Illuminant::D65), 0.01);

    // A refused entry says why alone; the next colour brings the line back.
    ui().munsellBoxes[1]->setText("11");
    enter(ui().munsellBoxes[2], "4");
    EXPECT_FALSE(messages().contains("MacAdam")) << messages().toStdString();
    typeMunsell("5R", "4", "14");
    EXPECT_EQ(messages(), "Within the MacAdam limits");
}

TEST_F(Limits, SpectralTablesThatCannotBeReadAreSaidOnceAndTheLineLeftOut) {
    // The working folder is searched first: a broken copy there is read.
    ASSERT_TRUE(QDir().mkpath("photo"));
    QFile broken("photo/illuminants.csv");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("wavelength_nm,C\n380,1\n");
    broken.close();
    ASSERT_TRUE(start());
    ASSERT_TRUE(messages().startsWith("The MacAdam limits are not shown: "))
        << messages().toStdString();
    EXPECT_TRUE(messages().contains("illuminants.csv")) << messages().toStdString();
    const QString said = messages();
    typeMunsell("5R", "6", "24");
    EXPECT_EQ(messages(), said); // nothing more: the colour has nothing to say
    EXPECT_EQ(text(ui().munsellBoxes[0]), "5R");
}

} // namespace
} // namespace huelinx::testing

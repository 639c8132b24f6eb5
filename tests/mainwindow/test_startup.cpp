#include "form1_fixture.h"

#include "colour/mun2xyz.h"
#include "mainwindow/swatch.h"
#include "text/number_format.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>

namespace huelinx::testing {
namespace {

using Startup = Form1Test;

TEST_F(Startup, ShowsTheInitialNotationInEveryField) {
    ASSERT_TRUE(start());
    Form1& f = *form;
    EXPECT_EQ(f.windowTitle(), "Huelinx  - Version  12.23.1   Dec 17 2022");
    EXPECT_EQ(program->versionText, "12.23.1");
    EXPECT_EQ(f.Label1->text(), "illuminant C  2° Observer ");
    EXPECT_EQ(text(f.Text12[0]) + " " + text(f.Text12[1]) + "/" + text(f.Text12[2]),
              "6.4Y 8.6/10.4");
    const CieOfMunsell cie = mun2xyz(26.4f, 8.6f, 10.4f, program->table, {});
    ASSERT_EQ(cie.status, MunsellToCie::Ok);
    EXPECT_EQ(text(f.Text11[0]).toStdString(), formatNumber(cie.X, "##0.00"));
    EXPECT_EQ(text(f.Text11[1]).toStdString(), formatNumber(cie.Y, "##0.00"));
    EXPECT_EQ(text(f.Text18[0]).toStdString(), formatNumber(cie.x, "0.0000"));
    EXPECT_FALSE(text(f.Text15[0]).isEmpty());
    EXPECT_EQ(text(f.Text1[0]).toInt(), program->curRed);
    EXPECT_EQ(f.Picture1->backColor(),
              QColor(program->curRed, program->curGreen, program->curBlue));
    EXPECT_FALSE(text(f.Text2[3]).isEmpty());
    // The Munsell sliders follow the notation: hue 26.4 x 2, value 8.6 x 2, chroma 10.4.
    EXPECT_EQ(f.VScroll1->value(), 53);
    EXPECT_EQ(f.VScroll2->value(), 17);
    EXPECT_EQ(f.VScroll3->value(), 10);
    QStringList items;
    for (int i = 0; i < f.Combo1->count(); ++i)
        items << f.Combo1->itemText(i);
    EXPECT_EQ(items.join(","), "Import,CE7000,CE7000A,CE2180,XTH,Ci5/Ci7,Spectrolino,SpectroEye");
    EXPECT_TRUE(f.Label24->isHidden());
    EXPECT_TRUE(f.Label25->isHidden());
}

TEST_F(Startup, SoundsOneBeepOnceTheTableIsLoaded) {
    form.reset();
    program = std::make_unique<Program>(platform);
    program->dataFolders << HUELINX_DATA_DIR;
    form = std::make_unique<Form1>(*program);
    ASSERT_TRUE(form->Form_Load());
    ASSERT_EQ(platform.shown().size(), 1u);
    EXPECT_EQ(platform.shown()[0].kind, ScriptedPlatform::Shown::Beep);
}

TEST_F(Startup, MissingOrEmptySettingsFileGivesNoInstrument) {
    for (const bool emptyFile : {false, true}) {
        if (emptyFile) writeSettings("");
        ASSERT_TRUE(start());
        Form1& f = *form;
        EXPECT_EQ(program->instrumentName, "");
        EXPECT_EQ(f.Combo1->currentText(), "");
        EXPECT_EQ(f.commPort, 1);
        // Measure stays hidden; calibrate, port label and port box come back.
        EXPECT_TRUE(f.Command8->isHidden());
        EXPECT_EQ(f.Command8->text(), "Measure");
        EXPECT_FALSE(f.Command7->isHidden());
        EXPECT_FALSE(f.Label3->isHidden());
        EXPECT_FALSE(f.Text4->isHidden());
        EXPECT_EQ(text(f.Text4), "1");
    }
}

TEST_F(Startup, StoredInstrumentSetsTheMode) {
    writeSettings("Import\r\n 1 \r\n");
    ASSERT_TRUE(start());
    EXPECT_EQ(form->Combo1->currentText(), "Import");
    EXPECT_EQ(form->Command8->text(), "Import %R");
    EXPECT_FALSE(form->Command8->isHidden());
    EXPECT_TRUE(form->Command7->isHidden());
    EXPECT_TRUE(form->Label3->isHidden());
    EXPECT_TRUE(form->Text4->isHidden());

    writeSettings("XTH\r\n 7 \r\n");
    ASSERT_TRUE(start());
    EXPECT_EQ(program->instrumentName, "XTH");
    EXPECT_EQ(form->commPort, 7); // not limited until the port box is edited
    EXPECT_EQ(form->Command8->text(), "Measure");
    EXPECT_FALSE(form->Command8->isHidden());
    EXPECT_FALSE(form->Command7->isHidden());
    EXPECT_EQ(text(form->Text4), "1");
}

TEST_F(Startup, SettingsFileNameIsMatchedWithoutLetterCase) {
    QFile file("TZM.CFG");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("CE2180\r\n 3 \r\n");
    file.close();
    ASSERT_TRUE(start());
    EXPECT_EQ(program->instrumentName, "CE2180");
    form->Text4->setText("2");
    EXPECT_EQ(readFile("TZM.CFG"), "CE2180\r\n 2 \r\n");
    EXPECT_FALSE(QFile::exists("tzm.cfg"));
}

TEST_F(Startup, MissingTableIsNamedAndStopsStartUp) {
    EXPECT_FALSE(start(false));
    form.reset();
    program = std::make_unique<Program>(platform);
    form = std::make_unique<Form1>(*program);
    EXPECT_FALSE(form->Form_Load());
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "Cannot open the Munsell data file \"Vadoro.dat\".");
    EXPECT_EQ(platform.shown()[0].icon, Icon::Critical);
}

TEST_F(Startup, BadTableInTheWorkingDirectoryIsReportedWithItsProblem) {
    QFile file("Vadoro.dat");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("3101,3163\r\n");
    file.close();
    form.reset();
    program = std::make_unique<Program>(platform);
    program->dataFolders << HUELINX_DATA_DIR;
    form = std::make_unique<Form1>(*program);
    EXPECT_FALSE(form->Form_Load());
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "\"Vadoro.dat\" ends after 2 numbers; 14960 are needed.");
}

TEST_F(Startup, ChoosingAnInstrumentSavesItAndSwitchesTheMode) {
    ASSERT_TRUE(start());
    Form1& f = *form;
    f.Combo1->setCurrentIndex(0);
    f.Combo1_Click();
    EXPECT_EQ(readFile("tzm.cfg"), "Import\r\n 1 \r\n");
    EXPECT_EQ(f.Command8->text(), "Import %R");
    EXPECT_TRUE(f.Command7->isHidden());
    f.Combo1->setCurrentIndex(4);
    f.Combo1_Click();
    EXPECT_EQ(readFile("tzm.cfg"), "XTH\r\n 1 \r\n");
    EXPECT_EQ(f.Command8->text(), "Measure");
    EXPECT_FALSE(f.Text4->isHidden());
    // Editing the port writes the name from start-up, not the one just chosen.
    f.Text4->setText("3");
    EXPECT_EQ(readFile("tzm.cfg"), "\r\n 3 \r\n");
}

TEST_F(Startup, PortBoxKeepsThePortWithinOneToFour) {
    ASSERT_TRUE(start());
    const struct {
        const char* typed;
        int port;
    } cases[] = {{"4", 4},   {"0", 1}, {"5", 1},   {"2.5", 2},
                 {"3.5", 4}, {"", 1},  {"abc", 1}, {"-2", 1}};
    for (const auto& c : cases) {
        form->Text4->setText("x"); // make sure the next text is a change
        form->Text4->setText(c.typed);
        EXPECT_EQ(form->commPort, c.port) << c.typed;
        EXPECT_EQ(readFile("tzm.cfg"), QString("\r\n %1 \r\n").arg(c.port));
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(Startup, UnwritableSettingsFileIsReportedOnce) {
    ASSERT_TRUE(QDir().mkdir("tzm.cfg"));
    ASSERT_TRUE(start());
    form->Text4->setText("2");
    form->Text4->setText("3");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].contains("tzm.cfg"));
    EXPECT_EQ(form->commPort, 3);
}

TEST_F(Startup, ExitEndsTheProgram) {
    ASSERT_TRUE(start());
    form->Command2->click();
    EXPECT_TRUE(platform.programEnded());
}

TEST_F(Startup, ClosingTheWindowEndsTheProgram) {
    ASSERT_TRUE(start());
    form->show();
    form->close();
    EXPECT_TRUE(platform.programEnded());
}

} // namespace
} // namespace huelinx::testing

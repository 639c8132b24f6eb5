#include "main_window_fixture.h"

#include "colour/tristimulus.h"
#include "instruments/batch_import.h"
#include "palette/palette_file.h"
#include "simulated_instrument.h"
#include "text/number_format.h"
#include "tools/instrument_replies.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <csignal>
#include <sys/resource.h>

namespace huelinx::testing {
namespace {

class Import : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(start());
    }
    static void file(const QString& name, const QByteArray& contents) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contents);
    }
    void importType(const QString& type) {
        platform.queueInput(type);
        ui().importButton->click();
    }
    QStringList lines(const QString& name) const {
        QStringList all = readFile(name).split("\r\n");
        if (!all.isEmpty() && all.back().isEmpty()) all.pop_back();
        return all;
    }
};

TEST_F(Import, TheTypeIsChosenFromAListAndACancelOrAnUnknownTypeSaysSo) {
    file("lab_sRGB.csv", "L,a,b\r\n50,20,-30\r\n90,0,0\r\n");
    importType("6");
    ASSERT_FALSE(platform.shown().empty());
    const auto& list = platform.shown().front();
    EXPECT_EQ(list.kind, ScriptedPlatform::Shown::Choice);
    // One item a type, each its code and a line saying what it reads and writes.
    const QStringList items = list.defaultText.split('\n');
    QStringList codes;
    for (const QString& item : items) {
        codes << item.section(' ', 0, 0);
        EXPECT_TRUE(item.section(" \u2014 ", 1).size() > 20) << item.toStdString();
    }
    codes.sort();
    EXPECT_EQ(codes, (QStringList{"0", "1", "2", "3", "4", "6", "cgats", "xyz"}));
    // The summary, and the MacAdam line of the last colour imported.
    EXPECT_EQ(ui().messagesBox->toPlainText(),
              "\"lab_sRGB.txt\" written: 2 record(s).\nWithin the MacAdam limits");
    EXPECT_TRUE(messages().empty());

    // A cancel and a type no import has are said; neither changes the colour
    // nor tells another window of one.
    int changes = 0;
    const Connection heard =
        session().colourChanged.connect([&](const ColourChange&) { ++changes; });
    platform.clear();
    importType("");
    EXPECT_EQ(ui().messagesBox->toPlainText(), "Import cancelled: no type chosen.");
    BatchImport(session(), platform).run("7");
    EXPECT_EQ(ui().messagesBox->toPlainText(), "Unknown import type \"7\"; nothing was imported.");
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(QDir().entryList({"*.txt"}, QDir::Files), QStringList{"lab_sRGB.txt"});
}

TEST_F(Import, CgatsSamplesGoToThePaletteWithAReportOrNothingAtAll) {
    file("meter.txt", "CGATS.17\r\nBEGIN_DATA_FORMAT\r\nSAMPLE_ID SAMPLE_NAME LAB_L LAB_A "
                      "LAB_B\r\nEND_DATA_FORMAT\r\nBEGIN_DATA\r\n1 \"tile\" 41.2 42.1 22.2\r\n"
                      "2 \"\" 51.57 0 0\r\nEND_DATA\r\n");
    ui().illuminantButtons[2]->click(); // D65: the samples are still taken to C
    platform.clear();
    platform.queueInput("cgats");
    platform.queueInput("field"); // the palette file, asked for as for "xyz"
    platform.queueFile("meter.txt");
    ui().importButton->click();
    EXPECT_TRUE(messages().empty()) << messages().front().toStdString();
    const QStringList palette = lines("field.csv");
    ASSERT_EQ(palette.size(), 2);
    EXPECT_TRUE(palette[0].startsWith("\"12-17-2022\",\"10:30:00\",\"tile\","));
    EXPECT_TRUE(palette[1].contains(",\"2\",\"N\",")) << palette[1].toStdString();
    const QStringList report = lines("meter-report.csv");
    ASSERT_EQ(report.size(), 3);
    EXPECT_TRUE(report[0].endsWith(",message,name,abbreviation,chip,chip_label,dE00,dH,dV,dC"));
    EXPECT_TRUE(report[2].startsWith("2,,N,5.00,"));
    EXPECT_TRUE(ui().messagesBox->toPlainText().startsWith(
        "2 sample(s) of \"meter.txt\" added to \"field.csv\", report \"meter-report.csv\""))
        << ui().messagesBox->toPlainText().toStdString();
    // The window shows the last sample, under illuminant C.
    EXPECT_EQ(ui().munsellBoxes[0]->text(), "N");
    EXPECT_TRUE(ui().illuminantButtons[0]->isChecked());

    // A sample cut short: one message naming the file and the line, nothing written.
    file("short.txt", "CGATS.17\nBEGIN_DATA_FORMAT\nXYZ_X XYZ_Y XYZ_Z\nEND_DATA_FORMAT\n"
                      "BEGIN_DATA\n20 21 22\n20 21\nEND_DATA\n");
    platform.clear();
    platform.queueFile("short.txt");
    importType("cgats");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].startsWith("short.txt, line 7: expected 3 values"))
        << messages()[0].toStdString();
    EXPECT_EQ(lines("field.csv"), palette);
    EXPECT_FALSE(QFile::exists("short-report.csv"));
}

TEST_F(Import, ACgatsReportNeverReplacesThePalette) {
    file("meter.txt",
         "CGATS.17\nBEGIN_DATA_FORMAT\nSAMPLE_NAME LAB_L LAB_A LAB_B\nEND_DATA_FORMAT\n"
         "BEGIN_DATA\ntile 41.2 42.1 22.2\nEND_DATA\n");
    // The palette is named as the report would be, and holds a record already.
    file("meter-report.csv", "\"12-16-2022\",\"09:00:00\",\"old\",\"5R\",\"4\",\"14\",\r\n");
    platform.clear();
    platform.queueInput("cgats");
    platform.queueInput("meter-report");
    platform.queueFile("meter.txt");
    ui().importButton->click();
    EXPECT_TRUE(messages().empty()) << messages().front().toStdString();
    const QStringList palette = lines("meter-report.csv");
    ASSERT_EQ(palette.size(), 2);
    EXPECT_TRUE(palette[0].contains("\"old\"")) << palette[0].toStdString();
    EXPECT_TRUE(palette[1].contains("\"tile\"")) << palette[1].toStdString();
    const QStringList report = lines("meter-report-2.csv");
    ASSERT_EQ(report.size(), 2);
    EXPECT_TRUE(report[1].startsWith("1,tile,"));
    EXPECT_TRUE(ui().messagesBox->toPlainText().startsWith(
        "1 sample(s) of \"meter.txt\" added to \"meter-report.csv\", report "
        "\"meter-report-2.csv\" (not \"meter-report.csv\", which is the palette)"))
        << ui().messagesBox->toPlainText().toStdString();
}

TEST_F(Import, BadRecordsGiveOneMessageAndNoColour) {
    // 281 records of junk among good ones, as a binary file gives.
    QByteArray junk = "tag,X,Y,Z\r\ngood,19.38,19.77,23.35\r\n";
    for (int i = 0; i < 281; ++i)
        junk += "\x01\x7f,\xff\xfe,z" + QByteArray::number(i) + ",\x02\r\n";
    junk += "last,41.24,21.27,1.93\r\n";
    file("junk.csv", junk);
    setPaletteFile("pal.csv");
    platform.queueFile("junk.csv");
    importType("xyz");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].startsWith("281 record(s) of \"junk.csv\" did not convert"))
        << messages()[0].toStdString();
    EXPECT_TRUE(messages()[0].contains("line 3: X needs a number"));
    const auto rows = readPaletteRows(readFile("pal.csv").toStdString());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].fields[2], "last");
    EXPECT_EQ(ui().messagesBox->toPlainText(),
              "2 colour(s) added to \"pal.csv\".\nWithin the MacAdam limits");
    // In a table a record that didn't convert keeps its place, its fields empty.
    platform.clear();
    file("notations.csv", "H,V,C\r\n5R,5,10\r\n5X,5,10\r\n5PB,99,8\r\n5PB,4,8\r\n");
    platform.queueFile("notations.csv");
    importType("0");
    const QStringList out = lines("tempOUT.txt");
    ASSERT_EQ(out.size(), 4);
    EXPECT_EQ(out[1], "5X,5,10" + QString(13, ','));
    EXPECT_EQ(out[2], "5PB,99,8" + QString(13, ','));
    EXPECT_TRUE(out[3].startsWith("5PB,4,8,"));
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(messages()[0].startsWith("2 record(s) of \"notations.csv\""));
}

TEST_F(Import, ATableThatCannotBeWrittenKeepsTheFileBeforeAndSaysWhy) {
    file("steps.txt", "5R\t5\t10\n");
    file("stepsMUNSELL.txt", "the table before\r\n");
    {
        // No file may grow past 16 bytes while the table is written.
        rlimit limit{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
        const rlimit before = limit;
        limit.rlim_cur = 16;
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
        importType("3");
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, previousHandler);
    }
    EXPECT_EQ(readFile("stepsMUNSELL.txt"), "the table before\r\n");
    ASSERT_FALSE(messages().empty());
    EXPECT_TRUE(messages().back().contains("stepsMUNSELL.txt\" can't be written"))
        << messages().back().toStdString();
    // A folder where the table goes: said before anything is converted.
    platform.clear();
    ASSERT_TRUE(QDir().mkdir("cchecker.csv"));
    file("ccnames.csv", "No,Name,Hue,Value,Chroma\r\n1,x,5R,5,4\r\n");
    importType("4");
    EXPECT_EQ(messages(), std::vector<QString>{"\"cchecker.csv\" can't be created: a folder "
                                               "has that name."});
}

TEST_F(Import, XyzRecordsGoToThePaletteWithTheirTags) {
    file("xyz.csv", "tag,X,Y,Z\r\nfirst,19.38,19.77,23.35\r\nsecond,41.24,21.27,1.93\r\n");
    setPaletteFile("pal.csv");
    platform.queueFile("xyz.csv");
    importType("xyz");
    const auto rows = readPaletteRows(readFile("pal.csv").toStdString());
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].fields[2], "first");
    EXPECT_EQ(rows[1].fields[2], "second");
    EXPECT_TRUE(QString::fromStdString(rows[1].fields[3]).endsWith("R"));
    EXPECT_EQ(paletteTag(), "second");
}

TEST_F(Import, LabRecordsAreNumberedTableLines) {
    file("lab_sRGB.csv", "L,a,b\r\n50,20,-30\r\n90,0,0\r\n");
    importType("6");
    const QStringList out = lines("lab_sRGB.txt");
    ASSERT_EQ(out.size(), 3);
    EXPECT_EQ(out[0], "#,Hue,Value,Chroma,X,Y,Z,L*,a*,b*,R,G,B");
    EXPECT_TRUE(out[1].startsWith(" 1 ,")) << out[1].toStdString();
    EXPECT_TRUE(out[2].startsWith(" 2 ," + ui().munsellBoxes[0]->text() + "," +
                                  ui().munsellBoxes[1]->text()));
    EXPECT_EQ(out[2].split(',').size(), 13);
    EXPECT_TRUE(out[2].endsWith("," + QString::fromStdString(printText(form->colour().blue))));
    // An empty input still gets its header.
    file("lab_sRGB.csv", "");
    importType("6");
    EXPECT_EQ(lines("lab_sRGB.txt"), QStringList{"#,Hue,Value,Chroma,X,Y,Z,L*,a*,b*,R,G,B"});
}

TEST_F(Import, MunsellRecordsOfAChosenFile) {
    file("notations.csv", "H,V,C\r\n5R,5,10\r\n5PB,4,8\r\n");
    platform.queueFile("notations.csv");
    importType("0");
    const QStringList out = lines("tempOUT.txt");
    ASSERT_EQ(out.size(), 2);
    EXPECT_TRUE(out[0].startsWith("5R,5,10,29.08,19.77,12.41,"));
    EXPECT_EQ(out[1].split(',').size(), 3 + 3 + 3 + 3 + 4);
    EXPECT_TRUE(out[1].endsWith("," + ui().cmykBoxes[3]->text()));
    EXPECT_TRUE(messages().empty());
    // The window ends on the last record, named, with its nearest chip.
    EXPECT_EQ(ui().colourNameBox->text(), "moderate blue (m.B)");
    EXPECT_TRUE(ui().nearestChipBox->text().startsWith("5PB 4/8  \u0394E00 0.00"));
    // A cancelled dialog ends quietly.
    platform.queueFile("");
    importType("0");
    EXPECT_TRUE(messages().empty());
}

TEST_F(Import, StepsCountColoursTheDisplayCannotShow) {
    file("steps.txt", "5R\t5\t10\n5G\t9\t2\n5PB\t2\t14\n2.5Y\t8\t14\n");
    importType("3");
    const QStringList out = lines("stepsMUNSELL.txt");
    ASSERT_EQ(out.size(), 5);
    EXPECT_EQ(out[0], "H,V,C,X,Y,Z,L*,a*,b*,R,G,B");
    EXPECT_TRUE(out[1].startsWith("5R,5,10,29.08,"));
    int edge = 0;
    for (int i = 1; i < out.size(); ++i) {
        const QStringList f = out[i].split(',');
        edge += f[9].trimmed() == "0" || f[9].trimmed() == "255" || f[10].trimmed() == "0" ||
                f[10].trimmed() == "255" || f[11].trimmed() == "0" || f[11].trimmed() == "255";
    }
    EXPECT_EQ(messages(),
              std::vector<QString>{QString("Total colors 4  Colors not displayed %1").arg(edge)});
    EXPECT_FALSE(form->colour().quietDisplay);
    EXPECT_GT(edge, 0);
}

TEST_F(Import, TablesWithHeadersKeepTheirOwnColumns) {
    file("ccnames.csv",
         "No,Name,Hue,Value,Chroma\r\n1,dark skin,3YR,3.7,3.2\r\n2,light skin,2.2YR,6.47,4.1\r\n");
    importType("4");
    QStringList out = lines("cchecker.csv");
    ASSERT_EQ(out.size(), 5);
    EXPECT_TRUE(out[0].startsWith(form->windowTitle() + "  Chart data: "));
    EXPECT_TRUE(out[1].endsWith("Taviel  March 12 2002"));
    EXPECT_EQ(out[2], "No,Name,Hue,Value,Chroma,X,Y,Z,L*,a*,b*,R,G,B");
    EXPECT_TRUE(out[3].startsWith("1,dark skin,3YR,3.7,3.2,"));
    EXPECT_EQ(messages(), std::vector<QString>{"Total colors 2  Colors not displayed 0"});
    platform.clear();
    file("RHScolors.txt", "Code,Name,Group,Hue,Value,Chroma\r\nN1,leaf,green,5GY,5,6\r\n");
    importType("2");
    out = lines("RHScolorsMUNSELL.txt");
    ASSERT_EQ(out.size(), 3);
    EXPECT_EQ(out[0], form->windowTitle());
    EXPECT_EQ(out[1], "Code,Name,Group,Hue,Value,Chroma,X,Y,Z,L*,a*,b*,R,G,B");
    EXPECT_TRUE(out[2].startsWith("N1,leaf,green,")) << out[2].toStdString();
    EXPECT_EQ(out[2].split(',').size(), 12);
}

TEST_F(Import, ChartNamesASpreadsheetWouldRunAreWrittenAsText) {
    file("ccnames.csv", "No,Name,Hue,Value,Chroma\r\n1,=1+2,5R,4,14\r\n-2,@SUM(A1),5PB,4,8\r\n");
    importType("4");
    const QStringList out = lines("cchecker.csv");
    ASSERT_EQ(out.size(), 5);
    EXPECT_TRUE(out[3].startsWith("1,\"'=1+2\",5R,4,14,")) << out[3].toStdString();
    EXPECT_TRUE(out[4].startsWith("-2,\"'@SUM(A1)\",5PB,4,8,")) << out[4].toStdString();
}

TEST_F(Import, MissingOrEmptyInputsSayFileNotFound) {
    for (const char* type : {"6", "3", "4", "2", "1"}) {
        importType(type);
        EXPECT_EQ(messages(), std::vector<QString>{"File not found"}) << type;
        platform.clear();
    }
    for (const char* name : {"steps.txt", "ccnames.csv", "RHScolors.txt"})
        file(name, "");
    for (const char* type : {"3", "4", "2"}) {
        importType(type);
        EXPECT_EQ(messages(), std::vector<QString>{"File not found"}) << type;
        platform.clear();
    }
}

TEST_F(Import, ReflectanceCurvesAreWrittenInPrintZones) {
    QByteArray text;
    for (const char* id : {"A1", "B2"}) // the 40th number ends its line
        text += QByteArray(id) + ",tile,glossy," + knownCurveText() + "\r\nnote for " +
                QByteArray(id) + "\r\n";
    file("munfile1.txt", text);
    importType("1");
    const QStringList out = lines("munout.txt");
    ASSERT_EQ(out.size(), 3);
    EXPECT_EQ(out[0], form->windowTitle());
    const QString& row = out[2];
    EXPECT_EQ(row.left(14), "B2            ");
    EXPECT_EQ(row.mid(14, 14), "tile          ");
    EXPECT_EQ(row.mid(42, 14).trimmed(), ui().munsellBoxes[0]->text());
    EXPECT_EQ(row.mid(84, 14),
              QString::fromStdString(printText(tris(knownCurve()).X)).leftJustified(14));
    EXPECT_EQ(row.mid(126, 14), "note for B2   ");
    EXPECT_EQ(row.mid(140, 14),
              QString::fromStdString(printText(knownReflectance(1))).leftJustified(14));
    EXPECT_EQ(row.size(), 14 * 50);
    EXPECT_EQ(session().reflectance, knownCurve());
    ASSERT_EQ(platform.shown().back().kind, ScriptedPlatform::Shown::Beep);
}

TEST_F(Import, CutShortRecordsStopTheImportAndSayWhere) {
    file("lab_sRGB.csv", "L,a,b\r\n50,20,-30\r\n60,10\r\n");
    importType("6");
    EXPECT_EQ(lines("lab_sRGB.txt").size(), 2);
    EXPECT_EQ(messages(),
              std::vector<QString>{
                  "Import stopped at line 3 of \"lab_sRGB.csv\": the record is cut short."});
    platform.clear();
    file("steps.txt", "5R\t5\t10\n5G 9 2\n5PB\t2\t14\n");
    importType("3");
    EXPECT_EQ(lines("stepsMUNSELL.txt").size(), 2);
    EXPECT_EQ(messages(),
              std::vector<QString>{"Import stopped at line 2 of \"steps.txt\": the line "
                                   "needs hue, value and chroma separated by two tabs."});
    EXPECT_FALSE(form->colour().quietDisplay);
    platform.clear();
    file("munfile1.txt", "A1,tile,glossy,1,2,3\r\n");
    importType("1");
    EXPECT_EQ(messages(),
              std::vector<QString>{
                  "Import stopped at line 1 of \"munfile1.txt\": the record is cut short."});
    EXPECT_EQ(lines("munout.txt").size(), 1);
}

} // namespace
} // namespace huelinx::testing

// make-default-palette: writes the viewer's default palette, a sampling of the
// Munsell solid (every second hue page at values 3, 5 and 7, chromas 2, 4, 6
// and 8) of the colours a display can show, through the main window's own
// palette writer.
//   make-default-palette data newpalette2.csv
#include "colour/mun2xyz.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/form1.h"
#include "platform/scripted_platform.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make-default-palette <data folder> <palette.csv>\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    huelinx::ScriptedPlatform platform;
    platform.setDateText("12-17-2022");
    platform.setTimeText("10:30:00");
    huelinx::Program program(platform);
    program.dataFolders << QString::fromLocal8Bit(argv[1]);
    huelinx::Form1 form(program);
    if (!form.Form_Load()) return 1;
    program.paletteFile = QString::fromLocal8Bit(argv[2]);
    QFile::remove(program.paletteFile);
    const char* families[10] = {"R", "YR", "Y", "GY", "G", "BG", "B", "PB", "P", "RP"};
    for (int value : {3, 5, 7})
        for (int family = 0; family < 10; ++family)
            for (int number : {5, 10})
                for (int chroma : {2, 4, 6, 8}) {
                    float v = static_cast<float>(value), X, Y, Z, x, y;
                    const float hue = static_cast<float>(family * 10 + number);
                    if (huelinx::mun2xyz(hue == 100 ? 0 : hue, v, static_cast<float>(chroma), X, Y,
                                         Z, x, y, program.table,
                                         form.settings()) != huelinx::MunsellToCie::Ok)
                        continue;
                    const QString hueText = QString::number(number) + families[family];
                    form.Text12[0]->setText(hueText);
                    form.Text12[1]->setText(QString::number(value));
                    form.Text12[2]->setText(QString::number(chroma));
                    form.vadoro();
                    if (program.rgbOutOfRange) continue;
                    program.paletteTag =
                        hueText + " " + QString::number(value) + "/" + QString::number(chroma);
                    if (!form.SaveData(1)) return 1;
                }
    return 0;
}

#include "instruments/batch_import.h"

#include "colour/tristimulus.h"
#include "mainwindow/entry_box.h"
#include "mainwindow/form1.h"
#include "text/list_input.h"
#include "text/number_format.h"
#include "text/number_read.h"

#include <QFile>

namespace huelinx {

namespace {

std::string boxText(const QLineEdit* box) {
    return box->text().toStdString();
}

} // namespace

void BatchImport::run(const QString& type) {
    if (type == "xyz")
        importXyz();
    else if (type == "6")
        importLab();
    else if (type == "0")
        importMunsell();
    else if (type == "3")
        importSteps();
    else if (type == "4")
        importChecker();
    else if (type == "2")
        importChart();
    else if (type == "1")
        importCurves();
    out_.close();
}

std::optional<std::string> BatchImport::readInput(const QString& name) {
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        program_.platform.message("File not found");
        return std::nullopt;
    }
    return file.readAll().toStdString();
}

bool BatchImport::createOutput(const QString& name) {
    out_.open(name.toStdString(), std::ios::binary | std::ios::trunc);
    if (out_) return true;
    program_.platform.message("\"" + name + "\" can't be created.");
    return false;
}

void BatchImport::write(const std::string& text) {
    out_ << text;
}

void BatchImport::stopped(std::size_t line, const QString& file, const QString& why) {
    out_.flush();
    program_.platform.message(
        QString("Import stopped at line %1 of \"%2\": %3").arg(line).arg(file, why));
}

bool BatchImport::readRecord(ListReader& reader, int count, std::vector<std::string>& fields,
                             const QString& file) {
    reader.skipBlankLines();
    if (reader.atEnd()) return false;
    recordLine_ = reader.lineNumber();
    fields.clear();
    for (int i = 0; i < count; ++i) {
        const auto field = reader.field();
        if (!field) {
            stopped(recordLine_, file, "the record is cut short.");
            return false;
        }
        fields.push_back(*field);
    }
    return true;
}

std::string BatchImport::convertedFields() {
    std::string text;
    for (auto* box : form_.Text11)
        text += "," + boxText(box);
    for (auto* box : form_.Text15)
        text += "," + boxText(box);
    for (int c : {program_.curRed, program_.curGreen, program_.curBlue})
        text += "," + printText(c);
    return text;
}

void BatchImport::countDisplayable() {
    ++total_;
    for (int c : {program_.curRed, program_.curGreen, program_.curBlue})
        if (c == 0 || c == 255) {
            ++notShown_;
            return;
        }
}

void BatchImport::reportCounts() {
    program_.platform.message("Total colors" + QString::fromStdString(signedText(total_)) +
                              "  Colors not displayed" +
                              QString::fromStdString(signedText(notShown_)));
}

void BatchImport::importXyz() {
    const QString name = program_.platform.openFileName("*.csv|*.csv");
    if (name.isEmpty()) return;
    const auto text = readInput(name);
    if (!text) return;
    ListReader reader(*text);
    reader.line(); // header
    std::vector<std::string> f;
    while (readRecord(reader, 4, f, name)) {
        program_.paletteTag = QString::fromStdString(f[0]);
        for (int i = 0; i < 3; ++i)
            form_.Text11[i]->setText(QString::fromStdString(f[i + 1]));
        form_.xyzEntered();
        form_.SaveData(1);
    }
}

void BatchImport::importLab() {
    const QString name = "lab_sRGB.csv";
    const auto text = readInput(name);
    if (!text || !createOutput("lab_sRGB.txt")) return;
    write("#,Hue,Value,Chroma,X,Y,Z,L*,a*,b*,R,G,B\r\n");
    ListReader reader(*text);
    reader.line();
    std::vector<std::string> f;
    for (long long record = 1; readRecord(reader, 3, f, name); ++record) {
        for (int i = 0; i < 3; ++i)
            form_.Text15[i]->setText(QString::fromStdString(f[i]));
        program_.platform.processEvents();
        form_.labEntered();
        std::string line = printText(record);
        for (auto* box : form_.Text12)
            line += "," + boxText(box);
        write(line + convertedFields() + "\r\n");
    }
}

void BatchImport::importMunsell() {
    const QString name = program_.platform.openFileName("*.csv|*.csv");
    if (name.isEmpty()) return;
    const auto text = readInput(name);
    if (!text || !createOutput("tempOUT.txt")) return;
    ListReader reader(*text);
    reader.line();
    std::vector<std::string> f;
    while (readRecord(reader, 3, f, name)) {
        for (int i = 0; i < 3; ++i)
            form_.Text12[i]->setText(QString::fromStdString(f[i]));
        program_.platform.processEvents();
        write(f[0] + "," + f[1] + "," + f[2]);
        program_.platform.processEvents();
        form_.vadoro();
        program_.platform.processEvents();
        std::string line = convertedFields();
        for (auto* box : form_.Text2)
            line += "," + boxText(box);
        write(line + "\r\n");
    }
}

} // namespace huelinx

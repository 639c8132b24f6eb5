#include "instruments/batch_import.h"

#include "colour/tristimulus.h"
#include "mainwindow/colour_host.h"
#include "mainwindow/program.h"
#include "text/list_input.h"
#include "text/number_format.h"
#include "text/number_read.h"

#include <QFile>
#include <QWidget>

namespace huelinx {

void BatchImport::run(const QString& type) {
    colour_ = host_.colour();
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
    colour_.quietDisplay = false;
    colour_.messages.clear();
    host_.showColour(colour_);
}

void BatchImport::enterColour(Notation notation, const std::vector<std::string>& texts) {
    const int first = static_cast<int>(firstBox(notation));
    for (std::size_t i = 0; i < texts.size(); ++i)
        colour_[static_cast<Box>(first + static_cast<int>(i))] = texts[i];
    enterInPlace(colour_, notation, program_.table);
    for (const std::string& message : colour_.messages)
        program_.platform.message(QString::fromStdString(message));
}

std::string BatchImport::caption() const {
    return host_.hostWindow().windowTitle().toStdString();
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
    for (Box b : {Box::X, Box::Y, Box::Z, Box::L, Box::A, Box::B})
        text += "," + colour_[b];
    for (int c : {colour_.red, colour_.green, colour_.blue})
        text += "," + printText(c);
    return text;
}

void BatchImport::countDisplayable() {
    ++total_;
    for (int c : {colour_.red, colour_.green, colour_.blue})
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
        enterColour(Notation::Xyz, {f[1], f[2], f[3]});
        host_.saveToPalette(colour_, TagPrompt::UseCurrentTag);
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
        program_.platform.processEvents();
        enterColour(Notation::Lab, {f[0], f[1], f[2]});
        std::string line = printText(record);
        for (Box b : {Box::Hue, Box::Value, Box::Chroma})
            line += "," + colour_[b];
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
        program_.platform.processEvents();
        write(f[0] + "," + f[1] + "," + f[2]);
        program_.platform.processEvents();
        enterColour(Notation::Munsell, {f[0], f[1], f[2]});
        program_.platform.processEvents();
        std::string line = convertedFields();
        for (Box b : {Box::Cyan, Box::Magenta, Box::Yellow, Box::Black})
            line += "," + colour_[b];
        write(line + "\r\n");
    }
}

} // namespace huelinx

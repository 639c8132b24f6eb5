#include "instruments/batch_import.h"

#include "colour/tristimulus.h"
#include "files/file_read.h"
#include "files/file_write.h"
#include "instrument_data/import_records.h"
#include "palette/palette_file.h"
#include "platform/palette_questions.h"
#include "platform/platform.h"
#include "session/session.h"
#include "text/list_input.h"
#include "text/number_format.h"
#include "text/number_read.h"

#include <filesystem>
#include <system_error>

namespace huelinx {

void BatchImport::run(const QString& type) {
    colour_ = session_.colour();
    lastReading_.clear();
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
    else if (type == "cgats")
        importCgats();
    else {
        // Nothing ran, so the colour stays as it is and no window hears of it.
        session_.note(
            QString("Unknown import type \"%1\"; nothing was imported.").arg(type).toStdString());
        return;
    }
    finish();
    colour_.quietDisplay = false;
    colour_.messages.clear();
    session_.setColour(colour_, Change::Entry, this);
}

bool BatchImport::enterColour(Notation notation, const std::vector<std::string>& texts) {
    const int first = static_cast<int>(firstBox(notation));
    for (std::size_t i = 0; i < texts.size(); ++i)
        colour_[static_cast<Box>(first + static_cast<int>(i))] = texts[i];
    enterInPlace(colour_, notation, session_.table());
    // A colour outside the Munsell data is still written; these give no colour.
    if (!colour_.outcome.hasAny({Outcome::Refused, Outcome::FormatError, Outcome::OutOfMunsellRange,
                                 Outcome::NoNotation}))
        return true;
    if (failed_++ == 0) {
        firstFailedLine_ = recordLine_;
        firstFailure_ = colour_.messages.empty() ? std::string() : colour_.messages.front();
    }
    return false;
}

std::string BatchImport::emptyFields(int count) {
    return std::string(static_cast<std::size_t>(count), ',');
}

std::string BatchImport::caption() const {
    return session_.caption;
}

QString BatchImport::chooseFile(const QString& filter) {
    const QString name =
        platform_.openFileName(filter, QString::fromStdString(session_.lastFolder));
    if (!name.isEmpty()) session_.choseFile(name.toStdString());
    return name;
}

std::optional<std::string> BatchImport::readInput(const QString& name) {
    inputName_ = name;
    FileText file = readWholeFile(name.toStdString(), userFileLimit);
    if (file.status == FileRead::Ok) return std::move(file.text);
    platform_.message(QString::fromStdString(
        unreadableFileMessage(name.toStdString(), file.status, userFileLimit)));
    return std::nullopt;
}

bool BatchImport::createOutput(const QString& name) {
    std::error_code ec;
    if (std::filesystem::is_directory(name.toStdString(), ec)) {
        platform_.message("\"" + name + "\" can't be created: a folder has that name.");
        return false;
    }
    outputName_ = name;
    output_.clear();
    return true;
}

void BatchImport::write(const std::string& text) {
    output_ += text;
}

void BatchImport::finish() {
    if (failed_ > 0)
        platform_.message(
            QString("%1 record(s) of \"%2\" did not convert and have no colour; the first, at "
                    "line %3: %4")
                .arg(failed_)
                .arg(inputName_)
                .arg(firstFailedLine_)
                .arg(QString::fromStdString(firstFailure_)));
    if (outputName_.isEmpty()) {
        if (toPalette_)
            session_.note(QString("%1 colour(s) added to \"%2\".")
                              .arg(written_)
                              .arg(QString::fromStdString(session_.palette().file()))
                              .toStdString());
        return;
    }
    const Result saved = replaceFile(outputName_.toStdString(), output_);
    if (!saved.ok) {
        platform_.message(QString::fromStdString("The import was not saved: " + saved.message));
        return;
    }
    session_.note(
        QString("\"%1\" written: %2 record(s).").arg(outputName_).arg(written_).toStdString() +
        (lastReading_.empty() ? "" : "\nLast curve: " + lastReading_));
}

void BatchImport::stopped(std::size_t line, const QString& file, const QString& why) {
    platform_.message(QString("Import stopped at line %1 of \"%2\": %3").arg(line).arg(file, why));
}

bool BatchImport::readRecord(ListReader& reader, int count, std::vector<std::string>& fields,
                             const QString& file) {
    switch (readImportRecord(reader, count, fields, recordLine_)) {
    case RecordRead::Record:
        return true;
    case RecordRead::CutShort:
        stopped(recordLine_, file, "the record is cut short.");
        return false;
    case RecordRead::End:
        break;
    }
    return false;
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
    platform_.message("Total colors" + QString::fromStdString(signedText(total_)) +
                      "  Colors not displayed" + QString::fromStdString(signedText(notShown_)));
}

void BatchImport::importXyz() {
    const QString name = chooseFile("*.csv|*.csv");
    if (name.isEmpty()) return;
    const auto text = readInput(name);
    if (!text) return;
    toPalette_ = true;
    ListReader reader(*text);
    reader.line(); // header
    std::vector<std::string> f;
    // The records go to the palette in one write, all or none.
    const std::string date = platform_.dateText().toStdString();
    const std::string time = platform_.timeText().toStdString();
    std::string records;
    long converted = 0;
    while (readRecord(reader, 4, f, name)) {
        session_.palette().setTag(f[0]);
        if (!enterColour(Notation::Xyz, {f[1], f[2], f[3]})) continue;
        PaletteRecord record = paletteRecord(readRgbBoxes(colour_));
        record.date = date;
        record.time = time;
        record.tag = f[0];
        records += paletteLine(record);
        ++converted;
    }
    if (converted > 0 && savePaletteRecords(platform_, session_.palette(), records))
        written_ = converted;
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
        platform_.processEvents();
        std::string line = printText(record);
        if (enterColour(Notation::Lab, {f[0], f[1], f[2]})) {
            for (Box b : {Box::Hue, Box::Value, Box::Chroma})
                line += "," + colour_[b];
            line += convertedFields();
        } else {
            line += emptyFields(12);
        }
        write(line + "\r\n");
        ++written_;
    }
}

void BatchImport::importMunsell() {
    const QString name = chooseFile("*.csv|*.csv");
    if (name.isEmpty()) return;
    const auto text = readInput(name);
    if (!text || !createOutput("tempOUT.txt")) return;
    ListReader reader(*text);
    reader.line();
    std::vector<std::string> f;
    while (readRecord(reader, 3, f, name)) {
        platform_.processEvents();
        write(f[0] + "," + f[1] + "," + f[2]);
        platform_.processEvents();
        const bool converted = enterColour(Notation::Munsell, {f[0], f[1], f[2]});
        platform_.processEvents();
        std::string line = emptyFields(13);
        if (converted) {
            line = convertedFields();
            for (Box b : {Box::Cyan, Box::Magenta, Box::Yellow, Box::Black})
                line += "," + colour_[b];
        }
        write(line + "\r\n");
        ++written_;
    }
}

} // namespace huelinx

#include "platform/palette_questions.h"

#include "palette/palette_file.h"
#include "platform/platform.h"
#include "session/palette_document.h"

namespace huelinx {

bool askPaletteFile(Platform& p, PaletteDocument& palette, TagPrompt prompt) {
    for (;;) {
        if (!palette.hasFile()) {
            palette.setFile(p.inputBox("Palette File Name to save or append  [.CSV added]",
                                       "Save Palette Data", "TZMpalette")
                                .toStdString());
            if (!palette.hasFile()) return false;
        }
        if (prompt == TagPrompt::UseCurrentTag) return true;
        const QString tag = p.inputBox("Palette " + QString::fromStdString(palette.file()) +
                                           " - Enter Tag [Enter 'file' to change file name]",
                                       "Palette File Save - TAG");
        palette.setTag(tag.toStdString());
        if (tag.toLower() != "file") return true;
        palette.setFile({});
    }
}

namespace {

bool appendShown(Platform& p, PaletteDocument& palette, const std::string& records) {
    const Result saved = palette.append(records);
    if (saved.ok) return true;
    p.message(QString::fromStdString("The colour could not be saved: " + saved.message),
              Buttons::Ok, Icon::Exclamation);
    return false;
}

} // namespace

bool savePaletteRecords(Platform& p, PaletteDocument& palette, const std::string& records,
                        TagPrompt prompt) {
    return askPaletteFile(p, palette, prompt) && appendShown(p, palette, records);
}

bool saveColourRecord(Platform& p, PaletteDocument& palette, const ColourModel& colour,
                      TagPrompt prompt) {
    if (!askPaletteFile(p, palette, prompt)) return false;
    PaletteRecord record = paletteRecord(readRgbBoxes(colour));
    record.date = p.dateText().toStdString();
    record.time = p.timeText().toStdString();
    record.tag = palette.tag();
    record.moist = palette.moist();
    record.dry = palette.dry();
    if (!appendShown(p, palette, paletteLine(record))) return false;
    // The readings belong to the sample just saved, not to the next one.
    palette.forgetReadings();
    return true;
}

} // namespace huelinx

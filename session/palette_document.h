// The palette document: the file the user's colours are saved to, the tag
// given to the next record, and the writes to it. Records are only ever
// written whole: an append or a replacement either writes every record given
// or leaves the file as it was. Windows that show the palette listen to
// `changed`. The document also holds the palette as last loaded to be shown:
// its rows converted into entries, which the viewer draws, lists, picks and
// exports.
#pragma once

#include "files/result.h"
#include "palette/palette_entries.h"
#include "session/signal.h"

#include <string>
#include <vector>

namespace huelinx {

class PaletteDocument {
  public:
    // The palette file a typed name means: ".csv" added unless the name ends
    // in it (in any case), and an existing palette of that name in another
    // case used instead, so one palette never ends up in two files.
    static std::string fileNamed(std::string typed);

    // The palette file; empty while none has been chosen. A name set but not
    // written to yet may still lack its ".csv".
    const std::string& file() const { return file_; }
    void setFile(std::string name) { file_ = std::move(name); }
    bool hasFile() const { return !file_.empty(); }
    // The tag of the next record saved.
    const std::string& tag() const { return tag_; }
    void setTag(std::string tag) { tag_ = std::move(tag); }
    // A soil sample's moist and dry readings (notations) kept for the next
    // record saved; empty when none is kept.
    const std::string& moist() const { return moist_; }
    const std::string& dry() const { return dry_; }
    void keepReading(bool dry, std::string notation) {
        (dry ? dry_ : moist_) = std::move(notation);
    }
    void forgetReadings() { moist_.clear(), dry_.clear(); }

    // Appends whole records (each ended by CR LF) to the palette file, whose
    // name is made a palette file name first; not ok with the message (naming
    // the file and the problem) when nothing was written.
    [[nodiscard]] Result append(const std::string& records);
    // Replaces the palette file with `records`.
    [[nodiscard]] Result replace(const std::string& records);

    enum class Write { Appended, Replaced };
    // Sent after records were written to the file.
    Signal<Write> changed;

    // The loaded palette: the entries of the rows read and the file they were
    // read from (which need not be the palette file records go to).
    const std::vector<PaletteEntry>& entries() const { return entries_; }
    const std::string& entriesFile() const { return entriesFile_; }
    void setEntries(std::vector<PaletteEntry> entries, std::string file) {
        entries_ = std::move(entries);
        entriesFile_ = std::move(file);
    }

  private:
    std::string file_, tag_, moist_, dry_;
    std::vector<PaletteEntry> entries_;
    std::string entriesFile_;
};

} // namespace huelinx

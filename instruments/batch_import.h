// "Import": whole files of colours converted in one run through the colour
// model, as if each record had been typed into the main window, which shows
// the last colour converted when the run ends.
//
//   "xyz"  tag, X, Y, Z records of a chosen file, appended to the palette
//   "6"    L*, a*, b* records of lab_sRGB.csv          -> lab_sRGB.txt
//   "0"    hue, value, chroma records of a chosen file -> tempOUT.txt
//   "3"    tab-separated notations of steps.txt        -> stepsMUNSELL.txt
//   "4"    the ColorChecker table ccnames.csv          -> cchecker.csv
//   "2"    a colour chart table RHScolors.txt          -> RHScolorsMUNSELL.txt
//   "1"    reflectance curves of munfile1.txt          -> munout.txt
//   "cgats" samples of a chosen CGATS.17 file, added to the palette
//                                                       -> <file>-report.csv
//
// A record cut short or a steps line without two tabs ends the run with the
// records before it written and a message naming the line and the file.
// A record that doesn't convert (a box without a number, a notation out of
// range) is written with its converted fields empty, and is not added to the
// palette; one message at the end counts such records and names the first.
// A table is written whole or not at all (see files/file_write.h); the
// run ends with a line in Messages naming the file and its records.
#pragma once

#include "colour/colour_model.h"

#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace huelinx {

struct CgatsImport;
class ListReader;
class Platform;
class Session;

class BatchImport {
  public:
    BatchImport(Session& session, Platform& platform) : session_(session), platform_(platform) {}

    // Runs the import named by `type`; any other type is said in Messages
    // and changes nothing.
    void run(const QString& type);
    // Adds the samples of the CGATS file at `path` to the palette, as the
    // "cgats" type does with the file chosen, with the same note in Messages
    // (a file dropped on a window); the current colour stays as it is.
    void importCgatsFile(const QString& path);

  private:
    void importXyz();
    void importLab();
    void importMunsell();
    void importSteps();
    void importChecker();
    void importChart();
    void importCurves();
    // The whole file is read and converted before anything is written: a
    // fault anywhere writes nothing.
    void importCgats();
    void importCgatsFrom(const QString& name);
    // The last spectral sample's line under the light chosen, for the note.
    std::string lastReadingLine(const CgatsImport& imported);

    // A file chosen in a dialog that opens in the folder last used (which it
    // then remembers); empty when cancelled.
    QString chooseFile(const QString& filter);
    // The whole input file, or nothing after "File not found".
    std::optional<std::string> readInput(const QString& name);
    // The input of a table import, its output opened; nothing after a message
    // when the input is missing or empty or the output can't be created.
    std::optional<std::string> readTable(const QString& input, const QString& output);
    // Starts the output table `name`, written when the run ends; false after
    // a message when a folder of that name is in the way.
    bool createOutput(const QString& name);
    // Writes the output table (or says why it can't be), reports the records
    // that didn't convert, and puts the closing line into Messages.
    void finish();
    // Reads the next `count` fields into `fields`; false at the end of the
    // data (quietly when nothing of the record was there, else after the
    // cut-short message).
    bool readRecord(ListReader& reader, int count, std::vector<std::string>& fields,
                    const QString& file);
    void stopped(std::size_t line, const QString& file, const QString& why);
    void write(const std::string& text);
    // ",X,Y,Z,L*,a*,b*,R,G,B" as the window now shows them.
    std::string convertedFields();
    void countDisplayable();
    // Puts texts into a notation's boxes and enters them; false when the
    // entry is refused (its message is kept for the report at the end).
    bool enterColour(Notation notation, const std::vector<std::string>& texts);
    // The fields convertedFields() would write, empty, for a record that
    // didn't convert.
    static std::string emptyFields(int count);
    // The main window's caption, which heads the tables.
    std::string caption() const;
    // Puts a notation into the Munsell boxes, converts it, writes the
    // converted fields and counts the colour.
    void convertNotation(const std::string& hue, const std::string& value,
                         const std::string& chroma);
    void reportCounts();

    Session& session_;
    Platform& platform_;
    ColourModel colour_;
    std::string output_;     // the table being written
    QString outputName_;     // its file; empty when the import writes none
    QString inputName_;      // the file the records come from
    bool toPalette_ = false; // the records go to the palette file
    long written_ = 0;       // records written to the table or the palette
    int total_ = 0, notShown_ = 0;
    std::size_t recordLine_ = 0; // line where the last record began
    int failed_ = 0;             // records that didn't convert
    std::size_t firstFailedLine_ = 0;
    std::string firstFailure_;
    // The last curve read under the spectral light chosen, for the closing
    // note; empty under C, 2 degrees.
    std::string lastReading_;
};

} // namespace huelinx

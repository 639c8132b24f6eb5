// The program's shared state, below every window: the current colour, the
// palette document, the resources read at start, and the notices windows
// give each other. Windows read it and change it through it, and listen to
// what changed; none of them owns it, and none holds another window to learn
// or change the current colour.
#pragma once

#include "colour/colour_model.h"
#include "colour/tristimulus.h"
#include "session/colour_history.h"
#include "session/palette_document.h"
#include "session/recent_files.h"
#include "session/resources.h"
#include "session/signal.h"

#include <cstdint>
#include <string>

namespace huelinx {

// What made the current colour change.
enum class Change {
    Entry,       // an entry in one of the six notations, a chart click, a palette row
    Settings,    // illuminant, PWD, gamma, white balance
    Slider,      // a Munsell or display slider
    Measurement, // a spectrophotometer or a reflectance curve
    Hover,       // the picture's block under the pointer, read as it moves
};

// A change of the current colour as listeners see it. `origin` is the listener
// (by its `this`) that made the change, or null; the colour still carries what
// the change did (its messages and the flags of what was converted).
struct ColourChange {
    const ColourModel& colour;
    Change what;
    const void* origin;
};

class Session {
  public:
    explicit Session(Resources& resources) : resources_(resources) {}
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Resources& resources() { return resources_; }
    const Resources& resources() const { return resources_; }
    const MunTable& table() const { return resources_.table(); }
    PaletteDocument& palette() { return palette_; }

    // ---- the current colour ----------------------------------------------
    const ColourModel& colour() const { return colour_; }
    // Makes `next` the current colour and tells the listeners (each may skip
    // the changes it made itself); afterwards the stored colour forgets what
    // the change did, so the next reader starts clean. A listener that sets a
    // colour meanwhile makes that one current: the listeners after it see it.
    // Every change but a setting's that shows other texts in the boxes, and
    // gives a colour (no refusal), is a step of the history; a run of slider
    // moves, or of picture reads under the moving pointer, is one step.
    void setColour(ColourModel next, Change what, const void* origin = nullptr);
    // Stores a colour whose change no other window follows (PWD, the white
    // balance, the display colour read back from its boxes); no listener is
    // told, and the window that made it shows it itself.
    void keep(ColourModel next);
    // Text typed into a box and not entered yet: kept in the colour, and no
    // listener is told (nothing was converted).
    void type(Box box, std::string text);
    Signal<const ColourChange&> colourChanged;

    // ---- undo, redo and the recent colours ------------------------------------
    const ColourHistory& history() const { return history_; }
    // The colour before the last step (or the one undone last) comes back as
    // an entry every window follows (origin null). A step made under other
    // settings is converted anew under the current ones, as a change of the
    // illuminant converts the notation. False when there is nothing to go to.
    bool undo();
    bool redo();
    // The colour `index` of history().recent() comes back, as a new step.
    bool bringBack(std::size_t index);
    // The steps or the recent colours changed.
    Signal<> historyChanged;

    // The last reflectance curve measured or read, 380..730 nm.
    Reflectance reflectance{};
    // The light (a name of illuminants.csv) and observer (2 or 10 degrees) a
    // reading is also given under in Messages; not remembered between runs,
    // as the illuminant isn't.
    std::string spectralLight = "C";
    int spectralObserver = 2;
    // The illuminants and observers, read on first use; null when they can't
    // be, with the reason in `why`.
    const SpectralTables* spectralTables(std::string& why);
    // The line Messages adds for a reading: "Under F11, 10°: X ... Y ... Z ...
    // L*a*b* ...". Empty under C, 2°, where the boxes show the reading; the
    // reason when the tables can't be read.
    std::string readingUnderLight(const Reflectance& reading);

    // ---- notices between windows -------------------------------------------
    // The program's caption ("Huelinx 12.23.1 ..."), for the head of tables
    // the program writes.
    std::string caption;
    // A line for the Messages box: a note, no box to close.
    void note(const std::string& line) { noted.send(line); }
    Signal<const std::string&> noted;
    // While a window runs something long or shows its help, the main window
    // steps aside: `busy` is sent true at the start and false at the end.
    class Busy {
      public:
        explicit Busy(Session& session) : session_(session) { session_.busy.send(true); }
        ~Busy() { session_.busy.send(false); }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

      private:
        Session& session_;
    };
    Signal<bool> busy;
    // Asks for the palette viewer on the current palette file.
    Signal<> paletteViewWanted;
    // Asks for the palette viewer on a palette file the user chooses there
    // (File > Open Palette).
    Signal<> paletteOpenWanted;
    // Asks for the window colours are typed into, in front.
    Signal<> entryWanted;
    // Asks for the palette viewer on the palette file at the path (File >
    // Open Recent, a palette dropped on a window).
    Signal<const std::string&> paletteFileWanted;
    // Asks for the picture window on the picture file at the path.
    Signal<const std::string&> pictureFileWanted;

    // ---- files -------------------------------------------------------------
    // The folder of the file last chosen in a file dialog, where the next
    // dialog opens; empty at start, so the first opens in the working folder.
    std::string lastFolder;
    void choseFile(const std::string& path) { lastFolder = folderOf(path); }
    // The palettes and pictures opened lately, kept in "Recent.txt" in the
    // working folder.
    const RecentFiles& recent() const { return recent_; }
    // A file opened (or found gone): the list changes and recentChanged is sent.
    void addRecent(RecentFiles::Kind kind, const std::string& path);
    void removeRecent(const std::string& path);
    Signal<> recentChanged;

  private:
    Resources& resources_;
    PaletteDocument palette_;
    // A colour of the history as the current settings show it, with the
    // flags that make the other windows follow it.
    ColourModel followable(ColourModel snapshot) const;

    ColourModel colour_ = ColourModel::initial();
    // The colour as last shown: without the texts typed since, which the
    // history never keeps.
    ColourModel shown_ = ColourModel::initial();
    ColourHistory history_;
    // Remembering recent files is a convenience: a store that can't be
    // written keeps the list for this run only.
    RecentFiles recent_{"Recent.txt"};
    bool restoring_ = false;
    Change lastChange_ = Change::Settings;
};

} // namespace huelinx

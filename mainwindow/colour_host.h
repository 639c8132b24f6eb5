// What the other windows (charts, picture window, palette viewer) and the
// batch import may ask of the main window, without knowing the window
// itself: the colour it shows, to show another one, to save a colour to the
// palette file, to open the palette viewer, and that one of them was closed.
#pragma once

#include "colour/colour_model.h"

#include <string>

class QString;
class QWidget;

namespace huelinx {

class ChipSearch;

// The windows opened by the main window's check boxes.
enum class Companion { HuePage, ToleranceSet, ValuePage, ColorChecker, Picture, Viewer };

// Whether saving asks the user for the record's tag, or uses the tag set.
enum class TagPrompt { Ask, UseCurrentTag };

class ColourHost {
  public:
    virtual ~ColourHost() = default;

    // The colour the main window shows, with the settings it was converted under.
    virtual const ColourModel& colour() const = 0;
    // Shows a colour: its boxes, sliders and swatch, then its messages; the
    // open charts follow it.
    virtual void showColour(ColourModel colour) = 0;
    // Appends a colour to the palette file, asking for the file when none is
    // set; false when nothing was written (the user gave no name, or the file
    // can't be written: the message has been shown).
    virtual bool saveToPalette(const ColourModel& colour, TagPrompt prompt) = 0;
    // Appends whole palette records (each ended by CR LF) to the palette file
    // in one write, asking for the file when none is set; false when nothing
    // was written (no name given, or the message has been shown).
    virtual bool appendPaletteRecords(const std::string& records) = 0;
    // The chip set the main window searches for the nearest chip; null when
    // none could be read.
    virtual ChipSearch* chipSearch() = 0;
    // Shows the palette viewer (created if needed) on the current palette file.
    virtual void viewCurrentPalette() = 0;
    // The companion window was closed or left: its check box is cleared.
    virtual void companionClosed(Companion which) = 0;
    // Puts one line into the main window's Messages box (no box to close).
    virtual void showNote(const QString& line) = 0;
    // The main window itself, to hide it while another window's help or
    // palette loading runs, and for its caption.
    virtual QWidget& hostWindow() = 0;
};

} // namespace huelinx

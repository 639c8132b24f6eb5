// The questions asked before a colour is saved to the palette document: the
// palette file when none is set, and the record's tag.
#pragma once

#include "colour/colour_model.h"

#include <string>

namespace huelinx {

class Platform;
class PaletteDocument;

// Whether saving asks the user for the record's tag, or uses the tag set.
enum class TagPrompt { Ask, UseCurrentTag };

// Asks for the palette file when none is set and, when asked to, for the tag
// (a tag "file" asks for the file again); false when the user gave no file
// name.
bool askPaletteFile(Platform& platform, PaletteDocument& palette, TagPrompt prompt);

// Appends whole records to the palette file, asking for the file (and the tag)
// first; false when nothing was written: no name was given, or the file
// can't be written and the message saying why has been shown.
bool savePaletteRecords(Platform& platform, PaletteDocument& palette, const std::string& records,
                        TagPrompt prompt = TagPrompt::UseCurrentTag);

// Appends the record of a colour, dated now, its display colour read from its
// R, G, B boxes and tagged with the tag current once the questions are
// answered, with the moist and dry readings kept for it (forgotten once it is
// saved); false as above.
bool saveColourRecord(Platform& platform, PaletteDocument& palette, const ColourModel& colour,
                      TagPrompt prompt);

} // namespace huelinx

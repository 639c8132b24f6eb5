// The colours the user went through: the steps Ctrl+Z and Ctrl+Shift+Z walk,
// and a short list of the last colours shown, newest first, that a click
// brings back. The session feeds it as the current colour changes; it keeps
// whole colour models, so a step comes back exactly as it was shown.
#pragma once

#include "colour/colour_model.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace huelinx {

class ColourHistory {
  public:
    // Steps kept for undo, and colours kept in the recent list.
    static constexpr std::size_t stepLimit = 100, recentLimit = 10;

    // A change from `before` to `after`, both as shown. Nothing is recorded
    // when the boxes show the same texts. A slider change right after
    // another slider change (no other change between them) joins its step,
    // so one drag is one step. A new step forgets what was undone. False
    // when nothing was recorded.
    bool record(const ColourModel& before, const ColourModel& after, bool slider);
    // Any other change between two slider changes: the next one starts a step.
    void endRun() { sliderRun_ = false; }

    // The colour before the last step, `current` kept for redo; none when
    // there is no step.
    std::optional<ColourModel> undo(const ColourModel& current);
    // The colour the last undo left, `current` kept for undo; none when
    // nothing was undone since the last step.
    std::optional<ColourModel> redo(const ColourModel& current);
    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }

    // The last colours shown, newest (the current colour) first, each label once.
    const std::vector<ColourModel>& recent() const { return recent_; }

  private:
    void addRecent(const ColourModel& colour);

    std::vector<ColourModel> undo_, redo_, recent_;
    bool sliderRun_ = false;
};

// How the history names a colour: its Munsell notation ("5R 4/14", "N 5/"),
// or for a colour the data hold no notation for, its X, Y, Z ("XYZ 1.2 3 4").
[[nodiscard]] std::string historyLabel(const ColourModel& colour);

} // namespace huelinx

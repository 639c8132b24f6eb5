#include "session/colour_history.h"

#include "colour/hue.h"

#include <algorithm>
#include <utility>

namespace huelinx {

namespace {

// A colour as the history keeps it: what the change did is not part of it.
ColourModel snapshot(ColourModel colour) {
    colour.forgetChange();
    colour.quietDisplay = false;
    return colour;
}

void pushLimited(std::vector<ColourModel>& steps, ColourModel colour) {
    if (steps.size() == ColourHistory::stepLimit) steps.erase(steps.begin());
    steps.push_back(snapshot(std::move(colour)));
}

} // namespace

std::string historyLabel(const ColourModel& colour) {
    if (!colour[Box::Hue].empty())
        return notationText(colour[Box::Hue], colour[Box::Value], colour[Box::Chroma]);
    return "XYZ " + colour[Box::X] + " " + colour[Box::Y] + " " + colour[Box::Z];
}

bool ColourHistory::record(const ColourModel& before, const ColourModel& after, bool slider) {
    const bool joined = slider && sliderRun_;
    sliderRun_ = slider;
    if (before.box == after.box) return false;
    if (!joined) pushLimited(undo_, before);
    redo_.clear();
    // A drag shows one row in the list, the colour it stopped at.
    if (joined && !recent_.empty()) recent_.erase(recent_.begin());
    if (!joined) addRecent(before);
    addRecent(after);
    return true;
}

std::optional<ColourModel> ColourHistory::undo(const ColourModel& current) {
    if (undo_.empty()) return std::nullopt;
    ColourModel back = std::move(undo_.back());
    undo_.pop_back();
    pushLimited(redo_, current);
    sliderRun_ = false;
    addRecent(back);
    return back;
}

std::optional<ColourModel> ColourHistory::redo(const ColourModel& current) {
    if (redo_.empty()) return std::nullopt;
    ColourModel again = std::move(redo_.back());
    redo_.pop_back();
    pushLimited(undo_, current);
    sliderRun_ = false;
    addRecent(again);
    return again;
}

void ColourHistory::addRecent(const ColourModel& colour) {
    const std::string label = historyLabel(colour);
    std::erase_if(recent_, [&label](const ColourModel& c) { return historyLabel(c) == label; });
    recent_.insert(recent_.begin(), snapshot(colour));
    if (recent_.size() > recentLimit) recent_.resize(recentLimit);
}

} // namespace huelinx

#include "session/session.h"

#include "colour/reflectance_colour.h"

#include <cmath>
#include <utility>

namespace huelinx {

namespace {

bool sameSettings(const ColourModel& a, const ColourModel& b) {
    const ColourSettings &s = a.settings, &t = b.settings;
    return s.illuminant == t.illuminant && s.pwd == t.pwd && s.channelScale == t.channelScale &&
           s.gammaInv == t.gammaInv && s.cmyExponent == t.cmyExponent &&
           a.gammaText == b.gammaText && a.gammaPosition == b.gammaPosition &&
           a.whiteBalance == b.whiteBalance;
}

} // namespace

void Session::setColour(ColourModel next, Change what, const void* origin) {
    const bool step = !restoring_ && what != Change::Settings && !next.outcome.hasAny(noNewColour);
    bool recorded = false;
    // A run is one kind of move: a hover right after a slider starts a step.
    if (what != lastChange_ || !step) history_.endRun();
    lastChange_ = what;
    if (step)
        recorded = history_.record(shown_, next, what == Change::Slider || what == Change::Hover);
    colour_ = std::move(next);
    shown_ = colour_;
    shown_.forgetChange();
    colourChanged.send({colour_, what, origin});
    colour_.forgetChange();
    if (recorded || restoring_) historyChanged.send();
}

void Session::keep(ColourModel next) {
    colour_ = std::move(next);
    shown_ = colour_;
    history_.endRun();
}

void Session::type(Box box, std::string text) {
    colour_[box] = std::move(text);
}

bool Session::undo() {
    auto back = history_.undo(shown_);
    if (!back) return false;
    restoring_ = true;
    setColour(followable(std::move(*back)), Change::Entry);
    restoring_ = false;
    return true;
}

bool Session::redo() {
    auto again = history_.redo(shown_);
    if (!again) return false;
    restoring_ = true;
    setColour(followable(std::move(*again)), Change::Entry);
    restoring_ = false;
    return true;
}

bool Session::bringBack(std::size_t index) {
    if (index >= history_.recent().size()) return false;
    // A colour of the list is a new step, which Ctrl+Z takes back.
    history_.endRun();
    setColour(followable(history_.recent()[index]), Change::Entry);
    return true;
}

ColourModel Session::followable(ColourModel snapshot) const {
    if (!sameSettings(snapshot, colour_)) {
        snapshot.settings = colour_.settings;
        snapshot.gammaText = colour_.gammaText;
        snapshot.gammaPosition = colour_.gammaPosition;
        snapshot.whiteBalance = colour_.whiteBalance;
        return selectIlluminant(std::move(snapshot), colour_.settings.illuminant, table());
    }
    // Shown as it was: the windows that follow a converted notation or
    // L*a*b* follow it as after its own entry.
    snapshot.munsellConverted = !snapshot[Box::Hue].empty();
    const double L = snapshot.exactOf(Box::L), a = snapshot.exactOf(Box::A),
                 b = snapshot.exactOf(Box::B);
    if (std::isfinite(L) && std::isfinite(a) && std::isfinite(b))
        snapshot.labShown =
            LabColour{static_cast<float>(L), static_cast<float>(a), static_cast<float>(b)};
    return snapshot;
}

void Session::addRecent(RecentFiles::Kind kind, const std::string& path) {
    (void)recent_.add(kind, path);
    recentChanged.send();
}

void Session::removeRecent(const std::string& path) {
    (void)recent_.remove(path);
    recentChanged.send();
}

const SpectralTables* Session::spectralTables(std::string& why) {
    if (const Result loaded = resources_.loadSpectra(); !loaded.ok) why = loaded.message;
    return resources_.spectra();
}

std::string Session::readingUnderLight(const Reflectance& reading) {
    if (spectralLight == "C" && spectralObserver == 2) return {};
    std::string why;
    const SpectralTables* tables = spectralTables(why);
    if (!tables) return "No reading under " + spectralLight + ": " + why;
    const auto weights = spectralWeights(*tables, spectralLight, spectralObserver);
    if (!weights) return "No reading under " + spectralLight + ": no such light in the tables.";
    const SpectralColour c = spectralColour(reading, *weights);
    return "Under " + spectralLight + ", " + std::to_string(spectralObserver) +
           "°: " + spectralColourText(c);
}

} // namespace huelinx

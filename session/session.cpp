#include "session/session.h"

namespace huelinx {

void Session::setColour(ColourModel next, Change what, const void* origin) {
    colour_ = std::move(next);
    // A listener may set another colour while this one is sent: that one is
    // then the current colour, and its own sending clears it.
    const std::uint64_t change = ++changes_;
    colourChanged.send({colour_, what, origin});
    if (change == changes_) colour_.forgetChange();
}

void Session::type(Box box, std::string text) {
    colour_[box] = std::move(text);
}

} // namespace huelinx

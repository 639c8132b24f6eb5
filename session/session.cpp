#include "session/session.h"

namespace huelinx {

void Session::setColour(ColourModel next, Change what, const void* origin) {
    colour_ = std::move(next);
    colourChanged.send({colour_, what, origin});
    colour_.forgetChange();
}

void Session::type(Box box, std::string text) {
    colour_[box] = std::move(text);
}

} // namespace huelinx

#include "platform/slider_tooltip.h"

#include <QAbstractSlider>
#include <QCursor>
#include <QToolTip>

namespace huelinx {

void showValueInTooltip(QAbstractSlider* slider, const QString& name,
                        std::function<QString(int position)> format) {
    if (!format) format = [](int position) { return QString::number(position); };
    const auto follow = [slider, name, format] {
        const QString text = name + ": " + format(slider->value());
        slider->setToolTip(text);
        // While dragged, the tooltip shows at the pointer and changes with the value.
        if (slider->isSliderDown()) QToolTip::showText(QCursor::pos(), text, slider);
    };
    follow();
    QObject::connect(slider, &QAbstractSlider::valueChanged, slider, follow);
}

} // namespace huelinx

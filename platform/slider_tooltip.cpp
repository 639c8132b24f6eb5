#include "platform/slider_tooltip.h"

#include <QAbstractSlider>

namespace huelinx {

void showValueInTooltip(QAbstractSlider* slider, const QString& name,
                        std::function<QString(int position)> format) {
    if (!format) format = [](int position) { return QString::number(position); };
    const auto follow = [slider, name, format] {
        slider->setToolTip(name + ": " + format(slider->value()));
    };
    follow();
    QObject::connect(slider, &QAbstractSlider::valueChanged, slider, follow);
}

} // namespace huelinx

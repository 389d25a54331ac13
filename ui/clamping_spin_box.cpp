#include "ui/clamping_spin_box.h"

#include "framework/preview_state.h"

namespace ui {

ClampingSpinBox::ClampingSpinBox(QWidget* parent) : QSpinBox(parent) {
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setKeyboardTracking(false);
}

QValidator::State ClampingSpinBox::validate(QString& input, int& pos) const {
    const QString text = input.trimmed();
    if (text.isEmpty() || text == QLatin1String("-")) return QValidator::Intermediate;
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (!ok) return QValidator::Invalid;
    if (value < minimum() || value > maximum()) return QValidator::Intermediate;
    return QSpinBox::validate(input, pos);
}

void ClampingSpinBox::fixup(QString& input) const {
    bool ok = false;
    const qlonglong value = input.trimmed().toLongLong(&ok);
    if (!ok) {
        QSpinBox::fixup(input);
        return;
    }
    input = QString::number(framework::clampToRange(value, minimum(), maximum()));
}

}  // namespace ui

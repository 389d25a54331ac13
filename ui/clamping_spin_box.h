// A number field with limits: a value typed beyond them is not refused but replaced
// by the upper limit when too high and by the lower limit when too low.
#pragma once

#include <QSpinBox>

namespace ui {

class ClampingSpinBox : public QSpinBox {
    Q_OBJECT

public:
    explicit ClampingSpinBox(QWidget* parent = nullptr);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
};

}  // namespace ui

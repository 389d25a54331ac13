#include "ui/layout_window.h"

#include "framework/preview_state.h"
#include "ui/clamping_spin_box.h"
#include "ui/title_width.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

namespace ui {

LayoutWindow::LayoutWindow(int across, int down, QWidget* parent)
    : QDialog(parent), across_(new ClampingSpinBox(this)), down_(new ClampingSpinBox(this)) {
    setWindowTitle(QStringLiteral("Change Display"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    across_->setRange(1, framework::kMaxAcross);
    down_->setRange(1, framework::kMaxDown);
    across_->setValue(framework::clampToRange(across, 1, framework::kMaxAcross));
    down_->setValue(framework::clampToRange(down, 1, framework::kMaxDown));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Across"), across_);
    form->addRow(QStringLiteral("&Down"), down_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    keepCaptionVisible(this);
}

int LayoutWindow::across() const { return across_->value(); }
int LayoutWindow::down() const { return down_->value(); }

bool LayoutWindow::edit(int& across, int& down, QWidget* parent) {
    LayoutWindow window(across, down, parent);
    if (window.exec() != QDialog::Accepted) return false;
    window.across_->interpretText();
    window.down_->interpretText();
    across = window.across();
    down = window.down();
    return true;
}

}  // namespace ui

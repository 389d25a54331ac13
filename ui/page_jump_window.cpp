#include "ui/page_jump_window.h"

#include "framework/preview_state.h"
#include "ui/clamping_spin_box.h"
#include "ui/title_width.h"
#include "ui/qt_user_services.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QVBoxLayout>

#include <algorithm>

namespace ui {

PageJumpWindow::PageJumpWindow(int current, int total, QWidget* parent)
    : QDialog(parent), page_(new ClampingSpinBox(this)) {
    setWindowTitle(QStringLiteral("Jump to a page"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    page_->setRange(1, std::max(total, 1));
    page_->setValue(framework::clampToRange(current, 1, std::max(total, 1)));
    framework::PreviewState state(total);
    page_->setStatusTip(toQt(state.pageHelp()));
    page_->setToolTip(toQt(state.pageHelp()));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Page:"), page_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    page_->selectAll();
    keepCaptionVisible(this);
}

int PageJumpWindow::page() const { return page_->value(); }

int PageJumpWindow::choose(int current, int total, QWidget* parent) {
    PageJumpWindow window(current, total, parent);
    if (window.exec() != QDialog::Accepted) return current;
    window.page_->interpretText();
    return window.page();
}

}  // namespace ui

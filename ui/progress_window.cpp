#include "ui/progress_window.h"

#include "ui/qt_user_services.h"

#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace ui {

ProgressWindow::ProgressWindow(QWidget* parent)
    : QDialog(parent),
      bar_(new QProgressBar(this)),
      percent_(new QLabel(this)),
      second_(new QLabel(this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)),
      timer_(new QTimer(this)) {
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    bar_->setRange(0, 100);
    bar_->setTextVisible(false);
    percent_->setAlignment(Qt::AlignCenter);
    second_->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar_);
    layout->addWidget(percent_);
    layout->addWidget(second_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_);
    buttons->addStretch();
    layout->addLayout(buttons);
    setMinimumWidth(260);

    timer_->setInterval(kTickInterval);
    connect(timer_, &QTimer::timeout, this, &ProgressWindow::tick);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        if (cycle_) cycle_->cancel();
    });
}

void ProgressWindow::run(framework::ReportCycle& cycle) {
    cycle_ = &cycle;
    closing_ = false;
    cycle.begin();
    if (cycle.closed()) return;
    // The window has opened once the event loop runs: read up to the first record.
    QTimer::singleShot(0, this, [this] {
        if (!cycle_ || closing_) return;
        cycle_->opened();
        if (!cycle_->closed()) timer_->start();
    });
    exec();
    timer_->stop();
    cycle_ = nullptr;
}

void ProgressWindow::open(const std::string& title, int bar, const std::string& percentText,
                          const std::string& secondText) {
    setWindowTitle(toQt(title));
    bar_->setValue(bar);
    percent_->setText(toQt(percentText));
    second_->setText(toQt(secondText));
    second_->setVisible(!secondText.empty());
}

void ProgressWindow::setBar(int percent) { bar_->setValue(percent); }

void ProgressWindow::setPercentText(const std::string& text) { percent_->setText(toQt(text)); }

void ProgressWindow::close() {
    closing_ = true;
    timer_->stop();
    done(QDialog::Accepted);
}

void ProgressWindow::reject() {
    if (cycle_ && !closing_) cycle_->cancel();
    else QDialog::reject();
}

void ProgressWindow::tick() {
    if (!cycle_ || closing_) return;
    QElapsedTimer elapsed;
    elapsed.start();
    cycle_->tick();
    ++ticks_;
    longestTickMs_ = std::max(longestTickMs_, elapsed.elapsed());
}

}  // namespace ui

// The progress window of a report run: title "Generating Report", a progress bar,
// the percentage string, a second string and a cancel button. Its timer drives the
// report cycle one tick at a time, so the window stays responsive and the cancel
// button works while the pages are printed.
#pragma once

#include "framework/report_cycle.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace ui {

class ProgressWindow : public QDialog, public framework::ProgressView {
    Q_OBJECT

public:
    explicit ProgressWindow(QWidget* parent = nullptr);

    // Begins the cycle, shows the window and runs its timer until the cycle closes
    // the window (the records are exhausted, a read failed, or the user cancelled).
    void run(framework::ReportCycle& cycle);

    // framework::ProgressView
    void open(const std::string& title, int bar, const std::string& percentText,
              const std::string& secondText) override;
    void setBar(int percent) override;
    void setPercentText(const std::string& text) override;
    void close() override;

    QProgressBar* bar() const { return bar_; }
    QLabel* percentLabel() const { return percent_; }
    QLabel* secondLabel() const { return second_; }
    QPushButton* cancelButton() const { return cancel_; }
    // Ticks run so far and the longest time one took, in milliseconds.
    int ticks() const { return ticks_; }
    qint64 longestTickMs() const { return longestTickMs_; }

    // Milliseconds between timer ticks.
    static constexpr int kTickInterval = 0;

protected:
    void reject() override;  // Esc and the close box cancel the run

private:
    void tick();

    framework::ReportCycle* cycle_ = nullptr;
    QProgressBar* bar_;
    QLabel* percent_;
    QLabel* second_;
    QPushButton* cancel_;
    QTimer* timer_;
    bool closing_ = false;
    int ticks_ = 0;
    qint64 longestTickMs_ = 0;
};

}  // namespace ui

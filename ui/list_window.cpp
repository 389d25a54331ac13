#include "ui/list_window.h"

#include "ui/list_export_dialog.h"

#include "framework/form/form_environment.h"
#include "framework/wallpaper.h"
#include "ui/cascade_place.h"
#include "ui/qt_user_services.h"
#include "ui/window_placement_qt.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace ui {

ListWindow::ListWindow(framework::browse::BrowseDefinition definition, QMdiArea* area)
    : area_(area) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    panel_ = new ListPanel(definition, [this] { return liveEngine(); }, this);
    outer->addWidget(panel_);

    close_ = panel_->makeButton(definition.labels.close, QStyle::SP_DialogCloseButton);
    panel_->buttonRow()->addWidget(close_);
    connect(close_, &QPushButton::clicked, this, [this] {
        if (auto* engine = liveEngine()) engine->closeButton();
    });
    help_ = panel_->makeButton(definition.labels.help, QStyle::SP_DialogHelpButton);
    help_->setVisible(!definition.helpTopic.empty());
    panel_->buttonRow()->addWidget(help_);
    connect(help_, &QPushButton::clicked, this, [this] {
        if (auto* engine = liveEngine()) engine->helpButton();
    });
    // Buttons with a caption share one width, wide enough for the longest.
    int width = 0;
    for (QPushButton* b : panel_->buttons())
        if (!b->text().isEmpty()) width = std::max(width, b->sizeHint().width());
    for (QPushButton* b : panel_->buttons())
        if (!b->text().isEmpty()) b->setMinimumWidth(width);

    // The book's form runs while the list stands aside.
    if (std::function<void()> form = definition.updateForm)
        definition.updateForm = [this, form] { runUpdateForm(form); };
    toolbar_.set(kLastToolbarButton, true);  // help is the list's F1
    engine_ = std::make_unique<framework::browse::BrowseEngine>(std::move(definition), *this);
}

ListWindow::~ListWindow() { engine_.reset(); }

framework::browse::BrowseEngine* ListWindow::liveEngine() {
    return opened_ && !ended_ && !formRunning_ ? engine_.get() : nullptr;
}

bool ListWindow::formEnding() const {
    return formRunning_ && (!host_ || !host_->form || !host_->form->isVisible());
}

QSize ListWindow::designSize() const {
    const QMargins margins = layout()->contentsMargins();
    return panel_->designSize(kDesignRows) +
           QSize(margins.left() + margins.right(), margins.top() + margins.bottom());
}

QSize ListWindow::sizeHint() const {
    return openingSize_.isValid() ? openingSize_ : designSize();
}

QWidget* ListWindow::frameWindow() {
    if (sub_) return sub_;
    return this;
}

bool ListWindow::start() {
    if (!engine_->open()) return false;
    if (placement_) placement_->opened();
    frameWindow()->show();
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (ended_) return;
            opened_ = true;
            engine_->windowOpened();
        },
        Qt::QueuedConnection);
    return true;
}

// ------------------------------------------------------------------ BrowseView

void ListWindow::openWindow(const framework::browse::ListWindowSetup& setup) {
    const framework::form::FormEnvironment environment = framework::form::formEnvironment();
    WindowPlacementOptions options;
    options.iniFile = environment.iniFile;
    options.section = setup.iniSection;
    options.wallpaper = framework::chooseWallpaper(
        environment.wallpaper, environment.iniFile,
        setup.wallpaperSection.empty() ? setup.iniSection : setup.wallpaperSection, setup.wallpaper);
    setWindowTitle(toQt(engine_->definition().title));
    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    // The design size is the least the list needs; it opens somewhat wider, so
    // that the last column shows more of its text.
    const QSize design = designSize();
    setMinimumSize(design);
    int width = design.width() * 13 / 10;
    if (area_) width = std::min(width, std::max(design.width(), area_->viewport()->width() - 40));
    openingSize_ = QSize(width, design.height());
    resize(openingSize_);
    if (area_) {
        sub_ = area_->addSubWindow(this);
        sub_->setAttribute(Qt::WA_DeleteOnClose);
        sub_->setWindowIcon(windowIcon());
        sub_->adjustSize();
        // A saved placement, restored as the window opens, takes precedence.
        sub_->move(cascadedPlace(area_, sub_));
        connect(sub_, &QMdiSubWindow::windowStateChanged, this,
                [this](Qt::WindowStates before, Qt::WindowStates now) {
                    if (!(before & Qt::WindowActive) && (now & Qt::WindowActive)) windowActivated();
                });
    } else {
        setAttribute(Qt::WA_DeleteOnClose);
    }
    placement_ = new WindowPlacementQt(frameWindow(), options, this);
}

void ListWindow::closeWindow() {
    if (ended_) return;
    ended_ = true;
    if (placement_) placement_->closing();
    emit finished();
    // Inside the window's own close event the close is already under way.
    if (!inCloseEvent_) frameWindow()->close();
}

void ListWindow::prepareToolbar(const std::vector<framework::browse::ToolbarButtonState>& buttons) {
    for (const auto& state : buttons) toolbar_.set(state.button, state.enabled, state.tooltip);
}

// --------------------------------------------------------------- ToolbarTarget

void ListWindow::toolbarPressed(int button) {
    // While the form runs the toolbar is the form's; a press that still reaches
    // the list (it was active a moment ago) is ignored.
    if (button < kFirstToolbarButton || button > kLastToolbarButton) return;
    if (auto* engine = liveEngine()) engine->toolbar(button);
}

std::map<int, ToolbarButtonState> ListWindow::toolbarStates() const {
    if (!opened_ || ended_ || formRunning_) return toolbar_.disabled();
    return toolbar_.states();
}

// ---------------------------------------------------------------------- events

void ListWindow::closeEvent(QCloseEvent* event) {
    if (ended_) {
        event->accept();
        return;
    }
    event->ignore();
    if (formRunning_) return;
    // The close box: the list's closing routine, as the close button runs it.
    inCloseEvent_ = true;
    engine_->closeButton();
    inCloseEvent_ = false;
    if (ended_) event->accept();
}

void ListWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!opened_ || ended_ || resizePending_) return;
    // One rebuild for a burst of size changes.
    resizePending_ = true;
    QMetaObject::invokeMethod(this, [this] { deliverResize(); }, Qt::QueuedConnection);
}

void ListWindow::deliverResize() {
    resizePending_ = false;
    if (ended_) return;
    if (formRunning_) {
        deferredResize_ = true;
        return;
    }
    engine_->resized();
}

void ListWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (!sub_ && event->type() == QEvent::ActivationChange && isActiveWindow()) windowActivated();
}

void ListWindow::windowActivated() {
    if (!opened_ || ended_) return;
    if (formRunning_) {
        // The list waits for its form: the form comes back to the front.
        if (host_ && host_->form) {
            QPointer<QWidget> form = host_->form;
            QMetaObject::invokeMethod(
                this,
                [this, form] {
                    if (!form) return;
                    if (auto* formSub = qobject_cast<QMdiSubWindow*>(form.data()); formSub && area_)
                        area_->setActiveSubWindow(formSub);
                    else
                        form->activateWindow();
                },
                Qt::QueuedConnection);
        }
        return;
    }
    if (skipActivation_) {
        skipActivation_ = false;
        return;
    }
    engine_->gainFocus();
}

// ---------------------------------------------------------------- update form

void ListWindow::runUpdateForm(const std::function<void()>& form) {
    formRunning_ = true;
    setEnabled(false);
    panel_->setHeld(true);
    {
        FormHostScope scope(area_, frameWindow());
        host_ = &scope.host();
        form();
        host_ = nullptr;
    }
    formRunning_ = false;
    setEnabled(true);

    // Focus comes back from the list's own form: the update cycle rebuilds the
    // page itself, so this activation is not a regained focus.
    if (sub_ && area_) {
        if (area_->activeSubWindow() != sub_) {
            skipActivation_ = true;
            area_->setActiveSubWindow(sub_);
        }
        skipActivation_ = false;
        if (!window()->isActiveWindow()) window()->activateWindow();
    } else if (!isActiveWindow()) {
        skipActivation_ = true;
        activateWindow();
    }
    // What arrived meanwhile is delivered after the update cycle.
    panel_->setHeld(false);
    if (deferredResize_) {
        deferredResize_ = false;
        resizePending_ = true;
        QMetaObject::invokeMethod(this, [this] { deliverResize(); }, Qt::QueuedConnection);
    }
    emit formEnded();
}

void ListWindow::exportToSpreadsheet() {
    if (formRunning_) return;  // the list waits for its form
    exportListToSpreadsheet(*engine_, frameWindow());
}

}  // namespace ui

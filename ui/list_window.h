// The list window: the Qt realisation of a browse list in a window of its own. A
// ListPanel shows the engine's page, its scroll bar, tabs and the list's buttons;
// the window adds the close and help buttons, the caption, placement and
// wallpaper, and passes focus, size and close events and the frame's toolbar to
// the engine. The window is a child of the frame's MDI area when one is given (a
// QMdiSubWindow), else a top-level window.
//
// While the list's update form runs the list is inactive: its controls are
// disabled, a click on it brings the form back to the front, the frame's toolbar
// goes to the form, and the list cannot be closed. Focus coming back from that
// form does not count as the window regaining focus (the update cycle has already
// rebuilt the page); focus coming from any other window does.
#pragma once

#include "framework/browse/browse_engine.h"
#include "framework/browse/browse_view.h"
#include "ui/form_host.h"
#include "ui/list_panel.h"
#include "ui/toolbar_states.h"
#include "ui/toolbar_target.h"

#include <QWidget>

#include <functional>
#include <memory>

class QMdiArea;
class QMdiSubWindow;
class QPushButton;

namespace ui {

class WindowPlacementQt;

class ListWindow : public QWidget,
                   public framework::browse::BrowseView,
                   public ToolbarTarget {
    Q_OBJECT
public:
    // Rows the list shows at its design size.
    static constexpr int kDesignRows = 12;

    explicit ListWindow(framework::browse::BrowseDefinition definition, QMdiArea* area = nullptr);
    ~ListWindow() override;

    // Opens the list: the engine takes the file, opens the window and asks the
    // rights. True: the window is on screen and builds its first page once its open
    // event arrives. False: the list ended at once; the window deletes itself.
    bool start();

    framework::browse::BrowseEngine& engine() { return *engine_; }
    // The outermost window: the MDI sub-window, or this widget.
    QWidget* frameWindow();
    QMdiSubWindow* subWindow() const { return sub_; }
    bool formRunning() const { return formRunning_; }
    // The list's form has closed, and the list waits only for its update cycle to
    // return before it can close in turn.
    bool formEnding() const;

    // The controls, for the frame and for tests.
    ListPanel* panel() const { return panel_; }
    QTableView* table() const { return panel_->table(); }
    ListPageModel* model() const { return panel_->model(); }
    QScrollBar* scrollBar() const { return panel_->scrollBar(); }
    QTabBar* tabs() const { return panel_->tabs(); }
    QPushButton* button(framework::browse::ListButton which) const { return panel_->button(which); }
    QPushButton* extraButton(std::size_t index) const { return panel_->extraButton(index); }
    QPushButton* closeButton() const { return close_; }
    QPushButton* helpButton() const { return help_; }

    // --- BrowseView -------------------------------------------------------------
    void openWindow(const framework::browse::ListWindowSetup& setup) override;
    void closeWindow() override;
    int visibleRows() const override { return panel_->visibleRows(); }
    void showRows(const std::vector<std::vector<std::string>>& rows) override {
        panel_->showRows(rows);
    }
    int chosenRow() const override { return panel_->chosenRow(); }
    void highlightRow(int row) override { panel_->highlightRow(row); }
    void showButton(framework::browse::ListButton button, bool visible) override {
        panel_->showButton(button, visible);
    }
    void enableButton(framework::browse::ListButton button, bool enabled) override {
        panel_->enableButton(button, enabled);
    }
    void showScrollBar(bool visible) override { panel_->showScrollBar(visible); }
    void setThumb(int position) override { panel_->setThumb(position); }
    void setWaitCursor(bool on) override { panel_->setWaitCursor(on); }
    void focusList() override { panel_->focusList(); }
    void postNewSelection() override { panel_->postNewSelection(); }
    int activeTab() const override { return panel_->activeTab(); }
    void prepareToolbar(const std::vector<framework::browse::ToolbarButtonState>& buttons) override;
    void beep() override { panel_->beep(); }

    // --- ToolbarTarget ----------------------------------------------------------
    void toolbarPressed(int button) override;

public slots:
    // "В таблицу": the list into a spreadsheet file. A slot, so that the frame of
    // either program reaches the lists of both by name.
    void exportToSpreadsheet();

public:
    std::map<int, ToolbarButtonState> toolbarStates() const override;

signals:
    // The list has ended (closed by the engine).
    void finished();
    // The list's update cycle has returned from its form; the list takes events again.
    void formEnded();

protected:
    QSize sizeHint() const override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QSize designSize() const;
    // The engine while the list takes events: open, not ended, no form running.
    framework::browse::BrowseEngine* liveEngine();
    void windowActivated();
    void deliverResize();
    void runUpdateForm(const std::function<void()>& form);

    QMdiArea* area_;
    QMdiSubWindow* sub_ = nullptr;
    std::unique_ptr<framework::browse::BrowseEngine> engine_;
    ListPanel* panel_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* help_ = nullptr;
    WindowPlacementQt* placement_ = nullptr;
    QSize openingSize_;

    ToolbarStates toolbar_;
    bool opened_ = false;         // the engine has had the window's open event
    bool ended_ = false;          // the engine closed the window
    bool formRunning_ = false;
    bool skipActivation_ = false; // focus comes back from the list's own form
    bool resizePending_ = false;
    bool deferredResize_ = false; // a size change while the form ran
    bool inCloseEvent_ = false;
    FormHost* host_ = nullptr;    // while the list's form runs
};

}  // namespace ui

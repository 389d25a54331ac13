// The list part of a browse list: an optional heading, tabs for the sort orders,
// a table showing exactly the engine's page with the engine's scroll bar beside
// it, and the list's own buttons (select, insert, change, delete and the book's
// extra buttons). It realises the list side of BrowseView and sends the user's
// list events to the browse engine. The list window (ListWindow) puts one in a
// window of its own; a form window puts one on its page for a list inside a form.
#pragma once

#include "framework/browse/browse_definition.h"
#include "framework/browse/browse_engine.h"
#include "framework/browse/browse_view.h"
#include "ui/list_page_model.h"

#include <QWidget>

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QAbstractButton;
class QButtonGroup;
class QFrame;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTabBar;
class QTableView;

namespace ui {

class ListPanel : public QWidget, public framework::browse::BrowseView {
    Q_OBJECT
public:
    // The engine that takes the list's events now; nullptr while it takes none
    // (not yet open, ended, or waiting for a form).
    using EngineSource = std::function<framework::browse::BrowseEngine*()>;

    ListPanel(const framework::browse::BrowseDefinition& definition, EngineSource engine,
              QWidget* parent = nullptr);
    ~ListPanel() override;

    // The least size that shows `rows` rows, the columns and the button row.
    QSize designSize(int rows) const;
    // The row of buttons under the list, for the owner's own buttons.
    QHBoxLayout* buttonRow() const { return buttonRow_; }
    // Holds back posted new selections (delivered when released): the list's form
    // edits the record buffer meanwhile.
    void setHeld(bool held);

    QTableView* table() const { return table_; }
    ListPageModel* model() const { return model_; }
    QScrollBar* scrollBar() const { return scrollBar_; }
    QTabBar* tabs() const { return tabs_; }
    QLabel* heading() const { return heading_; }
    QLineEdit* entry() const { return entry_; }  // the list local's entry, if any
    // The book's own control (BrowseDefinition::controls order); nullptr if none.
    QWidget* control(std::size_t index) const {
        return index < controlWidgets_.size() ? controlWidgets_[index].widget : nullptr;
    }
    // Shows every book control's value and the controls of the chosen tab.
    void showControls();
    QButtonGroup* choices() const { return choices_; }  // its option buttons, if it has choices
    QFrame* tableFrame() const { return tableFrame_; }
    QPushButton* button(framework::browse::ListButton which) const;
    QPushButton* extraButton(std::size_t index) const;
    std::vector<QPushButton*> buttons() const;  // every button made so far, in order

    // Makes a button as the list's buttons are made (for the owner's close and help).
    QPushButton* makeButton(const framework::browse::ButtonLabel& label, int standardIcon);

    // --- BrowseView (the window's part does nothing here) ---------------------------
    void openWindow(const framework::browse::ListWindowSetup&) override {}
    void closeWindow() override {}
    int visibleRows() const override;
    void showRows(const std::vector<std::vector<std::string>>& rows) override;
    int chosenRow() const override;
    void highlightRow(int row) override;
    void showButton(framework::browse::ListButton button, bool visible) override;
    void enableButton(framework::browse::ListButton button, bool enabled) override;
    void showScrollBar(bool visible) override;
    void setThumb(int position) override;
    void setWaitCursor(bool on) override;
    void focusList() override;
    void postNewSelection() override;
    int activeTab() const override;
    void prepareToolbar(const std::vector<framework::browse::ToolbarButtonState>&) override {}
    void beep() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildEntry(const framework::browse::ListEntry& entry);
    void buildControls(const std::vector<framework::browse::ListControl>& controls);
    void buildChoices(const framework::browse::ListEntry& entry);
    void buildTable(const framework::browse::BrowseDefinition& definition);
    void buildButtons(const framework::browse::BrowseDefinition& definition);
    bool tableKey(QKeyEvent* event);
    void scrollAction(int action);
    void deliverSelection();

    struct ListControlWidgets {
        QWidget* widget = nullptr;
        QLabel* prompt = nullptr;
        QLineEdit* line = nullptr;
        QCheckBox* check = nullptr;
        QLabel* display = nullptr;
        QComboBox* drop = nullptr;
    };

    EngineSource engine_;
    std::vector<framework::browse::ListControl> controlDefs_;
    std::vector<ListControlWidgets> controlWidgets_;
    QLabel* heading_ = nullptr;
    QLineEdit* entry_ = nullptr;
    std::string lastEntry_;
    QGroupBox* choicesBox_ = nullptr;
    QButtonGroup* choices_ = nullptr;
    QTabBar* tabs_ = nullptr;
    QFrame* tableFrame_ = nullptr;
    QTableView* table_ = nullptr;
    ListPageModel* model_ = nullptr;
    QScrollBar* scrollBar_ = nullptr;
    QHBoxLayout* buttonRow_ = nullptr;
    QPushButton* select_ = nullptr;
    QPushButton* insert_ = nullptr;
    QPushButton* change_ = nullptr;
    QPushButton* delete_ = nullptr;
    std::vector<QPushButton*> extras_;
    std::vector<QPushButton*> made_;
    std::vector<int> columnWidths_;  // pixels

    int thumb_ = 0;
    int waitCursors_ = 0;
    bool highlighting_ = false;  // the engine moves the highlight: no new selection
    bool held_ = false;
    bool heldSelection_ = false;
};

}  // namespace ui

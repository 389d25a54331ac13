// The form window: the Qt realisation of a book's update form, built from its
// FormDefinition. Prompts and entries stand in a grid in tab order (on tab pages
// when the fields name them), OK ("Выход с записью") and cancel ("Отменить") at the
// bottom right, and a red focus frame around the selected control. Entries show
// and read the record buffer through their pictures; an entry the picture refuses
// beeps and keeps the focus.
//
// The form is modal towards its list but not towards the frame: inside the frame
// it is an MDI child run by a nested event loop, so the frame's toolbar stays
// usable and acts on it (save-and-move, previous value), while the calling list is
// disabled until the form closes. Without a frame it is an application-modal
// top-level window, run the same way.
#pragma once

#include "framework/form/form_view.h"
#include "ui/form_host.h"
#include "ui/key_codes.h"
#include "ui/toolbar_states.h"
#include "ui/toolbar_target.h"

#include <QEventLoop>
#include <QStyle>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;
class QTabWidget;

namespace framework::form {
struct EmbeddedList;
struct FormField;
}
namespace storage {
class Record;
}

namespace ui {

class FocusFrameWidget;
class ListPanel;
class WindowPlacementQt;

class FormWindow : public QWidget, public framework::form::FormView, public ToolbarTarget {
    Q_OBJECT
public:
    // Opens in the host's MDI area over its calling list (nullptr: the frame's
    // default area when the frame set one, else top-level).
    explicit FormWindow(FormHost* host = nullptr);
    ~FormWindow() override;

    // Deletes the window together with its MDI sub-window.
    void dispose();

    // The innermost form now running its event loop, or nullptr.
    static FormWindow* running();
    // The running form that announced `host` for the forms it calls (a list
    // inside it calling its own form), or nullptr.
    static FormWindow* hosting(const FormHost* host);
    // A form called from this one runs: this form stands aside meanwhile.
    void setCallingForm(bool running);

    QWidget* frameWindow();
    QMdiSubWindow* subWindow() const { return sub_; }
    framework::form::FormEngine* engine() const { return engine_; }
    // The engine has had the window's open event: the record is on screen.
    bool opened() const { return shown_ && !closed_; }

    // The controls, for the frame and for tests.
    QWidget* entryWidget(int entry) const;
    QLineEdit* lineEdit(int entry) const;
    QLabel* prompt(int entry) const;
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* helpButton() const { return help_; }
    FocusFrameWidget* focusFrame() const { return focusFrame_; }
    QTabWidget* pages() const { return pages_; }
    // The panel of a list inside the form, by its control number.
    ListPanel* listPanel(int control) const;
    // Entry control numbers in tab order.
    std::vector<int> entries() const;

    // --- FormView ---------------------------------------------------------------
    void openWindow(const framework::form::FormWindowOpening& opening) override;
    void run(framework::form::FormEngine& engine) override;
    void closeWindow(bool savePlacement) override;
    void setCaption(const std::string& caption) override;
    void setWallpaper(const std::optional<std::string>& picture) override;
    void alertDittoKey(int keyCode) override;
    void setWaitCursor(bool on) override;
    void showRecord() override;
    std::optional<int> readEntries() override;
    void rejectEntry(int entry) override;
    void setOkEnabled(bool enabled) override;
    void setCancelEnabled(bool enabled) override;
    void setControlsEnabled(bool enabled) override;
    void focusEntry(int entry) override;
    int focusedEntry() const override;
    void showFocusFrame() override;
    void setToolbarButton(int button, bool enabled, const std::string& tip = {}) override;
    framework::browse::BrowseView* listView(int control) override;

    // --- ToolbarTarget ----------------------------------------------------------
    void toolbarPressed(int button) override;
    std::map<int, ToolbarButtonState> toolbarStates() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // One field of the definition and the widgets that show it.
    struct Control {
        const framework::form::FormField* field = nullptr;
        QWidget* widget = nullptr;  // what takes focus and is enabled or disabled
        QLineEdit* line = nullptr;
        QCheckBox* check = nullptr;
        QGroupBox* group = nullptr;
        QButtonGroup* options = nullptr;
        QLabel* display = nullptr;
        QPlainTextEdit* text = nullptr;  // a text box
        QLabel* picture = nullptr;       // an indicator picture
        QPushButton* button = nullptr;
        QLabel* prompt = nullptr;
        QComboBox* drop = nullptr;       // a drop list
        QLabel* image = nullptr;         // a picture area drawn from a file
    };

    void buildControls();
    QPushButton* makeButton(const std::string& text, const std::string& tip,
                            QStyle::StandardPixmap icon);
    void addControl(QGridLayout* grid, const framework::form::FormField& field, bool halfWidth);
    void addList(QGridLayout* grid, const framework::form::EmbeddedList& list);
    QHBoxLayout* besideRow(QGridLayout* grid);
    void placeWindow();
    const Control* controlOf(int entry) const;
    const Control* controlHolding(const QWidget* widget) const;
    storage::Record& record() const;
    QString shownText(const Control& control) const;
    bool storeLine(const Control& control) const;
    void showImage(const Control& control) const;
    bool storeText(const Control& control) const;
    void storeDrop(const Control& control, int chosen) const;
    void entryFinished(int entry);
    void commitModifiedEntries();
    void pressOk();
    void requestRedisplay();

    FormHost* host_;
    QMdiArea* area_;
    QMdiSubWindow* sub_ = nullptr;
    const framework::form::FormDefinition* definition_ = nullptr;
    framework::form::FormEngine* engine_ = nullptr;
    WindowPlacementQt* placement_ = nullptr;

    std::vector<Control> controls_;
    std::vector<std::pair<int, ListPanel*>> lists_;  // lists inside the form
    QTabWidget* pages_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* help_ = nullptr;
    FocusFrameWidget* focusFrame_ = nullptr;

    QEventLoop loop_;
    ToolbarStates toolbar_;
    KeyCode ditto_;
    int waitCursors_ = 0;
    bool shown_ = false;     // the engine has had the open event
    bool closed_ = false;
    bool inCloseEvent_ = false;
    bool redisplayPending_ = false;
    bool frameOn_ = false;   // the engine asked for the focus frame
    bool callingForm_ = false;  // a form called from this one is running
    FormHost* ownHost_ = nullptr;  // announced for the forms this one calls
};

}  // namespace ui

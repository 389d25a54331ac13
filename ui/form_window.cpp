#include "ui/form_window.h"
#include "ui/form_fields.h"

#include "framework/form/entry_values.h"
#include "framework/form/form_definition.h"
#include "framework/form/form_engine.h"
#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "platform/paths.h"
#include "platform/picture.h"
#include "storage/data_file.h"
#include "ui/focus_frame_widget.h"
#include "ui/title_width.h"
#include "ui/list_panel.h"
#include "ui/qt_user_services.h"
#include "ui/window_placement_qt.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QImageReader>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <map>

namespace ui {

using framework::form::FieldControl;
using framework::form::FormField;

using namespace form_fields;

FormWindow::FormWindow(FormHost* host)
    : host_(host), area_(host ? host->area : defaultFormArea()) {
    setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
}

FormWindow::~FormWindow() {
    auto& forms = runningForms();
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    while (waitCursors_ > 0) setWaitCursor(false);
    if (host_ && sub_ && host_->form == sub_) host_->form = nullptr;
    if (host_ && host_->form == this) host_->form = nullptr;
}

void FormWindow::dispose() {
    if (sub_) {
        QMdiSubWindow* sub = sub_;
        sub_ = nullptr;
        delete sub;  // deletes this window with it
    } else {
        delete this;
    }
}

FormWindow* FormWindow::running() {
    const auto& forms = runningForms();
    return forms.empty() ? nullptr : forms.back();
}

QWidget* FormWindow::frameWindow() {
    if (sub_) return sub_;
    return this;
}

storage::Record& FormWindow::record() const { return definition_->file->record(); }

// --------------------------------------------------------------- the window

void FormWindow::run(framework::form::FormEngine& engine) {
    if (closed_) return;
    engine_ = &engine;
    runningForms().push_back(this);
    QWidget* window = frameWindow();
    window->show();
    if (sub_ && area_) {
        area_->setActiveSubWindow(sub_);
        // A message box shown while the form opened (a rights question) may have
        // left the frame without the keyboard.
        if (!this->window()->isActiveWindow()) this->window()->activateWindow();
    } else {
        raise();
        activateWindow();
    }
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!engine_ || closed_) return;
            shown_ = true;
            engine_->windowOpened();
        },
        Qt::QueuedConnection);
    {
        // The forms this one calls (through a list inside it) open over it.
        FormHostScope scope(area_, frameWindow());
        ownHost_ = &scope.host();
        loop_.exec();
        ownHost_ = nullptr;
    }
    auto& forms = runningForms();
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    engine_ = nullptr;
}

void FormWindow::closeWindow(bool savePlacement) {
    if (closed_) return;
    closed_ = true;
    if (savePlacement && placement_) placement_->closing();
    if (!inCloseEvent_ && frameWindow()->isVisible()) frameWindow()->close();
    loop_.exit();
}

void FormWindow::setCaption(const std::string& caption) {
    setWindowTitle(toQt(caption));
    keepCaptionVisible(this);  // " Удаление Категории  (Администраторы)" is wider than the form
}

void FormWindow::setWallpaper(const std::optional<std::string>& picture) {
    showWallpaper(this, picture);
}

void FormWindow::alertDittoKey(int keyCode) { ditto_ = keyFromCode(keyCode); }

void FormWindow::setWaitCursor(bool on) {
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++waitCursors_;
    } else if (waitCursors_ > 0) {
        QApplication::restoreOverrideCursor();
        --waitCursors_;
    }
}

// ------------------------------------------------------------------ the record

QString FormWindow::shownText(const Control& control) const {
    const std::string text = framework::form::entryText(record(), *control.field);
    return trimmedBlanks(toQt(text), isNumeric(*control.field));
}

void FormWindow::showRecord() {
    for (const Control& control : controls_) {
        if (control.line) {
            control.line->setText(shownText(control));
            control.line->setModified(false);
            control.line->setCursorPosition(0);
        } else if (control.check) {
            control.check->setChecked(framework::form::checkState(record(), *control.field));
        } else if (control.options) {
            const int index = record().layout().fieldIndex(control.field->field);
            const std::string value =
                index < 0 ? std::string()
                          : std::string(platform::clip(record().value(static_cast<std::size_t>(index))));
            const auto& options = control.field->options;
            for (std::size_t i = 0; i < options.size(); ++i) {
                const bool chosen = platform::clip(options[i].second) == value;
                if (QAbstractButton* radio = control.options->button(static_cast<int>(i)))
                    radio->setChecked(chosen);
            }
        } else if (control.display) {
            control.display->setText(shownText(control));
        } else if (control.text) {
            const QSignalBlocker quiet(control.text);
            control.text->setPlainText(shownText(control));
        } else if (control.picture) {
            control.picture->setVisible(!control.field->visible || control.field->visible());
        } else if (control.drop) {
            const int index = record().layout().fieldIndex(control.field->field);
            const QString value =
                index < 0 ? QString()
                          : toQt(std::string(platform::clip(record().value(static_cast<std::size_t>(index)))));
            const QSignalBlocker quiet(control.drop);
            control.drop->setCurrentIndex(control.drop->findData(value));
        } else if (control.image) {
            showImage(control);
        }
        if (control.line && control.field->visible) {
            const bool visible = control.field->visible();
            control.line->setVisible(visible);
            if (control.prompt) control.prompt->setEnabled(visible);
        }
    }
    if (frameOn_) focusFrame_->follow();
}

// The file the picture area names, scaled into the area; a missing or unreadable
// file leaves the area empty.
void FormWindow::showImage(const Control& control) const {
    const std::string name(platform::clip(control.field->shown ? control.field->shown() : std::string()));
    QImage image;
    if (!name.empty()) {
        QImageReader reader(QString::fromStdString(platform::hostPath(name).string()));
        image = reader.read();
    }
    if (image.isNull()) {
        control.image->clear();
        return;
    }
    const QSize area = control.image->contentsRect().size();
    control.image->setPixmap(QPixmap::fromImage(
        image.scaled(area, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

bool FormWindow::storeText(const Control& control) const {
    std::string typed = fromQt(control.text->toPlainText());
    const int chars = pictureChars(*control.field, record());
    if (chars > 0 && typed.size() > static_cast<std::size_t>(chars)) typed.resize(static_cast<std::size_t>(chars));
    return framework::form::storeEntry(record(), *control.field, typed);
}

bool FormWindow::storeLine(const Control& control) const {
    return framework::form::storeEntry(record(), *control.field, fromQt(control.line->text()));
}

std::optional<int> FormWindow::readEntries() {
    for (const Control& control : controls_) {
        if (control.text) {
            if (!storeText(control)) return control.field->entry;
        } else if (control.line) {
            if (!storeLine(control)) return control.field->entry;
            control.line->setModified(false);
        } else if (control.check) {
            framework::form::storeCheck(record(), *control.field, control.check->isChecked());
        } else if (control.drop) {
            if (control.drop->currentIndex() >= 0) storeDrop(control, control.drop->currentIndex());
        } else if (control.options) {
            const int chosen = control.options->checkedId();
            const int index = record().layout().fieldIndex(control.field->field);
            if (chosen >= 0 && index >= 0)
                record().setValue(static_cast<std::size_t>(index),
                                  control.field->options[static_cast<std::size_t>(chosen)].second);
        }
    }
    return std::nullopt;
}

void FormWindow::rejectEntry(int entry) {
    QApplication::beep();
    focusEntry(entry);
}

// An entry the user leaves after changing it is accepted through its picture, or
// refused with a beep and the focus kept on it. Leaving for cancel or for another
// window is no acceptance.
void FormWindow::entryFinished(int entry) {
    const Control* control = controlOf(entry);
    if (!engine_ || closed_ || !control || !control->line || !control->line->isModified()) return;
    const QWidget* next = QApplication::focusWidget();
    if (!next || next == cancel_ || !isAncestorOf(next)) {
        // Leaving for cancel, another tab page, the frame or another window: what
        // was typed still reaches the record when it fits the picture (nothing
        // typed is lost), without the checks of accepting an entry.
        if (storeLine(*control)) control->line->setModified(false);
        return;
    }
    if (!storeLine(*control)) {
        QMetaObject::invokeMethod(
            this,
            [this, entry] {
                if (engine_ && !closed_) rejectEntry(entry);
            },
            Qt::QueuedConnection);
        return;
    }
    control->line->setModified(false);
    control->line->setText(shownText(*control));
    engine_->entryAccepted(entry);
}

// Every changed entry's text reaches the buffer before the window shows the
// record again (a tab page chosen, the focus regained, the window closing), so
// a redisplay never wipes what was typed.
void FormWindow::commitModifiedEntries() {
    for (const Control& control : controls_) {
        if (control.line && control.line->isModified() && storeLine(control))
            control.line->setModified(false);
        if (control.text && control.text->document()->isModified() && storeText(control))
            control.text->document()->setModified(false);
    }
}

// ------------------------------------------------------------------ controls

const FormWindow::Control* FormWindow::controlOf(int entry) const {
    for (const Control& control : controls_)
        if (control.field->entry == entry) return &control;
    return nullptr;
}

const FormWindow::Control* FormWindow::controlHolding(const QWidget* widget) const {
    if (!widget) return nullptr;
    for (const Control& control : controls_)
        if (control.widget == widget || control.widget->isAncestorOf(widget)) return &control;
    return nullptr;
}

QWidget* FormWindow::entryWidget(int entry) const {
    const Control* control = controlOf(entry);
    return control ? control->widget : nullptr;
}

QLineEdit* FormWindow::lineEdit(int entry) const {
    const Control* control = controlOf(entry);
    return control ? control->line : nullptr;
}

QLabel* FormWindow::prompt(int entry) const {
    const Control* control = controlOf(entry);
    return control ? control->prompt : nullptr;
}

std::vector<int> FormWindow::entries() const {
    std::vector<int> numbers;
    for (const Control& control : controls_) numbers.push_back(control.field->entry);
    return numbers;
}

void FormWindow::setOkEnabled(bool enabled) { ok_->setEnabled(enabled); }

void FormWindow::setCancelEnabled(bool enabled) { cancel_->setEnabled(enabled); }

void FormWindow::setControlsEnabled(bool enabled) {
    for (const Control& control : controls_)
        if (!control.display) control.widget->setEnabled(enabled);
    for (const auto& [number, panel] : lists_) panel->setEnabled(enabled);
    ok_->setEnabled(enabled);
    cancel_->setEnabled(enabled);
}

// The chosen option's value into the field; an unknown stored value stays until
// an option is chosen.
void FormWindow::storeDrop(const Control& control, int chosen) const {
    const int index = record().layout().fieldIndex(control.field->field);
    if (index < 0 || chosen < 0 || chosen >= control.drop->count()) return;
    record().setValue(static_cast<std::size_t>(index), fromQt(control.drop->itemData(chosen).toString()));
}

void FormWindow::focusEntry(int entry) {
    const Control* control = controlOf(entry);
    if (!control) return;
    QWidget* target = control->widget;
    if (control->options) {
        QAbstractButton* checked = control->options->checkedButton();
        const auto buttons = control->options->buttons();
        target = checked ? checked : (buttons.isEmpty() ? target : buttons.first());
    }
    if (!target->isEnabled()) {
        // A form that can only be confirmed (a delete form): Return and Space
        // confirm on OK, Esc cancels.
        if (ok_->isEnabled()) {
            ok_->setDefault(true);
            ok_->setFocus(Qt::OtherFocusReason);
        }
        return;
    }
    if (pages_) {
        for (int i = 0; i < pages_->count(); ++i)
            if (pages_->widget(i)->isAncestorOf(target)) pages_->setCurrentIndex(i);
    }
    target->setFocus(Qt::OtherFocusReason);
    if (control->line) control->line->selectAll();
    if (frameOn_) focusFrame_->enclose(control->widget);
}

int FormWindow::focusedEntry() const {
    const QWidget* focused = focusWidget();
    for (const auto& [number, panel] : lists_)
        if (focused && (panel == focused || panel->isAncestorOf(focused))) return number;
    const Control* control = controlHolding(focused);
    return control ? control->field->entry : 0;
}

void FormWindow::showFocusFrame() {
    frameOn_ = true;
    QWidget* focused = focusWidget();
    const Control* control = controlHolding(focused);
    focusFrame_->enclose(control ? control->widget : focused);
}

void FormWindow::setToolbarButton(int button, bool enabled, const std::string& tip) {
    toolbar_.set(button, enabled, tip);
}

// --------------------------------------------------------------- toolbar

void FormWindow::toolbarPressed(int button) {
    if (!engine_ || closed_ || !shown_) return;
    if (button < kFirstToolbarButton || button > kLastToolbarButton) return;
    engine_->toolbarPressed(button);
}

std::map<int, ToolbarButtonState> FormWindow::toolbarStates() const {
    if (closed_) return toolbar_.disabled();
    return toolbar_.states();
}

// ------------------------------------------------------------------ events

void FormWindow::pressOk() {
    if (engine_ && !closed_) engine_->okPressed();
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    switch (event->type()) {
        case QEvent::FocusIn: {
            // The focus frame encloses whatever control is selected.
            QWidget* enclosed = widget;
            if (const Control* control = controlHolding(widget)) enclosed = control->widget;
            for (const auto& [number, panel] : lists_)
                if (panel->table() == widget) enclosed = panel->tableFrame();
            if (frameOn_) focusFrame_->enclose(enclosed);
            break;
        }
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (matches(*key, ditto_)) {
                if (engine_ && !closed_) engine_->dittoPressed();
                return true;
            }
            const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
            if (plain && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
                if (auto* button = qobject_cast<QPushButton*>(widget)) button->click();
                else pressOk();
                return true;
            }
            break;
        }
        case QEvent::Resize: {
            for (const auto& [number, panel] : lists_)
                if (panel->table()->viewport() == widget && shown_) requestRedisplay();
            break;
        }
        default: break;
    }
    return QWidget::eventFilter(watched, event);
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            // As the close box.
            if (engine_ && !closed_) engine_->closeRequested();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            pressOk();
            return;
        case Qt::Key_F1:
            if (!definition_->helpTopic.empty()) framework::openHelp(definition_->helpTopic);
            return;
        default: QWidget::keyPressEvent(event);
    }
}

void FormWindow::closeEvent(QCloseEvent* event) {
    if (closed_ || !engine_) {
        event->accept();
        return;
    }
    // The close box is a closing request; the book may ask before it cancels.
    event->ignore();
    commitModifiedEntries();
    inCloseEvent_ = true;
    engine_->closeRequested();
    inCloseEvent_ = false;
    if (closed_) event->accept();
}

void FormWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (shown_) requestRedisplay();
    if (frameOn_)
        QMetaObject::invokeMethod(this, [this] { focusFrame_->follow(); }, Qt::QueuedConnection);
}

void FormWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (!sub_ && event->type() == QEvent::ActivationChange && isActiveWindow() && shown_)
        requestRedisplay();
}

// Focus regained or size changed: the record is shown again, once per burst.
void FormWindow::requestRedisplay() {
    if (redisplayPending_) return;
    redisplayPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            redisplayPending_ = false;
            if (!engine_ || closed_) return;
            commitModifiedEntries();
            engine_->redisplay();
        },
        Qt::QueuedConnection);
}

}  // namespace ui

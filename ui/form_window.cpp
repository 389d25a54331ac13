#include "ui/form_window.h"

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

namespace {

std::vector<FormWindow*>& runningForms() {
    static std::vector<FormWindow*> forms;
    return forms;
}

// Entries up to this many characters wide keep a width that fits their picture;
// wider ones grow with the window.
constexpr int kFixedEntryChars = 30;
constexpr int kWideEntryChars = 40;

bool isNumeric(const FormField& field) {
    const platform::Picture picture(field.picture);
    return picture.valid() && picture.kind() != platform::PictureKind::Text;
}

// The indicator pictures of a form: "check" a green tick, anything else a red cross.
QPixmap indicatorPixmap(const std::string& kind, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal m = size * 0.18;
    const qreal e = size - m;
    if (kind == "check") {
        painter.setPen(QPen(QColor(0, 150, 0), size * 0.16, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF tick[] = {{m, size * 0.55}, {size * 0.42, e}, {e, m}};
        painter.drawPolyline(tick, 3);
    } else {
        painter.setPen(QPen(QColor(210, 0, 0), size * 0.16, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(m, m), QPointF(e, e));
        painter.drawLine(QPointF(m, e), QPointF(e, m));
    }
    return pixmap;
}

int pictureChars(const FormField& field, const storage::Record& record) {
    const platform::Picture picture(field.picture);
    if (picture.valid() && picture.width() > 0) return picture.width();
    const int index = record.layout().fieldIndex(field.field);
    if (index < 0) return 10;
    return static_cast<int>(record.layout().fields()[static_cast<std::size_t>(index)].size);
}

QString trimmedBlanks(QString text, bool leading) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' ')) --end;
    text.truncate(end);
    if (leading) {
        qsizetype begin = 0;
        while (begin < text.size() && text[begin] == QLatin1Char(' ')) ++begin;
        text.remove(0, begin);
    }
    return text;
}

}  // namespace

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

// ------------------------------------------------------------------ building

void FormWindow::openWindow(const framework::form::FormWindowOpening& opening) {
    definition_ = opening.definition;
    buildControls();
    setMinimumSize(sizeHint());
    resize(sizeHint());
    if (area_) {
        sub_ = area_->addSubWindow(this);
        sub_->setWindowIcon(windowIcon());
        sub_->adjustSize();
        connect(sub_, &QMdiSubWindow::windowStateChanged, this,
                [this](Qt::WindowStates before, Qt::WindowStates now) {
                    if (!(before & Qt::WindowActive) && (now & Qt::WindowActive) && shown_)
                        requestRedisplay();
                });
    } else {
        setWindowModality(Qt::ApplicationModal);
    }
    placeWindow();
    if (host_) host_->form = frameWindow();

    WindowPlacementOptions options;
    options.iniFile = opening.iniFile;
    options.section = opening.section;
    options.keepPlacement = opening.keepsPlacement;
    placement_ = new WindowPlacementQt(frameWindow(), options, this);
    placement_->opened();
}

void FormWindow::buildControls() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(14, 14, 14, 12);
    outer->setSpacing(12);

    // Fields on tab pages when they name one, in the order the pages first appear;
    // in a form with pages, the fields that name none stand below the tab sheet.
    bool tabbed = false;
    for (const FormField& field : definition_->fields)
        if (!field.tab.empty()) tabbed = true;
    // A page whose fields name the right-hand column holds two grids side by side,
    // each filling from the top on its own.
    std::map<std::string, bool> twoColumns;
    for (const FormField& field : definition_->fields)
        if (field.column > 0) twoColumns[field.tab] = true;
    std::map<std::pair<std::string, int>, QGridLayout*> grids;
    auto makeGrid = [](QBoxLayout* into) {
        auto* grid = new QGridLayout;
        grid->setHorizontalSpacing(12);
        grid->setVerticalSpacing(8);
        grid->setColumnStretch(1, 1);
        into->addLayout(grid, 1);
        return grid;
    };
    auto gridFor = [&](const std::string& tab, int column) -> QGridLayout* {
        auto found = grids.find({tab, column});
        if (found != grids.end()) return found->second;
        auto* page = new QWidget;
        auto* columns = new QHBoxLayout(page);
        columns->setSpacing(18);
        if (tabbed && !tab.empty()) {
            columns->setContentsMargins(12, 12, 12, 12);
            pages_->addTab(page, toQt(tab));
        } else {
            columns->setContentsMargins(0, 0, 0, 0);
            outer->addWidget(page);
        }
        grids[{tab, 0}] = makeGrid(columns);
        if (twoColumns[tab]) grids[{tab, 1}] = makeGrid(columns);
        return grids[{tab, column}];
    };
    if (tabbed) {
        pages_ = new QTabWidget(this);
        outer->addWidget(pages_);
        connect(pages_, &QTabWidget::currentChanged, this, [this] {
            if (!engine_ || closed_ || !shown_) return;
            commitModifiedEntries();
            engine_->tabChanged();
        });
    }
    // A group frames the consecutive fields that name it, across both columns.
    std::map<std::pair<QGridLayout*, std::string>, QGridLayout*> groups;
    auto groupFor = [&](QGridLayout* grid, const std::string& title) {
        auto found = groups.find({grid, title});
        if (found != groups.end()) return found->second;
        auto* box = new QGroupBox(toQt(title), this);
        auto* inner = new QGridLayout(box);
        inner->setHorizontalSpacing(12);
        inner->setVerticalSpacing(8);
        inner->setColumnStretch(1, 1);
        grid->addWidget(box, grid->rowCount(), 0, 1, 2);
        groups[{grid, title}] = inner;
        return inner;
    };
    for (const FormField& field : definition_->fields) {
        QGridLayout* grid = gridFor(field.tab, field.column > 0 ? 1 : 0);
        if (!field.group.empty()) grid = groupFor(grid, field.group);
        addControl(grid, field, twoColumns[field.tab]);
    }
    for (const framework::form::EmbeddedList& list : definition_->lists) {
        QGridLayout* grid = gridFor(list.tab, 0);
        if (!list.group.empty()) {
            // The framed list grows with the window as the list alone would.
            const int row = grid->rowCount();
            grid = groupFor(grid, list.group);
            gridFor(list.tab, 0)->setRowStretch(row, 1);
        }
        addList(grid, list);
    }
    for (auto& [place, grid] : grids)
        if (definition_->lists.empty()) grid->setRowStretch(grid->rowCount(), 1);
    if (definition_->lists.empty()) outer->addStretch(1);

    const framework::form::ButtonTexts& texts = definition_->buttons;
    ok_ = makeButton(texts.ok, texts.okTip, QStyle::SP_DialogSaveButton);
    cancel_ = makeButton(texts.cancel, texts.cancelTip, QStyle::SP_DialogCancelButton);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    if (!definition_->helpTopic.empty()) {
        help_ = makeButton(texts.help, texts.helpTip, QStyle::SP_DialogHelpButton);
        buttons->addWidget(help_);
        connect(help_, &QPushButton::clicked, this,
                [this] { framework::openHelp(definition_->helpTopic); });
    }
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    int buttonWidth = 0;
    for (QPushButton* button : {ok_, cancel_, help_})
        if (button && !button->text().isEmpty())
            buttonWidth = std::max(buttonWidth, button->sizeHint().width());
    for (QPushButton* button : {ok_, cancel_, help_})
        if (button && !button->text().isEmpty()) button->setMinimumWidth(buttonWidth);
    outer->addLayout(buttons);
    connect(ok_, &QPushButton::clicked, this, [this] { pressOk(); });
    connect(cancel_, &QPushButton::clicked, this, [this] {
        if (engine_) engine_->cancelPressed();
    });

    // Tab order: the fields as declared, then OK and cancel.
    QWidget* previous = nullptr;
    for (const Control& control : controls_) {
        QWidget* next = control.widget;
        if (control.display || control.image) continue;  // shown only: no focus
        if (control.group) {
            const auto radios = control.group->findChildren<QRadioButton*>();
            if (!radios.isEmpty()) next = radios.first();
        }
        if (previous) setTabOrder(previous, next);
        previous = next;
    }
    for (QPushButton* button : {ok_, cancel_, help_}) {
        if (!button) continue;
        if (previous) setTabOrder(previous, button);
        previous = button;
    }

    focusFrame_ = new FocusFrameWidget(this);
}

QPushButton* FormWindow::makeButton(const std::string& text, const std::string& tip,
                                QStyle::StandardPixmap icon) {
    auto* button = new QPushButton(toQt(text), this);
    // An empty text leaves the button with its icon only.
    if (text.empty()) button->setIcon(style()->standardIcon(icon));
    if (!tip.empty()) button->setToolTip(toQt(tip));
    button->setAutoDefault(false);
    button->installEventFilter(this);
    return button;
}

void FormWindow::addControl(QGridLayout* grid, const FormField& field, bool halfWidth) {
    Control control;
    control.field = &field;
    // A field beside the one before it joins that field's row; otherwise it starts
    // a row of its own: the prompt on the left, the control in the second column.
    QHBoxLayout* besideBox = field.beside && grid->rowCount() > 0 ? besideRow(grid) : nullptr;
    const int row = besideBox ? grid->rowCount() - 1 : grid->rowCount();
    auto place = [&](QWidget* widget, Qt::Alignment alignment = {}) {
        if (besideBox) besideBox->insertWidget(besideBox->count() - 1, widget);
        else grid->addWidget(widget, row, 1, alignment);
    };
    const QString tip = toQt(field.tip);
    const QFontMetrics metrics(font());
    const int charWidth = metrics.horizontalAdvance(QLatin1Char('0'));

    switch (field.control) {
        case FieldControl::Entry: {
            auto* line = new QLineEdit(this);
            const int chars = pictureChars(field, record());
            const bool numeric = isNumeric(field);
            if (!numeric && platform::Picture(field.picture).valid()) line->setMaxLength(chars);
            if (numeric) line->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            // The picture's characters, two more for the cursor, and the frame's margins.
            // On a page of two columns the wide entries start half as wide.
            const int wide = halfWidth ? kWideEntryChars / 2 : kWideEntryChars;
            const int textWidth = charWidth * (std::min(chars, wide) + 2) + 12;
            if (chars <= kFixedEntryChars) {
                line->setFixedWidth(std::max(textWidth, 48));
                place(line, Qt::AlignLeft);
            } else {
                line->setMinimumWidth(textWidth);
                place(line);
            }
            if (field.secret) line->setEchoMode(QLineEdit::Password);
            if (field.editable && !field.editable()) line->setReadOnly(true);
            control.line = line;
            control.widget = line;
            connect(line, &QLineEdit::editingFinished, this,
                    [this, entry = field.entry] { entryFinished(entry); });
            break;
        }
        case FieldControl::Check: {
            auto* check = new QCheckBox(toQt(field.prompt), this);
            place(check);
            control.check = check;
            control.widget = check;
            connect(check, &QCheckBox::clicked, this, [this, entry = field.entry](bool ticked) {
                const Control* c = controlOf(entry);
                if (!engine_ || closed_ || !c) return;
                framework::form::storeCheck(record(), *c->field, ticked);
                engine_->entryAccepted(entry);
            });
            break;
        }
        case FieldControl::Options: {
            auto* group = new QGroupBox(toQt(field.prompt), this);
            auto* column = new QVBoxLayout(group);
            auto* options = new QButtonGroup(group);
            int id = 0;
            for (const auto& [text, value] : field.options) {
                auto* radio = new QRadioButton(toQt(text), group);
                radio->setToolTip(tip);
                radio->installEventFilter(this);
                column->addWidget(radio);
                options->addButton(radio, id++);
            }
            grid->addWidget(group, row, 0, 1, 2);
            control.group = group;
            control.options = options;
            control.widget = group;
            connect(options, &QButtonGroup::idClicked, this, [this, entry = field.entry](int chosen) {
                const Control* c = controlOf(entry);
                if (!engine_ || closed_ || !c) return;
                const int index = record().layout().fieldIndex(c->field->field);
                if (index < 0) return;
                record().setValue(static_cast<std::size_t>(index),
                                  c->field->options[static_cast<std::size_t>(chosen)].second);
                engine_->entryAccepted(entry);
            });
            break;
        }
        case FieldControl::Button: {
            auto* button = new QPushButton(toQt(field.prompt), this);
            button->setAutoDefault(false);
            place(button, Qt::AlignLeft);
            control.button = button;
            control.widget = button;
            connect(button, &QPushButton::clicked, this, [this, entry = field.entry] {
                if (engine_ && !closed_) engine_->controlPressed(entry);
            });
            break;
        }
        case FieldControl::TextBox: {
            auto* text = new QPlainTextEdit(this);
            text->setTabChangesFocus(true);
            text->setMinimumWidth(charWidth * (halfWidth ? kWideEntryChars / 2 : kWideEntryChars) + 12);
            text->setFixedHeight(metrics.lineSpacing() * 4 + 12);
            grid->addWidget(text, row, 1);
            control.text = text;
            control.widget = text;
            // What is typed reaches the record at once, cut to the field's length.
            connect(text, &QPlainTextEdit::textChanged, this, [this, entry = field.entry] {
                const Control* c = controlOf(entry);
                if (!engine_ || closed_ || !c || !c->text) return;
                storeText(*c);
            });
            break;
        }
        case FieldControl::Picture: {
            auto* picture = new QLabel(this);
            picture->setPixmap(indicatorPixmap(field.picture, metrics.height() + 4));
            picture->setVisible(false);
            grid->addWidget(picture, row, 1, Qt::AlignLeft);
            control.picture = picture;
            control.widget = picture;
            break;
        }
        case FieldControl::DropList: {
            auto* drop = new QComboBox(this);
            drop->setSizeAdjustPolicy(QComboBox::AdjustToContents);
            if (field.choices)
                for (const auto& [value, text] : field.choices()) drop->addItem(toQt(text), toQt(value));
            else
                for (const auto& [text, value] : field.options) drop->addItem(toQt(text), toQt(value));
            place(drop, Qt::AlignLeft);
            control.drop = drop;
            control.widget = drop;
            connect(drop, &QComboBox::activated, this, [this, entry = field.entry](int chosen) {
                const Control* c = controlOf(entry);
                if (!engine_ || closed_ || !c || chosen < 0) return;
                storeDrop(*c, chosen);
                engine_->entryAccepted(entry);
            });
            break;
        }
        case FieldControl::Image: {
            auto* image = new QLabel(this);
            const auto x = field.picture.find('x');
            const int width = x == std::string::npos ? 120 : std::atoi(field.picture.substr(0, x).c_str());
            const int height = x == std::string::npos ? 120 : std::atoi(field.picture.substr(x + 1).c_str());
            image->setFixedSize(std::max(width, 16), std::max(height, 16));
            image->setFrameShape(QFrame::Box);
            image->setAlignment(Qt::AlignCenter);
            place(image, Qt::AlignLeft);
            control.image = image;
            control.widget = image;
            break;
        }
        case FieldControl::Display: {
            auto* display = new QLabel(this);
            display->setTextInteractionFlags(Qt::NoTextInteraction);
            // A name shown beside its entry keeps room for the picture's characters.
            if (besideBox && !field.picture.empty())
                display->setMinimumWidth(charWidth * std::min(pictureChars(field, record()), 30));
            place(display);
            control.display = display;
            control.widget = display;
            break;
        }
    }
    control.widget->setToolTip(tip);
    control.widget->setProperty("controlId", field.entry);
    control.widget->installEventFilter(this);
    if (field.control == FieldControl::Entry || field.control == FieldControl::Display ||
        field.control == FieldControl::TextBox || field.control == FieldControl::DropList) {
        if (!field.prompt.empty()) {
            auto* prompt = new QLabel(toQt(field.prompt), this);
            prompt->setBuddy(control.widget);
            if (besideBox) besideBox->insertWidget(besideBox->indexOf(control.widget), prompt);
            else grid->addWidget(prompt, row, 0);
            control.prompt = prompt;
        }
    }
    controls_.push_back(control);
}

// The second column of the grid's last row as a row of controls side by side,
// ending in a stretch so they keep to the left.
QHBoxLayout* FormWindow::besideRow(QGridLayout* grid) {
    const int row = grid->rowCount() - 1;
    QLayoutItem* item = grid->itemAtPosition(row, 1);
    if (item && item->layout())
        if (auto* existing = qobject_cast<QHBoxLayout*>(item->layout())) return existing;
    auto* box = new QHBoxLayout;
    box->setSpacing(8);
    if (item && item->widget()) {
        QWidget* widget = item->widget();
        grid->removeWidget(widget);
        box->addWidget(widget);
    }
    box->addStretch(1);
    grid->addLayout(box, row, 1);
    return box;
}

// A list inside the form: below the fields of its page, growing with the window.
void FormWindow::addList(QGridLayout* grid, const framework::form::EmbeddedList& list) {
    if (!list.definition) return;
    const int control = list.control;
    auto* panel = new ListPanel(list.definition(), [this, control]() -> framework::browse::BrowseEngine* {
        if (!engine_ || closed_ || !shown_ || callingForm_) return nullptr;
        return engine_->list(control);
    }, this);
    panel->setProperty("controlId", control);
    panel->setMinimumSize(panel->designSize(5));
    const int row = grid->rowCount();
    grid->addWidget(panel, row, 0, 1, 2);
    grid->setRowStretch(row, 1);
    panel->table()->installEventFilter(this);
    // The list's page follows its size: a list on a page that was hidden when the
    // form opened gets its real size only when the page shows.
    panel->table()->viewport()->installEventFilter(this);
    lists_.emplace_back(control, panel);
}

ListPanel* FormWindow::listPanel(int control) const {
    for (const auto& [number, panel] : lists_)
        if (number == control) return panel;
    return nullptr;
}

framework::browse::BrowseView* FormWindow::listView(int control) { return listPanel(control); }

FormWindow* FormWindow::hosting(const FormHost* host) {
    if (!host) return nullptr;
    for (FormWindow* form : runningForms())
        if (form->ownHost_ == host) return form;
    return nullptr;
}

void FormWindow::setCallingForm(bool running) {
    callingForm_ = running;
    setEnabled(!running);
    for (const auto& [number, panel] : lists_) panel->setHeld(running);
    if (!running && sub_ && area_) area_->setActiveSubWindow(sub_);
}

// A new form stands centred over the list that called it, inside the frame.
void FormWindow::placeWindow() {
    QWidget* window = frameWindow();
    QRect bounds;
    if (area_) bounds = area_->viewport()->rect();
    else if (QScreen* screen = QApplication::primaryScreen()) bounds = screen->availableGeometry();
    QRect over = bounds;
    if (host_ && host_->caller && host_->caller->isVisible()) over = host_->caller->geometry();
    QRect placed(QPoint(0, 0), window->size());
    placed.moveCenter(over.center());
    if (!bounds.isEmpty()) {
        placed.moveLeft(std::clamp(placed.left(), bounds.left(),
                                   std::max(bounds.left(), bounds.right() - placed.width())));
        placed.moveTop(std::clamp(placed.top(), bounds.top(),
                                  std::max(bounds.top(), bounds.bottom() - placed.height())));
    }
    window->move(placed.topLeft());
}

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

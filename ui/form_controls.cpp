// The form window's controls, built from the book's declaration: pages and
// columns, groups, every kind of field, the lists inside the form, the buttons,
// and the window's first placement.
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

}  // namespace ui

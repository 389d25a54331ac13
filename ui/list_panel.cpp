#include "ui/list_panel.h"

#include "ui/dialog_units.h"
#include "ui/qt_user_services.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <QTableView>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace ui {

using framework::browse::BrowseEngine;
using framework::browse::ListButton;
using framework::browse::ListKey;
using framework::browse::ScrollEvent;

ListPanel::ListPanel(const framework::browse::BrowseDefinition& definition, EngineSource engine,
                     QWidget* parent)
    : QWidget(parent), engine_(std::move(engine)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    if (!definition.heading.empty()) {
        heading_ = new QLabel(toQt(definition.heading), this);
        column->addWidget(heading_);
        column->addSpacing(6);
    }
    if (definition.entry) buildEntry(*definition.entry);
    if (!definition.controls.empty()) buildControls(definition.controls);
    buildTable(definition);
    column->addSpacing(8);
    buildButtons(definition);
    column->addLayout(buttonRow_);
}

// An entry above the list that edits a list local: a changed text sets the local
// and forces a refresh, so a range on it starts the list again.
void ListPanel::buildEntry(const framework::browse::ListEntry& entry) {
    if (!entry.choices.empty()) {
        buildChoices(entry);
        return;
    }
    auto* row = new QHBoxLayout;
    row->setSpacing(6);  // the prompt never touches its entry
    auto* prompt = new QLabel(toQt(entry.prompt), this);
    entry_ = new QLineEdit(this);
    entry_->setMaxLength(entry.characters);
    entry_->setText(toQt(entry.get ? entry.get() : std::string()));
    const QFontMetrics metrics(font());
    entry_->setFixedWidth(metrics.horizontalAdvance(QLatin1Char('W')) * (entry.characters + 2) / 2 + 12);
    prompt->setBuddy(entry_);
    row->addWidget(prompt);
    row->addWidget(entry_);
    row->addStretch(1);
    auto* column = static_cast<QVBoxLayout*>(layout());
    column->addLayout(row);
    column->addSpacing(6);
    connect(entry_, &QLineEdit::editingFinished, this, [this, set = entry.set] {
        const std::string text = fromQt(entry_->text());
        if (text == lastEntry_) return;
        lastEntry_ = text;
        if (set) set(text);
        if (BrowseEngine* engine = engine_()) engine->forceRefresh();
    });
    lastEntry_ = fromQt(entry_->text());
}

// The book's controls above the list, in one row; those of one tab only show
// while it is chosen.
void ListPanel::buildControls(const std::vector<framework::browse::ListControl>& controls) {
    using Kind = framework::browse::ListControl::Kind;
    controlDefs_ = controls;
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    const QFontMetrics metrics(font());
    const int charWidth = metrics.horizontalAdvance(QLatin1Char('W')) / 2 + 1;
    for (std::size_t i = 0; i < controlDefs_.size(); ++i) {
        const framework::browse::ListControl& def = controlDefs_[i];
        ListControlWidgets shown;
        if (def.unused()) {
            // A slot the book leaves empty (the selection list has no filter) gets
            // no widget; the others keep their numbers.
            controlWidgets_.push_back(shown);
            continue;
        }
        const QString tip = toQt(def.label.tip);
        auto set = [this, i](const std::string& text) {
            BrowseEngine* engine = engine_();
            if (!engine || !controlDefs_[i].set) return;
            controlDefs_[i].set(*engine, text);
            showControls();
        };
        if (!def.label.text.empty() && def.kind != Kind::Check && def.kind != Kind::Button) {
            shown.prompt = new QLabel(toQt(def.label.text), this);
            row->addWidget(shown.prompt);
        }
        switch (def.kind) {
            case Kind::Entry: {
                auto* line = new QLineEdit(this);
                line->setMaxLength(def.characters);
                line->setFixedWidth(charWidth * (std::min(def.characters, 30) + 2) + 12);
                connect(line, &QLineEdit::editingFinished, this, [line, set] { set(fromQt(line->text())); });
                // Return completes the entry and gives the keys back to the list
                // (Ctrl+Enter, the arrows, typed letters).
                connect(line, &QLineEdit::returnPressed, this, [this] { table_->setFocus(Qt::OtherFocusReason); });
                shown.line = line;
                shown.widget = line;
                break;
            }
            case Kind::Check: {
                auto* check = new QCheckBox(toQt(def.label.text), this);
                connect(check, &QCheckBox::clicked, this, [this, set](bool on) {
                    set(on ? "1" : "0");
                    table_->setFocus(Qt::OtherFocusReason);  // the keys stay with the list
                });
                shown.check = check;
                shown.widget = check;
                break;
            }
            case Kind::Display: {
                auto* display = new QLabel(this);
                display->setFrameShape(QFrame::StyledPanel);
                display->setMinimumWidth(charWidth * std::min(def.characters, 30));
                shown.display = display;
                shown.widget = display;
                break;
            }
            case Kind::Button: {
                auto* button = new QPushButton(toQt(def.label.text), this);
                button->setAutoDefault(false);
                connect(button, &QPushButton::clicked, this, [set] { set({}); });
                shown.widget = button;
                break;
            }
            case Kind::DropList: {
                auto* drop = new QComboBox(this);
                drop->setSizeAdjustPolicy(QComboBox::AdjustToContents);
                if (def.choices)
                    for (const auto& [value, text] : def.choices()) drop->addItem(toQt(text), toQt(value));
                connect(drop, &QComboBox::activated, this, [drop, set](int chosen) {
                    if (chosen >= 0) set(fromQt(drop->itemData(chosen).toString()));
                });
                shown.drop = drop;
                shown.widget = drop;
                break;
            }
        }
        shown.widget->setToolTip(tip);
        if (shown.prompt) shown.prompt->setBuddy(shown.widget);
        row->addWidget(shown.widget);
        controlWidgets_.push_back(shown);
    }
    row->addStretch(1);
    auto* column = static_cast<QVBoxLayout*>(layout());
    column->addLayout(row);
    column->addSpacing(6);
    showControls();
}

void ListPanel::showControls() {
    const int tab = tabs_ ? tabs_->currentIndex() + 1 : 1;
    for (std::size_t i = 0; i < controlWidgets_.size(); ++i) {
        const framework::browse::ListControl& def = controlDefs_[i];
        const ListControlWidgets& shown = controlWidgets_[i];
        if (!shown.widget) continue;
        const bool visible = def.tab == 0 || def.tab == tab;
        shown.widget->setVisible(visible);
        if (shown.prompt) shown.prompt->setVisible(visible);
        if (!def.get) continue;
        const QString value = toQt(def.get());
        if (shown.line && shown.line->text() != value) shown.line->setText(value);
        if (shown.check) shown.check->setChecked(value == QLatin1String("1"));
        if (shown.display) shown.display->setText(value);
        if (shown.drop) {
            const QSignalBlocker quiet(shown.drop);
            shown.drop->setCurrentIndex(shown.drop->findData(value));
        }
    }
}

// A list local chosen among fixed texts: a row of option buttons. Choosing one
// sets the local, fills the list again from its top and gives the list the focus.
void ListPanel::buildChoices(const framework::browse::ListEntry& entry) {
    choicesBox_ = new QGroupBox(toQt(entry.prompt), this);
    auto* row = new QHBoxLayout(choicesBox_);
    choices_ = new QButtonGroup(choicesBox_);
    const std::string current(platform::clip(entry.get ? entry.get() : std::string()));
    for (std::size_t i = 0; i < entry.choices.size(); ++i) {
        auto* option = new QRadioButton(toQt(entry.choices[i]), choicesBox_);
        option->setChecked(platform::clip(entry.choices[i]) == current);
        row->addWidget(option);
        choices_->addButton(option, static_cast<int>(i));
    }
    row->addStretch(1);
    auto* column = static_cast<QVBoxLayout*>(layout());
    column->addWidget(choicesBox_);
    column->addSpacing(6);
    connect(choices_, &QButtonGroup::idClicked, this,
            [this, set = entry.set, texts = entry.choices](int chosen) {
                if (set) set(texts[static_cast<std::size_t>(chosen)]);
                if (BrowseEngine* engine = engine_()) engine->restart();
                focusList();
            });
}

ListPanel::~ListPanel() {
    while (waitCursors_ > 0) setWaitCursor(false);
}

void ListPanel::buildTable(const framework::browse::BrowseDefinition& definition) {
    auto* column = static_cast<QVBoxLayout*>(layout());
    if (definition.sorts.size() > 1) {
        tabs_ = new QTabBar(this);
        tabs_->setFocusPolicy(Qt::TabFocus);
        tabs_->setExpanding(false);
        for (const auto& sort : definition.sorts) tabs_->addTab(toQt(sort.tabCaption));
        column->addWidget(tabs_);
        connect(tabs_, &QTabBar::currentChanged, this, [this] {
            if (BrowseEngine* engine = engine_()) engine->tabChanged();
            showControls();
        });
    }

    // The table and the engine's scroll bar share one sunken frame.
    tableFrame_ = new QFrame(this);
    tableFrame_->setFrameShape(QFrame::StyledPanel);
    tableFrame_->setFrameShadow(QFrame::Sunken);
    auto* inner = new QHBoxLayout(tableFrame_);
    inner->setContentsMargins(1, 1, 1, 1);
    inner->setSpacing(0);

    table_ = new QTableView(tableFrame_);
    model_ = new ListPageModel(table_);
    table_->setHorizontalHeader(new ListHeader(table_));
    table_->setModel(model_);
    table_->setItemDelegate(new ListCellDelegate(table_));
    table_->setFrameShape(QFrame::NoFrame);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    table_->setTabKeyNavigation(false);
    table_->setWordWrap(false);
    table_->setShowGrid(true);
    table_->setGridStyle(Qt::DotLine);
    table_->setAlternatingRowColors(true);
    table_->setCornerButtonEnabled(false);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int rowHeight = table_->fontMetrics().height() + 6;
    table_->verticalHeader()->setMinimumSectionSize(rowHeight);
    table_->verticalHeader()->setDefaultSectionSize(rowHeight);
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionsMovable(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setHighlightSections(false);
    header->setStretchLastSection(true);
    header->setSectionsClickable(false);

    const DialogUnits units = dialogUnits(table_->font());
    model_->setColumns(definition.columns, units);
    for (std::size_t c = 0; c < definition.columns.size(); ++c) {
        const int width = std::max(units.x(definition.columns[c].width), 16);
        columnWidths_.push_back(width);
        table_->setColumnWidth(static_cast<int>(c), width);
    }
    inner->addWidget(table_, 1);

    scrollBar_ = new QScrollBar(Qt::Vertical, tableFrame_);
    scrollBar_->setRange(0, 100);
    scrollBar_->setSingleStep(1);
    scrollBar_->setPageStep(10);
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    scrollBar_->hide();
    inner->addWidget(scrollBar_);
    column->addWidget(tableFrame_, 1);

    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (!highlighting_ && engine_()) postNewSelection();
    });
    connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        BrowseEngine* engine = engine_();
        if (index.isValid() && engine) engine->key(ListKey::DoubleClick);
    });
    connect(table_, &QTableView::customContextMenuRequested, this, [this](const QPoint& at) {
        BrowseEngine* engine = engine_();
        if (!engine) return;
        const QModelIndex index = table_->indexAt(at);
        if (index.isValid()) {
            // The row under the mouse becomes the choice before the menu opens.
            highlighting_ = true;
            table_->selectionModel()->setCurrentIndex(
                index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            highlighting_ = false;
        }
        engine->rightClick();
    });
    connect(scrollBar_, &QScrollBar::actionTriggered, this, [this](int action) { scrollAction(action); });
    connect(scrollBar_, &QScrollBar::sliderReleased, this, [this] {
        if (BrowseEngine* engine = engine_()) engine->thumbReleased(scrollBar_->sliderPosition());
    });
    table_->installEventFilter(this);
    table_->viewport()->installEventFilter(this);
}

QPushButton* ListPanel::makeButton(const framework::browse::ButtonLabel& label, int standardIcon) {
    auto* button = new QPushButton(toQt(label.text), this);
    if (label.text.empty())
        button->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(standardIcon)));
    if (!label.tip.empty()) button->setToolTip(toQt(label.tip));
    // A click leaves the keyboard on the list.
    button->setFocusPolicy(Qt::TabFocus);
    button->setAutoDefault(false);
    made_.push_back(button);
    return button;
}

void ListPanel::buildButtons(const framework::browse::BrowseDefinition& definition) {
    buttonRow_ = new QHBoxLayout;
    buttonRow_->setSpacing(6);
    const framework::browse::ListButtonLabels& labels = definition.labels;
    auto add = [this](QPushButton* button, void (BrowseEngine::*press)()) {
        buttonRow_->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, press] {
            if (BrowseEngine* engine = engine_()) (engine->*press)();
        });
        return button;
    };
    extras_.assign(definition.extraButtons.size(), nullptr);
    auto addExtras = [this, &definition](bool leading) {
        for (std::size_t i = 0; i < definition.extraButtons.size(); ++i) {
            const framework::browse::ExtraButton& button = definition.extraButtons[i];
            if (button.leading != leading) continue;
            QPushButton* extra = makeButton(button.label, QStyle::SP_ArrowRight);
            // The copy and print pictures come from the desktop's icon theme when it has them.
            if (button.icon == "Copy_rec.ico")
                extra->setIcon(QIcon::fromTheme(QStringLiteral("edit-copy"), extra->icon()));
            else if (button.icon == "Print.ico")
                extra->setIcon(QIcon::fromTheme(
                    QStringLiteral("document-print"),
                    style()->standardIcon(QStyle::SP_FileDialogContentsView)));
            buttonRow_->addWidget(extra);
            extras_[i] = extra;
            connect(extra, &QPushButton::clicked, this, [this, i] {
                if (BrowseEngine* engine = engine_()) engine->extraButton(i);
            });
        }
    };
    addExtras(true);
    if (definition.buttons.select) {
        select_ = add(makeButton(labels.select, QStyle::SP_DialogApplyButton),
                      &BrowseEngine::selectButton);
        select_->hide();
    }
    if (definition.buttons.insert)
        insert_ = add(makeButton(labels.insert, QStyle::SP_FileIcon), &BrowseEngine::insertButton);
    if (definition.buttons.change)
        change_ = add(makeButton(labels.change, QStyle::SP_FileDialogDetailedView),
                      &BrowseEngine::changeButton);
    if (definition.buttons.remove)
        delete_ = add(makeButton(labels.remove, QStyle::SP_TrashIcon), &BrowseEngine::deleteButton);
    addExtras(false);
    buttonRow_->addStretch(1);
}

QSize ListPanel::designSize(int rows) const {
    const int frame = 2 * (tableFrame_->frameWidth() + 1);
    int columns = 0;
    for (int width : columnWidths_) columns += width;
    const int tableWidth = columns + scrollBar_->sizeHint().width() + frame;
    const int rowHeight = table_->verticalHeader()->defaultSectionSize();
    int height = table_->horizontalHeader()->sizeHint().height() + rows * rowHeight + frame;
    if (tabs_) height += tabs_->sizeHint().height();
    if (heading_) height += heading_->sizeHint().height() + 6;
    if (entry_) height += entry_->sizeHint().height() + 6;
    if (choicesBox_) height += choicesBox_->sizeHint().height() + 6;
    const QSize buttons = buttonRow_->sizeHint();
    if (buttons.height() > 0) height += 8 + buttons.height();
    return {std::max(tableWidth, buttons.width()), height};
}

void ListPanel::setHeld(bool held) {
    held_ = held;
    if (!held_ && heldSelection_) {
        heldSelection_ = false;
        postNewSelection();
    }
}

QPushButton* ListPanel::button(ListButton which) const {
    switch (which) {
        case ListButton::Insert: return insert_;
        case ListButton::Change: return change_;
        case ListButton::Delete: return delete_;
        case ListButton::Select: return select_;
    }
    return nullptr;
}

QPushButton* ListPanel::extraButton(std::size_t index) const {
    return index < extras_.size() ? extras_[index] : nullptr;
}

std::vector<QPushButton*> ListPanel::buttons() const { return made_; }

// ------------------------------------------------------------------ BrowseView

int ListPanel::visibleRows() const {
    const int rowHeight = std::max(1, table_->verticalHeader()->defaultSectionSize());
    return std::max(1, table_->viewport()->height() / rowHeight);
}

void ListPanel::showRows(const std::vector<std::vector<std::string>>& rows) {
    highlighting_ = true;
    model_->setRows(rows);
    highlighting_ = false;
}

int ListPanel::chosenRow() const {
    const QModelIndex current = table_->currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void ListPanel::highlightRow(int row) {
    highlighting_ = true;
    QItemSelectionModel* selection = table_->selectionModel();
    if (row >= 1 && row <= model_->rowCount()) {
        selection->setCurrentIndex(model_->index(row - 1, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
        selection->clear();
    }
    highlighting_ = false;
}

void ListPanel::showButton(ListButton which, bool visible) {
    QPushButton* b = button(which);
    if (!b) return;
    // A button hidden by the rights keeps its place, so the others stay where the
    // operator learned to find them.
    QSizePolicy policy = b->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    b->setSizePolicy(policy);
    b->setVisible(visible);
}

void ListPanel::enableButton(ListButton which, bool enabled) {
    if (QPushButton* b = button(which)) b->setEnabled(enabled);
}

void ListPanel::showScrollBar(bool visible) { scrollBar_->setVisible(visible); }

void ListPanel::setThumb(int position) {
    thumb_ = position;
    if (scrollBar_->isSliderDown()) return;
    const QSignalBlocker blocker(scrollBar_);
    scrollBar_->setValue(position);
}

void ListPanel::setWaitCursor(bool on) {
    if (on) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ++waitCursors_;
    } else if (waitCursors_ > 0) {
        QApplication::restoreOverrideCursor();
        --waitCursors_;
    }
}

void ListPanel::focusList() { table_->setFocus(Qt::OtherFocusReason); }

void ListPanel::postNewSelection() {
    QMetaObject::invokeMethod(this, [this] { deliverSelection(); }, Qt::QueuedConnection);
}

void ListPanel::deliverSelection() {
    // While the list's form edits the record buffer the list must not touch it.
    if (held_) {
        heldSelection_ = true;
        return;
    }
    if (BrowseEngine* engine = engine_()) engine->newSelection();
}

int ListPanel::activeTab() const { return tabs_ ? tabs_->currentIndex() + 1 : 1; }

void ListPanel::beep() { QApplication::beep(); }

// ---------------------------------------------------------------------- events

bool ListPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        if (tableKey(static_cast<QKeyEvent*>(event))) return true;
    } else if (watched == table_->viewport() && event->type() == QEvent::Wheel) {
        // The wheel moves three rows a notch, through the engine.
        const int notches = static_cast<QWheelEvent*>(event)->angleDelta().y() / 120;
        for (int i = 0; i < 3 * std::abs(notches); ++i) {
            BrowseEngine* engine = engine_();
            if (!engine) break;
            engine->scroll(notches > 0 ? ScrollEvent::RowUp : ScrollEvent::RowDown);
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool ListPanel::tableKey(QKeyEvent* event) {
    BrowseEngine* engine = engine_();
    if (!engine) return true;
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool control = modifiers == Qt::ControlModifier;
    switch (event->key()) {
        case Qt::Key_Up: engine->scroll(ScrollEvent::RowUp); return true;
        case Qt::Key_Down: engine->scroll(ScrollEvent::RowDown); return true;
        case Qt::Key_PageUp: engine->scroll(ScrollEvent::PageUp); return true;
        case Qt::Key_PageDown: engine->scroll(ScrollEvent::PageDown); return true;
        case Qt::Key_Home:
            if (control) engine->scroll(ScrollEvent::FirstPage);
            else if (model_->rowCount() > 0) table_->selectRow(0);
            return true;
        case Qt::Key_End:
            if (control) engine->scroll(ScrollEvent::LastPage);
            else if (model_->rowCount() > 0) table_->selectRow(model_->rowCount() - 1);
            return true;
        case Qt::Key_Left:
        case Qt::Key_Right:
            return true;
        case Qt::Key_Insert: engine->key(ListKey::Insert); return true;
        case Qt::Key_Delete: engine->key(ListKey::Delete); return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (control) engine->key(ListKey::CtrlEnter);
            return true;
        case Qt::Key_F1: engine->helpButton(); return true;
        default: break;
    }
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier)) return false;
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint()) return false;
    const std::string typed = fromQt(text.left(1));
    if (!typed.empty()) engine->character(typed[0]);
    showControls();
    return true;
}

void ListPanel::scrollAction(int action) {
    BrowseEngine* engine = engine_();
    if (!engine) return;
    ScrollEvent event;
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: event = ScrollEvent::RowDown; break;
        case QAbstractSlider::SliderSingleStepSub: event = ScrollEvent::RowUp; break;
        case QAbstractSlider::SliderPageStepAdd: event = ScrollEvent::PageDown; break;
        case QAbstractSlider::SliderPageStepSub: event = ScrollEvent::PageUp; break;
        case QAbstractSlider::SliderToMinimum: event = ScrollEvent::FirstPage; break;
        case QAbstractSlider::SliderToMaximum: event = ScrollEvent::LastPage; break;
        default: return;  // dragging: the engine hears of it when the thumb is released
    }
    // The engine places the thumb; the slider does not move by itself.
    scrollBar_->setSliderPosition(thumb_);
    engine->scroll(event);
}

}  // namespace ui

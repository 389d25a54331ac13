#include "ui/help_window.h"

#include "ui/window_place.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace ui {

namespace {

// The window's place, in the program's INI file of the working folder.
constexpr const char* kSection = "Help_w";

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

// The contents page of a help folder: the program's index page above the topic.
QString contentsFor(const QString& page) {
    QDir folder = QFileInfo(page).absoluteDir();
    for (int up = 0; up < 3; ++up) {
        for (const char* name : {"Tarvo.htm", "Dostup.htm"})
            if (folder.exists(QString::fromLatin1(name))) return folder.filePath(QString::fromLatin1(name));
        if (!folder.cdUp()) break;
    }
    return page;
}

}  // namespace

bool isHelpPage(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("htm") || suffix == QLatin1String("html");
}

HelpWindow& HelpWindow::instance() {
    static HelpWindow* window = new HelpWindow;
    return *window;
}

HelpWindow::HelpWindow()
    : browser_(new QTextBrowser(this)),
      back_(new QPushButton(text("Назад"), this)),
      forward_(new QPushButton(text("Вперёд"), this)) {
    setWindowTitle(text("Помощь"));
    setWindowFlag(Qt::Window);
    auto* column = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    auto* contents = new QPushButton(text("Содержание"), this);
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addWidget(contents);
    buttons->addStretch();
    column->addLayout(buttons);
    column->addWidget(browser_);
    browser_->setOpenLinks(true);
    browser_->setOpenExternalLinks(true);  // a web address goes to the desktop's browser
    back_->setEnabled(false);
    forward_->setEnabled(false);
    connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
    connect(contents, &QPushButton::clicked, this, [this] {
        if (!contents_.isEmpty()) browser_->setSource(QUrl::fromLocalFile(contents_));
    });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        if (!browser_->documentTitle().isEmpty())
            setWindowTitle(text("Помощь — ") + browser_->documentTitle());
    });
    resize(720, 560);
    restorePlace();
}

void HelpWindow::showPage(const QString& path) {
    contents_ = contentsFor(path);
    browser_->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
    show();
    raise();
    activateWindow();
}

void HelpWindow::restorePlace() { restoreWindowPlace(*this, kSection); }

void HelpWindow::keepPlace() { keepWindowPlace(*this, kSection); }

void HelpWindow::closeEvent(QCloseEvent* event) {
    keepPlace();
    event->accept();
}

}  // namespace ui

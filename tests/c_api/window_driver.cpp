// Plays the user for a C program of the suite that calls the library's screens:
// linked into the test program, it starts with the Qt application that the
// library creates for the first screen, watches for the screens' list windows and
// answers each one with the next step of TEST_DRIVE, a ';'-separated list:
//   "select N"  highlight row N and press the select button ("Выбор"/"Выбрать"),
//   "close"     press the close button ("Выход"/"Закрыть").
// A message box is answered with its default button and reported on stderr;
// the C program reads what was answered from the counters below.
#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>

// What the driver answered, for the C program to check.
extern "C" {
int test_drive_messages = 0;          // message boxes answered
char test_drive_last_message[512];    // the last one's text, UTF-8
int test_drive_windows = 0;           // list windows answered by a step
}

namespace {

std::deque<std::string>& steps() {
    static std::deque<std::string> queue;
    return queue;
}

QAbstractButton* buttonNamed(QWidget* window, std::initializer_list<const char*> texts) {
    for (auto* button : window->findChildren<QPushButton*>()) {
        if (!button->isVisible() || !button->isEnabled()) continue;
        for (const char* text : texts)
            if (button->text() == QString::fromUtf8(text)) return button;
    }
    return nullptr;
}

QPointer<QWidget> answered;

void look() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible()) continue;
        if (auto* box = qobject_cast<QMessageBox*>(window)) {
            const QByteArray text = box->text().toUtf8();
            std::fprintf(stderr, "message box: %s\n", text.constData());
            std::snprintf(test_drive_last_message, sizeof test_drive_last_message, "%s", text.constData());
            ++test_drive_messages;
            if (QAbstractButton* button = box->defaultButton()) button->click();
            return;
        }
        auto* table = window->findChild<QTableView*>();
        if (!table || window == answered || steps().empty()) continue;
        const std::string step = steps().front();
        if (step.rfind("select ", 0) == 0) {
            const int row = std::atoi(step.c_str() + 7);
            if (table->model()->rowCount() < row) continue;  // the page is not shown yet
            table->selectRow(row - 1);
            QAbstractButton* select = buttonNamed(window, {"Выбор", "Выбрать"});
            if (!select) continue;
            steps().pop_front();
            answered = window;
            ++test_drive_windows;
            select->click();
        } else {
            QAbstractButton* close = buttonNamed(window, {"Выход", "Закрыть"});
            if (!close) continue;
            steps().pop_front();
            answered = window;
            ++test_drive_windows;
            close->click();
        }
        return;
    }
}

void startDriving() {
    if (const char* script = std::getenv("TEST_DRIVE")) {
        std::string all(script);
        std::size_t start = 0;
        while (start <= all.size()) {
            const std::size_t end = all.find(';', start);
            const std::string step = all.substr(start, end == std::string::npos ? std::string::npos : end - start);
            if (!step.empty()) steps().push_back(step);
            if (end == std::string::npos) break;
            start = end + 1;
        }
    }
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, timer, look);
    timer->start(30);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(startDriving)

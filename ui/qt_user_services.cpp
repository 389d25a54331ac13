#include "ui/qt_user_services.h"

#include "platform/cp1251.h"
#include "ui/help_window.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QUrl>

#include <cstdlib>
#include <utility>
#include <vector>

namespace ui {

QString toQt(const std::string& cp1251) {
    return QString::fromUtf8(platform::cp1251ToUtf8(cp1251));
}

std::string fromQt(const QString& text) {
    return platform::utf8ToCp1251(text.toUtf8().toStdString());
}

namespace {

QMessageBox::Icon qtIcon(platform::Icon icon) {
    switch (icon) {
        case platform::Icon::Information: return QMessageBox::Information;
        case platform::Icon::Exclamation: return QMessageBox::Warning;
        case platform::Icon::Question: return QMessageBox::Question;
        case platform::Icon::Hand: return QMessageBox::Critical;
        case platform::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

const std::vector<std::pair<int, QMessageBox::StandardButton>>& buttonMap() {
    static const std::vector<std::pair<int, QMessageBox::StandardButton>> map = {
        {platform::kButtonOk, QMessageBox::Ok},
        {platform::kButtonYes, QMessageBox::Yes},
        {platform::kButtonNo, QMessageBox::No},
        {platform::kButtonRetry, QMessageBox::Retry},
        {platform::kButtonCancel, QMessageBox::Cancel},
    };
    return map;
}

}  // namespace

int QtUserServices::message(const platform::MessageBoxRequest& box) {
    // The box belongs to no window: the window that was active may close (and be
    // deleted, taking its children along) while the box waits for its answer,
    // and the message must stay until it is answered. It blocks the whole
    // program instead, and is deleted here unless something else deleted it.
    QPointer<QMessageBox> dialog =
        new QMessageBox(qtIcon(box.icon), toQt(box.caption), toQt(box.text), QMessageBox::NoButton);
    dialog->setWindowModality(Qt::ApplicationModal);
    int escapeAnswer = 0;
    for (const auto& [number, standard] : buttonMap()) {
        if (!(box.buttons & number)) continue;
        QPushButton* button = dialog->addButton(standard);
        if (number == box.defaultButton) dialog->setDefaultButton(button);
        if (number == platform::kButtonCancel || number == platform::kButtonNo ||
            (escapeAnswer == 0 && number == platform::kButtonOk))
            escapeAnswer = number;
    }
    const int pressed = dialog->exec();
    delete dialog.data();
    for (const auto& [number, standard] : buttonMap())
        if (pressed == standard) return number;
    // The close box answers as Cancel, No or OK, whichever the box has.
    return escapeAnswer ? escapeAnswer : box.defaultButton;
}

int QtUserServices::popupMenu(const std::string& items) {
    QPointer<QMenu> guarded = new QMenu;  // as the boxes: no window that may close under it
    QMenu& menu = *guarded;
    const QStringList parts = toQt(items).split(QLatin1Char('|'));
    int number = 0;
    for (const QString& part : parts) {
        if (part == QLatin1String("-")) {
            menu.addSeparator();
            continue;
        }
        ++number;
        const bool greyed = part.startsWith(QLatin1Char('~'));
        QAction* action = menu.addAction(greyed ? part.mid(1) : part);
        action->setEnabled(!greyed);
        action->setData(number);
    }
    QAction* chosen = menu.exec(QCursor::pos());
    const int answer = chosen && guarded ? chosen->data().toInt() : 0;
    delete guarded.data();
    return answer;
}

std::optional<std::string> QtUserServices::fileDialog(const platform::FileDialogRequest& request) {
    // "Все файлы|*.*|Формат WAV|*.wav" becomes "Все файлы (*.*);;Формат WAV (*.wav)".
    const QStringList parts = toQt(request.filter).split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + QLatin1String(" (") + QString(parts[i + 1]).replace(';', ' ') +
                       QLatin1Char(')');
    const QString chosen =
        QFileDialog::getOpenFileName(QApplication::activeWindow(), toQt(request.caption),
                                     toQt(request.startFolder), filters.join(QLatin1String(";;")));
    if (chosen.isEmpty()) return std::nullopt;
    return fromQt(chosen);
}

void QtUserServices::openDocument(const std::string& hostPath, const std::string&) {
    // Help pages in the program's own help window, which needs no other package.
    const QString path = QString::fromStdString(hostPath);
    if (isHelpPage(path)) {
        if (QFileInfo::exists(path)) {
            HelpWindow::instance().showPage(path);
        } else {
            QMessageBox::information(nullptr, toQt(platform::ru(" Помощь")),
                                     toQt(platform::ru("Страница помощи не найдена: ")) + path);
        }
        return;
    }
    // Other documents: the desktop's associated program; nothing blocks.
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(hostPath)));
}

void QtUserServices::stopProgram(const std::string& text) {
    QMessageBox::critical(QApplication::activeWindow(), QString(), toQt(text));
    std::exit(1);
}

}  // namespace ui

// The program's own help window: the Russian help pages shown in a text browser
// with back, forward and contents, links between pages followed inside it, and
// its place kept in the working folder's INI file. Help then works on every
// machine, with or without a desktop's document launcher.
#pragma once

#include <QWidget>

class QTextBrowser;
class QPushButton;

namespace ui {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // The one help window of the program, created on first use.
    static HelpWindow& instance();
    // Shows the page (a host path of an .htm file) and raises the window.
    void showPage(const QString& path);
    QTextBrowser* browser() const { return browser_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    HelpWindow();
    void restorePlace();
    void keepPlace();

    QTextBrowser* browser_;
    QPushButton* back_;
    QPushButton* forward_;
    QString contents_;
};

// Whether a document is a help page the help window shows (.htm, .html).
bool isHelpPage(const QString& path);

}  // namespace ui

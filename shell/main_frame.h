// The program's main frame: a multiple-document window titled " Справочники" in
// which the reference books and the staff screens open as child windows.
#pragma once

#include <QMainWindow>

class QMdiArea;

namespace shell {

class MainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit MainFrame(QWidget* parent = nullptr);

    QMdiArea* area() const { return area_; }

private:
    QMdiArea* area_;
};

}  // namespace shell

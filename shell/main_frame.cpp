#include "shell/main_frame.h"

#include "platform/cp1251.h"
#include "ui/qt_user_services.h"

#include <QMdiArea>
#include <QMenuBar>

namespace shell {

MainFrame::MainFrame(QWidget* parent) : QMainWindow(parent), area_(new QMdiArea(this)) {
    setWindowTitle(ui::toQt(platform::ru(" Справочники")));
    setCentralWidget(area_);
    resize(1000, 700);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* exit = file->addAction(QStringLiteral("E&xit"));
    exit->setStatusTip(QStringLiteral("Exit this application"));
    exit->setToolTip(QStringLiteral("Exit this application"));
    connect(exit, &QAction::triggered, this, &QWidget::close);
}

}  // namespace shell

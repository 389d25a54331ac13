#include "ui/window_placement_qt.h"

#include "framework/wallpaper.h"
#include "platform/ini_file.h"
#include "tests/helpers/qt_application.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

namespace {

using testing_support::TempFolder;
using ui::WindowPlacementOptions;
using ui::WindowPlacementQt;

constexpr const char* kIni = ".\\TARVO.INI";

QApplication& app() { return testing_support::qtApplication(); }

void settle() {
    for (int i = 0; i < 5; ++i) app().processEvents();
}

std::string read(const char* section, const char* key) {
    return platform::readIni(section, key, "<none>", kIni);
}

WindowPlacementOptions options(const char* section) {
    WindowPlacementOptions o;
    o.iniFile = kIni;
    o.section = section;
    return o;
}

class RefusingWindow : public QWidget {
public:
    bool refuse = true;

protected:
    void closeEvent(QCloseEvent* event) override {
        if (refuse) event->ignore();
        else event->accept();
    }
};

TEST(WindowPlacementQt, TopLevelWindowRestoresAndSavesItsGeometry) {
    app();
    TempFolder folder;
    folder.write("TARVO.INI", "[Price_t]\r\nXPosit=40\r\nYPosit=50\r\nWidth=500\r\nHeight=350\r\n"
                              "Maximize=No\r\n");
    QWidget window;
    window.resize(300, 200);
    (new WindowPlacementQt(&window, options("Price_t")))->attach();
    window.show();
    settle();
    EXPECT_EQ(window.geometry(), QRect(40, 50, 500, 350));
    EXPECT_FALSE(window.isMaximized());

    window.setGeometry(60, 70, 420, 330);
    settle();
    window.close();
    EXPECT_EQ(read("Price_t", "Maximize"), "No");
    EXPECT_EQ(read("Price_t", "XPosit"), "60");
    EXPECT_EQ(read("Price_t", "YPosit"), "70");
    EXPECT_EQ(read("Price_t", "Width"), "420");
    EXPECT_EQ(read("Price_t", "Height"), "330");
}

TEST(WindowPlacementQt, NeverClosedWindowOpensAtItsDesignPlace) {
    app();
    TempFolder folder;
    QWidget window;
    window.setGeometry(15, 25, 320, 240);
    WindowPlacementQt placement(&window, options("Store_t"));
    placement.opened();
    window.show();
    settle();
    EXPECT_EQ(window.geometry(), QRect(15, 25, 320, 240));
    EXPECT_TRUE(placement.closing());
    EXPECT_EQ(read("Store_t", "Width"), "320");
    EXPECT_FALSE(placement.closing());  // once per opening
}

TEST(WindowPlacementQt, MaximizedWindowReopensMaximizedAndRestoresToNormalSize) {
    app();
    TempFolder folder;
    folder.write("TARVO.INI", "[Firm_t]\r\nXPosit=30\r\nYPosit=40\r\nWidth=500\r\nHeight=350\r\n");
    {
        QWidget window;
        window.resize(300, 200);
        (new WindowPlacementQt(&window, options("Firm_t")))->attach();
        window.show();
        settle();
        window.showMaximized();
        settle();
        ASSERT_TRUE(window.isMaximized());
        window.close();
    }
    EXPECT_EQ(read("Firm_t", "Maximize"), "Yes");
    EXPECT_EQ(read("Firm_t", "XPosit"), "30");
    EXPECT_EQ(read("Firm_t", "Width"), "500");
    EXPECT_EQ(read("Firm_t", "Height"), "350");

    QWidget reopened;
    reopened.resize(300, 200);
    (new WindowPlacementQt(&reopened, options("Firm_t")))->attach();
    reopened.show();
    settle();
    EXPECT_TRUE(reopened.isMaximized());
    reopened.showNormal();
    settle();
    EXPECT_EQ(reopened.geometry(), QRect(30, 40, 500, 350));
}

TEST(WindowPlacementQt, RefusedCloseSavesNothingAndFixedSizeRestoresOnlyPosition) {
    app();
    TempFolder folder;
    folder.write("TARVO.INI", "[Kurs_u]\r\nXPosit=70\r\nYPosit=80\r\nWidth=999\r\nHeight=999\r\n");
    RefusingWindow window;
    window.setFixedSize(260, 180);
    (new WindowPlacementQt(&window, options("Kurs_u")))->attach();
    window.show();
    settle();
    EXPECT_EQ(window.geometry(), QRect(70, 80, 260, 180));

    window.setGeometry(90, 100, 260, 180);
    window.close();
    settle();
    EXPECT_EQ(read("Kurs_u", "XPosit"), "70");
    EXPECT_EQ(read("Kurs_u", "Maximize"), "<none>");

    window.refuse = false;
    window.close();
    EXPECT_EQ(read("Kurs_u", "XPosit"), "90");
    EXPECT_EQ(read("Kurs_u", "Width"), "260");
}

TEST(WindowPlacementQt, MdiSubWindowRoundTripsGeometryAndMaximizedState) {
    app();
    TempFolder folder;
    folder.write("TARVO.INI", "[Valut_t]\r\nXPosit=20\r\nYPosit=10\r\nWidth=300\r\nHeight=200\r\n");
    QMdiArea area;
    area.resize(900, 700);
    area.show();
    auto* sub = area.addSubWindow(new QWidget);
    sub->resize(250, 150);
    (new WindowPlacementQt(sub, options("Valut_t")))->attach();
    sub->show();
    settle();
    EXPECT_EQ(sub->geometry(), QRect(20, 10, 300, 200));

    sub->setGeometry(35, 45, 330, 220);
    sub->showMaximized();
    settle();
    sub->close();
    settle();
    EXPECT_EQ(read("Valut_t", "Maximize"), "Yes");
    EXPECT_EQ(read("Valut_t", "XPosit"), "35");
    EXPECT_EQ(read("Valut_t", "Width"), "330");

    auto* again = area.addSubWindow(new QWidget);
    again->resize(250, 150);
    (new WindowPlacementQt(again, options("Valut_t")))->attach();
    again->show();
    settle();
    EXPECT_TRUE(again->isMaximized());
    again->showNormal();
    settle();
    EXPECT_EQ(again->geometry(), QRect(35, 45, 330, 220));
}

TEST(WindowPlacementQt, WallpaperFollowsThePatternFlag) {
    app();
    TempFolder folder;
    QDir().mkpath("pic");
    QImage tile(8, 8, QImage::Format_RGB32);
    tile.fill(Qt::red);
    ASSERT_TRUE(tile.save("pic/Tabl1.bmp"));
    folder.write("TARVO.INI", "[Price_t]\r\nXPosit=1\r\n[Store_t]\r\nWallPaper=.\\pic\\None.bmp\r\n");

    framework::WallpaperDefaults pictures;
    pictures.tabl1 = ".\\PIC\\TABL1.BMP";
    const auto chosen = [&](bool on, const char* section) {
        pictures.patternOn = on;
        return framework::chooseWallpaper(pictures, kIni, section, framework::WallpaperRole::List);
    };

    QWidget window;
    auto* label = new QLabel("Name", &window);
    label->setAutoFillBackground(true);
    auto* check = new QCheckBox("On", &window);
    check->setAutoFillBackground(true);
    auto* edit = new QLineEdit(&window);
    edit->setAutoFillBackground(true);
    const QBrush original = window.palette().brush(QPalette::Window);

    WindowPlacementOptions on = options("Price_t");
    on.keepPlacement = false;
    on.wallpaper = chosen(true, "Price_t");
    WindowPlacementQt placement(&window, on);
    placement.opened();
    EXPECT_TRUE(window.autoFillBackground());
    EXPECT_FALSE(window.palette().brush(QPalette::Window).texture().isNull());
    EXPECT_EQ(window.palette().brush(QPalette::Window).texture().toImage().pixelColor(3, 3),
              QColor(Qt::red));
    EXPECT_FALSE(label->autoFillBackground());
    EXPECT_FALSE(check->autoFillBackground());
    EXPECT_TRUE(edit->autoFillBackground());  // entries keep their own background

    // Pictures off: no wallpaper, the window's own background is back.
    EXPECT_FALSE(ui::showWallpaper(&window, chosen(false, "Price_t")));
    EXPECT_TRUE(window.palette().brush(QPalette::Window).texture().isNull());
    EXPECT_EQ(window.palette().brush(QPalette::Window), original);
    EXPECT_FALSE(window.autoFillBackground());

    // A picture file that does not exist shows nothing.
    EXPECT_FALSE(ui::showWallpaper(&window, chosen(true, "Store_t")));
    EXPECT_TRUE(window.palette().brush(QPalette::Window).texture().isNull());
}

TEST(WindowPlacementQt, ResizerMovesAbsolutelyPlacedControls) {
    app();
    TempFolder folder;
    QWidget window;
    window.resize(400, 300);
    auto* ok = new QPushButton("OK", &window);
    ok->setGeometry(300, 250, 80, 24);
    auto* edit = new QLineEdit(&window);
    edit->setGeometry(100, 40, 200, 20);
    auto* list = new QListWidget(&window);
    list->setGeometry(10, 70, 380, 160);
    auto* group = new QGroupBox(&window);
    group->setGeometry(200, 0, 200, 40);
    auto* inGroup = new QCheckBox("x", group);
    inGroup->setGeometry(10, 10, 60, 16);

    WindowPlacementOptions o = options("Price_t");
    o.keepPlacement = false;
    o.resizerMode = 2;
    (new WindowPlacementQt(&window, o))->attach();
    window.show();
    settle();
    window.resize(800, 600);
    settle();
    EXPECT_EQ(ok->geometry(), QRect(700, 550, 80, 24));
    EXPECT_EQ(edit->geometry(), QRect(200, 80, 400, 20));
    EXPECT_EQ(list->geometry(), QRect(20, 140, 760, 320));
    EXPECT_EQ(group->geometry(), QRect(400, 0, 400, 80));
    // The held check box keeps its size at twice its window coordinates.
    EXPECT_EQ(inGroup->mapTo(&window, QPoint(0, 0)), QPoint(420, 20));
    EXPECT_EQ(inGroup->size(), QSize(60, 16));
}

}  // namespace

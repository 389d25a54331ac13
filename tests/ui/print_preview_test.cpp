#include "ui/print_preview.h"

#include "tests/helpers/qt_application.h"
#include "tests/helpers/temp_folder.h"
#include "tests/ui/sample_report.h"
#include "ui/clamping_spin_box.h"
#include "ui/layout_window.h"
#include "ui/page_jump_window.h"
#include "ui/preview_views.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QFontMetrics>
#include <QStyle>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

using framework::Zoom;
using ui::PrintPreview;

QApplication& app() { return testing_support::qtApplication(); }

void settle() {
    for (int i = 0; i < 5; ++i) app().processEvents();
}

// A4 pages, each with its number written on it.
ui::PageQueue pagesOf(int count) {
    ui::PageQueue pages;
    pages.reset(QSizeF(210, 297));
    for (int i = 1; i <= count; ++i) {
        QPicture picture;
        QPainter painter(&picture);
        painter.drawText(QRectF(1000, 1000, 5000, 1000), QString::number(i));
        painter.end();
        pages.append(picture);
    }
    return pages;
}

class PrintPreviewTest : public ::testing::Test {
protected:
    void open(int count) {
        app();
        pages = pagesOf(count);
        preview = std::make_unique<PrintPreview>(pages);
        preview->resize(600, 800);
        preview->show();
        QApplication::setActiveWindow(preview.get());
        settle();
    }
    void TearDown() override { preview.reset(); }

    ui::PageQueue pages;
    std::unique_ptr<PrintPreview> preview;
};

TEST_F(PrintPreviewTest, OpensOnPageOneInOneThumbnail) {
    open(5);
    EXPECT_EQ(preview->pagesStatus(), QStringLiteral("Page 1 of 5"));
    EXPECT_EQ(preview->zoomStatus(), QStringLiteral("No Zoom"));
    EXPECT_EQ(preview->minimumWidth(), 315);
    EXPECT_TRUE(preview->viewMenu()->menuAction()->isEnabled());
    EXPECT_TRUE(preview->pageField()->isEnabled());
    EXPECT_EQ(preview->pageField()->maximum(), 5);
    EXPECT_EQ(preview->pageField()->statusTip(), QStringLiteral("Enter a page number from 1 to 5"));
    EXPECT_FALSE(preview->previousAction()->isEnabled());
    EXPECT_TRUE(preview->nextAction()->isEnabled());
    EXPECT_TRUE(preview->zoomAction(Zoom::None)->isChecked());
    EXPECT_TRUE(preview->thumbnails()->isVisible());
    // One slot, as large as the view allows at the page's proportions.
    const QRect slot = preview->thumbnails()->slotRect(1);
    EXPECT_EQ(slot.topLeft(), QPoint(1, 1));
    EXPECT_NEAR(static_cast<double>(slot.height()) / slot.width(), 297.0 / 210.0, 0.02);
}

TEST_F(PrintPreviewTest, TwoByTwoThumbnailsOverFivePages) {
    open(5);
    preview->acrossField()->setValue(2);
    preview->downField()->setValue(2);
    EXPECT_EQ(preview->state().thumbnailsShown(), 4);
    EXPECT_EQ(preview->pagesStatus(), QStringLiteral("Pages 1-4 of 5"));

    preview->nextAction()->trigger();
    EXPECT_EQ(preview->state().current(), 5);
    EXPECT_EQ(preview->pagesStatus(), QStringLiteral("Page 5 of 5"));
    EXPECT_FALSE(preview->nextAction()->isEnabled());
    preview->next();  // stays
    EXPECT_EQ(preview->state().current(), 5);
    EXPECT_EQ(preview->pageField()->value(), 5);

    // PgUp and PgDn press previous and next.
    QTest::keyClick(preview->thumbnails(), Qt::Key_PageUp);
    EXPECT_EQ(preview->pagesStatus(), QStringLiteral("Pages 1-4 of 5"));
    QTest::keyClick(preview->thumbnails(), Qt::Key_PageDown);
    EXPECT_EQ(preview->pagesStatus(), QStringLiteral("Page 5 of 5"));
}

TEST_F(PrintPreviewTest, ClickOnAThumbnailZoomsToPageWidthAndBack) {
    open(5);
    preview->setThumbnailLayout(2, 2);
    settle();
    const QRect second = preview->thumbnails()->slotRect(2);
    QTest::mouseClick(preview->thumbnails(), Qt::LeftButton, {}, second.center());
    settle();
    EXPECT_EQ(preview->state().current(), 2);
    EXPECT_EQ(preview->zoomStatus(), QStringLiteral("Zoom (Page Width)"));
    EXPECT_EQ(preview->pagesStatus(), QStringLiteral("Page 2 of 5"));
    EXPECT_TRUE(preview->zoomArea()->isVisible());
    EXPECT_EQ(preview->zoomedPage()->width(), preview->zoomArea()->viewport()->width());
    EXPECT_EQ(preview->zoomArea()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

    // In zoom view next moves one page.
    preview->next();
    EXPECT_EQ(preview->pagesStatus(), QStringLiteral("Page 3 of 5"));

    QTest::mouseClick(preview->zoomedPage(), Qt::LeftButton, {}, QPoint(10, 10));
    settle();
    EXPECT_EQ(preview->zoomStatus(), QStringLiteral("No Zoom"));
    EXPECT_EQ(preview->pagesStatus(), QStringLiteral("Pages 3-5 of 5"));
    EXPECT_TRUE(preview->thumbnails()->isVisible());

    // A click beyond the last page does nothing.
    const QRect fourth = preview->thumbnails()->slotRect(4);
    QTest::mouseClick(preview->thumbnails(), Qt::LeftButton, {}, fourth.center());
    EXPECT_EQ(preview->zoomStatus(), QStringLiteral("No Zoom"));
}

TEST_F(PrintPreviewTest, EveryZoomOfTheViewMenu) {
    open(3);
    const double pageWidth = preview->state().pageWidth();
    const std::pair<Zoom, double> factors[] = {{Zoom::Percent50, 0.5},
                                               {Zoom::Percent75, 0.75},
                                               {Zoom::Percent100, 1.0},
                                               {Zoom::Percent200, 2.0},
                                               {Zoom::Percent300, 3.0}};
    for (const auto& [zoom, factor] : factors) {
        preview->zoomAction(zoom)->trigger();
        settle();
        EXPECT_EQ(preview->state().zoom(), zoom);
        EXPECT_TRUE(preview->zoomAction(zoom)->isChecked());
        EXPECT_NEAR(preview->zoomedPage()->width(), pageWidth * factor, 1.0);
        EXPECT_EQ(preview->zoomArea()->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    }
    EXPECT_EQ(preview->zoomStatus(), QStringLiteral("Zoom (300%)"));
    preview->zoomAction(Zoom::PageWidth)->trigger();
    EXPECT_EQ(preview->zoomStatus(), QStringLiteral("Zoom (Page Width)"));
    // Changing across returns to the thumbnails.
    preview->acrossField()->setValue(3);
    EXPECT_EQ(preview->zoomStatus(), QStringLiteral("No Zoom"));
    EXPECT_EQ(preview->pagesStatus(), QStringLiteral("Pages 1-3 of 3"));
}

TEST_F(PrintPreviewTest, ZoomButtonPopupShowsTheCurrentChoiceChecked) {
    open(3);
    std::vector<std::string> popups;
    int answer = 6;  // "200%"
    preview->popupChooser = [&](const std::string& popup) {
        popups.push_back(popup);
        return answer;
    };
    preview->zoomButton()->click();
    EXPECT_EQ(preview->zoomStatus(), QStringLiteral("Zoom (200%)"));
    answer = 0;  // dismissed: nothing changes
    preview->zoomButton()->click();
    EXPECT_EQ(preview->zoomStatus(), QStringLiteral("Zoom (200%)"));
    ASSERT_EQ(popups.size(), 2u);
    EXPECT_EQ(popups[0], "+No Zoom|-|-Page Width|-50%|-75%|-100%|-200%|-300%");
    EXPECT_EQ(popups[1], "-No Zoom|-|-Page Width|-50%|-75%|-100%|+200%|-300%");
}

TEST_F(PrintPreviewTest, PageNumberTypedBeyondTheLimitsTakesTheLimit) {
    open(5);
    QLineEdit* entry = preview->pageField()->findChild<QLineEdit*>();
    ASSERT_NE(entry, nullptr);
    preview->pageField()->setFocus();
    entry->selectAll();
    QTest::keyClicks(entry, QStringLiteral("99"));
    QTest::keyClick(entry, Qt::Key_Return);
    EXPECT_EQ(preview->state().current(), 5);
    EXPECT_EQ(preview->pageField()->value(), 5);
    entry->selectAll();
    QTest::keyClicks(entry, QStringLiteral("0"));
    QTest::keyClick(entry, Qt::Key_Return);
    EXPECT_EQ(preview->state().current(), 1);
    entry->selectAll();
    QTest::keyClicks(entry, QStringLiteral("3"));
    QTest::keyClick(entry, Qt::Key_Return);
    EXPECT_EQ(preview->pagesStatus(), QStringLiteral("Page 3 of 5"));
}

TEST_F(PrintPreviewTest, JumpAndChangeDisplayWindows) {
    open(8);
    preview->pageChooser = [](int current, int total) {
        EXPECT_EQ(current, 1);
        EXPECT_EQ(total, 8);
        return 6;
    };
    preview->jumpAction()->trigger();
    EXPECT_EQ(preview->pagesStatus(), QStringLiteral("Page 6 of 8"));

    preview->zoomAction(Zoom::Percent50)->trigger();
    preview->layoutChooser = [](int& across, int& down) {
        across = 3;
        down = 2;
        return true;
    };
    preview->layoutAction()->trigger();
    EXPECT_EQ(preview->zoomStatus(), QStringLiteral("No Zoom"));
    EXPECT_EQ(preview->pagesStatus(), QStringLiteral("Pages 6-8 of 8"));
    EXPECT_EQ(preview->acrossField()->value(), 3);
    EXPECT_EQ(preview->downField()->value(), 2);

    // The layout window edits across and down in place.
    int across = 2;
    int down = 3;
    QTimer::singleShot(0, [] {
        auto* w = qobject_cast<ui::LayoutWindow*>(QApplication::activeModalWidget());
        if (!w) return;
        w->acrossField()->setValue(4);
        w->accept();
    });
    EXPECT_TRUE(ui::LayoutWindow::edit(across, down));
    EXPECT_EQ(across, 4);
    EXPECT_EQ(down, 3);
}

TEST_F(PrintPreviewTest, OnePageDisablesTheFieldsAndTheViewMenu) {
    open(1);
    EXPECT_FALSE(preview->viewMenu()->menuAction()->isEnabled());
    EXPECT_FALSE(preview->pageField()->isEnabled());
    EXPECT_FALSE(preview->acrossField()->isEnabled());
    EXPECT_FALSE(preview->downField()->isEnabled());
    EXPECT_FALSE(preview->nextAction()->isEnabled());
    EXPECT_FALSE(preview->previousAction()->isEnabled());
    EXPECT_EQ(preview->pagesStatus(), QStringLiteral("Page 1 of 1"));
    EXPECT_TRUE(preview->printAction()->isEnabled());
}

TEST_F(PrintPreviewTest, PrintClosesWithTheChoiceToPrintExitWithout) {
    open(2);
    QTimer::singleShot(0, [this] { preview->printAction()->trigger(); });
    EXPECT_TRUE(preview->run());
    QTimer::singleShot(0, [this] { preview->exitAction()->trigger(); });
    EXPECT_FALSE(preview->run());
}

TEST_F(PrintPreviewTest, SavesThePagesAsPdf) {
    testing_support::TempFolder folder;
    open(4);
    const QString base = QString::fromStdString((folder.path() / "pages").string());
    preview->pdfPathChooser = [&] { return base; };
    preview->saveAction()->trigger();
    EXPECT_TRUE(QFile::exists(base + ".pdf"));
    EXPECT_EQ(testing_support::pdfPageCount(base + ".pdf"), 4);
    preview->pdfPathChooser = [] { return QString(); };  // the dialog cancelled
    EXPECT_FALSE(preview->saveAsPdf());
}

// The page-jump and layout windows are wider than their controls need: their
// captions, in the title bar's bold type, fit beside the icon and three buttons.
TEST(PreviewDialogs, CaptionsAreNotCutShort) {
    app();
    ui::PageJumpWindow jump(1, 12);
    ui::LayoutWindow layout(2, 2);
    for (QDialog* dialog : {static_cast<QDialog*>(&jump), static_cast<QDialog*>(&layout)}) {
        dialog->show();
        app().processEvents();
        QFont bold = QApplication::font();
        bold.setBold(true);
        const int caption = QFontMetrics(bold).horizontalAdvance(dialog->windowTitle());
        // The icon and the three buttons: a title bar's height each, 24 pixels at least.
        const int control = std::max(24, dialog->style()->pixelMetric(QStyle::PM_TitleBarHeight));
        EXPECT_GE(dialog->width(), caption + 4 * control) << dialog->windowTitle().toStdString();
        dialog->hide();
    }
}

}  // namespace

#include "framework/window_placement.h"

#include "platform/ini_file.h"
#include "tests/helpers/temp_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using framework::WindowRect;
using testing_support::TempFolder;

constexpr const char* kIni = ".\\TARVO.INI";
const WindowRect kScreen{0, 0, 1280, 800};

// A window that behaves like a real one: while maximized it reports the screen,
// and it returns to its last normal geometry when set back to normal size.
class FakeWindow : public framework::PlacementView {
public:
    bool designMaximized = false;
    bool canResize = true;
    bool isMinimized = false;
    bool isMaximized = false;
    WindowRect normal{100, 50, 400, 300};
    WindowRect least{};  // the design size
    WindowRect area{};   // where the window can be reached
    std::vector<std::string> calls;

    bool designedMaximized() const override { return designMaximized; }
    bool resizable() const override { return canResize; }
    bool minimized() const override { return isMinimized; }
    bool maximized() const override { return isMaximized; }
    WindowRect geometry() const override { return isMaximized ? kScreen : normal; }
    void setPosition(int x, int y) override {
        calls.push_back("position");
        normal.x = x;
        normal.y = y;
    }
    void setGeometry(const WindowRect& rect) override {
        calls.push_back("geometry");
        normal = rect;
    }
    void setMaximized(bool maximized) override {
        calls.push_back(maximized ? "maximize" : "normal");
        isMaximized = maximized;
    }
    WindowRect minimumSize() const override { return least; }
    WindowRect reachableArea() const override { return area; }
};

std::string read(const char* section, const char* key) {
    return platform::readIni(section, key, "<none>", kIni);
}

TEST(RestorePlacement, NeverClosedWindowKeepsItsDesignPlaceAndState) {
    TempFolder folder;
    FakeWindow window;
    framework::restorePlacement(window, kIni, "Valut_t");  // no file at all
    EXPECT_TRUE(window.calls.empty());

    // Without a position the "Maximize" key is not even looked at.
    folder.write("TARVO.INI", "[Valut_t]\r\nXPosit=0\r\nYPosit=40\r\nMaximize=Yes\r\n"
                              "[Price_t]\r\nMaximize=Yes\r\nXPosit=junk\r\n");
    window.designMaximized = true;
    window.isMaximized = true;
    framework::restorePlacement(window, kIni, "Valut_t");
    framework::restorePlacement(window, kIni, "Price_t");
    framework::restorePlacement(window, kIni, "Store_t");
    EXPECT_TRUE(window.calls.empty());
    EXPECT_TRUE(window.isMaximized);
    EXPECT_EQ(window.normal, (WindowRect{100, 50, 400, 300}));
}

TEST(RestorePlacement, ResizableWindowTakesSavedPositionAndSize) {
    TempFolder folder;
    folder.write("TARVO.INI",
                 "[valut_T]\r\nxposit=12\r\nYPosit=-30\r\nWidth=640\r\nHeight=480\r\nMaximize=No\r\n");
    FakeWindow window;
    window.isMaximized = true;  // design state; "No" returns it to normal
    framework::restorePlacement(window, kIni, "Valut_t");
    EXPECT_EQ(window.normal, (WindowRect{12, -30, 640, 480}));
    EXPECT_EQ(window.calls, (std::vector<std::string>{"geometry", "normal"}));
    EXPECT_FALSE(window.isMaximized);

    // Only the exact "Yes" maximizes.
    folder.write("TARVO.INI", "[Valut_t]\r\nXPosit=1\r\nYPosit=1\r\nWidth=2\r\nHeight=2\r\n"
                              "Maximize=yes\r\n");
    framework::restorePlacement(window, kIni, "Valut_t");
    EXPECT_FALSE(window.isMaximized);
}

TEST(RestorePlacement, ZeroAmongTheValuesLeavesWindowUnmovedButMaximizeStillApplies) {
    TempFolder folder;
    folder.write("TARVO.INI",
                 "[NoY]\r\nXPosit=10\r\nYPosit=0\r\nWidth=640\r\nHeight=480\r\nMaximize=Yes\r\n"
                 "[NoHeight]\r\nXPosit=10\r\nYPosit=20\r\nWidth=640\r\n");
    FakeWindow window;
    framework::restorePlacement(window, kIni, "NoY");
    EXPECT_EQ(window.normal, (WindowRect{100, 50, 400, 300}));
    EXPECT_TRUE(window.isMaximized);

    FakeWindow second;
    framework::restorePlacement(second, kIni, "NoHeight");
    EXPECT_EQ(second.normal, (WindowRect{100, 50, 400, 300}));
    EXPECT_EQ(second.calls, (std::vector<std::string>{"normal"}));
}

TEST(RestorePlacement, FixedSizeWindowRestoresOnlyItsPosition) {
    TempFolder folder;
    folder.write("TARVO.INI", "[Kurs_u]\r\nXPosit=70\r\nYPosit=80\r\nWidth=999\r\nHeight=999\r\n");
    FakeWindow window;
    window.canResize = false;
    framework::restorePlacement(window, kIni, "Kurs_u");
    EXPECT_EQ(window.normal, (WindowRect{70, 80, 400, 300}));
    EXPECT_EQ(window.calls, (std::vector<std::string>{"position", "normal"}));

    // A fixed-size window needs no saved size at all.
    folder.write("TARVO.INI", "[Kurs_u]\r\nXPosit=5\r\nYPosit=6\r\n");
    framework::restorePlacement(window, kIni, "Kurs_u");
    EXPECT_EQ(window.normal, (WindowRect{5, 6, 400, 300}));
}

TEST(RestorePlacement, WindowDesignedMaximizedIgnoresPositionButFollowsMaximize) {
    TempFolder folder;
    folder.write("TARVO.INI", "[Main]\r\nXPosit=70\r\nYPosit=80\r\nWidth=500\r\nHeight=400\r\n"
                              "Maximize=No\r\n");
    FakeWindow window;
    window.designMaximized = true;
    window.isMaximized = true;
    framework::restorePlacement(window, kIni, "Main");
    EXPECT_EQ(window.calls, (std::vector<std::string>{"normal"}));
    EXPECT_EQ(window.normal, (WindowRect{100, 50, 400, 300}));
    EXPECT_FALSE(window.isMaximized);
}

TEST(RestorePlacement, SavedSizeGrowsToTheDesignSizeAndTheWindowComesBackIntoReach) {
    TempFolder folder;
    FakeWindow window;
    window.least = {0, 0, 420, 260};
    window.area = kScreen;
    folder.write("TARVO.INI", "[Valut_t]\r\nXPosit=30\r\nYPosit=40\r\nWidth=5\r\nHeight=5\r\n");
    framework::restorePlacement(window, kIni, "Valut_t");
    EXPECT_EQ(window.normal, (WindowRect{30, 40, 420, 260}));

    // Far outside: as far in as the whole window fits.
    folder.write("TARVO.INI", "[Valut_t]\r\nXPosit=99999\r\nYPosit=-400\r\nWidth=500\r\nHeight=300\r\n");
    framework::restorePlacement(window, kIni, "Valut_t");
    EXPECT_EQ(window.normal, (WindowRect{780, 0, 500, 300}));

    // Larger than the area: its top-left corner, with the title bar, stays inside.
    folder.write("TARVO.INI", "[Valut_t]\r\nXPosit=-50\r\nYPosit=900\r\nWidth=2000\r\nHeight=1000\r\n");
    framework::restorePlacement(window, kIni, "Valut_t");
    EXPECT_EQ(window.normal, (WindowRect{0, 0, 2000, 1000}));

    // A fixed-size window keeps its size and comes back all the same.
    window.canResize = false;
    window.normal = {0, 0, 300, 200};
    folder.write("TARVO.INI", "[Valut_t]\r\nXPosit=5000\r\nYPosit=5000\r\n");
    framework::restorePlacement(window, kIni, "Valut_t");
    EXPECT_EQ(window.normal, (WindowRect{980, 600, 300, 200}));
}

TEST(SavePlacement, WritesStateAndNormalGeometryKeepingOtherKeys) {
    TempFolder folder;
    folder.write("TARVO.INI", "[Price_t]\r\nWallPaper=.\\pic\\My.bmp\r\nXPosit=1\r\n");
    FakeWindow window;
    window.normal = {-8, 16, 720, 510};
    EXPECT_TRUE(framework::savePlacement(window, kIni, "Price_t"));
    EXPECT_EQ(read("Price_t", "Maximize"), "No");
    EXPECT_EQ(read("Price_t", "XPosit"), "-8");
    EXPECT_EQ(read("Price_t", "YPosit"), "16");
    EXPECT_EQ(read("Price_t", "Width"), "720");
    EXPECT_EQ(read("Price_t", "Height"), "510");
    EXPECT_EQ(read("Price_t", "WallPaper"), ".\\pic\\My.bmp");
}

TEST(SavePlacement, MinimizedWindowWritesNothingAndKeepsEarlierPlacement) {
    TempFolder folder;
    const std::string before = "[Store_t]\r\nMaximize=Yes\r\nXPosit=3\r\nYPosit=4\r\n";
    folder.write("TARVO.INI", before);
    FakeWindow window;
    window.isMinimized = true;
    EXPECT_FALSE(framework::savePlacement(window, kIni, "Store_t"));
    EXPECT_EQ(folder.read("TARVO.INI"), before);
}

TEST(SavePlacement, MaximizedWindowRoundTripsToLastNormalSize) {
    TempFolder folder;
    FakeWindow closing;
    closing.normal = {30, 40, 500, 350};
    closing.isMaximized = true;
    ASSERT_TRUE(framework::savePlacement(closing, kIni, "Firm_t"));
    // The normal size is written, not the screen it covered.
    EXPECT_EQ(read("Firm_t", "Maximize"), "Yes");
    EXPECT_EQ(read("Firm_t", "Width"), "500");
    EXPECT_EQ(read("Firm_t", "Height"), "350");
    EXPECT_FALSE(closing.isMaximized);

    FakeWindow reopened;
    framework::restorePlacement(reopened, kIni, "Firm_t");
    EXPECT_EQ(reopened.calls, (std::vector<std::string>{"geometry", "maximize"}));
    EXPECT_TRUE(reopened.isMaximized);
    reopened.setMaximized(false);
    EXPECT_EQ(reopened.geometry(), (WindowRect{30, 40, 500, 350}));
}

TEST(SavePlacement, ReportsAFileThatCannotBeWritten) {
    TempFolder folder;
    FakeWindow window;
    EXPECT_FALSE(framework::savePlacement(window, ".\\NoSuchFolder\\TARVO.INI", "Main"));
}

TEST(IniNumber, ReadsLeadingIntegerAndTreatsTheRestAsZero) {
    EXPECT_EQ(framework::iniNumber("120"), 120);
    EXPECT_EQ(framework::iniNumber("  -45"), -45);
    EXPECT_EQ(framework::iniNumber("+7"), 7);
    EXPECT_EQ(framework::iniNumber("64px"), 64);
    EXPECT_EQ(framework::iniNumber(""), 0);
    EXPECT_EQ(framework::iniNumber("abc"), 0);
    EXPECT_EQ(framework::iniNumber("99999999999"), 0);
}

}  // namespace

#include "framework/resizer.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using framework::ControlKind;
using framework::ControlMove;
using framework::Resizer;
using framework::ResizerMode;
using framework::ResizerStrategy;
using framework::WindowRect;

class FakeWindow : public framework::ResizerView {
public:
    WindowRect window{50, 60, 400, 300};
    std::vector<framework::ControlInfo> list;
    std::vector<std::vector<ControlMove>> batches;  // one entry per moveControls call

    WindowRect windowGeometry() const override { return window; }
    std::vector<framework::ControlInfo> controls() const override { return list; }
    void moveControls(const std::vector<ControlMove>& moves) override { batches.push_back(moves); }

    std::map<int, ControlMove> lastMoves() const {
        std::map<int, ControlMove> byId;
        for (const ControlMove& move : batches.back()) byId[move.id] = move;
        return byId;
    }
};

// A design window of 400 x 300 with one control of each interesting kind, given
// out of number order as a window may report them.
FakeWindow designWindow() {
    FakeWindow w;
    w.list = {
        {3, ControlKind::Button, {300, 250, 80, 24}},  // near the bottom-right corner
        {1, ControlKind::Button, {10, 10, 80, 24}},    // near the top-left corner
        {2, ControlKind::Entry, {100, 40, 200, 20}},
        {4, ControlKind::List, {10, 70, 380, 160}},
        {6, ControlKind::Menu, {0, 0, 0, 0}},
        {5, ControlKind::Check, {20, 240, 100, 16}},
        {7, ControlKind::SString, {200, 280, 1, 12}},
        {8, ControlKind::Item, {0, 0, 0, 0}},
        {9, ControlKind::Button, {180, 10, 100, 24}},  // its right side is the nearer edge
    };
    return w;
}

TEST(ResizerStart, RecordsWindowAndSortedQueueWithoutMenus) {
    FakeWindow w = designWindow();
    Resizer resizer;
    resizer.start(w, ResizerMode::ByKind);
    EXPECT_EQ(resizer.origWin(), (WindowRect{50, 60, 400, 300}));
    EXPECT_EQ(resizer.previousWin(), resizer.origWin());
    std::vector<int> ids;
    for (const auto& c : resizer.controlQueue()) ids.push_back(c.id);
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 3, 4, 5, 7, 9}));
    EXPECT_EQ(resizer.controlQueue()[2].pos, (WindowRect{300, 250, 80, 24}));
    EXPECT_EQ(resizer.controlQueue()[2].type, ControlKind::Button);

    resizer.end();
    EXPECT_TRUE(resizer.controlQueue().empty());
    w.window.width = 800;
    EXPECT_FALSE(resizer.layout(w));
    EXPECT_TRUE(w.batches.empty());
}

TEST(ResizerStart, StrategiesByKind) {
    const auto byKind = [](ControlKind kind) { return Resizer::strategyFor(kind, ResizerMode::ByKind); };
    for (ControlKind kind : {ControlKind::Entry, ControlKind::Combo, ControlKind::Spin,
                             ControlKind::DropCombo})
        EXPECT_EQ(byKind(kind), (ResizerStrategy{0, 2}));
    EXPECT_EQ(byKind(ControlKind::Button), (ResizerStrategy{16 + 4096, 3}));
    EXPECT_EQ(byKind(ControlKind::Check), (ResizerStrategy{0, 3}));
    EXPECT_EQ(byKind(ControlKind::Radio), (ResizerStrategy{0, 3}));
    for (ControlKind kind : {ControlKind::List, ControlKind::Prompt, ControlKind::DropList,
                             ControlKind::Group, ControlKind::SString})
        EXPECT_EQ(byKind(kind), (ResizerStrategy{0, 0}));
    for (ControlKind kind : {ControlKind::Button, ControlKind::Entry, ControlKind::Check})
        EXPECT_EQ(Resizer::strategyFor(kind, ResizerMode::ScaleAll), (ResizerStrategy{0, 0}));
}

TEST(ResizerLayout, ByKindKeepsButtonsAtNearestEdgesEntriesHeightAndScalesLists) {
    FakeWindow w = designWindow();
    Resizer resizer;
    resizer.start(w, ResizerMode::ByKind);
    w.window = {0, 0, 800, 600};
    ASSERT_TRUE(resizer.layout(w));
    ASSERT_EQ(w.batches.size(), 1u);  // all moves in one go
    auto m = w.lastMoves();
    EXPECT_EQ(m[3].rect, (WindowRect{700, 550, 80, 24}));  // same gaps to the right and bottom
    EXPECT_EQ(m[1].rect, (WindowRect{10, 10, 80, 24}));    // stays at the top-left
    EXPECT_EQ(m[9].rect, (WindowRect{580, 10, 100, 24}));
    EXPECT_EQ(m[2].rect, (WindowRect{200, 80, 400, 20}));  // scaled, design height
    EXPECT_EQ(m[4].rect, (WindowRect{20, 140, 760, 320}));
    EXPECT_EQ(m[5].rect, (WindowRect{40, 480, 100, 16}));  // moves, keeps its size
    EXPECT_TRUE(m[7].keepOwnWidth);
    EXPECT_FALSE(m[4].keepOwnWidth);
    EXPECT_EQ(resizer.previousWin(), (WindowRect{0, 0, 800, 600}));

    // Shrinking: the bottom-right button keeps its gaps too.
    w.window = {0, 0, 200, 150};
    ASSERT_TRUE(resizer.layout(w));
    m = w.lastMoves();
    EXPECT_EQ(m[3].rect, (WindowRect{100, 100, 80, 24}));
    EXPECT_EQ(m[4].rect, (WindowRect{5, 35, 190, 80}));
}

TEST(ResizerLayout, ModeOneScalesEverything) {
    FakeWindow w = designWindow();
    Resizer resizer;
    resizer.start(w, ResizerMode::ScaleAll);
    w.window = {0, 0, 800, 450};
    ASSERT_TRUE(resizer.layout(w));
    auto m = w.lastMoves();
    EXPECT_EQ(m[3].rect, (WindowRect{600, 375, 160, 36}));
    EXPECT_EQ(m[2].rect, (WindowRect{200, 60, 400, 30}));
}

TEST(ResizerLayout, RunsOnlyWhenTheSizeChanged) {
    FakeWindow w = designWindow();
    Resizer resizer;
    resizer.start(w, ResizerMode::ByKind);
    w.window.x = 500;  // moved, same size
    EXPECT_FALSE(resizer.layout(w));
    w.window.width = 600;
    EXPECT_TRUE(resizer.layout(w));
    EXPECT_FALSE(resizer.layout(w));
    EXPECT_EQ(w.batches.size(), 1u);
}

TEST(ResizerLayout, StrategiesApplyOnlyOnTheAxisThatChanged) {
    FakeWindow w = designWindow();
    Resizer resizer;
    resizer.start(w, ResizerMode::ByKind);
    w.window = {0, 0, 400, 600};  // taller only
    ASSERT_TRUE(resizer.layout(w));
    auto m = w.lastMoves();
    EXPECT_EQ(m[3].rect, (WindowRect{300, 550, 80, 24}));
    EXPECT_EQ(m[4].rect, (WindowRect{10, 140, 380, 320}));
}

TEST(ResizerLayout, LockAndCentreStrategies) {
    FakeWindow w;
    w.list = {{1, ControlKind::Panel, {150, 100, 100, 50}},
              {2, ControlKind::Panel, {150, 100, 100, 50}},
              {3, ControlKind::Panel, {150, 100, 100, 50}},
              {4, ControlKind::Panel, {150, 100, 100, 50}}};
    Resizer resizer;
    resizer.start(w, ResizerMode::ScaleAll);
    EXPECT_TRUE(resizer.setStrategy(1, {framework::kLockX | framework::kLockY, 0}));
    EXPECT_TRUE(resizer.setStrategy(2, {framework::kFixXCentre | framework::kFixYCentre, 3}));
    EXPECT_TRUE(resizer.setStrategy(3, {framework::kFixXCentre | framework::kFixYCentre, 0}));
    EXPECT_TRUE(resizer.setStrategy(4, {framework::kFixRight | framework::kFixBottom, 0}));
    EXPECT_FALSE(resizer.setStrategy(9, {}));
    w.window = {0, 0, 800, 600};
    ASSERT_TRUE(resizer.layout(w));
    auto m = w.lastMoves();
    EXPECT_EQ(m[1].rect, (WindowRect{150, 100, 200, 100}));  // design x and y, scaled size
    EXPECT_EQ(m[2].rect, (WindowRect{350, 250, 100, 50}));   // same offset from the centre
    EXPECT_EQ(m[3].rect, (WindowRect{300, 200, 200, 100}));  // offset scaled with the size
    EXPECT_EQ(m[4].rect, (WindowRect{300, 200, 200, 100}));  // distance scaled as well
}

TEST(ResizerLayout, FactorsKeepFourDecimalsAndCoordinatesRound) {
    EXPECT_DOUBLE_EQ(Resizer::factor(533, 400), 1.3325);
    EXPECT_DOUBLE_EQ(Resizer::factor(401, 300), 1.3367);
    EXPECT_DOUBLE_EQ(Resizer::factor(2, 3), 0.6667);
    EXPECT_DOUBLE_EQ(Resizer::factor(10, 0), 1.0);

    FakeWindow w;
    w.list = {{1, ControlKind::List, {30, 10, 10, 3}}};
    Resizer resizer;
    resizer.start(w, ResizerMode::ScaleAll);
    w.window = {0, 0, 533, 401};
    ASSERT_TRUE(resizer.layout(w));
    // 30 x 1.3325 = 39.975, 10 x 1.3367 = 13.367, 3 x 1.3367 = 4.01
    EXPECT_EQ(w.lastMoves()[1].rect, (WindowRect{40, 13, 13, 4}));
}

}  // namespace

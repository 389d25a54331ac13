#include "framework/resizer.h"

#include <algorithm>
#include <cmath>

namespace framework {
namespace {

int toUnits(double value) { return static_cast<int>(std::lround(value)); }

// Where the nearest-edge strategy puts a control: the far edge when the control
// is closer to it than to the near edge of the design window.
std::uint16_t nearestEdge(int designPos, int designSize, int windowSize, std::uint16_t far,
                          std::uint16_t near) {
    return windowSize - (designPos + designSize) < designPos ? far : near;
}

// One coordinate after its strategy: `scaled` is the design coordinate times the
// factor, `keepSize` tells whether the control keeps its design extent.
double placeCoordinate(std::uint16_t strategy, double scaled, int designPos, int designWindow,
                       int newWindow, double factor, bool keepSize, std::uint16_t lock,
                       std::uint16_t farEdge, std::uint16_t nearEdge, std::uint16_t centre) {
    if (strategy == lock) return designPos;
    if (strategy == farEdge) {
        const double distance = designWindow - designPos;
        return newWindow - (keepSize ? distance : distance * factor);
    }
    if (strategy == nearEdge) return keepSize ? designPos : designPos * factor;
    if (strategy == centre) {
        const double offset = designPos - designWindow / 2.0;
        return newWindow / 2.0 + (keepSize ? offset : offset * factor);
    }
    return scaled;
}

}  // namespace

ResizerStrategy Resizer::strategyFor(ControlKind kind, ResizerMode mode) {
    if (mode == ResizerMode::ScaleAll) return {0, 0};
    switch (kind) {
        case ControlKind::Entry:
        case ControlKind::Combo:
        case ControlKind::Spin:
        case ControlKind::DropCombo:
            return {0, kKeepHeight};
        case ControlKind::Button:
            return {static_cast<std::uint16_t>(kFixNearestX | kFixNearestY),
                    static_cast<std::uint16_t>(kKeepWidth | kKeepHeight)};
        case ControlKind::Check:
        case ControlKind::Radio:
            return {0, static_cast<std::uint16_t>(kKeepWidth | kKeepHeight)};
        default:
            return {0, 0};
    }
}

double Resizer::factor(int newSize, int designSize) {
    if (designSize == 0) return 1.0;
    return std::round(static_cast<double>(newSize) * 10000.0 / designSize) / 10000.0;
}

void Resizer::start(const ResizerView& window, ResizerMode mode) {
    origWin_ = window.windowGeometry();
    previousWin_ = origWin_;
    controlQueue_.clear();
    for (const ControlInfo& control : window.controls()) {
        if (control.kind == ControlKind::Menu || control.kind == ControlKind::Item ||
            control.kind == ControlKind::MenuBar)
            continue;
        const ResizerStrategy strategy = strategyFor(control.kind, mode);
        controlQueue_.push_back(
            {control.id, control.kind, strategy.positional, strategy.resize, control.rect});
    }
    std::stable_sort(controlQueue_.begin(), controlQueue_.end(),
                     [](const ResizerControl& a, const ResizerControl& b) { return a.id < b.id; });
    started_ = true;
}

bool Resizer::layout(ResizerView& window) {
    if (!started_) return false;
    const WindowRect now = window.windowGeometry();
    if (now.width == previousWin_.width && now.height == previousWin_.height) return false;
    previousWin_ = now;
    window.moveControls(computeLayout(now.width, now.height));
    return true;
}

void Resizer::end() {
    controlQueue_.clear();
    controlQueue_.shrink_to_fit();
    started_ = false;
}

bool Resizer::setStrategy(std::int32_t id, ResizerStrategy strategy) {
    const auto found = std::lower_bound(
        controlQueue_.begin(), controlQueue_.end(), id,
        [](const ResizerControl& control, std::int32_t wanted) { return control.id < wanted; });
    if (found == controlQueue_.end() || found->id != id) return false;
    found->positionalStrategy = strategy.positional;
    found->resizeStrategy = strategy.resize;
    return true;
}

std::vector<ControlMove> Resizer::computeLayout(int newWidth, int newHeight) const {
    const double hFactor = factor(newWidth, origWin_.width);
    const double vFactor = factor(newHeight, origWin_.height);

    std::vector<ControlMove> moves;
    moves.reserve(controlQueue_.size());
    for (const ResizerControl& control : controlQueue_) {
        const WindowRect& design = control.pos;
        const bool keepWidth = (control.resizeStrategy & kKeepWidth) != 0;
        const bool keepHeight = (control.resizeStrategy & kKeepHeight) != 0;

        double x = design.x * hFactor;
        double y = design.y * vFactor;
        const double width = keepWidth ? design.width : design.width * hFactor;
        const double height = keepHeight ? design.height : design.height * vFactor;

        std::uint16_t horizontal = control.positionalStrategy & 0x00FF;
        std::uint16_t vertical = control.positionalStrategy & 0xFF00;
        if (horizontal == kFixNearestX)
            horizontal = nearestEdge(design.x, design.width, origWin_.width, kFixRight, kFixLeft);
        if (vertical == kFixNearestY)
            vertical = nearestEdge(design.y, design.height, origWin_.height, kFixBottom, kFixTop);

        if (hFactor != 1.0) {
            x = placeCoordinate(horizontal, x, design.x, origWin_.width, newWidth, hFactor,
                                keepWidth, kLockX, kFixRight, kFixLeft, kFixXCentre);
        }
        if (vFactor != 1.0) {
            y = placeCoordinate(vertical, y, design.y, origWin_.height, newHeight, vFactor,
                                keepHeight, kLockY, kFixBottom, kFixTop, kFixYCentre);
        }

        ControlMove move;
        move.id = control.id;
        move.rect = {toUnits(x), toUnits(y), toUnits(width), toUnits(height)};
        move.keepOwnWidth = control.type == ControlKind::SString && design.width == 1;
        moves.push_back(move);
    }
    return moves;
}

}  // namespace framework

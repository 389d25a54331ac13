// The resizer: lays a window's controls out again when the window changes size.
//
// When the window opens, start() records the window's design position and size
// (ORIGWIN) and every control's number, kind and design position and size, with a
// strategy per control; layout() then recomputes every control from its design
// place and the factors between the window's current and design size, and applies
// all the moves at once. Units are those of the window system; the engine does not
// care which.
#pragma once

#include "framework/window_placement.h"

#include <cstdint>
#include <vector>

namespace framework {

// Kinds of controls, numbered as the window resources number them.
enum class ControlKind : std::int32_t {
    SString = 1,   // a string whose text is set at run time
    String = 2,
    Image = 3,
    Region = 4,
    Line = 5,
    Box = 6,
    Ellipse = 7,
    Entry = 8,
    Button = 9,
    Prompt = 10,
    Option = 11,
    Check = 12,
    Group = 13,
    List = 14,
    Combo = 15,
    Spin = 16,
    Text = 17,
    Custom = 18,
    Menu = 19,
    Item = 20,
    Radio = 21,
    MenuBar = 22,
    Sheet = 23,
    Tab = 24,
    Panel = 25,
    Ole = 26,
    DropList = 27,
    DropCombo = 28,
    Progress = 29,
};

// Resize strategy bits.
inline constexpr std::uint16_t kKeepWidth = 1;
inline constexpr std::uint16_t kKeepHeight = 2;

// Positional strategy: the horizontal part is the low byte, the vertical part the
// high byte; 0 in either part scales the coordinate.
inline constexpr std::uint16_t kLockX = 1;          // keep the design x
inline constexpr std::uint16_t kFixRight = 2;       // same distance from the right edge
inline constexpr std::uint16_t kFixLeft = 4;        // stay at the left
inline constexpr std::uint16_t kFixXCentre = 8;     // same offset from the centre
inline constexpr std::uint16_t kFixNearestX = 16;   // right or left, whichever is nearer
inline constexpr std::uint16_t kLockY = 256;
inline constexpr std::uint16_t kFixBottom = 512;
inline constexpr std::uint16_t kFixTop = 1024;
inline constexpr std::uint16_t kFixYCentre = 2048;
inline constexpr std::uint16_t kFixNearestY = 4096;

// One control as the window reports it, in control order.
struct ControlInfo {
    std::int32_t id = 0;
    ControlKind kind = ControlKind::Custom;
    WindowRect rect;
};

// The strategies of one control.
struct ResizerStrategy {
    std::uint16_t positional = 0;
    std::uint16_t resize = 0;

    friend bool operator==(const ResizerStrategy&, const ResizerStrategy&) = default;
};

// An entry of the control queue.
struct ResizerControl {
    std::int32_t id = 0;
    ControlKind type = ControlKind::Custom;
    std::uint16_t positionalStrategy = 0;
    std::uint16_t resizeStrategy = 0;
    WindowRect pos;  // design position and size
};

// The new place of one control. `keepOwnWidth` leaves the control's width as it
// is (a run-time string of design width 1 sizes itself).
struct ControlMove {
    std::int32_t id = 0;
    WindowRect rect;
    bool keepOwnWidth = false;

    friend bool operator==(const ControlMove&, const ControlMove&) = default;
};

class ResizerView {
public:
    virtual ~ResizerView() = default;
    virtual WindowRect windowGeometry() const = 0;
    virtual std::vector<ControlInfo> controls() const = 0;
    // Moves and sizes every control of the list together, so the window redraws once.
    virtual void moveControls(const std::vector<ControlMove>& moves) = 0;
};

enum class ResizerMode {
    ScaleAll = 1,  // every control scales with the window
    ByKind = 2,    // buttons keep their size at the nearest edges, entries their height
};

class Resizer {
public:
    // Records ORIGWIN, PREVIOUSWIN and the control queue (sorted by control
    // number; menus and menu items are left out).
    void start(const ResizerView& window, ResizerMode mode);
    // Lays the controls out for the window's current size; does nothing when the
    // width and height are those of the last layout. Returns whether it moved.
    bool layout(ResizerView& window);
    // Frees the control queue.
    void end();

    // Gives one queued control other strategies (for screens that need them);
    // false when no control has this number.
    bool setStrategy(std::int32_t id, ResizerStrategy strategy);

    // The place of every queued control for a window of this width and height.
    std::vector<ControlMove> computeLayout(int newWidth, int newHeight) const;

    const WindowRect& origWin() const { return origWin_; }
    const WindowRect& previousWin() const { return previousWin_; }
    const std::vector<ResizerControl>& controlQueue() const { return controlQueue_; }
    bool started() const { return started_; }

    // The strategies that a mode gives a control of this kind.
    static ResizerStrategy strategyFor(ControlKind kind, ResizerMode mode);
    // A size factor kept to 4 decimal places.
    static double factor(int newSize, int designSize);

private:
    WindowRect origWin_;
    WindowRect previousWin_;
    std::vector<ResizerControl> controlQueue_;
    bool started_ = false;
};

}  // namespace framework

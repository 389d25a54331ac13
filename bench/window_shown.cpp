// Starts a program and reports how long it took until a top-level window whose
// caption contains the given text was mapped on the X display, then ends it.
//
//   window_shown [--timeout SECONDS] CAPTION PROGRAM [ARGUMENTS...]
//
// Prints the milliseconds from just before the program is started to the map on
// standard output. The display is the one DISPLAY names (startup_time.sh starts
// an Xvfb of its own for it). Nothing polls: the root window's substructure
// events report every top-level window as it is mapped (with no window manager
// running, the programs' windows are the root's children), and the caption is
// read from the mapped window's _NET_WM_NAME (or WM_NAME). The program needs no
// setting of its own to be measured.
//
// Exit codes: 0 shown, 1 the program ended or the time ran out first, 2 wrong use.
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

xcb_atom_t atom(xcb_connection_t* x, const char* name) {
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
        xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::string textProperty(xcb_connection_t* x, xcb_window_t window, xcb_atom_t property) {
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(x, xcb_get_property(x, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                               nullptr),
        &std::free);
    if (!reply) return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

// Ends the program: a request first, then by force.
void end(pid_t child) {
    kill(child, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(child, nullptr, WNOHANG) == child) return;
        usleep(20000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    int timeoutSeconds = 120;
    if (argc > 2 && std::strcmp(argv[1], "--timeout") == 0) {
        timeoutSeconds = std::atoi(argv[2]);
        first = 3;
    }
    if (argc - first < 2) {
        std::fputs("usage: window_shown [--timeout SECONDS] CAPTION PROGRAM [ARGUMENTS...]\n", stderr);
        return 2;
    }
    const std::string caption = argv[first];
    char** program = argv + first + 1;

    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fputs("window_shown: cannot connect to the display\n", stderr);
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t netWmName = atom(x, "_NET_WM_NAME");
    xcb_flush(x);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(program[0], program);
        std::perror("window_shown: exec");
        _exit(127);
    }
    if (child < 0) return 2;

    const Clock::time_point deadline = start + std::chrono::seconds(timeoutSeconds);
    pollfd display{xcb_get_file_descriptor(x), POLLIN, 0};
    for (;;) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            const xcb_window_t window = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
            std::free(event);
            if (!mapped) continue;
            const Clock::time_point shown = Clock::now();
            std::string name = textProperty(x, window, netWmName);
            if (name.empty()) name = textProperty(x, window, XCB_ATOM_WM_NAME);
            if (name.find(caption) == std::string::npos) continue;
            std::printf("%.1f\n", std::chrono::duration<double, std::milli>(shown - start).count());
            end(child);
            xcb_disconnect(x);
            return 0;
        }
        if (xcb_connection_has_error(x)) break;
        if (waitpid(child, nullptr, WNOHANG) == child) {
            std::fputs("window_shown: the program ended before its window was shown\n", stderr);
            xcb_disconnect(x);
            return 1;
        }
        if (Clock::now() > deadline) {
            std::fputs("window_shown: no such window in time\n", stderr);
            break;
        }
        poll(&display, 1, 50);  // wakes on the next event; the timeout only checks the program
    }
    end(child);
    xcb_disconnect(x);
    return 1;
}

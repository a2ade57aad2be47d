// SPDX-License-Identifier: MIT
// Starts a program and watches the X server for its first top-level window:
// the time from exec to the window's mapping and to the first drawing into
// it, then the program's peak resident memory once it has settled.
//   startup_probe SETTLE_MS PROGRAM [ARG]...
// prints "MAP_US PAINT_US PEAK_KIB" and kills the program (no exit handler
// runs, so a settings file stays as it was).

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

long long MicrosSince(Clock::time_point t0)
{
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - t0).count();
}

// VmHWM: the most memory the process ever had resident.
long PeakKib(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string key;
    long value = -1;
    while (in >> key) {
        if (key == "VmHWM:") {
            in >> value;
            return value;
        }
        in.ignore(1 << 16, '\n');
    }
    return -1;
}

int Fail(const char* what)
{
    std::fprintf(stderr, "startup_probe: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3)
        return Fail("usage: startup_probe SETTLE_MS PROGRAM [ARG]...");
    const int settleMs = std::atoi(argv[1]);
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return Fail("cannot open the display");
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c, &xcb_damage_id);
    if (!damage || !damage->present)
        return Fail("the X server has no DAMAGE extension");
    std::free(xcb_damage_query_version_reply(
        c, xcb_damage_query_version(c, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION),
        nullptr));
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    // Listening before the program starts: no window can slip past.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));

    const Clock::time_point t0 = Clock::now();
    const pid_t pid = fork();
    if (pid < 0)
        return Fail("fork failed");
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        std::perror("startup_probe: exec");
        _exit(127);
    }

    long long mapUs = -1;
    long long paintUs = -1;
    xcb_window_t shown = XCB_NONE;
    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    while (paintUs < 0) {
        std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> ev(xcb_poll_for_event(c),
                                                                      &std::free);
        if (!ev) {
            if (xcb_connection_has_error(c))
                return Fail("lost the display");
            if (poll(&fd, 1, 20000) <= 0) {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
                return Fail("no window painted within 20 s");
            }
            continue;
        }
        const int type = ev->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            const auto* e = reinterpret_cast<xcb_create_notify_event_t*>(ev.get());
            // Watched from its creation, so that no drawing after the
            // mapping is missed.
            if (!e->override_redirect)
                xcb_damage_create(c, xcb_generate_id(c), e->window,
                                  XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(c);
        } else if (type == XCB_MAP_NOTIFY) {
            const auto* e = reinterpret_cast<xcb_map_notify_event_t*>(ev.get());
            if (!e->override_redirect && shown == XCB_NONE) {
                mapUs = MicrosSince(t0);
                shown = e->window;
            }
        } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY) {
            const auto* e = reinterpret_cast<xcb_damage_notify_event_t*>(ev.get());
            if (shown != XCB_NONE && e->drawable == shown)
                paintUs = MicrosSince(t0);
        }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    const long peak = PeakKib(pid);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    xcb_disconnect(c);
    std::printf("%lld %lld %ld\n", mapUs, paintUs, peak);
    return 0;
}

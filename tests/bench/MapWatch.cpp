// map-watch TITLE COMMAND [ARGS...]
//
// Starts COMMAND and reports when the X server maps its normal window whose title starts with
// TITLE (a splash screen, which may carry the same title, does not count): one line on standard
// output,
//   pid=PID map_ms=MS cpu_ms=MS
// the time from the start of COMMAND to the MapNotify, and the processor time COMMAND had used by
// then. Then waits for COMMAND to end and exits with its status. Without a window manager every
// top-level window is a child of the root window, so watching the root's substructure sees them all.
#include <xcb/xcb.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

pid_t g_child = 0;

double nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// Processor time of every thread of the process in milliseconds, from the scheduler's
// nanosecond counters (the tick counts of /proc/PID/stat are 10 ms coarse).
double cpuMs(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir)
        return -1;
    double total = 0;
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        FILE* file = fopen((tasks + "/" + entry->d_name + "/schedstat").c_str(), "r");
        if (!file)
            continue;
        unsigned long long ns = 0;
        if (fscanf(file, "%llu", &ns) == 1)
            total += static_cast<double>(ns) / 1e6;
        fclose(file);
    }
    closedir(dir);
    return total;
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    free(reply);
    return result;
}

bool hasAtom(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property, xcb_atom_t wanted) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, XCB_ATOM_ATOM, 0, 32), nullptr);
    bool found = false;
    if (reply) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        const int count = xcb_get_property_value_length(reply) / int(sizeof(xcb_atom_t));
        for (int i = 0; i < count && !found; ++i)
            found = atoms[i] == wanted;
        free(reply);
    }
    return found;
}

std::string textProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr);
    std::string text;
    if (reply) {
        text.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                    static_cast<size_t>(xcb_get_property_value_length(reply)));
        free(reply);
    }
    return text;
}

void passOn(int signal) {
    if (g_child > 0)
        kill(g_child, signal);
}

int exitStatus(int status) {
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return 128 + WTERMSIG(status);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        fprintf(stderr, "usage: %s TITLE COMMAND [ARGS...]\n", argv[0]);
        return 2;
    }
    const std::string title = argv[1];
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        fprintf(stderr, "map-watch: cannot open the display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_request_check(connection, xcb_change_window_attributes_checked(connection, root, XCB_CW_EVENT_MASK, &mask));
    const xcb_atom_t netWmName = atom(connection, "_NET_WM_NAME");
    const xcb_atom_t windowType = atom(connection, "_NET_WM_WINDOW_TYPE");
    const xcb_atom_t normalType = atom(connection, "_NET_WM_WINDOW_TYPE_NORMAL");

    signal(SIGTERM, passOn);
    signal(SIGINT, passOn);
    const double start = nowMs();
    g_child = fork();
    if (g_child < 0) {
        perror("map-watch: fork");
        return 2;
    }
    if (g_child == 0) {
        close(xcb_get_file_descriptor(connection));
        execvp(argv[2], argv + 2);
        fprintf(stderr, "map-watch: cannot start %s: %s\n", argv[2], strerror(errno));
        _exit(127);
    }

    bool mapped = false;
    int status = 0;
    while (!mapped) {
        if (waitpid(g_child, &status, WNOHANG) == g_child) {
            fprintf(stderr, "map-watch: %s ended before its window was mapped\n", argv[2]);
            return exitStatus(status);
        }
        pollfd fd{xcb_get_file_descriptor(connection), POLLIN, 0};
        poll(&fd, 1, 100);
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY && !mapped) {
                const double mapMs = nowMs() - start;
                const xcb_window_t window = reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
                std::string name = textProperty(connection, window, netWmName);
                if (name.empty())
                    name = textProperty(connection, window, XCB_ATOM_WM_NAME);
                if (name.compare(0, title.size(), title) == 0 && hasAtom(connection, window, windowType, normalType)) {
                    mapped = true;
                    printf("pid=%d map_ms=%.1f cpu_ms=%.1f\n", static_cast<int>(g_child), mapMs, cpuMs(g_child));
                    fflush(stdout);
                }
            }
            free(event);
        }
        if (xcb_connection_has_error(connection)) {
            fprintf(stderr, "map-watch: lost the display\n");
            kill(g_child, SIGTERM);
            break;
        }
    }
    xcb_disconnect(connection);
    while (waitpid(g_child, &status, 0) < 0 && errno == EINTR) {
    }
    return exitStatus(status);
}

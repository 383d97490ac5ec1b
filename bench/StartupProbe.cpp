// Starts a program and reports, in milliseconds from the start, when its first window and
// its main window were mapped on the X server, then the resident memory and the CPU time it
// used while idle.
//
//   startup_probe <main width> <main height> <program> [arguments...]
//
// Prints one line: "first_map_ms main_map_ms rss_kib idle_cpu_ms pss_kib exit_ms". The main window
// is the first one mapped with the given size; memory is read 2 s after that, idle CPU over the
// following 3 s with the pointer still. The main window is then closed as a window manager
// closes it (WM_DELETE_WINDOW); the last figure is the time from its unmapping to the end of
// the process.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A "Name:   123 kB" line of a /proc file.
long KiBField(const std::string& file, const std::string& name) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(name, 0) == 0)
            return std::strtol(line.c_str() + name.size(), nullptr, 10);
    return -1;
}

long ResidentKiB(pid_t pid) {
    return KiBField("/proc/" + std::to_string(pid) + "/status", "VmRSS:");
}

// Proportional memory: shared libraries counted by their share among the processes using them.
long ProportionalKiB(pid_t pid) {
    return KiBField("/proc/" + std::to_string(pid) + "/smaps_rollup", "Pss:");
}

double CpuMs(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const auto close = text.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string skip;
    for (int i = 0; i < 11; ++i)
        fields >> skip; // state .. cmajflt
    long utime = 0, stime = 0;
    fields >> utime >> stime;
    return 1000.0 * double(utime + stime) / double(sysconf(_SC_CLK_TCK));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <main width> <main height> <program> [args...]\n", argv[0]);
        return 2;
    }
    const int mainWidth = std::atoi(argv[1]);
    const int mainHeight = std::atoi(argv[2]);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "startup_probe: cannot open the display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    double firstMap = -1, mainMap = -1;
    Window mainWindow = 0;
    while (mainMap < 0 && MsSince(start) < 10000) {
        if (XPending(display) == 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid)
                break;
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != MapNotify)
            continue;
        const double at = MsSince(start);
        if (firstMap < 0)
            firstMap = at;
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, event.xmap.window, &attributes) &&
            attributes.width == mainWidth && attributes.height == mainHeight) {
            mainMap = at;
            mainWindow = event.xmap.window;
        }
    }
    long rss = -1;
    long pss = -1;
    double idleCpu = -1;
    if (mainMap >= 0) {
        std::this_thread::sleep_for(std::chrono::seconds(2));
        rss = ResidentKiB(pid);
        pss = ProportionalKiB(pid);
        const double before = CpuMs(pid);
        std::this_thread::sleep_for(std::chrono::seconds(3));
        idleCpu = CpuMs(pid) - before;
    }
    double exitMs = -1;
    if (mainWindow != 0) {
        XEvent close{};
        close.xclient.type = ClientMessage;
        close.xclient.window = mainWindow;
        close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        close.xclient.format = 32;
        close.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
        close.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, mainWindow, False, NoEventMask, &close);
        XFlush(display);
        const auto asked = Clock::now();
        Clock::time_point unmapped{};
        bool exited = false;
        while (!exited && MsSince(asked) < 10000) {
            while (XPending(display) > 0) {
                XEvent event;
                XNextEvent(display, &event);
                if (event.type == UnmapNotify && event.xunmap.window == mainWindow)
                    unmapped = Clock::now();
            }
            exited = waitpid(pid, nullptr, WNOHANG) == pid;
            if (!exited)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        if (exited && unmapped != Clock::time_point{})
            exitMs = MsSince(unmapped);
    }
    if (kill(pid, 0) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    XCloseDisplay(display);
    std::printf("%.1f %.1f %ld %.0f %ld %.1f\n", firstMap, mainMap, rss, idleCpu, pss, exitMs);
    return mainMap >= 0 ? 0 : 1;
}

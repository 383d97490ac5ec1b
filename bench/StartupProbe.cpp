// Starts a program and reports, in milliseconds from the start, when its first window and
// its main window were mapped on the X server, then the resident memory and the CPU time it
// used while idle.
//
//   startup_probe <main width> <main height> <program> [arguments...]
//
// Prints one line: "first_map_ms main_map_ms rss_kib idle_cpu_ms". The main window is the
// first one mapped with the given size; memory is read 2 s after that, idle CPU over the
// following 3 s with the pointer still. The program is then terminated.

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

long ResidentKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
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
            attributes.width == mainWidth && attributes.height == mainHeight)
            mainMap = at;
    }
    long rss = -1;
    double idleCpu = -1;
    if (mainMap >= 0) {
        std::this_thread::sleep_for(std::chrono::seconds(2));
        rss = ResidentKiB(pid);
        const double before = CpuMs(pid);
        std::this_thread::sleep_for(std::chrono::seconds(3));
        idleCpu = CpuMs(pid) - before;
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XCloseDisplay(display);
    std::printf("%.1f %.1f %ld %.0f\n", firstMap, mainMap, rss, idleCpu);
    return mainMap >= 0 ? 0 : 1;
}

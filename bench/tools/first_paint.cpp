// Time from exec to the first paint of a program's first window, and its peak memory:
//   keyrook_first_paint [--settle MS] [--wait S] PROGRAM [ARGS...]
// prints "<milliseconds to first paint> <peak RSS in KiB before it> <at it> <MS later> <font files
// resident MS later>" and ends the program. The last is the part of the resident memory that is
// pages of mapped font files (*.ttf, *.otf, *.ttc...), which only the fonts a program shows
// cost. "Before" is read at the last look that still found the window unpainted, a fraction of a
// millisecond before the paint was seen; "at" when it was seen, with the program
// stopped at once (work that follows the paint may have begun by then).
// The window is the first top-level window of at least 200 x 150 that the program maps; it
// counts as painted when the band across its top is no longer of one colour: until the program
// draws it, a new window shows one plain colour there, and every program's first window has a
// menu bar or title with text in that band.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

long peakKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

// Resident KiB of the font files the program has mapped (FreeType maps each face it opens).
long fontFilesKiB(pid_t pid) {
    std::ifstream smaps("/proc/" + std::to_string(pid) + "/smaps");
    std::string line;
    bool font = false;
    long kib = 0;
    while (std::getline(smaps, line)) {
        if (line.rfind("Rss:", 0) == 0) {
            if (font) kib += std::atol(line.c_str() + 4);
        } else if (!line.empty() && std::isxdigit(static_cast<unsigned char>(line[0])) &&
                   line.find('-') < line.find(' ')) {
            // A mapping's first line: "start-end perms offset dev inode path".
            const std::size_t dot = line.rfind('.');
            const std::string ext = dot == std::string::npos ? "" : line.substr(dot + 1);
            font = ext == "ttf" || ext == "otf" || ext == "ttc" || ext == "otc" || ext == "pfb";
        }
    }
    return kib;
}

// The first mapped top-level window of at least 200 x 150 that was not there before.
Window newWindow(Display* d, const std::vector<Window>& before) {
    Window root = DefaultRootWindow(d), parent, *children = nullptr;
    unsigned n = 0;
    Window found = 0;
    if (!XQueryTree(d, root, &root, &parent, &children, &n)) return 0;
    for (unsigned i = 0; i < n && !found; ++i) {
        bool old = false;
        for (Window b : before) old = old || b == children[i];
        XWindowAttributes a;
        if (old || !XGetWindowAttributes(d, children[i], &a)) continue;
        if (a.map_state == IsViewable && a.width >= 200 && a.height >= 150) found = children[i];
    }
    if (children) XFree(children);
    return found;
}

// A band across the top of the window (the menu bar or title of any program's first window):
// small enough to read back within a millisecond, so the paint is seen as it lands.
// Whether the band holds more than one colour.
bool drawn(const std::vector<char>& band) {
    for (std::size_t i = 4; i + 4 <= band.size(); i += 4)
        if (std::memcmp(band.data(), band.data() + i, 4) != 0) return true;
    return false;
}

std::vector<char> pixels(Display* d, Window w) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, w, &a)) return {};
    XImage* image = XGetImage(d, w, 0, 0, a.width, 24, AllPlanes, ZPixmap);
    if (!image) return {};
    std::vector<char> out(image->data, image->data + image->bytes_per_line * image->height);
    XDestroyImage(image);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    long settle = 1000, wait = 60;
    while (first + 1 < argc && argv[first][0] == '-') {
        if (std::strcmp(argv[first], "--settle") == 0)
            settle = std::atol(argv[first + 1]);
        else if (std::strcmp(argv[first], "--wait") == 0)
            wait = std::atol(argv[first + 1]);
        else
            break;
        first += 2;
    }
    if (first >= argc) {
        std::fputs("usage: keyrook_first_paint [--settle MS] [--wait S] PROGRAM [ARGS...]\n", stderr);
        return 2;
    }
    Display* d = XOpenDisplay(nullptr);
    if (!d) {
        std::fputs("keyrook_first_paint: no display\n", stderr);
        return 2;
    }
    std::vector<Window> before;
    {
        Window root = DefaultRootWindow(d), parent, *children = nullptr;
        unsigned n = 0;
        XQueryTree(d, root, &root, &parent, &children, &n);
        before.assign(children, children + n);
        if (children) XFree(children);
    }
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[first], argv + first);
        _exit(127);
    }
    Window w = 0;
    long ms = -1, beforePaint = -1, atPaint = -1;
    while (Clock::now() - start < std::chrono::seconds(wait)) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) break;
        if (!w) w = newWindow(d, before);
        if (!w) {
            beforePaint = peakKiB(pid);
        } else if (const long hwm = peakKiB(pid); drawn(pixels(d, w))) {
            ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
            kill(pid, SIGSTOP);
            atPaint = peakKiB(pid);
            kill(pid, SIGCONT);
            break;
        } else {
            beforePaint = hwm;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(settle));
    const long peak = peakKiB(pid);
    const long fonts = fontFilesKiB(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XCloseDisplay(d);
    std::printf("%ld %ld %ld %ld %ld\n", ms, beforePaint, atPaint, peak, fonts);
    return ms < 0 ? 1 : 0;
}

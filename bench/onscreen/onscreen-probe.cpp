// Watches the screen the way a user does: starts a viewer, and times how long until a picture
// is on screen, by looking for the flat-coloured squares each test photo carries. It also presses
// the next-picture key through xdotool and samples the memory of the viewer's whole process tree.
//
// onscreen-probe [--dwell MS] [--timeout MS] [--key KEY] COLOUR[,COLOUR...] -- PROGRAM ARGS...
//
// The first colour is the picture the program opens with; each further colour is one press of
// KEY. Prints "launch MS", "launch_cpu MS" (processor time of the tree by then), "step I MS" per
// press, "peak_pss_kib N" and "peak_rss_kib N",
// or "timeout" and exits 1 when a picture never shows.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

#include <dirent.h>
#include <signal.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
};

Rgb parseColour(const std::string& hex)
{
    const unsigned long value = std::strtoul(hex.c_str(), nullptr, 16);
    return Rgb{int((value >> 16) & 0xff), int((value >> 8) & 0xff), int(value & 0xff)};
}

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The root window grabbed through shared memory: one full-screen grab costs a few milliseconds.
class ScreenGrabber {
public:
    ScreenGrabber()
        : m_display(XOpenDisplay(nullptr))
    {
        if (!m_display || !XShmQueryExtension(m_display)) {
            std::fprintf(stderr, "onscreen-probe: no X display with MIT-SHM\n");
            std::exit(2);
        }
        const int screen = DefaultScreen(m_display);
        m_root = RootWindow(m_display, screen);
        m_width = DisplayWidth(m_display, screen);
        m_height = DisplayHeight(m_display, screen);
        m_image = XShmCreateImage(m_display, DefaultVisual(m_display, screen),
                                  unsigned(DefaultDepth(m_display, screen)), ZPixmap, nullptr,
                                  &m_shm, unsigned(m_width), unsigned(m_height));
        m_shm.shmid = shmget(IPC_PRIVATE, size_t(m_image->bytes_per_line) * size_t(m_height),
                             IPC_CREAT | 0600);
        m_shm.shmaddr = m_image->data = static_cast<char*>(shmat(m_shm.shmid, nullptr, 0));
        m_shm.readOnly = False;
        XShmAttach(m_display, &m_shm);
        shmctl(m_shm.shmid, IPC_RMID, nullptr);
    }
    ~ScreenGrabber()
    {
        XShmDetach(m_display, &m_shm);
        XDestroyImage(m_image);
        shmdt(m_shm.shmaddr);
        XCloseDisplay(m_display);
    }
    ScreenGrabber(const ScreenGrabber&) = delete;
    ScreenGrabber& operator=(const ScreenGrabber&) = delete;

    // A square of the colour: runs of at least minRun matching pixels on two rows 8 apart.
    bool shows(const Rgb& colour, int minRun = 14, int tolerance = 28)
    {
        XShmGetImage(m_display, m_root, m_image, 0, 0, AllPlanes);
        const auto matches = [&](int x, int y) {
            const auto* p = reinterpret_cast<const unsigned char*>(m_image->data)
                            + size_t(y) * size_t(m_image->bytes_per_line) + size_t(x) * 4;
            return std::abs(p[2] - colour.r) <= tolerance && std::abs(p[1] - colour.g) <= tolerance
                   && std::abs(p[0] - colour.b) <= tolerance;
        };
        const auto runAt = [&](int y, int x) {
            int left = x;
            while (left > 0 && matches(left - 1, y))
                --left;
            int right = x;
            while (right + 1 < m_width && matches(right + 1, y))
                ++right;
            return right - left + 1;
        };
        for (int y = 0; y + 8 < m_height; y += 3) {
            for (int x = 0; x < m_width; x += minRun / 2) {
                if (matches(x, y) && runAt(y, x) >= minRun && matches(x, y + 8)
                    && runAt(y + 8, x) >= minRun)
                    return true;
            }
        }
        return false;
    }

private:
    Display* m_display;
    Window m_root = 0;
    int m_width = 0;
    int m_height = 0;
    XImage* m_image = nullptr;
    XShmSegmentInfo m_shm{};
};

// The process and every descendant (the decoding helpers among them).
std::vector<int> processTree(int root)
{
    std::multimap<int, int> children;
    if (DIR* proc = opendir("/proc")) {
        while (dirent* entry = readdir(proc)) {
            const int pid = std::atoi(entry->d_name);
            if (pid <= 0)
                continue;
            std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
            std::string line;
            if (!std::getline(stat, line))
                continue;
            // The command may hold spaces and brackets: fields start after the last ')'.
            std::istringstream fields(line.substr(line.rfind(')') + 2));
            std::string state;
            int ppid = 0;
            fields >> state >> ppid;
            children.emplace(ppid, pid);
        }
        closedir(proc);
    }
    std::vector<int> tree{root};
    for (size_t i = 0; i < tree.size(); ++i) {
        const auto range = children.equal_range(tree[i]);
        for (auto it = range.first; it != range.second; ++it)
            tree.push_back(it->second);
    }
    return tree;
}

struct Memory {
    long pssKiB = 0;
    long rssKiB = 0;
};

// Shared memory files are counted whole, once each: a picture's pixels live in one that a helper
// filled and the program maps, and pages the program never touched are in memory all the same,
// though no process's proportional size shows them.
Memory treeMemory(int root)
{
    Memory sum;
    std::map<std::string, long> sharedFiles;
    for (const int pid : processTree(root)) {
        std::ifstream smaps("/proc/" + std::to_string(pid) + "/smaps");
        std::string line;
        std::string sharedFile;
        // A mapping's header "start-end perms offset dev inode [path]", then "Key: value kB".
        while (std::getline(smaps, line)) {
            std::istringstream fields(line);
            std::string first;
            fields >> first;
            if (first.find('-') != std::string::npos && first.back() != ':') {
                std::string perms, offset, device, inode, path;
                fields >> perms >> offset >> device >> inode;
                std::getline(fields, path);
                sharedFile = path.find("/memfd:") != std::string::npos ? device + inode : "";
                continue;
            }
            long value = 0;
            if (!(fields >> value))
                continue;
            if (!sharedFile.empty()) {
                if (first == "Size:")
                    sharedFiles[sharedFile] = std::max(sharedFiles[sharedFile], value);
                else if (first == "Rss:")
                    sum.rssKiB += value;
                continue;
            }
            if (first == "Pss:")
                sum.pssKiB += value;
            else if (first == "Rss:")
                sum.rssKiB += value;
        }
    }
    for (const auto& file : sharedFiles)
        sum.pssKiB += file.second;
    return sum;
}

// Processor time the whole tree has used, every thread counted: unlike the time to a paint it
// hardly depends on what else the machine runs.
double treeCpuMs(int root)
{
    double sum = 0;
    for (const int pid : processTree(root)) {
        const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
        DIR* dir = opendir(tasks.c_str());
        if (!dir)
            continue;
        while (dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
            unsigned long long runNs = 0;
            if (stat >> runNs)
                sum += runNs / 1e6;
        }
        closedir(dir);
    }
    return sum;
}

void pressKey(const std::string& key)
{
    const pid_t pid = fork();
    if (pid == 0) {
        execlp("xdotool", "xdotool", "key", key.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    waitpid(pid, nullptr, 0);
}

void endTree(int root)
{
    const std::vector<int> tree = processTree(root);
    for (const int pid : tree)
        kill(pid, SIGTERM);
    for (int i = 0; i < 40 && waitpid(root, nullptr, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    for (const int pid : processTree(root))
        kill(pid, SIGKILL);
    for (const int pid : tree)
        kill(pid, SIGKILL);
    waitpid(root, nullptr, 0);
}

} // namespace

int main(int argc, char** argv)
{
    int dwellMs = 1000;
    int timeoutMs = 30000;
    std::string key = "Right";
    std::vector<Rgb> colours;
    int arg = 1;
    for (; arg < argc && std::strcmp(argv[arg], "--") != 0; ++arg) {
        const std::string option = argv[arg];
        if (option == "--dwell" && arg + 1 < argc)
            dwellMs = std::atoi(argv[++arg]);
        else if (option == "--timeout" && arg + 1 < argc)
            timeoutMs = std::atoi(argv[++arg]);
        else if (option == "--key" && arg + 1 < argc)
            key = argv[++arg];
        else {
            std::istringstream list(option);
            std::string hex;
            while (std::getline(list, hex, ','))
                colours.push_back(parseColour(hex));
        }
    }
    if (colours.empty() || arg + 1 >= argc) {
        std::fprintf(stderr, "usage: onscreen-probe [--dwell MS] [--timeout MS] [--key KEY] "
                             "COLOUR[,COLOUR...] -- PROGRAM ARGS...\n");
        return 2;
    }

    ScreenGrabber screen;
    for (const Rgb& colour : colours) {
        // A picture left by an earlier run would be found at once.
        if (screen.shows(colour)) {
            std::fprintf(stderr, "onscreen-probe: a test colour is on screen already\n");
            return 2;
        }
    }

    Memory peak;
    Clock::time_point lastSample;
    pid_t child = 0;
    const auto sample = [&] {
        if (msSince(lastSample) < 100)
            return;
        lastSample = Clock::now();
        const Memory now = treeMemory(child);
        peak.pssKiB = std::max(peak.pssKiB, now.pssKiB);
        peak.rssKiB = std::max(peak.rssKiB, now.rssKiB);
    };
    const auto waitFor = [&](const Rgb& colour, Clock::time_point start) {
        while (msSince(start) < timeoutMs) {
            if (screen.shows(colour))
                return msSince(start);
            sample();
            std::this_thread::sleep_for(std::chrono::milliseconds(4));
        }
        return -1.0;
    };

    const Clock::time_point launched = Clock::now();
    child = fork();
    if (child == 0) {
        execvp(argv[arg + 1], argv + arg + 1);
        _exit(127);
    }
    lastSample = launched;
    bool ok = true;
    const double launchMs = waitFor(colours.front(), launched);
    if (launchMs < 0) {
        ok = false;
    } else {
        std::printf("launch %.1f\nlaunch_cpu %.1f\n", launchMs, treeCpuMs(child));
        for (size_t i = 1; i < colours.size() && ok; ++i) {
            const Clock::time_point settle = Clock::now();
            while (msSince(settle) < dwellMs) {
                sample();
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            const Clock::time_point pressed = Clock::now();
            pressKey(key);
            const double stepMs = waitFor(colours[i], pressed);
            ok = stepMs >= 0;
            if (ok)
                std::printf("step %zu %.1f\n", i, stepMs);
        }
        const Clock::time_point settle = Clock::now();
        while (ok && msSince(settle) < dwellMs) {
            sample();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    std::printf("peak_pss_kib %ld\npeak_rss_kib %ld\n", peak.pssKiB, peak.rssKiB);
    if (!ok)
        std::printf("timeout\n");
    std::fflush(stdout);
    endTree(child);
    return ok ? 0 : 1;
}

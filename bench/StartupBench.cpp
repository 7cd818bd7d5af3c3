// Start-up time of the desktop program: from the start of the process to the
// main window shown, usable, with the project given on the command line
// open. Prints the milliseconds.
//
// Usage: startup_bench PROJECT.slk   (bench/startup.sh runs it)
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <QApplication>
#include <QWindow>

#include "MainForm.h"
#include "Startup.h"

namespace {

// Seconds since this process started, from the kernel's accounting.
double secondsSinceProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    for (int k = 3; k <= 22 && fields >> field; ++k) {
    }
    double uptime = 0;
    std::ifstream("/proc/uptime") >> uptime;
    return uptime - std::stod(field) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: startup_bench PROJECT.slk\n");
        return 2;
    }
    prepareStartup();
    QApplication application(argc, argv);
    if (!finishStartup()) return 1;
    MainForm form(application.arguments());
    form.show();
    form.start();
    while (!form.windowHandle() || !form.windowHandle()->isExposed())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();  // the first frame painted
    if (!form.project().active()) {
        std::fprintf(stderr, "startup_bench: the project did not open\n");
        return 1;
    }
    std::printf("%.0f\n", secondsSinceProcessStart() * 1000);
    return 0;
}

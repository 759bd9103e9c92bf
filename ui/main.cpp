#include <QApplication>
#include <cstdio>
#include <cstring>

#include "Program.h"

namespace {

constexpr char kUsage[] =
    "usage: qivara-balancer [--help] [--version]\n"
    "\n"
    "Opens the chemical equation balancer window (a display is needed). Click the start-up\n"
    "picture, type an equation such as MnO2+KBr+H2SO4=MnSO4+KHSO4+Br2+H2O, press 配平 once\n"
    "(it becomes 开始) and 开始 to balance; 停止 stops a running balancing.\n"
    "\n"
    "  --help      this text\n"
    "  --version   the program's version\n";

}  // namespace

int main(int argc, char** argv) {
    // Answered before Qt starts, so that they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs("qivara-balancer " QIVARA_VERSION "\n", stdout);
            return 0;
        }
    }
    QApplication application(argc, argv);
    return qivara::ui::RunProgram(application);
}

// keyrook-tool: command line for problem-set authors over the program's core.
#include <cstdio>
#include <cstring>

static const char kUsage[] = "usage: keyrook-tool COMMAND ...\n";

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    std::fputs(kUsage, stderr);
    return 2;
}

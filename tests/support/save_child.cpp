// Helper process for the save tests: saves <size> bytes of <letter> to <path> and exits, so a
// test can kill a save at any moment in a process of its own.
#include <cstdlib>
#include <string>

#include "base/files.h"

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    try {
        keyrook::saveStringToFile(argv[1], std::string(std::strtoul(argv[3], nullptr, 10), argv[2][0]));
    } catch (...) {
        return 1;
    }
    return 0;
}

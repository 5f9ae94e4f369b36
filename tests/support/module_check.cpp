// Loads each module given with its entry point the way the program does (every symbol bound at
// once) and says what is missing: keyrook_module_check MODULE ENTRY [MODULE ENTRY...]
#include <dlfcn.h>

#include <cstdio>

int main(int argc, char** argv) {
    int failed = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        void* module = dlopen(argv[i], RTLD_NOW | RTLD_LOCAL);
        if (!module || !dlsym(module, argv[i + 1])) {
            std::fprintf(stderr, "%s: %s\n", argv[i], dlerror());
            failed = 1;
        }
    }
    return argc < 3 ? 2 : failed;
}

// keyrook-maker.so's entry point (src/app/ui/window_modules.h).
#include "app/ui/window_modules.h"
#include "problemsets/maker_window.h"

extern "C" void keyrook_open_maker(keyrook::AppContext& app) { keyrook::openTPMaker(app); }

extern "C" const char* keyrook_maker_build() { return KEYROOK_BUILD_STAMP; }

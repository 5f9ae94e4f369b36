// keyrook-graph.so's entry point (src/app/ui/window_modules.h).
#include "app/ui/window_modules.h"
#include "records/graph_window.h"

extern "C" void keyrook_open_graph(keyrook::AppContext& app, const keyrook::RecordLog& log,
                                   QWidget* parent) {
    keyrook::TGraph graph(app, log, parent);
    graph.exec();
}

extern "C" const char* keyrook_graph_build() { return KEYROOK_BUILD_STAMP; }

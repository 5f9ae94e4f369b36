// The two windows that need a large library of their own, the set maker (QScintilla) and the
// score graph (Qt Charts), are opened through these calls. In the program they live in modules
// beside it (keyrook-maker.so, keyrook-graph.so) that are loaded when first opened, so a start of
// the program neither loads nor relocates those libraries; the tests and benchmarks link the
// windows in directly (window_modules_linked.cpp) and never load a module.
#pragma once

class QWidget;

namespace keyrook {

class AppContext;
class RecordLog;

// The maker opened from the main menu, until it is closed.
void openMakerWindow(AppContext& app);
// The graph of the viewer's list, until it is closed.
void openGraphWindow(AppContext& app, const RecordLog& log, QWidget* parent);

}  // namespace keyrook

// Each module's entry point, looked up by this name when the module is loaded, and the build it
// belongs to (KEYROOK_BUILD_STAMP): a module left beside a newer or older program (a shared
// folder updated in part) is refused, since the classes it shares with the program may differ.
extern "C" {
void keyrook_open_maker(keyrook::AppContext& app);
void keyrook_open_graph(keyrook::AppContext& app, const keyrook::RecordLog& log, QWidget* parent);
const char* keyrook_maker_build();
const char* keyrook_graph_build();
}

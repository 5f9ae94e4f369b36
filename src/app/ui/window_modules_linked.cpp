// The maker and the graph linked into the same binary: the tests' and benchmarks' way.
#include "app/ui/window_modules.h"

namespace keyrook {

void openMakerWindow(AppContext& app) { keyrook_open_maker(app); }

void openGraphWindow(AppContext& app, const RecordLog& log, QWidget* parent) {
    keyrook_open_graph(app, log, parent);
}

}  // namespace keyrook

// The maker and the graph loaded from their modules when first opened: the program's way.
#include <dlfcn.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <string>

#include "app/ui/app_context.h"
#include "app/ui/window_modules.h"

namespace keyrook {
namespace {

// The module's entry point, from the folder of the program (a build or a portable folder) or,
// for the installed program, from KEYROOK_MODULE_DIR relative to it. A module stays loaded once
// opened; one of another build is closed again. Null, with the reason shown, when no module
// could be used.
void* entryPoint(AppContext& app, const char* file, const char* symbol, const char* build,
                 const char* window) {
    const QString here = QCoreApplication::applicationDirPath();
    std::string reason = std::string(file) + " が見つかりません。";
    for (const QString& dir : {here, here + QStringLiteral("/" KEYROOK_MODULE_DIR)}) {
        const QString path = dir + '/' + QString::fromLatin1(file);
        if (!QFileInfo::exists(path)) continue;
        void* module = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            const char* error = dlerror();
            reason = error ? error : path.toStdString();
            continue;
        }
        const auto stamp = reinterpret_cast<const char* (*)()>(dlsym(module, build));
        void* entry = dlsym(module, symbol);
        if (stamp && entry && std::strcmp(stamp(), KEYROOK_BUILD_STAMP) == 0) return entry;
        reason = path.toStdString() + " はこのプログラムと同じ版のものではありません。";
        dlclose(module);
    }
    app.dialogs().message(std::string(window) + "を開けません。\n（" + reason + "）");
    return nullptr;
}

}  // namespace

void openMakerWindow(AppContext& app) {
    static void* entry = nullptr;
    if (!entry)
        entry = entryPoint(app, "keyrook-maker.so", "keyrook_open_maker", "keyrook_maker_build",
                           "TP Maker ");
    if (entry) reinterpret_cast<decltype(&keyrook_open_maker)>(entry)(app);
}

void openGraphWindow(AppContext& app, const RecordLog& log, QWidget* parent) {
    static void* entry = nullptr;
    if (!entry)
        entry = entryPoint(app, "keyrook-graph.so", "keyrook_open_graph", "keyrook_graph_build",
                           "ｸﾞﾗﾌ");
    if (entry) reinterpret_cast<decltype(&keyrook_open_graph)>(entry)(app, log, parent);
}

}  // namespace keyrook

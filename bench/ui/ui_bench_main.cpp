// The window benchmarks' main: one offscreen application (unless QT_QPA_PLATFORM names another
// platform) with the program's font substitutions.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "widgets/qt_services.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Keyrook");
    keyrook::installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The window "苦手ｷｰ分析" on a .kst file of 10 000 stored sessions: reading the file, the
// analysis, the heat map's colours and tooltips, the list, and the window painted into a
// pixmap. Runs offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>

#include "app/main_window.h"
#include "base/files.h"
#include "problemsets/variant_table.h"
#include "records/weak_keys_window.h"
#include "widgets/radio_group.h"
#include "bench_data.h"
#include "quiet_services.h"
#include "stored_sessions.h"
#include "widgets/qt_services.h"

namespace {

using namespace keyrook;

using bench::QuietDialogs;
using bench::QuietSounds;

void BM_WeakKeysWindow10000Sessions(benchmark::State& state) {
    const bench::ScratchDir dir;
    const std::string app = dir.dir();
    saveStringToFile(app + "user/user.log", "taro\r\ntaro\r\n");
    saveStringToFile(app + "user/taro.kst", bench::storedSessions(10000));
    QuietSounds sounds;
    QuietDialogs dialogs;
    TMainForm main(app, sounds, dialogs);
    VariantTable variants;
    TWeakKeys window(main.context(), "taro", WeakKeysFiles{app + "user/taro.kst", {}, app + "data/x.std"},
                     [&]() -> const VariantTable& { return variants; });
    window.rgpRange()->setItemIndex(2);  // all sessions
    window.show();
    for (auto _ : state) {
        window.load();
        QPixmap shot = window.grab();
        benchmark::DoNotOptimize(shot);
    }
    window.hide();
}
BENCHMARK(BM_WeakKeysWindow10000Sessions)->Unit(benchmark::kMillisecond);

}  // namespace

// The windows that grow with a user's history, offscreen (QT_QPA_PLATFORM=offscreen is set
// when nothing else is): the graph of N sessions drawn, the record viewer from a chosen title
// to its painted list and each header sort painted, the maker's convert and save of N
// questions. Each figure includes the paint that shows the result.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QChartView>
#include <QComboBox>
#include <QListWidget>
#include <QPixmap>
#include <QToolButton>
#include <QTableView>

#include <map>
#include <memory>

#include "app/main_window.h"
#include "bench_data.h"
#include "base/cp932.h"
#include "base/files.h"
#include "problemsets/maker_window.h"
#include "records/graph_window.h"
#include "records/log_window.h"
#include "widgets/qt_services.h"
#include "quiet_services.h"

namespace {

using namespace keyrook;

using bench::QuietDialogs;
using bench::QuietSounds;

// A program folder whose user "amy" has practised title "T" n times.
struct Program {
    bench::ScratchDir dir;
    QuietSounds sounds;
    QuietDialogs dialogs;
    std::unique_ptr<TMainForm> main;
    explicit Program(long long sessions) {
        saveStringToFile(dir.dir() + "user/user.log", "amy\r\namy\r\n");
        bench::writeRecordFile(dir.dir() + "user/amy.rec", "amy", "T", sessions);
        main = std::make_unique<TMainForm>(dir.dir(), sounds, dialogs);
    }
};

// Kept for the whole run, ended before the application.
std::map<long long, std::unique_ptr<Program>> programs;

Program& program(long long sessions) {
    // The windows go before the application does.
    if (programs.empty()) qAddPostRoutine([] { programs.clear(); });
    auto& p = programs[sessions];
    if (!p) p = std::make_unique<Program>(sessions);
    return *p;
}

// The viewer opened on amy, her title offered.
std::unique_ptr<TLog> openViewer(Program& p) {
    auto log = std::make_unique<TLog>(p.main->context());
    log->setUsers({"amy"});
    log->show();
    log->lstUser()->item(0)->setSelected(true);
    log->lstUserMouseUp();
    log->cmbTitle()->setCurrentIndex(0);
    QCoreApplication::processEvents();
    return log;
}

void paint(QWidget* w) { benchmark::DoNotOptimize(w->grab()); }

// The measured steps, each a function of its own so that scripts/measure.sh can count their
// instructions with callgrind (--toggle-collect).
[[gnu::noinline]] void drawMetric(TGraph& graph) {
    graph.GetGraph(4, 0, 0);
    QCoreApplication::processEvents();  // the chart lays out its axes and repaints
}
[[gnu::noinline]] void chooseTitle(TLog& log) {
    log.cmbTitleChange();
    QCoreApplication::processEvents();
    paint(log.lslog());
}
[[gnu::noinline]] void sortBy(TLog& log, int column) {
    log.lslogColumnClick(column);
    paint(log.lslog());
}
[[gnu::noinline]] void saveSet(TTPMaker& maker) {
    maker.btnSaveClick();
    QCoreApplication::processEvents();
}

void BM_GraphDraw(benchmark::State& state) {
    Program& p = program(state.range(0));
    RecordLog log(p.dir.dir());
    log.cmbTitleChange({"amy"}, "T", DateTime{});
    TGraph graph(p.main->context(), log);
    graph.show();
    QCoreApplication::processEvents();
    for (auto _ : state) drawMetric(graph);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The same over calendar time, with the weekly median line.
void BM_GraphDrawByDate(benchmark::State& state) {
    Program& p = program(state.range(0));
    RecordLog log(p.dir.dir());
    log.cmbTitleChange({"amy"}, "T", DateTime{});
    TGraph graph(p.main->context(), log);
    graph.show();
    graph.button("btnDates")->click();
    QCoreApplication::processEvents();
    for (auto _ : state) drawMetric(graph);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ViewerChooseTitle(benchmark::State& state) {
    auto log = openViewer(program(state.range(0)));
    for (auto _ : state) chooseTitle(*log);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A header clicked on a freshly filled list: the column's keys, the sort and the paint.
void BM_ViewerSort(benchmark::State& state) {
    auto log = openViewer(program(state.range(1)));
    for (auto _ : state) {
        state.PauseTiming();
        log->cmbTitleChange();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        sortBy(*log, static_cast<int>(state.range(0)));
    }
    state.SetItemsProcessed(state.iterations() * state.range(1));
}

void BM_MakerSave(benchmark::State& state) {
    Program& p = program(1);
    TTPMaker maker(p.main->context());
    maker.openFromMenu();
    maker.show();
    std::vector<std::string> lines;
    for (long long i = 0; i < state.range(0); ++i) {
        lines.push_back("問題" + std::to_string(i + 1));
        lines.push_back("がっこうにいくまえにしゃしんをとった");
    }
    maker.editor()->setLineList(lines);
    maker.engine().setTitle("bench");
    maker.engine().setAuthor(cp932Of("作者"));
    maker.engine().setDescription(cp932Of("説明"));
    QCoreApplication::processEvents();
    for (auto _ : state) saveSet(maker);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_GraphDraw)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GraphDrawByDate)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ViewerChooseTitle)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ViewerSort)
    ->ArgsProduct({{1, 2, 3, 4, 5, 6, 7, 8}, {100000}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakerSave)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

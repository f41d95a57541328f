// Filling the driver list with a full field and painting it, as every update of the race does.

#include "common/CommandIds.h"
#include "document/CTarmioDoc.h"
#include "driverlist/DriverView.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>

namespace {

constexpr int kFieldSize = 63;
constexpr int kLapsPerDriver = 60;

QApplication& Application() {
    static int argc = 1;
    static char name[] = "bench_driverlist";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(argc, argv);
    return application;
}

void FillField(RaceData& race, int fieldSize = kFieldSize) {
    for (int car = 0; car < fieldSize; ++car) {
        auto driver = std::make_unique<DriverRecord>(static_cast<std::uint8_t>(car),
                                                     "Driver " + std::to_string(car), race.TakeNextColour());
        std::uint32_t raceTime = 0;
        for (int slot = 0; slot < kLapsPerDriver; ++slot) {
            const std::uint32_t lapTime = 80000 + static_cast<std::uint32_t>((car * 37 + slot * 11) % 3000);
            raceTime += lapTime;
            driver->laps.SetAt(slot, std::make_unique<LapRecord>(LapRecord{0, raceTime, lapTime, 0}));
        }
        race.drivers->Insert(std::move(driver));
    }
    race.lapCount = kLapsPerDriver;
    race.UpdateLapStatistics();
}

void BM_FillAndRepaintDriverList(benchmark::State& state) {
    Application();
    CTarmioDoc document;
    document.OnNewDocument();
    FillField(*document.GetRaceData());
    QWidget window;
    auto* view = new CDriverView;
    view->Create(&window, &document);
    // Tall enough to show every row.
    view->setGeometry(0, 0, 420, 1400);
    view->OnInitialUpdate();
    CTreeListCtrl& list = view->GetDriverList();
    QImage image(list.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        view->OnUpdate(nullptr, 0);
        list.viewport()->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["rows"] = list.GetItemCount();
}
BENCHMARK(BM_FillAndRepaintDriverList)->Unit(benchmark::kMillisecond);

// Cut of every tenth row of a race of 6,300 drivers (a hundred full fields added at once).
void BM_CutTenthOfManyDrivers(benchmark::State& state) {
    constexpr int kManyDrivers = 100 * kFieldSize;
    Application();
    for (auto _ : state) {
        state.PauseTiming();
        auto document = std::make_unique<CTarmioDoc>();
        document->OnNewDocument();
        FillField(*document->GetRaceData(), kManyDrivers);
        auto window = std::make_unique<QWidget>();
        auto* view = new CDriverView;
        view->Create(window.get(), document.get());
        view->setGeometry(0, 0, 420, 600);
        view->OnInitialUpdate();
        CTreeListCtrl& list = view->GetDriverList();
        for (int row = 0; row < kManyDrivers; row += 10)
            list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        state.ResumeTiming();
        view->OnCmdMsg(ID_EDIT_CUT, nullptr);
        benchmark::DoNotOptimize(list.GetItemCount());
        state.PauseTiming();
        window.reset();
        document.reset();
        state.ResumeTiming();
    }
    state.counters["removed"] = kManyDrivers / 10;
}
BENCHMARK(BM_CutTenthOfManyDrivers)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

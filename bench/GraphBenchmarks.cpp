// The right pane's paint of a full field: 63 cars, 127 laps, events and lapping lines.
#include "common/CommandIds.h"
#include "data/DiskFile.h"
#include "data/RaceFileLoader.h"
#include "document/CTarmioDoc.h"
#include "framework/PrintJob.h"
#include "graph/ChartPictures.h"
#include "graph/TarmioView.h"
#include "tests/support/ScriptedPrompt.h"
#include "tools/racefile/HostileRaces.h"
#include "tools/racefile/MemoryRaceFile.h"
#include "tools/racefile/RaceFileWriter.h"

#include <QApplication>
#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sstream>

namespace {

constexpr int kCars = 63;
constexpr int kLaps = 127;
constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// Cars a little slower each, so that the back of the field is lapped several times; each file
// of a merged field is a shade slower than the one before.
void FillField(RaceData& race, int drivers) {
    race.drivers->Reserve(drivers);
    for (int index = 0; index < drivers; ++index) {
        const int car = index % kCars;
        const int file = index / kCars;
        auto driver =
            std::make_unique<DriverRecord>(static_cast<std::uint8_t>(car), "Driver " + std::to_string(index),
                                           kPalette[static_cast<std::size_t>(index % kPaletteSize)]);
        std::uint32_t time = 0;
        for (int slot = 0; slot < kLaps; ++slot) {
            const std::uint32_t lapTime = 90'000 + static_cast<std::uint32_t>(car) * 150 +
                                          static_cast<std::uint32_t>(file) * 7 +
                                          static_cast<std::uint32_t>((slot * 7 + car) % 11) * 40;
            time += lapTime;
            auto lap = std::make_unique<LapRecord>();
            lap->raceTime = time;
            lap->lapTime = lapTime;
            if ((slot + car) % 17 == 0) {
                lap->flags = (slot % 2 == 0) ? kLapEventA : kLapEventB;
                lap->eventTime = time + 20'000;
            }
            driver->laps.SetAt(slot, std::move(lap));
        }
        race.drivers->InsertAt(race.drivers->GetCount(), std::move(driver));
    }
    race.lapCount = kLaps;
    race.UpdateLapStatistics();
}

struct FullFieldChart {
    explicit FullFieldChart(int drivers = kCars) {
        document.OnNewDocument();
        FillField(*document.GetRaceData(), drivers);
        view.Create(nullptr, &document);
        view.resize(kWidth + view.GetVerticalScrollBar()->sizeHint().width(), kHeight);
        view.show();
        view.OnInitialUpdate();
    }
    CTarmioDoc document;
    CTarmioView view;
    QImage target{kWidth, kHeight, QImage::Format_RGB32};
};

void BM_FullPaint(benchmark::State& state) {
    FullFieldChart chart;
    for (auto _ : state) {
        chart.view.render(&chart.target);
        benchmark::DoNotOptimize(chart.target.constBits());
    }
}
BENCHMARK(BM_FullPaint)->Unit(benchmark::kMillisecond);

// Many files merged into one field: the argument is the number of drivers, 63 cars a file. Its
// curves are drawn on all cores, so the time is the clock's.
void BM_FullPaintOfField(benchmark::State& state) {
    FullFieldChart chart(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        chart.view.render(&chart.target);
        benchmark::DoNotOptimize(chart.target.constBits());
    }
}
BENCHMARK(BM_FullPaintOfField)->Arg(6300)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same field zoomed in a minute behind: most curves leave the window, their lines cut at its
// edges.
void BM_FullPaintOfZoomedField(benchmark::State& state) {
    FullFieldChart chart(static_cast<int>(state.range(0)));
    lapgraph::ViewState view = chart.view.GetViewState();
    view.zoom = 8;
    view.scrollPos = lapgraph::GapValue(60'000, 0);
    chart.view.SetViewState(view);
    for (auto _ : state) {
        chart.view.render(&chart.target);
        benchmark::DoNotOptimize(chart.target.constBits());
    }
}
BENCHMARK(BM_FullPaintOfZoomedField)->Arg(6300)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same field as a position chart (first argument 1) and as a lap-time chart (2), of one file
// or of a hundred merged (the second argument, the number of drivers).
void BM_FullPaintOfChart(benchmark::State& state) {
    FullFieldChart chart(static_cast<int>(state.range(1)));
    chart.view.SetChartKind(static_cast<lapgraph::ChartKind>(state.range(0)));
    for (auto _ : state) {
        chart.view.render(&chart.target);
        benchmark::DoNotOptimize(chart.target.constBits());
    }
}
BENCHMARK(BM_FullPaintOfChart)
    ->ArgsProduct({{1, 2}, {kCars, 6300}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The drawing alone, straight into the image, as a paint without flicker-free composition does.
void BM_DrawIntoImage(benchmark::State& state) {
    FullFieldChart chart;
    for (auto _ : state) {
        CDC dc(&chart.target);
        chart.view.OnPrepareDC(&dc);
        dc.PatBlt(0, 0, kWidth, kHeight, BLACKNESS);
        chart.view.OnDraw(&dc);
        dc.EndPainting();
        benchmark::DoNotOptimize(chart.target.constBits());
    }
}
BENCHMARK(BM_DrawIntoImage)->Unit(benchmark::kMillisecond);

// A full paint with four drivers highlighted: their wide curves come on top of the dimmed field.
void BM_HighlightPaint(benchmark::State& state) {
    FullFieldChart chart;
    chart.document.SetSelectedDrivers(nullptr, {3, 20, 41, 62});
    for (auto _ : state) {
        chart.view.render(&chart.target);
        benchmark::DoNotOptimize(chart.target.constBits());
    }
}
BENCHMARK(BM_HighlightPaint)->Unit(benchmark::kMillisecond);

// One pointer move over the chart: the nearest curve point and its read-out, panel and status.
void BM_HoverReadout(benchmark::State& state) {
    FullFieldChart chart;
    const CPoint target = *chart.view.LapPoint(31, 64);
    int step = 0;
    for (auto _ : state) {
        ++step;
        const QPointF at(target.x + step % 3, target.y - step % 2);
        QMouseEvent move(QEvent::MouseMove, at, chart.view.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&chart.view, &move);
        benchmark::DoNotOptimize(chart.document.GetHoveredDriver());
    }
    if (chart.document.GetHoveredDriver() == -1)
        state.SkipWithError("the pointer found no curve");
}
BENCHMARK(BM_HoverReadout)->Unit(benchmark::kMicrosecond);

void BM_ScrollAndZoomStep(benchmark::State& state) {
    FullFieldChart chart;
    int step = 0;
    for (auto _ : state) {
        chart.view.OnCmdMsg(++step % 2 == 0 ? ID_VIEW_ZOOMIN_Y : ID_VIEW_ZOOMOUT_Y, nullptr);
        QKeyEvent down(QEvent::KeyPress, step % 4 < 2 ? Qt::Key_Down : Qt::Key_Up, Qt::NoModifier);
        QApplication::sendEvent(&chart.view, &down);
        chart.view.render(&chart.target);
        benchmark::DoNotOptimize(chart.target.constBits());
    }
}
BENCHMARK(BM_ScrollAndZoomStep)->Unit(benchmark::kMillisecond);

// The worst race for paper: a full field zoomed right in while every other slot leaps to the end of
// the clock, so that each step of a lapping line spans hundreds of pages, printed to a PDF file.
void BM_HostileRaceToPdf(benchmark::State& state) {
    CTarmioDoc document;
    document.OnNewDocument();
    MemoryRaceFile file(RaceFileWriter::LogFile(hostile::HostileRace(hostile::Pattern::Swinging)));
    ScriptedPrompt prompt;
    LoadRaceFile(*document.GetRaceData(), file, prompt);
    CTarmioView view;
    view.Create(nullptr, &document);
    view.OnInitialUpdate();
    lapgraph::ViewState absolute = view.GetViewState();
    absolute.relative = false;
    view.SetViewState(absolute);
    const QTemporaryDir folder;
    const QString pdf = folder.filePath("chart.pdf");
    for (auto _ : state) {
        if (!PrintViewToPdf(view, pdf))
            state.SkipWithError("the chart was not printed");
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(pdf).size());
}
BENCHMARK(BM_HostileRaceToPdf)->Unit(benchmark::kMillisecond);

void LoadSampleRace(CTarmioDoc& document) {
    document.OnNewDocument();
    DiskFile file(TARMIO_SAMPLE_RACE);
    ScriptedPrompt prompt;
    LoadRaceFile(*document.GetRaceData(), file, prompt);
}

// The sample race's web report, as report writes it: the three charts drawn into SVG by one view
// and the page around them.
void BM_SampleRaceReport(benchmark::State& state) {
    CTarmioDoc document;
    LoadSampleRace(document);
    std::size_t size = 0;
    for (auto _ : state) {
        std::ostringstream page;
        WriteReportOfDocument(page, document, "");
        size = page.str().size();
        benchmark::DoNotOptimize(size);
    }
    state.counters["bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_SampleRaceReport)->Unit(benchmark::kMillisecond);

// The sample race's charts at render's benchmark size, encoded as PNG at each quality Qt's
// writer takes (100: zlib level 0 ... 0: level 9); render's choice is kChartPngQuality.
void BM_SampleChartPng(benchmark::State& state) {
    CTarmioDoc document;
    LoadSampleRace(document);
    CTarmioView view;
    view.Create(nullptr, &document);
    view.resize(900 + view.GetVerticalScrollBar()->sizeHint().width(), 500);
    view.OnInitialUpdate();
    std::vector<QImage> charts;
    for (const auto kind :
         {lapgraph::ChartKind::Gap, lapgraph::ChartKind::Positions, lapgraph::ChartKind::LapTimes}) {
        view.SetChartKind(kind);
        charts.push_back(DrawChartImage(view, {}));
    }
    const int quality = static_cast<int>(state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const QImage& chart : charts) {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            WriteChartPng(chart, buffer, quality);
            bytes += static_cast<std::size_t>(png.size());
        }
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SampleChartPng)->DenseRange(0, 100, 10)->Arg(-1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

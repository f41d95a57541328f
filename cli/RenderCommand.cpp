// render: the lap chart of the loaded race as a PNG or SVG picture or a one-page PDF, drawn by
// the viewer's own chart code, without a display.
#include "Commands.h"
#include "LoadFiles.h"
#include "PictureOutput.h"
#include "document/CTarmioDoc.h"
#include "framework/PrintJob.h"
#include "graph/ChartKinds.h"
#include "graph/ChartPictures.h"
#include "graph/TarmioView.h"

#include <QImage>
#include <QScrollBar>
#include <algorithm>
#include <charconv>

namespace {

constexpr const char* kCommand = "render";
constexpr int kDefaultWidth = 1024;
constexpr int kDefaultHeight = 640;
constexpr int kLargestSide = 16384;
constexpr int kLargestScale = 4;

struct RenderArguments {
    int width = kDefaultWidth;
    int height = kDefaultHeight;
    bool absolute = false;
    bool originBottom = false;
    int zoom = 0;     // 0: the auto-zoom's choice
    bool fit = false; // Zoom to Fit, after everything else is chosen
    bool printed = false;
    int scale = 1; // picture pixels per window pixel, as on a high-density screen
    bool distinctColours = false;
    lapgraph::ChartKind chart = lapgraph::ChartKind::Gap;
    std::vector<int> highlightCars; // car bytes as dump prints them
    std::optional<int> referenceCar;
    PictureFrame frame;
    std::string output;
    std::vector<std::string> loadArguments;
};

constexpr int kLargestCarByte = 255;

bool ParseNumber(const std::string& text, int low, int high, int& value) {
    const char* end = text.data() + text.size();
    const auto [rest, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && rest == end && value >= low && value <= high;
}

bool ParseChartKind(const std::string& text, lapgraph::ChartKind& kind) {
    const ChartKindInfo* named = ChartKindNamed(text);
    if (named == nullptr)
        return false;
    kind = named->kind;
    return true;
}

// "gap, positions or laptimes" with ", " and " or ", "gap|positions|laptimes" with "|" twice.
std::string ChartKindNames(const std::string& between, const std::string& beforeLast) {
    const std::span<const ChartKindInfo* const> kinds = ChartKinds();
    std::string names;
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        if (i > 0)
            names += i + 1 == kinds.size() ? beforeLast : between;
        names += kinds[i]->cliName;
    }
    return names;
}

// "5,12,69": car bytes separated by commas.
bool ParseCarList(const std::string& text, std::vector<int>& cars) {
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        int car = 0;
        if (!ParseNumber(text.substr(start, comma - start), 0, kLargestCarByte, car))
            return false;
        cars.push_back(car);
        if (comma == std::string::npos)
            return true;
        start = comma + 1;
    }
}

std::optional<RenderArguments> ParseRenderArguments(const std::vector<std::string>& args,
                                                    std::string& error) {
    RenderArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--absolute") {
            parsed.absolute = true;
        } else if (arg == "--origin-bottom") {
            parsed.originBottom = true;
        } else if (arg == "--print") {
            parsed.printed = true;
        } else if (arg == "--distinct-colours") {
            parsed.distinctColours = true;
        } else if (arg == "--fit") {
            parsed.fit = true;
        } else if (arg == "--legend") {
            parsed.frame.legend = true;
        } else if (arg == "--title") {
            if (!hasValue) {
                error = "--title needs a text";
                return std::nullopt;
            }
            parsed.frame.title = args[++i];
        } else if (arg == "--width" || arg == "--height") {
            int& side = arg == "--width" ? parsed.width : parsed.height;
            if (!hasValue || !ParseNumber(args[++i], 1, kLargestSide, side)) {
                error = arg + " needs a number of pixels from 1 to " + std::to_string(kLargestSide);
                return std::nullopt;
            }
        } else if (arg == "--scale") {
            if (!hasValue || !ParseNumber(args[++i], 1, kLargestScale, parsed.scale)) {
                error = "--scale needs a number from 1 to " + std::to_string(kLargestScale);
                return std::nullopt;
            }
        } else if (arg == "--zoom") {
            if (!hasValue || !ParseNumber(args[++i], lapgraph::kMinZoom, lapgraph::kMaxZoom, parsed.zoom)) {
                error = "--zoom needs a number from 1 to 262";
                return std::nullopt;
            }
        } else if (arg == "--chart") {
            if (!hasValue || !ParseChartKind(args[++i], parsed.chart)) {
                error = "--chart needs " + ChartKindNames(", ", " or ");
                return std::nullopt;
            }
        } else if (arg == "--highlight") {
            if (!hasValue || !ParseCarList(args[++i], parsed.highlightCars)) {
                error = "--highlight needs car numbers as dump prints them, separated by commas";
                return std::nullopt;
            }
        } else if (arg == "--reference") {
            int car = 0;
            if (!hasValue || !ParseNumber(args[++i], 0, kLargestCarByte, car)) {
                error = "--reference needs a car number as dump prints it";
                return std::nullopt;
            }
            parsed.referenceCar = car;
        } else if (arg == "-o") {
            if (!hasValue) {
                error = "-o needs a file name";
                return std::nullopt;
            }
            parsed.output = args[++i];
        } else {
            parsed.loadArguments.push_back(arg);
        }
    }
    if (parsed.output.empty()) {
        error = "no output file (-o OUT.png, -o OUT.svg or -o OUT.pdf)";
        return std::nullopt;
    }
    if (!EndsWith(parsed.output, ".png") && !EndsWith(parsed.output, ".pdf") &&
        !EndsWith(parsed.output, ".svg")) {
        error = "the output file must end in .png, .svg or .pdf (-o OUT.png, -o OUT.svg or -o OUT.pdf)";
        return std::nullopt;
    }
    if (!parsed.frame.Empty() && parsed.printed && !EndsWith(parsed.output, ".pdf")) {
        error = "--legend and --title frame the screen picture or the PDF page: not with --print";
        return std::nullopt;
    }
    if (parsed.scale != 1 && (parsed.printed || !EndsWith(parsed.output, ".png"))) {
        error = "--scale sharpens the screen picture: .png without --print";
        return std::nullopt;
    }
    if (std::max(parsed.width, parsed.height) * parsed.scale > kLargestSide) {
        error = "--scale makes a side larger than " + std::to_string(kLargestSide) + " pixels";
        return std::nullopt;
    }
    return parsed;
}

// The view as the viewer shows it after an Add: the chosen reference and orientation.
void PrepareView(CTarmioView& view, CTarmioDoc& document, const RenderArguments& args) {
    view.Create(nullptr, &document);
    const int scrollBarWidth =
        view.GetVerticalScrollBar() != nullptr ? view.GetVerticalScrollBar()->sizeHint().width() : 0;
    view.resize(args.width + scrollBarWidth, args.height);
    view.OnInitialUpdate();
    view.SetChartKind(args.chart);
    lapgraph::ViewState state = view.GetViewState();
    state.relative = !args.absolute;
    state.mirrored = !args.originBottom;
    view.SetViewState(state);
    view.OnUpdate(nullptr, 0);
}

// Every driver of the car byte, in array order; empty when the race has none.
std::vector<int> DriversOfCar(const RaceData& race, int car) {
    std::vector<int> drivers;
    for (int d = 0; d < race.drivers->GetCount(); ++d)
        if (race.drivers->GetAt(d)->car == car)
            drivers.push_back(d);
    return drivers;
}

// The drivers that stand out and the reference driver, as the list's selection and the Gap to
// Selected Driver command would choose them; false (with the reason) for a car not in the race.
bool ChooseDrivers(CTarmioView& view, CTarmioDoc& document, const RenderArguments& args, std::string& error) {
    const RaceData& race = *document.GetRaceData();
    std::vector<int> highlighted;
    for (const int car : args.highlightCars) {
        const std::vector<int> drivers = DriversOfCar(race, car);
        if (drivers.empty()) {
            error = "--highlight: no car " + std::to_string(car) + " in the race";
            return false;
        }
        highlighted.insert(highlighted.end(), drivers.begin(), drivers.end());
    }
    std::sort(highlighted.begin(), highlighted.end());
    highlighted.erase(std::unique(highlighted.begin(), highlighted.end()), highlighted.end());
    int reference = -1;
    if (args.referenceCar) {
        const std::vector<int> drivers = DriversOfCar(race, *args.referenceCar);
        if (drivers.empty()) {
            error = "--reference: no car " + std::to_string(*args.referenceCar) + " in the race";
            return false;
        }
        reference = drivers.front();
    }
    document.SetSelectedDrivers(nullptr, std::move(highlighted));
    if (reference != -1)
        view.SetReferenceDriver(reference);
    return true;
}

QImage RenderScreen(CTarmioView& view, const RenderArguments& args) {
    return DrawChartImage(view, args.frame, args.scale);
}

// The printed look on an image of the page's size: white, the printer font, the legend.
QImage RenderPrintedImage(CTarmioView& view, const RenderArguments& args) {
    QImage page(args.width, args.height, QImage::Format_RGB32);
    page.fill(Qt::white);
    PrintViewToImage(view, page);
    return page;
}

} // namespace

int RunRender(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    std::string error;
    const std::optional<RenderArguments> parsed = ParseRenderArguments(args, error);
    if (!parsed)
        return BadUsage(err, kCommand, error);
    int exitStatus = kExitDone;
    const std::unique_ptr<LoadedRace> race =
        LoadRaceForOutput(kCommand, parsed->output, parsed->loadArguments, err, exitStatus);
    if (race == nullptr)
        return exitStatus;
    CTarmioDoc& document = race->document;
    if (parsed->distinctColours)
        document.SetDistinctColours(true);
    CTarmioView view;
    PrepareView(view, document, *parsed);
    if (!ChooseDrivers(view, document, *parsed, error))
        return BadUsage(err, kCommand, error);
    if (parsed->zoom != 0) {
        lapgraph::ViewState state = view.GetViewState();
        state.zoom = parsed->zoom;
        view.SetViewState(state);
    }
    if (parsed->fit)
        view.OnViewZoomToFit();
    const bool written = WriteThroughTemporary(parsed->output, [&](const QString& path) {
        if (EndsWith(parsed->output, ".pdf"))
            return PrintChartToPdf(view, path, parsed->frame);
        if (EndsWith(parsed->output, ".svg"))
            return WriteBytes(path, DrawChartSvg(view, parsed->frame));
        const QImage picture =
            parsed->printed ? RenderPrintedImage(view, *parsed) : RenderScreen(view, *parsed);
        return SaveChartPng(picture, path);
    });
    if (!written) {
        err << "tarmioview-cli render: cannot write " << parsed->output << '\n';
        return kExitFailed;
    }
    return race->outcome.refused ? kExitFailed : kExitDone;
}

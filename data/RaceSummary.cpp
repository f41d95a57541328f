#include "data/RaceSummary.h"

#include "data/RacePositions.h"

#include <algorithm>
#include <numeric>

namespace {

constexpr std::uint32_t kEventFlags = kLapEventA | kLapEventB;

// The driver list's race order (more laps, then the smaller race time, then name and number),
// whatever order the list is sorted in now.
std::vector<int> RaceOrder(const DriverArray& drivers) {
    std::vector<int> order(static_cast<std::size_t>(drivers.GetCount()));
    std::iota(order.begin(), order.end(), 0);
    const DriverArray raceOrder; // key 1, ascending: only its comparison is used
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return raceOrder.Compare(drivers.GetAt(a), drivers.GetAt(b)) < 0; });
    return order;
}

std::vector<FinishEntry> FinishOrder(const DriverArray& drivers) {
    std::vector<FinishEntry> entries;
    for (const int index : RaceOrder(drivers)) {
        const DriverRecord& driver = *drivers.GetAt(index);
        FinishEntry entry{index, driver.car, driver.name, driver.laps.GetSize(), driver.GetLastRaceTime()};
        if (!entries.empty()) {
            const FinishEntry& winner = entries.front();
            entry.lapsDown = winner.laps - entry.laps;
            // The winner's time is the smallest of its lap count, so a real time here makes both real.
            if (entry.lapsDown == 0 && entry.raceTime < kNoTime)
                entry.gap = entry.raceTime - winner.raceTime;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<LeaderRun> LeaderRuns(const DriverArray& drivers, const RacePositions& positions) {
    std::vector<LeaderRun> runs;
    for (int slot = 0; slot < positions.SlotCount(); ++slot) {
        const int leader = positions.DriverAt(slot, 1);
        if (leader < 0)
            continue;
        const int lap = slot + 1;
        if (!runs.empty() && runs.back().driver == leader && runs.back().toLap == lap - 1)
            runs.back().toLap = lap;
        else
            runs.push_back({leader, drivers.GetAt(leader)->car, lap, lap});
    }
    return runs;
}

std::vector<LapsLed> CountLapsLed(const std::vector<LeaderRun>& runs, const std::vector<FinishEntry>& order) {
    std::vector<LapsLed> led;
    for (const FinishEntry& entry : order) {
        int laps = 0;
        for (const LeaderRun& run : runs)
            if (run.driver == entry.driver)
                laps += run.toLap - run.fromLap + 1;
        if (laps > 0)
            led.push_back({entry.driver, entry.car, laps});
    }
    std::stable_sort(led.begin(), led.end(),
                     [](const LapsLed& a, const LapsLed& b) { return a.laps > b.laps; });
    return led;
}

// The fastest-lap rule of the driver list over the whole field; the earliest lap wins a tie, and
// on the same lap the car that completed it first.
std::optional<FastestLap> FindFastestLap(const DriverArray& drivers) {
    std::optional<FastestLap> best;
    const LapRecord* bestLap = nullptr;
    for (int index = 0; index < drivers.GetCount(); ++index) {
        const DriverRecord& driver = *drivers.GetAt(index);
        for (int slot = 0; slot < driver.laps.GetSize(); ++slot) {
            const LapRecord* lap = driver.laps.GetAt(slot);
            if (lap == nullptr || (lap->flags & kLapAnyMark) != 0 || lap->lapTime >= kNoTime)
                continue;
            const bool better =
                !best || lap->lapTime < best->lapTime ||
                (lap->lapTime == best->lapTime &&
                 (slot + 1 < best->lap || (slot + 1 == best->lap && lap->raceTime < bestLap->raceTime)));
            if (better) {
                best = FastestLap{index, driver.car, slot + 1, lap->lapTime};
                bestLap = lap;
            }
        }
    }
    return best;
}

std::vector<EventLap> EventLaps(const DriverArray& drivers) {
    std::vector<EventLap> events;
    for (int index = 0; index < drivers.GetCount(); ++index) {
        const DriverRecord& driver = *drivers.GetAt(index);
        for (int slot = 0; slot < driver.laps.GetSize(); ++slot) {
            const LapRecord* lap = driver.laps.GetAt(slot);
            if (lap != nullptr && (lap->flags & kEventFlags) != 0)
                events.push_back(
                    {index, driver.car, slot + 1, lap->flags, lap->eventTime, lap->raceTime, lap->lapTime});
        }
    }
    return events;
}

} // namespace

RaceSummary SummariseRace(const RaceData& race) {
    RaceSummary summary;
    if (race.drivers == nullptr)
        return summary;
    const DriverArray& drivers = *race.drivers;
    const RacePositions positions(race);
    summary.finishOrder = FinishOrder(drivers);
    summary.leaders = LeaderRuns(drivers, positions);
    summary.lapsLed = CountLapsLed(summary.leaders, summary.finishOrder);
    summary.fastestLap = FindFastestLap(drivers);
    summary.events = EventLaps(drivers);
    return summary;
}

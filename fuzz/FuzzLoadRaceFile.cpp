// Loads every input twice into one race, answering the different-track question Yes and No in
// turn, so that refusals, merging and the statistics all run on hostile data.
#include "FuzzInput.h"
#include "data/RaceData.h"
#include "data/RaceFileLoader.h"
#include "tools/racefile/MemoryRaceFile.h"

namespace {

class AlternatingPrompt : public IPrompt {
public:
    int MessageBox(const std::string& text, unsigned style) override {
        (void)text;
        if ((style & 0xF) != MB_YESNO)
            return IDOK;
        m_yes = !m_yes;
        return m_yes ? IDYES : IDNO;
    }

private:
    bool m_yes = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes file = FuzzInputToFile(data, size);
    RaceData race;
    AlternatingPrompt prompt;
    for (int load = 0; load < 2; ++load) {
        MemoryRaceFile memory(file);
        LoadRaceFile(race, memory, prompt);
    }
    race.Sort(kSortByFastestLap);
    race.RemoveDriver(0);
    return 0;
}

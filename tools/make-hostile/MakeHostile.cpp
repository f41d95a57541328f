// Writes the hostile races of the tests as log files, for trying them on the real program:
// times at the 32-bit extremes and at the no-time mark, stray car bytes and lap numbers, events
// on every lap, 63 cars by 127 laps.
//   tarmio-make-hostile OUTPUT_FOLDER
#include "tools/racefile/HostileRaces.h"
#include "tools/racefile/RaceFileWriter.h"
#include "tools/racefile/WriteBytes.h"

#include <iostream>
#include <string>

namespace {

constexpr const char* kFileNames[] = {"hostile-extremes.zq3", "hostile-split-field.zq3",
                                      "hostile-swinging.zq3", "hostile-stray-bytes.zq3"};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tarmio-make-hostile OUTPUT_FOLDER\n";
        return 2;
    }
    for (const hostile::Pattern pattern : hostile::kPatterns) {
        const std::string path = std::string(argv[1]) + "/" + kFileNames[static_cast<int>(pattern)];
        if (!WriteBytes(path, RaceFileWriter::LogFile(hostile::HostileRace(pattern)))) {
            std::cerr << "tarmio-make-hostile: cannot write " << path << '\n';
            return 1;
        }
    }
    return 0;
}

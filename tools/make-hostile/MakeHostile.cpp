// Writes the hostile races of the tests as log files, for trying them on the real program:
// times at the 32-bit extremes and at the no-time mark, stray car bytes and lap numbers, events
// on every lap, 63 cars by 127 laps.
//   tarmio-make-hostile OUTPUT_FOLDER
#include "tools/racefile/HostileRaces.h"
#include "tools/racefile/RaceFileWriter.h"

#include <fstream>
#include <iostream>
#include <string>

namespace {

constexpr const char* kFileNames[] = {"hostile-extremes.zq3", "hostile-split-field.zq3",
                                      "hostile-swinging.zq3", "hostile-stray-bytes.zq3"};

bool WriteFile(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out)
        std::cerr << "tarmio-make-hostile: cannot write " << path << '\n';
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: tarmio-make-hostile OUTPUT_FOLDER\n";
        return 2;
    }
    for (const hostile::Pattern pattern : hostile::kPatterns) {
        const std::string path = std::string(argv[1]) + "/" + kFileNames[static_cast<int>(pattern)];
        if (!WriteFile(path, RaceFileWriter::LogFile(hostile::HostileRace(pattern))))
            return 1;
    }
    return 0;
}

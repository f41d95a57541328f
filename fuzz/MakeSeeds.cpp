// Writes the fuzzer's seed corpus: log files of every version and race files of both markers,
// whole and as bodies in the fuzz input's body form.
//
//   fuzz_make_seeds FOLDER
#include "FuzzInput.h"
#include "tools/racefile/Compressor.h"
#include "tools/racefile/ThreeCarRace.h"
#include "tools/racefile/WriteBytes.h"

#include <iostream>
#include <string>

namespace {

// A seed is the fuzz input's mode byte followed by the bytes.
bool Write(const std::string& path, std::uint8_t mode, const Bytes& bytes) {
    Bytes seed{mode};
    seed.insert(seed.end(), bytes.begin(), bytes.end());
    return WriteBytes(path, seed);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_make_seeds FOLDER\n";
        return 2;
    }
    const std::string folder = argv[1];
    const RaceDescription race = ThreeCarRace();
    bool written = true;
    for (int version = 0; version <= 3; ++version)
        written &= Write(folder + "/log-v" + std::to_string(version), kWholeFile,
                         RaceFileWriter::LogFile(race, {.version = version}));

    struct Variant {
        const char* name;
        RaceFileOptions options;
    };
    const Variant variants[] = {
        {"game-stored", {.compressed = false, .marker = kGameMarker, .gameVersion = 94}},
        {"game-compressed", {.compressed = true, .marker = kGameMarker, .gameVersion = 181}},
        {"game-shifted",
         {.compressed = true, .shiftedChecksum = true, .marker = kGameMarker, .gameVersion = 81}},
        {"log-stored", {.magic = kRaceMagicB, .compressed = false, .marker = kLogMarker}},
        {"log-compressed", {.magic = kRaceMagicB, .compressed = true, .marker = kLogMarker}},
    };
    for (const Variant& variant : variants) {
        written &= Write(folder + "/race-" + variant.name, kWholeFile,
                         RaceFileWriter::RaceFile(race, variant.options));
        Bytes body = RaceFileWriter::RaceBody(race, variant.options);
        if (variant.options.compressed)
            body = Compress(body);
        written &= Write(folder + "/body-" + variant.name, FuzzBodyMode(variant.options), body);
    }
    if (!written) {
        std::cerr << "fuzz_make_seeds: cannot write into " << folder << '\n';
        return 1;
    }
    return 0;
}

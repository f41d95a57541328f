#include "data/Decompress.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <limits>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TARMIO_BYTE_SHUFFLE 1
#endif

namespace {

// Each group is a control byte and eight items, lowest bit first: 0 a literal byte, 1 a two-byte
// token that copies 3..10 bytes from 1..8192 bytes back in the output.
constexpr unsigned kItemsPerGroup = 8;
constexpr std::size_t kTokenSize = 2;
constexpr unsigned kLengthShift = 13;
constexpr unsigned kLengthShiftInSecondByte = kLengthShift - 8;
constexpr unsigned kDistanceMask = 0x1FFF;
constexpr std::size_t kShortestCopy = 3;
constexpr std::size_t kLongestCopy = 10;
// Once this much is written no token can reach before the output start.
constexpr std::size_t kFarthestReference = kDistanceMask + 1;
// A group of eight tokens (17 bytes) gives at most 80 bytes, under five per input byte.
constexpr std::size_t kMostOutputPerInputByte = 5;

// The fast path copies in fixed 8-byte chunks, two per item, which may write past the item's end and
// read past a literal; it runs only where input and output leave room for a whole group of that.
constexpr std::size_t kChunk = 8;
constexpr std::size_t kGroupInputNeeded = kItemsPerGroup * kTokenSize + 2 * kChunk;
constexpr std::size_t kGroupOutputNeeded = (kItemsPerGroup - 1) * kLongestCopy + 2 * kChunk;

bool OutputCouldOverflow(std::size_t sourceSize) {
    return sourceSize > std::numeric_limits<std::size_t>::max() / kMostOutputPerInputByte;
}

unsigned TokenAt(const std::uint8_t* in) {
    return in[0] | static_cast<unsigned>(in[1]) << 8;
}

std::size_t CopyLength(unsigned token) {
    return (token >> kLengthShift) + kShortestCopy;
}

std::size_t CopyDistance(unsigned token) {
    return (token & kDistanceMask) + 1;
}

// Counts one item; false for a reference before the output start.
bool CountItem(const std::uint8_t*& in, unsigned control, std::size_t& count) {
    const std::size_t isCopy = control & 1;
    const unsigned token = TokenAt(in);
    // Selected rather than branched on: the item kinds follow no pattern a predictor could learn.
    count += isCopy ? CopyLength(token) : 1;
    in += 1 + isCopy;
    return !(isCopy && CopyDistance(token) > count - CopyLength(token));
}

// Where each item of a group starts behind its control byte, and (last) the group's size: a table
// rather than stepping through the items, so that the items' reads do not wait on each other.
using ItemOffsets = std::array<std::uint8_t, kItemsPerGroup + 1>;
constexpr std::array<ItemOffsets, 256> kItemOffsets = [] {
    std::array<ItemOffsets, 256> table{};
    for (unsigned control = 0; control < 256; ++control) {
        unsigned offset = 0;
        for (unsigned item = 0; item < kItemsPerGroup; ++item) {
            table[control][item] = static_cast<std::uint8_t>(offset);
            offset += 1 + ((control >> item) & 1);
        }
        table[control][kItemsPerGroup] = static_cast<std::uint8_t>(offset);
    }
    return table;
}();

// Past the farthest reference every token is fine, so a group only adds up its lengths.
void CountFarGroup(const std::uint8_t*& in, unsigned control, std::size_t& count) {
    const ItemOffsets& offsets = kItemOffsets[control];
    for (unsigned item = 0; item < kItemsPerGroup; ++item) {
        const bool isCopy = (control >> item) & 1;
        count += isCopy ? (in[offsets[item] + 1] >> kLengthShiftInSecondByte) + kShortestCopy : 1;
    }
    in += offsets[kItemsPerGroup];
}

std::optional<std::size_t> CountOutput(std::span<const std::uint8_t> source) {
    const std::uint8_t* in = source.data();
    const std::uint8_t* const end = in + source.size();
    std::size_t count = 0;
    while (in != end) {
        unsigned control = *in++;
        if (static_cast<std::size_t>(end - in) >= kGroupInputNeeded && count >= kFarthestReference) {
            CountFarGroup(in, control, count);
            continue;
        }
        if (static_cast<std::size_t>(end - in) >= kGroupInputNeeded) {
            bool referencesFine = true;
            for (unsigned item = 0; item < kItemsPerGroup; ++item, control >>= 1)
                referencesFine &= CountItem(in, control, count);
            if (!referencesFine)
                return std::nullopt;
            continue;
        }
        for (unsigned item = 0; item < kItemsPerGroup; ++item, control >>= 1) {
            if (in == end)
                return count;
            if ((control & 1) == 0) {
                ++in;
                ++count;
                continue;
            }
            // A token cut in half by the end of the source ends the output like an exhausted source.
            if (end - in < static_cast<std::ptrdiff_t>(kTokenSize))
                return count;
            const std::size_t distance = CopyDistance(TokenAt(in));
            if (distance > count)
                return std::nullopt;
            count += (in[1] >> kLengthShiftInSecondByte) + kShortestCopy;
            in += kTokenSize;
        }
    }
    return count;
}

void CopyChunks(std::uint8_t* out, const std::uint8_t* from) {
    std::memcpy(out, from, kChunk);
    std::memcpy(out + kChunk, from + kChunk, kChunk);
}

// A copy from fewer than 8 bytes back repeats a short pattern. The first 8 bytes are laid down in two
// fixed steps; then the read point is moved back by whole patterns so that it lies at least a chunk
// behind, and the last chunk copies without reading bytes it writes.
void CopyNearPattern(std::uint8_t* out, const std::uint8_t* from, std::size_t distance) {
    static constexpr std::array<int, kChunk> kForwardAfterFour = {0, 1, 2, 1, 0, 4, 4, 4};
    static constexpr std::array<int, kChunk> kBackAfterEight = {0, 0, 0, -1, -4, 1, 2, 3};
    out[0] = from[0];
    out[1] = from[1];
    out[2] = from[2];
    out[3] = from[3];
    from += kForwardAfterFour[distance];
    std::memcpy(out + 4, from, 4);
    from -= kBackAfterEight[distance];
    std::memcpy(out + kChunk, from, kChunk);
}

#ifdef TARMIO_BYTE_SHUFFLE
// Every item of the shuffled path is one 16-byte load, one byte shuffle and one 16-byte store, so the
// item kinds and distances cost no branch. Lane i of row d picks byte i % d: a copy from d < 16 bytes
// back repeats the d bytes already written and never uses the load's bytes at the copy's own start or
// beyond. Row 16 (copies from 16 or more back, and literals) passes the load through.
constexpr std::size_t kLane = 16;
struct alignas(kLane) ShuffleRow {
    std::array<std::uint8_t, kLane> picks;
};
constexpr std::array<ShuffleRow, kLane + 1> kRepeatPatterns = [] {
    std::array<ShuffleRow, kLane + 1> rows{};
    for (std::size_t distance = 1; distance <= kLane; ++distance)
        for (std::size_t lane = 0; lane < kLane; ++lane)
            rows[distance].picks[lane] = static_cast<std::uint8_t>(lane % distance);
    return rows;
}();
static_assert(kLongestCopy <= kLane, "the shuffled path writes a token in one store");

bool CpuHasByteShuffle() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}
#endif

std::atomic<DecompressPath> g_chosenPath = DecompressPath::kAuto;

// Writes the output into [destination, limit); refuses what would not fit.
class Expander {
public:
    Expander(std::span<const std::uint8_t> source, std::span<std::uint8_t> destination)
        : m_in(source.data()), m_end(source.data() + source.size()), m_start(destination.data()),
          m_out(destination.data()), m_limit(destination.data() + destination.size()) {}

    std::optional<std::size_t> Run() {
#ifdef TARMIO_BYTE_SHUFFLE
        if (ActiveDecompressPath() == DecompressPath::kByteShuffle)
            return RunShuffled();
#endif
        while (m_in != m_end) {
            const unsigned control = *m_in++;
            if (RoomForFastGroup()) {
                if (!FastGroup(control))
                    return std::nullopt;
                continue;
            }
            if (const Step step = CarefulGroup(control); step != Step::kGoOn)
                return Ended(step);
        }
        return Written();
    }

private:
    enum class Step { kGoOn, kSourceEnded, kRefused };

#ifdef TARMIO_BYTE_SHUFFLE
    // The same loop as Run, with the shuffled fast group; the whole loop carries the instruction set so
    // that the group is inlined into it.
    __attribute__((target("ssse3"))) std::optional<std::size_t> RunShuffled() {
        while (m_in != m_end) {
            const unsigned control = *m_in++;
            if (RoomForFastGroup()) {
                // Checking references stops once the output is longer than the farthest reference.
                const bool fine = Written() < kFarthestReference ? ShuffledGroup<true>(control)
                                                                 : ShuffledGroup<false>(control);
                if (!fine)
                    return std::nullopt;
                continue;
            }
            if (const Step step = CarefulGroup(control); step != Step::kGoOn)
                return Ended(step);
        }
        return Written();
    }

    template <bool kCheckReferences> __attribute__((target("ssse3"))) bool ShuffledGroup(unsigned control) {
        for (unsigned item = 0; item < kItemsPerGroup; ++item, control >>= 1) {
            const std::size_t isCopy = control & 1;
            const unsigned token = TokenAt(m_in);
            const std::size_t length = isCopy ? CopyLength(token) : 1;
            const std::size_t distance = CopyDistance(token);
            if (kCheckReferences && isCopy && distance > Written())
                return false;
            const std::uint8_t* from = isCopy ? m_out - distance : m_in;
            const std::size_t row = isCopy ? std::min(distance, kLane) : kLane;
            const __m128i loaded = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
            const __m128i picks =
                _mm_load_si128(reinterpret_cast<const __m128i*>(kRepeatPatterns[row].picks.data()));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(m_out), _mm_shuffle_epi8(loaded, picks));
            m_in += 1 + isCopy;
            m_out += length;
        }
        return true;
    }
#endif

    std::optional<std::size_t> Ended(Step step) const {
        if (step == Step::kRefused)
            return std::nullopt;
        return Written();
    }

    std::size_t Written() const {
        return static_cast<std::size_t>(m_out - m_start);
    }

    bool RoomForFastGroup() const {
        return static_cast<std::size_t>(m_end - m_in) >= kGroupInputNeeded &&
               static_cast<std::size_t>(m_limit - m_out) >= kGroupOutputNeeded;
    }

    // A literal is a one-byte copy from the input, so both kinds share the chunked copy; only copies
    // closer than a chunk need the byte loop, as they read bytes they write themselves.
    bool FastGroup(unsigned control) {
        for (unsigned item = 0; item < kItemsPerGroup; ++item, control >>= 1) {
            const std::size_t isCopy = control & 1;
            const unsigned token = TokenAt(m_in);
            const std::size_t length = isCopy ? CopyLength(token) : 1;
            const std::size_t distance = CopyDistance(token);
            if (isCopy && distance > Written())
                return false;
            const std::uint8_t* from = isCopy ? m_out - distance : m_in;
            if (isCopy && distance < kChunk)
                CopyNearPattern(m_out, from, distance);
            else
                CopyChunks(m_out, from);
            m_in += 1 + isCopy;
            m_out += length;
        }
        return true;
    }

    Step CarefulGroup(unsigned control) {
        for (unsigned item = 0; item < kItemsPerGroup; ++item, control >>= 1) {
            if (m_in == m_end)
                return Step::kSourceEnded;
            if ((control & 1) == 0) {
                if (m_out == m_limit)
                    return Step::kRefused;
                *m_out++ = *m_in++;
                continue;
            }
            if (m_end - m_in < static_cast<std::ptrdiff_t>(kTokenSize))
                return Step::kSourceEnded;
            const unsigned token = TokenAt(m_in);
            m_in += kTokenSize;
            const std::size_t length = CopyLength(token);
            const std::size_t distance = CopyDistance(token);
            if (distance > Written() || length > static_cast<std::size_t>(m_limit - m_out))
                return Step::kRefused;
            const std::uint8_t* from = m_out - distance;
            for (std::size_t index = 0; index < length; ++index)
                m_out[index] = from[index];
            m_out += length;
        }
        return Step::kGoOn;
    }

    const std::uint8_t* m_in;
    const std::uint8_t* const m_end;
    std::uint8_t* const m_start;
    std::uint8_t* m_out;
    std::uint8_t* const m_limit;
};

static_assert(kLongestCopy <= 2 * kChunk, "the fast path copies a token in two chunks");

} // namespace

std::optional<std::size_t> Decompress(std::span<const std::uint8_t> source, std::uint8_t* destination) {
    if (OutputCouldOverflow(source.size()))
        return std::nullopt;
    const std::optional<std::size_t> count = CountOutput(source);
    if (!destination || !count)
        return count;
    // Without a size the buffer is taken to hold exactly the counted output, and nothing beyond it.
    return Expander(source, std::span(destination, *count)).Run();
}

std::optional<std::size_t> DecompressInto(std::span<const std::uint8_t> source,
                                          std::span<std::uint8_t> destination) {
    if (OutputCouldOverflow(source.size()))
        return std::nullopt;
    return Expander(source, destination).Run();
}

void SetDecompressPath(DecompressPath path) {
    g_chosenPath.store(path, std::memory_order_relaxed);
}

DecompressPath ActiveDecompressPath() {
#ifdef TARMIO_BYTE_SHUFFLE
    if (g_chosenPath.load(std::memory_order_relaxed) != DecompressPath::kPortable && CpuHasByteShuffle())
        return DecompressPath::kByteShuffle;
#endif
    return DecompressPath::kPortable;
}

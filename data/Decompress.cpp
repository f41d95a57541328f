#include "data/RaceFileLoader.h"

#include <array>
#include <cstring>
#include <limits>

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

std::optional<std::size_t> CountOutput(std::span<const std::uint8_t> source) {
    const std::uint8_t* in = source.data();
    const std::uint8_t* const end = in + source.size();
    std::size_t count = 0;
    while (in != end) {
        unsigned control = *in++;
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

// Writes the output into [destination, limit); refuses what would not fit.
class Expander {
public:
    Expander(std::span<const std::uint8_t> source, std::span<std::uint8_t> destination)
        : m_in(source.data()), m_end(source.data() + source.size()), m_start(destination.data()),
          m_out(destination.data()), m_limit(destination.data() + destination.size()) {}

    std::optional<std::size_t> Run() {
        while (m_in != m_end) {
            const unsigned control = *m_in++;
            if (RoomForFastGroup()) {
                if (!FastGroup(control))
                    return std::nullopt;
                continue;
            }
            switch (CarefulGroup(control)) {
            case Step::kGoOn:
                break;
            case Step::kSourceEnded:
                return Written();
            case Step::kRefused:
                return std::nullopt;
            }
        }
        return Written();
    }

private:
    enum class Step { kGoOn, kSourceEnded, kRefused };

    std::size_t Written() const { return static_cast<std::size_t>(m_out - m_start); }

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

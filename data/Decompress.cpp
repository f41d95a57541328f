#include "data/RaceFileLoader.h"

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

// The fast path copies in fixed 8-byte chunks, two per token, which may write past the token's end.
constexpr std::size_t kChunk = 8;
constexpr std::size_t kGroupInputNeeded = kItemsPerGroup * kTokenSize;
constexpr std::size_t kGroupOutputNeeded = (kItemsPerGroup - 1) * kLongestCopy + 2 * kChunk;

bool OutputCouldOverflow(std::size_t sourceSize) {
    return sourceSize > std::numeric_limits<std::size_t>::max() / kMostOutputPerInputByte;
}

unsigned TokenAt(const std::uint8_t* in) {
    return in[0] | static_cast<unsigned>(in[1]) << 8;
}

std::optional<std::size_t> CountOutput(std::span<const std::uint8_t> source) {
    const std::uint8_t* in = source.data();
    const std::uint8_t* const end = in + source.size();
    std::size_t count = 0;
    while (in != end) {
        unsigned control = *in++;
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
            const std::size_t distance = (TokenAt(in) & kDistanceMask) + 1;
            if (distance > count)
                return std::nullopt;
            count += (in[1] >> kLengthShiftInSecondByte) + kShortestCopy;
            in += kTokenSize;
        }
    }
    return count;
}

// Writes the output; with kSized, limit bounds it and allows the fast path's write-ahead.
template <bool kSized> class Expander {
public:
    Expander(std::span<const std::uint8_t> source, std::uint8_t* destination, std::uint8_t* limit)
        : m_in(source.data()), m_end(source.data() + source.size()), m_start(destination), m_out(destination),
          m_limit(limit) {}

    std::optional<std::size_t> Run() {
        while (m_in != m_end) {
            const unsigned control = *m_in++;
            if (kSized && RoomForFastGroup()) {
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

    // The whole group's input is there and the output has room for its widest form, so only the
    // back-references need checking.
    bool FastGroup(unsigned control) {
        for (unsigned item = 0; item < kItemsPerGroup; ++item, control >>= 1) {
            if ((control & 1) == 0) {
                *m_out++ = *m_in++;
                continue;
            }
            const unsigned token = TokenAt(m_in);
            m_in += kTokenSize;
            const std::size_t length = (token >> kLengthShift) + kShortestCopy;
            const std::size_t distance = (token & kDistanceMask) + 1;
            if (distance > Written())
                return false;
            const std::uint8_t* from = m_out - distance;
            if (distance >= kChunk) {
                // Chunks of at most the distance never read bytes this copy has yet to write.
                std::memcpy(m_out, from, kChunk);
                std::memcpy(m_out + kChunk, from + kChunk, kChunk);
            } else {
                for (std::size_t index = 0; index < length; ++index)
                    m_out[index] = from[index];
            }
            m_out += length;
        }
        return true;
    }

    Step CarefulGroup(unsigned control) {
        for (unsigned item = 0; item < kItemsPerGroup; ++item, control >>= 1) {
            if (m_in == m_end)
                return Step::kSourceEnded;
            if ((control & 1) == 0) {
                if (kSized && m_out == m_limit)
                    return Step::kRefused;
                *m_out++ = *m_in++;
                continue;
            }
            if (m_end - m_in < static_cast<std::ptrdiff_t>(kTokenSize))
                return Step::kSourceEnded;
            const unsigned token = TokenAt(m_in);
            m_in += kTokenSize;
            const std::size_t length = (token >> kLengthShift) + kShortestCopy;
            const std::size_t distance = (token & kDistanceMask) + 1;
            if (distance > Written())
                return Step::kRefused;
            if (kSized && length > static_cast<std::size_t>(m_limit - m_out))
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
    if (!destination)
        return CountOutput(source);
    return Expander<false>(source, destination, nullptr).Run();
}

std::optional<std::size_t> DecompressInto(std::span<const std::uint8_t> source,
                                          std::span<std::uint8_t> destination) {
    if (OutputCouldOverflow(source.size()))
        return std::nullopt;
    return Expander<true>(source, destination.data(), destination.data() + destination.size()).Run();
}

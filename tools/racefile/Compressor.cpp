#include "tools/racefile/Compressor.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 10;
constexpr std::size_t kWindow = 8192;
constexpr int kHashBits = 15;
constexpr int kMaxChainSteps = 32;
constexpr std::int64_t kNone = -1;

std::uint32_t HashAt(const std::uint8_t* at) {
    const std::uint32_t v = at[0] | (at[1] << 8) | (at[2] << 16);
    return (v * 2654435761u) >> (32 - kHashBits);
}

} // namespace

std::vector<std::uint8_t> Compress(std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> out;
    out.reserve(data.size() / 2 + 16);
    // Items go behind control bytes, a new group every eight items.
    std::size_t control = 0;
    int items = 8;
    auto startItem = [&](bool isMatch) {
        if (items == 8) {
            control = out.size();
            out.push_back(0);
            items = 0;
        }
        if (isMatch)
            out[control] |= static_cast<std::uint8_t>(1u << items);
        ++items;
    };
    std::vector<std::int64_t> head(std::size_t{1} << kHashBits, kNone);
    // Chain links indexed by position mod window: a link is only followed while it lies inside
    // the window, so a slot is never read after it was reused.
    std::vector<std::int64_t> previous(kWindow, kNone);
    const std::size_t n = data.size();

    auto insert = [&](std::size_t at) {
        if (at + kMinMatch > n)
            return;
        const std::uint32_t h = HashAt(data.data() + at);
        previous[at % kWindow] = head[h];
        head[h] = static_cast<std::int64_t>(at);
    };

    std::size_t at = 0;
    while (at < n) {
        std::size_t bestLength = 0;
        std::size_t bestDistance = 0;
        if (at + kMinMatch <= n) {
            const std::size_t limit = std::min(kMaxMatch, n - at);
            std::int64_t candidate = head[HashAt(data.data() + at)];
            for (int step = 0; step < kMaxChainSteps && candidate != kNone; ++step) {
                const auto from = static_cast<std::size_t>(candidate);
                if (at - from > kWindow)
                    break;
                std::size_t length = 0;
                while (length < limit && data[from + length] == data[at + length])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestDistance = at - from;
                    if (length == limit)
                        break;
                }
                const std::int64_t next = previous[from % kWindow];
                if (next >= candidate)
                    break;
                candidate = next;
            }
        }
        if (bestLength >= kMinMatch) {
            startItem(true);
            const auto token =
                static_cast<std::uint16_t>(((bestLength - kMinMatch) << 13) | (bestDistance - 1));
            out.push_back(static_cast<std::uint8_t>(token));
            out.push_back(static_cast<std::uint8_t>(token >> 8));
            for (std::size_t i = 0; i < bestLength; ++i)
                insert(at + i);
            at += bestLength;
        } else {
            startItem(false);
            out.push_back(data[at]);
            insert(at);
            ++at;
        }
    }
    return out;
}

std::vector<std::uint8_t> DecompressionBomb(std::size_t outputSize) {
    constexpr std::uint8_t kLongestNearestToken[] = {0x00, 0xE0}; // length 10, distance 1
    std::vector<std::uint8_t> stream = {0xFE, 'x'};
    std::size_t produced = 1;
    for (int item = 1; produced < outputSize; ++item, produced += kMaxMatch) {
        if (item % 8 == 0)
            stream.push_back(0xFF);
        stream.insert(stream.end(), std::begin(kLongestNearestToken), std::end(kLongestNearestToken));
    }
    return stream;
}

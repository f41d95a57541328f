#include "data/Checksum.h"

// The loop is a handful of instructions: its speed swung by a third with where the linker happened
// to place it, so it starts on a cache line.
[[gnu::aligned(64)]] void UpdateChecksum(const std::uint8_t* bytes, std::size_t count, std::uint16_t& sumA, std::uint16_t& sumB) {
    // Both sums wrap at 16 bits by design; the rotation of B makes it depend on the byte order.
    std::uint16_t a = sumA;
    std::uint16_t b = sumB;
    for (std::size_t index = 0; index < count; ++index) {
        const std::uint16_t byte = bytes[index];
        a = static_cast<std::uint16_t>(a + byte);
        b = static_cast<std::uint16_t>(static_cast<std::uint16_t>(b << 3 | b >> 13) + byte);
    }
    sumA = a;
    sumB = b;
}

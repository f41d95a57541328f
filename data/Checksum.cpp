#include "data/Checksum.h"

void UpdateChecksum(const std::uint8_t* bytes, std::size_t count, std::uint16_t& sumA, std::uint16_t& sumB) {
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

#include "tools/racefile/MemoryRaceFile.h"

#include <algorithm>
#include <cstring>
#include <new>

std::uint32_t MemoryRaceFile::Read(void* buffer, std::uint32_t count) {
    if (failReadsBeyond && m_position + count > *failReadsBeyond) {
        if (failForMemory)
            throw std::bad_alloc();
        throw MemoryFileReadError();
    }
    const std::uint64_t size = std::max<std::uint64_t>(m_bytes.size(), sparseSize);
    if (count == 0 || m_position >= size)
        return 0;
    const auto available = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, size - m_position));
    auto* out = static_cast<std::uint8_t*>(buffer);
    const std::uint64_t stored = m_position < m_bytes.size() ? m_bytes.size() - m_position : 0;
    const auto copied = static_cast<std::uint32_t>(std::min<std::uint64_t>(available, stored));
    std::memcpy(out, m_bytes.data() + m_position, copied);
    std::memset(out + copied, 0, available - copied);
    m_position += available;
    return available;
}

std::uint64_t MemoryRaceFile::Seek(std::int64_t offset) {
    // Like a disk file, a position before the start is not reachable; one past the end is.
    if (offset < 0 && static_cast<std::uint64_t>(-offset) > m_position)
        m_position = 0;
    else
        m_position = static_cast<std::uint64_t>(static_cast<std::int64_t>(m_position) + offset);
    return m_position;
}

bool MemoryRaceFile::GetStatus(std::uint64_t& size) {
    if (!statusAvailable)
        return false;
    size = std::max<std::uint64_t>(m_bytes.size(), sparseSize);
    return true;
}

#pragma once

#include <cstdint>
#include <span>
#include <string>

// Writes the bytes as the whole file at path; false (and nothing promised about the file) when
// it cannot be written.
bool WriteBytes(const std::string& path, std::span<const std::uint8_t> bytes);

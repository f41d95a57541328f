#pragma once

// SHA-256 of a text, as the base64 a Content-Security-Policy hash source names it by.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

std::array<std::uint8_t, 32> Sha256(std::string_view bytes);
std::string Base64(const std::uint8_t* bytes, std::size_t size);

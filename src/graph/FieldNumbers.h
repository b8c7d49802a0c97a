#pragma once
#include <cstdint>
#include <string_view>

namespace zelsim {

// How the controller writes numbers in its sentence fields. Each reads from
// the start of the field and stops at the first character that does not
// belong to the number; an empty field reads 0. Nothing is range-checked:
// digits accumulate modulo 2^32 (2^16 for the 16-bit forms, 2^8 for bytes),
// as the controller's own 16- and 32-bit arithmetic does, and the sign
// applies to the whole.
namespace field_numbers {

// "[+-]digits[.d]": value x 10 plus the first decimal; further decimals ignored.
int32_t Tenths(std::string_view field);
// "[+-]digits[.dd]": value x 100 plus the decimals, one decimal counting x 10.
int32_t Hundredths(std::string_view field);
// "[+-]digits".
int16_t Integer16(std::string_view field);
// "[-]digits": a '+' is not a number.
int16_t Integer16Minus(std::string_view field);
// "[+-]digits".
int32_t Integer32(std::string_view field);
// "[-]digits".
int32_t Integer32Minus(std::string_view field);
// "digits".
uint32_t Unsigned32(std::string_view field);
// "digits", modulo 256.
uint8_t Byte(std::string_view field);
// Exactly two digits at the start, else 0.
int16_t Degrees2(std::string_view field);
// Exactly three digits at the start, else 0; kept modulo 256, as the byte
// they were always stored in holds them.
int16_t Degrees3(std::string_view field);
// "  digits.dddddd": minutes x 1,000,000 after any leading spaces; fewer
// decimals are padded with zeros, those past the sixth ignored.
int32_t Minutes(std::string_view field);

// The first character, 0 for an empty field.
constexpr char FirstCharacter(std::string_view field) {
    return field.empty() ? '\0' : field.front();
}

// Two's complement narrowing: a wider result kept in a 16- or 32-bit field
// wraps as it would there.
constexpr int16_t Wrap16(int64_t value) {
    return static_cast<int16_t>(static_cast<uint16_t>(value));
}
constexpr int32_t Wrap32(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

}  // namespace field_numbers
}  // namespace zelsim

#include "graph/FieldNumbers.h"

#include <cstddef>

namespace zelsim::field_numbers {

namespace {

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A number being read: where the reading stands, the value so far (modulo
// 2^32, so no input overflows) and its sign.
struct Reader {
    std::string_view field;
    size_t at = 0;
    uint32_t value = 0;
    bool negative = false;

    bool More() const { return at < field.size(); }
    char Next() const { return field[at]; }
    void Sign(bool plusAllowed) {
        if (!More()) return;
        if (Next() == '-') {
            negative = true;
            ++at;
        } else if (plusAllowed && Next() == '+') {
            ++at;
        }
    }
    void Digits() {
        while (More() && IsDigit(Next())) AddDigit();
    }
    void AddDigit() {
        value = value * 10u + static_cast<uint32_t>(Next() - '0');
        ++at;
    }
    // `places` decimals after a '.', missing ones counted as 0, further
    // ones skipped.
    void Decimals(int places) {
        const bool point = More() && Next() == '.';
        if (point) ++at;
        for (int i = 0; i < places; ++i) {
            if (point && More() && IsDigit(Next())) {
                AddDigit();
            } else {
                value *= 10u;
            }
        }
    }
    uint32_t Signed() const { return negative ? 0u - value : value; }
};

uint32_t Read(std::string_view field, bool plusAllowed, int decimals = -1) {
    Reader r{field};
    r.Sign(plusAllowed);
    r.Digits();
    if (decimals >= 0) r.Decimals(decimals);
    return r.Signed();
}

}  // namespace

int32_t Tenths(std::string_view field) {
    return Wrap32(Read(field, true, 1));
}

int32_t Hundredths(std::string_view field) {
    return Wrap32(Read(field, true, 2));
}

int16_t Integer16(std::string_view field) {
    return Wrap16(Read(field, true));
}

int16_t Integer16Minus(std::string_view field) {
    return Wrap16(Read(field, false));
}

int32_t Integer32(std::string_view field) {
    return Wrap32(Read(field, true));
}

int32_t Integer32Minus(std::string_view field) {
    return Wrap32(Read(field, false));
}

uint32_t Unsigned32(std::string_view field) {
    Reader r{field};
    r.Digits();
    return r.value;
}

uint8_t Byte(std::string_view field) {
    return static_cast<uint8_t>(Unsigned32(field));
}

namespace {
int16_t FixedDigits(std::string_view field, size_t count) {
    if (field.size() < count) return 0;
    int value = 0;
    for (size_t i = 0; i < count; ++i) {
        if (!IsDigit(field[i])) return 0;
        value = value * 10 + (field[i] - '0');
    }
    return static_cast<int16_t>(value);
}
}  // namespace

int16_t Degrees2(std::string_view field) {
    return FixedDigits(field, 2);
}

int16_t Degrees3(std::string_view field) {
    return static_cast<int16_t>(static_cast<uint8_t>(FixedDigits(field, 3)));
}

int32_t Minutes(std::string_view field) {
    Reader r{field};
    while (r.More() && r.Next() == ' ') ++r.at;
    r.Digits();
    r.Decimals(6);
    return Wrap32(r.value);
}

}  // namespace zelsim::field_numbers

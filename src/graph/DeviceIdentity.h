#pragma once
#include <cstddef>
#include <string_view>

namespace zelsim {

// What one device on the line says it is. The texts are kept in place with
// their terminators, cut to their limits, so a reply costs no allocation.
struct DeviceIdentity {
    static constexpr size_t kNameLimit = 19;
    static constexpr size_t kVersionLimit = 9;
    static constexpr size_t kSerialNumberLimit = 9;

    char name[kNameLimit + 1]{};
    char version[kVersionLimit + 1]{};
    char serialNumber[kSerialNumberLimit + 1]{};

    void Set(std::string_view newName, std::string_view newVersion,
             std::string_view newSerialNumber) {
        Assign(name, newName);
        Assign(version, newVersion);
        Assign(serialNumber, newSerialNumber);
    }
    void Clear() { Set({}, {}, {}); }

    std::string_view Name() const { return name; }
    std::string_view Version() const { return version; }
    std::string_view SerialNumber() const { return serialNumber; }

    bool operator==(const DeviceIdentity& other) const {
        return Name() == other.Name() && Version() == other.Version() &&
               SerialNumber() == other.SerialNumber();
    }

    // Cuts `text` to the array, terminator included; the rest of the array
    // is zeroed so equal texts are equal bytes.
    template <size_t N>
    static void Assign(char (&field)[N], std::string_view text) {
        const size_t length = text.size() < N - 1 ? text.size() : N - 1;
        for (size_t i = 0; i < N; ++i) field[i] = i < length ? text[i] : '\0';
    }
};

}  // namespace zelsim

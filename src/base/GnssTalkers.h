#pragma once
#include <array>
#include <cstddef>
#include <string_view>

namespace zelsim {

// The talkers of a GNSS receiver's standard sentences, in one place: the
// monitor takes them all for the receiver's own traffic and the GNSS
// decoder reads them all. A GPS-only receiver sends GP; a
// multi-constellation one sends GN for its combined solution and one
// talker per system for that system's satellites.
namespace gnss_talkers {

inline constexpr size_t kCount = 8;
inline constexpr size_t kLength = 2;
// GPS, combined, GLONASS, Galileo, BeiDou (both of its talkers), QZSS, NavIC.
inline constexpr std::array<std::string_view, kCount> kTalkers = {"GP", "GN", "GL", "GA",
                                                                  "GB", "BD", "GQ", "GI"};

// Index into kTalkers of the talker `address` begins with, or -1.
constexpr int IndexOf(std::string_view address) {
    const std::string_view talker = address.substr(0, kLength);
    for (size_t i = 0; i < kCount; ++i)
        if (talker == kTalkers[i]) return static_cast<int>(i);
    return -1;
}

}  // namespace gnss_talkers
}  // namespace zelsim

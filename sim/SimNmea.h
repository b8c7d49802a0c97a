#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace zelsim {

// The standard sentences a receiver streams once a second, describing the
// simulated vehicle at one moment: GGA, VTG and RMC, and when asked the GSA
// and the GSV set for the satellites it uses.
class SimNmea {
  public:
    struct Epoch {
        uint32_t elapsedMs;  // since the simulator started; also the UTC clock
        int satellites;      // in use (and the only ones in view)
        bool differential;   // DGPS corrections applied
    };
    struct Dilution {
        const char* position;
        const char* horizontal;
        const char* vertical;
    };

    static constexpr int kMostSatellites = 12;
    // The UTC the simulator's clock starts at: 2024-06-14 10:00:00.
    static constexpr int kStartYear = 2024;
    static constexpr unsigned kStartMonth = 6;
    static constexpr unsigned kStartDay = 14;
    static constexpr uint32_t kStartSecondOfDay = 10 * 3600;
    static constexpr double kMagneticVariationDeg = 3.4;  // east

    static void Fix(const Epoch& epoch, std::vector<std::string>& out);
    static void Satellites(const Epoch& epoch, std::vector<std::string>& out);

    // What the receiver's status screen and its GSA agree on.
    static Dilution DilutionFor(int satellites);
};

}  // namespace zelsim

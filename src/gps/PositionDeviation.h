#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace zelsim {

// How far a static receiver's fixes wander: the reference is the mean of
// the first `target` fixes, and the horizontal RMS error is taken over every
// fix counted, from its east and north distance to that reference in
// metres. Before the reference is complete, the mean of the fixes so far
// stands in for it.
class PositionDeviation {
  public:
    static constexpr uint32_t kSampleTarget = 600;

    struct Position {
        double latitude = 0;   // degrees, south negative
        double longitude = 0;  // degrees, west negative
    };

    void AddFix(double latitude, double longitude);
    // A new reference from the next fix on.
    void Reset();

    uint32_t Count() const { return count_; }
    uint32_t Target() const { return kSampleTarget; }
    std::optional<Position> Reference() const;
    std::optional<Position> Current() const;
    // Metres; none before the first fix.
    std::optional<double> RmsError() const;

    // "30° 34.123456' N" and "101° 59.123456' W", the degree sign as byte 176.
    static std::string LatitudeText(double degrees);
    static std::string LongitudeText(double degrees);
    // "0.00 m"
    static std::string MetresText(double metres);

  private:
    // Metres east and north of the first fix, on the ellipsoid's local
    // radii there: exact enough for the few metres a static receiver moves.
    struct Offset {
        double east = 0;
        double north = 0;
    };
    Offset ToOffset(double latitude, double longitude) const;
    Position FromOffset(Offset offset) const;

    uint32_t count_ = 0;
    Position origin_;
    Position current_;
    double metresPerDegreeNorth_ = 0;
    double metresPerDegreeEast_ = 0;
    // Sums over the first `target` fixes, from which their mean and their
    // spread about it follow.
    Offset sum_;
    double sumSquares_ = 0;
    // Squared distances of the fixes after the reference was complete.
    double laterSquares_ = 0;
};

}  // namespace zelsim

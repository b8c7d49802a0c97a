#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gnss/GnssDecoder.h"
#include "serial/SentenceFramer.h"
#include "support/GnssRead.h"

namespace zelsim {

namespace {

constexpr size_t kGP = 0, kGN = 1, kGL = 2;

class GnssDecoderTest : public ::testing::Test {
  protected:
    // One read of the line: the sentences, then the step after the read.
    void Read(std::initializer_list<std::string_view> sentences) {
        GnssRead(framer_, decoder_, 0, sentences);
    }

    std::vector<uint16_t> Prns(size_t talker) const {
        std::vector<uint16_t> prns;
        for (const SatelliteInView& sat : decoder_.SatellitesInView(talker))
            prns.push_back(sat.prn);
        return prns;
    }

    std::vector<uint16_t> UsedPrns(size_t talker) const {
        std::vector<uint16_t> prns;
        for (const SatelliteInView& sat : decoder_.SatellitesInView(talker))
            if (sat.used) prns.push_back(sat.prn);
        return prns;
    }

    SentenceFramer framer_;
    GnssDecoder decoder_;
};

constexpr const char* kGsv1 = "$GPGSV,3,1,10,01,25,070,31,07,13,130,,13,48,243,32,14,66,049,33";
constexpr const char* kGsv2 = "$GPGSV,3,2,10,15,32,280,35,17,73,154,34,19,49,193,38,21,15,043,20";
constexpr const char* kGsv3 = "$GPGSV,3,3,10,24,-2,310,19,30,41,131,36";

TEST_F(GnssDecoderTest, FixSentencesGiveSignedDegreesAndTheirValues) {
    Read({"$GPGGA,092750.250,5321.6802,S,00630.3372,W,2,08,1.03,61.7,M,55.2,M,,"});
    const GnssFix& fix = decoder_.Fix();
    EXPECT_EQ(fix.utcMs, (9 * 3600 + 27 * 60 + 50) * 1000u + 250);
    EXPECT_NEAR(*fix.latitude, -(53 + 21.6802 / 60), 1e-12);
    EXPECT_NEAR(*fix.longitude, -(6 + 30.3372 / 60), 1e-12);
    EXPECT_EQ(fix.quality, 2);
    EXPECT_EQ(fix.satellitesUsed, 8);
    EXPECT_DOUBLE_EQ(*fix.hdop, 1.03);
    EXPECT_DOUBLE_EQ(*fix.altitude, 61.7);
    EXPECT_TRUE(fix.valid);
    EXPECT_EQ(decoder_.FixCount(), 1u);

    Read({"$GNRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W,A"});
    EXPECT_NEAR(*fix.latitude, 48 + 7.038 / 60, 1e-12);
    EXPECT_NEAR(*fix.longitude, 11 + 31.0 / 60, 1e-12);
    EXPECT_DOUBLE_EQ(*fix.speedKnots, 22.4);
    EXPECT_DOUBLE_EQ(*fix.courseDegrees, 84.4);
    EXPECT_EQ(fix.utcMs, (12 * 3600 + 35 * 60 + 19) * 1000u);
    EXPECT_TRUE(fix.valid);
    EXPECT_EQ(decoder_.FixCount(), 1u) << "only GGA counts fixes";
}

TEST_F(GnssDecoderTest, LostFixKeepsTheLastPositionButIsNoLongerValid) {
    Read({"$GPGGA,120000,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"});
    Read({"$GPGGA,120001,,,,,0,00,,,M,,M,,"});
    EXPECT_FALSE(decoder_.Fix().valid);
    EXPECT_NEAR(*decoder_.Fix().latitude, 48 + 7.038 / 60, 1e-12);
    EXPECT_EQ(decoder_.FixCount(), 1u);

    // A quality claimed without a position is not counted either.
    Read({"$GPGGA,120002,,,,,1,08,0.9,545.4,M,46.9,M,,"});
    EXPECT_FALSE(decoder_.Fix().valid);
    EXPECT_EQ(decoder_.FixCount(), 1u);

    Read({"$GPRMC,120003,A,4807.038,N,01131.000,E,0.0,0.0,230394,,,A"});
    EXPECT_TRUE(decoder_.Fix().valid);
    Read({"$GPRMC,120004,V,4807.038,N,01131.000,E,0.0,0.0,230394,,,A"});
    EXPECT_FALSE(decoder_.Fix().valid);
    Read({"$GPRMC,120005,A,4807.038,N,01131.000,E,0.0,0.0,230394,,,N"});
    EXPECT_FALSE(decoder_.Fix().valid) << "mode N overrides the status";
}

TEST_F(GnssDecoderTest, UnreadableFieldsLeaveTheirValuesAsTheyWere) {
    Read({"$GPGGA,120000,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,",
          "$GPRMC,120000,A,4807.038,N,01131.000,E,5.5,90.0,230394,,,A"});
    const GnssFix good = decoder_.Fix();
    const uint32_t revision = decoder_.Revision();
    Read({
        "$GPGGA,250000,48x7.038,N,01131.000,E,z,1e1,inf,nan,M,,M,,",
        "$GPGGA,12000,4807.038,Q,01131.000,E,,-3,-1.0,1..2,M,,M,,",
        "$GPGGA,1200a0,4860.000,N,01131.000,E,,999,,,M,,M,,",  // 60 minutes
        "$GPGGA,120000.x,9100.000,N,01131.000,E,,,,,M,,M,,",   // beyond the pole
        "$GPGGA,120000,4807.038,N,18100.000,E,,,,,M,,M,,",     // beyond the date line
        "$GPGGA,120000,4807.038,N,-0131.000,E,,,,,M,,M,,",     // a sign and a hemisphere
        "$GPGGA,120000,4807.038,N,01131.000,,,,,,M,,M,,",      // no hemisphere
        // Numbers no receiver sends: 3e31 m up, and an HDOP past any sky.
        "$GPGGA,120000,,,,,,,1000000000000,30000000000000000000000000000000,M,,M,,",
        "$GPRMC,,X,,,,,-1,361,,,,",
        "$GPRMC,,Z,1e3,N,0,E,+1,NaN",
        "$GPGGA",
        "$GPRMC",
    });
    EXPECT_EQ(decoder_.Fix(), good);
    EXPECT_EQ(decoder_.Revision(), revision);
    EXPECT_EQ(decoder_.FixCount(), 1u);
}

TEST_F(GnssDecoderTest, GsvCycleIsShownWhenItsLastMessageArrives) {
    Read({kGsv1, kGsv2, kGsv3});
    const auto first = Prns(kGP);
    EXPECT_EQ(first, (std::vector<uint16_t>{1, 7, 13, 14, 15, 17, 19, 21, 24, 30}));
    const SatelliteInView& one = decoder_.SatellitesInView(kGP)[0];
    EXPECT_EQ(one.elevation, 25);
    EXPECT_EQ(one.azimuth, 70);
    EXPECT_EQ(one.snr, 31);
    EXPECT_EQ(decoder_.SatellitesInView(kGP)[1].snr, SatelliteInView::kUnset) << "not tracked";
    EXPECT_EQ(decoder_.SatellitesInView(kGP)[8].elevation, -2) << "below the horizon";
    EXPECT_EQ(decoder_.CyclesPublished(), 1u);

    // The next cycle's first messages leave the shown list alone.
    Read({"$GPGSV,2,1,05,02,10,100,20,03,20,200,30,04,30,300,40,05,40,040,45"});
    EXPECT_EQ(Prns(kGP), first);
    Read({"$GPGSV,2,2,05,06,50,050,50"});
    EXPECT_EQ(Prns(kGP), (std::vector<uint16_t>{2, 3, 4, 5, 6}));

    // A receiver that sees nothing says so with an empty cycle.
    Read({"$GPGSV,1,1,00"});
    EXPECT_TRUE(decoder_.SatellitesInView(kGP).empty());
    EXPECT_EQ(decoder_.CyclesPublished(), 3u);
}

TEST_F(GnssDecoderTest, BrokenCycleIsNeverShown) {
    Read({kGsv1, kGsv2, kGsv3});
    const auto shown = Prns(kGP);
    const uint32_t cycles = decoder_.CyclesPublished();

    Read({kGsv1, kGsv3});                                  // the second message lost
    Read({kGsv2, kGsv3});                                  // no first message
    Read({kGsv1, kGsv2, kGsv2, kGsv3});                    // one repeated
    Read({kGsv1, "$GPGSV,4,2,10,15,32,280,35", kGsv3});    // the total changed midway
    Read({kGsv1, "$GPGSV,3,2,10,15,32,280,35,1", kGsv3});  // another signal's message
    Read({kGsv1, "$GPGSV,x,2,10,15,32,280,35", kGsv3});    // unreadable numbering
    Read({"$GPGSV,3,4,10,15", "$GPGSV,0,0,00", "$GPGSV,3"});
    EXPECT_EQ(Prns(kGP), shown);
    EXPECT_EQ(decoder_.CyclesPublished(), cycles);

    // A first message always starts over, so one broken cycle costs one cycle.
    Read({kGsv1, kGsv2, kGsv1, kGsv2, kGsv3});
    EXPECT_EQ(decoder_.CyclesPublished(), cycles + 1);
}

TEST_F(GnssDecoderTest, UnreadableSatelliteFieldsAreLeftUnset) {
    Read({"$GLGSV,1,1,04,x,10,100,20,66,91,361,100,67,-1x,,,0,1,2,3"});
    const auto sats = decoder_.SatellitesInView(kGL);
    ASSERT_EQ(sats.size(), 2u) << "no PRN, no satellite; PRN 0 is none";
    EXPECT_EQ(sats[0].prn, 66);
    EXPECT_EQ(sats[0].elevation, SatelliteInView::kUnset);
    EXPECT_EQ(sats[0].azimuth, SatelliteInView::kUnset);
    EXPECT_EQ(sats[0].snr, SatelliteInView::kUnset);
    EXPECT_EQ(sats[1].prn, 67);
    EXPECT_EQ(sats[1].elevation, SatelliteInView::kUnset);
}

TEST_F(GnssDecoderTest, UsedFlagsFollowTheLatestGsaOfTheSatellitesSystem) {
    Read({"$GPGSA,A,3,01,13,,19,,,,,,,,,1.8,1.0,1.5", kGsv1, kGsv2, kGsv3});
    EXPECT_EQ(UsedPrns(kGP), (std::vector<uint16_t>{1, 13, 19}));

    const uint32_t revision = decoder_.Revision();
    Read({"$GPGSA,A,3,07,30,,,,,,,,,,,1.8,1.0,1.5"});
    EXPECT_EQ(UsedPrns(kGP), (std::vector<uint16_t>{7, 30})) << "without waiting for a cycle";
    EXPECT_EQ(decoder_.Revision(), revision + 1);

    // A GLONASS GSA leaves the GPS satellites alone.
    Read({"$GLGSV,1,1,02,65,10,100,20,07,20,200,30", "$GLGSA,A,3,65,,,,,,,,,,,,1.8,1.0,1.5"});
    EXPECT_EQ(UsedPrns(kGP), (std::vector<uint16_t>{7, 30}));
    EXPECT_EQ(UsedPrns(kGL), (std::vector<uint16_t>{65}));
}

TEST_F(GnssDecoderTest, CombinedTalkerFeedsFixAndNamesItsSystems) {
    Read({"$GNGGA,001043.00,4404.14036,N,12118.85961,W,1,12,0.98,1113.0,M,-21.3,M,,",
          "$GPGSV,1,1,02,07,20,200,30,13,30,300,40", "$GLGSV,1,1,02,70,10,100,20,71,20,200,30",
          // NMEA 4.10 names the system; older receivers leave it to the PRNs.
          "$GNGSA,A,3,13,,,,,,,,,,,,1.8,1.0,1.5,1", "$GNGSA,A,3,71,,,,,,,,,,,,1.8,1.0,1.5"});
    EXPECT_TRUE(decoder_.Fix().valid);
    EXPECT_NEAR(*decoder_.Fix().longitude, -(121 + 18.85961 / 60), 1e-12);
    EXPECT_DOUBLE_EQ(*decoder_.Fix().altitude, 1113.0);
    EXPECT_EQ(UsedPrns(kGP), (std::vector<uint16_t>{13}));
    EXPECT_EQ(UsedPrns(kGL), (std::vector<uint16_t>{71}));

    // A combined GSV splits by PRN the same way.
    Read({"$GNGSV,1,1,02,13,30,300,40,71,20,200,30"});
    EXPECT_EQ(UsedPrns(kGN), (std::vector<uint16_t>{13, 71}));
}

TEST_F(GnssDecoderTest, EachSignalKeepsItsOwnCycle) {
    Read({"$GPGSV,1,1,02,01,25,070,31,07,13,130,23,1", "$GPGSV,1,1,01,01,25,070,37,6"});
    EXPECT_EQ(Prns(kGP), (std::vector<uint16_t>{1, 7, 1}));
    Read({"$GPGSV,1,1,01,13,48,243,32,1"});
    EXPECT_EQ(Prns(kGP), (std::vector<uint16_t>{13, 1}));
    EXPECT_EQ(decoder_.SatellitesInView(kGP)[1].signalId, 6);
}

TEST_F(GnssDecoderTest, OverlongCycleIsCutAtItsCapacity) {
    std::vector<std::string> texts;
    for (int m = 1; m <= 20; ++m) {
        std::string text = "$GAGSV,20," + std::to_string(m) + ",80";
        for (int s = 0; s < 4; ++s) text += "," + std::to_string(m * 4 + s) + ",10,100,20";
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        ASSERT_EQ(framer_.ParseText(text), SentenceFramer::kSentenceReady);
        decoder_.SentenceFramed(framer_, 0);
    }
    EXPECT_EQ(decoder_.SatellitesInView(3).size(), GnssDecoder::kCycleCapacity);
    EXPECT_EQ(decoder_.SatellitesInView(3).back().prn, 4 + GnssDecoder::kCycleCapacity - 1);
}

TEST_F(GnssDecoderTest, RevisionMovesOncePerReadAndOnlyOnChange) {
    EXPECT_EQ(decoder_.Revision(), 0u);
    Read({"$GPGGA,120000,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,", kGsv1, kGsv2, kGsv3,
          "$GPGSA,A,3,01,13,,19,,,,,,,,,1.8,1.0,1.5"});
    EXPECT_EQ(decoder_.Revision(), 1u);
    Read({kGsv1, kGsv2, kGsv3, "$GPGSA,A,3,01,13,,19,,,,,,,,,1.8,1.0,1.5"});
    EXPECT_EQ(decoder_.Revision(), 1u) << "the same sky again";
    Read({kGsv1, kGsv2});
    EXPECT_EQ(decoder_.Revision(), 1u) << "half a cycle";
    Read({kGsv3});
    EXPECT_EQ(decoder_.Revision(), 1u);
    Read({"$GPGGA,120001,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"});
    EXPECT_EQ(decoder_.Revision(), 2u) << "a new epoch's time";
    Read({"$GPVTG,054.7,T,034.4,M,005.5,N,010.2,K", "$QZGSV,1,1,01,193,10,100,20", "$PKVTS,GGA"});
    EXPECT_EQ(decoder_.Revision(), 2u) << "not ours";
}

}  // namespace

}  // namespace zelsim

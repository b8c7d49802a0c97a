#include <gtest/gtest.h>

#include <string>

#include "base/GnssTalkers.h"
#include "monitor/MessageClassifier.h"

namespace zelsim {

namespace {

struct Case {
    const char* text;
    MessageCategory::Code expected;
};

void ExpectAll(std::initializer_list<Case> cases) {
    for (const Case& c : cases)
        EXPECT_EQ(MessageClassifier::ClassifyText(c.text), c.expected) << '"' << c.text << '"';
}

TEST(MessageClassifierTest, ProprietarySubTypesDecideBeforeTheAddress) {
    ExpectAll({
        {"$PKVTS,TXT,0,HELLO", MessageCategory::kZel},
        {"$PKVTS,TXX,1", MessageCategory::kZel},
        {"$PKVTS,CON,110", MessageCategory::kZel},
        // Light Bar and Dormalyn win over the screen and query families.
        {"$PKVTS,LBX", MessageCategory::kLightBar},
        {"$PKVTR,LBX,DML", MessageCategory::kLightBar},
        {"$PKVTQ,DML,SET1", MessageCategory::kDormalyn},
        {"$PKVTK,DML", MessageCategory::kDormalyn},
        // Any "PKVT" address counts as proprietary, even the bare prefix.
        {"$PKVT,LBX", MessageCategory::kLightBar},
        {"$PKVTX,DML", MessageCategory::kDormalyn},
        {"$PKV,DML", MessageCategory::kOther},
        {"$PKVTS,FOO", MessageCategory::kOther},
        {"$PKVTQ,TXT", MessageCategory::kOther},  // screen words only from the screen
        {"$PKVTK,3", MessageCategory::kZel},
        {"$PKVTD,1", MessageCategory::kZel},
        // Whole fields, case-sensitive.
        {"$PKVTS,txt", MessageCategory::kOther},
        {"$PKVTS,TXTX", MessageCategory::kOther},
        {"$pkvts,TXT", MessageCategory::kOther},
    });
}

TEST(MessageClassifierTest, IdentityTrafficIsDgpsOnlyForQueriesAndReplies) {
    ExpectAll({
        {"$PKVTR,RID,ZEL,1.0", MessageCategory::kDgps},
        {"$PKVTQ,RID", MessageCategory::kDgps},
        {"$PKVTS,RID", MessageCategory::kOther},
        {"$XXABC,ACK", MessageCategory::kDgps},
        {"$PKVTS,NAK", MessageCategory::kDgps},
        {"$ABC,KVT,1", MessageCategory::kDgps},
        {"$GPGGA,1,2", MessageCategory::kDgps},
        {"$GPRMC,", MessageCategory::kDgps},
    });
}

// A multi-constellation receiver's sentences are the receiver's traffic as
// a GPS-only one's are; an address that only looks like a talker is not.
TEST(MessageClassifierTest, EveryGnssTalkerIsTheReceiversTraffic) {
    for (std::string_view talker : gnss_talkers::kTalkers) {
        const std::string gga = "$" + std::string(talker) + "GGA";
        EXPECT_EQ(MessageClassifier::ClassifyText(gga + ",1"), MessageCategory::kDgps) << gga;
        EXPECT_EQ(MessageClassifier::ClassifyText(gga), MessageCategory::kShort) << gga;
        EXPECT_EQ(MessageClassifier::ClassifyOutgoing(gga + ",1"), MessageCategory::kOutGoing)
            << gga;
    }
    ExpectAll({
        {"$GNGSV,3,1,12", MessageCategory::kDgps},
        {"$BDGSA,A,3", MessageCategory::kDgps},
        {"$GN,1", MessageCategory::kDgps},  // a prefix, as GP always was
        {"$gnGGA,1", MessageCategory::kOther},
        {"$GXGGA,1", MessageCategory::kOther},
        {"$G,1", MessageCategory::kOther},
        {"$BGGGA,1", MessageCategory::kOther},
        {"$IIHDG,1", MessageCategory::kOther},
        // A receiver's sentence with a bad checksum stays Non-NMEA.
        {"$GNGGA,1*00", MessageCategory::kNonNmea},
    });
}

TEST(MessageClassifierTest, ShortAndBrokenTexts) {
    ExpectAll({
        {"", MessageCategory::kShort},
        {"$GPGGA", MessageCategory::kShort},
        {"$", MessageCategory::kShort},
        {"hello", MessageCategory::kNonNmea},
        // A checksum typed wrong is Non-NMEA, exactly as if it had been received.
        {"$GPGGA,1*00", MessageCategory::kNonNmea},
        {"$GPGGA,1*Z0", MessageCategory::kNonNmea},
        {"$GPGGA,1*4B", MessageCategory::kDgps},
        // Text in front of the "$" does not stop the sentence.
        {"junk $PKVTS,TXT,0", MessageCategory::kZel},
    });
}

TEST(MessageClassifierTest, PanelTrafficIsRecognisedOnlyWhenSent) {
    EXPECT_EQ(MessageClassifier::ClassifyOutgoing("$PKVTK,3"), MessageCategory::kOutZel);
    EXPECT_EQ(MessageClassifier::ClassifyText("$PKVTK,3"), MessageCategory::kZel);
    EXPECT_EQ(MessageClassifier::ClassifyOutgoing("$PKVTS,LCD,1"), MessageCategory::kOutZel);
    EXPECT_EQ(MessageClassifier::ClassifyOutgoing("$PKVTS,TXT,1"), MessageCategory::kOutGoing);
    EXPECT_EQ(MessageClassifier::ClassifyOutgoing("$PKVTK"), MessageCategory::kOutGoing);
    EXPECT_EQ(MessageClassifier::ClassifyOutgoing("$PKVTK,3*00"), MessageCategory::kOutGoing);
    EXPECT_EQ(MessageClassifier::ClassifyOutgoing("PKVTK,3"), MessageCategory::kOutGoing);
}

// The legend's order and colours are checked where they are drawn.
TEST(MessageClassifierTest, AnUnknownCategoryTakesTheColourOfOther) {
    EXPECT_EQ(MessageCategory::ColourOf(200), MessageCategory::ColourOf(MessageCategory::kOther));
}

}  // namespace

}  // namespace zelsim

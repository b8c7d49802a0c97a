#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "graph/RecordDecoder.h"
#include "graph/RecordSampler.h"
#include "serial/SentenceFramer.h"

namespace zelsim {
namespace {

constexpr const char* kPlt2 =
    "$PKVTR,DML,PLT2,1.5,-0.25,-2.0,4807.0385,N,01131.000,E,D,9,123.4,4470,35,3,1024,0,1";

class RecordDecoderTest : public ::testing::Test {
  protected:
    void Receive(const std::string& text) {
        ASSERT_EQ(framer_.ParseText(text), SentenceFramer::kSentenceReady) << text;
        if (framer_.Field(1) == "DML")
            graph_.DecodeDml(framer_, proprietary::RecordTypeOf(framer_.Field(2)));
        if (framer_.Field(1) == "RID") graph_.DecodeReceiverIdentity(framer_);
    }
    void ReceiveIdentity(const std::string& text, DeviceSlot slot) {
        ASSERT_EQ(framer_.ParseText(text), SentenceFramer::kSentenceReady) << text;
        graph_.DecodeDeviceIdentity(framer_, slot);
    }
    const DiagnosticRecord& R() const { return graph_.Latest(); }

    SentenceFramer framer_;
    RecordSampler graph_;
};

TEST_F(RecordDecoderTest, LiveRecordFillsTheGuidanceFieldsAndReversesTheSpeed) {
    Receive(kPlt2);
    EXPECT_EQ(R().waTenthDeg, 15);
    EXPECT_EQ(R().offErrCM, -25);
    EXPECT_EQ(R().angErrTenthsDeg, -20);
    EXPECT_EQ(R().latDeg, 48);
    EXPECT_EQ(R().latUMin, 7038500);
    EXPECT_EQ(R().lonDeg, 11);
    EXPECT_EQ(R().lonUMin, 31000000);
    EXPECT_EQ(R().rMd, 'D');
    EXPECT_EQ(R().sats, 9);
    EXPECT_EQ(R().cogTenthsDeg, 1234);
    EXPECT_EQ(R().solOut, 35);
    EXPECT_EQ(R().strMode, 3);
    EXPECT_EQ(R().spsCur, 1024);
    EXPECT_EQ(R().yawRateFlag, '0');
    EXPECT_EQ(R().reverseFlag, '1');
    EXPECT_EQ(R().sogMmPerSec, -4470);
    EXPECT_EQ(R().sogTenthsMph, -99);  // 4470 x 1000 / 44704 truncates to 99
}

TEST_F(RecordDecoderTest, ShortLiveRecordsAndUnknownTypesChangeNothing) {
    Receive(kPlt2);
    const DiagnosticRecord before = R();
    Receive("$PKVTR,DML,PLT2,2.5,-0.5,-3.0,4907.0385,S,01231.000,W,R,8,99.9");  // 13 fields
    Receive("$PKVTR,DML,PLT,2.5,-0.5,-3.0,4907.0385,S,01231.000,W,R,8,99.9");
    Receive("$PKVTR,DML,PLT4,2.5,-0.5,-3.0,4907.0385,S,01231.000,W,R,8,99.9,100,1,2,3,4,5");
    Receive("$PKVTR,DML,set1,1,2,3,4,5,6,7,8,9,10,11");
    Receive("$PKVTR,DML,SET,1,2,3,4,5,6,7,8,9,10,11");
    EXPECT_EQ(R(), before);
}

TEST_F(RecordDecoderTest, HemispheresNegateBothPartsAndMissingTrailingFieldsReadZero) {
    Receive(kPlt2);
    // 14 fields: everything after the speed is absent.
    Receive("$PKVTR,DML,PLT2,3276.8,0,0,3330.5,S,15112.25,W,,0,0,100");
    EXPECT_EQ(R().waTenthDeg, -32768);  // wraps in its 16 bits
    EXPECT_EQ(R().latDeg, -33);
    EXPECT_EQ(R().latUMin, -30500000);
    EXPECT_EQ(R().lonDeg, -151);
    EXPECT_EQ(R().lonUMin, -12250000);
    EXPECT_EQ(R().rMd, '\0');
    EXPECT_EQ(R().sogMmPerSec, 100);
    EXPECT_EQ(R().solOut, 0);
    EXPECT_EQ(R().strMode, 0);
    EXPECT_EQ(R().spsCur, 0);
    EXPECT_EQ(R().yawRateFlag, '0');
    EXPECT_EQ(R().reverseFlag, '0');

    // A bad degree costs the degrees only; a field too short to hold them
    // reads nothing beyond itself.
    Receive("$PKVTR,DML,PLT2,0,0,0,4x07.5,N,1,E,D,9,0,0,0,0,0,1");
    EXPECT_EQ(R().latDeg, 0);
    EXPECT_EQ(R().latUMin, 7500000);
    EXPECT_EQ(R().lonDeg, 0);
    EXPECT_EQ(R().lonUMin, 0);
    EXPECT_EQ(R().yawRateFlag, '1');
}

TEST_F(RecordDecoderTest, OldLiveRecordTakesKnotsAndLeavesTheMillimetresAndFlags) {
    Receive(kPlt2);
    Receive("$PKVTR,DML,PLT,1.5,-0.25,-2.0,4807.0385,N,01131.000,E,D,9,123.4,10.00,35,3,1024,1,0");
    EXPECT_EQ(R().sogTenthsMph, 115);  // 1000 x 65536 / 569878
    EXPECT_EQ(R().sogMmPerSec, -4470);
    EXPECT_EQ(R().yawRateFlag, '0');
    EXPECT_EQ(R().reverseFlag, '1');
    Receive("$PKVTR,DML,PLT,0,0,0,0,N,0,E,D,9,0,-10.00,0,0,0");
    EXPECT_EQ(R().sogTenthsMph, -115);  // truncated toward zero
}

TEST_F(RecordDecoderTest, SpeedsBeyondAnyVehicleStayDefined) {
    // The 32-bit millimetres wrap; the conversion is worked out in full
    // and kept in 16 bits.
    Receive("$PKVTR,DML,PLT2,0,0,0,0,N,0,E,D,9,0,4294967295,0,0,0,0,0");
    EXPECT_EQ(R().sogMmPerSec, -1);
    EXPECT_EQ(R().sogTenthsMph, -94);  // 96075682 in 16 bits
    EXPECT_EQ(record_decoder::TenthsMphFromHundredthsKnot(std::numeric_limits<int32_t>::min()),
              -246960732);
}

TEST_F(RecordDecoderTest, FilterRecordWidensEachValueWithItsSign) {
    Receive("$PKVTR,DML,PLT3,5,-250,300,-5,+7,40000");
    EXPECT_EQ(R().draftFilterActive, 1);
    EXPECT_EQ(R().spsDeltaAlphaHunds, -250);
    EXPECT_EQ(R().vtgWheelAngleHunds, 300);
    EXPECT_EQ(R().ModeFilterHunds, -5);
    EXPECT_EQ(R().draftFilterHunds, 7);
    EXPECT_EQ(R().Rev2WATenths, -25536);
    Receive("$PKVTR,DML,PLT3,0,1");
    EXPECT_EQ(R().draftFilterActive, 0);
    EXPECT_EQ(R().spsDeltaAlphaHunds, 1);
    EXPECT_EQ(R().Rev2WATenths, 0);
}

TEST_F(RecordDecoderTest, FirstSettingsBlockIsScaledOnlyInItsOlderForm) {
    Receive("$PKVTR,DML,SET1,2,15,99,10,20,30,40,50,60,70,45");
    EXPECT_EQ(R().spsZCtrl, 2);
    EXPECT_EQ(R().spsOffset, 150);
    EXPECT_EQ(R().dTmMs, 100);
    EXPECT_EQ(R().olDeadBand, 200);
    EXPECT_EQ(R().olTonLen, 3000);
    EXPECT_EQ(R().laDeadBand, 400);
    EXPECT_EQ(R().laTonLen, 5000);
    EXPECT_EQ(R().whBas, 6000);
    EXPECT_EQ(R().minTurnRad, 7000);
    EXPECT_EQ(R().maxStrRat, 45);
    EXPECT_EQ(R().firstRsp, 0);

    Receive("$PKVTR,DML,SET12,2,15,10,20,30,40,50,60,70,45");
    EXPECT_EQ(R().spsOffset, 15);
    EXPECT_EQ(R().dTmMs, 10);
    EXPECT_EQ(R().olDeadBand, 20);
    EXPECT_EQ(R().olTonLen, 30);
    EXPECT_EQ(R().laDeadBand, 40);
    EXPECT_EQ(R().laTonLen, 50);
    EXPECT_EQ(R().whBas, 60);
    EXPECT_EQ(R().minTurnRad, 70);
    EXPECT_EQ(R().maxStrRat, 45);

    // Scaling wraps in the field's width.
    Receive("$PKVTR,DML,SET1,0,-300000000,0,4000");
    EXPECT_EQ(R().spsOffset, 1294967296);
    EXPECT_EQ(R().dTmMs, -25536);
}

TEST_F(RecordDecoderTest, SecondSettingsBlockMarksTheSettingsArrived) {
    Receive("$PKVTR,DML,SET22,20480,10240,0,2,150,10,90,50,5,-120,130,98");
    EXPECT_TRUE(graph_.SettingsArrived());
    EXPECT_EQ(R().spsLSet, 20480);
    EXPECT_EQ(R().spsCSet, 10240);
    EXPECT_EQ(R().solCType, 2);
    EXPECT_EQ(R().solPwm, 50);
    EXPECT_EQ(R().cogFSmpls, 5);
    EXPECT_EQ(R().srmLeft, -120);
    EXPECT_EQ(R().srmRight, 130);
    EXPECT_EQ(R().dTmActMs, 98);

    graph_.Show();  // a newly opened window waits for the next answer
    EXPECT_FALSE(graph_.SettingsArrived());
    Receive("$PKVTR,DML,SET2,1,2,3,1,4,5,6,7");
    EXPECT_TRUE(graph_.SettingsArrived());
    EXPECT_EQ(R().spsLSet, 1);
    EXPECT_EQ(R().solPwm, 7);
    EXPECT_EQ(R().cogFSmpls, 5);
    EXPECT_EQ(R().srmLeft, -120);
    EXPECT_EQ(R().srmRight, 130);
    EXPECT_EQ(R().dTmActMs, 98);
}

TEST_F(RecordDecoderTest, IdentitiesFillTheirSlotFromTheDevicesSerialField) {
    ReceiveIdentity("$PKVTR,DID,Dormalyn AS1,2.10,x,y,DM0042", DeviceSlot::kController);
    ReceiveIdentity("$PKVTR,DID,LB200,1.4,LB7,y,z", DeviceSlot::kLightbar);
    Receive("$PKVTR,RID,Corvane R5,3.2.1,x,y,RX99");
    const DeviceIdentities& ids = graph_.Identities();
    EXPECT_TRUE(ids.Changed());
    EXPECT_EQ(ids.Live(DeviceSlot::kController).Name(), "Dormalyn AS1");
    EXPECT_EQ(ids.Live(DeviceSlot::kController).Version(), "2.10");
    EXPECT_EQ(ids.Live(DeviceSlot::kController).SerialNumber(), "DM0042");
    EXPECT_EQ(ids.Live(DeviceSlot::kLightbar).SerialNumber(), "LB7");
    EXPECT_EQ(ids.Live(DeviceSlot::kReceiver).Name(), "Corvane R5");
    EXPECT_EQ(ids.Live(DeviceSlot::kReceiver).SerialNumber(), "RX99");

    // Cut to 19, 9 and 9; a reply too short for its serial number gives an
    // empty one.
    ReceiveIdentity("$PKVTR,DID,Dormalyn AutoSteer Pro 2,1234567890ab,x,y,SN-123456789",
                    DeviceSlot::kController);
    Receive("$PKVTR,RID,Corvane,1.0,x");
    EXPECT_EQ(ids.Live(DeviceSlot::kController).Name(), "Dormalyn AutoSteer ");
    EXPECT_EQ(ids.Live(DeviceSlot::kController).Version(), "123456789");
    EXPECT_EQ(ids.Live(DeviceSlot::kController).SerialNumber(), "SN-123456");
    EXPECT_EQ(ids.Live(DeviceSlot::kReceiver).SerialNumber(), "");
    // Nothing shown until a record is appended.
    EXPECT_EQ(ids.Displayed(DeviceSlot::kController), DeviceIdentity{});
}

}  // namespace
}  // namespace zelsim

#pragma once
#include <cstdint>

#include "graph/DeviceIdentities.h"
#include "graph/DiagnosticRecord.h"

namespace zelsim {

class SentenceFramer;

// The controller's replies, decoded field by field into the
// latest-values record: each writes only the fields its reply carries, so
// the record keeps the last value of everything. Field 0 is the address,
// 1 the controller's word, 2 the record type the caller has matched. A field
// past the end of the sentence reads as empty, that is 0. Constant work, no
// allocation: they run for every record on the line.
namespace record_decoder {

// Live records need every field up to the speed.
inline constexpr uint8_t kLiveRecordFields = 14;

// The live record (proprietary::kLiveRecord); nothing when it has fewer
// than kLiveRecordFields.
void DecodePlt2(SentenceFramer& sentence, DiagnosticRecord& record);
// The older live record (kOldLiveRecord): speed in knots, no flags.
void DecodePlt(SentenceFramer& sentence, DiagnosticRecord& record);
// The filter values (kFilterRecord).
void DecodePlt3(SentenceFramer& sentence, DiagnosticRecord& record);
// The first settings block in the record's units (kFirstSettingsNow).
void DecodeSet12(SentenceFramer& sentence, DiagnosticRecord& record);
// The same block in the older, coarser units (kFirstSettings).
void DecodeSet1(SentenceFramer& sentence, DiagnosticRecord& record);
// The second settings block (kSecondSettingsNow); sets firstRsp.
void DecodeSet22(SentenceFramer& sentence, DiagnosticRecord& record);
// The second block without its four newer values (kSecondSettings); sets
// firstRsp.
void DecodeSet2(SentenceFramer& sentence, DiagnosticRecord& record);
// Device and receiver identity replies: name in field 2, version in field
// 3, the serial number where the slot's device puts it (4 for a lightbar,
// else 6).
void DecodeIdentity(SentenceFramer& sentence, DeviceSlot slot, DeviceIdentities& identities);

// Speed conversions to tenths of a mile per hour, truncating toward zero.
// Worked out in 64 bits, so no speed overflows on the way; the caller keeps
// the result in its 16-bit field.
int32_t TenthsMphFromMmPerSec(uint32_t mmPerSec);
int32_t TenthsMphFromHundredthsKnot(int32_t hundredthsKnot);

}  // namespace record_decoder
}  // namespace zelsim

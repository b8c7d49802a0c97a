#pragma once
#include <string_view>

namespace zelsim {

// The proprietary sentence set of the line, in one place: the addresses and
// words the program recognises and the sentences it sends. Received
// sentences are compared whole, field by field; sent ones get "*", the
// checksum and CR LF from the main cycle.
namespace proprietary {

// Addresses (field 0).
inline constexpr std::string_view kContrast = "PKVTC";  // panel contrast and back light
inline constexpr std::string_view kLcdBytes = "PKVTD";  // raw LCD controller bytes
inline constexpr std::string_view kScreen = "PKVTS";    // panel screen
inline constexpr std::string_view kQuery = "PKVTQ";     // a query, to us or from us
inline constexpr std::string_view kReply = "PKVTR";     // a device's reply
inline constexpr std::string_view kKeyMask = "PKVTK";   // keys held down, sent by us

// Field 1 of queries and replies.
inline constexpr std::string_view kDeviceId = "DID";
inline constexpr std::string_view kReceiverId = "RID";
inline constexpr std::string_view kController = "DML";

// Field 2 of the controller's replies.
inline constexpr std::string_view kFirstSettings = "SET1";
inline constexpr std::string_view kFirstSettingsNow = "SET12";
inline constexpr std::string_view kSecondSettings = "SET2";
inline constexpr std::string_view kSecondSettingsNow = "SET22";

// Device names (field 2 of "DID" replies), matched at their start.
inline constexpr std::string_view kControllerNamePrefix = "Dormalyn";
inline constexpr std::string_view kLightbarNamePrefix = "L";
inline constexpr std::string_view kOtherLightbarNamePrefix = "QTN";

// What we send.
inline constexpr const char* kOwnIdentityFormat = "$PKVTR,DID,%s,v%s";
inline constexpr const char* kOwnName = "ZEL Simulator";
inline constexpr std::string_view kFirstSettingsQuery = "$PKVTQ,DML,SET1";
inline constexpr std::string_view kSecondSettingsQuery = "$PKVTQ,DML,SET2";
inline constexpr std::string_view kDiscoveryRequest = "$PKVTQ,DML,DID_REQUEST";
// The panel keys held down, one hexadecimal digit.
inline constexpr const char* kKeyMaskFormat = "$PKVTK,%01X";
// Asks a receiver to mirror its LCD on the line.
inline constexpr std::string_view kLcdOnRequest = "$PKVTS,LCD,ON";
inline constexpr std::string_view kReceiverIdQuery = "$PKVTQ,RID";

}  // namespace proprietary
}  // namespace zelsim

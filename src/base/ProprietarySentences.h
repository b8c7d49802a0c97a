#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zelsim {

// The proprietary sentence set of the line, in one place: the addresses and
// words every subsystem recognises, the sentences the program sends, and
// the table that tells who takes a received sentence. Received sentences
// are compared whole, field by field; sent ones get "*", the checksum and
// CR LF from the main cycle.
namespace proprietary {

// Addresses (field 0).
inline constexpr std::string_view kFamily = "PKVT";     // what every address starts with
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
inline constexpr std::string_view kLightbar = "LBX";

// Field 1 of screen sentences.
inline constexpr std::string_view kClearScreen = "CLR";
inline constexpr std::string_view kText = "TXT";
inline constexpr std::string_view kEscapedText = "TXX";  // "\hh" stands for byte hh
inline constexpr std::string_view kScreenContrast = "CON";
inline constexpr std::string_view kBackLight = "BKL";
inline constexpr std::string_view kMirrorLcd = "LCD";  // sent by us
// Field 2 of back-light and mirror sentences (a leading 1 or 0 does too).
inline constexpr std::string_view kOn = "ON";
inline constexpr std::string_view kOff = "OFF";

// Field 2 of the controller's replies: the record types.
inline constexpr std::string_view kLiveRecord = "PLT2";
inline constexpr std::string_view kOldLiveRecord = "PLT";
inline constexpr std::string_view kFilterRecord = "PLT3";
inline constexpr std::string_view kFirstSettings = "SET1";
inline constexpr std::string_view kFirstSettingsNow = "SET12";
inline constexpr std::string_view kSecondSettings = "SET2";
inline constexpr std::string_view kSecondSettingsNow = "SET22";
inline constexpr std::string_view kDiscovery = "DID_REQUEST";  // sent by us

// Device names (field 2 of "DID" replies), matched at their start.
inline constexpr std::string_view kControllerNamePrefix = "Dormalyn";
inline constexpr std::string_view kLightbarNamePrefix = "L";
inline constexpr std::string_view kOtherLightbarNamePrefix = "QTN";

// The DGPS receiver's answers, which the monitor tells apart by field 1
// (its standard sentences by their talker, base/GnssTalkers.h).
inline constexpr std::string_view kDgpsWords[] = {"PAR", "RAD", "ACK", "NAK", "KVT"};

namespace detail {
inline constexpr std::string_view kStart = "$";
inline constexpr std::string_view kComma = ",";
inline constexpr std::string_view kName = "%s";
inline constexpr std::string_view kVersion = "v%s";
inline constexpr std::string_view kHexDigit = "%01X";

// The parts one after the other, NUL-terminated for the formats, built
// while compiling so that what we send spells no name a second time.
template <const std::string_view&... Parts>
struct Joined {
    static constexpr auto kChars = [] {
        std::array<char, (Parts.size() + ... + 1)> out{};
        size_t at = 0;
        for (std::string_view part : {Parts...})
            for (char c : part) out[at++] = c;
        return out;
    }();
    static constexpr std::string_view kText{kChars.data(), kChars.size() - 1};
};
}  // namespace detail

// What we send.
inline constexpr const char* kOwnIdentityFormat =
    detail::Joined<detail::kStart, kReply, detail::kComma, kDeviceId, detail::kComma, detail::kName,
                   detail::kComma, detail::kVersion>::kChars.data();
inline constexpr const char* kOwnName = "ZEL Simulator";
inline constexpr std::string_view kFirstSettingsQuery =
    detail::Joined<detail::kStart, kQuery, detail::kComma, kController, detail::kComma,
                   kFirstSettings>::kText;
inline constexpr std::string_view kSecondSettingsQuery =
    detail::Joined<detail::kStart, kQuery, detail::kComma, kController, detail::kComma,
                   kSecondSettings>::kText;
inline constexpr std::string_view kDiscoveryRequest =
    detail::Joined<detail::kStart, kQuery, detail::kComma, kController, detail::kComma,
                   kDiscovery>::kText;
// The panel keys held down, one hexadecimal digit.
inline constexpr const char* kKeyMaskFormat =
    detail::Joined<detail::kStart, kKeyMask, detail::kComma, detail::kHexDigit>::kChars.data();
// Asks a receiver to mirror its LCD on the line.
inline constexpr std::string_view kLcdOnRequest =
    detail::Joined<detail::kStart, kScreen, detail::kComma, kMirrorLcd, detail::kComma, kOn>::kText;
inline constexpr std::string_view kReceiverIdQuery =
    detail::Joined<detail::kStart, kQuery, detail::kComma, kReceiverId>::kText;
// Asks the devices on the line who they are; the controller's bootloader
// answers it too.
inline constexpr std::string_view kDeviceIdQuery =
    detail::Joined<detail::kStart, kQuery, detail::kComma, kDeviceId>::kText;

// Who takes a received sentence. Base cannot reach the parts, so it names
// them; the responder turns each into a call.
enum class SentenceHandler : uint8_t {
    kPanelContrast,
    kPanelBytes,
    kPanelScreen,
    kOwnIdentityQuery,
    kDeviceIdentity,
    kReceiverIdentity,
    kControllerRecord,
};

struct SentenceRow {
    std::string_view address;
    std::string_view subType;  // field 1; empty takes any
    // Fewer fields than this and the handler could do nothing with the
    // sentence, so it is not called.
    uint8_t minimumFields;
    SentenceHandler handler;
};

// Every received sentence the program acts on. The panel checks each
// screen command's own fields itself; a controller record needs its type.
inline constexpr SentenceRow kReceived[] = {
    {kContrast, {}, 2, SentenceHandler::kPanelContrast},
    {kLcdBytes, {}, 2, SentenceHandler::kPanelBytes},
    {kScreen, {}, 2, SentenceHandler::kPanelScreen},
    {kQuery, kDeviceId, 2, SentenceHandler::kOwnIdentityQuery},
    {kReply, kDeviceId, 2, SentenceHandler::kDeviceIdentity},
    {kReply, kReceiverId, 2, SentenceHandler::kReceiverIdentity},
    {kReply, kController, 3, SentenceHandler::kControllerRecord},
};

// The row for a sentence's first two fields, or nullptr when the program
// leaves the sentence to the devices on the line.
constexpr const SentenceRow* Lookup(std::string_view address, std::string_view subType) {
    for (const SentenceRow& row : kReceived)
        if (row.address == address && (row.subType.empty() || row.subType == subType)) return &row;
    return nullptr;
}

// The controller's record types, decided once from field 2 and handed on.
enum class RecordType : uint8_t {
    kUnknown,
    kLive,
    kOldLive,
    kFilters,
    kFirstSettings,
    kFirstSettingsNow,
    kSecondSettings,
    kSecondSettingsNow,
};

struct RecordRow {
    std::string_view word;
    RecordType type;
};

inline constexpr RecordRow kRecordTypes[] = {
    {kLiveRecord, RecordType::kLive},
    {kOldLiveRecord, RecordType::kOldLive},
    {kFilterRecord, RecordType::kFilters},
    {kFirstSettings, RecordType::kFirstSettings},
    {kFirstSettingsNow, RecordType::kFirstSettingsNow},
    {kSecondSettings, RecordType::kSecondSettings},
    {kSecondSettingsNow, RecordType::kSecondSettingsNow},
};

constexpr RecordType RecordTypeOf(std::string_view word) {
    for (const RecordRow& row : kRecordTypes)
        if (row.word == word) return row.type;
    return RecordType::kUnknown;
}

// Either form of a settings block: the older units or the record's own.
constexpr bool IsFirstSettings(RecordType type) {
    return type == RecordType::kFirstSettings || type == RecordType::kFirstSettingsNow;
}
constexpr bool IsSecondSettings(RecordType type) {
    return type == RecordType::kSecondSettings || type == RecordType::kSecondSettingsNow;
}

}  // namespace proprietary
}  // namespace zelsim

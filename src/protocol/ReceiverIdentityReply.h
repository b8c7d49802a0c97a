#pragma once
#include <string>

namespace zelsim {

// The receiver's last identity reply, as receiver acquisition reads it: the
// responder sets `received` for every reply, in any state, and acquisition
// clears it when it asks again.
struct ReceiverIdentityReply {
    static constexpr size_t kTextLimit = 19;

    bool received = false;
    std::string name;
    std::string version;
    std::string serialNumber;
};

}  // namespace zelsim

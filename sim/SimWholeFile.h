#pragma once
#include <string>

namespace zelsim {

// Writes `content` to `path` whole or not at all: a temporary file beside it,
// renamed over it. False, with `error` set, when it fails; nothing is left behind.
bool WriteWholeFile(const std::string& path, const std::string& content, std::string& error);

}  // namespace zelsim

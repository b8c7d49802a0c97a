#pragma once

namespace zelsim {

// The unit whose panel is simulated: what the main window shows and how the
// keyboard arrows map to panel keys.
enum class ZelType { Off, Dormalyn, Corvane };

}  // namespace zelsim

#pragma once
#include <QString>
#include <string>
#include <string_view>

namespace zelsim {

// Core keeps texts as bytes. What the user types into the program (button
// captions, script lines, sent text) is one byte a character, Latin-1, as
// the settings file has always held script lines (176 is the degree sign).
// File names and the system's messages come as UTF-8. A text is shown as
// UTF-8 when it is valid UTF-8 and as Latin-1 otherwise: a lone 176 is
// never valid UTF-8, and Latin-1 text that happens to be is rare.
QString ShownText(std::string_view bytes);

// One character a byte, Latin-1: the controls' names and the line's own
// bytes (the send box, a script's lines in its editor), which are shown as
// they will be sent.
QString Latin1Text(std::string_view bytes);

// A text the user typed, as core and the settings file keep it: Latin-1; a
// character outside Latin-1 becomes "?".
std::string TypedText(const QString& text);

}  // namespace zelsim

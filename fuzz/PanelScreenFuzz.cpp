// The receiver's screen sentences with arbitrary fields reach the panel
// screen the way the responder hands them over. Nothing may crash, no
// sentence may write where its kind never writes, the cursor, the glyph
// address and the contrast stay in their ranges, and every cell whose
// picture must change is marked for the window. Each input line is one
// sentence body; a line that does not name a screen address gets one from
// its first byte, so the fuzzer need not find the addresses itself.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "panel/PanelFont.h"
#include "panel/PanelScreen.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

namespace {
namespace mw = main_window;

constexpr size_t kLineLimit = 700;  // past the framer's body, on purpose
constexpr std::string_view kAddresses[] = {"PKVTS,", "PKVTC,", "PKVTD,"};
constexpr uint8_t kGuard = 0xA5;

// What a sentence may change, kept before it is handled.
struct Snapshot {
    explicit Snapshot(const PanelScreen& s) {
        for (int cell = 0; cell < PanelScreen::kCells; ++cell) {
            code[cell] = s.Code(cell);
            drawnCode[cell] = s.DrawnCode(cell);
            drawnGlyph[cell] = s.DrawnGlyph(cell);
        }
        for (int g = 0; g < PanelScreen::kCustomGlyphs; ++g) glyphs[g] = s.CustomGlyph(g);
        textMode = s.TextMode();
        glyphAddress = s.GlyphAddress();
        cursorRow = s.CursorRow();
        cursorColumn = s.CursorColumn();
    }
    bool SameText(const PanelScreen& s) const {
        for (int cell = 0; cell < PanelScreen::kCells; ++cell)
            if (s.Code(cell) != code[cell] || s.DrawnCode(cell) != drawnCode[cell] ||
                s.DrawnGlyph(cell) != drawnGlyph[cell])
                return false;
        return s.CursorRow() == cursorRow && s.CursorColumn() == cursorColumn;
    }
    bool SameGlyphMemory(const PanelScreen& s) const {
        for (int g = 0; g < PanelScreen::kCustomGlyphs; ++g)
            if (s.CustomGlyph(g) != glyphs[g]) return false;
        return s.TextMode() == textMode && s.GlyphAddress() == glyphAddress;
    }

    uint8_t code[PanelScreen::kCells];
    uint8_t drawnCode[PanelScreen::kCells];
    GlyphRows drawnGlyph[PanelScreen::kCells];
    GlyphRows glyphs[PanelScreen::kCustomGlyphs];
    bool textMode;
    int glyphAddress, cursorRow, cursorColumn;
};

// The screen between two guards, so that a write past either end of its
// state is seen even where no sanitizer looks.
struct GuardedScreen {
    explicit GuardedScreen(ControlTable& controls) : screen(controls) {
        for (uint8_t& b : before) b = kGuard;
        for (uint8_t& b : after) b = kGuard;
    }
    bool GuardsIntact() const {
        for (uint8_t b : before)
            if (b != kGuard) return false;
        for (uint8_t b : after)
            if (b != kGuard) return false;
        return true;
    }
    uint8_t before[64];
    PanelScreen screen;
    uint8_t after[64];
};

bool IsStoredByScreenText(uint8_t code) {
    return code < 8 || (code >= 32 && code != 127);
}

void Check(const PanelScreen& s, const ControlTable& controls, const Snapshot& was,
           uint32_t dirty) {
    Require(s.CursorRow() == 0 || s.CursorRow() == 1, "cursor row outside the two rows");
    Require(s.CursorColumn() >= 0 && s.CursorColumn() <= 15, "cursor column outside 0..15");
    Require(s.GlyphAddress() >= 0 && s.GlyphAddress() <= 64, "glyph address outside 0..64");
    Require(s.Contrast() >= PanelScreen::kContrastMin && s.Contrast() <= PanelScreen::kContrastMax,
            "contrast outside 55..254");
    Require(controls.Get(mw::pbContrast).position == s.Contrast(),
            "the bar shows another contrast");
    Require(controls.Get(mw::lBackLight).visible == s.BackLight(), "the label shows another state");
    for (int cell = 0; cell < PanelScreen::kCells; ++cell) {
        const uint8_t code = s.Code(cell);
        Require(s.DrawnCode(cell) == code, "a written cell was not refreshed");
        if (code >= 32)
            Require(s.DrawnGlyph(cell) == PanelFont::Fixed(code), "a cell shows another character");
        const bool pictureChanged = s.DrawnCode(cell) != was.drawnCode[cell] &&
                                    (code < 8 || code >= 32) &&
                                    s.DrawnGlyph(cell) != was.drawnGlyph[cell];
        if (pictureChanged) Require((dirty >> cell) & 1u, "a changed cell is not marked");
    }
}

}  // namespace

}  // namespace zelsim

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zelsim;
    ControlTable controls;
    auto guarded = std::make_unique<GuardedScreen>(controls);
    PanelScreen& screen = guarded->screen;
    screen.TakeDirtyCells();
    SentenceFramer framer;
    std::string sentence;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    size_t at = 0;
    while (at < input.size()) {
        size_t end = input.find('\n', at);
        if (end == std::string_view::npos) end = input.size();
        std::string_view body = input.substr(at, std::min(end - at, kLineLimit));
        at = end + 1;
        sentence.assign("$");
        if (body.substr(0, 4) != "PKVT" && !body.empty()) {
            sentence.append(kAddresses[static_cast<uint8_t>(body[0]) % 3]);
            body.remove_prefix(1);
        }
        sentence.append(body);
        if (framer.ParseText(sentence) != SentenceFramer::kSentenceReady) continue;

        const Snapshot was(screen);
        const std::string_view address = framer.Field(0);
        if (address == "PKVTS") {
            screen.HandleScreenSentence(framer);
            Require(was.SameGlyphMemory(screen), "a screen sentence touched the glyph memory");
            for (int cell = 0; cell < PanelScreen::kCells; ++cell)
                if (screen.Code(cell) != was.code[cell])
                    Require(IsStoredByScreenText(screen.Code(cell)),
                            "screen text stored a control code");
        } else if (address == "PKVTC") {
            screen.HandleContrastSentence(framer);
            Require(was.SameText(screen) && was.SameGlyphMemory(screen),
                    "a contrast sentence touched the screen");
        } else if (address == "PKVTD") {
            screen.HandleControllerSentence(framer);
        } else {
            continue;
        }
        Check(screen, controls, was, screen.TakeDirtyCells());
        Require(guarded->GuardsIntact(), "a write past the screen's state");
    }
    return 0;
}

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "base/ControlTable.h"
#include "base/MainWindowControls.h"
#include "panel/PanelFont.h"
#include "panel/PanelGeometry.h"
#include "panel/PanelScreen.h"
#include "serial/SentenceFramer.h"

namespace zelsim {

namespace {
namespace mw = main_window;
using Rect = PanelGeometry::Rect;

constexpr GlyphRows kBlank{};
constexpr GlyphRows kRightArrow{0x00, 0x04, 0x02, 0x1F, 0x02, 0x04, 0x00, 0x00};
constexpr GlyphRows kDegree{0x1C, 0x14, 0x1C, 0x00, 0x00, 0x00, 0x00, 0x00};
constexpr GlyphRows kLetterA{0x0E, 0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x00};

constexpr uint32_t Bit(int cell) {
    return 1u << cell;
}

// The screen behind the responder: each sentence framed as the line
// delivers it and routed by its address.
class PanelScreenTest : public ::testing::Test {
  protected:
    PanelScreenTest() { screen.TakeDirtyCells(); }

    void Receive(std::string_view sentence) {
        ASSERT_EQ(framer.ParseText(sentence), SentenceFramer::kSentenceReady) << sentence;
        const std::string_view address = framer.Field(0);
        if (address == "PKVTS")
            screen.HandleScreenSentence(framer);
        else if (address == "PKVTC")
            screen.HandleContrastSentence(framer);
        else if (address == "PKVTD")
            screen.HandleControllerSentence(framer);
    }
    std::string Row(int row) const { return std::string(screen.RowText(row)); }
    int Bar() const { return controls.Get(mw::pbContrast).position; }
    bool BackLightShown() const { return controls.Get(mw::lBackLight).visible; }

    ControlTable controls;
    PanelScreen screen{controls};
    SentenceFramer framer;
};

TEST_F(PanelScreenTest, TextRunsOnIntoTheSecondRowAndStopsAfterTheLastCell) {
    Receive("$PKVTS,TXT,14,ABCD");
    EXPECT_EQ(Row(0), "              AB");
    EXPECT_EQ(Row(1), "CD              ");

    Receive("$PKVTS,TXT,30,WXYZ");
    EXPECT_EQ(Row(1), "CD            WX");
    Receive("$PKVTS,TXT,32,X");
    Receive("$PKVTS,TXT,5");
    Receive("$PKVTS,TXT,0,Q,R");
    EXPECT_EQ(Row(0), "Q             AB") << "the text is field 3 alone";
    EXPECT_EQ(Row(1), "CD            WX");

    // Positions are numbers modulo 256, as the receiver sends them.
    Receive("$PKVTS,TXT,258,M");
    Receive("$PKVTS,TXT,,N");
    EXPECT_EQ(Row(0), "N M           AB");
}

TEST_F(PanelScreenTest, ControlCodesAreStoredAsTheArrowAndHighCodesAsTheyAre) {
    Receive("$PKVTS,TXT,0,A\tB\x7F\xE4\xB0");
    EXPECT_EQ(Row(0).substr(0, 6), "A~B~\xE4\xB0");
    EXPECT_EQ(screen.DrawnGlyph(1), kRightArrow);
    EXPECT_EQ(screen.DrawnGlyph(4), kBlank);
    EXPECT_EQ(screen.DrawnGlyph(5), kDegree);
    screen.PutChar(6, 3);
    EXPECT_EQ(screen.Code(6), 3) << "custom glyph codes pass";
    screen.PutChar(-1, 'Z');
    screen.PutChar(32, 'Z');
    EXPECT_EQ(Row(0).find('Z'), std::string::npos);
}

TEST_F(PanelScreenTest, EscapedTextDecodesOneCodePerEscape) {
    Receive("$PKVTS,TXX,0,%DF");
    EXPECT_EQ(screen.Code(0), 0xB0);
    EXPECT_EQ(screen.DrawnGlyph(0), kDegree);

    Receive("$PKVTS,TXX,0,N%4148%7F%80%03%b0|");
    EXPECT_EQ(Row(0).substr(0, 8), std::string("NA48~~\x03~", 8));
    EXPECT_EQ(screen.Code(8), '|') << "each escape is one position";

    // Broken escapes read 0, the custom glyph, and still skip two characters.
    Receive("$PKVTS,TXX,16,%G1X%4");
    EXPECT_EQ(screen.Code(16), 0);
    EXPECT_EQ(screen.Code(17), 'X');
    EXPECT_EQ(screen.Code(18), 0);
    EXPECT_EQ(screen.Code(19), ' ');
    Receive("$PKVTS,TXX,20,Z%");
    EXPECT_EQ(screen.Code(20), 'Z');
    EXPECT_EQ(screen.Code(21), 0) << "a '%' at the end gives custom glyph 0";
    EXPECT_EQ(screen.Code(22), ' ');
}

TEST_F(PanelScreenTest, ContrastStepsClampAndReadNumbersModulo256) {
    screen.SetContrast(60);
    Receive("$PKVTS,CON,+");
    EXPECT_EQ(screen.Contrast(), 55) << "plus lowers the number";
    screen.SetContrast(66);
    Receive("$PKVTC,+");
    EXPECT_EQ(screen.Contrast(), 56);
    screen.SetContrast(250);
    Receive("$PKVTC,-");
    EXPECT_EQ(screen.Contrast(), 254);
    screen.SetContrast(243);
    Receive("$PKVTS,CON,-");
    EXPECT_EQ(screen.Contrast(), 253);
    EXPECT_EQ(Bar(), 253);

    Receive("$PKVTS,CON,255");
    EXPECT_EQ(screen.Contrast(), 254);
    Receive("$PKVTS,CON,300");
    EXPECT_EQ(screen.Contrast(), 55) << "300 is 44";
    Receive("$PKVTS,CON,200x7");
    EXPECT_EQ(screen.Contrast(), 200);
    Receive("$PKVTS,CON");
    EXPECT_EQ(screen.Contrast(), 200) << "too short";
    Receive("$PKVTS,CON,abc");
    EXPECT_EQ(screen.Contrast(), 55);
    EXPECT_EQ(Bar(), 55);

    screen.SetBackLight(false);
    Receive("$PKVTC,,1");
    EXPECT_EQ(screen.Contrast(), 55);
    EXPECT_TRUE(screen.BackLight());
    EXPECT_TRUE(BackLightShown());
}

TEST_F(PanelScreenTest, BackLightFollowsOnlyTheWordsItKnows) {
    Receive("$PKVTS,BKL,OFF");
    EXPECT_FALSE(BackLightShown());
    Receive("$PKVTS,BKL,ON");
    EXPECT_TRUE(BackLightShown());
    Receive("$PKVTS,BKL,0");
    EXPECT_FALSE(BackLightShown());
    Receive("$PKVTS,BKL,X");
    Receive("$PKVTS,BKL,On");
    Receive("$PKVTS,BKL");
    EXPECT_FALSE(BackLightShown());
    Receive("$PKVTS,BKL,1x");
    EXPECT_TRUE(BackLightShown());

    Receive("$PKVTC,120,0");
    EXPECT_FALSE(screen.BackLight());
    Receive("$PKVTC,120,ON");
    EXPECT_FALSE(screen.BackLight()) << "PKVTC knows only digits";
    EXPECT_EQ(screen.Contrast(), 120);
}

TEST_F(PanelScreenTest, ControllerBytesAddressRowsAndColumnsAndNeverWrap) {
    Receive("$PKVTD,080,148,169");
    EXPECT_EQ(Row(0).substr(0, 3), "Hi ");
    Receive("$PKVTD,0C5,141");
    EXPECT_EQ(Row(1).substr(4, 3), " A ");
    EXPECT_EQ(screen.CursorRow(), 1);
    EXPECT_EQ(screen.CursorColumn(), 6);

    // Seventeen data bytes: the last two both land in column 15.
    std::string bytes = "$PKVTD,080";
    char byte[8];
    for (int i = 1; i <= 17; ++i) {
        std::snprintf(byte, sizeof byte, ",1%02X", 0x40 + i);
        bytes += byte;
    }
    Receive(bytes);
    EXPECT_EQ(Row(0), "ABCDEFGHIJKLMNOQ");
    EXPECT_EQ(screen.CursorColumn(), 15);

    // Data bytes are not filtered: a control code is stored, and its cell
    // keeps the picture it had.
    Receive("$PKVTD,080,109,1c4");
    EXPECT_EQ(screen.Code(0), 0x09);
    EXPECT_EQ(screen.DrawnCode(0), 0x09);
    EXPECT_EQ(screen.DrawnGlyph(0), PanelFont::Fixed('A'));
    EXPECT_EQ(screen.Code(1), 0xC4) << "either case of hexadecimal";

    Receive("$PKVTD,001,158");
    EXPECT_EQ(Row(0), "X               ");
    EXPECT_EQ(Row(1), std::string(16, ' '));
    Receive("$PKVTD,1G1,1");
    EXPECT_EQ(screen.Code(1), 0) << "a broken byte is 0";
    EXPECT_EQ(screen.Code(2), 0);
    Receive("$PKVTD,,0,2,03F");
    EXPECT_TRUE(screen.TextMode()) << "no command among them";
    EXPECT_EQ(screen.CursorColumn(), 3);
}

TEST_F(PanelScreenTest, GlyphsAreDefinedWithoutRedrawingWhatShowsThem) {
    const GlyphRows heart{0x00, 0x0A, 0x1F, 0x1F, 0x0E, 0x04, 0x00, 0x00};
    Receive("$PKVTD,040,100,10A,11F,11F,10E,104,100,100");
    EXPECT_EQ(screen.CustomGlyph(0), heart);
    EXPECT_FALSE(screen.TextMode());
    EXPECT_EQ(screen.GlyphAddress(), 8);
    EXPECT_EQ(Row(0), std::string(16, ' ')) << "glyph bytes never reach the text";

    Receive("$PKVTD,080,100");
    EXPECT_EQ(screen.DrawnGlyph(0), heart);
    screen.TakeDirtyCells();

    Receive("$PKVTD,040,11F,11F");
    EXPECT_EQ(screen.CustomGlyph(0)[0], 0x1F);
    EXPECT_EQ(screen.DrawnGlyph(0), heart) << "the cell keeps its old picture";
    EXPECT_EQ(screen.TakeDirtyCells(), 0u);
    Receive("$PKVTS,TXT,0,x");
    Receive("$PKVTD,080,100");
    EXPECT_EQ(screen.DrawnGlyph(0)[0], 0x1F);

    // The last glyph byte is address 63; from 64 on bytes are dropped.
    Receive("$PKVTD,07F,1AA,1BB,1CC");
    EXPECT_EQ(screen.CustomGlyph(7)[7], 0xAA);
    EXPECT_EQ(screen.GlyphAddress(), 64);
    EXPECT_EQ(screen.CustomGlyph(0)[0], 0x1F);

    // Clearing leaves the glyph mode and its address.
    Receive("$PKVTD,048,001,155");
    EXPECT_EQ(screen.CustomGlyph(1)[0], 0x55);
    EXPECT_EQ(Row(0), std::string(16, ' '));
}

TEST_F(PanelScreenTest, OnlyChangedCellsAreDrawn) {
    // "Sats 9 DGPS": eleven cells, of which 4 and 6 stay blank.
    constexpr uint32_t kSatsCells = 0x7FFu & ~Bit(4) & ~Bit(6);
    Receive("$PKVTS,TXT,0,Sats 9 DGPS");
    EXPECT_EQ(screen.TakeDirtyCells(), kSatsCells);
    Receive("$PKVTS,TXT,0,Sats 9 DGPS");
    Receive("$PKVTD,080,153");
    EXPECT_EQ(screen.TakeDirtyCells(), 0u) << "unchanged text costs no drawing";
    Receive("$PKVTS,TXT,16,Sats 8 DGPS");
    Receive("$PKVTS,TXT,0,Sats 8 DGPS");
    EXPECT_EQ(screen.TakeDirtyCells(), kSatsCells << 16 | Bit(5));
    Receive("$PKVTS,CLR");
    EXPECT_EQ(screen.TakeDirtyCells(), kSatsCells << 16 | kSatsCells);
}

TEST_F(PanelScreenTest, ConnectResetClearsTextAndContrastButKeepsTheRest) {
    Receive("$PKVTD,040,11F");
    Receive("$PKVTS,BKL,OFF");
    Receive("$PKVTS,CON,200");
    Receive("$PKVTS,TXT,3,abc");
    screen.ConnectReset();
    EXPECT_EQ(Row(0), std::string(16, ' '));
    EXPECT_EQ(screen.Contrast(), 110);
    EXPECT_EQ(Bar(), 110);
    EXPECT_FALSE(screen.BackLight());
    EXPECT_FALSE(screen.TextMode());
    EXPECT_EQ(screen.GlyphAddress(), 1);
    EXPECT_EQ(screen.CustomGlyph(0)[0], 0x1F);
}

TEST_F(PanelScreenTest, UnknownAndAcceptedCommandsChangeNothing) {
    Receive("$PKVTS,TXT,0,Hello");
    Receive("$PKVTD,045");
    screen.TakeDirtyCells();
    const uint64_t revision = controls.Revision();
    for (const char* s : {"$PKVTS,RST", "$PKVTS,LCD,ON", "$PKVTS", "$PKVTS,txt,0,X", "$PKVTC"})
        Receive(s);
    EXPECT_EQ(Row(0), "Hello           ");
    EXPECT_EQ(screen.GlyphAddress(), 5);
    EXPECT_EQ(screen.TakeDirtyCells(), 0u);
    EXPECT_EQ(controls.Revision(), revision);
}

TEST(PanelFont, TellingRowsAndTheBlanks) {
    EXPECT_EQ(PanelFont::Fixed(0x7E), kRightArrow);
    EXPECT_EQ(PanelFont::Fixed(0xB0), kDegree);
    EXPECT_EQ(PanelFont::Fixed(0xDF), kDegree);

    for (int code = 32; code <= 255; ++code) {
        const GlyphRows& g = PanelFont::Fixed(static_cast<uint8_t>(code));
        EXPECT_EQ(g[7], 0) << "code " << code << " lights the cursor line";
        for (uint8_t row : g) EXPECT_EQ(row & 0xE0, 0) << "code " << code;
        const bool inked = g != kBlank;
        const bool shouldInk = (code >= 33 && code <= 127) || code == 0xB0 || code == 0xDF;
        EXPECT_EQ(inked, shouldInk) << "code " << code;
    }
    // No two characters of the ROM look alike, not even O and 0 or l and 1.
    for (int a = 33; a <= 127; ++a)
        for (int b = a + 1; b <= 127; ++b)
            EXPECT_NE(PanelFont::Fixed(static_cast<uint8_t>(a)),
                      PanelFont::Fixed(static_cast<uint8_t>(b)))
                << char(a) << " and " << char(b);
}

// The places themselves are the window's design; what must hold is that
// the cells tile the LCD window in order and nothing leaves the panel.
TEST(PanelGeometry, CellsTileTheLcdWindowAndEveryControlFitsThePanel) {
    const Rect window = PanelGeometry::LcdWindow();
    for (int cell = 0; cell < PanelGeometry::kCells; ++cell) {
        const Rect r = PanelGeometry::Cell(cell);
        const Rect first = PanelGeometry::Cell(cell % PanelGeometry::kColumns);
        EXPECT_GE(r.left, window.left) << cell;
        EXPECT_GE(r.top, window.top) << cell;
        EXPECT_LE(r.left + r.width, window.left + window.width) << cell;
        EXPECT_LE(r.top + r.height, window.top + window.height) << cell;
        EXPECT_EQ(r.left, first.left) << "the second row under the first";
        if (cell % PanelGeometry::kColumns > 0) {
            EXPECT_GE(r.left, PanelGeometry::Cell(cell - 1).left + r.width) << cell;
        }
    }
    EXPECT_GT(PanelGeometry::Cell(16).top, PanelGeometry::Cell(0).top);

    const PanelGeometry::LitDots a = PanelGeometry::LitDotsOf(kLetterA);
    EXPECT_EQ(a.count, 18);
    EXPECT_EQ(PanelGeometry::LitDotsOf(GlyphRows{0xE0, 0xE0, 0, 0, 0, 0, 0, 0xC0}).count, 0)
        << "bits 5 to 7 are not drawn";
    GlyphRows full;
    full.fill(0xFF);
    EXPECT_EQ(PanelGeometry::LitDotsOf(full).count, PanelGeometry::kMaxLitDots);

    for (const PanelGeometry::Place& place : PanelGeometry::Controls()) {
        const Rect& r = place.rect;
        EXPECT_GE(r.left, 0) << place.name;
        EXPECT_LE(r.left + r.width, PanelGeometry::kPanelWidth) << place.name;
        EXPECT_LE(r.top + r.height, PanelGeometry::kPanelHeight) << place.name;
    }
    for (int key = 0; key < PanelGeometry::kKeyAreas; ++key) {
        const Rect r = PanelGeometry::KeyArea(key);
        EXPECT_GE(r.top, window.top + window.height) << "keys lie below the LCD window";
        EXPECT_LE(r.top + r.height, PanelGeometry::kPictureHeight);
        EXPECT_EQ(PanelGeometry::PlaceOf("sKeyNo" + std::to_string(key + 1)), r);
    }
    EXPECT_EQ(PanelGeometry::KeyArea(PanelGeometry::kKeyAreas), Rect{});
    EXPECT_EQ(PanelGeometry::PlaceOf("bComOpenClose"), Rect{});
}

}  // namespace

}  // namespace zelsim

#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <variant>

#include "base/QtColour.h"
#include "graph/ChartMarker.h"
#include "graph/ChartPainter.h"
#include "graph/DeviceIdentities.h"
#include "graph/DiagnosticRecord.h"
#include "graph/RecordRing.h"
#include "graph/StripChart.h"

namespace zelsim {
namespace {

constexpr int kWidth = StripChart::kPaintWidth;
constexpr int kHeight = StripChart::kPaintHeight;

// FNV-1a over the pixels only: a painter that moves, adds or loses a
// single pixel gives another value.
constexpr uint64_t kHashStart = 14695981039346656037ull;
constexpr uint64_t kHashPrime = 1099511628211ull;

uint64_t PixelHash(const QImage& picture) {
    uint64_t hash = kHashStart;
    const auto rowBytes = static_cast<size_t>(picture.width()) * 4;
    for (int y = 0; y < picture.height(); ++y) {
        const uchar* row = picture.constScanLine(y);
        for (size_t i = 0; i < rowBytes; ++i) hash = (hash ^ row[i]) * kHashPrime;
    }
    return hash;
}

QImage Painted(const ChartDrawing& drawing) {
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    PaintChart(drawing, picture);
    return picture;
}

// Text is left to the font the machine has: the figures are compared
// pixel for pixel, the texts' copies against each other below.
ChartDrawing WithoutTexts(const ChartDrawing& drawing) {
    ChartDrawing figures;
    for (const ChartDrawing::Item& item : drawing.items)
        if (!std::holds_alternative<ChartDrawing::Text>(item)) figures.items.push_back(item);
    return figures;
}

// A full ring of varied records, every trace at times beyond its full scale
// either way, so that markers sit on the plot's top and bottom lines.
struct Ring {
    StripChart chart{kWidth, kHeight};
    RecordRing records;
    DeviceIdentities identities;

    Ring() {
        DiagnosticRecord r;
        r.firstRsp = 1;
        r.strMode = 3;
        for (int i = 0; i < RecordRing::kCapacity; ++i) {
            const bool beyond = i % 17 == 0;
            const int sign = i % 2 == 0 ? 1 : -1;
            r.sogTenthsMph = static_cast<int16_t>(beyond ? 30000 : 60 + i % 40);
            r.cogTenthsDeg = static_cast<int16_t>(i * 37 % 3600);
            r.offErrCM = static_cast<int16_t>(beyond ? sign * 30000 : i % 500 - 250);
            r.angErrTenthsDeg = static_cast<int16_t>(beyond ? -sign * 30000 : i % 200 - 100);
            r.waTenthDeg = static_cast<int16_t>(i % 300 - 150);
            r.solOut = static_cast<int16_t>(beyond ? sign * 30000 : i % 200 - 100);
            r.hld = i % 41 == 0 ? 1 : 0;
            std::snprintf(r.tim, sizeof r.tim, "14:%02d:%02d", i / 600 % 60, i / 10 % 60);
            chart.FillRows(records.Append(r));
        }
    }
    void RefillRows() {
        for (int age = 0; age < records.Count(); ++age) chart.FillRows(records.FromOldest(age));
    }
};

// The charts the window shows: all six traces with both grids and a
// readout; logarithmic ones; a chart browsed back with the cursor inside;
// without grids and half the traces hidden.
TEST(ChartPainter, FullChartsComeOutPixelForPixelAsBefore) {
    Ring ring;
    StripChart& chart = ring.chart;
    const auto redraw = [&](int endIndex) {
        return Painted(WithoutTexts(chart.Redraw(ring.records, ring.identities, endIndex, false)));
    };
    const int newest = ring.records.NewestIndex();
    EXPECT_EQ(PixelHash(redraw(newest)), 0xad122a3e2c9c40fbull) << "linear";
    for (int t = 0; t < TraceTable::kTraces; t += 2) chart.Traces().Cycle(t);
    ring.RefillRows();
    EXPECT_EQ(PixelHash(redraw(newest)), 0x544d59e9229d13d7ull) << "log";
    chart.SelectAt(chart.Geometry().left + 5 * chart.Geometry().step, chart.Geometry().centre);
    EXPECT_EQ(PixelHash(redraw(newest - 1234)), 0x880ecc2f1fbf2f5bull) << "browsed";
    chart.SetLinearGrid(false);
    chart.SetLogGrid(false);
    for (int t = 0; t < TraceTable::kTraces; t += 2) chart.Traces().Cycle(t);
    EXPECT_EQ(PixelHash(redraw(newest - 7)), 0x44950a496201f999ull) << "bare";
}

// Every figure across every edge of the picture, and wholly outside it.
TEST(ChartPainter, FiguresAreCutAtEveryEdgeOfThePicture) {
    using Line = ChartDrawing::Line;
    using Box = ChartDrawing::Box;
    const Colour ink{10, 20, 30};
    ChartDrawing lines;
    const int w = kWidth, h = kHeight;
    for (int width : {1, 2, 3}) {
        const Colour c{static_cast<uint8_t>(60 * width), 90, 200};
        for (const auto& [from, to] :
             {std::pair<ChartDrawing::Point, ChartDrawing::Point>{{-20, 30}, {40, 50}},
              {{w - 30, 10}, {w + 25, 70}},
              {{100, -15}, {130, 20}},
              {{200, h - 10}, {180, h + 30}},
              {{-5, -5}, {w + 5, h + 5}},
              {{w + 3, -3}, {-3, h + 3}},
              {{0, 0}, {w - 1, 0}},
              {{0, h - 1}, {w - 1, h - 1}},
              {{0, 0}, {0, h - 1}},
              {{w - 1, 0}, {w - 1, h - 1}},
              {{-1, 5}, {-1, 90}},
              {{w, 5}, {w, 90}},
              {{5, -1}, {90, -1}},
              {{5, h}, {90, h}},
              {{-50, -60}, {-10, -70}},
              {{w + 10, h + 10}, {w + 90, h + 40}},
              {{300, 300}, {300, 300}}})
            lines.items.emplace_back(Line{from, to, c, width});
    }
    EXPECT_EQ(PixelHash(Painted(lines)), 0xd60ac4b5557a43d0ull) << "lines";

    // Each shape from just inside each edge to just beyond it, apart from
    // one another so that none hides another's pixels; and in the corners.
    constexpr int kApart = 9;
    const Colour mark{200, 40, 90};
    ChartDrawing figures;
    int along = 20;
    for (int shape = 0; shape < TraceTable::kMarkers; ++shape) {
        for (int off = -3; off <= 3; ++off, along += kApart) {
            figures.items.emplace_back(ChartMarker(shape, off, along, mark));
            figures.items.emplace_back(ChartMarker(shape, w - 1 + off, along, mark));
            figures.items.emplace_back(ChartMarker(shape, along, off, mark));
            figures.items.emplace_back(ChartMarker(shape, along, h - 1 + off, mark));
        }
        for (int x : {0, w - 1})
            for (int y : {0, h - 1}) figures.items.emplace_back(ChartMarker(shape, x, y, mark));
    }
    figures.items.emplace_back(ChartMarker(0, -1000, 40, ink));
    figures.items.emplace_back(ChartMarker(2, 40, h + 1000, ink));
    for (const Box& box :
         {Box{-10, 405, 12, 430, ink}, Box{w - 12, 405, w + 10, 430, ink},
          Box{420, -10, 450, 8, ink}, Box{420, h - 8, 450, h + 10, ink}, Box{-30, -30, -1, -1, ink},
          Box{w, h, w + 30, h + 30, ink}, Box{400, 150, 399, 160, ink}})
        figures.items.emplace_back(box);
    EXPECT_EQ(PixelHash(Painted(figures)), 0xfcb12996afc9e4beull) << "markers and boxes";

    ChartDrawing whole;
    whole.items.emplace_back(Box{-5, -5, w + 5, h + 5, ink});
    const QImage covered = Painted(whole);
    QImage expected(kWidth, kHeight, QImage::Format_RGB32);
    expected.fill(QColor(ink.r, ink.g, ink.b));
    EXPECT_EQ(covered, expected);
}

// A text half off the picture shows the part of it that lies on it, as
// the same text drawn whole does; one wholly off leaves no trace.
TEST(ChartPainter, TextsAreCutAtEveryEdgeOfThePicture) {
    ChartDrawing::Text text;
    text.text = "Wq 12\xb0";
    text.colour = Colour{0, 0, 0};
    text.background = Colour{200, 230, 255};  // the text's whole cell shows
    text.height = 14;
    const ChartDrawing::Point whole{300, 200};
    text.at = whole;
    ChartDrawing one;
    one.items.emplace_back(text);
    const QImage reference = Painted(one);
    QRect cell;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (reference.pixel(x, y) != QtColour(ChartDrawing::kBackground).rgb())
                cell |= QRect(x, y, 1, 1);
    ASSERT_EQ(cell.topLeft(), QPoint(whole.x, whole.y));
    ASSERT_EQ(cell.height(), text.height);

    const int cw = cell.width(), ch = cell.height();
    for (const ChartDrawing::Point at : {ChartDrawing::Point{-5, 40},
                                         {40, -6},
                                         {kWidth - 7, 40},
                                         {40, kHeight - 4},
                                         {-3, -2},
                                         {kWidth - 2, kHeight - 1},
                                         {-cw + 1, 90},
                                         {90, -ch + 1}}) {
        text.at = at;
        ChartDrawing cut;
        cut.items.emplace_back(text);
        const QImage picture = Painted(cut);
        QImage expected = Painted(ChartDrawing{});
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x)
                if (QRect(0, 0, kWidth, kHeight).contains(at.x + x, at.y + y))
                    expected.setPixel(at.x + x, at.y + y,
                                      reference.pixel(whole.x + x, whole.y + y));
        EXPECT_EQ(picture, expected) << at.x << "," << at.y;
    }
    const QImage ground = Painted(ChartDrawing{});
    for (const ChartDrawing::Point at :
         {ChartDrawing::Point{-cw, 40}, {40, -ch}, {kWidth, 40}, {40, kHeight}, {-4000, -4000}}) {
        text.at = at;
        ChartDrawing off;
        off.items.emplace_back(text);
        EXPECT_EQ(Painted(off), ground) << at.x << "," << at.y;
    }
}

// Each text is laid out once for both its width and its letters: its cell
// is what the plain text drawing of the canvas font gives, pixel for pixel,
// trailing spaces and the degree sign included.
TEST(ChartPainter, TextsComeOutAsThePlainTextDrawingOfTheirFont) {
    struct Case {
        std::string text;
        int height;
        bool bold;
    };
    for (const Case& c : {Case{"    14:06:39", 14, false}, Case{"  OFF ", 14, false},
                          Case{"N 00\xb0"
                               "00.0000'",
                               14, false},
                          Case{"06:36", 12, false}, Case{" On Line ", 18, true}}) {
        ChartDrawing::Text text;
        text.text = c.text;
        text.colour = Colour{0, 0, 128};
        text.background = Colour{200, 230, 255};
        text.height = c.height;
        text.bold = c.bold;
        text.at = {100, 100};
        ChartDrawing one;
        one.items.emplace_back(text);
        const QImage painted = Painted(one);

        QFont font("Courier New");
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
        font.setPixelSize((c.height * 5 + 3) / 6);
        font.setBold(c.bold);
        const QFontMetrics metrics(font);
        const QString shown = QString::fromLatin1(c.text);
        QImage expected(metrics.horizontalAdvance(shown), c.height, QImage::Format_RGB32);
        expected.fill(QtColour(text.background));
        QPainter p(&expected);
        p.setFont(font);
        p.setPen(QtColour(text.colour));
        p.drawText(QPoint(0, (c.height + metrics.ascent() - metrics.descent()) / 2), shown);
        p.end();
        EXPECT_EQ(painted.copy(100, 100, expected.width(), c.height), expected) << c.text;
        EXPECT_EQ(painted.pixel(100 + expected.width(), 100),
                  QtColour(ChartDrawing::kBackground).rgb())
            << c.text << ": the cell ends where the text advances to";
    }
}

}  // namespace
}  // namespace zelsim

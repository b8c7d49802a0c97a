#include "graph/ChartPainter.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <unordered_map>

#include "base/QtColour.h"
#include "base/ShownText.h"
#include "graph/ChartDrawing.h"

namespace zelsim {

namespace {

// The picture's canvas font: fixed pitch, as the readout's columns are
// counted in characters.
constexpr const char* kCanvasFont = "Courier New";
// A text's height is its cell's; the letters' own size is about five sixths
// of it, the rest being the space above them.
constexpr int kEmPerCell = 5;
constexpr int kCellPerEm = 6;
// Texts drawn once are kept as pictures: the readout's labels never change
// and its values change slowly, and laying out a text costs more than
// copying its pixels. The store is emptied when it grows past this.
constexpr size_t kTextsKept = 1024;

QFont CanvasFont(int height, bool bold) {
    QFont font(kCanvasFont);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize((height * kEmPerCell + kCellPerEm / 2) / kCellPerEm);
    font.setBold(bold);
    return font;
}

uint32_t Pixel(Colour c) {
    return 0xFF000000u | (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | c.b;
}

// Lines and markers are set pixel by pixel, as the chart's figures are a
// few pixels each: a general painter costs a microsecond or more per item,
// and the chart has a thousand. Each figure is tested against the edges
// once, by its box: nearly all of them lie wholly inside, and only those
// that cross an edge pay for a test at every pixel.
class Raster {
  public:
    explicit Raster(QImage& picture)
        : bits_(reinterpret_cast<uint32_t*>(picture.bits())),
          stride_(static_cast<int>(picture.bytesPerLine() / 4)),
          width_(picture.width()),
          height_(picture.height()) {}

    // From one point towards the other, the last pixel left out unless
    // `withEnd`; a pen of `width` lies across the line's direction.
    template <typename Plot>
    static void Walk(int x0, int y0, int x1, int y1, bool withEnd, Plot&& plot) {
        const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
        const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
        int err = dx + dy;
        for (;;) {
            const bool atEnd = x0 == x1 && y0 == y1;
            if (atEnd && !withEnd) return;
            plot(x0, y0);
            if (atEnd) return;
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
    }

    void Line(const ChartDrawing::Line& line) {
        const uint32_t pixel = Pixel(line.colour);
        const bool flat = std::abs(line.to.y - line.from.y) <= std::abs(line.to.x - line.from.x);
        const int first = -(line.width / 2);
        const int last = first + line.width - 1;
        const Area area{std::min(line.from.x, line.to.x) + (flat ? 0 : first),
                        std::min(line.from.y, line.to.y) + (flat ? first : 0),
                        std::max(line.from.x, line.to.x) + (flat ? 0 : last),
                        std::max(line.from.y, line.to.y) + (flat ? last : 0)};
        Draw(area, [&](auto&& set) {
            for (int k = first; k <= last; ++k) {
                const int ox = flat ? 0 : k, oy = flat ? k : 0;
                Walk(line.from.x + ox, line.from.y + oy, line.to.x + ox, line.to.y + oy, false,
                     [&](int x, int y) { set(x, y, pixel); });
            }
        });
    }

    // The outline through every point, and for a filled one each row
    // between its outline's ends: the markers are convex.
    void Polygon(const ChartDrawing::Polygon& polygon) {
        constexpr int kReach = 8;  // a marker's rows around its first point
        const uint32_t pixel = Pixel(polygon.colour);
        const auto points = std::span(polygon.points).first(static_cast<size_t>(polygon.count));
        Area area{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (const ChartDrawing::Point& p : points)
            area = {std::min(area.left, p.x), std::min(area.top, p.y), std::max(area.right, p.x),
                    std::max(area.bottom, p.y)};
        const int baseY = polygon.points[0].y - kReach;
        std::array<std::pair<int, int>, 2 * kReach + 1> rows;
        rows.fill({INT32_MAX, INT32_MIN});
        Draw(area, [&](auto&& set) {
            const auto plot = [&](int x, int y) {
                set(x, y, pixel);
                const int r = y - baseY;
                if (r < 0 || r >= static_cast<int>(rows.size())) return;
                auto& row = rows[static_cast<size_t>(r)];
                row = {std::min(row.first, x), std::max(row.second, x)};
            };
            for (size_t i = 0; i + 1 < points.size(); ++i)
                Walk(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, true, plot);
            if (!polygon.filled) return;
            Walk(points.back().x, points.back().y, points[0].x, points[0].y, true, plot);
            for (size_t r = 0; r < rows.size(); ++r)
                Row(baseY + static_cast<int>(r), rows[r].first, rows[r].second, pixel);
        });
    }

    void Box(const ChartDrawing::Box& box) {
        const uint32_t pixel = Pixel(box.colour);
        for (int y = std::max(box.top, 0); y <= std::min(box.bottom, height_ - 1); ++y)
            Row(y, box.left, box.right, pixel);
    }

    void Copy(const QImage& piece, int left, int top) {
        const int fromX = std::max(0, -left);
        const int toX = std::min(piece.width(), width_ - left);
        const int fromY = std::max(0, -top);
        const int toY = std::min(piece.height(), height_ - top);
        if (fromX >= toX) return;
        const auto count = static_cast<size_t>(toX - fromX);
        for (int y = fromY; y < toY; ++y) {
            const auto* from = reinterpret_cast<const uint32_t*>(piece.constScanLine(y)) + fromX;
            std::copy_n(from, count, bits_ + (top + y) * stride_ + left + fromX);
        }
    }

  private:
    // Right and bottom included.
    struct Area {
        int left;
        int top;
        int right;
        int bottom;
    };

    // Hands `figure` the setter its pixels need: none when its box is off
    // the picture, one without a test when the box is on it whole.
    template <typename Figure>
    void Draw(const Area& area, Figure&& figure) {
        if (area.right < 0 || area.bottom < 0 || area.left >= width_ || area.top >= height_) return;
        if (area.left >= 0 && area.top >= 0 && area.right < width_ && area.bottom < height_) {
            figure([this](int x, int y, uint32_t pixel) { bits_[y * stride_ + x] = pixel; });
            return;
        }
        figure([this](int x, int y, uint32_t pixel) {
            if (x >= 0 && y >= 0 && x < width_ && y < height_) bits_[y * stride_ + x] = pixel;
        });
    }

    // From `left` to `right` included, on the picture or not.
    void Row(int y, int left, int right, uint32_t pixel) {
        if (y < 0 || y >= height_) return;
        left = std::max(left, 0);
        right = std::min(right, width_ - 1);
        if (left <= right)
            std::fill_n(bits_ + y * stride_ + left, static_cast<size_t>(right - left + 1), pixel);
    }

    uint32_t* bits_;
    int stride_;
    int width_;
    int height_;
};

// Each text as it is drawn: opaque on its background, in its cell.
class TextPictures {
  public:
    const QImage& Get(const ChartDrawing::Text& text) {
        // The key is built in storage kept from the last text: every text of
        // every picture is looked up, ten pictures a second.
        key_.assign(text.text);
        key_.push_back('\0');
        for (Colour c : {text.colour, text.background}) {
            key_.push_back(static_cast<char>(c.r));
            key_.push_back(static_cast<char>(c.g));
            key_.push_back(static_cast<char>(c.b));
        }
        key_.push_back(static_cast<char>(text.height));
        key_.push_back(text.bold ? 'b' : 'n');
        if (auto it = pictures_.find(key_); it != pictures_.end()) return it->second;
        if (pictures_.size() >= kTextsKept) pictures_.clear();
        return pictures_.emplace(key_, Make(text)).first->second;
    }

  private:
    QImage Make(const ChartDrawing::Text& text) {
        const QFont& font = Font(text.height, text.bold);
        const QFontMetrics metrics(font);
        // Laid out once, for its width and its drawing alike: a new value
        // (the readout's time, ten a second) is a new text.
        QTextLayout layout(Latin1Text(text.text), font);
        layout.setCacheEnabled(true);
        layout.beginLayout();
        QTextLine line = layout.createLine();
        layout.endLayout();
        QImage picture(std::max(1, qRound(line.horizontalAdvance())), text.height,
                       QImage::Format_RGB32);
        picture.fill(QtColour(text.background));
        QPainter p(&picture);
        p.setPen(QtColour(text.colour));
        // On the cell's baseline, the letters centred in its height.
        const int baseline = (text.height + metrics.ascent() - metrics.descent()) / 2;
        line.draw(&p, QPointF(0, baseline - line.ascent()));
        return picture;
    }

    const QFont& Font(int height, bool bold) {
        const int key = height * 2 + (bold ? 1 : 0);
        if (auto it = fonts_.find(key); it != fonts_.end()) return it->second;
        return fonts_.emplace(key, CanvasFont(height, bold)).first->second;
    }

    std::unordered_map<std::string, QImage> pictures_;
    std::string key_;
    std::unordered_map<int, QFont> fonts_;
};

}  // namespace

void PaintChart(const ChartDrawing& drawing, QImage& picture) {
    static TextPictures texts;
    if (picture.format() != QImage::Format_RGB32)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    picture.fill(QtColour(ChartDrawing::kBackground));
    Raster raster(picture);
    for (const ChartDrawing::Item& item : drawing.items) {
        if (const auto* line = std::get_if<ChartDrawing::Line>(&item))
            raster.Line(*line);
        else if (const auto* polygon = std::get_if<ChartDrawing::Polygon>(&item))
            raster.Polygon(*polygon);
        else if (const auto* box = std::get_if<ChartDrawing::Box>(&item))
            raster.Box(*box);
        else if (const auto* text = std::get_if<ChartDrawing::Text>(&item))
            raster.Copy(texts.Get(*text), text->at.x, text->at.y);
    }
}

}  // namespace zelsim

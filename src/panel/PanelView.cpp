#include "panel/PanelView.h"

#include <QFont>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QRadialGradient>

#include "base/MainWindowControls.h"
#include "base/QtColour.h"
#include "base/ShownText.h"
#include "panel/PanelScreen.h"

namespace zelsim {

namespace {
namespace mw = main_window;
using Geometry = PanelGeometry;

// The keys' bits, as the receiver numbers its keys from the left.
constexpr uint8_t kUpKeyBit = 2;
constexpr uint8_t kDownKeyBit = 4;
constexpr uint8_t kUpAndDownBits = kUpKeyBit | kDownKeyBit;
constexpr uint8_t kDiagBits = 1 | 8;
constexpr int kLabelPoints = 8;

QRect ToQRect(const Geometry::Rect& r) {
    return {r.left, r.top, r.width, r.height};
}

// The 32 cells over the LCD window: transparent but for the lit dots, so
// the picture's window shows through. Repainted only where a cell changed.
class CellLayer : public QWidget {
  public:
    CellLayer(const std::array<QImage, Geometry::kCells>& cells, QWidget* parent)
        : QWidget(parent), cells_(cells) {
        setGeometry(ToQRect(Geometry::CellBlock()));
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    // The rectangle of a cell in this layer.
    QRect CellRect(int cell) const { return ToQRect(Geometry::Cell(cell)).translated(-pos()); }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        for (int cell = 0; cell < Geometry::kCells; ++cell) {
            const QRect rect = CellRect(cell);
            if (event->rect().intersects(rect))
                painter.drawImage(rect.topLeft(), cells_[static_cast<size_t>(cell)]);
        }
    }

  private:
    const std::array<QImage, Geometry::kCells>& cells_;
};

// A key area: an invisible shape over a key cap that reports every mouse
// button going down and up on it.
class KeyArea : public QWidget {
  public:
    KeyArea(std::function<void(bool)> report, QWidget* parent)
        : QWidget(parent), report_(std::move(report)) {}

  protected:
    void mousePressEvent(QMouseEvent* event) override {
        event->accept();
        report_(true);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        event->accept();
        report_(false);
    }

  private:
    std::function<void(bool)> report_;
};

// A push button that acts on mouse down and mouse up, of any button, and
// never takes the focus from the send box.
class KeyButton : public QPushButton {
  public:
    KeyButton(std::function<void(bool)> report, QWidget* parent)
        : QPushButton(parent), report_(std::move(report)) {
        setFocusPolicy(Qt::NoFocus);
    }

  protected:
    // The button itself answers the left button only; the others are
    // taken here too, so that their release comes back to this button.
    void mousePressEvent(QMouseEvent* event) override {
        QPushButton::mousePressEvent(event);
        event->accept();
        report_(true);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QPushButton::mouseReleaseEvent(event);
        event->accept();
        report_(false);
    }

  private:
    std::function<void(bool)> report_;
};

// ---- The front panel pictures ----

struct Look {
    const char* name;
    const char* kind;
    Colour faceTop, faceBottom;
    Colour accent;
    // Each key cap's symbol.
    enum Symbol { kLeft, kUp, kDown, kRight, kEnter } symbols[Geometry::kKeyAreas];
    bool homeUnderMiddleKeys;
};

const Look kCorvaneLook = {"CORVANE",
                           "GNSS \u00B7 DGPS RECEIVER",
                           Colour{74, 79, 87},
                           Colour{40, 43, 49},
                           Colour{46, 178, 164},
                           {Look::kRight, Look::kDown, Look::kUp, Look::kEnter},
                           true};
const Look kDormalynLook = {"DORMALYN",
                            "STEERING CONTROLLER",
                            Colour{58, 70, 88},
                            Colour{30, 37, 48},
                            Colour{230, 150, 40},
                            {Look::kLeft, Look::kUp, Look::kDown, Look::kRight},
                            false};

constexpr Colour kLcdGreen{189, 205, 171};
constexpr Colour kLitDot{0, 0, 0};
// Halfway to the LCD's green: still legible, plainly not live.
constexpr Colour kDimDot{120, 132, 108};
constexpr Colour kLegend{226, 230, 234};
constexpr Colour kPrint{172, 180, 190};
constexpr int kCapInsetX = 4;
constexpr int kCapTop = 157;
constexpr int kCapHeight = 30;
constexpr qreal kCapRadius = 6;

QFont LegendFont(qreal pixels, bool bold, qreal spacing) {
    QFont font("Arial");
    font.setPixelSize(qRound(pixels));
    font.setBold(bold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

void DrawHousing(QPainter& p, const Look& look) {
    const QRectF outer(0.5, 0.5, Geometry::kPictureWidth - 1, Geometry::kPictureHeight - 1);
    QLinearGradient face(0, 0, 0, Geometry::kPictureHeight);
    face.setColorAt(0, QtColour(look.faceTop));
    face.setColorAt(1, QtColour(look.faceBottom));
    p.setPen(QPen(QtColour({18, 20, 23}), 1));
    p.setBrush(face);
    p.drawRoundedRect(outer, 10, 10);
    // A lighter rim along the top edge, as on a moulded front.
    p.setPen(QPen(QtColour({255, 255, 255}, 40), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(outer.adjusted(1.5, 1.5, -1.5, -1.5), 9, 9);

    // Four screws in the corners.
    const QPointF screws[] = {{13, 13}, {412, 13}, {13, 187}, {412, 187}};
    for (const QPointF& at : screws) {
        QRadialGradient head(at - QPointF(1.5, 1.5), 5);
        head.setColorAt(0, QtColour({170, 174, 180}));
        head.setColorAt(1, QtColour({70, 74, 80}));
        p.setPen(QPen(QtColour({20, 22, 25}), 0.8));
        p.setBrush(head);
        p.drawEllipse(at, 4, 4);
        p.setPen(QPen(QtColour({35, 37, 40}), 1.2));
        p.drawLine(at + QPointF(-2.4, 1.4), at + QPointF(2.4, -1.4));
    }
}

void DrawHeader(QPainter& p, const Look& look) {
    p.setPen(QtColour(kLegend));
    p.setFont(LegendFont(17, true, 4));
    p.drawText(QRectF(28, 14, 200, 26), Qt::AlignLeft | Qt::AlignVCenter, look.name);
    // The accent stripe under the name.
    p.setPen(Qt::NoPen);
    p.setBrush(QtColour(look.accent));
    p.drawRoundedRect(QRectF(29, 41, 34, 3), 1.5, 1.5);

    p.setPen(QtColour(kPrint));
    p.setFont(LegendFont(9, false, 1.6));
    p.drawText(QRectF(180, 20, 190, 16), Qt::AlignRight | Qt::AlignVCenter,
               QString::fromUtf8(look.kind));

    // The power lamp, lit.
    const QPointF lamp(388, 28);
    QRadialGradient glow(lamp, 7);
    glow.setColorAt(0, QtColour({120, 255, 140}, 150));
    glow.setColorAt(1, QtColour({120, 255, 140}, 0));
    p.setBrush(glow);
    p.drawEllipse(lamp, 7, 7);
    QRadialGradient lens(lamp - QPointF(0.8, 0.8), 3);
    lens.setColorAt(0, QtColour({210, 255, 215}));
    lens.setColorAt(1, QtColour({40, 190, 70}));
    p.setPen(QPen(QtColour({20, 60, 30}), 0.8));
    p.setBrush(lens);
    p.drawEllipse(lamp, 2.8, 2.8);
}

void DrawLcdWindow(QPainter& p) {
    const QRect window = ToQRect(Geometry::LcdWindow());
    // A recessed black bezel around the glass.
    const QRectF bezel = QRectF(window).adjusted(-5, -5, 5, 4);
    p.setPen(QPen(QtColour({255, 255, 255}, 45), 1));
    p.setBrush(QtColour({14, 15, 17}));
    p.drawRoundedRect(bezel.adjusted(-0.5, -0.5, 0.5, 0.5), 5, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(QtColour({0, 0, 0}, 120));
    p.drawRoundedRect(bezel.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);

    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(window, QtColour(kLcdGreen));
    // The glass sits below the bezel: a shadow along its top and left edges,
    // clear of the cells.
    p.fillRect(QRect(window.left(), window.top(), window.width(), 2), QtColour({150, 165, 134}));
    p.fillRect(QRect(window.left(), window.top() + 2, 2, window.height() - 2),
               QtColour({163, 178, 147}));
    p.setRenderHint(QPainter::Antialiasing, true);
}

QPainterPath ArrowRight() {
    QPainterPath path;
    path.addRect(QRectF(-9, -1.6, 11, 3.2));
    path.moveTo(9, 0);
    path.lineTo(1, -6.5);
    path.lineTo(1, 6.5);
    path.closeSubpath();
    return path.simplified();
}

QPainterPath EnterArrow() {
    QPainterPath path;
    path.addRect(QRectF(5.4, -7.5, 3.2, 9.1));
    path.addRect(QRectF(-3, -1.6, 11.6, 3.2));
    path.moveTo(-10, 0);
    path.lineTo(-2, -6.5);
    path.lineTo(-2, 6.5);
    path.closeSubpath();
    return path.simplified();
}

void DrawSymbol(QPainter& p, Look::Symbol symbol, const QPointF& centre) {
    QTransform turn;
    turn.translate(centre.x(), centre.y());
    switch (symbol) {
        case Look::kLeft:
            turn.rotate(180);
            break;
        case Look::kUp:
            turn.rotate(-90);
            break;
        case Look::kDown:
            turn.rotate(90);
            break;
        default:
            break;
    }
    const QPainterPath path = symbol == Look::kEnter ? EnterArrow() : ArrowRight();
    p.setPen(Qt::NoPen);
    p.setBrush(QtColour(kLegend));
    p.drawPath(turn.map(path));
}

void DrawKeyCap(QPainter& p, const QRectF& cap, Look::Symbol symbol) {
    // Shadow on the face below the cap.
    p.setPen(Qt::NoPen);
    p.setBrush(QtColour({0, 0, 0}, 90));
    p.drawRoundedRect(cap.translated(0, 2.5).adjusted(-1, 0, 1, 1), kCapRadius, kCapRadius);

    QLinearGradient body(cap.topLeft(), cap.bottomLeft());
    body.setColorAt(0, QtColour({104, 110, 120}));
    body.setColorAt(0.5, QtColour({78, 83, 92}));
    body.setColorAt(1, QtColour({58, 62, 69}));
    p.setPen(QPen(QtColour({24, 26, 29}), 1));
    p.setBrush(body);
    p.drawRoundedRect(cap, kCapRadius, kCapRadius);
    p.setPen(QPen(QtColour({255, 255, 255}, 55), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(cap.adjusted(1, 1, -1, -1), kCapRadius - 1, kCapRadius - 1);

    DrawSymbol(p, symbol, cap.center());
}

// "HOME" printed under the two middle keys, between brackets that span them.
void DrawHomeLegend(QPainter& p) {
    const Geometry::Rect second = Geometry::KeyArea(1);
    const Geometry::Rect third = Geometry::KeyArea(2);
    const qreal left = second.left + kCapInsetX + 4;
    const qreal right = third.left + third.width - kCapInsetX - 4;
    const qreal y = 193.5;
    const QRectF text((left + right) / 2 - 22, y - 6, 44, 12);
    p.setPen(QPen(QtColour(kPrint), 1));
    p.drawLine(QPointF(left, y - 3), QPointF(left, y));
    p.drawLine(QPointF(left, y), QPointF(text.left(), y));
    p.drawLine(QPointF(text.right(), y), QPointF(right, y));
    p.drawLine(QPointF(right, y), QPointF(right, y - 3));
    p.setFont(LegendFont(9, true, 1.5));
    p.drawText(text, Qt::AlignCenter, "HOME");
}

}  // namespace

QImage PanelView::PanelPicture(ZelType unit) {
    const Look& look = unit == ZelType::Dormalyn ? kDormalynLook : kCorvaneLook;
    QImage image(Geometry::kPictureWidth, Geometry::kPictureHeight,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    DrawHousing(p, look);
    DrawHeader(p, look);
    DrawLcdWindow(p);
    for (int key = 0; key < Geometry::kKeyAreas; ++key) {
        const Geometry::Rect area = Geometry::KeyArea(key);
        const QRectF cap(area.left + kCapInsetX + 0.5, kCapTop + 0.5, area.width - 2 * kCapInsetX,
                         kCapHeight);
        DrawKeyCap(p, cap, look.symbols[key]);
    }
    if (look.homeUnderMiddleKeys) DrawHomeLegend(p);
    return image;
}

QImage PanelView::CellPicture(const GlyphRows& glyph, bool dimmed) {
    QImage image(Geometry::kCellWidth, Geometry::kCellHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QRgb colour = QtColour(dimmed ? kDimDot : kLitDot).rgb();
    const Geometry::LitDots lit = Geometry::LitDotsOf(glyph);
    for (const Geometry::Rect& dot : lit.All())
        for (int y = dot.top; y < dot.top + dot.height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = dot.left; x < dot.left + dot.width; ++x) line[x] = colour;
        }
    return image;
}

PanelView::PanelView(PanelScreen& screen, QWidget* displayPanel)
    : QWidget(displayPanel), screen_(screen) {
    setGeometry(0, 0, Geometry::kPanelWidth, Geometry::kPanelHeight);

    for (ZelType unit : {ZelType::Corvane, ZelType::Dormalyn}) {
        auto* picture = new QLabel(this);
        picture->setPixmap(QPixmap::fromImage(PanelPicture(unit)));
        picture->setAttribute(Qt::WA_TransparentForMouseEvents);
        Place(picture, unit == ZelType::Corvane ? mw::iCorvane : mw::iDormalyn);
    }

    for (int cell = 0; cell < Geometry::kCells; ++cell) DrawCell(cell);
    screen_.TakeDirtyCells();
    cellLayer_ = new CellLayer(cells_, this);

    QFont labelFont("Arial", kLabelPoints);
    auto* backLight = new QLabel("BackLight", this);
    QFont italic = labelFont;
    italic.setItalic(true);
    backLight->setFont(italic);
    backLight->setVisible(screen_.BackLight());
    Place(backLight, mw::lBackLight);
    auto* contrastLabel = new QLabel("Contrast", this);
    contrastLabel->setFont(labelFont);
    Place(contrastLabel, mw::lContrast);
    auto* contrast = new QProgressBar(this);
    contrast->setRange(PanelScreen::kContrastMin, PanelScreen::kContrastMax);
    contrast->setValue(screen_.Contrast());
    contrast->setTextVisible(false);
    Place(contrast, mw::pbContrast);

    for (int key = 0; key < Geometry::kKeyAreas; ++key) AddKeyArea(key);
    AddButtons();
}

QWidget* PanelView::Place(QWidget* widget, std::string_view name) {
    widget->setObjectName(Latin1Text(name));
    widget->setGeometry(ToQRect(Geometry::PlaceOf(name)));
    return widget;
}

void PanelView::AddKeyArea(int index) {
    static constexpr std::string_view kNames[Geometry::kKeyAreas] = {mw::sKeyNo1, mw::sKeyNo2,
                                                                     mw::sKeyNo3, mw::sKeyNo4};
    const auto bit = static_cast<uint8_t>(1u << index);
    Place(new KeyArea([this, bit](bool pressed) { Report(bit, pressed); }, this), kNames[index]);
}

void PanelView::AddButtons() {
    QFont buttonFont("Arial", kLabelPoints);
    auto* upAndDown = new KeyButton(
        [this](bool pressed) {
            // The receiver sees Up before Down, as from two fingers; one
            // release lets go of both.
            if (pressed) {
                Report(kUpKeyBit, true);
                Report(kDownKeyBit, true);
            } else {
                Report(kUpAndDownBits, false);
            }
        },
        this);
    upAndDown->setText("Home");
    upAndDown->setFont(buttonFont);
    Place(upAndDown, mw::bUpAndDownKeys);
    auto* diag = new KeyButton([this](bool pressed) { Report(kDiagBits, pressed); }, this);
    diag->setText("Diag");
    diag->setFont(buttonFont);
    Place(diag, mw::bCorvaneDiag);
}

void PanelView::Report(uint8_t bits, bool pressed) {
    if (onKeys) onKeys(bits, pressed);
}

void PanelView::DrawCell(int cell) {
    cells_[static_cast<size_t>(cell)] = CellPicture(screen_.DrawnGlyph(cell), screen_.Stale());
    ++cellsDrawn_;
}

void PanelView::Refresh() {
    uint32_t dirty = screen_.TakeDirtyCells();
    auto* layer = static_cast<CellLayer*>(cellLayer_);
    // One rectangle around the changed cells, not one per cell: the unit's
    // picture under the layer is then copied as a block, where a ragged
    // area had the painter split it across threads on every display.
    QRect changed;
    for (int cell = 0; dirty != 0; ++cell, dirty >>= 1) {
        if ((dirty & 1u) == 0) continue;
        DrawCell(cell);
        changed |= layer->CellRect(cell);
    }
    if (!changed.isEmpty()) layer->update(changed);
}

}  // namespace zelsim

#include "graph/TfGraphicDisplay.h"

#include <QCloseEvent>
#include <QFrame>
#include <QImageWriter>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

#include "base/QtColour.h"
#include "base/ShownText.h"
#include "graph/ChartPaintBox.h"
#include "graph/ChartPainter.h"
#include "graph/GraphWindowControls.h"
#include "graph/GraphicDisplay.h"
#include "graph/StripChart.h"
#include "graph/TimeScrollBar.h"

namespace zelsim {

namespace {

namespace gw = graph_window;

constexpr int kPanelTop = 450;
constexpr int kPanelHeight = 64;
constexpr int kReportRow = 45;
constexpr int kPaintLeft = 2;
constexpr int kButtonRow = 22;
constexpr int kButtonHeight = 20;
constexpr int kSpeedWidth = 26;
constexpr int kButtonFontPixels = 11;
constexpr QSize kGlyphSize(16, 12);
constexpr Colour kGlyphColour{0, 0, 0};

enum Glyph { kToFront, kReverseFast, kReverse, kPauseGlyph, kForward, kForwardFast, kToEnd };

// The speed buttons' pictures: bars and triangles pointing the way the
// chart moves.
QIcon SpeedGlyph(int glyph) {
    QPixmap pm(kGlyphSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QtColour(kGlyphColour));
    const int h = kGlyphSize.height();
    const auto triangle = [&](int x, bool right) {
        const QPolygon shape =
            right ? QPolygon({QPoint(x, 1), QPoint(x + 6, h / 2), QPoint(x, h - 1)})
                  : QPolygon({QPoint(x + 6, 1), QPoint(x, h / 2), QPoint(x + 6, h - 1)});
        p.drawPolygon(shape);
    };
    const auto bar = [&](int x) { p.drawRect(QRect(x, 1, 2, h - 2)); };
    switch (glyph) {
        case kToFront:
            bar(3);
            triangle(6, false);
            break;
        case kReverseFast:
            triangle(2, false);
            triangle(8, false);
            break;
        case kReverse:
            triangle(5, false);
            break;
        case kPauseGlyph:
            bar(5);
            bar(9);
            break;
        case kForward:
            triangle(5, true);
            break;
        case kForwardFast:
            triangle(2, true);
            triangle(8, true);
            break;
        default:
            triangle(4, true);
            bar(11);
            break;
    }
    return QIcon(pm);
}

// "Paused", "Holding", "Auto Save": white bold on a colour of their own.
void StyleStateLabel(QLabel* label, Colour background) {
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, QtColour(background));
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    label->setAutoFillBackground(true);
}

}  // namespace

TfGraphicDisplay::TfGraphicDisplay(GraphicDisplay& display, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      display_(display) {
    setObjectName(Latin1Text(gw::fGraphicDisplay));
    auto* client = this;
    auto* main = new QFrame(client);
    main->setObjectName(Latin1Text(gw::pMainPanel));
    main->setGeometry(0, 0, GraphicDisplay::kClientWidth, StripChart::kPaintHeight);
    paintBox_ = new ChartPaintBox(StripChart::kPaintWidth, StripChart::kPaintHeight, main);
    paintBox_->setObjectName(Latin1Text(gw::pbGraphicDisplay));
    paintBox_->move(kPaintLeft, 0);
    paintBox_->onPress = [this](QPoint at, Qt::MouseButton button, QPoint global) {
        PressOnChart(at, button, global);
    };
    paintBox_->onRelease = [this](Qt::MouseButton button) {
        if (button == Qt::LeftButton)
            Act([this] { display_.MouseUp(GraphicDisplay::MouseButton::kLeft); });
    };

    auto* buttons = new QFrame(client);
    buttons->setObjectName(Latin1Text(gw::pButtonPanel));
    // The buttons are laid out narrow: their captions take a small font.
    QFont small = buttons->font();
    small.setPixelSize(kButtonFontPixels);
    buttons->setFont(small);
    buttons->setGeometry(0, kPanelTop, GraphicDisplay::kClientWidth, kPanelHeight);
    BuildButtons(buttons);

    binding_ = std::make_unique<WindowBinding>(*this, *client, display_.Controls());
    binding_->BindChildren();
    ApplyControls();
}

TfGraphicDisplay::~TfGraphicDisplay() = default;

template <typename F>
void TfGraphicDisplay::Act(F&& action) {
    action();
    ApplyControls();
}

QPushButton* TfGraphicDisplay::AddButton(std::string_view name, QWidget* parent, int x, int y,
                                         int w, const char* caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(Latin1Text(name));
    button->setGeometry(x, y, w, kButtonHeight);
    return button;
}

QToolButton* TfGraphicDisplay::AddSpeedButton(std::string_view name, QWidget* parent, int x,
                                              int glyph) {
    auto* button = new QToolButton(parent);
    button->setObjectName(Latin1Text(name));
    button->setGeometry(x, 0, kSpeedWidth, kButtonHeight);
    button->setIcon(SpeedGlyph(glyph));
    button->setIconSize(kGlyphSize);
    button->setFocusPolicy(Qt::StrongFocus);
    return button;
}

void TfGraphicDisplay::BuildButtons(QWidget* panel) {
    auto* time = new TimeScrollBar(panel);
    time->setObjectName(Latin1Text(gw::sbGraphTime));
    time->setGeometry(8, 3, 340, 14);
    time->setPageStep(display_.SamplesShown());
    connect(time, &QScrollBar::valueChanged, this,
            [this](int position) { Act([this, position] { display_.MoveTime(position); }); });

    const QToolButton* toFront = AddSpeedButton(gw::spToFront, panel, 352, kToFront);
    connect(toFront, &QToolButton::clicked, this, [this] { Act([this] { display_.ToFront(); }); });
    for (size_t i = 0; i < gw::kPlayButtons.size(); ++i) {
        QToolButton* play =
            AddSpeedButton(gw::kPlayButtons[i], panel, 380 + 28 * static_cast<int>(i),
                           kReverseFast + static_cast<int>(i));
        play->setCheckable(true);
        const GraphicDisplay::Playback speed = GraphicDisplay::kPlaySpeeds[i];
        connect(play, &QToolButton::clicked, this,
                [this, speed] { Act([this, speed] { display_.Play(speed); }); });
    }
    const QToolButton* toEnd = AddSpeedButton(gw::sbToEnd, panel, 520, kToEnd);
    connect(toEnd, &QToolButton::clicked, this, [this] { Act([this] { display_.ToEnd(); }); });

    struct StateLabel {
        std::string_view name;
        const char* text;
        int x;
        int width;
        Colour background;
    };
    for (const StateLabel& s : {StateLabel{gw::lPaused, "Paused", 586, 50, {255, 0, 0}},
                                StateLabel{gw::lHolding, "Holding", 642, 50, {0, 0, 128}},
                                StateLabel{gw::lAutoSave, "Auto Save", 698, 66, {0, 0, 255}}}) {
        auto* label = new QLabel(s.text, panel);
        label->setObjectName(Latin1Text(s.name));
        label->setGeometry(s.x, 0, s.width, kButtonHeight);
        StyleStateLabel(label, s.background);
    }

    connect(
        AddButton(gw::bSaveGraph, panel, 8, kButtonRow, 70, "Save Graph"), &QPushButton::clicked,
        this, [this] {
            Act([this] {
                display_.SaveGraph([this](const std::string& path) -> std::optional<std::string> {
                    QImageWriter writer(ShownText(path), "bmp");
                    if (writer.write(paintBox_->ShownPicture())) return std::nullopt;
                    return TypedText(writer.errorString());
                });
            });
        });
    connect(AddButton(gw::bPause, panel, 80, kButtonRow, 80, "&Pause"), &QPushButton::clicked, this,
            [this] { Act([this] { display_.Pause(); }); });
    connect(AddButton(gw::bLoadData, panel, 173, kButtonRow, 66, "Load Data"),
            &QPushButton::clicked, this, [this] { Act([this] { display_.LoadData(); }); });
    connect(AddButton(gw::bSaveData, panel, 241, kButtonRow, 66, "Save Data"),
            &QPushButton::clicked, this, [this] { Act([this] { display_.SaveData(); }); });
    connect(AddButton(gw::bHold, panel, 309, kButtonRow, 66, "&Hold"), &QPushButton::clicked, this,
            [this] { Act([this] { display_.Hold(); }); });
    connect(AddButton(gw::bAutoSave, panel, 377, kButtonRow, 84, "&Auto Save On"),
            &QPushButton::clicked, this, [this] { Act([this] { display_.ToggleAutoSave(); }); });
    connect(AddButton(gw::bLogGridOnOff, panel, 478, kButtonRow, 80, "Log Grid Off"),
            &QPushButton::clicked, this, [this] { Act([this] { display_.ToggleLogGrid(); }); });
    connect(AddButton(gw::bLinearGridOnOff, panel, 560, kButtonRow, 80, "Linear Grid Off"),
            &QPushButton::clicked, this, [this] { Act([this] { display_.ToggleLinearGrid(); }); });
    connect(AddButton(gw::bCogDisplay, panel, 642, kButtonRow, 40, "COG "), &QPushButton::clicked,
            this, [this] { Act([this] { display_.ToggleCourseDisplay(); }); });
    connect(AddButton(gw::bClear, panel, 684, kButtonRow, 40, "Clear"), &QPushButton::clicked, this,
            [this] { Act([this] { display_.Clear(); }); });
    connect(AddButton(gw::bClose, panel, 726, kButtonRow, 40, "Close"), &QPushButton::clicked, this,
            [this] { Act([this] { display_.Close(); }); });

    auto* report = new QLabel(panel);
    report->setObjectName(Latin1Text(gw::lFileReport));
    report->setGeometry(8, kReportRow, GraphicDisplay::kClientWidth - 16, kButtonHeight - 4);
    report->setTextFormat(Qt::PlainText);
    report->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void TfGraphicDisplay::PressOnChart(QPoint at, Qt::MouseButton button, QPoint global) {
    if (button != Qt::LeftButton && button != Qt::RightButton) return;
    const auto which = button == Qt::LeftButton ? GraphicDisplay::MouseButton::kLeft
                                                : GraphicDisplay::MouseButton::kRight;
    std::optional<int> popupTrace;
    Act([&] { popupTrace = display_.MouseDown(at.x(), at.y(), which); });
    if (popupTrace) ChangeScale(*popupTrace, global);
}

void TfGraphicDisplay::ChangeScale(int trace, QPoint global) {
    const GraphicDisplay::ScalePopup popup = display_.PopupFor(trace);
    QMenu menu(this);
    menu.setObjectName("cmChangeScale");
    menu.addAction(Latin1Text(popup.title))->setEnabled(false);
    for (size_t i = 0; i < popup.captions.size(); ++i) {
        QAction* item = menu.addAction(Latin1Text(popup.captions[i]));
        item->setCheckable(true);
        item->setChecked(static_cast<int>(i) == popup.checked);
        item->setData(static_cast<int>(i));
    }
    const QAction* chosen = menu.exec(global);
    if (chosen == nullptr || !chosen->data().isValid()) return;
    const int index = chosen->data().toInt();
    Act([this, trace, index] { display_.ChooseScale(trace, index); });
}

void TfGraphicDisplay::ApplyControls() {
    binding_->Apply();
    if (display_.ShownRevision() == paintedRevision_) return;
    paintedRevision_ = display_.ShownRevision();
    PaintChart(display_.Drawing(), paintBox_->DrawingPicture());
    paintBox_->Present();
}

void TfGraphicDisplay::closeEvent(QCloseEvent* event) {
    Act([this] { display_.Close(); });
    event->accept();
}

void TfGraphicDisplay::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // Hiding may report the window at the screen's corner: only a shown
    // window is where the user put it.
    if (isVisible()) display_.WindowMoved(x(), y());
}

void TfGraphicDisplay::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Act([this] { display_.Close(); });
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace zelsim

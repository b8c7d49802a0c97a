#include "gps/TfPositionDeviation.h"

#include <QLabel>
#include <QPushButton>

#include "base/ShownText.h"
#include "gps/DeviationWindow.h"
#include "gps/GpsWindowControls.h"

namespace zelsim {

namespace {

namespace dw = deviation_window;

constexpr int kLeft = 8;
constexpr int kLabelWidth = 132;
constexpr int kFirstValue = 144;
constexpr int kSecondValue = 316;
constexpr int kValueWidth = 164;
constexpr int kButtonLeft = 404;
constexpr int kButtonWidth = 80;
constexpr int kFirstRow = 8;
constexpr int kRowPitch = 32;
constexpr int kRowHeight = 24;
constexpr int kFontPointSize = 10;

int RowTop(int row) {
    return kFirstRow + row * kRowPitch;
}

}  // namespace

TfPositionDeviation::TfPositionDeviation(DeviationWindow& deviation, QWidget* parent)
    : ToolWindowView(deviation.Window(), dw::fPositionDeviation, parent), deviation_(deviation) {
    const char* labels[] = {"Reference Position", "Current Position", "Sample Count Target",
                            "Sample Count", "Horizontal RMS Error"};
    for (int row = 0; row < 5; ++row) {
        auto* label = new QLabel(labels[row], this);
        label->setGeometry(kLeft, RowTop(row), kLabelWidth, kRowHeight);
    }
    AddValue(dw::lReferencePositionLat, kFirstValue, 0, kValueWidth);
    AddValue(dw::lReferencePositionLon, kSecondValue, 0, kValueWidth);
    AddValue(dw::lCurrentPositionLat, kFirstValue, 1, kValueWidth);
    AddValue(dw::lCurrentPositionLon, kSecondValue, 1, kValueWidth);
    AddValue(dw::lSampleTarget, kFirstValue, 2, kValueWidth);
    AddValue(dw::lSampleCount, kFirstValue, 3, kValueWidth);
    AddValue(dw::lDeviation, kFirstValue, 4, kValueWidth);

    connect(AddButton(dw::bStopRun, "&Stop", 2), &QPushButton::clicked, this,
            [this] { Act([this] { deviation_.StopRun(); }); });
    connect(AddButton(dw::bReset, "&Reset", 3), &QPushButton::clicked, this,
            [this] { Act([this] { deviation_.Reset(); }); });
    connect(AddButton(dw::bClose, "&Close", 4), &QPushButton::clicked, this,
            [this] { Act([this] { deviation_.Close(); }); });
    Bind();
}

QLabel* TfPositionDeviation::AddValue(std::string_view name, int x, int row, int width) {
    auto* value = new QLabel(this);
    value->setObjectName(Latin1Text(name));
    value->setGeometry(x, RowTop(row), width, kRowHeight);
    value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setFont(QFont("Courier New", kFontPointSize));
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return value;
}

QPushButton* TfPositionDeviation::AddButton(std::string_view name, const char* caption, int row) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(Latin1Text(name));
    button->setGeometry(kButtonLeft, RowTop(row), kButtonWidth, kRowHeight);
    return button;
}

}  // namespace zelsim

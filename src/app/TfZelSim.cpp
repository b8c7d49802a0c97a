#include "app/TfZelSim.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "app/MainLayout.h"
#include "app/RxTxIndicator.h"
#include "app/Station.h"
#include "monitor/MessageMonitorMenu.h"
#include "monitor/MessageMonitorPanel.h"
#include "monitor/MessageMonitorView.h"

namespace {
constexpr QSize kIndicatorSize(28, 24);
const QColor kFrameColour(90, 90, 90);
const QColor kTxColour(200, 40, 30);
const QColor kRxColour(20, 150, 40);
const QColor kPortMessageColour(180, 0, 0);

QPixmap IndicatorFrame() {
    QPixmap pm(kIndicatorSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kFrameColour, 1.5));
    p.drawRoundedRect(QRectF(1, 1, kIndicatorSize.width() - 2, kIndicatorSize.height() - 2), 4, 4);
    return pm;
}

// An arrow across half the frame: transmit points right on the top half,
// receive points left on the bottom half.
QPixmap IndicatorArrow(bool pointsRight, int centreY, const QColor& colour) {
    QPixmap pm(kIndicatorSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    const qreal l = 5, r = kIndicatorSize.width() - 5, y = centreY;
    QPainterPath path;
    if (pointsRight) {
        path.addRect(QRectF(l, y - 1.5, r - l - 6, 3));
        path.moveTo(r, y);
        path.lineTo(r - 7, y - 5);
        path.lineTo(r - 7, y + 5);
    } else {
        path.addRect(QRectF(l + 6, y - 1.5, r - l - 6, 3));
        path.moveTo(l, y);
        path.lineTo(l + 7, y - 5);
        path.lineTo(l + 7, y + 5);
    }
    path.closeSubpath();
    p.drawPath(path);
    return pm;
}
}  // namespace

TfZelSim::TfZelSim(Station& station, QWidget* parent) : QMainWindow(parent), station_(station) {
    setObjectName("fZelSim");
    BuildPanels();
    BuildMenus();
    MonitorLayoutChanged();

    timer_ = new QTimer(this);
    timer_->setObjectName("Timer20ms");
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &TfZelSim::T10msTick);
    timer_->start(kTickIntervalMs);
}

template <typename F>
void TfZelSim::Act(F&& action) {
    action();
    ApplyControls();
}

void TfZelSim::T10msTick() {
    station_.Tick();
    ApplyControls();
    // The monitor follows in the cycle's own wake-up: a timer of its own
    // would wake the program ten more times a second.
    if (++ticksSinceDisplay_ >= kDisplayTicks) {
        ticksSinceDisplay_ = 0;
        monitorPanel_->View()->Refresh();
    }
}

QWidget* TfZelSim::AddPanel(const char* name, QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    widgets_[name] = panel;
    return panel;
}

QLabel* TfZelSim::AddLabel(const char* name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    widgets_[name] = label;
    return label;
}

QPushButton* TfZelSim::AddButton(const char* name, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setFocusPolicy(Qt::TabFocus);
    widgets_[name] = button;
    return button;
}

QLabel* TfZelSim::AddIndicatorImage(const char* name, QWidget* parent, const QPixmap& art) {
    QLabel* image = AddLabel(name, parent);
    image->setPixmap(art);
    image->setAttribute(Qt::WA_TransparentForMouseEvents);
    return image;
}

void TfZelSim::BuildPanels() {
    client_ = new QWidget(this);
    client_->setFixedSize(MainLayout::kClientWidth, MainLayout::kClientHeight);
    setCentralWidget(client_);

    QWidget* aux = AddPanel("pAuxPanel", client_);
    QWidget* display = AddPanel("pDisplayPanel", client_);
    AddPanel("pButtonPanel", client_);
    static_cast<QFrame*>(display)->setFrameShape(QFrame::StyledPanel);

    monitorPanel_ = new MessageMonitorPanel(station_.Monitor(), station_.Sender(), client_);
    widgets_[monitorPanel_->objectName().toStdString()] = monitorPanel_;
    MessageMonitorView* view = monitorPanel_->View();
    // The legend is modal: keys go to it, not to the panel or the buttons.
    view->onLegendOpening = [this] { station_.SetKeyHookActive(false); };
    view->onLegendClosed = [this] { station_.SetKeyHookActive(true); };

    QPushButton* connectButton = AddButton(Station::kConnectButton, aux);
    connect(connectButton, &QPushButton::clicked, this, [this] { Act([this] { station_.ComOpenClose(); }); });

    AddIndicatorImage(RxTxIndicator::kFrame, aux, IndicatorFrame());
    AddIndicatorImage(RxTxIndicator::kTxArrow, aux, IndicatorArrow(true, 8, kTxColour));
    AddIndicatorImage(RxTxIndicator::kRxArrow, aux, IndicatorArrow(false, 16, kRxColour));

    QLabel* message = AddLabel(Station::kPortMessage, aux);
    message->setWordWrap(true);
    QPalette palette = message->palette();
    palette.setColor(QPalette::WindowText, kPortMessageColour);
    message->setPalette(palette);
}

QAction* TfZelSim::AddRadioItem(QMenu* menu, QActionGroup* group, const std::string& name,
                                const QString& caption) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromStdString(name));
    item->setCheckable(true);
    group->addAction(item);
    menuItems_[name] = item;
    return item;
}

void TfZelSim::BuildMenus() {
    QMenu* com = menuBar()->addMenu("&COM Port");
    com->setObjectName("mComPort");
    auto* comGroup = new QActionGroup(this);
    for (int n = 1; n <= Station::kComMenuItems; ++n) {
        QAction* item = AddRadioItem(com, comGroup, Station::ComItemName(n),
                                     QString::fromStdString(station_.ComItemCaption(n)));
        connect(item, &QAction::triggered, this, [this, n] { Act([this, n] { station_.SelectComPort(n); }); });
    }

    QMenu* baud = menuBar()->addMenu("&Baud Rate");
    baud->setObjectName("mBaud");
    auto* baudGroup = new QActionGroup(this);
    for (int i = 0; i < Station::kBaudMenuItems; ++i) {
        QAction* item = AddRadioItem(baud, baudGroup, Station::BaudItemName(i), Station::BaudCaption(i));
        const uint32_t rate = SerialPort::RateAt(i);
        connect(item, &QAction::triggered, this, [this, rate] { Act([this, rate] { station_.SelectBaud(rate); }); });
    }

    QMenu* zel = menuBar()->addMenu("&ZEL Options");
    zel->setObjectName("mZelOptions");
    auto* zelGroup = new QActionGroup(this);
    const std::pair<ZelType, const char*> types[] = {
        {ZelType::Off, "Off"}, {ZelType::Dormalyn, "Dormalyn"}, {ZelType::Corvane, "Corvane"}};
    for (const auto& [type, caption] : types) {
        QAction* item = AddRadioItem(zel, zelGroup, Station::ZelTypeItemName(type), caption);
        connect(item, &QAction::triggered, this, [this, type = type] { Act([this, type] { station_.SelectZelType(type); }); });
    }

    QMenu* monitor = menuBar()->addMenu("&Message Monitor Options");
    monitor->setObjectName("mMsgMonOptions");
    monitorMenu_ = new MessageMonitorMenu(station_.Monitor(), monitor, this);
    connect(monitorMenu_, &MessageMonitorMenu::layoutChanged, this, &TfZelSim::MonitorLayoutChanged);
    auto* flush = new QAction("Flush Serial Port", this);
    flush->setObjectName("mnuMsgFlushSerial");
    monitor->insertAction(monitorMenu_->TimeAction(), flush);
    menuItems_["mnuMsgFlushSerial"] = flush;
    connect(flush, &QAction::triggered, this, [this] { Act([this] { station_.FlushSerialPort(); }); });
}

void TfZelSim::MonitorLayoutChanged() {
    monitorPanel_->Relayout();
    station_.MonitorLayoutChanged();
    ApplyControls();
    // Big makes the monitor taller than the design leaves room for.
    const int bottom = monitorPanel_->isVisible() ? monitorPanel_->geometry().bottom() + 1 : 0;
    client_->setFixedSize(MainLayout::kClientWidth, std::max(MainLayout::kClientHeight, bottom));
    adjustSize();
}

void TfZelSim::ApplyPlacement(const Settings& settings) {
    move(settings.zelSimWindowLeft, settings.zelSimWindowTop);
    monitorPanel_->View()->legendPosition =
        QPoint(settings.msgMonColorsWindowLeft, settings.msgMonColorsWindowTop);
}

void TfZelSim::StorePlacement(Settings& settings) const {
    settings.zelSimWindowLeft = x();
    settings.zelSimWindowTop = y();
    const QPoint legend = monitorPanel_->View()->legendPosition;
    settings.msgMonColorsWindowLeft = legend.x();
    settings.msgMonColorsWindowTop = legend.y();
}

QWidget* TfZelSim::Control(const std::string& name) const {
    auto it = widgets_.find(name);
    return it == widgets_.end() ? nullptr : it->second;
}

QAction* TfZelSim::MenuItem(const std::string& name) const {
    auto it = menuItems_.find(name);
    return it == menuItems_.end() ? nullptr : it->second;
}

void TfZelSim::ApplyControls() {
    ControlTable& table = station_.Controls();
    table.ForEachChangedSince(appliedRevision_, [this](const std::string& name, const ControlState& s) {
        if (name == Station::kCaption) {
            setWindowTitle(QString::fromStdString(s.text));
            return;
        }
        if (QAction* item = MenuItem(name)) {
            if (item->isCheckable()) item->setChecked(s.checked);
            item->setEnabled(s.enabled);
            return;
        }
        QWidget* w = Control(name);
        if (!w) return;
        if (auto* button = qobject_cast<QPushButton*>(w)) button->setText(QString::fromStdString(s.text));
        else if (auto* label = qobject_cast<QLabel*>(w); label && label->pixmap().isNull())
            label->setText(QString::fromStdString(s.text));
        if (s.left != ControlState::kUnset) w->move(s.left, s.top);
        if (s.width != ControlState::kUnset) w->resize(s.width, s.height);
        w->setEnabled(s.enabled);
        w->setVisible(s.visible);
    });
    appliedRevision_ = table.Revision();
}

void TfZelSim::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        closing_ = true;
        timer_->stop();
        station_.Shutdown();
        ApplyControls();
        emit closed();
    }
    event->accept();
}

#pragma once
#include <QElapsedTimer>
#include <QMainWindow>
#include <memory>
#include <string_view>

#include "base/WindowBinding.h"
#include "monitor/MessageMonitorView.h"
#include "serial/RxTxIndicator.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;

namespace zelsim {

class FileSendPanel;
class MessageMonitorPanel;
class PanelView;
class UserButtonsPanel;
class PortWatch;
class SendBoxInput;
class TfCogDisplay;
class TfGpsSimulator;
class TfGraphicDisplay;
class TfKeyboardShortcuts;
class TfPositionDeviation;
class TfSkyView;
class TfSvStatus;
class ZelSim;

// The main window: a thin view of ZelSim. It binds each named control to a
// widget or menu item, forwards the user's actions to the parts, runs the
// 10 ms cycle (and lets it sleep while nothing is due), and applies what
// changed in the control table after every user action and ten times a
// second.
class TfZelSim : public QMainWindow {
    Q_OBJECT

  public:
    static constexpr int kTickIntervalMs = 10;
    static constexpr int kDisplayIntervalMs = MessageMonitorView::kDisplayIntervalMs;
    // Cycles without a byte and with nothing due before a busy line's
    // cycle sleeps.
    static constexpr int kQuietCyclesToSleep = 2;
    // Bytes that arrive this long after the last ones come on a quiet line:
    // once they are handled the cycle sleeps again at once.
    static constexpr int kQuietLineMs = 2 * kTickIntervalMs;

    explicit TfZelSim(ZelSim& zelSim, QWidget* parent = nullptr);
    ~TfZelSim() override;

    // A signal closes the window: nobody may be there to answer a question.
    void CloseUnattended();

    // Applies the control table entries changed since the last call.
    void ApplyControls();
    const WindowBinding& Binding() const { return *binding_; }
    // The cycle sleeps: nothing is due and nothing arrives.
    bool Asleep() const { return asleep_; }
    // What woke it last.
    enum class Waking : uint8_t { kNotYet, kArrival, kDeadline, kActivity };
    Waking LastWaking() const { return lastWaking_; }
    // bClickGraphicDisplay, as a click on the button would.
    void OpenGraph();
    // A saved data file in the graph window, in Hold, as Load Data shows it.
    void ShowGraphFile(const std::string& path);
    TfGraphicDisplay& GraphWindow() const { return *graphWindow_; }
    TfCogDisplay& CogWindow() const { return *cogWindow_; }
    TfPositionDeviation& DeviationWindow() const { return *deviationWindow_; }
    TfSvStatus& SvStatusWindow() const { return *svStatusWindow_; }
    TfSkyView& SkyViewWindow() const { return *skyViewWindow_; }
    TfGpsSimulator& GpsSimulatorWindow() const { return *gpsSimulatorWindow_; }
    // Help > Keyboard Shortcuts, once it has been opened.
    TfKeyboardShortcuts* ShortcutsWindow() const { return shortcutsWindow_; }

  signals:
    // The window has closed: the port is shut and the settings are saved.
    void closed();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // The client area resized by the user.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void T10msTick();
    // While no part has anything due and nothing arrives, the cycle sleeps:
    // it wakes when bytes arrive, at the first part's deadline, or when the
    // user does something.
    void SleepIfQuiet();
    void Wake(Waking why);
    // Shows in every window what the parts changed since the last display.
    void Display();
    // The room the screen has for the client area.
    void MeasureScreenRoom();
    void BuildPanels();
    void BuildScriptControls(QWidget* aux);
    void BuildMenus();
    void BuildButtonMenu();
    // "more": the GPS windows.
    void BuildMoreMenu();
    // "Help", last on the bar, and Ctrl+Q.
    void BuildHelpMenu();
    void ShowAbout();
    void ShowShortcuts();
    // bClickButton1Popup..8: the Define Button dialog of position 0..7.
    void DefineButton(int position);
    // bClickSendFilePopup: the line-delay dialog.
    void EditLineDelay();
    QWidget* AddPanel(std::string_view name, QWidget* parent);
    QLabel* AddLabel(std::string_view name, QWidget* parent);
    QPushButton* AddButton(std::string_view name, QWidget* parent);
    QLabel* AddIndicatorImage(std::string_view name, QWidget* parent, const QPixmap& art);
    QAction* AddItem(QMenu* menu, std::string_view name, const QString& caption);
    QAction* AddRadioItem(QMenu* menu, QActionGroup* group, std::string_view name,
                          const QString& caption);
    // A user's action: the parts act, then the window shows the outcome.
    template <typename F>
    void Act(F&& action);

    ZelSim& zelSim_;
    QTimer* timer_ = nullptr;
    QTimer* wakeTimer_ = nullptr;
    int quietCycles_ = 0;
    bool asleep_ = false;
    Waking lastWaking_ = Waking::kNotYet;
    QWidget* client_ = nullptr;
    MessageMonitorPanel* monitorPanel_ = nullptr;
    PanelView* panelView_ = nullptr;
    UserButtonsPanel* buttonsPanel_ = nullptr;
    FileSendPanel* fileSendPanel_ = nullptr;
    SendBoxInput* sendBoxInput_ = nullptr;
    PortWatch* portWatch_ = nullptr;
    TfGraphicDisplay* graphWindow_ = nullptr;
    TfCogDisplay* cogWindow_ = nullptr;
    TfPositionDeviation* deviationWindow_ = nullptr;
    TfSvStatus* svStatusWindow_ = nullptr;
    TfSkyView* skyViewWindow_ = nullptr;
    TfGpsSimulator* gpsSimulatorWindow_ = nullptr;
    TfKeyboardShortcuts* shortcutsWindow_ = nullptr;
    std::unique_ptr<WindowBinding> binding_;
    QElapsedTimer displayClock_;
    QElapsedTimer cycleClock_;
    // Since the last cycle that read bytes.
    QElapsedTimer bytesClock_;
    bool displayPending_ = false;
    // Since the first change not yet shown.
    QElapsedTimer pendingClock_;
    // The arrows as the window last showed them.
    RxTxIndicator::Arrows shownArrows_ = RxTxIndicator::kHidden;
    uint64_t bytesSeen_ = 0;
    bool closing_ = false;
    bool unattended_ = false;
};

}  // namespace zelsim

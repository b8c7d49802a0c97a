#pragma once
#include <QMainWindow>
#include <map>
#include <string>

#include "monitor/MessageMonitorView.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QPushButton;
class QTimer;
class MessageMonitorMenu;
class MessageMonitorPanel;
class Settings;
class Station;

// The main window: a thin view of Station. It binds each named control to a
// widget or menu item, forwards the user's actions, runs the 10 ms timer and
// applies what changed in the control table after every event and tick.
class TfZelSim : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kTickIntervalMs = 10;
    static constexpr int kDisplayTicks = MessageMonitorView::kDisplayIntervalMs / kTickIntervalMs;

    explicit TfZelSim(Station& station, QWidget* parent = nullptr);

    // The window's and the legend's stored positions.
    void ApplyPlacement(const Settings& settings);
    void StorePlacement(Settings& settings) const;

    // Applies the control table entries changed since the last call.
    void ApplyControls();
    QWidget* Control(const std::string& name) const;
    QAction* MenuItem(const std::string& name) const;

signals:
    // The window has closed and the station has shut the port.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void T10msTick();
    void BuildPanels();
    void BuildMenus();
    void MonitorLayoutChanged();
    QWidget* AddPanel(const char* name, QWidget* parent);
    QLabel* AddLabel(const char* name, QWidget* parent);
    QPushButton* AddButton(const char* name, QWidget* parent);
    QLabel* AddIndicatorImage(const char* name, QWidget* parent, const QPixmap& art);
    QAction* AddRadioItem(QMenu* menu, QActionGroup* group, const std::string& name,
                          const QString& caption);
    template <typename F>
    void Act(F&& action);

    Station& station_;
    QTimer* timer_ = nullptr;
    QWidget* client_ = nullptr;
    MessageMonitorPanel* monitorPanel_ = nullptr;
    MessageMonitorMenu* monitorMenu_ = nullptr;
    std::map<std::string, QWidget*> widgets_;
    std::map<std::string, QAction*> menuItems_;
    uint64_t appliedRevision_ = 0;
    int ticksSinceDisplay_ = 0;
    bool closing_ = false;
};

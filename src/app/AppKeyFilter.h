#pragma once
#include <QObject>

#include "app/KeyHook.h"

class QWidget;

namespace zelsim {

class ZelSim;

// The application-wide key hook: sees every key press and release before the
// focused control and consumes the ones core acts on. Only keys bound for a
// control of the main window count: an open menu, the menu bar in keyboard
// navigation and every other window handle their keys themselves.
class AppKeyFilter : public QObject {
    Q_OBJECT

  public:
    AppKeyFilter(ZelSim& zelSim, QWidget* mainWindow, QObject* parent = nullptr);

    static KeyHook::Key KeyOf(int qtKey);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool ForMainWindowControl(QObject* watched) const;

    ZelSim& zelSim_;
    QWidget* mainWindow_;
};

}  // namespace zelsim

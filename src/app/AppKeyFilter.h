#pragma once
#include <QObject>

#include "app/KeyHook.h"

namespace zelsim {

class ZelSim;

// The application-wide key hook: sees every key press and release before the
// focused control and consumes the ones core acts on.
class AppKeyFilter : public QObject {
    Q_OBJECT

  public:
    explicit AppKeyFilter(ZelSim& zelSim, QObject* parent = nullptr);

    static KeyHook::Key KeyOf(int qtKey);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    ZelSim& zelSim_;
};

}  // namespace zelsim

#pragma once
#include <QObject>

#include "app/KeyHook.h"

class Station;

// The application-wide key hook: sees every key press and release before the
// focused control and consumes the ones the station acts on.
class AppKeyFilter : public QObject {
    Q_OBJECT

public:
    explicit AppKeyFilter(Station& station, QObject* parent = nullptr);

    static KeyHook::Key KeyOf(int qtKey);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Station& station_;
};

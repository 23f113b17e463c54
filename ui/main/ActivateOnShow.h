#pragma once

#include <QObject>

class QWidget;

// Event filter that makes a window the active one each time it is shown, so that the keys the user
// types next reach it. Windows shows a tool window without activating it (its owner keeps the
// keyboard while a modal tool window blocks it); other platforms activate it anyway. The window
// owns the filter; create it once, before the window is first shown:
//   new ActivateOnShow(window);
class ActivateOnShow : public QObject {
    Q_OBJECT

public:
    explicit ActivateOnShow(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    QWidget& window_;
};

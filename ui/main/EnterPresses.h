#pragma once

#include <QObject>

class QWidget;

// Event filter for push buttons: Return and the keypad's Enter press the button that has the
// focus, as Space does, while no button is the default button of its window.
class EnterPresses : public QObject {
    Q_OBJECT

public:
    // Installs itself on every push button in the window, which owns it.
    explicit EnterPresses(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

#pragma once

#include <QObject>

class QWidget;

// Event filter for push buttons: Return and the keypad's Enter press the button that has the
// focus, as Space does, while no button is the default button of its window.
class EnterPresses : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Installs one filter, owned by the window, on every push button in it.
    static void installOnButtonsOf(QWidget& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

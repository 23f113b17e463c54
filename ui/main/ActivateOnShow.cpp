#include "ActivateOnShow.h"

#include <QEvent>
#include <QTimerEvent>
#include <QWidget>

ActivateOnShow::ActivateOnShow(QWidget& window)
    : QObject(&window)
    , window_(window)
{
    window.installEventFilter(this);
}

bool ActivateOnShow::eventFilter(QObject* watched, QEvent* event)
{
    // The show event comes before the platform shows the window; the activation is asked for from
    // the event loop (a modal window's own loop), once the window is on the screen.
    if (watched == &window_ && event->type() == QEvent::Show)
        startTimer(0);
    return QObject::eventFilter(watched, event);
}

void ActivateOnShow::timerEvent(QTimerEvent* event)
{
    killTimer(event->timerId());
    if (window_.isVisible())
        window_.activateWindow();
}

#include "ActivateOnShow.h"

#include <QEvent>
#include <QWidget>

ActivateOnShow::ActivateOnShow(QWidget& window)
    : QObject(&window)
{
    window.installEventFilter(this);
}

bool ActivateOnShow::eventFilter(QObject* watched, QEvent* event)
{
    auto* window = qobject_cast<QWidget*>(watched);
    if (window != nullptr && event->type() == QEvent::Show && window->isWindow()) {
        // The show event comes before the platform shows the window; activating it takes effect
        // once it is on the screen, so it is asked for from the event loop (a modal window's
        // own loop), and only if the window is still shown then.
        QMetaObject::invokeMethod(
            window,
            [window] {
                if (window->isVisible())
                    window->activateWindow();
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

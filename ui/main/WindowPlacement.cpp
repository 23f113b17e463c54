#include "WindowPlacement.h"

#include <QScreen>
#include <QWidget>

void centreOnScreen(QWidget& window)
{
    const QScreen* screen = window.screen();
    if (screen == nullptr)
        return;
    // Before the first showing the frame is not known yet; the client area then stands for it.
    const QRect frame = window.frameGeometry();
    QRect centred(QPoint(), frame.size());
    centred.moveCenter(screen->availableGeometry().center());
    window.move(centred.topLeft()); // a window's position is that of its frame
}

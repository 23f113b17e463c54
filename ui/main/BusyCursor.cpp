#include "BusyCursor.h"

#include <QWidget>

BusyCursor::BusyCursor(QWidget& window)
    : window_(window)
{
    window_.setCursor(Qt::WaitCursor);
}

BusyCursor::~BusyCursor()
{
    window_.setCursor(Qt::ArrowCursor);
}

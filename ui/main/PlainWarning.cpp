#include "PlainWarning.h"

#include "ActivateOnShow.h"

#include <QMessageBox>

void showPlainWarning(QWidget& window, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, window.windowTitle(), text, QMessageBox::Ok, &window);
    box.setTextFormat(Qt::PlainText);
    new ActivateOnShow(box); // owned by the box
    box.exec();
}

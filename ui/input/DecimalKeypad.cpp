#include "DecimalKeypad.h"

#include <QKeyEvent>
#include <QLineEdit>

DecimalKeypad::DecimalKeypad(QString decimal, QObject* parent)
    : QObject(parent)
    , decimal_(std::move(decimal))
{
}

bool DecimalKeypad::eventFilter(QObject* watched, QEvent* event)
{
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (edit == nullptr || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool decimalKey = key->key() == Qt::Key_Period || key->key() == Qt::Key_Comma;
    if (!decimalKey || key->modifiers() != Qt::KeypadModifier)
        return QObject::eventFilter(watched, event);
    edit->insert(decimal_);
    return true;
}

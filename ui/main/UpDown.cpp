#include "UpDown.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPen>
#include <QToolButton>

#include <algorithm>

namespace {

QToolButton* makeArrow(Qt::ArrowType arrow, const QString& name, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAccessibleName(name);
    return button;
}

} // namespace

UpDown::UpDown(QWidget* parent)
    : QWidget(parent)
    , up_(makeArrow(Qt::UpArrow, tr("Erhöhen"), this))
    , down_(makeArrow(Qt::DownArrow, tr("Verringern"), this))
{
    setFocusPolicy(Qt::StrongFocus);
    connect(up_, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(down_, &QToolButton::clicked, this, [this] { stepBy(-1); });
    updateState();
}

void UpDown::setValue(int value)
{
    value_ = std::clamp(value, minimum_, maximum_);
    updateState();
}

void UpDown::setRange(int minimum, int maximum)
{
    minimum_ = minimum;
    maximum_ = std::max(minimum, maximum);
    setValue(value_);
}

void UpDown::stepBy(int steps)
{
    const int next = std::clamp(value_ + steps, minimum_, maximum_);
    if (next == value_)
        return;
    value_ = next;
    updateState();
    emit changed();
}

void UpDown::updateState()
{
    up_->setEnabled(value_ < maximum_);
    down_->setEnabled(value_ > minimum_);
    setAccessibleDescription(QString::number(value_));
}

void UpDown::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        stepBy(1);
        break;
    case Qt::Key_Down:
        stepBy(-1);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void UpDown::paintEvent(QPaintEvent* /*event*/)
{
    // A dotted frame in the text colour, as classic dialogs mark the focus: some styles draw
    // their focus frame too faint to be seen around the narrow arrows.
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void UpDown::resizeEvent(QResizeEvent* /*event*/)
{
    // A one-pixel margin keeps the focus frame visible around the arrows.
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    const int upper = inner.height() / 2;
    up_->setGeometry(inner.x(), inner.y(), inner.width(), upper);
    down_->setGeometry(inner.x(), inner.y() + upper, inner.width(), inner.height() - upper);
}

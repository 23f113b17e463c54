#pragma once

#include <QWidget>

class QToolButton;

// A vertical spin control without a text field of its own: an up arrow above a down arrow that
// step an integer value within a range, stopping at the limits. With the focus, the Up and Down
// keys step it too. changed() follows every change made through the arrows or the keys.
class UpDown : public QWidget {
    Q_OBJECT

public:
    explicit UpDown(QWidget* parent = nullptr);

    [[nodiscard]] int value() const noexcept { return value_; }
    void setValue(int value);
    void setRange(int minimum, int maximum);

    [[nodiscard]] QToolButton* upButton() const noexcept { return up_; }
    [[nodiscard]] QToolButton* downButton() const noexcept { return down_; }

signals:
    void changed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void stepBy(int steps);
    void updateState();

    QToolButton* up_;
    QToolButton* down_;
    int value_ = 0;
    int minimum_ = 0;
    int maximum_ = 100;
};

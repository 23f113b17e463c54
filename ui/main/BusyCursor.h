#pragma once

class QWidget;

// Shows the busy pointer over a window for as long as it lives, and the arrow afterwards, also
// when the work in between throws.
class BusyCursor {
public:
    explicit BusyCursor(QWidget& window);
    ~BusyCursor();

    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    BusyCursor(BusyCursor&&) = delete;
    BusyCursor& operator=(BusyCursor&&) = delete;

private:
    QWidget& window_;
};

#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs `action` on the next modal window of the given kind once it is showing, from inside its
// event loop, so that a test can drive code that waits in a modal showing. Gives up after about
// two seconds; the test then fails on what the action did not do.
template <class Window>
void whenModalShows(std::function<void(Window*)> action, int attemptsLeft = 200)
{
    QTimer::singleShot(10, [action = std::move(action), attemptsLeft]() mutable {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (window != nullptr && window->isVisible())
            action(window);
        else if (attemptsLeft > 0)
            whenModalShows<Window>(std::move(action), attemptsLeft - 1);
    });
}

// Closes the next message box and keeps its text.
inline void dismissNextMessage(QString& text)
{
    whenModalShows<QMessageBox>([&text](QMessageBox* box) {
        text = box->text();
        box->close();
    });
}

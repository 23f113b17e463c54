#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>

// Keys reach the active window only; the widgets learn of it a little after the platform.
inline bool becomesActive(QWidget* window)
{
    return QTest::qWaitFor([window] { return window->isActiveWindow(); }, 5000);
}

// Runs `open`, which waits in a modal showing, and runs `inside` in that showing once a window of
// the given kind is up and the platform has made it the focus window (a slow start, as under the
// sanitizers, lets the first tick come before that; until then no focus event reaches a cell).
// Message boxes are closed as they appear, so that no test can hang on one; their texts are
// returned, marked where the box does not show its text as plain text (it quotes what was typed,
// which is never to be read as markup).
template <class Window>
QStringList whileShowing(const std::function<void()>& open,
                         const std::function<void(Window*)>& inside)
{
    QStringList messages;
    QTimer answer;
    answer.callOnTimeout([&messages] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            const bool plain = box->textFormat() == Qt::PlainText;
            messages.append((plain ? QString() : QStringLiteral("(not plain) ")) + box->text());
            box->close();
        }
    });
    QTimer enter;
    enter.callOnTimeout([&] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (window != nullptr && QGuiApplication::focusWindow() == window->windowHandle()) {
            enter.stop();
            inside(window);
        }
    });
    answer.start(10);
    enter.start(10);
    open();
    return messages;
}

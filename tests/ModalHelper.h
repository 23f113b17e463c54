#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

// Keys reach the active window only; the widgets learn of it a little after the platform.
inline bool becomesActive(QWidget* window)
{
    return QTest::qWaitFor([window] { return window->isActiveWindow(); }, 5000);
}

// Windows shows a tool window without activating it: the window that had the keys keeps them.
// While it lives, this does the same to each tool window shown, once the platform here has
// activated it; the window must then take the keys itself.
class ShownInactive : public QObject {
public:
    ShownInactive() { QApplication::instance()->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const auto* shown = qobject_cast<QWidget*>(watched);
        QPointer<QWidget> keeps = QApplication::activeWindow();
        if (event->type() == QEvent::Show && shown != nullptr && keeps != nullptr &&
            shown->windowType() == Qt::Tool)
            QMetaObject::invokeMethod(
                keeps, [keeps] { keeps->activateWindow(); }, Qt::QueuedConnection);
        return false;
    }
};

// Runs `open`, which waits in a modal showing, and runs `inside` in that showing once a window of
// the given kind is up and the platform has made it the focus window (a slow start, as under the
// sanitizers, lets the first tick come before that; until then no focus event reaches a cell).
// Message boxes are closed as they appear, by Return, so that no test can hang on one; their
// texts are returned, marked where the box does not show its text as plain text (it quotes what
// was typed, which is never to be read as markup). Each window is shown as Windows shows it
// (ShownInactive); one that does not take the keys within 5 s fails the test and is closed.
template <class Window>
QStringList whileShowing(const std::function<void()>& open,
                         const std::function<void(Window*)>& inside)
{
    const ShownInactive likeWindows;
    QStringList messages;
    int waited = 0; // ticks of 10 ms that a window has waited for the keys
    const auto hasKeys = [&waited](QWidget* window) {
        if (QGuiApplication::focusWindow() == window->windowHandle())
            return (waited = 0) == 0;
        if (++waited == 500) {
            const QByteArray name = window->metaObject()->className();
            QTest::qFail(name + " was shown without the keys", __FILE__, __LINE__);
            window->close();
        }
        return false;
    };
    QTimer answer;
    answer.callOnTimeout([&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr && hasKeys(box)) {
            const bool plain = box->textFormat() == Qt::PlainText;
            messages.append((plain ? QString() : QStringLiteral("(not plain) ")) + box->text());
            QTest::keyClick(static_cast<QWidget*>(nullptr), Qt::Key_Return); // to the focus window
        }
    });
    QTimer enter;
    enter.callOnTimeout([&] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (window != nullptr && hasKeys(window)) {
            enter.stop();
            inside(window);
        }
    });
    answer.start(10);
    enter.start(10);
    open();
    return messages;
}

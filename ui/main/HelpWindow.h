#pragma once

#include <QDialog>

// "Kalvora – Hilfe": what to do, task by task, and at its end what the program is (version,
// licences, the Qt it runs with) with a button for Qt's own about box. There is one help window.
// It opens above the window F1 was pressed in, as a window of that one, so that it takes input
// also while that window is modal; Escape closes it.
class HelpWindow : public QDialog {
    Q_OBJECT

public:
    // Makes F1 in the window open the help.
    static void offerIn(QWidget& window);
    // Shows the help above the window of `from`, made at the first call, and activates it.
    static HelpWindow& showAbove(QWidget& from);

private:
    explicit HelpWindow(QWidget* owner);
};

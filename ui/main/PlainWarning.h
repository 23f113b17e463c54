#pragma once

class QString;
class QWidget;

// Shows a modal warning over a window, with the window's title, and waits for it to be closed.
// The text is shown as it stands: a message that quotes what the user typed never reads it as
// markup (Qt would guess rich text for "<b>1</b>" and load the file of an "<img>").
void showPlainWarning(QWidget& window, const QString& text);

#pragma once

class QWidget;

// Moves a top-level window so that its frame is centred on the available area of its screen.
void centreOnScreen(QWidget& window);

#pragma once

class QCoreApplication;

// Loads Qt's own German texts (qtbase_de: the line edits' context menus, the message boxes'
// buttons, "Über Qt") from Qt's translations folder and installs them in the application, which
// owns them. Returns false where they are missing; Qt's texts then stay English.
bool installQtGerman(QCoreApplication& app);

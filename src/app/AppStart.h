#pragma once

class QQmlApplicationEngine;

namespace orva {

// The application's start, shared by `main` and the tests that drive the real
// window: names, the scene graph renderer, style, fonts, Qt's own texts in
// Korean, the folder dialogs' colours and the shared services.
void configureApplication();

// Qt's own texts (the folder dialogs' buttons, labels, columns and menus) in
// Korean like the application's: Qt's Korean translation from Qt's
// translations folder, installed into the application. False, with a log
// line, when it is not there (Qt's English texts then stay).
bool installQtTranslations();

// Prepares `engine` with every QML module and opens the main window at its
// minimum size. Returns false when the window could not be made.
bool loadMainWindow(QQmlApplicationEngine& engine);

} // namespace orva

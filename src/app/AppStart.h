#pragma once

class QQmlApplicationEngine;

namespace orva {

// The application's start, shared by `main` and the tests that drive the real
// window: names, style, fonts and the shared services.
void configureApplication();

// Prepares `engine` with every QML module and opens the main window at its
// minimum size. Returns false when the window could not be made.
bool loadMainWindow(QQmlApplicationEngine& engine);

} // namespace orva

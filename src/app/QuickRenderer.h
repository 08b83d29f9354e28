#pragma once

#include <QString>

#include <functional>

namespace orva {

// Which scene graph renderer Qt Quick starts with, and why. Without a GPU,
// OpenGL runs on Mesa's software rasteriser, where Qt Quick's own software
// renderer draws the same window at a fraction of the cost.
struct QuickRendererChoice {
    enum class Renderer {
        // Qt's default (hardware-accelerated) renderer.
        Default,
        // Qt Quick's software renderer.
        Software,
    };
    Renderer renderer = Renderer::Default;
    // Why, as the log line says it; empty when the person chose the renderer
    // themselves (QT_QUICK_BACKEND or QSG_RHI_BACKEND), which is then left alone.
    QString reason;
    bool operator==(const QuickRendererChoice&) const = default;
};

// The renderer's choice from the environment variables Qt Quick reads and the
// OpenGL renderer's name (GL_RENDERER; empty when no OpenGL context could be
// made). `glRenderer` is only asked when the person has not chosen.
QuickRendererChoice chooseQuickRenderer(const QString& quickBackend, const QString& rhiBackend,
                                        const std::function<QString()>& glRenderer);

// The OpenGL renderer's name, from one context made current on an offscreen
// surface; empty when the platform makes none. Needs the QGuiApplication.
QString probeOpenGLRenderer();

// Chooses the renderer from this process's environment and the OpenGL driver
// before any window exists, and logs the choice in one line unless the person
// made it.
void applyQuickRenderer();

} // namespace orva

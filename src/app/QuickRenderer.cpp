#include "app/QuickRenderer.h"

#include "platform/Log.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace orva {

QuickRendererChoice chooseQuickRenderer(const QString& quickBackend, const QString& rhiBackend,
                                        const std::function<QString()>& glRenderer)
{
    using Renderer = QuickRendererChoice::Renderer;
    if (!quickBackend.isEmpty() || !rhiBackend.isEmpty())
        return {Renderer::Default, QString()};
    const QString name = glRenderer ? glRenderer().trimmed() : QString();
    if (name.isEmpty())
        return {Renderer::Software, QStringLiteral("no OpenGL context could be made")};
    for (const QLatin1StringView rasteriser : {QLatin1StringView("llvmpipe"), QLatin1StringView("softpipe"),
                                               QLatin1StringView("swrast")}) {
        if (name.contains(rasteriser, Qt::CaseInsensitive))
            return {Renderer::Software, QStringLiteral("OpenGL is drawn by a software rasteriser (%1)").arg(name)};
    }
    return {Renderer::Default, QStringLiteral("OpenGL is drawn by %1").arg(name)};
}

QString probeOpenGLRenderer()
{
    QOpenGLContext context;
    if (!context.create())
        return QString();
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface))
        return QString();
    const auto* name = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    QString renderer = name ? QString::fromLatin1(name) : QString();
    context.doneCurrent();
    return renderer;
}

void applyQuickRenderer()
{
    const QuickRendererChoice choice = chooseQuickRenderer(qEnvironmentVariable("QT_QUICK_BACKEND"),
                                                           qEnvironmentVariable("QSG_RHI_BACKEND"),
                                                           probeOpenGLRenderer);
    if (choice.reason.isEmpty())
        return;
    const bool software = choice.renderer == QuickRendererChoice::Renderer::Software;
    if (software)
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    logLine(QStringLiteral("[AppStart] Qt Quick renderer: %1, since %2")
                .arg(software ? QStringLiteral("software") : QStringLiteral("default (OpenGL)"), choice.reason));
}

} // namespace orva

// The choice of Qt Quick's renderer from the environment and the OpenGL
// driver's name.

#include "app/QuickRenderer.h"

#include <gtest/gtest.h>

namespace orva {
namespace {

using Renderer = QuickRendererChoice::Renderer;

TEST(QuickRendererChoiceTest, ASoftwareRasteriserGetsTheSoftwareRenderer)
{
    struct Case {
        const char* quickBackend;
        const char* rhiBackend;
        const char* glRenderer;
        Renderer renderer;
        // The log line's reason contains this; empty: no log line at all.
        const char* reason;
    };
    const Case cases[] = {
        {"", "", "llvmpipe (LLVM 15.0.6, 256 bits)", Renderer::Software, "software rasteriser (llvmpipe"},
        {"", "", "softpipe", Renderer::Software, "software rasteriser (softpipe)"},
        {"", "", "Software Rasterizer (swrast)", Renderer::Software, "software rasteriser"},
        {"", "", "  LLVMPIPE (LLVM 11)\n", Renderer::Software, "(LLVMPIPE (LLVM 11))"},
        {"", "", "Mesa Intel(R) UHD Graphics 620 (KBL GT2)", Renderer::Default, "drawn by Mesa Intel(R) UHD"},
        {"", "", "NVIDIA GeForce RTX 3060/PCIe/SSE2", Renderer::Default, "drawn by NVIDIA GeForce"},
        {"", "", "", Renderer::Software, "no OpenGL context"},
        // The person's own choice is left alone and not announced.
        {"software", "", "Mesa Intel(R) UHD Graphics 620", Renderer::Default, ""},
        {"opengl", "", "llvmpipe (LLVM 15.0.6, 256 bits)", Renderer::Default, ""},
        {"", "opengl", "llvmpipe (LLVM 15.0.6, 256 bits)", Renderer::Default, ""},
        {"", "vulkan", "", Renderer::Default, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.quickBackend) + "|" + c.rhiBackend + "|" + c.glRenderer);
        int asked = 0;
        const QuickRendererChoice choice = chooseQuickRenderer(QString::fromUtf8(c.quickBackend),
                                                               QString::fromUtf8(c.rhiBackend), [&] {
                                                                   ++asked;
                                                                   return QString::fromUtf8(c.glRenderer);
                                                               });
        EXPECT_EQ(choice.renderer, c.renderer);
        const QString reason = QString::fromUtf8(c.reason);
        if (reason.isEmpty()) {
            EXPECT_TRUE(choice.reason.isEmpty()) << choice.reason.toStdString();
            // The driver is not even asked when the person has chosen.
            EXPECT_EQ(asked, 0);
        } else {
            EXPECT_TRUE(choice.reason.contains(reason)) << choice.reason.toStdString();
            EXPECT_EQ(asked, 1);
        }
    }
}

// The driver is asked on whatever platform the application runs on, also one
// that makes no OpenGL context: an answer, never a crash or a warning.
TEST(QuickRendererChoiceTest, TheDriverIsAskedOnAnyPlatform)
{
    const QString renderer = probeOpenGLRenderer();
    EXPECT_EQ(renderer.trimmed(), renderer);
}

} // namespace
} // namespace orva

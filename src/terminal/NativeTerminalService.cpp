#include "terminal/NativeTerminalService.h"

#include <QPointer>
#include <QTimer>

namespace orva {

namespace {
NativeTerminalService* g_instance = nullptr;
}

NativeTerminalDelegate::~NativeTerminalDelegate()
{
    NativeTerminalService::forgetDelegate(this);
}

NativeTerminalService::NativeTerminalService(QObject* parent) : QObject(parent) {}

NativeTerminalService& NativeTerminalService::shared()
{
    if (!g_instance)
        g_instance = new NativeTerminalService();
    return *g_instance;
}

void NativeTerminalService::forgetDelegate(NativeTerminalDelegate* delegate)
{
    if (g_instance && g_instance->m_delegate == delegate)
        g_instance->setDelegate(nullptr);
}

void NativeTerminalService::setProcessRunning(bool running)
{
    if (m_isProcessRunning == running)
        return;
    m_isProcessRunning = running;
    emit isProcessRunningChanged();
}

void NativeTerminalService::setDelegate(NativeTerminalDelegate* delegate)
{
    if (m_delegate == delegate)
        return;
    m_delegate = delegate;
    emit delegateChanged();
}

void NativeTerminalService::sendCommand(const QString& text)
{
    if (m_delegate) {
        QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
        m_delegate->forwardBytes(
            std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                          static_cast<std::size_t>(bytes.size())));
    }
    QPointer<NativeTerminalService> self(this);
    QTimer::singleShot(carriageReturnDelayMs, Qt::PreciseTimer, this, [self] {
        if (self && self->m_delegate) {
            static const std::uint8_t carriageReturn[1] = {0x0D};
            self->m_delegate->forwardBytes(carriageReturn);
        }
    });
}

} // namespace orva

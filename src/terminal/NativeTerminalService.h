#pragma once

// The process-wide command channel: other parts type text into the terminal's
// shell through it, as if the user had typed it and pressed Return.

#include <QObject>
#include <QString>

#include <cstdint>
#include <span>

namespace orva {

// Receives the channel's bytes (the terminal panel's coordinator). The channel
// holds its delegate weakly: a delegate that is destroyed is forgotten.
class NativeTerminalDelegate {
public:
    virtual ~NativeTerminalDelegate();
    // Bytes to be typed into the terminal.
    virtual void forwardBytes(std::span<const std::uint8_t> bytes) = 0;
};

class NativeTerminalService : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isProcessRunning READ isProcessRunning WRITE setProcessRunning NOTIFY isProcessRunningChanged)
    Q_PROPERTY(bool hasDelegate READ hasDelegate NOTIFY delegateChanged)

public:
    // Delay between a command and its carriage return.
    static constexpr int carriageReturnDelayMs = 50;

    static NativeTerminalService& shared();

    bool isProcessRunning() const { return m_isProcessRunning; }
    void setProcessRunning(bool running);

    NativeTerminalDelegate* delegate() const { return m_delegate; }
    void setDelegate(NativeTerminalDelegate* delegate);
    bool hasDelegate() const { return m_delegate != nullptr; }

    // Hands the delegate the text's UTF-8 bytes and a line feed at once, and a
    // carriage return 50 ms later to whichever delegate is set then.
    Q_INVOKABLE void sendCommand(const QString& text);

    // Called by a delegate's destructor.
    static void forgetDelegate(NativeTerminalDelegate* delegate);

signals:
    void isProcessRunningChanged();
    void delegateChanged();

private:
    explicit NativeTerminalService(QObject* parent = nullptr);

    bool m_isProcessRunning = false;
    NativeTerminalDelegate* m_delegate = nullptr;
};

} // namespace orva

#pragma once
#include <QObject>
#include <QPointer>
#include <QString>

class QSocketNotifier;
class QWidget;

namespace platform {

// Keeps both programs to one running copy per user session. The lock is a
// non-blocking flock on "momijikan.lock" in $XDG_RUNTIME_DIR (or a private
// per-user folder under the temp folder); the kernel drops it when the holder
// dies, however it dies. The holder answers on a local socket named after its
// window class; a second start of the same program asks it to come to the
// front, a start of the other program finds no socket of its class and ends
// without a word.
//
// Create the QApplication first.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString windowClass, QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process holds the lock (it keeps it until it ends), and
    // also when no lock can be made at all, so a broken runtime folder never
    // keeps the program from starting. False when another process holds it:
    // by then the running copy of this class has been asked to come forward,
    // and the caller ends quietly.
    bool acquire();

    // The window to bring forward on request; requests that arrived between
    // acquire() and now are served at once.
    void listen(QWidget* window);

    // The folder that holds the lock and the sockets; empty when there is
    // no safe one.
    static QString runtimeFolder();

signals:
    // The window was brought forward for another start.
    void raised();

private:
    void startServer();
    void serveConnection();
    void raiseWindow();
    void askHolderToRaise() const;
    QString serverName() const;

    QString m_windowClass;
    QString m_folder;
    bool m_serverTried = false;
    int m_listenFd = -1;
    QString m_socketPath; // removed again when this copy ends
    QSocketNotifier* m_server = nullptr;
    QPointer<QWidget> m_window;
    bool m_raisePending = false;
};

} // namespace platform

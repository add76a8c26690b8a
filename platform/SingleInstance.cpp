#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QWidget>

#include <cerrno>
#include <utility>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int WaitMs = 3000;
const QByteArray RaiseRequest = "raise\n";
const QByteArray RaiseDone = "ok\n";

// The lock's descriptor, held open until the process ends. Close-on-exec so a
// started help program does not inherit the lock and outlive us holding it.
int lockFd = -1;

// A folder under the shared temp folder is only safe when it is ours and
// nobody else can write into it.
bool isPrivateFolder(const QByteArray& path)
{
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid()
        && (st.st_mode & 077) == 0;
}

} // namespace

SingleInstance::SingleInstance(QString windowClass, QObject* parent)
    : QObject(parent), m_windowClass(std::move(windowClass))
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::runtimeFolder()
{
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && QFileInfo(xdg).isDir())
        return xdg;
    const QString dir = QDir::tempPath() + QStringLiteral("/harunire-%1").arg(::getuid());
    const QByteArray path = QFile::encodeName(dir);
    ::mkdir(path.constData(), 0700);
    return isPrivateFolder(path) ? dir : QString();
}

QString SingleInstance::serverName() const
{
    return m_folder + QStringLiteral("/harunire-%1-%2").arg(::getuid()).arg(m_windowClass);
}

bool SingleInstance::acquire()
{
    m_folder = runtimeFolder();
    if (lockFd >= 0 || m_folder.isEmpty())
        return true;
    const QByteArray path = QFile::encodeName(m_folder + QStringLiteral("/momijikan.lock"));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        lockFd = fd;
        startServer();
        return true;
    }
    const bool heldElsewhere = errno == EWOULDBLOCK;
    ::close(fd);
    if (!heldElsewhere)
        return true;
    askHolderToRaise();
    return false;
}

void SingleInstance::askHolderToRaise() const
{
    // Refused or missing: the other program holds the lock, or our holder is
    // gone and left its socket behind. Either way there is nothing to raise.
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(WaitMs))
        return;
    socket.write(RaiseRequest);
    // Wait for the answer so the request is served before this copy ends.
    if (socket.waitForBytesWritten(WaitMs))
        socket.waitForReadyRead(WaitMs);
}

void SingleInstance::listen(QWidget* window)
{
    m_window = window;
    if (!m_server)
        startServer();
    if (m_raisePending)
        raiseWindow();
}

void SingleInstance::startServer()
{
    if (m_folder.isEmpty())
        return;
    m_server = new QLocalServer(this);
    // Whatever socket of our class is there belongs to a copy that died: we
    // hold the lock, so no live copy can be serving it.
    QLocalServer::removeServer(serverName());
    if (!m_server->listen(serverName()))
        qWarning("single instance: cannot listen on %s: %s", qPrintable(serverName()),
                 qPrintable(m_server->errorString()));
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::serveConnection);
}

void SingleInstance::serveConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > RaiseRequest.size())
                    socket->disconnectFromServer();
                return;
            }
            if (socket->readLine(RaiseRequest.size() + 1) == RaiseRequest)
                raiseWindow();
            socket->write(RaiseDone);
            socket->disconnectFromServer();
        });
    }
}

void SingleInstance::raiseWindow()
{
    if (!m_window) {
        m_raisePending = true;
        return;
    }
    m_raisePending = false;
    m_window->setWindowState((m_window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    emit raised();
}

} // namespace platform

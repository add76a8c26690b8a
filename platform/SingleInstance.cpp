#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QWidget>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <functional>
#include <optional>
#include <utility>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// The socket is a plain Unix-domain socket: Qt's local sockets live in its
// network module, which would load a network and Kerberos stack into every
// start for one line of text.
namespace platform {

namespace {

constexpr int WaitMs = 3000;
constexpr char RaiseRequest[] = "raise\n";
constexpr char RaiseDone[] = "ok\n";
constexpr qsizetype RaiseRequestSize = sizeof RaiseRequest - 1;

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

struct SocketAddress {
    sockaddr_un addr {};
    socklen_t size = 0;
};

// Empty when the path does not fit a socket address.
std::optional<SocketAddress> socketAddress(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    SocketAddress a;
    if (name.isEmpty() || name.size() >= qsizetype(sizeof a.addr.sun_path))
        return std::nullopt;
    a.addr.sun_family = AF_UNIX;
    std::memcpy(a.addr.sun_path, name.constData(), std::size_t(name.size()));
    a.size = socklen_t(offsetof(sockaddr_un, sun_path) + std::size_t(name.size()) + 1);
    return a;
}

// One start asking the holder to come forward: reads a line, answers it and
// goes. Anything but the request, or more than it without a line end, is
// dropped without an answer.
class RaiseConnection : public QObject {
public:
    RaiseConnection(int fd, SingleInstance* instance, std::function<void()> raise)
        : QObject(instance), m_fd(fd), m_notifier(fd, QSocketNotifier::Read), m_raise(std::move(raise))
    {
        connect(&m_notifier, &QSocketNotifier::activated, this, &RaiseConnection::read);
    }
    ~RaiseConnection() override
    {
        m_notifier.setEnabled(false);
        ::close(m_fd);
    }

private:
    void read()
    {
        char chunk[32];
        const ssize_t n = ::recv(m_fd, chunk, sizeof chunk, 0);
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        if (n > 0)
            m_line.append(chunk, n);
        const qsizetype end = m_line.indexOf('\n');
        if (n > 0 && end < 0 && m_line.size() <= RaiseRequestSize)
            return; // more to come
        if (end >= 0) {
            if (m_line.left(end + 1) == RaiseRequest)
                m_raise();
            ::send(m_fd, RaiseDone, sizeof RaiseDone - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
        }
        m_notifier.setEnabled(false);
        deleteLater();
    }

    int m_fd;
    QSocketNotifier m_notifier;
    std::function<void()> m_raise;
    QByteArray m_line;
};

} // namespace

SingleInstance::SingleInstance(QString windowClass, QObject* parent)
    : QObject(parent), m_windowClass(std::move(windowClass))
{
}

SingleInstance::~SingleInstance()
{
    if (m_listenFd < 0)
        return;
    delete m_server;
    ::close(m_listenFd);
    ::unlink(QFile::encodeName(m_socketPath).constData());
}

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
    const auto address = socketAddress(serverName());
    if (!address)
        return;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    // A holder that hangs must not hang this start: every step waits at most WaitMs.
    const timeval wait{WaitMs / 1000, (WaitMs % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address->addr), address->size) == 0
        && ::send(fd, RaiseRequest, RaiseRequestSize, MSG_NOSIGNAL) == RaiseRequestSize) {
        // Wait for the answer so the request is served before this copy ends.
        char answer[sizeof RaiseDone];
        while (::recv(fd, answer, sizeof answer, 0) < 0 && errno == EINTR) {
        }
    }
    ::close(fd);
}

void SingleInstance::listen(QWidget* window)
{
    m_window = window;
    if (!m_serverTried)
        startServer();
    if (m_raisePending)
        raiseWindow();
}

void SingleInstance::startServer()
{
    m_serverTried = true;
    if (m_folder.isEmpty())
        return;
    const QString name = serverName();
    const auto address = socketAddress(name);
    if (!address) {
        qWarning("single instance: the socket path %s is too long", qPrintable(name));
        return;
    }
    // Whatever socket of our class is there belongs to a copy that died: we
    // hold the lock, so no live copy can be serving it.
    ::unlink(address->addr.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0 || ::bind(fd, reinterpret_cast<const sockaddr*>(&address->addr), address->size) != 0
        || ::listen(fd, 8) != 0) {
        qWarning("single instance: cannot listen on %s: %s", qPrintable(name), std::strerror(errno));
        if (fd >= 0)
            ::close(fd);
        return;
    }
    m_listenFd = fd;
    m_socketPath = name;
    m_server = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_server, &QSocketNotifier::activated, this, &SingleInstance::serveConnection);
}

void SingleInstance::serveConnection()
{
    int fd;
    while ((fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0)
        new RaiseConnection(fd, this, [this] { raiseWindow(); });
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

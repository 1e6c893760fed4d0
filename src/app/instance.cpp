#include "app/instance.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace app {

QString userTag()
{
    for (const char* variable : {"USER", "LOGNAME", "USERNAME"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty())
            return name;
    }
    return QString::number(getuid());
}

QString facioraServerName()
{
    return QStringLiteral("faciora-") + userTag();
}

QString kitbinServerName()
{
    return QStringLiteral("kitbin-") + userTag();
}

bool serverAnswers(const QString& name, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    const bool connected = socket.waitForConnected(timeoutMs);
    if (connected)
        socket.disconnectFromServer();
    return connected;
}

bool askToRaise(const QString& name, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kRaiseMessage);
    const bool sent = socket.waitForBytesWritten(timeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return sent;
}

InstanceServer::InstanceServer(const QString& name, QObject* parent)
    : QObject(parent), name_(name), server_(new QLocalServer(this))
{
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &InstanceServer::newConnection);
}

InstanceServer::~InstanceServer()
{
    server_->close();
}

bool InstanceServer::listen()
{
    if (server_->isListening())
        return true;
    // Listening with access options replaces a socket of the same name, so a program that
    // answers is asked first.
    if (serverAnswers(name_))
        return false;
    if (server_->listen(name_))
        return true;
    if (server_->serverError() != QAbstractSocket::AddressInUseError)
        return false;
    // Nobody answers: the socket of an instance that did not end cleanly.
    QLocalServer::removeServer(name_);
    return server_->listen(name_);
}

bool InstanceServer::isListening() const
{
    return server_->isListening();
}

void InstanceServer::newConnection()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            // Only the raise request means anything; a program that merely checks whether
            // Faciora runs connects and goes.
            while (socket->canReadLine()) {
                if (socket->readLine() == kRaiseMessage)
                    emit raiseRequested();
            }
            if (socket->bytesAvailable() > 64)
                socket->abort();
        });
    }
}

}  // namespace app

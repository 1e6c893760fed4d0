#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace app {

// Each program listens on a per-user local server named after it while it runs, so that
// Faciora and Kitbin can tell that the other runs and a second Faciora can reach the first.
QString userTag();
QString facioraServerName();  // "faciora-<user>"
QString kitbinServerName();   // "kitbin-<user>"

// The message a second Faciora sends to the first.
inline constexpr char kRaiseMessage[] = "raise\n";

// Whether a program answers on the server `name`.
bool serverAnswers(const QString& name, int timeoutMs = 500);
// Asks the Faciora on `name` to bring its window to the front; true when it took the request.
bool askToRaise(const QString& name, int timeoutMs = 1000);

// This Faciora's server: it takes raise requests from later instances.
class InstanceServer : public QObject {
    Q_OBJECT

public:
    explicit InstanceServer(const QString& name, QObject* parent = nullptr);
    ~InstanceServer() override;

    // Starts listening. False when another program answers on the name already. A name
    // left behind by a program that ended without closing its server is taken over.
    bool listen();
    bool isListening() const;
    QString name() const { return name_; }

signals:
    void raiseRequested();

private:
    void newConnection();

    QString name_;
    QLocalServer* server_ = nullptr;
};

}  // namespace app

#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// A minimal HTTP/1.1 server on 127.0.0.1 for the update check: each path
// answers with a status and a body, or stays silent (accepts the request and
// never answers). Records the headers of every request it receives.
class loopback_http_server : public QObject
{
    Q_OBJECT

public:
    explicit loopback_http_server(QObject *parent = nullptr);

    bool listen();
    QUrl url(const QString &path) const;

    void answer(const QString &path, const QByteArray &body, int status = 200);
    void stay_silent(const QString &path);

    int request_count() const { return m_requests.size(); }
    // The value of |name| in request |index|; empty when it was not sent.
    QByteArray request_header(int index, const QByteArray &name) const;

    // An address on which nothing listens: a server's port, closed again.
    static QUrl refusing_url(const QString &path);

private:
    struct route
    {
        int status = 200;
        QByteArray body;
        bool silent = false;
    };

    void accept_connections();
    void serve(QTcpSocket *socket);

    QTcpServer m_server;
    QHash<QString, route> m_routes;
    QList<QList<QPair<QByteArray, QByteArray>>> m_requests;
};

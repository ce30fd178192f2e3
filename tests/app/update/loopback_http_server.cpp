#include "loopback_http_server.h"

#include <QHostAddress>
#include <QTcpSocket>

loopback_http_server::loopback_http_server(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &loopback_http_server::accept_connections);
}

bool loopback_http_server::listen()
{
    return m_server.listen(QHostAddress(QHostAddress::LocalHost), 0);
}

QUrl loopback_http_server::url(const QString &path) const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_server.serverPort()).arg(path));
}

void loopback_http_server::answer(const QString &path, const QByteArray &body, int status)
{
    m_routes.insert(path, route{status, body, false});
}

void loopback_http_server::stay_silent(const QString &path)
{
    route silent;
    silent.silent = true;
    m_routes.insert(path, silent);
}

QByteArray loopback_http_server::request_header(int index, const QByteArray &name) const
{
    for (const auto &header : m_requests.value(index)) {
        if (header.first.compare(name, Qt::CaseInsensitive) == 0)
            return header.second;
    }
    return QByteArray();
}

QUrl loopback_http_server::refusing_url(const QString &path)
{
    QTcpServer probe;
    probe.listen(QHostAddress(QHostAddress::LocalHost), 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path));
}

void loopback_http_server::accept_connections()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void loopback_http_server::serve(QTcpSocket *socket)
{
    if (socket->property("served").toBool())
        return;
    QByteArray request = socket->property("request").toByteArray() + socket->readAll();
    socket->setProperty("request", request);
    const int end = request.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    socket->setProperty("served", true);

    const QList<QByteArray> lines = request.left(end).split('\n');
    const QList<QByteArray> request_line = lines.value(0).trimmed().split(' ');
    QList<QPair<QByteArray, QByteArray>> headers;
    for (int i = 1; i < lines.size(); ++i) {
        const int colon = lines[i].indexOf(':');
        if (colon > 0)
            headers.append({lines[i].left(colon).trimmed(), lines[i].mid(colon + 1).trimmed()});
    }
    m_requests.append(headers);

    const QString path = QString::fromLatin1(request_line.value(1));
    const route found = m_routes.value(path, route{404, QByteArray("not found"), false});
    if (found.silent)
        return; // the socket stays open until the server goes
    QByteArray response = "HTTP/1.1 " + QByteArray::number(found.status) + " Status\r\n"
                          "Content-Type: text/plain\r\n"
                          "Content-Length: " + QByteArray::number(found.body.size()) + "\r\n"
                          "Connection: close\r\n\r\n";
    socket->write(response + found.body);
    socket->disconnectFromHost();
}

#include "app/update/checkForSoftwareUpdates.h"

#include "app/update/update_description.h"
#include "display_protocol/wait_service.h"

#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>

namespace {

// "Mozilla/5.0 (<text>)" without double quotes; empty for an empty text.
QByteArray user_agent_header(const QString &text)
{
    if (text.isEmpty())
        return QByteArray();
    QString cleaned = text;
    cleaned.remove(QLatin1Char('"'));
    return QStringLiteral("Mozilla/5.0 (%1)").arg(cleaned.trimmed()).toLocal8Bit();
}

} // namespace

bool names_invalid_domain(const QUrl &address)
{
    QString host = address.host().toLower();
    if (host.endsWith(QLatin1Char('.')))
        host.chop(1);
    return host == QLatin1String("invalid") || host.endsWith(QLatin1String(".invalid"));
}

checkForSoftwareUpdates::checkForSoftwareUpdates(QObject *parent)
    : QObject(parent)
{
    m_manager.setProxy(QNetworkProxy::NoProxy);
    connect(&m_manager, &QNetworkAccessManager::finished, this,
            &checkForSoftwareUpdates::downloadFinished);
}

void checkForSoftwareUpdates::execute(const update_init_info &info)
{
    m_info = info;
    m_batchOpen = true;
    for (const QString &address : info.addresses) {
        const QUrl url(address);
        if (names_invalid_domain(url))
            m_results.append(unreachable_update_result(m_info));
        else
            send(url);
    }
    // A batch with nothing to wait for still ends through the event loop,
    // like every other batch.
    if (m_pending.isEmpty())
        QMetaObject::invokeMethod(this, &checkForSoftwareUpdates::completeIfIdle, Qt::QueuedConnection);
}

void checkForSoftwareUpdates::send(const QUrl &address)
{
    QNetworkRequest request(address);
    const QByteArray agent = user_agent_header(m_info.user_agent);
    if (!agent.isEmpty())
        request.setRawHeader("User-Agent", agent);
    QNetworkReply *reply = m_manager.get(request);
    m_pending.append(reply);

    connect(reply, &QNetworkReply::readyRead, this, [this, reply] { limitSize(reply); });
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    deadline->start(wait_service::io_timeout_ms(kTransferTimeoutMs));
}

void checkForSoftwareUpdates::limitSize(QNetworkReply *reply)
{
    if (reply->bytesAvailable() > kMaxDescriptionBytes)
        reply->abort();
}

void checkForSoftwareUpdates::downloadFinished(QNetworkReply *reply)
{
    if (!m_pending.removeOne(reply)) {
        reply->deleteLater();
        return;
    }
    if (reply->error() != QNetworkReply::NoError)
        m_results.append(unreachable_update_result(m_info));
    else
        readAnswer(reply);
    reply->close();
    reply->deleteLater();
    completeIfIdle();
}

void checkForSoftwareUpdates::readAnswer(QNetworkReply *reply)
{
    const QByteArray text = reply->read(kMaxDescriptionBytes + 1);
    if (text.size() > kMaxDescriptionBytes) {
        m_results.append(unreachable_update_result(m_info));
        return;
    }
    update_check_result result;
    if (update_result_from_description(parse_update_description(text), m_info, &result))
        m_results.append(result);
}

void checkForSoftwareUpdates::completeIfIdle()
{
    if (!m_batchOpen || !m_pending.isEmpty())
        return;
    m_batchOpen = false;
    const update_check_result best = best_update_result(m_results, m_info);
    m_results.clear();
    emit completion_message(best.message, best.kind);
}

#pragma once

#include "app/update/update_check_result.h"
#include "app/update/update_init_info.h"

#include <QList>
#include <QNetworkAccessManager>
#include <QObject>

class QNetworkReply;
class QUrl;

// Asks the update service whether a newer build exists: fetches every
// address of a batch at once and ends the batch with one completion_message
// carrying the best answer. An answer is untrusted: it must arrive within a
// transfer time-out and stay within a size limit, else it counts as failed.
class checkForSoftwareUpdates : public QObject
{
    Q_OBJECT

public:
    // Nominal time a server has to deliver its whole description; it runs
    // on the wait service's time scale.
    static constexpr qint64 kTransferTimeoutMs = 30000;
    // A larger description counts as a failed answer.
    static constexpr qint64 kMaxDescriptionBytes = 64 * 1024;

    explicit checkForSoftwareUpdates(QObject *parent = nullptr);

public slots:
    // Starts a batch; one called while a batch runs joins it, so that the
    // batch still ends with one message.
    void execute(const update_init_info &info);
    void downloadFinished(QNetworkReply *reply);

signals:
    // kind: update_reply_kind.
    void completion_message(QString message_reply, int reply_type);

private slots:
    void completeIfIdle();

private:
    void send(const QUrl &address);
    void limitSize(QNetworkReply *reply);
    void readAnswer(QNetworkReply *reply);

    QNetworkAccessManager m_manager;
    QList<QNetworkReply *> m_pending;
    update_init_info m_info;
    QList<update_check_result> m_results;
    bool m_batchOpen = false;
};

// Whether |address| names a host under the reserved ".invalid" domain, which
// never resolves: such an address fails at once, without a name lookup.
bool names_invalid_domain(const QUrl &address);

#pragma once

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUdpSocket>

// One device that answered the network search.
struct PJSearchResult
{
    QString name;
    QHostAddress address;
    quint32 value = 0;
    QString mac;   // for example 00-1A-2B-3C-4D-5E
};

// Finds displays (or projectors) on the local network: sends a 128-byte
// request on UDP port 5320 (see set_search_port) to each target and collects the 256-byte answers
// into a list of found devices, at most one per address. Blocks the calling
// thread while it sends and while answers keep coming; the repeats of a
// kind-2 search run from the owning thread's event loop.
class PJSearchUdp : public QObject
{
    Q_OBJECT

public:
    static constexpr quint16 kPort = 5320;
    static constexpr int kRequestSize = 128;
    static constexpr int kAnswerSize = 256;
    static constexpr int kProjectors = 1;
    static constexpr int kLargeScreenDisplays = 2;
    // The search kind that starts a new result list and is repeated.
    static constexpr int kNewSearch = 2;

    // |targets|: entry 0 is the PC's own address on the chosen interface,
    // the entries after it are where the request goes (as a rule the
    // interface's broadcast address).
    PJSearchUdp(QObject *parent, int device_class, const QList<QHostAddress> &targets);
    ~PJSearchUdp() override;

    // The port of every search object made from now on in this process:
    // kPort unless a test process takes one of its own, so that test runs
    // sharing a machine never hear each other's searches.
    static void set_search_port(quint16 port);
    static quint16 search_port();

    void set_addresses(const QList<QHostAddress> &targets);
    // 1 when the request went out; 0 when there is no target or target 0
    // has no IPv4 address.
    int search(int kind);
    int stop();
    bool is_searching() const;
    int result_count() const;
    bool result_at(int i, PJSearchResult &result) const;

public slots:
    void UdpSocketError(QAbstractSocket::SocketError error);
    void UdpSocketDisconnect();
    void UdpSendTimeout();

private:
    void fill_request();
    void send_request(const QHostAddress &to);
    void collect_answers();
    void take_answer(const QByteArray &answer, const QHostAddress &sender);
    bool accepts(const QByteArray &answer, const QHostAddress &sender) const;
    // A sender that answers with the repeat kind is sent the request again,
    // once per search.
    void resend_once(const QHostAddress &sender);
    bool is_target(const QHostAddress &address) const;
    void add_result(const PJSearchResult &result);

    int m_device_class;
    qint32 m_default_word_a = -1;
    qint32 m_default_word_b = -1;
    QList<QHostAddress> m_targets;
    QList<PJSearchResult> m_results;
    QByteArray m_request;
    quint16 m_sequence = 0;
    quint32 m_time_stamp = 0;
    qint32 m_search_kind = 0;
    QUdpSocket m_socket;
    QTimer m_repeat_timer;
    quint16 m_port;
    int m_repeat_count = 0;
    bool m_searching = false;
    // Senders sent the request again in this search: one that keeps
    // answering with the repeat kind would otherwise keep the search going.
    QList<QHostAddress> m_resent_to;
};

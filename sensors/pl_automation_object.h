#pragma once

#include "sensors/pl200srvr_api.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>

class pl_automation_server;

// One object of the PL-series probe server (pl200srvr_api.h), used by name
// the way an automation client uses a server object: properties read and
// written, methods called, sub-objects queried, exceptions signalled.
//
// An exception the server raises inside a call reaches |exception| on the
// calling thread before the call returns, so the caller sees it at once.
// One the server raises from a thread of its own is queued to this object's
// thread: nothing of the receiver runs on the server's threads.
//
// An object made for a parent lives on the parent's thread, whichever
// thread made it. The server must stay loaded while the object lives.
class pl_automation_object : public QObject
{
    Q_OBJECT

public:
    // The object of the class |classId|; null when the server does not
    // serve that class.
    static pl_automation_object *create(pl_automation_server &server, const QString &classId,
                                        QObject *parent = nullptr);
    ~pl_automation_object() override;

    // From now on the object's exceptions arrive through |exception|; false
    // when the server refuses.
    bool connectExceptions();
    // Invalid when the read fails or raises, or the property holds an object.
    QVariant readProperty(const char *name);
    bool writeProperty(const char *name, const QVariant &value);
    // False when the method fails or raises; its result is dropped.
    bool call(const char *method, const QVariantList &args = QVariantList());
    // The object a property holds (no |args|), or a method answers for
    // |args|; null when there is none. Owned by |parent|.
    pl_automation_object *querySubObject(const char *member, const QVariantList &args = QVariantList(),
                                         QObject *parent = nullptr);

signals:
    void exception(int code, const QString &source, const QString &description, const QString &help);

private:
    pl_automation_object(pl_automation_server &server, plsrvObject *object, QObject *parent);

    static void deliverException(void *context, uint32_t code, const char *source, const char *description,
                                 const char *help);
    int32_t get(const char *name, plsrvValue *value);
    int32_t invoke(const char *method, const QVariantList &args, plsrvValue *result);
    // Hands an object reference that |value| may hold back to the server.
    void dropObject(plsrvValue &value);

    pl_automation_server &m_server;
    plsrvObject *m_object;
};

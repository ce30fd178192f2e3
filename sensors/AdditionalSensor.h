#pragma once

#include <QMutex>
#include <QObject>
#include <QString>

// The error state of an object that drives an instrument on a driver's
// behalf: the last error code (0 none) and its text. Both may be written by
// a server's exception on the object's own thread while a caller on another
// thread reads them, so they are read and written together under a lock.
class AdditionalSensor : public QObject
{
    Q_OBJECT

public:
    explicit AdditionalSensor(QObject *parent = nullptr);

    int GetLastError() const;
    QString GetLastErrorText() const;

protected:
    void SetLastError(int code, const QString &text);
    void SetLastErrorText(const QString &text);
    void ClearLastError();

private:
    mutable QMutex m_errorMutex;
    int m_lastError = 0;
    QString m_lastErrorText;
};

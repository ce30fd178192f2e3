#include "sensors/AdditionalSensor.h"

#include <QMutexLocker>

AdditionalSensor::AdditionalSensor(QObject *parent) : QObject(parent) {}

int AdditionalSensor::GetLastError() const
{
    QMutexLocker lock(&m_errorMutex);
    return m_lastError;
}

QString AdditionalSensor::GetLastErrorText() const
{
    QMutexLocker lock(&m_errorMutex);
    return m_lastErrorText;
}

void AdditionalSensor::SetLastError(int code, const QString &text)
{
    QMutexLocker lock(&m_errorMutex);
    m_lastError = code;
    m_lastErrorText = text;
}

void AdditionalSensor::SetLastErrorText(const QString &text)
{
    QMutexLocker lock(&m_errorMutex);
    m_lastErrorText = text;
}

void AdditionalSensor::ClearLastError()
{
    SetLastError(0, QString());
}

#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// Drives a simulated instrument library from a test: it loads the same file
// the driver under test loads, so both see one instrument. Holding the
// library keeps the instrument's state across drivers.
class simulated_instrument_control
{
public:
    explicit simulated_instrument_control(const QString &libraryPath);
    ~simulated_instrument_control();
    simulated_instrument_control(const simulated_instrument_control &) = delete;
    simulated_instrument_control &operator=(const simulated_instrument_control &) = delete;

    bool isLoaded() const { return m_handle != nullptr; }
    // False (with lastError) when the instrument refuses the configuration.
    bool configure(const QJsonObject &settings);
    QString lastError() const;
    void reset();

    QJsonArray calls() const;
    QStringList callNames() const;
    // The calls of one entry point, in order.
    QJsonArray callsNamed(const QString &name) const;
    void clearCalls();

private:
    void *m_handle = nullptr;
    int (*m_configure)(const char *) = nullptr;
    const char *(*m_lastError)() = nullptr;
    void (*m_reset)() = nullptr;
    const char *(*m_callLog)() = nullptr;
    void (*m_clearCallLog)() = nullptr;
};

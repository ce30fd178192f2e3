#pragma once

#include <QByteArray>
#include <QDataStream>
#include <QDateTime>
#include <QFont>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <array>

// Every field of a preferences file, and a writer that lays them out by hand
// for any version, so that tests can build the files older releases wrote.
struct preferences_fields {
    std::array<quint8, 4> bytes1To4{{14, 2, 1, 1}};
    quint8 word5LowByte = 0;
    quint8 calibrationSteps = 32;
    quint8 byte6 = 1;
    quint8 brightnessMode = 0;
    quint8 lowLightAveraging = 0;
    std::array<quint8, 3> bytes7To9{{0, 1, 1}};
    quint8 luminanceUnits = 0;
    std::array<quint8, 2> bytes10To11{{1, 1}};
    QPoint position1{99999, 99999};
    QPoint position2{99999, 99999};
    QString serialPort = QStringLiteral("COM1");
    std::array<quint8, 24> bytes12To35{{0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0,
                                        1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0}};
    quint8 extendedStabilisation = 0;
    quint8 calibrationMethod = 0;
    quint8 flags = 3;
    quint8 backlightType = 0;
    QByteArray mainWindowGeometry;
    QByteArray mainWindowState;
    QByteArray informationDialogGeometry;
    QList<qint32> suppressed;
    QStringList recentFiles;
    QDateTime lastUpdateCheck;
    quint8 autoUpdateCheck = 1;
    QFont font{QStringLiteral("Helvetica"), 10};
    std::array<quint8, 6> engineBytes{{1, 0, 1, 1, 0, 1}}; // gamma, measure, engine, mode, expand, gamut
    std::array<QString, 3> texts;
    std::array<qint32, 3> numbers{{0, 0, 0}}; // uniformity point counts, numbers 2 and 3
    std::array<quint8, 4> lateBytes{{11, 1, 0, 0}}; // uniformity, clock, voice, byte 36
    QString speechLocale = QStringLiteral("en_US");
};

// Writes |fields| as a file of |version| would hold them (header included).
inline QByteArray build_preferences_file(const preferences_fields &f, qint32 version,
                                         quint32 magic = 0xFEAB)
{
    QByteArray bytes;
    QDataStream s(&bytes, QIODevice::WriteOnly);
    s.setVersion(12);
    s << magic << version;
    for (quint8 b : f.bytes1To4)
        s << b;
    s << f.word5LowByte << f.calibrationSteps << f.byte6 << f.brightnessMode << f.lowLightAveraging;
    for (quint8 b : f.bytes7To9)
        s << b;
    s << f.luminanceUnits;
    for (quint8 b : f.bytes10To11)
        s << b;
    s << f.position1 << f.position2 << f.serialPort;
    for (quint8 b : f.bytes12To35)
        s << b;
    s << f.extendedStabilisation << f.calibrationMethod << f.flags << f.backlightType;
    s << f.mainWindowGeometry << f.mainWindowState << f.informationDialogGeometry;
    if (version >= 121) {
        s << qint32(f.suppressed.size());
        for (qint32 id : f.suppressed)
            s << id;
        s << qint32(f.recentFiles.size());
        for (const QString &file : f.recentFiles)
            s << file;
        s << f.lastUpdateCheck << f.autoUpdateCheck;
    }
    if (version >= 122)
        s << f.font;
    if (version >= 123) {
        for (quint8 b : f.engineBytes)
            s << b;
        for (const QString &text : f.texts)
            s << text;
        for (qint32 n : f.numbers)
            s << n;
    }
    if (version >= 124) {
        for (quint8 b : f.lateBytes)
            s << b;
        s << f.speechLocale;
    }
    return bytes;
}

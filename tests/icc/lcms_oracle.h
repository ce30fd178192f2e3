#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include <lcms2.h>

#include <memory>

// Independent readers of written profiles: LittleCMS 2 in-process and
// ArgyllCMS's iccdump as a subprocess.
struct LcmsProfileCloser
{
    void operator()(void *profile) const { cmsCloseProfile(profile); }
};
using LcmsProfile = std::unique_ptr<void, LcmsProfileCloser>;

// Everything LittleCMS complained about since the last take_lcms_errors().
inline QStringList &lcms_error_log()
{
    static QStringList errors;
    return errors;
}

inline QString take_lcms_errors()
{
    const QString errors = lcms_error_log().join(QLatin1Char('\n'));
    lcms_error_log().clear();
    return errors;
}

inline void record_lcms_error(cmsContext, cmsUInt32Number, const char *text)
{
    lcms_error_log() << QString::fromLocal8Bit(text);
}

inline LcmsProfile open_with_lcms(const QString &path)
{
    cmsSetLogErrorHandler(record_lcms_error);
    return LcmsProfile(cmsOpenProfileFromFile(path.toLocal8Bit().constData(), "r"));
}

inline const cmsCIEXYZ *lcms_xyz(const LcmsProfile &profile, cmsTagSignature signature)
{
    return static_cast<const cmsCIEXYZ *>(cmsReadTag(profile.get(), signature));
}

struct IccdumpResult
{
    bool available = false;
    int exitCode = -1;
    QString output;
};

// Runs "iccdump -v3" on the file; available is false when the tool is missing.
inline IccdumpResult run_iccdump(const QString &path)
{
    IccdumpResult result;
    const QString program = QStandardPaths::findExecutable(QStringLiteral("iccdump"));
    if (program.isEmpty())
        return result;
    result.available = true;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, {QStringLiteral("-v3"), path});
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromLocal8Bit(process.readAll());
    return result;
}

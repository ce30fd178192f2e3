#include "app/services/high_dpi_image.h"

#include <QImage>
#include <QRegularExpression>

QString high_dpi_image_name(const QString &name, int devicePixelRatio, int *scale)
{
    if (scale)
        *scale = 1;
    if (devicePixelRatio <= 1)
        return name;
    static const QRegularExpression png(QStringLiteral("\\.png"), QRegularExpression::CaseInsensitiveOption);
    const QString candidate = QString(name).replace(png, QStringLiteral("@2x.png"));
    if (QImage(candidate).isNull())
        return name;
    if (scale)
        *scale = 2;
    return candidate;
}

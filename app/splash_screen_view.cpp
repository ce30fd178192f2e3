#include "app/splash_screen_view.h"

#include "app/services/string_resource.h"

#include <QFontMetrics>
#include <QPixmap>

namespace {

constexpr int kSplashLogoStringId = 14;
constexpr int kMargin = 10;
constexpr int kTextLines = 3;

} // namespace

splash_screen_view::splash_screen_view()
{
    m_splash.setPixmap(QPixmap(QStringLiteral(":/images/Resources/splash blank.png")));
    const QPixmap logo(string_resource(kSplashLogoStringId));
    m_splash.resize(logo.width() + kMargin,
                    logo.height() + kTextLines * QFontMetrics(m_splash.font()).lineSpacing() + kMargin);
    m_splash.show();
}

void splash_screen_view::show_message(const QString &html)
{
    m_splash.showMessage(html, Qt::AlignHCenter | Qt::AlignVCenter, Qt::black);
}

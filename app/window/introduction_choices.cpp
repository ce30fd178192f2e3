#include "app/window/introduction_choices.h"

#include "app/services/preferences.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("introduction_dialog", text);
}

QString recent_projects_text(const QStringList &recent_files)
{
    if (recent_files.isEmpty())
        return QString();
    QString text = tr("<h3>&nbsp;&nbsp;&nbsp;&nbsp;Recent projects:</h3>") + tr("<ol>");
    for (int k = 0; k < recent_files.size(); ++k) {
        const QString name = QFileInfo(recent_files[k]).fileName().toHtmlEscaped();
        text += tr("&nbsp;&nbsp;<a href=\"%1\" STYLE=\"text-decoration: none\"><li>%2</li></a>")
                    .arg(QString::number(k), name);
    }
    return text + tr("</ol>");
}

} // namespace

QString introduction_text(const QStringList &recent_files)
{
    return tr("<h2>Create a new project</h2><p>") +
           tr("&nbsp;&nbsp;&nbsp;&nbsp;<a href=\"wizard\" STYLE=\"text-decoration: none\">"
              "<img src=\":/images/Resources/layout wizard.png\">&nbsp;Use the <b>Display Layout Wizard</b>"
              "  to create a new Video Wall Layout</a>") +
           tr("<h2>Open an existing project file</h2>") + recent_projects_text(recent_files) +
           tr("<h3><a href=\"open\" STYLE=\"text-decoration: none\">&nbsp;&nbsp;&nbsp;&nbsp;"
              "<img src=\":/images/Resources/open16.png\">&nbsp;Open from another location&nbsp;</a></h3>"
              "<br><br>");
}

int introduction_link_result(const QString &link, const QStringList &recent_files, QString *chosen)
{
    if (link == QLatin1String("wizard"))
        return kIntroductionLayoutWizard;
    if (link == QLatin1String("open"))
        return kIntroductionOpenOtherProject;
    bool number = false;
    const int k = link.toInt(&number, 10);
    if (!number || k < 0 || k >= recent_files.size())
        return 0;
    *chosen = recent_files[k];
    return kIntroductionOpenRecentProject;
}

bool introduction_wanted(const CPreferences &preferences)
{
    return !preferences.IsMessageSuppressed(kIntroductionMessageId);
}

void record_introduction_choice(CPreferences &preferences, int result, bool dont_show_again)
{
    if (result != 0 && dont_show_again)
        preferences.SuppressMessage(kIntroductionMessageId);
}

#include "app/update/update_init_info.h"

#include "app/services/string_resource.h"
#include "app/services/version_text.h"

#include <QRegularExpression>
#include <QSysInfo>

const char kUpdateAddressesVariable[] = "TESSALINE_UPDATE_URLS";

QStringList update_addresses()
{
    const QString configured = qEnvironmentVariable(kUpdateAddressesVariable).trimmed();
    if (!configured.isEmpty())
        return configured.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    return {string_resource(string_id::kUpdatesWebServerUrl),
            string_resource(string_id::kUpdatesWebServerBackupUrl)};
}

update_init_info make_update_init_info()
{
    update_init_info info;
    info.current_build = kProgramBuildNumber;
    info.up_to_date_message = string_resource(string_id::kUpdateNoNewerVersion);
    info.error_message = string_resource(string_id::kCantGetUpdateInformation);
    info.update_message = string_resource(string_id::kUpdateInformationAvailable);
    info.change_section = string_resource(string_id::kUpdateChangesList);
    info.addresses = update_addresses();
    info.user_agent = QStringLiteral("'%1' %2 '%3'")
                          .arg(QSysInfo::prettyProductName(), QSysInfo::kernelVersion(), version_text());
    return info;
}

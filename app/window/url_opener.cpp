#include "app/window/url_opener.h"

#include <QDesktopServices>

#include <utility>

namespace {

url_opener &installed()
{
    static url_opener opener;
    return opener;
}

} // namespace

bool open_url(const QUrl &url)
{
    const url_opener &opener = installed();
    return opener ? opener(url) : QDesktopServices::openUrl(url);
}

url_opener replace_url_opener(url_opener opener)
{
    return std::exchange(installed(), std::move(opener));
}

#pragma once

#include <QUrl>

#include <functional>

// Opens a URL with the desktop's handler (QDesktopServices::openUrl), or with
// the opener a test put in its place. True when the handler took it.
bool open_url(const QUrl &url);

using url_opener = std::function<bool(const QUrl &)>;
// Replaces the opener for the whole process and returns the one it replaced;
// an empty opener puts the desktop's back.
url_opener replace_url_opener(url_opener opener);

#pragma once

#include <QLatin1String>
#include <QObject>
#include <QtGlobal>

// A control a form names. A missing one is a broken form, so the test stops
// there rather than dereferencing null further on.
template <class T> T *form_child(const QObject &parent, const char *name)
{
    T *found = parent.findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

template <class T> T *form_child(const QObject *parent, const char *name)
{
    if (!parent)
        qFatal("no parent to hold %s", name);
    return form_child<T>(*parent, name);
}

// The widgets of a dialog, found as a user finds them: by their names. The
// dialogs keep their widgets to themselves; a missing name ends the test.
#pragma once

#include <QObject>
#include <QtGlobal>

namespace testsupport {

template <class T>
T *child(const QObject &dialog, const char *name)
{
    T *found = dialog.findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("%s has no %s", qPrintable(dialog.objectName()), name);
    return found;
}

template <class T>
T *child(const QObject *dialog, const char *name)
{
    return child<T>(*dialog, name);
}

} // namespace testsupport

// The application settings as one object that tells when they change: the
// main window loads them from config.cfg and writes them back at exit;
// whoever changes a setting does it through a setter, and whoever shows one
// (the status bar's connection) follows `changed`.
#pragma once

#include "base/appstate.h"

#include <QObject>

class SettingsStore : public QObject {
    Q_OBJECT
public:
    explicit SettingsStore(QObject *parent = nullptr) : QObject(parent) {}

    const AppSettings &values() const { return m_values; }
    // Every setting at once (start-up).
    void replace(const AppSettings &values);

    void setLanguage(int language);
    // The communication choice of the settings dialog; it replaces a
    // serial device given for this run only.
    void setConnection(int interfaceType, int portIndex, int rateIndex);
    // A serial device for this run only (never written to config.cfg).
    void setRunPortPath(const QString &path);
    void setLayout(const WindowLayout &layout);
    // The grids' column layout; the displayed-columns dialog edits it in
    // place.
    std::array<GridColumns, kGridCount> &columns() { return m_values.columns; }

signals:
    void changed();

private:
    AppSettings m_values;
};

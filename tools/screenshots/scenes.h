// The pictures of the user manuals: each scene brings a window of the
// program into a known state and saves it as images/<name>-<language>.png.
#pragma once

#include "dialogcatcher.h"
#include "mainwindow/commandtable.h"

#include <QString>
#include <QStringList>

class TKorvelForm;
class QWidget;

struct SceneInputs {
    QString outFolder; // where the pictures go
    QString suffix; // "en" or "ru", the end of every picture's name
    QString folder; // the folder shown, relative to the data folder
    QString meterDatabase; // a .bdc file for the meter database window
    QString findSerial; // part of a serial number for the search window
    QString protocolTitle; // typed into the protocol's title
};

class ScreenshotScenes {
public:
    ScreenshotScenes(TKorvelForm &form, SceneInputs inputs);

    // Runs every scene; the names of the pictures not taken are in failures().
    void runAll();
    const QStringList &failures() const { return m_failures; }

private:
    void mainWindow();
    void communicationSettings();
    void displayedColumns();
    void archiveContent();
    void meterEditing();
    void protocol();
    void meterDatabase();
    void findMeter();
    void aboutBox();

    // Runs `command`; the dialogs it should open must have been expected.
    void run(Command command);
    // Expects a dialog, saves its picture as `name` and closes it (accepted
    // or rejected).
    void expectAndSave(const char *className, const QString &name, bool accept = false, int settleTicks = 3);
    void save(QWidget *widget, const QString &name);
    void checkAllSeen(const QString &scene);

    TKorvelForm &m_form;
    SceneInputs m_in;
    DialogCatcher m_catcher;
    QStringList m_failures;
};

// The folder tree and moving around the data folder: the tree panel (made
// here, placed by the window), the folder it selects listed by the store,
// the data folder's choice ("Data folder…", kept per user, may be a folder
// shared with other workstations) and the search for a meter below it
// ("Find meter…"). The lists follow the texts: a language switch relabels
// them and reads the folder again.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class AppServices;
class FindMeterDialog;
class FolderTreePanel;
class RecordStore;
class RecordViews;
class QWidget;
struct RecordCommands;

class FolderCommands : public QObject {
    Q_OBJECT
public:
    FolderCommands(AppServices &services, RecordStore &store, RecordViews &views, QObject *parent = nullptr);

    // The per-user value holding the chosen data folder.
    static const QString kDataFolderKey;

    FolderTreePanel *panel() const { return m_panel; }
    // Builds the tree (creating the data folder when missing) and selects
    // its root, so that its meters show.
    void ShowDataFolder();
    // Shows another data folder: the tree is built anew and its root
    // selected.
    void SwitchDataFolder(const QString &folder);

public slots:
    // Asks for the data folder and keeps the choice for this user.
    void ChooseDataFolder();
    void FindMeterExecute();

private:
    void selectFolder(const QString &folderPath);
    void showFoundMeter(const QString &folder, const QString &fileName);
    void applyTexts();

    AppServices &m_services;
    RecordStore &m_store;
    RecordViews &m_views;
    FolderTreePanel *m_panel;
    QPointer<FindMeterDialog> m_find;
};

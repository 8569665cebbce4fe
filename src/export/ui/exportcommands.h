// The export commands of the main window: the spreadsheet export of the
// verification the result grid shows, and the CSV register of the current
// folder. Wired like every controller: the application services (texts,
// messages, the grids' columns in the settings), the record store (the
// folder's meters) and the record views (the shown verification, the limits).
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class AppServices;
class QWidget;
class RecordStore;
class RecordViews;

class ExportCommands : public QObject {
    Q_OBJECT
public:
    ExportCommands(AppServices &services, RecordStore &store, RecordViews &views, QObject *parent = nullptr);

    // Asks for the file to write: parent, filter, default suffix. Empty
    // means cancelled. The default is a save dialog.
    using FileChooser = std::function<QString(QWidget *, const QString &filter, const QString &defaultSuffix)>;
    void setFileChooser(FileChooser chooser) { m_choose = std::move(chooser); }
    // Opens a written spreadsheet; the default is platform::openSpreadsheet.
    void setDocumentOpener(std::function<void(const QString &)> opener) { m_open = std::move(opener); }

    // Caption of the folder export's menu item in the current language.
    QString folderExportCaption() const;

    // The save dialog's filter of the spreadsheet export: the "File" menu
    // caption followed by " xml (*.xml)".
    QString excelFilter() const;

public slots:
    // Save dialog, write, open; Error36 when the file cannot be written.
    void ExportExcelExecute();
    // Save dialog, write the current folder's register; Error36 on failure.
    void ExportFolderExecute();

private:
    QString choose(const QString &caption, const QString &filter, const QString &suffix);
    void fail();

    AppServices &m_services;
    RecordStore &m_store;
    RecordViews &m_views;
    FileChooser m_choose;
    std::function<void(const QString &)> m_open;
};

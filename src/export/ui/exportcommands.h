// The export commands of the main window: the spreadsheet export of the
// verification the result grid shows, and the CSV register of the current
// folder. The controller asks only for what it needs, through functions the
// window supplies, so it runs without the window in tests.
#pragma once

#include "records/blockdata.h"
#include "records/errorlimits.h"
#include "base/appstate.h"
#include "base/ui/passworddialogs.h"
#include "views/textlookup.h"

#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>

struct ExportSources {
    QWidget *parent = nullptr; // parent of the dialogs
    TextLookup text; // texts of the current language
    std::function<int()> language; // 0 Russian, 1 English
    MessageFn show; // message boxes
    // The verification the result grid shows; nullptr when none.
    std::function<const pcn::_blockdata *()> shownVerification;
    // The grids' column configuration.
    std::function<std::array<GridColumns, kGridCount>()> columns;
    // The meters of the current folder with their points (read when asked).
    std::function<QVector<pcn::_totalblockdata>()> folderMeters;
    // The limits table of the verdict columns; none: no verdict columns.
    std::function<limits::Table()> limits;
    QLocale locale; // the locale the grid uses
};

class ExportCommands : public QObject {
    Q_OBJECT
public:
    explicit ExportCommands(ExportSources sources, QObject *parent = nullptr);

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

    ExportSources m_sources;
    FileChooser m_choose;
    std::function<void(const QString &)> m_open;
};

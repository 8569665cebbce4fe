#include "exportcommands.h"

#include "base/platform.h"
#include "base/ui/appservices.h"
#include "export/excelexport.h"
#include "export/foldercsv.h"
#include "records/recordstore.h"
#include "views/textlookup.h"
#include "views/ui/recordviews.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {

QString saveDialog(QWidget *parent, const QString &caption, const QString &filter, const QString &defaultSuffix,
                   const QString &folder)
{
    QFileDialog dialog(parent, caption, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    // An existing file is replaced without a question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

} // namespace

ExportCommands::ExportCommands(AppServices &services, RecordStore &store, RecordViews &views, QObject *parent)
    : QObject(parent), m_services(services), m_store(store), m_views(views), m_open(platform::openSpreadsheet)
{}

QString ExportCommands::folderExportCaption() const
{
    // The register export has no item in the string file.
    return m_services.texts().programText(ProgramText::ExportFolderCommand);
}

QString ExportCommands::excelFilter() const
{
    return m_services.texts().text(kViewsMainSection, QStringLiteral("MainMenu/File")) + QStringLiteral(" xml (*.xml)");
}

QString ExportCommands::choose(const QString &caption, const QString &filter, const QString &suffix)
{
    const QString kind = QStringLiteral("export");
    QWidget *parent = m_services.window();
    QString path = m_choose ? m_choose(parent, filter, suffix)
                            : saveDialog(parent, caption, filter, suffix, platform::saveFolder(kind));
    if (path.isEmpty())
        return {};
    // A name without extension gets the default one, as the dialog does.
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + suffix;
    platform::rememberSaveFolder(kind, path);
    return path;
}

void ExportCommands::fail()
{
    m_services.showMessage(MessageKind::Error, m_services.message(36));
}

void ExportCommands::ExportExcelExecute()
{
    const pcn::_blockdata *verification = m_views.shownVerification();
    if (!verification)
        return;
    const QString caption =
        m_services.texts().text(kViewsMainSection, QStringLiteral("MainMenu/Utilities/ExportExcel"));
    const QString path = choose(caption, excelFilter(), QStringLiteral("XML"));
    if (path.isEmpty())
        return;
    ExcelExportInput input;
    input.verification = verification;
    input.columns = m_services.settings().values().columns;
    input.lookup = m_services.texts().lookup();
    input.locale = QLocale();
    input.created = QDateTime::currentDateTimeUtc();
    input.limits = m_views.Limits();
    if (!ExportExcel(path, input)) {
        fail();
        return;
    }
    if (m_open)
        m_open(QFileInfo(path).absoluteFilePath());
}

void ExportCommands::ExportFolderExecute()
{
    const QString path =
        choose(folderExportCaption().remove(QChar(0x2026)), QStringLiteral("CSV (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    const limits::Table table = m_views.Limits();
    if (!ExportFolderCsv(path, m_store.loadMeters(), m_services.texts().lookup(), &table))
        fail();
}

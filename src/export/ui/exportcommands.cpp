#include "exportcommands.h"

#include "export/excelexport.h"
#include "export/foldercsv.h"
#include "base/platform.h"
#include "base/programtexts.h"

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

ExportCommands::ExportCommands(ExportSources sources, QObject *parent)
    : QObject(parent), m_sources(std::move(sources)), m_open(platform::openSpreadsheet)
{}

QString ExportCommands::folderExportCaption() const
{
    // The register export has no item in the string file; its caption
    // follows the current language.
    return programText(ProgramText::ExportFolderCommand, m_sources.language ? m_sources.language() : LanguageEnglish);
}

QString ExportCommands::excelFilter() const
{
    const QString file =
        m_sources.text ? m_sources.text(kViewsMainSection, QStringLiteral("MainMenu/File")) : QString();
    return file + QStringLiteral(" xml (*.xml)");
}

QString ExportCommands::choose(const QString &caption, const QString &filter, const QString &suffix)
{
    const QString kind = QStringLiteral("export");
    QString path = m_choose ? m_choose(m_sources.parent, filter, suffix)
                            : saveDialog(m_sources.parent, caption, filter, suffix, platform::saveFolder(kind));
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
    if (m_sources.show && m_sources.text)
        m_sources.show(MessageKind::Error, m_sources.text(kViewsMainSection, QStringLiteral("ErrorMessages/Error36")));
}

void ExportCommands::ExportExcelExecute()
{
    const pcn::_blockdata *verification = m_sources.shownVerification ? m_sources.shownVerification() : nullptr;
    if (!verification)
        return;
    const QString caption = m_sources.text
                                ? m_sources.text(kViewsMainSection, QStringLiteral("MainMenu/Utilities/ExportExcel"))
                                : QString();
    const QString path = choose(caption, excelFilter(), QStringLiteral("XML"));
    if (path.isEmpty())
        return;
    ExcelExportInput input;
    input.verification = verification;
    if (m_sources.columns)
        input.columns = m_sources.columns();
    input.lookup = m_sources.text;
    input.locale = m_sources.locale;
    input.created = QDateTime::currentDateTimeUtc();
    if (m_sources.limits)
        input.limits = m_sources.limits();
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
    const QVector<pcn::_totalblockdata> meters =
        m_sources.folderMeters ? m_sources.folderMeters() : QVector<pcn::_totalblockdata>();
    const std::optional<limits::Table> table =
        m_sources.limits ? std::optional<limits::Table>(m_sources.limits()) : std::nullopt;
    if (!ExportFolderCsv(path, meters, m_sources.text, table ? &*table : nullptr))
        fail();
}

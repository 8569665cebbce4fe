#include "korvelform.h"

#include "base/platform.h"
#include "base/settingsfile.h"
#include "base/settingsstore.h"
#include "base/textcatalogue.h"
#include "base/ui/appservices.h"
#include "base/ui/helpcommands.h"
#include "base/ui/statusmessagetimer.h"
#include "device/portchoice.h"
#include "records/recordstore.h"
#include "views/commandstate.h"
#include "views/ui/foldercommands.h"
#include "views/ui/recordviews.h"

#include <QCloseEvent>
#include <QDir>
#include <QSplitter>

StartupPaths StartupPaths::forProgramFolder(const QString &programFolder)
{
    StartupPaths paths;
    paths.programFolder = programFolder.endsWith(QLatin1Char('/')) ? programFolder : programFolder + QLatin1Char('/');
    // A data folder the user chose (a shared network folder, say) is kept
    // per user and per machine; else the program's own.
    const QString chosen = platform::loadUserValue(FolderCommands::kDataFolderKey);
    paths.dataFolder =
        chosen.isEmpty() ? platform::dataFolderFor(paths.programFolder) : QDir::cleanPath(chosen) + QLatin1Char('/');
    paths.configPath = platform::configFilePathFor(paths.programFolder);
    paths.stringsPath = platform::shippedFilePath(paths.programFolder, QStringLiteral("DataStrings.xml"));
    return paths;
}

TKorvelForm::TKorvelForm(const StartupPaths &paths, MessageFn show, QWidget *parent)
    : QMainWindow(parent)
    , m_paths(paths)
    , m_texts(new TextCatalogue(LanguageEnglish, this))
    , m_settings(new SettingsStore(this))
    , m_services(new AppServices(*m_texts, *m_settings, this))
    , m_store(std::make_unique<RecordStore>(m_paths.dataFolder))
    , m_views(new RecordViews(m_settings->columns(), this))
{
    setObjectName(QStringLiteral("KorvelForm"));
    setMinimumSize(200, 200);
    m_services->setWindow(this);
    if (show)
        m_services->setMessageSink(std::move(show));
    m_help = new HelpCommands(*m_services, m_paths.programFolder, this);
    m_views->FollowStore(*m_store);
    connect(m_texts, &TextCatalogue::textsApplied, this, &TKorvelForm::applyTexts);
    connect(m_texts, &TextCatalogue::languageChanged, m_settings, &SettingsStore::setLanguage);
    connect(m_texts, &TextCatalogue::languageChanged, this, &TKorvelForm::checkLanguage);
    buildCommands();
    wireRecordCommands();
    wireDeviceCommands();
    wireReportCommands();
    wireExportCommands();
    wireMeterDatabaseCommands();
    wireVerdicts();
    buildLayout();
    connect(m_settings, &SettingsStore::changed, this, &TKorvelForm::writeConnectionStatus);
    connect(m_views, &RecordViews::commandsChanged, this, &TKorvelForm::applyRecordCommands);
    applyWindowLayout();
    // Children are deleted in the order they were adopted: the controllers
    // and widgets, which use the services to the end, go before them.
    for (QObject *core : std::initializer_list<QObject *>{m_texts, m_settings, m_services}) {
        core->setParent(nullptr);
        core->setParent(this);
    }
}

TKorvelForm::~TKorvelForm()
{
    // The meter list shows the store's meters as long as it is shown: it
    // lets go of them before the store goes, ahead of the widgets, which a
    // visible window hides (and lays out once more) as it is torn down.
    m_views->FillMeterList(nullptr);
}

FolderTreePanel *TKorvelForm::folderPanel() const
{
    return m_folders->panel();
}

bool TKorvelForm::FormCreate()
{
    AppSettings loaded = loadSettingsFile(m_paths.configPath);
    loaded.runPortPath = m_paths.runPortPath;
    m_settings->replace(loaded);
    m_texts->setLanguage(loaded.language);
    applyWindowLayout();
    checkLanguage(loaded.language);

    if (!m_texts->load(m_paths.stringsPath)) {
        m_fatalMessage = m_texts->programText(ProgramText::StringsFileUnreadable);
        return false;
    }
    if (!m_texts->applyMainTexts()) {
        m_fatalMessage = m_texts->fatalStringsMessage();
        return false;
    }
    m_folders->ShowDataFolder();
    m_services->statusTimer()->StartStatusTimer();
    return true;
}

bool TKorvelForm::FormActivate()
{
    if (m_secondaryStringsApplied)
        return true;
    if (!m_texts->applySecondaryTexts()) {
        m_fatalMessage = m_texts->fatalStringsMessage();
        return false;
    }
    m_secondaryStringsApplied = true;
    return true;
}

void TKorvelForm::applyRecordCommands(const RecordCommands &commands)
{
    for (const CommandRow &row : commandTable())
        action(row.command)->setEnabled(commands.*row.rule);
}

QString TKorvelForm::connectionStatusText() const
{
    const AppSettings &s = m_settings->values();
    const bool runPort = !s.runPortPath.isEmpty();
    if (!runPort && s.interfaceType == InterfaceUsb)
        return QStringLiteral(" USB");
    const int port = std::clamp(s.portIndex, 0, kPortCount - 1);
    const int rate = kRates[static_cast<std::size_t>(std::clamp(s.rateIndex, 0, int(kRates.size()) - 1))];
    const QString path = runPort ? s.runPortPath : device::serialPortPath(port);
    return QLatin1Char(' ') + path + QStringLiteral(";   ") + QString::number(rate) + QLatin1Char(' ')
           + m_texts->mainText(QStringLiteral("StatusBar/Rate"));
}

void TKorvelForm::writeConnectionStatus()
{
    m_connectionPanel->setText(connectionStatusText());
}

void TKorvelForm::bringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void TKorvelForm::applyWindowLayout()
{
    const WindowLayout &w = m_settings->values().layout;
    move(w.left, w.top);
    resize(std::max(w.width, minimumWidth()), std::max(w.height, minimumHeight()));
    const std::pair<QSplitter *, int> firstPanes[] = {{m_upperSplitter, w.folderPanelWidth},
                                                      {m_mainSplitter, w.upperAreaHeight},
                                                      {m_listsSplitter, w.meterListHeight}};
    for (const auto &[splitter, first] : firstPanes) {
        const QList<int> sizes = splitter->sizes();
        const int total = std::max(sizes.value(0) + sizes.value(1), first + 50);
        splitter->setSizes({first, total - first});
    }
}

void TKorvelForm::captureWindowLayout()
{
    WindowLayout w = m_settings->values().layout;
    const QRect normal = isMaximized() || isFullScreen() ? normalGeometry() : QRect(pos(), size());
    w.left = std::max(0, normal.x());
    w.top = std::max(0, normal.y());
    w.width = normal.width();
    w.height = normal.height();
    w.folderPanelWidth = m_upperSplitter->sizes().value(0);
    w.upperAreaHeight = m_mainSplitter->sizes().value(0);
    w.meterListHeight = m_listsSplitter->sizes().value(0);
    m_settings->setLayout(w);
}

void TKorvelForm::closeEvent(QCloseEvent *event)
{
    if (!m_settingsSaved) {
        m_settingsSaved = true;
        m_store->ClearMeters();
        captureWindowLayout();
        saveSettingsFile(m_paths.configPath, m_settings->values()); // a failed write is ignored
    }
    event->accept();
}

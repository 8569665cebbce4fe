#include "korvelform.h"

#include "device/portchoice.h"
#include "base/platform.h"
#include "base/programtexts.h"
#include "base/settingsfile.h"
#include "base/stringcatalog.h"
#include "base/stringdocument.h"
#include "records/recordstore.h"
#include "records/ui/folderpanel.h"
#include "base/ui/statusmessagetimer.h"
#include "base/ui/aboutbox.h"
#include "base/ui/appservices.h"
#include "views/commandstate.h"
#include "views/ui/recordlistviews.h"
#include "views/ui/recordviews.h"
#include "views/ui/tvparam.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>

namespace {

const QString kPasswordSection = QStringLiteral("EnterPasswordForm");
const QString kChangePasswordSection = QStringLiteral("ChangePasswordForm");
const QString kAboutSection = QStringLiteral("AboutForm");

QMessageBox::Icon iconFor(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

StartupPaths StartupPaths::forProgramFolder(const QString &programFolder)
{
    StartupPaths paths;
    paths.programFolder = programFolder.endsWith(QLatin1Char('/')) ? programFolder : programFolder + QLatin1Char('/');
    // A data folder the user chose (a shared network folder, say) is kept
    // per user and per machine; else the program's own.
    const QString chosen = platform::loadUserValue(TKorvelForm::kDataFolderKey);
    paths.dataFolder =
        chosen.isEmpty() ? platform::dataFolderFor(paths.programFolder) : QDir::cleanPath(chosen) + QLatin1Char('/');
    paths.configPath = platform::configFilePathFor(paths.programFolder);
    paths.stringsPath = platform::shippedFilePath(paths.programFolder, QStringLiteral("DataStrings.xml"));
    return paths;
}

TKorvelForm::TKorvelForm(const StartupPaths &paths, MessageFn show, QWidget *parent)
    : QMainWindow(parent), m_paths(paths), m_show(std::move(show)), m_mainTexts(std::make_unique<SectionTexts>())
{
    setObjectName(QStringLiteral("KorvelForm"));
    if (!m_show) {
        m_show = [this](MessageKind kind, const QString &text) {
            QMessageBox box(iconFor(kind), QApplication::applicationDisplayName(), text, QMessageBox::Ok, this);
            box.exec();
        };
    }
    m_openDocument = [](const QString &path) { return platform::openDocument(path); };

    // Construction: defaults, the password from the per-user store, the
    // default window layout.
    m_settings = AppSettings();
    m_currentFolder = m_paths.dataFolder;
    m_password = platform::loadStoredPassword();

    setMinimumSize(200, 200);
    m_store = std::make_unique<RecordStore>(m_paths.dataFolder);
    m_services = new AppServices(this);
    fillServices();
    buildLayout();
    buildCommands();
    buildRecordPanes();
    // The secondary windows made so far take new texts at once; the others
    // take them when they are made.
    registerSectionApplier(kPasswordSection, [this](const SectionTexts &texts) {
        if (m_pswd2)
            m_pswd2->applyStrings(texts);
        if (m_pswd3)
            m_pswd3->applyStrings(texts);
    });
    registerSectionApplier(kChangePasswordSection, [this](const SectionTexts &texts) {
        if (m_pswd)
            m_pswd->applyStrings(texts);
    });
    registerSectionApplier(kAboutSection, [this](const SectionTexts &texts) {
        if (m_about)
            m_about->applyStrings(texts, QString::fromLatin1(kVersionText), QString::fromLatin1(kYearText));
        m_deviceDescription.clear();
        for (int line = 1; line <= 3; ++line)
            m_deviceDescription << texts.text(QStringLiteral("DeviceDescriptionText/Line%1").arg(line));
    });
    wireRecordCommands();
    wireDeviceCommands();
    wireReportCommands();
    wireExportCommands();
    wireFindMeter();
    wireMeterDatabaseCommands();
    wireDataFolder();
    wireVerdicts();

    // A change of the lists' height goes to the power list, so that the
    // meter list keeps the height stored for it (the power panel has taken
    // the power list's place by now).
    m_listsSplitter->setStretchFactor(1, 1);
    applyWindowLayout();
}

TKorvelForm::~TKorvelForm() = default;

bool TKorvelForm::FormCreate()
{
    m_settings.language = LanguageEnglish;
    m_currentFolder = m_paths.dataFolder;
    m_settings = loadSettingsFile(m_paths.configPath);
    m_settings.runPortPath = m_paths.runPortPath;
    applyWindowLayout();
    action(Command::RussianLanguage)->setChecked(m_settings.language == LanguageRussian);
    action(Command::EnglishLanguage)->setChecked(m_settings.language != LanguageRussian);

    m_strings = StringDocument::load(m_paths.stringsPath);
    if (!m_strings) {
        m_fatalMessage =
            m_settings.language == LanguageRussian
                ? QStringLiteral(
                    "Ошибка при загрузке данных приложения.\nДля работы необходимо выполнить переустановку программы.")
                : QStringLiteral("Error while loading application data.\nThe program must be reinstalled.");
        return false;
    }
    if (!ApplyMainStrings()) {
        m_fatalMessage = fatalStringsMessage([this](int n) { return message(n); }, m_settings.language);
        return false;
    }
    // Column colours follow from the codes; the views derive them.
    writeConnectionStatus();
    m_views->SetTextLookup([this](const QString &section, const QString &path) { return sectionText(section, path); });
    // The tree creates the data folder when missing; a failure leaves it
    // with its root only. The root is selected so that its meters show.
    m_folderPanel->BuildFolderTree();
    m_folderPanel->selectFolder(m_store->rootFolder());
    m_statusTimer->StartStatusTimer();
    return true;
}

void TKorvelForm::fillServices()
{
    AppServices &s = *m_services;
    s.window = this;
    s.settings = &m_settings;
    s.text = [this](const QString &section, const QString &path) { return sectionText(section, path); };
    s.showMessage = [this](MessageKind kind, const QString &text) { m_show(kind, text); };
    s.askPassword = [this](bool withDeleteCheckBox, bool *deleteSources) {
        return askPassword(withDeleteCheckBox, deleteSources);
    };
    s.showStatus = [this](const QString &text) {
        m_messagePanel->setText(text);
        m_messagePanel->repaint();
    };
    s.holdStatus = [this](bool held) {
        if (held)
            m_statusTimer->StopStatusTimer();
        else
            m_statusTimer->StartStatusTimer();
    };
    s.addSectionTexts = [this](const QString &section, SectionApplier applier) {
        registerSectionApplier(section, std::move(applier));
    };
    connect(m_services, &AppServices::connectionSettingsChanged, this, &TKorvelForm::writeConnectionStatus);
}

void TKorvelForm::buildRecordPanes()
{
    m_folderPanel->setPasswordCheck([this] { return askPassword(); });
    m_folderPanel->setMessageHandler([this](const QString &key) {
        m_show(MessageKind::Information, mainText(QStringLiteral("ErrorMessages/") + key));
    });
    connect(m_folderPanel, &FolderTreePanel::TreeViewChange, this, &TKorvelForm::TreeViewChange);
    m_views->FollowStore(*m_store);
    connect(m_views, &RecordViews::commandsChanged, this, &TKorvelForm::applyRecordCommands);
    connect(action(Command::ViewParameters), &QAction::triggered, this, [this] { m_views->EditDisplayedColumns(0); });
}

void TKorvelForm::TreeViewChange(const QString &folderPath)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_store->SelectFolder(folderPath);
    m_currentFolder = m_store->currentFolder();
    QApplication::restoreOverrideCursor();
}

void TKorvelForm::applyRecordCommands(const RecordCommands &commands)
{
    for (const auto &[action, state] : std::as_const(m_boundCommands))
        action->setEnabled(commands.*state);
    m_folderPanel->setTreeEnabled(commands.idle);
}

void TKorvelForm::bindCommand(QAction *action, bool RecordCommands::*state)
{
    if (!action)
        return;
    m_boundCommands.append({action, state});
    action->setEnabled(m_views->Commands().*state);
}

void TKorvelForm::registerSectionApplier(const QString &section, SectionApplier applier)
{
    m_sectionAppliers[section].append(std::move(applier));
}

QString TKorvelForm::sectionText(const QString &section, const QString &path) const
{
    if (section == kMainSectionKey)
        return mainText(path);
    const auto it = m_sectionTexts.constFind(section);
    if (it != m_sectionTexts.constEnd())
        return it->text(path);
    return m_strings ? m_strings->lookup(m_settings.language, section, path) : QString();
}

bool TKorvelForm::FormActivate()
{
    if (m_secondaryStringsApplied)
        return true;
    if (!ApplySecondaryStrings()) {
        m_fatalMessage = fatalStringsMessage([this](int n) { return message(n); }, m_settings.language);
        return false;
    }
    m_secondaryStringsApplied = true;
    m_views->SetTextLookup([this](const QString &section, const QString &path) { return sectionText(section, path); });
    return true;
}

QString TKorvelForm::message(int n) const
{
    return mainText(QStringLiteral("ErrorMessages/Error%1").arg(n));
}

QString TKorvelForm::mainText(const QString &path) const
{
    return m_mainTexts->text(path);
}

bool TKorvelForm::ApplyMainStrings()
{
    if (!m_strings)
        return false;
    *m_mainTexts = m_strings->readSection(kMainSectionKey, m_settings.language);
    const SectionTexts &t = *m_mainTexts;

    m_toolkitTexts.setLanguage(m_settings.language);
    setProgramCaption(this, t.text(QStringLiteral("ProgramTitle")));
    for (QMenu *menu : std::as_const(m_menus))
        menu->setTitle(t.text(menu->objectName()));
    applyCommandTexts(t);
    GroupBox1->setTitle(t.text(QStringLiteral("TreeViewFolders")));
    m_folderPanel->setMenuCaptions(t.text(QStringLiteral("FolderContextMenu/CreateDir")),
                                   t.text(QStringLiteral("FolderContextMenu/DeleteDir")));
    m_folderPanel->setNewFolderLabel(t.text(QStringLiteral("FolderContextMenu/NewFolderLabel")));
    writeConnectionStatus();
    emit stringsApplied();
    emit m_services->textsApplied();
    return t.ok;
}

bool TKorvelForm::ApplySecondaryStrings()
{
    if (!m_strings)
        return false;
    const int language = m_settings.language;
    for (const QString &section : secondarySectionKeys()) {
        const SectionTexts texts = m_strings->readSection(section, language);
        m_sectionTexts.insert(section, texts);
        for (const SectionApplier &apply : m_sectionAppliers.value(section))
            apply(texts);
        if (!texts.ok)
            return false;
    }
    return true;
}

QString TKorvelForm::connectionStatusText() const
{
    const bool runPort = !m_settings.runPortPath.isEmpty();
    if (!runPort && m_settings.interfaceType == InterfaceUsb)
        return QStringLiteral(" USB");
    const int port = std::clamp(m_settings.portIndex, 0, kPortCount - 1);
    const int rate = kRates[static_cast<std::size_t>(std::clamp(m_settings.rateIndex, 0, int(kRates.size()) - 1))];
    const QString path = runPort ? m_settings.runPortPath : device::serialPortPath(port);
    return QLatin1Char(' ') + path + QStringLiteral(";   ") + QString::number(rate) + QLatin1Char(' ')
           + mainText(QStringLiteral("StatusBar/Rate"));
}

void TKorvelForm::writeConnectionStatus()
{
    m_connectionPanel->setText(connectionStatusText());
}

void TKorvelForm::setLanguage(int language)
{
    action(Command::RussianLanguage)->setChecked(language == LanguageRussian);
    action(Command::EnglishLanguage)->setChecked(language != LanguageRussian);
    m_settings.language = static_cast<std::uint8_t>(language);
    // Failures are not reported after start-up; the texts read stay applied.
    ApplyMainStrings();
    ApplySecondaryStrings();
    // The views re-label what they show; no file is read.
    m_views->SetTextLookup([this](const QString &section, const QString &path) { return sectionText(section, path); });
}

void TKorvelForm::RussianLangClick()
{
    setLanguage(LanguageRussian);
}

void TKorvelForm::EnglishLangClick()
{
    setLanguage(LanguageEnglish);
}

void TKorvelForm::ExitClick()
{
    close();
}

const SectionTexts *TKorvelForm::appliedSectionTexts(const QString &section) const
{
    const auto it = m_sectionTexts.constFind(section);
    return it == m_sectionTexts.constEnd() ? nullptr : &*it;
}

namespace {

// Makes a secondary window on its first use and gives it the texts last
// applied to its section; it then lives as long as the main window.
template <typename Form, typename Apply>
Form *madeOnce(Form *&form, QWidget *parent, const SectionTexts *texts, Apply apply)
{
    if (!form) {
        form = new Form(parent);
        if (texts)
            apply(*form, *texts);
    }
    return form;
}

const auto kApplyStrings = [](auto &form, const SectionTexts &texts) { form.applyStrings(texts); };

} // namespace

TPswd2Form *TKorvelForm::pswd2Form()
{
    return madeOnce(m_pswd2, this, appliedSectionTexts(kPasswordSection), kApplyStrings);
}

TPswd3Form *TKorvelForm::pswd3Form()
{
    return madeOnce(m_pswd3, this, appliedSectionTexts(kPasswordSection), kApplyStrings);
}

TPswdForm *TKorvelForm::pswdForm()
{
    return madeOnce(m_pswd, this, appliedSectionTexts(kChangePasswordSection), kApplyStrings);
}

TAboutBox *TKorvelForm::aboutBox()
{
    return madeOnce(m_about, this, appliedSectionTexts(kAboutSection), [](TAboutBox &box, const SectionTexts &texts) {
        box.applyStrings(texts, QString::fromLatin1(kVersionText), QString::fromLatin1(kYearText));
    });
}

bool TKorvelForm::askPassword(bool withDeleteCheckBox, bool *deleteSources)
{
    // The merge asks with the delete check box, which starts unticked.
    TPswdEnterForm &dialog =
        withDeleteCheckBox ? static_cast<TPswdEnterForm &>(*pswd3Form()) : static_cast<TPswdEnterForm &>(*pswd2Form());
    const PasswordAnswer answer = AskPassword(dialog, m_password, message(19), m_show);
    if (deleteSources)
        *deleteSources = dialog.deleteSourcesTicked();
    return answer == PasswordAnswer::Accepted;
}

void TKorvelForm::ChangePswdClick()
{
    const std::optional<QString> fresh = ChangePassword(*pswdForm(), m_password, message(22), message(21), m_show);
    if (!fresh)
        return;
    m_password = *fresh;
    platform::storePassword(m_password); // a failed write is not reported
}

QString TKorvelForm::helpDocumentPath() const
{
    const QString name = m_settings.language == LanguageRussian ? QStringLiteral("ReferenceRus.pdf")
                                                                : QStringLiteral("ReferenceEng.pdf");
    return platform::shippedFilePath(m_paths.programFolder, name);
}

void TKorvelForm::N4Click()
{
    const QString path = helpDocumentPath();
    if (!m_openDocument(path))
        m_show(MessageKind::Information,
               programText(ProgramText::ManualNotOpened, m_settings.language).arg(QDir::toNativeSeparators(path)));
}

void TKorvelForm::N6Click()
{
    QStringList models;
    for (const char *key : {"QS77", "QT77", "QS75", "QK75", "QK76"})
        models << mainText(QStringLiteral("CalibrationMainTableTitles/") + QLatin1String(key));
    TAboutBox *about = aboutBox();
    about->setModelsText(m_deviceDescription, models);
    if (const QScreen *screen = this->screen())
        about->move(screen->availableGeometry().center() - about->rect().center());
    about->exec();
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
    const WindowLayout &w = m_settings.layout;
    move(w.left, w.top);
    resize(std::max(w.width, minimumWidth()), std::max(w.height, minimumHeight()));

    QList<int> upper = m_upperSplitter->sizes();
    const int upperTotal = std::max(upper.value(0) + upper.value(1), w.folderPanelWidth + 50);
    m_upperSplitter->setSizes({w.folderPanelWidth, upperTotal - w.folderPanelWidth});
    QList<int> main = m_mainSplitter->sizes();
    const int mainTotal = std::max(main.value(0) + main.value(1), w.upperAreaHeight + 50);
    m_mainSplitter->setSizes({w.upperAreaHeight, mainTotal - w.upperAreaHeight});
    QList<int> lists = m_listsSplitter->sizes();
    const int listsTotal = std::max(lists.value(0) + lists.value(1), w.meterListHeight + 50);
    m_listsSplitter->setSizes({w.meterListHeight, listsTotal - w.meterListHeight});
}

void TKorvelForm::captureWindowLayout()
{
    WindowLayout &w = m_settings.layout;
    const QRect normal = isMaximized() || isFullScreen() ? normalGeometry() : QRect(pos(), size());
    w.left = std::max(0, normal.x());
    w.top = std::max(0, normal.y());
    w.width = normal.width();
    w.height = normal.height();
    w.folderPanelWidth = m_upperSplitter->sizes().value(0);
    w.upperAreaHeight = m_mainSplitter->sizes().value(0);
    w.meterListHeight = m_listsSplitter->sizes().value(0);
}

void TKorvelForm::FormClose()
{
    if (m_settingsSaved)
        return;
    m_settingsSaved = true;
    m_store->ClearMeters();
    captureWindowLayout();
    saveSettingsFile(m_paths.configPath, m_settings); // a failed write is ignored
}

void TKorvelForm::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

#include "records/ui/recordoperations.h"

#include "records/meterfile.h"
#include "records/recordstore.h"
#include "records/ui/meterdialogs.h"
#include "base/appstate.h"
#include "base/stringdocument.h"
#include "base/ui/glyphicon.h"
#include "mainwindow/korvelform.h"
#include "views/commandstate.h"
#include "views/ui/recordlistviews.h"
#include "views/ui/recordviews.h"
#include "views/ui/resultgrid.h"
#include "views/ui/tvparam.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton *smallButton(QWidget *parent, const char *name, GlyphKind glyph)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(glyphIcon(glyph));
    button->setIconSize(QSize(16, 16));
    button->setAutoRaise(true);
    button->setEnabled(false);
    return button;
}

} // namespace

RecordOperations::RecordOperations(TKorvelForm &window)
    : QObject(&window)
    , m_window(window)
    , m_store(window.store())
    , m_views(*window.views())
{
    setObjectName(QStringLiteral("RecordOperations"));
    m_infoForm = new TInfoForm(&m_window);
    m_infoForm->setMessageFn([this](MessageKind kind, const QString &text) { m_window.showMessage(kind, text); });
    m_postForm = new TPostForm(&m_window);
    buildElementBar();
    buildContextMenus();

    const QList<QPair<QString, void (RecordOperations::*)()>> commands = {
        {QStringLiteral("CopyButton"), &RecordOperations::CopyButtonClick},
        {QStringLiteral("CutButton"), &RecordOperations::CutButtonClick},
        {QStringLiteral("PasteButton"), &RecordOperations::PasteButtonClick},
        {QStringLiteral("DelButton"), &RecordOperations::DelButtonClick},
        {QStringLiteral("ConnectAction"), &RecordOperations::ConnectActionExecute},
    };
    for (const auto &[name, handler] : commands) {
        if (QAction *action = m_window.action(name)) {
            connect(action, &QAction::triggered, this, handler);
            m_window.markCommandImplemented(name);
        }
    }

    m_views.SetMergeCheck([this](int meterIndex) { return mergeFits(meterIndex); });
    m_views.SetElementPasteCheck(
        [this](int meterIndex, int verificationIndex) { return elementPasteFits(meterIndex, verificationIndex); });
    connect(&m_views, &RecordViews::commandsChanged, this, &RecordOperations::applyCommands);
    applyCommands(m_views.Commands());

    m_window.registerSectionApplier(QStringLiteral("MeterParsForm"),
                                    [this](const SectionTexts &texts) { m_infoForm->applyStrings(texts); });
    m_window.registerSectionApplier(QStringLiteral("ConstForm"),
                                    [this](const SectionTexts &texts) { m_postForm->applyStrings(texts); });
    connect(&m_window, &TKorvelForm::stringsApplied, this, &RecordOperations::applyTexts);
    applyTexts();
}

// --- Construction -----------------------------------------------------------------

void RecordOperations::buildElementBar()
{
    // The power list moves into a panel with the three small buttons above it,
    // in the place the list had in the lists splitter.
    QWidget *powerList = m_views.powerList();
    auto *panel = new QWidget;
    panel->setObjectName(QStringLiteral("PowerPanel"));
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);

    m_elementBar = new QWidget(panel);
    m_elementBar->setObjectName(QStringLiteral("ElementButtons"));
    auto *buttons = new QHBoxLayout(m_elementBar);
    buttons->setContentsMargins(2, 0, 2, 0);
    buttons->setSpacing(2);
    m_copyElem = smallButton(m_elementBar, "CopyElemButton", GlyphKind::Copy);
    m_pasteElem = smallButton(m_elementBar, "PasteElemButton", GlyphKind::Paste);
    m_delElem = smallButton(m_elementBar, "DelElemButton", GlyphKind::Delete);
    buttons->addWidget(m_copyElem);
    buttons->addWidget(m_pasteElem);
    buttons->addWidget(m_delElem);
    buttons->addStretch(1);
    connect(m_copyElem, &QToolButton::clicked, this, &RecordOperations::CopyElemButtonClick);
    connect(m_pasteElem, &QToolButton::clicked, this, &RecordOperations::PasteElemButtonClick);
    connect(m_delElem, &QToolButton::clicked, this, &RecordOperations::DelElemButtonClick);
    layout->addWidget(m_elementBar);

    QSplitter *splitter = m_window.listsSplitter();
    const int at = splitter ? splitter->indexOf(powerList) : -1;
    if (at >= 0) {
        splitter->replaceWidget(at, panel);
        layout->addWidget(powerList, 1);
        powerList->show();
        panel->setMinimumHeight(powerList->minimumHeight() + m_elementBar->sizeHint().height());
    } else {
        panel->setParent(&m_window);
        panel->hide();
    }
}

void RecordOperations::buildContextMenus()
{
    m_meterMenu = new QMenu(&m_window);
    m_meterMenu->setObjectName(QStringLiteral("MainContextMenu"));
    m_n7 = m_meterMenu->addAction(QStringLiteral("Изменить"));
    m_n7->setObjectName(QStringLiteral("N7"));
    connect(m_n7, &QAction::triggered, this, &RecordOperations::N7Click);

    m_powerMenu = new QMenu(&m_window);
    m_powerMenu->setObjectName(QStringLiteral("SecondContextMenu"));
    m_n9 = m_powerMenu->addAction(QStringLiteral("Изменить постоянную"));
    m_n9->setObjectName(QStringLiteral("N9"));
    connect(m_n9, &QAction::triggered, this, &RecordOperations::N9Click);

    connect(&m_views, &RecordViews::meterContextMenuRequested, this, [this](const QPoint &pos) {
        m_n7->setEnabled(m_views.Commands().changeMeter && m_views.SelectedMeterRow() >= 0);
        m_meterMenu->popup(pos);
    });
    connect(&m_views, &RecordViews::powerContextMenuRequested, this, [this](const QPoint &pos) {
        m_n9->setEnabled(m_views.Commands().changeConstant && m_views.SelectedPowerRow() >= 0);
        m_powerMenu->popup(pos);
    });
}

void RecordOperations::applyTexts()
{
    if (const QString text = m_window.mainText(QStringLiteral("MainContextMenu/ChangeMeterPars")); !text.isEmpty())
        m_n7->setText(text);
    if (const QString text = m_window.mainText(QStringLiteral("SecondContextMenu/ChangeMeterConst")); !text.isEmpty())
        m_n9->setText(text);
    // The string file has no texts for these refusals; they follow the language.
    if (m_window.Language() == LanguageRussian)
        m_infoForm->setRefusalTexts(QStringLiteral("Наименование содержит символы, которые нельзя сохранить: %1"),
                                    QStringLiteral("Заводской номер содержит символы, которые нельзя сохранить: %1"));
    else
        m_infoForm->setRefusalTexts(QStringLiteral("The name contains characters that cannot be stored: %1"),
                                    QStringLiteral("The serial number contains characters that cannot be stored: %1"));
}

void RecordOperations::applyCommands(const RecordCommands &commands)
{
    m_copyElem->setEnabled(commands.elementCopy);
    m_pasteElem->setEnabled(commands.elementPaste);
    m_delElem->setEnabled(commands.elementDelete);
    m_n7->setEnabled(commands.changeMeter);
    m_n9->setEnabled(commands.changeConstant);
}

// --- Helpers ------------------------------------------------------------------------

const pcn::_totalblockdata *RecordOperations::selectedMeter() const
{
    const int index = m_views.SelectedMeterIndex();
    if (index < 0 || index >= m_store.meters().size())
        return nullptr;
    return &m_store.meters().at(index);
}

QString RecordOperations::meterPath(int meterIndex) const
{
    if (meterIndex < 0 || meterIndex >= m_store.meters().size())
        return {};
    return m_store.currentFilePath(m_store.meters().at(meterIndex).fileName);
}

int RecordOperations::meterIndexOfPath(const QString &path) const
{
    for (int i = 0; i < m_store.meters().size(); ++i)
        if (meterPath(i) == path)
            return i;
    return -1;
}

bool RecordOperations::markBelongsTo(int meterIndex) const
{
    if (!m_mark.set || meterPath(meterIndex) != m_mark.filePath)
        return false;
    const pcn::_totalblockdata &meter = m_store.meters().at(meterIndex);
    if (m_mark.verification < 0 || m_mark.verification >= meter.verifications.size())
        return false;
    const pcn::_blockdata &v = meter.verifications.at(m_mark.verification);
    return v.date == m_mark.date && v.time == m_mark.time && v.powerType == m_mark.powerType;
}

bool RecordOperations::elementPasteFits(int meterIndex, int verificationIndex) const
{
    return markBelongsTo(meterIndex) && verificationIndex != m_mark.verification
           && IsElementCompatible(m_store.meters().at(meterIndex), m_mark.verification, verificationIndex);
}

bool RecordOperations::mergeFits(int meterIndex)
{
    if (!m_clipboard.valid)
        return false;
    const QString target = meterPath(meterIndex);
    if (target.isEmpty())
        return false;
    m_mergePair = MergePair();
    return IsMergeable(m_clipboard.path, target, m_window.recordLabels(), &m_mergePair);
}

bool RecordOperations::storeMeter(int meterIndex, const pcn::_totalblockdata &meter)
{
    if (!WriteMeterFile(meterPath(meterIndex), meter)) {
        reportWriteFailure();
        return false;
    }
    m_store.ReplaceMeter(meterIndex, meter);
    return true;
}

void RecordOperations::reportWriteFailure() const
{
    m_window.showMessage(MessageKind::Error, m_window.message(36));
}

// --- Meter commands ---------------------------------------------------------------------

void RecordOperations::CopyButtonClick()
{
    const int index = m_views.SelectedMeterIndex();
    if (!selectedMeter())
        return;
    m_clipboard = {true, meterPath(index), m_views.SelectedMeterRow(), false};
    m_views.NotifyMeterCopied();
}

void RecordOperations::CutButtonClick()
{
    const int index = m_views.SelectedMeterIndex();
    if (!selectedMeter())
        return;
    m_clipboard = {true, meterPath(index), m_views.SelectedMeterRow(), true};
    m_views.NotifyMeterCut();
}

void RecordOperations::PasteButtonClick()
{
    if (!m_clipboard.valid)
        return;
    const QString destination = PasteDestination(m_clipboard.path, m_store.currentFolder());
    // Failures are not reported: the rescan shows what is on disk.
    if (m_clipboard.cut) {
        MoveMeterFile(m_clipboard.path, destination);
        // The cut file has left its place: there is nothing more to paste.
        m_clipboard = MeterClipboard();
        m_views.NotifyPastedAfterCut();
        m_views.NotifyClipboardFileDeleted();
    } else {
        CopyMeterFile(m_clipboard.path, destination);
    }
    m_window.RedisplayCurrentFolder();
}

void RecordOperations::DelButtonClick()
{
    const int index = m_views.SelectedMeterIndex();
    if (!selectedMeter() || !m_window.askPassword())
        return;
    const QString path = meterPath(index);
    if (!DeleteMeterFile(path))
        return;
    m_store.RemoveMeter(index);
    if (m_clipboard.valid && m_clipboard.path == path) {
        m_clipboard = MeterClipboard();
        m_views.NotifyClipboardFileDeleted();
    }
    if (m_mark.set && m_mark.filePath == path)
        m_mark = ElementMark();
    m_views.MeterRemoved(index);
}

void RecordOperations::ConnectActionExecute()
{
    const int targetIndex = m_views.SelectedMeterIndex();
    if (!m_clipboard.valid || !selectedMeter())
        return;
    if (TPswd3Form *dialog = m_window.pswd3Form(); dialog && dialog->DelCheckBox)
        dialog->DelCheckBox->setChecked(false);
    bool deleteSource = false;
    if (!m_window.askPassword(true, &deleteSource))
        return;

    const QString sourcePath = m_clipboard.path;
    const QString targetPath = meterPath(targetIndex);
    // Both files are read again: the merge joins what is on disk now.
    const MergeOutcome outcome = MergeMeterFiles(sourcePath, targetPath, m_window.recordLabels(), deleteSource);
    if (outcome.result == MergeResult::NotMergeable) {
        m_views.NotifyMerged();
        return;
    }
    if (outcome.result == MergeResult::WriteFailed) {
        reportWriteFailure();
        return;
    }
    m_store.ReplaceMeter(targetIndex, outcome.merged);
    if (outcome.sourceDeleted) {
        m_clipboard = MeterClipboard();
        m_views.NotifyClipboardFileDeleted();
        if (m_mark.set && m_mark.filePath == sourcePath)
            m_mark = ElementMark();
        const int sourceIndex = meterIndexOfPath(sourcePath);
        if (sourceIndex >= 0) {
            m_store.RemoveMeter(sourceIndex);
            m_views.MeterRemoved(sourceIndex);
        }
    }
    m_views.ReselectMeter();
    m_views.NotifyMerged();
    if (!m_store.meters().isEmpty())
        m_views.ResortMeters();
}

// --- Element commands ------------------------------------------------------------------

void RecordOperations::CopyElemButtonClick()
{
    const pcn::_totalblockdata *meter = selectedMeter();
    const int verification = m_views.SelectedVerificationIndex();
    if (!meter || verification < 0 || verification >= meter->verifications.size())
        return;
    const pcn::_blockdata &v = meter->verifications.at(verification);
    m_mark = {true, meterPath(m_views.SelectedMeterIndex()), verification, m_views.SelectedPowerRow(),
              v.date, v.time, v.powerType};
}

void RecordOperations::PasteElemButtonClick()
{
    const int meterIndex = m_views.SelectedMeterIndex();
    const int target = m_views.SelectedVerificationIndex();
    if (!elementPasteFits(meterIndex, target) || !m_window.askPassword())
        return;
    const std::optional<pcn::_totalblockdata> changed =
        PasteElement(m_store.meters().at(meterIndex), target, m_mark.verification);
    if (!changed)
        return;
    const int previousRow = m_views.SelectedPowerRow();
    const int markedRow = m_views.PowerRowOf(m_mark.verification);
    if (!storeMeter(meterIndex, *changed))
        return;
    m_mark = ElementMark();
    m_views.RefreshAfterElementOperation(previousRow, markedRow);
}

void RecordOperations::DelElemButtonClick()
{
    const pcn::_totalblockdata *meter = selectedMeter();
    const int meterIndex = m_views.SelectedMeterIndex();
    const int verification = m_views.SelectedVerificationIndex();
    if (!meter || verification < 0 || !m_window.askPassword())
        return;
    const std::optional<pcn::_totalblockdata> changed = DeleteElement(*meter, verification);
    if (!changed)
        return;
    const int previousRow = m_views.SelectedPowerRow();
    if (!storeMeter(meterIndex, *changed))
        return;
    m_mark = ElementMark();
    m_views.RefreshAfterElementOperation(previousRow, -1);
}

// --- Editing ------------------------------------------------------------------------------

void RecordOperations::N7Click()
{
    const int meterIndex = m_views.SelectedMeterIndex();
    if (!selectedMeter() || !m_window.askPassword())
        return;
    const pcn::_totalblockdata meter = m_store.meters().at(meterIndex);
    const std::optional<MeterParameters> edited = m_infoForm->Execute(MeterParametersOf(meter));
    if (!edited)
        return;
    const std::optional<pcn::_totalblockdata> changed = EditMeterParameters(meter, *edited);
    if (!changed)
        return;
    if (!WriteMeterFile(meterPath(meterIndex), *changed)) {
        reportWriteFailure();
        return;
    }
    m_window.RedisplayCurrentFolder();
}

void RecordOperations::N9Click()
{
    const int meterIndex = m_views.SelectedMeterIndex();
    const int verification = m_views.SelectedVerificationIndex();
    const pcn::_totalblockdata *meter = selectedMeter();
    if (!meter || verification < 0 || verification >= meter->verifications.size() || !m_window.askPassword())
        return;
    const std::optional<std::uint32_t> constant = m_postForm->Execute(meter->verifications.at(verification).constant);
    if (!constant)
        return;
    const std::optional<pcn::_totalblockdata> changed = EditConstant(*meter, verification, *constant);
    if (!changed || !storeMeter(meterIndex, *changed))
        return;
    m_views.ReselectMeter();
}

#include "views/ui/recordoperations.h"

#include "records/meterfile.h"
#include "records/recordstore.h"
#include "records/ui/meterdialogs.h"
#include "base/appstate.h"
#include "base/stringcatalog.h"
#include "base/stringdocument.h"
#include "base/ui/appservices.h"
#include "base/ui/glyphicon.h"
#include "views/commandstate.h"
#include "views/ui/recordviews.h"

#include <QAction>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>
#include <QToolButton>

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

RecordOperations::RecordOperations(AppServices &services, RecordStore &store, RecordViews &views, QObject *parent)
    : QObject(parent), m_services(services), m_store(store), m_views(views)
{
    setObjectName(QStringLiteral("RecordOperations"));
    QWidget *window = m_services.window();
    m_infoForm = new TInfoForm(window);
    m_infoForm->setMessageFn([this](MessageKind kind, const QString &text) { m_services.showMessage(kind, text); });
    m_postForm = new TPostForm(window);
    buildElementBar(window);
    buildContextMenus();

    m_views.SetMergeCheck([this](int meterIndex) { return mergeFits(meterIndex); });
    m_views.SetElementPasteCheck(
        [this](int meterIndex, int verificationIndex) { return elementPasteFits(meterIndex, verificationIndex); });
    connect(&m_views, &RecordViews::commandsChanged, this, &RecordOperations::applyCommands);
    applyCommands(m_views.Commands());
    connect(&m_store, &RecordStore::folderRenamed, this, &RecordOperations::followRename);

    connect(&m_services.texts(), &TextCatalogue::sectionApplied, this,
            [this](const QString &section, const SectionTexts &texts) {
                if (section == QLatin1String("MeterParsForm"))
                    m_infoForm->applyStrings(texts);
                else if (section == QLatin1String("ConstForm"))
                    m_postForm->applyStrings(texts);
            });
    connect(&m_services.texts(), &TextCatalogue::textsApplied, this, &RecordOperations::applyTexts);
    applyTexts();
}

// --- Construction -----------------------------------------------------------------

void RecordOperations::buildElementBar(QWidget *parent)
{
    m_elementBar = new QWidget(parent);
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
}

void RecordOperations::buildContextMenus()
{
    m_meterMenu = new QMenu(m_services.window());
    m_meterMenu->setObjectName(QStringLiteral("MainContextMenu"));
    m_n7 = m_meterMenu->addAction(QStringLiteral("Изменить"));
    m_n7->setObjectName(QStringLiteral("N7"));
    connect(m_n7, &QAction::triggered, this, &RecordOperations::N7Click);

    m_powerMenu = new QMenu(m_services.window());
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
    if (const QString text = m_services.mainText(QStringLiteral("MainContextMenu/ChangeMeterPars")); !text.isEmpty())
        m_n7->setText(text);
    if (const QString text = m_services.mainText(QStringLiteral("SecondContextMenu/ChangeMeterConst")); !text.isEmpty())
        m_n9->setText(text);
    // The string file has no texts for these refusals.
    const TextCatalogue &texts = m_services.texts();
    m_infoForm->setRefusalTexts(texts.programText(ProgramText::NameRefused),
                                texts.programText(ProgramText::SerialRefused));
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

const ListedMeter *RecordOperations::selectedMeter() const
{
    const int index = m_views.SelectedMeterIndex();
    if (index < 0 || index >= m_store.meters().size())
        return nullptr;
    return &m_store.meters().at(index);
}

const pcn::_totalblockdata *RecordOperations::shownMeter(int meterIndex) const
{
    return meterIndex >= 0 && meterIndex == m_views.SelectedMeterIndex() ? m_views.selectedMeter() : nullptr;
}

// The meter with its points, for a command that rewrites its file; a file
// changed since it was listed is found by the guarded write and the user
// told, one that cannot be read now is told the same way.
std::optional<pcn::_totalblockdata> RecordOperations::meterWithPoints(int meterIndex)
{
    std::optional<pcn::_totalblockdata> meter = m_store.meterToChange(meterIndex);
    if (!meter)
        reportChangedMeanwhile();
    return meter;
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
    // The mark was set on a verification the power list showed.
    const pcn::_totalblockdata *meter = shownMeter(meterIndex);
    if (!meter || m_mark.verification < 0 || m_mark.verification >= meter->verifications.size())
        return false;
    const pcn::_blockdata &v = meter->verifications.at(m_mark.verification);
    return v.date == m_mark.date && v.time == m_mark.time && v.powerType == m_mark.powerType;
}

bool RecordOperations::elementPasteFits(int meterIndex, int verificationIndex) const
{
    return markBelongsTo(meterIndex) && verificationIndex != m_mark.verification
           && IsElementCompatible(*shownMeter(meterIndex), m_mark.verification, verificationIndex);
}

bool RecordOperations::mergeFits(int meterIndex)
{
    if (!m_clipboard.valid)
        return false;
    const QString target = meterPath(meterIndex);
    if (target.isEmpty())
        return false;
    return IsMergeable(m_clipboard.path, target);
}

bool RecordOperations::storeMeter(int meterIndex, const pcn::_totalblockdata &meter, int removedVerification)
{
    pcn::_totalblockdata written = meter;
    if (!reported(RewriteMeterFile(meterPath(meterIndex), written)))
        return false;
    m_store.ReplaceMeter(meterIndex, written, removedVerification);
    return true;
}

void RecordOperations::reportWriteFailure() const
{
    m_services.showMessage(MessageKind::Error, m_services.message(36));
}

void RecordOperations::reportChangedMeanwhile()
{
    m_store.RefreshFromDisk();
    m_services.showMessage(MessageKind::Warning,
                           m_services.texts().programText(ProgramText::ChangedOnAnotherWorkstation));
}

bool RecordOperations::reported(const GuardedWrite &outcome)
{
    if (outcome.changedMeanwhile())
        reportChangedMeanwhile();
    else if (!outcome)
        reportWriteFailure();
    return bool(outcome);
}

void RecordOperations::setClipboard(const MeterClipboard &clipboard)
{
    m_clipboard = clipboard;
    m_views.SetClipboardFilled(m_clipboard.valid);
}

void RecordOperations::followRename(const QString &oldPath, const QString &newPath)
{
    // The copied meter and the marked verification are known by their
    // paths; a renamed folder above them takes the paths along.
    const auto moved = [&](QString &path) {
        if (path.startsWith(oldPath + QLatin1Char('/')))
            path = newPath + path.mid(oldPath.size());
    };
    if (m_clipboard.valid)
        moved(m_clipboard.path);
    if (m_mark.set)
        moved(m_mark.filePath);
}

// --- Meter commands ---------------------------------------------------------------------

void RecordOperations::CopyButtonClick()
{
    const int index = m_views.SelectedMeterIndex();
    if (!selectedMeter())
        return;
    setClipboard({true, meterPath(index), m_views.SelectedMeterRow(), false, selectedMeter()->identity});
}

void RecordOperations::CutButtonClick()
{
    const int index = m_views.SelectedMeterIndex();
    if (!selectedMeter())
        return;
    setClipboard({true, meterPath(index), m_views.SelectedMeterRow(), true, selectedMeter()->identity});
}

void RecordOperations::PasteButtonClick()
{
    if (!m_clipboard.valid)
        return;
    const QString destination = PasteDestination(m_clipboard.path, m_store.currentFolder());
    // Failures are not reported: the rescan shows what is on disk. A file
    // another workstation changed meanwhile is, since the user would not
    // see that the command did nothing.
    GuardedWrite outcome;
    if (m_clipboard.cut) {
        outcome = MoveMeterFile(m_clipboard.path, destination, m_clipboard.identity);
        // The cut file has left its place (or is no longer the one cut):
        // there is nothing more to paste.
        setClipboard(MeterClipboard());
    } else {
        outcome =
            CopyMeterFile(m_clipboard.path, destination, m_store.listedIdentity(QFileInfo(destination).fileName()));
    }
    if (outcome.changedMeanwhile())
        reportChangedMeanwhile();
    else
        m_store.Rescan();
}

void RecordOperations::DelButtonClick()
{
    const int index = m_views.SelectedMeterIndex();
    const RecordStore::RefreshHold hold(m_store);
    if (!selectedMeter() || !m_services.passwordAccepted())
        return;
    const QString path = meterPath(index);
    if (const GuardedWrite outcome = DeleteMeterFile(path, selectedMeter()->identity); !outcome) {
        if (outcome.changedMeanwhile())
            reportChangedMeanwhile();
        return;
    }
    if (m_clipboard.valid && m_clipboard.path == path)
        setClipboard(MeterClipboard());
    if (m_mark.set && m_mark.filePath == path)
        m_mark = ElementMark();
    m_store.RemoveMeter(index);
}

void RecordOperations::ConnectActionExecute()
{
    const int targetIndex = m_views.SelectedMeterIndex();
    const RecordStore::RefreshHold hold(m_store);
    if (!m_clipboard.valid || !selectedMeter())
        return;
    bool deleteSource = false;
    if (!m_services.passwordAccepted(true, &deleteSource))
        return;

    const QString sourcePath = m_clipboard.path;
    const QString targetPath = meterPath(targetIndex);
    // Both files are read again: the merge joins what is on disk now.
    const MergeOutcome outcome =
        MergeMeterFiles(sourcePath, targetPath, deleteSource, m_clipboard.identity, selectedMeter()->identity);
    if (outcome.result == MergeResult::WriteFailed) {
        reportWriteFailure();
        return;
    }
    if (outcome.result == MergeResult::ChangedMeanwhile) {
        // The copied file is no longer the one copied: copy it again.
        setClipboard(MeterClipboard());
        reportChangedMeanwhile();
        return;
    }
    // After a merge, or a refusal, merging again needs a new press.
    if (outcome.sourceDeleted) {
        setClipboard(MeterClipboard());
        if (m_mark.set && m_mark.filePath == sourcePath)
            m_mark = ElementMark();
    } else {
        setClipboard(m_clipboard);
    }
    if (outcome.result == MergeResult::NotMergeable)
        return;
    m_store.ReplaceMeter(targetIndex, outcome.merged);
    if (outcome.sourceDeleted)
        m_store.RemoveMeter(meterIndexOfPath(sourcePath));
    if (outcome.sourceChanged) {
        // The target holds the verifications as copied; the source changed
        // meanwhile and was kept.
        setClipboard(MeterClipboard());
        reportChangedMeanwhile();
    }
}

// --- Element commands ------------------------------------------------------------------

void RecordOperations::CopyElemButtonClick()
{
    const pcn::_totalblockdata *meter = shownMeter(m_views.SelectedMeterIndex());
    const int verification = m_views.SelectedVerificationIndex();
    if (!meter || verification < 0 || verification >= meter->verifications.size())
        return;
    const pcn::_blockdata &v = meter->verifications.at(verification);
    m_mark = {
        true,       meterPath(m_views.SelectedMeterIndex()), verification, m_views.SelectedPowerRow(), v.date, v.time,
        v.powerType};
}

void RecordOperations::PasteElemButtonClick()
{
    const int meterIndex = m_views.SelectedMeterIndex();
    const int target = m_views.SelectedVerificationIndex();
    const RecordStore::RefreshHold hold(m_store);
    if (!elementPasteFits(meterIndex, target) || !m_services.passwordAccepted())
        return;
    const std::optional<pcn::_totalblockdata> meter = meterWithPoints(meterIndex);
    if (!meter)
        return;
    const std::optional<pcn::_totalblockdata> changed = PasteElement(*meter, target, m_mark.verification);
    if (!changed)
        return;
    // The mark is used up before the views show the new content, so that
    // they no longer offer it; a failed write keeps it.
    const ElementMark mark = std::exchange(m_mark, ElementMark());
    if (!storeMeter(meterIndex, *changed, mark.verification))
        m_mark = mark;
}

void RecordOperations::DelElemButtonClick()
{
    const ListedMeter *meter = selectedMeter();
    const int meterIndex = m_views.SelectedMeterIndex();
    const int verification = m_views.SelectedVerificationIndex();
    const RecordStore::RefreshHold hold(m_store);
    if (!meter || verification < 0 || !m_services.passwordAccepted())
        return;
    const std::optional<pcn::_totalblockdata> loaded = meterWithPoints(meterIndex);
    if (!loaded)
        return;
    const std::optional<pcn::_totalblockdata> changed = DeleteElement(*loaded, verification);
    if (!changed)
        return;
    const ElementMark mark = std::exchange(m_mark, ElementMark());
    if (!storeMeter(meterIndex, *changed, verification))
        m_mark = mark;
}

// --- Editing ------------------------------------------------------------------------------

void RecordOperations::N7Click()
{
    const int meterIndex = m_views.SelectedMeterIndex();
    const RecordStore::RefreshHold hold(m_store);
    if (!selectedMeter() || !m_services.passwordAccepted())
        return;
    const std::optional<pcn::_totalblockdata> meter = meterWithPoints(meterIndex);
    if (!meter)
        return;
    const std::optional<MeterParameters> edited = m_infoForm->Execute(MeterParametersOf(*meter));
    if (!edited)
        return;
    std::optional<pcn::_totalblockdata> changed = EditMeterParameters(*meter, *edited);
    if (!changed)
        return;
    if (!reported(RewriteMeterFile(meterPath(meterIndex), *changed)))
        return;
    m_store.Rescan();
}

void RecordOperations::N9Click()
{
    const int meterIndex = m_views.SelectedMeterIndex();
    const int verification = m_views.SelectedVerificationIndex();
    const pcn::_totalblockdata *meter = shownMeter(meterIndex);
    const RecordStore::RefreshHold hold(m_store);
    if (!meter || verification < 0 || verification >= meter->verifications.size() || !m_services.passwordAccepted())
        return;
    const std::optional<std::uint32_t> constant = m_postForm->Execute(meter->verifications.at(verification).constant);
    if (!constant)
        return;
    const std::optional<pcn::_totalblockdata> loaded = meterWithPoints(meterIndex);
    if (!loaded)
        return;
    const std::optional<pcn::_totalblockdata> changed = EditConstant(*loaded, verification, *constant);
    if (changed)
        storeMeter(meterIndex, *changed);
}

// --- Merging every file of a meter ------------------------------------------------------------

namespace {

QString mergeAllReport(const MergeAllOutcome &outcome, const QString &targetPath, const TextCatalogue &texts)
{
    const auto name = [](const QString &path) { return QFileInfo(path).fileName(); };
    QStringList lines;
    if (outcome.result == MergeResult::Merged)
        lines << texts.programText(ProgramText::MergeAllDone).arg(outcome.mergedPaths.size()).arg(name(targetPath));
    else
        lines << texts.programText(ProgramText::MergeAllNothing).arg(name(targetPath));
    for (const QString &path : outcome.notMergeable)
        lines << texts.programText(ProgramText::MergeAllNotMergeable).arg(name(path));
    for (const QString &path : outcome.unreadable)
        lines << texts.programText(ProgramText::MergeAllUnreadable).arg(name(path));
    return lines.join(QLatin1Char('\n'));
}

} // namespace

void RecordOperations::MergeAllClick()
{
    const int targetIndex = m_views.SelectedMeterIndex();
    if (!selectedMeter())
        return;
    bool deleteSources = false;
    if (!m_services.passwordAccepted(true, &deleteSources))
        return;
    const QString targetPath = meterPath(targetIndex);
    QStringList candidates;
    for (int i = 0; i < m_store.meters().size(); ++i)
        candidates << meterPath(i);
    // The files are read again: the merge joins what is on disk now.
    const MergeAllOutcome outcome = MergeAllMeterFiles(targetPath, candidates, deleteSources);
    if (outcome.result == MergeResult::WriteFailed) {
        reportWriteFailure();
        return;
    }
    if (outcome.result == MergeResult::ChangedMeanwhile) {
        reportChangedMeanwhile();
        return;
    }
    for (const QString &path : outcome.deletedPaths) {
        if (m_clipboard.valid && m_clipboard.path == path)
            setClipboard(MeterClipboard());
        if (m_mark.set && m_mark.filePath == path)
            m_mark = ElementMark();
    }
    if (outcome.result == MergeResult::Merged)
        m_store.Rescan();
    m_services.showMessage(MessageKind::Information, mergeAllReport(outcome, targetPath, m_services.texts()));
}

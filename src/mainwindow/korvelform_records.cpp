// Wiring of the record operations into the main window.
#include "korvelform.h"

#include "base/programtexts.h"
#include "base/ui/appservices.h"
#include "records/ui/recordoperations.h"
#include "views/commandstate.h"
#include "views/ui/recordlistviews.h"
#include "views/ui/recordviews.h"

#include <QMenu>
#include <QVBoxLayout>

void TKorvelForm::wireRecordCommands()
{
    // The controller is a child of the window and lives as long as it does.
    auto *operations = new RecordOperations(*m_services, *m_store, *m_views, this);
    const QList<QPair<QString, void (RecordOperations::*)()>> commands = {
        {QStringLiteral("CopyButton"), &RecordOperations::CopyButtonClick},
        {QStringLiteral("CutButton"), &RecordOperations::CutButtonClick},
        {QStringLiteral("PasteButton"), &RecordOperations::PasteButtonClick},
        {QStringLiteral("DelButton"), &RecordOperations::DelButtonClick},
        {QStringLiteral("ConnectAction"), &RecordOperations::ConnectActionExecute},
    };
    for (const auto &[name, handler] : commands) {
        connect(m_actions.value(name), &QAction::triggered, operations, handler);
        markCommandImplemented(name);
    }

    // "Merge all files of this meter" below "Change" in the meter list's
    // context menu, offered when "Change" is: a meter selected, no device run.
    QMenu *meterMenu = operations->meterContextMenu();
    QAction *mergeAll = meterMenu->addAction(QString());
    mergeAll->setObjectName(QStringLiteral("MergeAllAction"));
    connect(mergeAll, &QAction::triggered, operations, &RecordOperations::MergeAllClick);
    connect(meterMenu, &QMenu::aboutToShow, mergeAll, [this, mergeAll] {
        mergeAll->setEnabled(m_views->Commands().changeMeter && m_views->SelectedMeterRow() >= 0);
    });
    const auto mergeAllText = [this, mergeAll] {
        mergeAll->setText(programText(ProgramText::MergeAllCommand, m_services->language()));
    };
    connect(m_services, &AppServices::textsApplied, mergeAll, mergeAllText);
    mergeAllText();

    // The power list moves into a panel with the element buttons above it,
    // in the place the list had in the lists splitter.
    QWidget *powerList = m_views->powerList();
    auto *panel = new QWidget;
    panel->setObjectName(QStringLiteral("PowerPanel"));
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    QWidget *elementBar = operations->elementBar();
    layout->addWidget(elementBar);
    m_listsSplitter->replaceWidget(m_listsSplitter->indexOf(powerList), panel);
    layout->addWidget(powerList, 1);
    powerList->show();
    panel->setMinimumHeight(powerList->minimumHeight() + elementBar->sizeHint().height());
}

// Wiring of the record operations into the main window.
#include "korvelform.h"

#include "base/ui/appservices.h"
#include "views/ui/recordoperations.h"
#include "views/commandstate.h"
#include "views/ui/recordlistviews.h"
#include "views/ui/recordviews.h"

#include <QMenu>
#include <QVBoxLayout>

void TKorvelForm::wireRecordCommands()
{
    // The controller is a child of the window and lives as long as it does.
    auto *operations = new RecordOperations(*m_services, *m_store, *m_views, this);
    const std::pair<Command, void (RecordOperations::*)()> commands[] = {
        {Command::Copy, &RecordOperations::CopyButtonClick},       {Command::Cut, &RecordOperations::CutButtonClick},
        {Command::Paste, &RecordOperations::PasteButtonClick},     {Command::Delete, &RecordOperations::DelButtonClick},
        {Command::Merge, &RecordOperations::ConnectActionExecute},
    };
    for (const auto &[command, handler] : commands)
        connect(action(command), &QAction::triggered, operations, handler);

    // "Merge all files of this meter" below "Change" in the meter list's
    // context menu, offered when "Change" is: a meter selected, no device run.
    QMenu *meterMenu = operations->meterContextMenu();
    QAction *mergeAll = action(Command::MergeAll);
    meterMenu->addAction(mergeAll);
    connect(mergeAll, &QAction::triggered, operations, &RecordOperations::MergeAllClick);
    connect(meterMenu, &QMenu::aboutToShow, mergeAll, [this, mergeAll] {
        mergeAll->setEnabled(m_views->Commands().changeMeter && m_views->SelectedMeterRow() >= 0);
    });

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

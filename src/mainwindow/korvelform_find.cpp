// Wiring of the search for a meter below the data folder ("Find meter…",
// Ctrl+F, in the Utilities menu) into the main window.
#include "korvelform.h"

#include "base/programtexts.h"
#include "base/ui/appservices.h"
#include "records/recordstore.h"
#include "records/ui/findmeterdialog.h"
#include "records/ui/folderpanel.h"
#include "views/commandstate.h"
#include "views/ui/recordviews.h"

#include <QLineEdit>

void TKorvelForm::wireFindMeter()
{
    auto *find = new QAction(programText(ProgramText::FindMeterCommand, m_settings.language), this);
    find->setObjectName(QStringLiteral("FindMeterAction"));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    find->setShortcutContext(Qt::WindowShortcut);
    m_actions.insert(find->objectName(), find);
    if (QMenu *utilities = m_menus.value(QStringLiteral("MainMenu/Utilities")))
        utilities->addAction(find);
    else
        QWidget::addAction(find);

    auto *dialog = new FindMeterDialog(m_store->dataFolder(), this);
    connect(find, &QAction::triggered, dialog, [dialog] {
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
        // Ready for the next search: the serial field, its text selected.
        dialog->SerialEdit->setFocus();
        dialog->SerialEdit->selectAll();
    });
    connect(dialog, &FindMeterDialog::meterChosen, this, [this](const QString &folder, const QString &fileName) {
        // A folder made outside the program since the tree was built is
        // added by building the tree again.
        if (!m_folderPanel->selectFolder(folder)) {
            m_folderPanel->BuildFolderTree();
            if (!m_folderPanel->selectFolder(folder))
                return;
        }
        const auto &meters = m_store->meters();
        for (int i = 0; i < meters.size(); ++i) {
            if (meters.at(i).fileName == fileName) {
                m_views->SelectMeter(m_views->MeterRowOf(i));
                break;
            }
        }
    });
    connect(m_services, &AppServices::textsApplied, this, [this, find, dialog] {
        find->setText(programText(ProgramText::FindMeterCommand, m_settings.language));
        dialog->setLanguage(m_settings.language);
    });
    // Choosing a meter changes the selected folder: not while a device run
    // works.
    connect(m_views, &RecordViews::commandsChanged, dialog,
            [dialog](const RecordCommands &commands) { dialog->setEnabled(commands.idle); });
    bindCommand(find, &RecordCommands::idle);
}

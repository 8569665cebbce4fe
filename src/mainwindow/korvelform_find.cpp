// Wiring of the search for a meter below the data folder ("Find meter…",
// Ctrl+F, in the Utilities menu) into the main window.
#include "korvelform.h"

#include "base/ui/appservices.h"
#include "records/recordstore.h"
#include "records/ui/findmeterdialog.h"
#include "records/ui/folderpanel.h"
#include "views/commandstate.h"
#include "views/ui/recordviews.h"

#include <QLineEdit>
#include <QPointer>

#include <memory>

void TKorvelForm::wireFindMeter()
{
    QAction *find = action(Command::FindMeter);

    // The window is made on the first search, in the language and enabled
    // state of that moment, and then lives as long as the main window.
    auto dialog = std::make_shared<QPointer<FindMeterDialog>>();
    const auto makeDialog = [this, dialog] {
        *dialog = new FindMeterDialog(m_store->dataFolder(), this);
        FindMeterDialog *made = *dialog;
        if (m_strings) // the texts were applied: the window takes their language
            made->setLanguage(m_settings.language);
        made->setEnabled(m_views->Commands().idle);
        connect(made, &FindMeterDialog::meterChosen, this, [this](const QString &folder, const QString &fileName) {
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
    };
    connect(find, &QAction::triggered, this, [dialog, makeDialog] {
        if (!*dialog)
            makeDialog();
        FindMeterDialog *shown = *dialog;
        shown->show();
        shown->raise();
        shown->activateWindow();
        shown->focusSerial();
    });
    connect(m_services, &AppServices::textsApplied, this, [this, dialog] {
        if (*dialog)
            (*dialog)->setLanguage(m_settings.language);
    });
    // Choosing a meter changes the selected folder: not while a device run
    // works.
    connect(m_views, &RecordViews::commandsChanged, this, [dialog](const RecordCommands &commands) {
        if (*dialog)
            (*dialog)->setEnabled(commands.idle);
    });
}

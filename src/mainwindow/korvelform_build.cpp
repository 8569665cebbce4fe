// Construction of the main window's menus, tool bar, panels and status bar,
// and the texts they show.
#include "korvelform.h"

#include "base/textcatalogue.h"
#include "base/ui/appservices.h"
#include "base/ui/glyphicon.h"
#include "base/ui/helpcommands.h"
#include "base/ui/statusmessagetimer.h"
#include "records/ui/folderpanel.h"
#include "reports/ui/verdictdisplay.h"
#include "views/ui/foldercommands.h"
#include "views/ui/recordlistviews.h"
#include "views/ui/recordoperations.h"
#include "views/ui/recordviews.h"

#include <QActionGroup>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

constexpr int kMinimumPaneSize = 50;

// The language commands and the languages they choose.
constexpr std::pair<Command, int> kLanguageCommands[] = {{Command::RussianLanguage, LanguageRussian},
                                                         {Command::EnglishLanguage, LanguageEnglish}};

QSplitter *splitter(Qt::Orientation orientation, const char *name, QWidget *first, QWidget *second)
{
    auto *made = new QSplitter(orientation);
    made->setObjectName(QLatin1String(name));
    made->addWidget(first);
    made->addWidget(second);
    made->setChildrenCollapsible(false);
    made->setStretchFactor(1, 1);
    return made;
}

} // namespace

QMenu *TKorvelForm::commandMenu(const QString &path)
{
    // Menu object names are the paths of their captions in the string file;
    // a menu is made with the first command in it, below its parent menu.
    if (QMenu *made = m_menus.value(path))
        return made;
    const QString parentPath = path.section(QLatin1Char('/'), 0, -2);
    QMenu *menu = parentPath.contains(QLatin1Char('/')) ? commandMenu(parentPath)->addMenu(QString())
                                                        : menuBar()->addMenu(QString());
    menu->setObjectName(path);
    m_menus.insert(path, menu);
    return menu;
}

void TKorvelForm::buildCommands()
{
    QToolBar *toolBar = addToolBar(QStringLiteral("ToolBar1"));
    toolBar->setObjectName(QStringLiteral("ToolBar1"));
    toolBar->setMovable(false);
    toolBar->setIconSize(QSize(24, 24));
    for (const CommandRow &row : commandTable()) {
        auto *a = new QAction(this);
        a->setObjectName(QLatin1String(row.objectName));
        if (row.glyph)
            a->setIcon(glyphIcon(*row.glyph));
        if (row.shortcut) {
            a->setShortcut(QKeySequence(QLatin1String(row.shortcut), QKeySequence::PortableText));
            a->setShortcutContext(Qt::WindowShortcut);
        }
        if (row.menu) {
            QMenu *menu = commandMenu(QLatin1String(row.menu));
            if (row.separatorBefore)
                menu->addSeparator();
            menu->addAction(a);
        }
        if (row.toolBar == ToolBarPlace::ButtonAfterSeparator)
            toolBar->addSeparator();
        if (row.toolBar != ToolBarPlace::None)
            toolBar->addAction(a);
        m_commandActions[std::size_t(row.command)] = a;
        a->setEnabled(m_views->Commands().*row.rule);
    }

    // The window's own commands.
    connect(action(Command::Exit), &QAction::triggered, this, &QWidget::close);
    bind(Command::ChangePassword, m_services, &AppServices::changePassword);
    bind(Command::Help, m_help, &HelpCommands::ShowManual);
    bind(Command::About, m_help, &HelpCommands::ShowAbout);
    connect(action(Command::ViewParameters), &QAction::triggered, this, [this] { m_views->EditDisplayedColumns(0); });
    auto *languages = new QActionGroup(this);
    for (const auto &[command, language] : kLanguageCommands) {
        action(command)->setCheckable(true);
        languages->addAction(action(command));
        // Failures are not reported after start-up; the texts read stay applied.
        connect(action(command), &QAction::triggered, m_texts, [this, language] { m_texts->switchLanguage(language); });
    }
    checkLanguage(LanguageEnglish);
}

void TKorvelForm::checkLanguage(int language)
{
    // Anything but Russian reads as English.
    for (const auto &[command, shown] : kLanguageCommands)
        action(command)->setChecked((shown == LanguageRussian) == (language == LanguageRussian));
}

void TKorvelForm::applyCommandTexts()
{
    // Commands without a caption of their own (the tool bar's alone) take
    // their hint as their text too, in every language; the others show
    // the hint as their tool tip only.
    for (const CommandRow &row : commandTable()) {
        QAction *a = action(row.command);
        if (row.hintKey)
            a->setToolTip(m_texts->mainText(QLatin1String(row.hintKey)));
        if (row.captionKey)
            a->setText(m_texts->mainText(QLatin1String(row.captionKey)));
        else if (row.captionText)
            a->setText(m_texts->programText(*row.captionText));
        else if (row.hintKey)
            a->setText(a->toolTip());
    }
}

void TKorvelForm::applyTexts()
{
    m_toolkitTexts.setLanguage(m_texts->language());
    setProgramCaption(this, m_texts->mainText(QStringLiteral("ProgramTitle")));
    for (QMenu *menu : std::as_const(m_menus))
        menu->setTitle(m_texts->mainText(menu->objectName()));
    applyCommandTexts();
    m_folderBox->setTitle(m_texts->mainText(QStringLiteral("TreeViewFolders")));
    writeConnectionStatus();
}

void TKorvelForm::buildLayout()
{
    // Folder panel on the left of the upper area.
    auto *folderBox = new QGroupBox(QStringLiteral("Каталоги"));
    folderBox->setObjectName(QStringLiteral("GroupBox1"));
    folderBox->setMinimumWidth(kMinimumPaneSize);
    auto *folderLayout = new QVBoxLayout(folderBox);
    folderLayout->setContentsMargins(4, 4, 4, 4);
    folderLayout->addWidget(m_folders->panel());
    m_folderBox = folderBox;

    // The meter list above the power list, which has the element buttons
    // above it, on the right.
    QWidget *powerList = m_views->powerList();
    QWidget *elementBar = m_operations->elementBar();
    m_views->titleList()->setMinimumHeight(kMinimumPaneSize);
    powerList->setMinimumHeight(kMinimumPaneSize);
    auto *powerPanel = new QWidget;
    powerPanel->setObjectName(QStringLiteral("PowerPanel"));
    auto *powerLayout = new QVBoxLayout(powerPanel);
    powerLayout->setContentsMargins(0, 0, 0, 0);
    powerLayout->setSpacing(1);
    powerLayout->addWidget(elementBar);
    powerLayout->addWidget(powerList, 1);
    powerPanel->setMinimumHeight(powerList->minimumHeight() + elementBar->sizeHint().height());
    m_listsSplitter = splitter(Qt::Vertical, "ListsSplitter", m_views->titleList(), powerPanel);
    m_upperSplitter = splitter(Qt::Horizontal, "Panel1", folderBox, m_listsSplitter);
    m_upperSplitter->setMinimumHeight(kMinimumPaneSize);

    // The result grids and the error curve below.
    QWidget *grids = m_verdicts->gridsAndCurve();
    m_views->gridArea()->setMinimumHeight(kMinimumPaneSize);
    grids->setMinimumHeight(kMinimumPaneSize);
    m_mainSplitter = splitter(Qt::Vertical, "MainSplitter", m_upperSplitter, grids);
    setCentralWidget(m_mainSplitter);

    m_connectionPanel = new QLabel(this);
    m_connectionPanel->setObjectName(QStringLiteral("ConnectionPanel"));
    m_connectionPanel->setMinimumWidth(220);
    auto *messagePanel = new QLabel(this);
    messagePanel->setObjectName(QStringLiteral("MessagePanel"));
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(m_connectionPanel);
    statusBar()->addWidget(messagePanel, 1);
    statusBar()->addPermanentWidget(m_verdicts->verdictPanel());
    m_services->setStatusLine(messagePanel, new StatusMessageTimer(messagePanel, this));
}

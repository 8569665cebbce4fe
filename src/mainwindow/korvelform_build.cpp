// Construction of the main window's menu, tool bar, panels and status bar.
#include "korvelform.h"

#include "base/programtexts.h"
#include "records/recordstore.h"
#include "records/ui/folderpanel.h"
#include "base/ui/statusmessagetimer.h"
#include "base/ui/glyphicon.h"
#include "views/ui/recordlistviews.h"
#include "views/ui/recordviews.h"
#include "views/ui/tvparam.h"

#include <QActionGroup>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kMinimumPaneSize = 50;
}

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
    m_toolBar = addToolBar(QStringLiteral("ToolBar1"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(24, 24));
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
            m_toolBar->addSeparator();
        if (row.toolBar != ToolBarPlace::None)
            m_toolBar->addAction(a);
        m_commandActions[std::size_t(row.command)] = a;
        bindCommand(a, row.rule);
    }
    applyCommandTexts(*m_mainTexts);

    // The window's own commands.
    const std::pair<Command, void (TKorvelForm::*)()> own[] = {
        {Command::Exit, &TKorvelForm::ExitClick},
        {Command::ChangePassword, &TKorvelForm::ChangePswdClick},
        {Command::RussianLanguage, &TKorvelForm::RussianLangClick},
        {Command::EnglishLanguage, &TKorvelForm::EnglishLangClick},
        {Command::Help, &TKorvelForm::N4Click},
        {Command::About, &TKorvelForm::N6Click},
    };
    for (const auto &[command, slot] : own)
        connect(action(command), &QAction::triggered, this, slot);
    auto *languages = new QActionGroup(this);
    for (Command command : {Command::RussianLanguage, Command::EnglishLanguage}) {
        action(command)->setCheckable(true);
        languages->addAction(action(command));
    }
    action(Command::EnglishLanguage)->setChecked(true);
}

void TKorvelForm::applyCommandTexts(const SectionTexts &texts)
{
    // Commands without a caption of their own (the tool bar's alone) take
    // their hint as their text too, in every language; the others show
    // the hint as their tool tip only.
    for (const CommandRow &row : commandTable()) {
        QAction *a = action(row.command);
        if (row.hintKey)
            a->setToolTip(texts.text(QLatin1String(row.hintKey)));
        if (row.captionKey)
            a->setText(texts.text(QLatin1String(row.captionKey)));
        else if (row.captionText)
            a->setText(programText(*row.captionText, m_settings.language));
        else if (row.hintKey)
            a->setText(a->toolTip());
    }
}

void TKorvelForm::buildLayout()
{
    // Folder panel on the left of the upper area.
    GroupBox1 = new QGroupBox(QStringLiteral("Каталоги"));
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto *folderLayout = new QVBoxLayout(GroupBox1);
    folderLayout->setContentsMargins(4, 4, 4, 4);
    m_folderPanel = new FolderTreePanel(*m_store, GroupBox1);
    m_folderPanel->setObjectName(QStringLiteral("TreeView"));
    folderLayout->addWidget(m_folderPanel);

    // Meter list above the power list on the right.
    m_views = new RecordViews(m_settings.columns, this);
    m_listsSplitter = new QSplitter(Qt::Vertical);
    m_listsSplitter->setObjectName(QStringLiteral("ListsSplitter"));
    m_listsSplitter->addWidget(m_views->titleList());
    m_listsSplitter->addWidget(m_views->powerList());
    m_views->titleList()->setMinimumHeight(kMinimumPaneSize);
    m_views->powerList()->setMinimumHeight(kMinimumPaneSize);
    m_upperSplitter = new QSplitter(Qt::Horizontal);
    m_upperSplitter->setObjectName(QStringLiteral("UpperSplitter"));
    m_upperSplitter->addWidget(GroupBox1);
    m_upperSplitter->addWidget(m_listsSplitter);
    m_upperSplitter->setStretchFactor(1, 1);
    Panel1 = m_upperSplitter;
    Panel1->setObjectName(QStringLiteral("Panel1"));

    // Result grids below.
    m_gridArea = m_views->gridArea();
    m_mainSplitter = new QSplitter(Qt::Vertical);
    m_mainSplitter->setObjectName(QStringLiteral("MainSplitter"));
    m_mainSplitter->addWidget(Panel1);
    m_mainSplitter->addWidget(m_gridArea);
    m_mainSplitter->setStretchFactor(1, 1);

    for (QSplitter *splitter : {m_listsSplitter, m_upperSplitter, m_mainSplitter})
        splitter->setChildrenCollapsible(false);
    GroupBox1->setMinimumWidth(kMinimumPaneSize);
    Panel1->setMinimumHeight(kMinimumPaneSize);
    m_gridArea->setMinimumHeight(kMinimumPaneSize);

    setCentralWidget(m_mainSplitter);

    m_connectionPanel = new QLabel(this);
    m_connectionPanel->setObjectName(QStringLiteral("ConnectionPanel"));
    m_connectionPanel->setMinimumWidth(220);
    m_messagePanel = new QLabel(this);
    m_messagePanel->setObjectName(QStringLiteral("MessagePanel"));
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(m_connectionPanel);
    statusBar()->addWidget(m_messagePanel, 1);
    m_statusTimer = new StatusMessageTimer(m_messagePanel, this);
}

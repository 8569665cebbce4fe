// Construction of the main window's menu, tool bar, panels and status bar.
#include "korvelform.h"

#include "records/recordstore.h"
#include "records/ui/folderpanel.h"
#include "base/ui/statusmessagetimer.h"
#include "base/ui/glyphicon.h"
#include "views/ui/recordlistviews.h"
#include "views/ui/recordviews.h"
#include "views/ui/tvparam.h"

#include <QActionGroup>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kMinimumPaneSize = 50;
}

QAction *TKorvelForm::addAction(QMenu *menu, const QString &name, const QString &caption, void (TKorvelForm::*slot)())
{
    auto *action = new QAction(caption, this);
    action->setObjectName(name);
    if (slot)
        connect(action, &QAction::triggered, this, slot);
    else
        action->setEnabled(false); // its command arrives with its subsystem
    if (menu)
        menu->addAction(action);
    m_actions.insert(name, action);
    return action;
}

void TKorvelForm::buildMenus()
{
    // Menu object names are the paths of their captions in the string file.
    auto newMenu = [this](QMenu *parentMenu, const QString &path, const QString &caption) {
        QMenu *menu = parentMenu ? parentMenu->addMenu(caption) : menuBar()->addMenu(caption);
        menu->setObjectName(path);
        m_menus.insert(path, menu);
        return menu;
    };

    QMenu *file = newMenu(nullptr, QStringLiteral("MainMenu/File"), QStringLiteral("Файл"));
    addAction(file, QStringLiteral("LoadArcFromDeviceAction"), QStringLiteral("Считать из прибора"))
        ->setIcon(glyphIcon(GlyphKind::ReadDevice));
    addAction(file, QStringLiteral("CreateReportAction"), QStringLiteral("Создать отчет"))
        ->setIcon(glyphIcon(GlyphKind::Report));
    addAction(file, QStringLiteral("LoadReportAction"), QStringLiteral("Загрузить отчет"));
    file->addSeparator();
    addAction(file, QStringLiteral("Exit"), QStringLiteral("Выход"), &TKorvelForm::ExitClick);

    QMenu *utilities = newMenu(nullptr, QStringLiteral("MainMenu/Utilities"), QStringLiteral("Утилиты"));
    QMenu *meterBase =
        newMenu(utilities, QStringLiteral("MainMenu/Utilities/MeterBase"), QStringLiteral("База поверяемых средств"));
    addAction(meterBase, QStringLiteral("CreateBaseAction"), QStringLiteral("Создать"));
    addAction(meterBase, QStringLiteral("LoadBaseFromDeviceAction"), QStringLiteral("Загрузка из прибора"));
    addAction(meterBase, QStringLiteral("LoadBaseFromFileAction"), QStringLiteral("Загрузка из файла"));
    addAction(utilities, QStringLiteral("ExportExcelAction"), QStringLiteral("Экспорт в MS Excel"));

    QMenu *options = newMenu(nullptr, QStringLiteral("MainMenu/Options"), QStringLiteral("Настройки"));
    addAction(options, QStringLiteral("ComSetupAction"), QStringLiteral("Параметры обмена"));
    addAction(options, QStringLiteral("ViewParametersAction"), QStringLiteral("Отображаемые параметры"));
    addAction(options, QStringLiteral("ChangePswd"), QStringLiteral("Смена пароля"), &TKorvelForm::ChangePswdClick);
    QMenu *language = newMenu(options, QStringLiteral("MainMenu/Options/Language"), QStringLiteral("Язык"));
    auto *languages = new QActionGroup(this);
    QAction *russian =
        addAction(language, QStringLiteral("RussianLang"), QStringLiteral("Русский"), &TKorvelForm::RussianLangClick);
    QAction *english = addAction(language, QStringLiteral("EnglishLang"), QStringLiteral("Английский"),
                                 &TKorvelForm::EnglishLangClick);
    for (QAction *a : {russian, english}) {
        a->setCheckable(true);
        languages->addAction(a);
    }
    english->setChecked(true);

    QMenu *reference = newMenu(nullptr, QStringLiteral("MainMenu/Reference"), QStringLiteral("Справка"));
    addAction(reference, QStringLiteral("N4"), QStringLiteral("Помощь"), &TKorvelForm::N4Click);
    addAction(reference, QStringLiteral("N6"), QStringLiteral("О программе"), &TKorvelForm::N6Click);
}

void TKorvelForm::buildToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("ToolBar1"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(24, 24));
    m_toolBar->addAction(m_actions.value(QStringLiteral("LoadArcFromDeviceAction")));
    m_toolBar->addAction(m_actions.value(QStringLiteral("CreateReportAction")));
    m_toolBar->addSeparator();
    const QList<QPair<QString, GlyphKind>> buttons = {
        {QStringLiteral("CopyButton"), GlyphKind::Copy},     {QStringLiteral("PasteButton"), GlyphKind::Paste},
        {QStringLiteral("ConnectAction"), GlyphKind::Merge}, {QStringLiteral("CutButton"), GlyphKind::Cut},
        {QStringLiteral("DelButton"), GlyphKind::Delete},
    };
    for (const auto &[name, glyph] : buttons) {
        QAction *a = addAction(nullptr, name, QString());
        a->setIcon(glyphIcon(glyph));
        m_toolBar->addAction(a);
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

#include "folderpanel.h"

#include "records/recordstore.h"

#include <QAction>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QSet>
#include <QTimer>

namespace {

// The folder name a node stands for. The text shown may differ while it is
// being edited; this role keeps the name the folder has on disk.
constexpr int kNameRole = Qt::UserRole;

// More watched folders than this would use up the system's watches; the
// period's comparison still sees the open nodes.
constexpr qsizetype kMaxWatchedFolders = 2000;

} // namespace

FolderTreePanel::FolderTreePanel(RecordStore &store, QWidget *parent)
    : QTreeWidget(parent), m_store(store), m_newFolderLabel(QStringLiteral("Новая папка"))
{
    setObjectName(QStringLiteral("TreeView"));
    setColumnCount(1);
    setHeaderHidden(true);
    // Every node is one line of text: the view need not ask each node for
    // its height (selecting a node deep in a large tree would otherwise
    // measure every node above it).
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    setContextMenuPolicy(Qt::CustomContextMenu);

    m_menu = new QMenu(this);
    m_createAction = m_menu->addAction(QStringLiteral("Создать каталог"));
    m_deleteAction = m_menu->addAction(QStringLiteral("Удалить каталог"));
    m_createAction->setObjectName(QStringLiteral("CreateDir"));
    m_deleteAction->setObjectName(QStringLiteral("DeleteDir"));
    connect(m_createAction, &QAction::triggered, this, &FolderTreePanel::CreateDirClick);
    connect(m_deleteAction, &QAction::triggered, this, &FolderTreePanel::DeleteDirClick);
    connect(m_menu, &QMenu::aboutToShow, this, &FolderTreePanel::prepareContextMenu);

    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current, QTreeWidgetItem *) { onCurrentItemChanged(current); });
    connect(this, &QTreeWidget::itemChanged, this, &FolderTreePanel::onItemChanged);
    connect(this, &QWidget::customContextMenuRequested, this, &FolderTreePanel::onContextMenuRequested);
}

void FolderTreePanel::BuildFolderTree()
{
    const QSignalBlocker blocker(this);
    clear();
    const FolderNode tree = m_store.BuildFolderTree();
    // The whole tree of items is made before it enters the widget, so that
    // the view takes it in one step rather than node by node.
    QTreeWidgetItem *root = makeItem(tree.name, false);
    addChildren(root, tree);
    addTopLevelItem(root);
    root->setExpanded(true);
    setCurrentItem(nullptr);
    watchFolders(WatchAnew);
}

void FolderTreePanel::FollowDisk(std::chrono::milliseconds period)
{
    if (!m_watcher) {
        m_watcher = new QFileSystemWatcher(this);
        m_settle = new QTimer(this);
        m_settle->setSingleShot(true);
        m_settle->setInterval(300);
        m_period = new QTimer(this);
        connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
            m_announced = true;
            m_settle->start();
        });
        connect(m_settle, &QTimer::timeout, this, &FolderTreePanel::RefreshIfChanged);
        connect(m_period, &QTimer::timeout, this, [this] {
            if (!std::exchange(m_announced, false))
                RefreshIfChanged();
        });
        connect(this, &QTreeWidget::itemExpanded, this, [this] {
            watchFolders(WatchChanges);
            RefreshIfChanged();
        });
        connect(this, &QTreeWidget::itemCollapsed, this, [this] { watchFolders(WatchChanges); });
        connect(this, &QTreeWidget::currentItemChanged, this, [this] { watchFolders(WatchChanges); });
    }
    m_period->start(period);
    watchFolders(WatchAnew);
}

void FolderTreePanel::watchFolders(WatchStart start)
{
    if (!m_watcher)
        return;
    // Only the open nodes and the selected one are compared with the disk
    // (RefreshIfChanged): an announcement from any other folder would change
    // nothing, and a watch for each of a large tree's folders costs as much
    // as listing them.
    QStringList wanted;
    for (QTreeWidgetItemIterator it(this); *it && wanted.size() < kMaxWatchedFolders; ++it)
        if ((*it)->isExpanded() || *it == currentItem())
            wanted << folderPathOf(*it);
    // A tree built anew may stand for folders made again under the same
    // names: their watches are set afresh.
    QStringList watched = m_watcher->directories();
    if (start == WatchAnew && !watched.isEmpty()) {
        m_watcher->removePaths(watched);
        watched.clear();
    }
    const QSet<QString> wantedSet(wanted.cbegin(), wanted.cend());
    const QSet<QString> watchedSet(watched.cbegin(), watched.cend());
    QStringList dropped, added;
    for (const QString &path : std::as_const(watched))
        if (!wantedSet.contains(path))
            dropped << path;
    for (const QString &path : std::as_const(wanted))
        if (!watchedSet.contains(path))
            added << path;
    if (!dropped.isEmpty())
        m_watcher->removePaths(dropped);
    if (!added.isEmpty())
        m_watcher->addPaths(added);
}

bool FolderTreePanel::RefreshIfChanged()
{
    // Not while a name is being edited or the tree is disabled (a device run).
    if (!rootItem() || !isEnabled() || state() == QAbstractItemView::EditingState)
        return false;
    bool differs = false;
    for (QTreeWidgetItemIterator it(this); *it && !differs; ++it) {
        QTreeWidgetItem *item = *it;
        if (!item->isExpanded() && item != currentItem())
            continue;
        QStringList shown;
        for (int i = 0; i < item->childCount(); ++i)
            shown << item->child(i)->data(0, kNameRole).toString();
        differs = shown != ListSubFolders(folderPathOf(item));
    }
    if (!differs)
        return false;

    QSet<QString> open;
    for (QTreeWidgetItemIterator it(this); *it; ++it)
        if ((*it)->isExpanded())
            open.insert(folderPathOf(*it));
    const QString current = currentFolderPath();
    const int scroll = verticalScrollBar()->value();
    BuildFolderTree();
    QTreeWidgetItem *selected = nullptr;
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        const QString path = folderPathOf(*it);
        if (open.contains(path))
            (*it)->setExpanded(true);
        if (path == current)
            selected = *it;
    }
    if (selected) {
        // The same folder stays selected: its list is not read again.
        const QSignalBlocker blocker(this);
        setCurrentItem(selected);
    } else if (!current.isEmpty()) {
        setCurrentItem(rootItem()); // the selected folder is gone: the root is shown
    }
    watchFolders(WatchChanges);
    verticalScrollBar()->setValue(scroll);
    return true;
}

void FolderTreePanel::addChildren(QTreeWidgetItem *parent, const FolderNode &node)
{
    QList<QTreeWidgetItem *> items;
    items.reserve(qsizetype(node.children.size()));
    for (const FolderNode &child : node.children) {
        QTreeWidgetItem *item = makeItem(child.name, true);
        addChildren(item, child);
        items.append(item);
    }
    parent->addChildren(items);
}

QTreeWidgetItem *FolderTreePanel::makeItem(const QString &name, bool editable) const
{
    auto *item = new QTreeWidgetItem(QStringList{name});
    item->setData(0, kNameRole, name);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable)
        flags |= Qt::ItemIsEditable; // the root node cannot be renamed
    item->setFlags(flags);
    return item;
}

void FolderTreePanel::insertSorted(QTreeWidgetItem *parent, QTreeWidgetItem *child)
{
    const QString name = child->data(0, kNameRole).toString();
    int at = 0;
    while (at < parent->childCount()
           && QString::compare(parent->child(at)->data(0, kNameRole).toString(), name, Qt::CaseSensitive) < 0)
        ++at;
    parent->insertChild(at, child);
}

void FolderTreePanel::setMenuCaptions(const QString &createDir, const QString &deleteDir)
{
    m_createAction->setText(createDir);
    m_deleteAction->setText(deleteDir);
}

void FolderTreePanel::setNewFolderLabel(const QString &label)
{
    m_newFolderLabel = label;
}

QString FolderTreePanel::folderPathOf(const QTreeWidgetItem *item) const
{
    QStringList names;
    // Every node but the root contributes its name; the root is the data folder.
    for (const QTreeWidgetItem *node = item; node && node->parent(); node = node->parent())
        names.prepend(node->data(0, kNameRole).toString());
    return m_store.folderPath(names);
}

QString FolderTreePanel::currentFolderPath() const
{
    const QTreeWidgetItem *item = currentItem();
    return item ? folderPathOf(item) : QString();
}

bool FolderTreePanel::selectFolder(const QString &folderPath)
{
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        if (folderPathOf(*it) != folderPath)
            continue;
        if (currentItem() == *it)
            emit TreeViewChange(folderPath);
        else
            setCurrentItem(*it);
        return true;
    }
    return false;
}

void FolderTreePanel::onCurrentItemChanged(QTreeWidgetItem *current)
{
    if (current)
        emit TreeViewChange(folderPathOf(current));
}

void FolderTreePanel::prepareContextMenu()
{
    const QTreeWidgetItem *item = currentItem();
    m_createAction->setEnabled(item != nullptr);
    m_deleteAction->setEnabled(item && item->parent() && m_store.CanDeleteFolder(folderPathOf(item)));
}

void FolderTreePanel::onContextMenuRequested(const QPoint &pos)
{
    // The commands act on the node that was clicked: select it first, so
    // that the folder the user sees highlighted is the one acted on.
    if (QTreeWidgetItem *item = itemAt(pos))
        setCurrentItem(item);
    if (!currentItem())
        return;
    m_menu->popup(viewport()->mapToGlobal(pos));
}

void FolderTreePanel::CreateDirClick()
{
    QTreeWidgetItem *parent = currentItem();
    if (!parent)
        return;
    const std::optional<QString> name = m_store.NewFolder(folderPathOf(parent), m_newFolderLabel);
    if (!name)
        return; // no free name, or the folder cannot take sub-folders: nothing changes
    QTreeWidgetItem *child = makeItem(*name, true);
    insertSorted(parent, child);
    parent->setExpanded(true);
    setCurrentItem(child); // scans the new, empty folder
}

void FolderTreePanel::DeleteDirClick()
{
    QTreeWidgetItem *item = currentItem();
    if (!item || !item->parent())
        return;
    // Without a password check wired in, deleting is not allowed at all.
    if (!m_askPassword || !m_askPassword())
        return;
    if (!m_store.DeleteFolder(folderPathOf(item))) {
        showMessage(QStringLiteral("Error20"));
        return;
    }
    // The view moves the selection to a neighbour, which rescans it.
    delete item;
}

void FolderTreePanel::onItemChanged(QTreeWidgetItem *item, int column)
{
    if (m_settingText || column != 0 || !item->parent())
        return;
    const QString oldName = item->data(0, kNameRole).toString();
    const QString newName = item->text(0);
    if (newName == oldName)
        return;
    const RenameOutcome outcome = m_store.RenameFolder(folderPathOf(item), newName);
    m_settingText = true;
    if (outcome == RenameOutcome::Renamed)
        item->setData(0, kNameRole, newName);
    else
        item->setText(0, oldName);
    m_settingText = false;
    if (outcome == RenameOutcome::Failed || outcome == RenameOutcome::Refused)
        showMessage(QStringLiteral("Error18"));
}

void FolderTreePanel::showMessage(const QString &key) const
{
    if (m_showMessage)
        m_showMessage(key);
}

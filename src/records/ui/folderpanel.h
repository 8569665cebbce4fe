// The folder panel of the main window: the tree of record folders below the
// data folder with its context menu (create and delete a folder) and in-place
// renaming. All changes go through the RecordStore; the panel only shows the
// tree and reports the selected folder.
#pragma once

#include <QString>
#include <QTreeWidget>

#include <chrono>
#include <functional>

class QFileSystemWatcher;
class QTimer;

class QAction;
class QMenu;
class RecordStore;
struct FolderNode;

class FolderTreePanel : public QTreeWidget {
    Q_OBJECT
public:
    // Shows a localized message by its key ("Error18", "Error20") in an
    // information box with an OK button.
    using MessageHandler = std::function<void(const QString &messageKey)>;
    // Asks for the access password; true when the command may go on. It
    // shows its own message when the password is wrong.
    using PasswordCheck = std::function<bool()>;

    explicit FolderTreePanel(RecordStore &store, QWidget *parent = nullptr);
    FolderTreePanel(const FolderTreePanel &) = delete;
    FolderTreePanel &operator=(const FolderTreePanel &) = delete;

    // Builds the tree from the data folder (creating it when missing); the
    // root node is captioned "Data". Nothing is selected afterwards.
    void BuildFolderTree();

    // Texts from the string file: the two context-menu captions and the name
    // given to a new folder.
    void setMenuCaptions(const QString &createDir, const QString &deleteDir);
    void setNewFolderLabel(const QString &label);
    void setMessageHandler(MessageHandler handler) { m_showMessage = std::move(handler); }
    void setPasswordCheck(PasswordCheck check) { m_askPassword = std::move(check); }

    // Following the disk: folders made, renamed or removed by another
    // workstation or vardosk-cli appear in the tree without a click. The
    // folders of the open nodes and of the selected one are watched where
    // the file system announces changes; in every period without an
    // announcement the sub-folders of the open nodes are compared with the
    // tree.
    void FollowDisk(std::chrono::milliseconds period = std::chrono::milliseconds(2000));
    // The comparison: builds the tree again when the sub-folders of an open
    // node (or of the selected one) differ from its children, keeping the
    // open nodes, the selection and the scroll position. True when it did.
    bool RefreshIfChanged();

    // Device runs disable the whole tree (selection, menu, editing).
    void setTreeEnabled(bool enabled) { setEnabled(enabled); }

    QTreeWidgetItem *rootItem() const { return topLevelItem(0); }
    // The folder a node stands for.
    QString folderPathOf(const QTreeWidgetItem *item) const;
    // The folder of the selected node; empty when nothing is selected.
    QString currentFolderPath() const;
    // Selects the node of a folder (which emits TreeViewChange even when it
    // was already selected, so that the folder is scanned again). False when
    // no node stands for the folder.
    bool selectFolder(const QString &folderPath);

    // Sets the enabled state of the context menu's two commands (object
    // names CreateDir and DeleteDir) for the selected node; it runs whenever
    // the menu opens.
    void prepareContextMenu();

signals:
    // The selected folder changed (or was selected again); the receiver
    // rescans it through RecordStore::SelectFolder and refreshes the views.
    void TreeViewChange(const QString &folderPath);

public slots:
    // Context-menu commands acting on the selected node.
    void CreateDirClick();
    void DeleteDirClick();

private:
    void addChildren(QTreeWidgetItem *parent, const FolderNode &node);
    QTreeWidgetItem *makeItem(const QString &name, bool editable) const;
    void insertSorted(QTreeWidgetItem *parent, QTreeWidgetItem *child);
    void onCurrentItemChanged(QTreeWidgetItem *current);
    void onItemChanged(QTreeWidgetItem *item, int column);
    void onContextMenuRequested(const QPoint &pos);
    void showMessage(const QString &key) const;
    // Watches the folders of the open nodes and of the selected one
    // (WatchAnew: every watch set again, after the tree was built).
    enum WatchStart { WatchAnew, WatchChanges };
    void watchFolders(WatchStart start);

    QFileSystemWatcher *m_watcher = nullptr;
    QTimer *m_period = nullptr;
    QTimer *m_settle = nullptr;
    bool m_announced = false;

    RecordStore &m_store;
    QMenu *m_menu = nullptr;
    QAction *m_createAction = nullptr;
    QAction *m_deleteAction = nullptr;
    QString m_newFolderLabel;
    MessageHandler m_showMessage;
    PasswordCheck m_askPassword;
    bool m_settingText = false; // guards programmatic text changes
};

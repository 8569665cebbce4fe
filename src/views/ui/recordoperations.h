// The record commands of the main window: copy, cut, paste, delete and
// merge of whole meter files (tool bar), copy, paste and delete of single
// verifications (the small buttons above the power list), and the editing of
// the meter's identity and of a verification's constant (context menus of
// the two lists). It keeps the meter clipboard and the element mark, changes
// files and the store; the views follow the store, and the command states
// (commandstate.h) decide which commands are enabled.
#pragma once

#include "records/recordops.h"

#include <QDate>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTime>

class QAction;
class QMenu;
class QToolButton;
class QWidget;
class AppServices;
class RecordStore;
class RecordViews;
class TInfoForm;
class TPostForm;
struct RecordCommands;

class RecordOperations : public QObject {
    Q_OBJECT
public:
    // Builds the element buttons (elementBar(), for the window to place
    // above the power list) and the lists' context menus. The window
    // connects its tool-bar actions to the meter commands.
    RecordOperations(AppServices &services, RecordStore &store, RecordViews &views, QObject *parent = nullptr);
    RecordOperations(const RecordOperations &) = delete;
    RecordOperations &operator=(const RecordOperations &) = delete;

    // --- Meter commands (no password for copy, cut and paste) -------------------
    void CopyButtonClick();
    void CutButtonClick();
    void PasteButtonClick();
    void DelButtonClick();
    void ConnectActionExecute();

    // --- Element commands ---------------------------------------------------------
    void CopyElemButtonClick();
    void PasteElemButtonClick();
    void DelElemButtonClick();

    // --- Editing --------------------------------------------------------------------
    void N7Click(); // meter list context menu "Изменить"
    void N9Click(); // power list context menu "Изменить постоянную"
    // Meter list context menu "Merge all files of this meter": one password
    // (with the delete check box), then every file of the folder mergeable
    // with the selected one goes into it in date order; a message says what
    // was merged and what was left out, and why.
    void MergeAllClick();

    // --- State and widgets, for the window and tests ----------------------------------
    QString clipboardPath() const { return m_clipboard.valid ? m_clipboard.path : QString(); }
    bool clipboardIsCut() const { return m_clipboard.valid && m_clipboard.cut; }
    bool hasElementMark() const { return m_mark.set; }

    QWidget *elementBar() const { return m_elementBar; }
    QToolButton *copyElemButton() const { return m_copyElem; }
    QToolButton *pasteElemButton() const { return m_pasteElem; }
    QToolButton *delElemButton() const { return m_delElem; }
    QMenu *meterContextMenu() const { return m_meterMenu; }
    QMenu *powerContextMenu() const { return m_powerMenu; }
    QAction *changeMeterAction() const { return m_n7; }
    QAction *changeConstantAction() const { return m_n9; }
    TInfoForm *infoForm() const { return m_infoForm; }
    TPostForm *postForm() const { return m_postForm; }

private:
    struct MeterClipboard {
        bool valid = false;
        QString path; // full path of the copied or cut file
        int row = -1; // its meter-list row at the time
        bool cut = false;
        FileIdentity identity; // the file as it was read when copied or cut
    };
    // The verification copied for element pasting, known by its file and its
    // moment, so that a rescan or another folder can never make the mark
    // point at a verification the user did not copy.
    struct ElementMark {
        bool set = false;
        QString filePath;
        int verification = -1;
        int row = -1;
        QDate date;
        QTime time;
        std::uint8_t powerType = 0;
    };

    void buildElementBar(QWidget *parent);
    void buildContextMenus();
    void applyTexts();
    void applyCommands(const RecordCommands &commands);

    // The selected meter as listed (the identity its file was listed with).
    const ListedMeter *selectedMeter() const;
    // The meter at `meterIndex` as the views show it, with its verifications
    // and points: the selected one only; nullptr for any other.
    const pcn::_totalblockdata *shownMeter(int meterIndex) const;
    std::optional<pcn::_totalblockdata> meterWithPoints(int meterIndex);
    QString meterPath(int meterIndex) const;
    int meterIndexOfPath(const QString &path) const;
    bool markBelongsTo(int meterIndex) const;
    bool elementPasteFits(int meterIndex, int verificationIndex) const;
    bool mergeFits(int meterIndex);
    // Writes a changed meter; on success it replaces the meter in the list.
    // A failed write leaves file and list unchanged and says so.
    bool storeMeter(int meterIndex, const pcn::_totalblockdata &meter, int removedVerification = -1);
    void setClipboard(const MeterClipboard &clipboard);
    void followRename(const QString &oldPath, const QString &newPath);
    void reportWriteFailure() const;
    // A file was changed or removed by another workstation since it was
    // read: the list is read again and the user is told to repeat.
    void reportChangedMeanwhile();
    // The outcome of a guarded file change: true when done; a failure or a
    // change by another workstation is reported.
    bool reported(const GuardedWrite &outcome);

    AppServices &m_services;
    RecordStore &m_store;
    RecordViews &m_views;
    MeterClipboard m_clipboard;
    ElementMark m_mark;

    QPointer<QWidget> m_elementBar;
    QToolButton *m_copyElem = nullptr;
    QToolButton *m_pasteElem = nullptr;
    QToolButton *m_delElem = nullptr;
    QMenu *m_meterMenu = nullptr;
    QMenu *m_powerMenu = nullptr;
    QAction *m_n7 = nullptr;
    QAction *m_n9 = nullptr;
    TInfoForm *m_infoForm = nullptr;
    TPostForm *m_postForm = nullptr;
};

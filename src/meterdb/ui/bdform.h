// The meter database editor TBdForm ("База данных поверяемых средств"): the
// list of at most ten meters under test with its ten columns, the editor of
// one entry with the rules of every field while it is typed, saving to and
// loading from a .bdc file, and reading the list from the instrument or
// writing it there. The list exists only while the dialog is open.
#pragma once

#include "meterbaseservices.h"
#include "meterdb/meterentry.h"
#include "base/fileidentity.h"
#include "base/stringcatalog.h"

#include <QDialog>
#include <QVector>

#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

class TBdForm : public QDialog {
    Q_OBJECT
public:
    explicit TBdForm(const MeterBaseServices &services, QWidget *parent = nullptr);
    TBdForm(const TBdForm &) = delete;
    TBdForm &operator=(const TBdForm &) = delete;

    // Captions of the section "MeterDatabaseForm".
    void applyStrings(const SectionTexts &texts);
    // The connection for the transfers started here, copied when the dialog
    // is opened.
    void setConnection(const device::Connection &connection) { m_connection = connection; }
    // Picks a file for saving (true) or loading (false); "" when cancelled.
    // Replaced by tests; the default shows a file dialog.
    void setFilePicker(std::function<QString(bool save)> picker) { m_pickFile = std::move(picker); }

    // Ways of opening: an empty list; a file chosen by the user (false when
    // nothing was loaded); the ten entries just read from the instrument.
    void StartEmpty();
    bool LoadBaseFromFile();
    void StartWithDeviceEntries(const meterdb::MeterList &entries);

    const meterdb::MeterList &entries() const { return m_list; }
    bool isEditing() const { return m_mode != Mode::Browse; }
    // Entries changed since they were last loaded, saved, read or written.
    bool hasUnsavedEntries() const;

    // Handlers of the buttons.
    void NewButtonClick();
    void EditButtonClick();
    void DeleteButtonClick();
    void ApplyButtonClick();
    void CancelButtonClick();
    void ReadButtonClick();
    void WriteButtonClick();
    void SaveButtonClick();
    void LoadButtonClick();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Mode { Browse, NewEntry, ChangeEntry };
    static constexpr int kFields = 10;

    void buildLayout();
    void FormActivate();
    void onTextFieldChanged(int field);
    void onSpinChanged(int field);
    void clampSpin(QSpinBox *spin);
    void setEditorEnabled(bool enabled);
    void clearFields();
    void fillFieldsFromRow(int row);
    meterdb::MeterEntry entryFromFields() const;
    void updateApply();
    void setBrowseButtons();
    void replaceList(const meterdb::MeterList &list);
    void rebuildView();
    void writeRow(int row);
    void selectRow(int row);
    int selectedRow() const;
    void leaveEditor();
    void warnUnstorableType(int entry, const QString &characters);
    // Asks before unsaved entries are replaced by a file or the instrument's.
    bool mayReplaceEntries();
    // A text of the program's own in the current language (Russian when no
    // language is given).
    QString text(ProgramText id) const;

    MeterBaseServices m_services;
    device::Connection m_connection;
    std::function<QString(bool)> m_pickFile;
    QString m_fileFilter;
    // The file last loaded or saved, as it was then: saving over it again
    // must not overwrite what another workstation saved meanwhile.
    QString m_filePath;
    FileIdentity m_fileIdentity;
    meterdb::MeterList m_list;
    QVector<bool> m_paddedSerial; // rows made or changed in the editor
    Mode m_mode = Mode::Browse;
    bool m_dirty = false;
    bool m_running = false;
    bool m_reverting = false;
    std::array<QWidget *, kFields> m_fields{};
    std::array<QString, kFields> m_remembered;
    std::array<bool, kFields> m_valid{};
    std::array<QLabel *, kFields> m_labels{};
    QLabel *m_applyHint = nullptr; // the fields that keep "Apply" disabled

    // The editor's fields, in the order of the entry's fields.
    QLineEdit *Etyp = nullptr;
    QLineEdit *Ezav_num = nullptr;
    QSpinBox *Eyear = nullptr;
    QLineEdit *Eclass = nullptr;
    QLineEdit *Econst = nullptr;
    QLineEdit *EUnomlin = nullptr;
    QLineEdit *EUnomfaz = nullptr;
    QLineEdit *Inom = nullptr;
    QSpinBox *I1SpinEdit = nullptr;
    QSpinBox *I2SpinEdit = nullptr;
    QTableWidget *ListView1 = nullptr;
    QPushButton *NewButton = nullptr;
    QPushButton *EditButton = nullptr;
    QPushButton *DeleteButton = nullptr;
    QPushButton *ApplyButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *ReadButton = nullptr;
    QPushButton *WriteButton = nullptr;
    QPushButton *SaveButton = nullptr;
    QPushButton *LoadButton = nullptr;
    QPushButton *CloseButton = nullptr;
};

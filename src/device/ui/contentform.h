// The archive content dialog "Содержание архива поверок" (TContForm): the
// instrument, and one row with a check box per verification of its archive;
// the user ticks the verifications to read. Sorting by a column never
// changes which record a row stands for: every row keeps its archive number.
// A last column tells where below the data folder an entry is already
// stored, and a button ticks exactly the entries stored nowhere yet.
#pragma once

#include "records/deviceinfo.h"
#include "records/blockdata.h"
#include "base/ui/passworddialogs.h"
#include "base/stringdocument.h"
#include "views/textlookup.h"

#include <QDialog>
#include <QVector>

#include <optional>

class QLabel;
class QPushButton;
class QTreeWidget;

class TContForm : public QDialog {
    Q_OBJECT
public:
    // Columns of the list.
    enum Column { ColumnMeter = 0, ColumnDateTime = 1, ColumnPower = 2, ColumnNumber = 3, ColumnStored = 4 };
    // The list panel's height when the rows do not make it smaller.
    static constexpr int kListPanelHeight = 330;

    explicit TContForm(QWidget *parent = nullptr);
    TContForm(const TContForm &) = delete;
    TContForm &operator=(const TContForm &) = delete;

    // Captions of the section "ContentForm".
    void applyStrings(const SectionTexts &texts);
    // Where refusals are shown (a modal box of the main window).
    void setMessageFn(MessageFn show) { m_show = std::move(show); }
    // The language of the texts the string file does not carry (0 Russian,
    // 1 English): the refusal, the "stored in" column and its button.
    void setLanguage(int language);

    // Fills the header and the list (all rows unticked, archive order). The
    // power-type cells take their texts from the lookup (main window
    // section); dates and times are written in the locale.
    void Fill(const DeviceInfo &info, const QVector<pcn::_datacounter> &content, const TextLookup &lookup,
              const QLocale &locale = QLocale());
    // Where each entry of the content (in archive order) is stored: its
    // folder relative to the data folder ("" for the data folder itself),
    // or nothing. Shown in the last column as the folder's path in the tree.
    void SetStoredFolders(const QVector<std::optional<QString>> &folders);
    // Empties the list (end of a run).
    void Clear();

    // Archive numbers of the ticked rows, top to bottom as shown.
    QVector<int> CheckedNumbers() const;

    // Sorts the rows ascending by a column (header click).
    void SortByColumn(int column);

public slots:
    void AllCalibrationButtonClick();
    void ResetButtonClick();
    // Ticks the rows stored nowhere yet and unticks the others.
    void NotStoredButtonClick();
    // Accepts, unless more verifications are ticked than one run can read.
    void ReadCalibrationButtonClick();

private:
    void setAllChecked(bool checked);
    void fitToRows(int rows);
    void fitColumns();

    QLabel *DeviceTypeValue = nullptr;
    QLabel *SerialNumberValue = nullptr;
    QLabel *VersionValue = nullptr;
    QLabel *TotalCalibrationLabel = nullptr;
    QWidget *ListPanel = nullptr;
    QTreeWidget *ContentListView = nullptr;
    QPushButton *AllCalibrationButton = nullptr;
    QPushButton *ResetButton = nullptr;
    QPushButton *NotStoredButton = nullptr;
    QPushButton *ReadCalibrationButton = nullptr;
    QPushButton *CancelReadCalibrationButton = nullptr;

    QLabel *m_deviceTypeLabel = nullptr;
    QLabel *m_serialNumberLabel = nullptr;
    QLabel *m_versionLabel = nullptr;
    QString m_totalCaption;
    MessageFn m_show;
    int m_language = 1;
};

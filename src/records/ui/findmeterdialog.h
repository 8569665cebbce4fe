// The "Find meter" window: part of a serial number and/or of a meter type,
// and every meter below the data folder that matches, with its folder, type,
// serial number, number of verifications and latest verification. Choosing
// a meter (Open, a double click or Enter on its row) asks the main window to
// open its folder and select it; the window stays open for the next one.
#pragma once

#include "records/storedindex.h"

#include <QDialog>
#include <QVector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

class FindMeterDialog : public QDialog {
    Q_OBJECT
public:
    enum Column { ColumnFolder = 0, ColumnType = 1, ColumnSerial = 2, ColumnCount = 3, ColumnLast = 4 };

    explicit FindMeterDialog(const QString &dataFolder, QWidget *parent = nullptr);
    FindMeterDialog(const FindMeterDialog &) = delete;
    FindMeterDialog &operator=(const FindMeterDialog &) = delete;

    // Texts in a language (0 Russian, 1 English).
    void setLanguage(int language);

    // The meters of the last search, in the order of the list's rows.
    const QVector<FoundMeter> &results() const { return m_found; }

    // Ready for the next search: the focus in the serial field, its text
    // selected.
    void focusSerial();
    // Fills the serial field (a search run from outside the dialog).
    void setSerialText(const QString &text);
    // Searches below another data folder from now on; the results found
    // below the old one are cleared, as they no longer open.
    void setDataFolder(const QString &dataFolder);

public slots:
    // Searches below the data folder for what the two fields hold.
    void FindButtonClick();
    // Chooses the selected meter.
    void OpenButtonClick();

signals:
    // A meter was chosen: the absolute path of its folder and its file name.
    void meterChosen(const QString &folderPath, const QString &fileName);

private:
    void updateButtons();
    void fitColumns();
    void showCount();

    QLineEdit *SerialEdit = nullptr;
    QLineEdit *TypeEdit = nullptr;
    QPushButton *FindButton = nullptr;
    QPushButton *OpenButton = nullptr;
    QPushButton *CloseButton = nullptr;
    QTreeWidget *ResultListView = nullptr;
    QLabel *CountLabel = nullptr;

    QString m_dataFolder;
    QVector<FoundMeter> m_found;
    bool m_searched = false;
    int m_language = 1;
    QLabel *m_serialLabel = nullptr;
    QLabel *m_typeLabel = nullptr;
};

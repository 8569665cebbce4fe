// The exchange dialog "Обмен с прибором" (TForm2), created anew for every
// device run: the connection in use, the progress bar, the cancel button
// and, while records are read, the instrument with the number of
// verifications to read and read so far. It only shows the run; the run
// itself is driven by its caller.
#pragma once

#include "records/deviceinfo.h"
#include "base/stringdocument.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

class TForm2 : public QDialog {
    Q_OBJECT
public:
    explicit TForm2(QWidget *parent = nullptr);
    TForm2(const TForm2 &) = delete;
    TForm2 &operator=(const TForm2 &) = delete;

    // Captions of the section "ExchangeForm".
    void applyStrings(const SectionTexts &texts);
    // Serial: the port's device path and the baud rate; USB: "USB" and no
    // rate.
    void setConnection(bool usb, const QString &portName, qint32 baudRate);

    // Start of a run: instrument panel hidden, dialog shrunk to the progress
    // panel, cancel enabled, progress 0 of 1030, "0" records read.
    void ResetDisplay();
    // Byte progress of the current phase.
    void setProgress(qint64 current, qint64 maximum);
    // Record phase: the instrument panel with the device and the number of
    // verifications to read; the dialog grows to show it.
    void ShowInstrument(const DeviceInfo &info, int total);
    void setRecordsRead(int count);

signals:
    // The cancel button was pressed or the window was closed.
    void cancelRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void CancelButtonClick();
    void fitHeight();

    QLabel *PortExchangeLabel = nullptr;
    QLabel *RateExchangeLabel = nullptr;
    QLabel *RateValueLabel = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QPushButton *CancelButton = nullptr;
    QWidget *ProgressPanel = nullptr;
    QGroupBox *InstrumentPanel = nullptr;
    QLabel *DeviceTypeValue = nullptr;
    QLabel *SerialNumberValue = nullptr;
    QLabel *VersionValue = nullptr;
    QWidget *CountersBox = nullptr;
    QLabel *TotalValue = nullptr;
    QLabel *ReadValue = nullptr;

    QLabel *m_deviceTypeLabel = nullptr;
    QLabel *m_serialNumberLabel = nullptr;
    QLabel *m_versionLabel = nullptr;
    QLabel *m_totalLabel = nullptr;
    QLabel *m_readLabel = nullptr;
    QString m_portCaption;
    QString m_portName;
};

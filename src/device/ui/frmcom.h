// The communication settings dialog "Параметры обмена" (TFrmCom): USB or
// serial port, the serial port and its baud rate. The port list holds the
// fixed table of device paths, marks the ports present on this machine, and
// accepts any other device path typed into it.
#pragma once

#include "base/stringdocument.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

class TFrmCom : public QDialog {
    Q_OBJECT
public:
    explicit TFrmCom(QWidget *parent = nullptr);
    TFrmCom(const TFrmCom &) = delete;
    TFrmCom &operator=(const TFrmCom &) = delete;

    // Captions of the section "CommParsForm".
    void applyStrings(const SectionTexts &texts);

    // Fills the port list: the table entries, the present ports marked,
    // present ports outside the table added after it.
    void FillPortList(const QStringList &presentPorts);

    // Presets the choices: interface (0 USB, 1 serial), port index, rate
    // index and the typed device path (empty: the indexed entry); applies the
    // enabling rule.
    void Preset(int interfaceType, int portIndex, int rateIndex, const QString &typedPath);

    // The choices as shown.
    int InterfaceType() const;
    // The table index of the chosen port; when a path outside the table is
    // chosen, the index it was preset with.
    int PortIndex() const;
    // The chosen device path when it is not a table entry, else empty.
    QString TypedPortPath() const;
    int RateIndex() const;

public slots:
    // Serial enables the port group and shows both lists in the window
    // colour; USB disables it and shows them in the button-face colour.
    void InterfaceRadioGroupClick();

private:
    QGroupBox *InterfaceRadioGroup = nullptr;
    QRadioButton *UsbRadioButton = nullptr;
    QRadioButton *SerialRadioButton = nullptr;
    QGroupBox *ComPortGroupBox = nullptr;
    QComboBox *PortComboBox = nullptr;
    QComboBox *RateComboBox = nullptr;
    QPushButton *ApplyButton = nullptr;
    QPushButton *CancelButton = nullptr;

    QButtonGroup *m_interfaceButtons = nullptr;
    QLabel *m_portLabel = nullptr;
    QLabel *m_rateLabel = nullptr;
    int m_presetPortIndex = 0;
};

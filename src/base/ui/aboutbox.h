// The about box: program name, version, manufacturer, city and year lines,
// the purpose text and the supported reference-standard models.
#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
struct SectionTexts;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);

    // Texts of the AboutForm section; `versionText` and `yearText` are the
    // program's own.
    void applyStrings(const SectionTexts &texts, const QString &versionText, const QString &yearText);

    // The models text: the description lines, then the model names joined
    // by ", ". Built each time the box is opened.
    void setModelsText(const QStringList &descriptionLines, const QStringList &modelNames);

private:
    QLabel *ProductName = nullptr;
    QLabel *Version = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QPlainTextEdit *PurposeText = nullptr;
    QPlainTextEdit *ModelsText = nullptr;
    QPushButton *OKButton = nullptr;
};

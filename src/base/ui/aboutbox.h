// The about box: program name, version, manufacturer, city and year lines,
// the purpose text and the supported reference-standard models.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

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

    QLabel *ProductName;
    QLabel *Version;
    QLabel *Label1;
    QLabel *Label2;
    QLabel *Label3;
    QPlainTextEdit *PurposeText;
    QPlainTextEdit *ModelsText;
    QPushButton *OKButton;
};

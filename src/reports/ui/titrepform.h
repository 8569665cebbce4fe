// The title and ending editor of a protocol: two rich-text editors with
// per-paragraph alignment and per-selection fonts. The texts stay in the
// editor from one protocol to the next and are kept per user, so they are
// there again after a restart.
#pragma once

#include "base/stringdocument.h"
#include "reports/protocoldocument.h"

#include <QDialog>
#include <QFont>

#include <array>

#include <functional>
#include <optional>

class QAction;
class QActionGroup;
class QGroupBox;
class QMenu;
class QPushButton;
class QTextEdit;

// The section of the editor's texts in the string file.
inline const QString kTitleReportSection = QStringLiteral("TitleReportForm");

class QCheckBox;

class TTitRepForm : public QDialog {
    Q_OBJECT
public:
    // Chooses a font starting from the selection's font; empty on cancel.
    using FontPicker = std::function<std::optional<QFont>(const QFont &current, QWidget *parent)>;

    // Loads the texts kept for the user, if any.
    explicit TTitRepForm(QWidget *parent = nullptr);
    TTitRepForm(const TTitRepForm &) = delete;
    TTitRepForm &operator=(const TTitRepForm &) = delete;

    // Takes the texts of section TitleReportForm.
    void applyStrings(const SectionTexts &texts);

    // Shows the dialog modally, centred on the screen, with both alignment
    // menus marking centre. True when confirmed. Either way the texts stay as
    // edited and are kept for the user.
    bool Execute();

    // The two texts as HTML, and the two ticks.
    ReportTexts Texts() const;

    // Texts of the ticks "Include verdicts" and "Include error curves".
    void setTickTexts(const QString &verdicts, const QString &curves);

    // Replaces the font dialog (tests).
    void setFontPicker(FontPicker picker) { m_fontPicker = std::move(picker); }

    // The default character format of both texts: Times New Roman (or its
    // metric-compatible substitute) 14 pt.
    static QFont defaultFont();

public slots:
    void FontSelectClick();
    void FontSelectEndClick();

private:
    struct EditorMenu {
        QMenu *popup;
        QMenu *alignment;
        QAction *centre;
        QAction *left;
        QAction *right;
        QAction *font;
    };
    EditorMenu buildMenu(QTextEdit *edit, const char *popupName, const std::array<const char *, 4> &actionNames);
    void resetAlignmentMarks();
    void selectFont(QTextEdit *edit);
    void storeTexts() const;
    static void prepareEditor(QTextEdit *edit);
    static void loadText(QTextEdit *edit, const QString &html);

    FontPicker m_fontPicker;

    QGroupBox *TitleFrame = nullptr;
    QGroupBox *EndingFrame = nullptr;
    QTextEdit *RichEdit1 = nullptr; // title
    QTextEdit *RichEdit2 = nullptr; // ending
    QPushButton *OkButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QCheckBox *IncludeVerdictsBox = nullptr; // off until ticked; remembered like the texts
    QCheckBox *IncludeCurvesBox = nullptr;

    QMenu *TitlePopupMenu = nullptr;
    QMenu *TitleAlignmentMenu = nullptr;
    QAction *CenterAlign = nullptr;
    QAction *LeftAlign = nullptr;
    QAction *RightAlign = nullptr;
    QAction *FontSelect = nullptr;

    QMenu *TitleEndPopupMenu = nullptr;
    QMenu *EndAlignmentMenu = nullptr;
    QAction *AlignCenterEnd = nullptr;
    QAction *AlignLeftEnd = nullptr;
    QAction *AlignRightEnd = nullptr;
    QAction *FontSelectEnd = nullptr;
};

#include "titrepform.h"

#include "base/platform.h"
#include "base/stringcatalog.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// Keys of the two texts in the per-user store.
const QString kTitleKey = QStringLiteral("ReportTitleText");
const QString kEndingKey = QStringLiteral("ReportEndingText");
const QString kVerdictsKey = QStringLiteral("ReportIncludeVerdicts");
const QString kCurvesKey = QStringLiteral("ReportIncludeCurves");

constexpr int kTitleHeight = 120;
constexpr int kEndingHeight = 95;
constexpr int kDialogWidth = 560;

QTextEdit *newEditor(const char *name, int height, QWidget *parent)
{
    auto *edit = new QTextEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setFixedHeight(height);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setAcceptRichText(true);
    edit->setContextMenuPolicy(Qt::CustomContextMenu);
    return edit;
}

QGroupBox *frameAround(QTextEdit *edit, const char *name, QWidget *parent)
{
    auto *frame = new QGroupBox(parent);
    frame->setObjectName(QLatin1String(name));
    auto *layout = new QVBoxLayout(frame);
    layout->addWidget(edit);
    return frame;
}

QString htmlOf(const QTextEdit *edit)
{
    return edit->document()->isEmpty() ? QString() : edit->toHtml();
}

} // namespace

TTitRepForm::TTitRepForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TitRepForm"));
    setModal(true);
    RichEdit1 = newEditor("RichEdit1", kTitleHeight, this);
    RichEdit2 = newEditor("RichEdit2", kEndingHeight, this);
    TitleFrame = frameAround(RichEdit1, "TitleFrame", this);
    EndingFrame = frameAround(RichEdit2, "EndingFrame", this);
    OkButton = new QPushButton(this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setDefault(true);
    CancelButton = new QPushButton(this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    IncludeVerdictsBox = new QCheckBox(this);
    IncludeVerdictsBox->setObjectName(QStringLiteral("IncludeVerdictsBox"));
    IncludeCurvesBox = new QCheckBox(this);
    IncludeCurvesBox->setObjectName(QStringLiteral("IncludeCurvesBox"));
    setTickTexts(catalogDefault(QStringLiteral("Verdicts"), QStringLiteral("IncludeVerdicts"), 0),
                 catalogDefault(QStringLiteral("Verdicts"), QStringLiteral("IncludeCurves"), 0));
    auto *ticks = new QHBoxLayout;
    ticks->addWidget(IncludeVerdictsBox);
    ticks->addWidget(IncludeCurvesBox);
    ticks->addStretch();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OkButton);
    buttons->addWidget(CancelButton);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TitleFrame);
    layout->addWidget(EndingFrame);
    layout->addLayout(ticks);
    layout->addLayout(buttons);
    resize(kDialogWidth, sizeHint().height());

    const EditorMenu title =
        buildMenu(RichEdit1, "TitlePopupMenu", {"CenterAlign", "LeftAlign", "RightAlign", "FontSelect"});
    TitlePopupMenu = title.popup;
    TitleAlignmentMenu = title.alignment;
    TitleAlignmentMenu->setObjectName(QStringLiteral("TitleAlignmentMenu"));
    CenterAlign = title.centre;
    LeftAlign = title.left;
    RightAlign = title.right;
    FontSelect = title.font;
    const EditorMenu ending =
        buildMenu(RichEdit2, "TitleEndPopupMenu", {"AlignCenterEnd", "AlignLeftEnd", "AlignRightEnd", "FontSelectEnd"});
    TitleEndPopupMenu = ending.popup;
    EndAlignmentMenu = ending.alignment;
    EndAlignmentMenu->setObjectName(QStringLiteral("EndAlignmentMenu"));
    AlignCenterEnd = ending.centre;
    AlignLeftEnd = ending.left;
    AlignRightEnd = ending.right;
    FontSelectEnd = ending.font;
    resetAlignmentMarks();
    connect(FontSelect, &QAction::triggered, this, &TTitRepForm::FontSelectClick);
    connect(FontSelectEnd, &QAction::triggered, this, &TTitRepForm::FontSelectEndClick);

    m_fontPicker = [](const QFont &current, QWidget *owner) -> std::optional<QFont> {
        bool ok = false;
        const QFont font = QFontDialog::getFont(&ok, current, owner);
        return ok ? std::optional<QFont>(font) : std::nullopt;
    };

    // The layout's own texts until the string file's texts are applied.
    SectionTexts own;
    for (const CatalogItem &item : catalogSection(kTitleReportSection))
        own.texts.insert(item.path, item.rus);
    applyStrings(own);

    loadText(RichEdit1, platform::loadUserValue(kTitleKey));
    loadText(RichEdit2, platform::loadUserValue(kEndingKey));
    IncludeVerdictsBox->setChecked(platform::loadUserValue(kVerdictsKey) == QLatin1String("1"));
    IncludeCurvesBox->setChecked(platform::loadUserValue(kCurvesKey) == QLatin1String("1"));
}

void TTitRepForm::setTickTexts(const QString &verdicts, const QString &curves)
{
    IncludeVerdictsBox->setText(verdicts);
    IncludeCurvesBox->setText(curves);
}

QFont TTitRepForm::defaultFont()
{
    QFont font(platform::fontFamily(QStringLiteral("Times New Roman")));
    font.setPointSize(14);
    return font;
}

void TTitRepForm::prepareEditor(QTextEdit *edit)
{
    edit->clear();
    edit->document()->setDefaultFont(defaultFont());
    QTextCursor cursor(edit->document());
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.setBlockFormat(centred);
    QTextCharFormat chars;
    chars.setFont(defaultFont());
    cursor.setBlockCharFormat(chars);
    edit->setTextCursor(cursor);
    edit->setCurrentCharFormat(chars);
}

void TTitRepForm::loadText(QTextEdit *edit, const QString &html)
{
    prepareEditor(edit);
    if (!html.isEmpty())
        edit->setHtml(html);
}

TTitRepForm::EditorMenu TTitRepForm::buildMenu(QTextEdit *edit, const char *popupName,
                                               const std::array<const char *, 4> &actionNames)
{
    EditorMenu m{};
    m.popup = new QMenu(this);
    m.popup->setObjectName(QLatin1String(popupName));
    m.alignment = m.popup->addMenu(QString());
    auto *group = new QActionGroup(m.alignment);
    group->setExclusive(true);
    const std::array<Qt::Alignment, 3> alignments{Qt::AlignHCenter, Qt::AlignLeft, Qt::AlignRight};
    std::array<QAction *, 3> actions{};
    for (std::size_t k = 0; k < actions.size(); ++k) {
        QAction *action = m.alignment->addAction(QString());
        action->setObjectName(QLatin1String(actionNames[k]));
        action->setCheckable(true);
        group->addAction(action);
        const Qt::Alignment alignment = alignments[k];
        // Sets the alignment of every paragraph the selection touches (the
        // caret's paragraph without a selection); the group moves the mark.
        connect(action, &QAction::triggered, edit, [edit, alignment] { edit->setAlignment(alignment); });
        actions[k] = action;
    }
    m.centre = actions[0];
    m.left = actions[1];
    m.right = actions[2];
    m.font = m.popup->addAction(QString());
    m.font->setObjectName(QLatin1String(actionNames[3]));
    QMenu *popup = m.popup;
    connect(edit, &QTextEdit::customContextMenuRequested, popup,
            [edit, popup](const QPoint &pos) { popup->exec(edit->viewport()->mapToGlobal(pos)); });
    return m;
}

void TTitRepForm::applyStrings(const SectionTexts &texts)
{
    setWindowTitle(texts.text(QStringLiteral("Title")));
    TitleFrame->setTitle(texts.text(QStringLiteral("TitleReportFormLabels/EnterReportTitleLabel")));
    EndingFrame->setTitle(texts.text(QStringLiteral("TitleReportFormLabels/EnterReportCompletionLabel")));
    OkButton->setText(texts.text(QStringLiteral("TitleReportFormLabels/OkButtonLabel")));
    CancelButton->setText(texts.text(QStringLiteral("TitleReportFormLabels/CancelButtonLabel")));
    const QString alignment = texts.text(QStringLiteral("ContextMenu/AlignmentMenu"));
    const QString centre = texts.text(QStringLiteral("ContextMenu/AlignmentMenu/CenterAlignmentMenu"));
    const QString left = texts.text(QStringLiteral("ContextMenu/AlignmentMenu/LeftAlignmentMenu"));
    const QString right = texts.text(QStringLiteral("ContextMenu/AlignmentMenu/RightAlignmentMenu"));
    const QString font = texts.text(QStringLiteral("ContextMenu/FontMenu"));
    for (QMenu *menu : {TitleAlignmentMenu, EndAlignmentMenu})
        if (menu)
            menu->setTitle(alignment);
    for (QAction *a : {CenterAlign, AlignCenterEnd})
        if (a)
            a->setText(centre);
    for (QAction *a : {LeftAlign, AlignLeftEnd})
        if (a)
            a->setText(left);
    for (QAction *a : {RightAlign, AlignRightEnd})
        if (a)
            a->setText(right);
    for (QAction *a : {FontSelect, FontSelectEnd})
        if (a)
            a->setText(font);
}

void TTitRepForm::resetAlignmentMarks()
{
    CenterAlign->setChecked(true);
    AlignCenterEnd->setChecked(true);
}

bool TTitRepForm::Execute()
{
    resetAlignmentMarks();
    if (const QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    const bool confirmed = exec() == QDialog::Accepted;
    storeTexts();
    return confirmed;
}

ReportTexts TTitRepForm::Texts() const
{
    return {htmlOf(RichEdit1), htmlOf(RichEdit2), IncludeVerdictsBox->isChecked(), IncludeCurvesBox->isChecked()};
}

void TTitRepForm::storeTexts() const
{
    const ReportTexts texts = Texts();
    platform::storeUserValue(kTitleKey, texts.titleHtml);
    platform::storeUserValue(kEndingKey, texts.endingHtml);
    platform::storeUserValue(kVerdictsKey, texts.includeVerdicts ? QStringLiteral("1") : QStringLiteral("0"));
    platform::storeUserValue(kCurvesKey, texts.includeCurves ? QStringLiteral("1") : QStringLiteral("0"));
}

void TTitRepForm::selectFont(QTextEdit *edit)
{
    if (!m_fontPicker)
        return;
    const std::optional<QFont> font = m_fontPicker(edit->currentCharFormat().font(), this);
    if (!font)
        return;
    QTextCharFormat format;
    format.setFont(*font);
    edit->mergeCurrentCharFormat(format);
}

void TTitRepForm::FontSelectClick()
{
    selectFont(RichEdit1);
}

void TTitRepForm::FontSelectEndClick()
{
    selectFont(RichEdit2);
}

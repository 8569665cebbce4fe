#include "bdform.h"

#include "meterbasedevicerun.h"

#include "base/stringcatalog.h"
#include "deviceoutcome/status.h"
#include "meterdb/bdcfile.h"
#include "meterdb/meterbaseimage.h"
#include "records/metertype.h"
#include "base/platform.h"
#include "base/stringcatalog.h"
#include "records/numberformat.h"
#include "records/recordops.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace meterdb;

namespace {

enum Field { FType, FSerial, FYear, FClass, FConstant, FULine, FUPhase, FINom, FI1, FI2 };

const char *const kLabelKeys[10] = {
    "MeterDatabaseFormLabels/DeviceTypeLabel", "MeterDatabaseFormLabels/SerialNumberLabel",
    "MeterDatabaseFormLabels/YearLabel",       "MeterDatabaseFormLabels/ClassLabel",
    "MeterDatabaseFormLabels/ConstLabel",      "MeterDatabaseFormLabels/UlineLabel",
    "MeterDatabaseFormLabels/UphaseLabel",     "MeterDatabaseFormLabels/InomLabel",
    "MeterDatabaseFormLabels/I1Label",         "MeterDatabaseFormLabels/I2Label",
};
const char16_t *const kLabelDefaults[10] = {
    u"Тип прибора:",        u"Зав. номер:",         u"Год выпуска:", u"Класс точности:",    u"Постоянная:",
    u"Ном. лин. напр., В:", u"Ном. фаз. напр., В:", u"Ном. ток, А:", u"Ток перв. обм., А:", u"Ток втор. обм., А:",
};
const char *const kColumnKeys[10] = {
    "MeterDatabaseTable/DeviceType", "MeterDatabaseTable/SerialNumber",  "MeterDatabaseTable/Year",
    "MeterDatabaseTable/Class",      "MeterDatabaseTable/MeterConstant", "MeterDatabaseTable/Ulin",
    "MeterDatabaseTable/Uphase",     "MeterDatabaseTable/Inom",          "MeterDatabaseTable/I1",
    "MeterDatabaseTable/I2",
};
const char16_t *const kColumnDefaults[10] = {
    u"Тип прибора",    u"Зав. номер",     u"Год выпуска", u"Класс", u"Постоянная",
    u"U ном. лин., В", u"U ном. фаз., В", u"I ном., А",   u"I1, А", u"I2, А",
};

bool acceptable(int field, const QString &text)
{
    switch (field) {
    case FType:
        return isTypeTextAcceptable(text);
    case FSerial:
    case FConstant:
        return isDigitsTextAcceptable(text);
    case FClass:
        return isClassTextAcceptable(text);
    default:
        return isNominalTextAcceptable(text);
    }
}

// A spin field's text as a value within its bounds, or nothing.
bool spinTextValid(const QSpinBox *spin)
{
    bool ok = false;
    const int value = spin->text().toInt(&ok);
    return ok && value >= spin->minimum() && value <= spin->maximum();
}

} // namespace

TBdForm::TBdForm(const MeterBaseServices &services, QWidget *parent) : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TBdForm"));
    setWindowTitle(QStringLiteral("База данных поверяемых средств"));
    m_fileFilter = QStringLiteral("База данных счетчиков (*.bdc)");
    m_pickFile = [this](bool save) {
        const QString kind = QStringLiteral("meterdb");
        if (!save)
            return QFileDialog::getOpenFileName(this, QString(), platform::saveFolder(kind), m_fileFilter);
        QString path = QFileDialog::getSaveFileName(this, QString(), platform::saveFolder(kind), m_fileFilter);
        if (path.isEmpty())
            return path;
        if (QFileInfo(path).suffix().isEmpty())
            path += QStringLiteral(".bdc"); // the default extension
        platform::rememberSaveFolder(kind, path);
        return path;
    };
    buildLayout();
    setEditorEnabled(false);
    setBrowseButtons();
}

void TBdForm::buildLayout()
{
    const auto lineEdit = [this](const char *name, int maxLength) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setMaxLength(maxLength);
        edit->installEventFilter(this);
        return edit;
    };
    const auto spin = [this](const char *name, int minimum, int maximum) {
        auto *box = new QSpinBox(this);
        box->setObjectName(QLatin1String(name));
        box->setRange(minimum, maximum);
        box->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
        connect(box, &QSpinBox::editingFinished, this, [this, box] { clampSpin(box); });
        return box;
    };
    Etyp = lineEdit("Etyp", kTypeMaxLength);
    Ezav_num = lineEdit("Ezav_num", kDigitsMaxLength);
    Eyear = spin("Eyear", kFirstYear, lastYear());
    Eclass = lineEdit("Eclass", kClassMaxLength);
    Econst = lineEdit("Econst", kDigitsMaxLength);
    EUnomlin = lineEdit("EUnomlin", kNominalMaxLength);
    EUnomfaz = lineEdit("EUnomfaz", kNominalMaxLength);
    Inom = lineEdit("Inom", kNominalMaxLength);
    I1SpinEdit = spin("I1SpinEdit", kI1Min, kI1Max);
    I2SpinEdit = spin("I2SpinEdit", kI2Min, kI2Max);
    m_fields = {Etyp, Ezav_num, Eyear, Eclass, Econst, EUnomlin, EUnomfaz, Inom, I1SpinEdit, I2SpinEdit};
    for (int f = 0; f < kFields; ++f) {
        if (auto *edit = qobject_cast<QLineEdit *>(m_fields[f]))
            connect(edit, &QLineEdit::textChanged, this, [this, f] { onTextFieldChanged(f); });
        else // the spin's own signal waits for a new value; its text counts
            connect(m_fields[f]->findChild<QLineEdit *>(), &QLineEdit::textChanged, this,
                    [this, f] { onSpinChanged(f); });
        m_labels[f] = new QLabel(QString::fromUtf16(kLabelDefaults[f]), this);
        m_labels[f]->setBuddy(m_fields[f]);
    }
    Etyp->setMinimumWidth(Etyp->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 12);

    const auto button = [this](const char *name, const char16_t *caption, void (TBdForm::*slot)()) {
        auto *b = new QPushButton(QString::fromUtf16(caption), this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    NewButton = button("NewButton", u"Новая запись", &TBdForm::NewButtonClick);
    EditButton = button("EditButton", u"Изменить запись", &TBdForm::EditButtonClick);
    DeleteButton = button("DeleteButton", u"Удалить запись", &TBdForm::DeleteButtonClick);
    ApplyButton = button("ApplyButton", u"Применить", &TBdForm::ApplyButtonClick);
    CancelButton = button("CancelButton", u"Отмена", &TBdForm::CancelButtonClick);
    ReadButton = button("ReadButton", u"Читать из прибора", &TBdForm::ReadButtonClick);
    WriteButton = button("WriteButton", u"Запись в прибор", &TBdForm::WriteButtonClick);
    SaveButton = button("SaveButton", u"Сохранить", &TBdForm::SaveButtonClick);
    LoadButton = button("LoadButton", u"Загрузить", &TBdForm::LoadButtonClick);
    CloseButton = new QPushButton(QStringLiteral("Закрыть"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    CloseButton->setAutoDefault(false);
    connect(CloseButton, &QPushButton::clicked, this, &TBdForm::close);

    ListView1 = new QTableWidget(0, kFields, this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setShowGrid(true);
    ListView1->setSortingEnabled(false);
    ListView1->verticalHeader()->hide();
    ListView1->horizontalHeader()->setHighlightSections(false);
    ListView1->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    ListView1->setWordWrap(false);
    QStringList headers;
    for (const char16_t *caption : kColumnDefaults)
        headers << QString::fromUtf16(caption);
    ListView1->setHorizontalHeaderLabels(headers);
    connect(ListView1, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (m_mode == Mode::Browse)
            fillFieldsFromRow(row);
    });
    connect(ListView1, &QTableWidget::cellDoubleClicked, this, [this] {
        if (EditButton->isEnabled())
            EditButtonClick();
    });

    auto *fields = new QGridLayout;
    for (int f = 0; f < kFields; ++f) {
        const int row = f % 5;
        const int column = (f / 5) * 2;
        fields->addWidget(m_labels[f], row, column);
        fields->addWidget(m_fields[f], row, column + 1);
    }
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);
    auto *editButtons = new QVBoxLayout;
    for (QPushButton *b : {NewButton, EditButton, DeleteButton, ApplyButton, CancelButton})
        editButtons->addWidget(b);
    editButtons->addStretch();
    auto *top = new QHBoxLayout;
    top->addLayout(fields, 1);
    top->addLayout(editButtons);
    auto *bottomButtons = new QHBoxLayout;
    for (QPushButton *b : {ReadButton, WriteButton, SaveButton, LoadButton})
        bottomButtons->addWidget(b);
    bottomButtons->addStretch();
    bottomButtons->addWidget(CloseButton);
    m_applyHint = new QLabel(this);
    m_applyHint->setObjectName(QStringLiteral("ApplyHint"));
    m_applyHint->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_applyHint);
    layout->addWidget(ListView1, 1);
    layout->addLayout(bottomButtons);
    resize(980, 500);
}

QString TBdForm::text(ProgramText id) const
{
    return programText(id, m_services.language ? m_services.language() : 0);
}

void TBdForm::applyStrings(const SectionTexts &texts)
{
    const auto take = [&texts](const char *key) { return texts.text(QLatin1String(key)); };
    if (const QString title = take("Title"); !title.isEmpty())
        setWindowTitle(title);
    for (int f = 0; f < kFields; ++f) {
        if (const QString t = take(kLabelKeys[f]); !t.isEmpty())
            m_labels[f]->setText(t);
        if (const QString t = take(kColumnKeys[f]); !t.isEmpty())
            ListView1->horizontalHeaderItem(f)->setText(t);
    }
    const std::pair<QPushButton *, const char *> buttons[] = {
        {NewButton, "MeterDatabaseFormLabels/NewRecordButtonLabel"},
        {EditButton, "MeterDatabaseFormLabels/EditRecordButtonLabel"},
        {DeleteButton, "MeterDatabaseFormLabels/DeleteRecordButtonLabel"},
        {CancelButton, "MeterDatabaseFormLabels/CancelButtonLabel"},
        {ApplyButton, "MeterDatabaseFormLabels/ApplyButtonLabel"},
        {ReadButton, "MeterDatabaseFormLabels/ReadDeviceButtonLabel"},
        {WriteButton, "MeterDatabaseFormLabels/WriteDeviceButtonLabel"},
        {SaveButton, "MeterDatabaseFormLabels/SaveFileButtonLabel"},
        {LoadButton, "MeterDatabaseFormLabels/LoadFileButtonLabel"},
        {CloseButton, "MeterDatabaseFormLabels/CloseButtonLabel"},
    };
    for (const auto &[b, key] : buttons) {
        if (const QString t = take(key); !t.isEmpty())
            b->setText(t);
    }
    if (const QString t = take("MeterDatabaseFormLabels/LoadBdcLabel"); !t.isEmpty())
        m_fileFilter = t + QStringLiteral(" (*.bdc)");
    updateApply(); // the hint in the language
}

// --- Opening and closing ------------------------------------------------------

void TBdForm::StartEmpty()
{
    replaceList({});
    m_dirty = false;
}

bool TBdForm::LoadBaseFromFile()
{
    const QString path = m_pickFile ? m_pickFile(false) : QString();
    if (path.isEmpty())
        return false;
    MeterList loaded;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    FileIdentity identity;
    const BdcLoad result = loadBdcFile(path, loaded, &identity);
    if (result == BdcLoad::Ok) {
        m_filePath = path;
        m_fileIdentity = identity;
    }
    QApplication::restoreOverrideCursor();
    const auto error = [this](int n) {
        if (m_services.show)
            m_services.show(MessageKind::Error, m_services.message(n));
    };
    switch (result) {
    case BdcLoad::CannotOpen:
        error(25);
        error(27);
        return false;
    case BdcLoad::ReadError:
        error(27);
        return false;
    case BdcLoad::DataError:
        error(26);
        setBrowseButtons(); // the file was read; the list stays as it was
        return false;
    case BdcLoad::Ok:
        break;
    }
    replaceList(loaded);
    m_dirty = false;
    return true;
}

void TBdForm::StartWithDeviceEntries(const MeterList &entries)
{
    replaceList(entries);
    m_dirty = false;
}

bool TBdForm::hasUnsavedEntries() const
{
    return (m_dirty && !m_list.isEmpty()) || m_mode != Mode::Browse;
}

void TBdForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TBdForm::FormActivate()
{
    Eyear->setRange(kFirstYear, lastYear());
    Eyear->setValue(kFirstYear);
    I1SpinEdit->setValue(1);
    I2SpinEdit->setValue(1);
    if (!m_list.isEmpty())
        selectRow(0);
    m_valid.fill(false);
    updateApply();
}

void TBdForm::closeEvent(QCloseEvent *event)
{
    if (m_running) {
        event->ignore();
        return;
    }
    // Typed or changed entries are not dropped without a word.
    if (hasUnsavedEntries() && m_services.confirm && !m_services.confirm(text(ProgramText::UnsavedEntriesClose))) {
        event->ignore();
        return;
    }
    event->accept();
    QDialog::reject();
    m_mode = Mode::Browse;
    replaceList({});
    m_dirty = false;
}

void TBdForm::reject()
{
    close();
}

// --- Fields -----------------------------------------------------------------------

bool TBdForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        for (int f = 0; f < kFields; ++f) {
            if (m_fields[f] == watched)
                if (auto *edit = qobject_cast<QLineEdit *>(watched))
                    m_remembered[f] = edit->text();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TBdForm::onTextFieldChanged(int field)
{
    auto *edit = static_cast<QLineEdit *>(m_fields[field]);
    if (m_reverting || !edit->isEnabled())
        return;
    QString text = edit->text();
    if (field == FType && text != text.toUpper()) {
        const int cursor = edit->cursorPosition();
        edit->setText(text.toUpper()); // checked again by the change it makes
        edit->setCursorPosition(cursor);
        return;
    }
    if (!acceptable(field, text)) {
        m_reverting = true;
        edit->setText(m_remembered[field]);
        m_reverting = false;
        text = m_remembered[field];
    }
    m_remembered[field] = text;
    m_valid[field] = !text.isEmpty();
    updateApply();
}

void TBdForm::onSpinChanged(int field)
{
    m_valid[field] = spinTextValid(static_cast<QSpinBox *>(m_fields[field]));
    updateApply();
}

void TBdForm::clampSpin(QSpinBox *spin)
{
    bool ok = false;
    const int value = spin->text().toInt(&ok);
    if (ok)
        spin->setValue(clampToBounds(value, spin->minimum(), spin->maximum()));
    // The spin puts its corrected text in without a change signal: the
    // field is checked again here.
    const auto field = std::find(m_fields.begin(), m_fields.end(), spin);
    if (field != m_fields.end())
        onSpinChanged(int(field - m_fields.begin()));
}

void TBdForm::setEditorEnabled(bool enabled)
{
    for (QWidget *w : m_fields)
        w->setEnabled(enabled);
    ListView1->setEnabled(!enabled);
}

void TBdForm::clearFields()
{
    m_reverting = true;
    for (QWidget *w : m_fields) {
        if (auto *edit = qobject_cast<QLineEdit *>(w))
            edit->clear();
        else
            static_cast<QSpinBox *>(w)->clear();
    }
    m_reverting = false;
    m_remembered.fill(QString());
    m_valid.fill(false);
}

void TBdForm::fillFieldsFromRow(int row)
{
    if (row < 0 || row >= ListView1->rowCount())
        return;
    m_reverting = true;
    for (int f = 0; f < kFields; ++f) {
        const QString text = ListView1->item(row, f)->text();
        if (auto *edit = qobject_cast<QLineEdit *>(m_fields[f])) {
            edit->setText(text);
            m_remembered[f] = text;
        } else {
            static_cast<QSpinBox *>(m_fields[f])->setValue(text.toInt());
        }
    }
    m_reverting = false;
}

MeterEntry TBdForm::entryFromFields() const
{
    MeterEntry e;
    e.meterType = Etyp->text();
    e.serial = Ezav_num->text().toUInt();
    e.year = std::uint16_t(Eyear->value());
    e.accuracyClass = decimalValue(Eclass->text()).value_or(0);
    e.constant = Econst->text().toUInt();
    e.uLineNom = decimalValue(EUnomlin->text()).value_or(0);
    e.uPhaseNom = decimalValue(EUnomfaz->text()).value_or(0);
    e.iNom = decimalValue(Inom->text()).value_or(0);
    e.i1 = std::uint16_t(I1SpinEdit->value());
    e.i2 = std::uint16_t(I2SpinEdit->value());
    return e;
}

void TBdForm::updateApply()
{
    QStringList wrong;
    if (m_mode != Mode::Browse) {
        ApplyButton->setEnabled(std::all_of(m_valid.begin(), m_valid.end(), [](bool v) { return v; }));
        for (int f = 0; f < kFields; ++f) {
            if (!m_valid[f])
                wrong << m_labels[f]->text().remove(QLatin1Char('&')).remove(QLatin1Char(':')).trimmed();
        }
    }
    // Which fields keep "Apply" disabled, under the fields and on the button.
    const QString hint =
        wrong.isEmpty() ? QString() : text(ProgramText::FieldsToCorrect).arg(wrong.join(QStringLiteral(", ")));
    if (m_applyHint)
        m_applyHint->setText(hint);
    ApplyButton->setToolTip(hint);
}

// --- List and view ------------------------------------------------------------------

void TBdForm::setBrowseButtons()
{
    const int count = int(m_list.size());
    NewButton->setEnabled(count < kMaxEntries);
    EditButton->setEnabled(count > 0);
    DeleteButton->setEnabled(count > 0);
    WriteButton->setEnabled(count == kMaxEntries);
    ReadButton->setEnabled(true);
    SaveButton->setEnabled(true);
    LoadButton->setEnabled(true);
    ApplyButton->setEnabled(false);
    CancelButton->setEnabled(false);
}

void TBdForm::replaceList(const MeterList &list)
{
    m_list = list;
    m_paddedSerial = QVector<bool>(list.size(), false);
    m_mode = Mode::Browse;
    setEditorEnabled(false);
    rebuildView();
    if (m_list.isEmpty())
        clearFields();
    else
        selectRow(0);
    setBrowseButtons();
}

void TBdForm::rebuildView()
{
    ListView1->setRowCount(int(m_list.size()));
    for (int row = 0; row < m_list.size(); ++row)
        writeRow(row);
}

void TBdForm::writeRow(int row)
{
    const MeterEntry &e = m_list[row];
    const QLocale locale;
    const QString cells[kFields] = {
        VisibleMeterType(e.meterType),
        m_paddedSerial[row] ? QStringLiteral("%1").arg(e.serial, 9, 10, QLatin1Char('0')) : QString::number(e.serial),
        QString::number(e.year),
        formatGeneral(e.accuracyClass, locale),
        QString::number(e.constant),
        formatGeneral(e.uLineNom, locale),
        formatGeneral(e.uPhaseNom, locale),
        formatGeneral(e.iNom, locale),
        QString::number(e.i1),
        QString::number(e.i2),
    };
    for (int f = 0; f < kFields; ++f) {
        auto *item = ListView1->item(row, f);
        if (!item) {
            item = new QTableWidgetItem;
            ListView1->setItem(row, f, item);
        }
        item->setText(cells[f]);
    }
}

void TBdForm::selectRow(int row)
{
    if (row < 0 || row >= ListView1->rowCount())
        return;
    ListView1->setCurrentCell(row, 0);
    ListView1->selectRow(row);
    fillFieldsFromRow(row);
}

int TBdForm::selectedRow() const
{
    return ListView1->currentRow();
}

void TBdForm::leaveEditor()
{
    m_mode = Mode::Browse;
    setEditorEnabled(false);
    m_valid.fill(false);
    updateApply();
}

// --- Editing --------------------------------------------------------------------------

void TBdForm::NewButtonClick()
{
    if (m_list.size() >= kMaxEntries)
        return;
    for (QPushButton *b :
         {NewButton, EditButton, DeleteButton, ApplyButton, ReadButton, WriteButton, SaveButton, LoadButton})
        b->setEnabled(false);
    CancelButton->setEnabled(true);
    m_mode = Mode::NewEntry;
    setEditorEnabled(true);
    clearFields();
    updateApply();
    Etyp->setFocus();
}

void TBdForm::EditButtonClick()
{
    if (m_list.isEmpty() || selectedRow() < 0)
        return;
    for (QPushButton *b : {NewButton, EditButton, DeleteButton, ReadButton, WriteButton, SaveButton, LoadButton})
        b->setEnabled(false);
    m_mode = Mode::ChangeEntry;
    setEditorEnabled(true);
    for (int f = 0; f < kFields; ++f) {
        if (auto *edit = qobject_cast<QLineEdit *>(m_fields[f]))
            m_remembered[f] = edit->text();
    }
    m_valid.fill(true);
    updateApply();
    CancelButton->setEnabled(true);
    Etyp->setFocus();
}

void TBdForm::warnUnstorableType(int entry, const QString &characters)
{
    if (!m_services.show)
        return;
    const QString type = entry >= 0 && entry < m_list.size() ? m_list[entry].meterType : Etyp->text();
    m_services.show(MessageKind::Warning,
                    text(ProgramText::UnstorableMeterType).arg(VisibleMeterType(type), VisibleMeterType(characters)));
}

void TBdForm::ApplyButtonClick()
{
    if (m_mode == Mode::Browse || !ApplyButton->isEnabled())
        return;
    const MeterEntry entry = entryFromFields();
    // A type the instrument cannot hold would be lost on saving or writing.
    if (const QString bad = UnstorableMeterTypeCharacters(entry.meterType); !bad.isEmpty()) {
        warnUnstorableType(-1, bad);
        Etyp->setFocus();
        return;
    }
    if (indexOfEntry(m_list, entry) >= 0) {
        if (m_services.show)
            m_services.show(MessageKind::Warning, m_services.message(23));
        // Still editing, with what was typed; the list and the files are
        // open again.
        for (QWidget *w : std::initializer_list<QWidget *>{ListView1, SaveButton, LoadButton})
            w->setEnabled(true);
        return;
    }
    int row = selectedRow();
    if (m_mode == Mode::NewEntry) {
        m_list.append(entry);
        m_paddedSerial.append(true);
        row = int(m_list.size()) - 1;
        ListView1->setRowCount(int(m_list.size()));
    } else {
        m_list[row] = entry;
        m_paddedSerial[row] = true;
    }
    writeRow(row);
    m_dirty = true;
    leaveEditor();
    selectRow(row);
    setBrowseButtons();
}

void TBdForm::DeleteButtonClick()
{
    const int row = selectedRow();
    if (row < 0 || row >= m_list.size())
        return;
    if (!m_services.confirm || !m_services.confirm(m_services.message(24)))
        return;
    m_list.removeAt(row);
    m_paddedSerial.removeAt(row);
    ListView1->removeRow(row);
    m_dirty = true;
    if (m_list.isEmpty())
        clearFields();
    else
        selectRow(std::min(row, int(m_list.size()) - 1));
    setBrowseButtons();
}

void TBdForm::CancelButtonClick()
{
    leaveEditor();
    if (m_list.isEmpty())
        clearFields();
    else
        selectRow(std::max(0, selectedRow()));
    setBrowseButtons();
}

// --- Files and the instrument ---------------------------------------------------------

void TBdForm::SaveButtonClick()
{
    const QString path = m_pickFile ? m_pickFile(true) : QString();
    if (path.isEmpty())
        return;
    EncodedImage encoded;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    FileIdentity identity = path == m_filePath ? m_fileIdentity : FileIdentity();
    const BdcSave result = saveBdcFile(path, m_list, &encoded, &identity);
    QApplication::restoreOverrideCursor();
    if (result == BdcSave::ChangedMeanwhile) {
        // The entries shown stay as edited: loading the file shows the
        // other workstation's list.
        if (m_services.show)
            m_services.show(MessageKind::Warning, text(ProgramText::ChangedOnAnotherWorkstation));
    } else if (result == BdcSave::Unencodable) {
        warnUnstorableType(encoded.entryIndex, encoded.badCharacters);
    } else if (result == BdcSave::CannotWrite) {
        if (m_services.show)
            m_services.show(MessageKind::Error, m_services.message(25));
    } else {
        m_dirty = false;
        m_filePath = path;
        m_fileIdentity = identity;
    }
}

bool TBdForm::mayReplaceEntries()
{
    return !hasUnsavedEntries() || !m_services.confirm || m_services.confirm(text(ProgramText::UnsavedEntriesReplace));
}

void TBdForm::LoadButtonClick()
{
    if (mayReplaceEntries())
        LoadBaseFromFile();
}

void TBdForm::ReadButtonClick()
{
    if (m_running || !mayReplaceEntries())
        return;
    m_running = true;
    setEnabled(false);
    MeterList read;
    const device::Status rc = MeterBaseDeviceRun(m_services).read(m_connection, read);
    setEnabled(true);
    m_running = false;
    if (rc == device::Status::Ok) {
        replaceList(read); // exactly the ten entries read
        m_dirty = false;
    } else {
        setBrowseButtons(); // the entries are as before
    }
}

void TBdForm::WriteButtonClick()
{
    if (m_running || m_list.size() != kMaxEntries)
        return;
    if (!m_services.askPassword || !m_services.askPassword())
        return;
    // Nothing is sent unless the whole image is ready.
    const EncodedImage encoded = encodeImage(m_list, true);
    if (!encoded.ok()) {
        if (encoded.failure == EncodeFailure::MeterType)
            warnUnstorableType(encoded.entryIndex, encoded.badCharacters);
        return;
    }
    QPushButton *const frozen[] = {NewButton,    EditButton,  DeleteButton, ApplyButton,
                                   CancelButton, WriteButton, ReadButton};
    bool states[std::size(frozen)];
    for (std::size_t i = 0; i < std::size(frozen); ++i) {
        states[i] = frozen[i]->isEnabled();
        frozen[i]->setEnabled(false);
    }
    m_running = true;
    setEnabled(false);
    const device::Status rc = MeterBaseDeviceRun(m_services).write(m_connection, encoded.area);
    setEnabled(true);
    m_running = false;
    for (std::size_t i = 0; i < std::size(frozen); ++i)
        frozen[i]->setEnabled(states[i]);
    if (rc == device::Status::Ok)
        m_dirty = false;
}

#include "scenes.h"

#include "base/ui/helpcommands.h"
#include "device/ui/contentform.h"
#include "device/ui/devicecommands.h"
#include "device/ui/frmcom.h"
#include "mainwindow/korvelform.h"
#include "meterdb/ui/bdform.h"
#include "meterdb/ui/meterbasecommands.h"
#include "records/recordstore.h"
#include "records/ui/findmeterdialog.h"
#include "records/ui/folderpanel.h"
#include "views/ui/recordoperations.h"
#include "reports/ui/titrepform.h"
#include "views/ui/recordviews.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFontMetrics>
#include <QImage>
#include <QRadioButton>
#include <QPainter>
#include <QLineEdit>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeView>

#include <cstdio>

namespace {

// Lets the windows lay out and paint.
void settle(int milliseconds = 200)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void closeDialog(QWidget *widget, bool accept)
{
    if (auto *dialog = qobject_cast<QDialog *>(widget))
        accept ? dialog->accept() : dialog->reject();
    else
        widget->close();
}

// A virtual X server has no window manager, so the pictures get a plain
// title bar with the window's caption, which the manuals refer to.
QImage withTitleBar(const QImage &content, const QString &title)
{
    QFont font = QApplication::font();
    font.setBold(true);
    const int barHeight = QFontMetrics(font).height() + 10;
    QImage image(content.width() + 2, content.height() + barHeight + 1, QImage::Format_RGB32);
    image.fill(QColor(0x70, 0x70, 0x70)); // the frame
    QPainter painter(&image);
    painter.fillRect(QRect(1, 1, content.width(), barHeight - 1), QColor(0xdc, 0xdc, 0xdc));
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(10, 1, content.width() - 20, barHeight - 1), Qt::AlignVCenter | Qt::AlignLeft, title);
    painter.drawImage(1, barHeight, content);
    painter.end();
    return image;
}

} // namespace

ScreenshotScenes::ScreenshotScenes(TKorvelForm &form, SceneInputs inputs) : m_form(form), m_in(std::move(inputs)) {}

void ScreenshotScenes::runAll()
{
    mainWindow();
    communicationSettings();
    displayedColumns();
    archiveContent();
    meterEditing();
    protocol();
    meterDatabase();
    findMeter();
    aboutBox();
}

void ScreenshotScenes::save(QWidget *widget, const QString &name)
{
    const QString path =
        m_in.outFolder + QLatin1Char('/') + name + QLatin1Char('-') + m_in.suffix + QStringLiteral(".png");
    // Screen pictures hold few colours: 8-bit PNGs without dithering keep
    // them sharp and small.
    QImage image = withTitleBar(widget->grab().toImage(), widget->windowTitle());
    image = image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    if (image.save(path, "PNG", 0)) {
        std::printf("%s\n", qPrintable(path));
    } else {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        m_failures << name;
    }
}

void ScreenshotScenes::expectAndSave(const char *className, const QString &name, bool accept, int settleTicks)
{
    m_catcher.expect(
        className,
        [this, name, accept](QWidget *dialog) {
            save(dialog, name);
            closeDialog(dialog, accept);
        },
        settleTicks);
}

void ScreenshotScenes::run(Command command)
{
    const QString actionName = QLatin1String(commandRow(command).objectName);
    QAction *action = m_form.action(command);
    if (!action || !action->isEnabled()) {
        std::fprintf(stderr, "command %s is not available\n", qPrintable(actionName));
        m_catcher.clear();
        m_failures << actionName;
        return;
    }
    action->trigger();
}

void ScreenshotScenes::checkAllSeen(const QString &scene)
{
    if (m_catcher.pending() == 0)
        return;
    std::fprintf(stderr, "%s: %d dialog(s) did not open\n", qPrintable(scene), m_catcher.pending());
    m_catcher.clear();
    m_failures << scene;
}

void ScreenshotScenes::mainWindow()
{
    RecordViews &views = *m_form.views();
    const QString folder = m_form.store().folderPath(m_in.folder.split(QLatin1Char('/'), Qt::SkipEmptyParts));
    if (!m_form.folderPanel()->selectFolder(folder)) {
        std::fprintf(stderr, "no folder %s in the tree\n", qPrintable(folder));
        m_failures << QStringLiteral("main-window");
        return;
    }
    m_form.folderPanel()->expandAll();
    // The three-phase four-wire meter with the most verifications: the
    // richest grid.
    const QVector<ListedMeter> &meters = m_form.store().meters();
    int best = -1;
    for (int i = 0; i < meters.size(); ++i) {
        const ListedMeter &m = meters[i];
        if (m.verificationCount == 0 || (m.scheme & 7) != SchemeThreePhaseFourWire)
            continue;
        if (best < 0 || m.verificationCount > meters[best].verificationCount)
            best = i;
    }
    if (best >= 0)
        views.SelectMeter(views.MeterRowOf(best));
    views.SelectVerification(0);
    views.SetChecked(0, true);
    if (views.powerList()->model() && views.powerList()->model()->rowCount() > 1)
        views.SetChecked(1, true);
    settle();
    save(&m_form, QStringLiteral("main-window"));
}

void ScreenshotScenes::communicationSettings()
{
    // With the serial port chosen, as for the emulator.
    m_catcher.expect("TFrmCom", [this](QWidget *dialog) {
        auto *form = static_cast<TFrmCom *>(dialog);
        form->Preset(1, form->PortIndex(), form->RateIndex(), form->TypedPortPath());
        settle(100);
        save(form, QStringLiteral("communication"));
        form->reject();
    });
    run(Command::CommunicationSetup);
    checkAllSeen(QStringLiteral("communication"));
}

void ScreenshotScenes::displayedColumns()
{
    expectAndSave("TVParam", QStringLiteral("columns"));
    run(Command::ViewParameters);
    checkAllSeen(QStringLiteral("columns"));
}

void ScreenshotScenes::archiveContent()
{
    auto *commands = m_form.findChild<DeviceCommands *>(QStringLiteral("DeviceCommands"));
    if (!commands)
        return;
    // The list scrolled to its end, where stored and new verifications
    // meet, with the new ones ticked; then they are read.
    m_catcher.expect(
        "TContForm",
        [this](QWidget *dialog) {
            auto *form = static_cast<TContForm *>(dialog);
            form->NotStoredButtonClick();
            if (auto *list = form->findChild<QTreeWidget *>(QStringLiteral("ContentListView")))
                list->scrollToBottom();
            settle(100);
            save(form, QStringLiteral("archive-content"));
            form->ReadCalibrationButtonClick();
        },
        6);
    QEventLoop finished;
    QObject::connect(commands, &DeviceCommands::runFinished, &finished, &QEventLoop::quit);
    run(Command::ReadArchive);
    if (commands->isRunning())
        finished.exec();
    checkAllSeen(QStringLiteral("archive-content"));
    settle();
    // The status line tells how the run ended; the lists show the new files.
    save(&m_form, QStringLiteral("after-reading"));
}

void ScreenshotScenes::meterEditing()
{
    auto *operations = m_form.findChild<RecordOperations *>();
    if (!operations)
        return;
    // "Edit" on the meter list: the password first (empty, accepted), then
    // the meter's data.
    expectAndSave("TPswdEnterForm", QStringLiteral("password"), true);
    expectAndSave("TInfoForm", QStringLiteral("meter-editor"));
    operations->N7Click();
    checkAllSeen(QStringLiteral("meter-editor"));
    // "Change constant" on the power list.
    m_catcher.expect("TPswdEnterForm", [](QWidget *dialog) { closeDialog(dialog, true); });
    expectAndSave("TPostForm", QStringLiteral("constant-editor"));
    operations->N9Click();
    checkAllSeen(QStringLiteral("constant-editor"));
}

void ScreenshotScenes::protocol()
{
    const QString title = m_in.protocolTitle;
    m_catcher.expect("TTitRepForm", [this, title](QWidget *dialog) {
        auto *editor = static_cast<TTitRepForm *>(dialog);
        // The editor keeps the texts of the last protocol: replaced whole,
        // in the editor's own character format.
        auto *edit = editor->findChild<QTextEdit *>(QStringLiteral("RichEdit1"));
        if (!edit)
            return;
        edit->setFocus();
        QTextCursor cursor = edit->textCursor();
        cursor.select(QTextCursor::Document);
        cursor.insertText(title);
        edit->setTextCursor(cursor);
        settle(100);
        save(editor, QStringLiteral("protocol-title"));
        editor->accept();
    });
    // The preview draws its pages after it shows: a size that shows a page
    // readably, then time to draw.
    m_catcher.expect("TReportPreview", [this](QWidget *dialog) {
        dialog->resize(1000, 900);
        settle(400);
        save(dialog, QStringLiteral("protocol-preview"));
        static_cast<QDialog *>(dialog)->reject();
    });
    run(Command::CreateReport);
    checkAllSeen(QStringLiteral("protocol"));
    settle();
}

void ScreenshotScenes::meterDatabase()
{
    auto *commands = m_form.findChild<MeterBaseCommands *>(QStringLiteral("MeterBaseCommands"));
    if (!commands || !commands->form())
        return;
    const QString file = m_in.meterDatabase;
    commands->form()->setFilePicker([file](bool save) { return save ? QString() : file; });
    expectAndSave("TBdForm", QStringLiteral("meter-database"), false, 5);
    run(Command::LoadBaseFromFile);
    checkAllSeen(QStringLiteral("meter-database"));
}

void ScreenshotScenes::findMeter()
{
    run(Command::FindMeter);
    auto *dialog = m_form.findChild<FindMeterDialog *>();
    if (!dialog || !dialog->isVisible()) {
        m_failures << QStringLiteral("find-meter");
        return;
    }
    dialog->setSerialText(m_in.findSerial);
    dialog->FindButtonClick();
    settle();
    save(dialog, QStringLiteral("find-meter"));
    dialog->close();
}

void ScreenshotScenes::aboutBox()
{
    expectAndSave("TAboutBox", QStringLiteral("about"));
    run(Command::About);
    checkAllSeen(QStringLiteral("about"));
}

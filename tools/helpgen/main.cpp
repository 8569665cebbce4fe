// vardosk-helpgen IN.md OUT.pdf: renders a user manual written in Markdown
// into an A4 PDF with the Liberation fonts the program uses on screen, with
// a table of contents after the title and the pictures the manual shows
// (paths relative to the manual's folder). A picture that cannot be loaded
// fails the rendering: no PDF is written.
#include "contents.h"
#include "images.h"
#include "documentstyle.h"

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: vardosk-helpgen IN.md OUT.pdf\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    const QString markdown = QString::fromUtf8(in.readAll());

    QTextDocument document;
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(10.5);
    document.setDefaultFont(font);
    document.setMarkdown(markdown);
    const QStringList missing = loadImages(document, QFileInfo(in.fileName()).absolutePath());
    if (!missing.isEmpty()) {
        for (const QString &name : missing)
            std::fprintf(stderr, "%s: cannot load the image %s\n", argv[1], qPrintable(name));
        QFile::remove(QString::fromLocal8Bit(argv[2])); // no stale manual stays behind
        return 1;
    }

    QPdfWriter pdf(QString::fromLocal8Bit(argv[2]));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(20, 18, 20, 18), QPageLayout::Millimeter);
    pdf.setResolution(300);
    pdf.setTitle(markdown.section(QLatin1Char('\n'), 0, 0).remove(QLatin1Char('#')).trimmed());
    pdf.setCreator(QStringLiteral("vardosk-helpgen"));

    styleDocument(document);
    fitImages(document, pdf);
    insertContents(document, pdf);
    document.print(&pdf);
    return 0;
}

#include "images.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPagedPaintDevice>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <cmath>

namespace {

struct ImageSpan {
    int position;
    int length;
    QTextImageFormat format;
};

QList<ImageSpan> imageSpans(const QTextDocument &document)
{
    QList<ImageSpan> spans;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && fragment.charFormat().isImageFormat())
                spans.append({fragment.position(), fragment.length(), fragment.charFormat().toImageFormat()});
        }
    }
    return spans;
}

// The resolution the document's units are measured in: images and margins
// are scaled from it to the printing device.
qreal documentDpi()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? std::round(screen->logicalDotsPerInchX()) : 96;
}

} // namespace

QStringList loadImages(QTextDocument &document, const QString &baseFolder)
{
    QStringList missing;
    for (const ImageSpan &span : imageSpans(document)) {
        const QString name = span.format.name();
        const QUrl url(name);
        QImage image;
        // Only files beside the manual: no URLs, no absolute paths.
        if (url.scheme().isEmpty() && !name.isEmpty() && QDir::isRelativePath(name))
            image.load(QDir(baseFolder).filePath(name));
        if (image.isNull()) {
            if (!missing.contains(name))
                missing << name;
            continue;
        }
        document.addResource(QTextDocument::ImageResource, url, image);
    }
    return missing;
}

void fitImages(QTextDocument &document, QPagedPaintDevice &device)
{
    // The text's width in document units: the device's width less the two
    // margins of 2 cm that printing puts around the text.
    const qreal dpi = documentDpi();
    const qreal margin = int((2 / 2.54) * dpi);
    const qreal textWidth = device.width() * dpi / device.logicalDpiX() - 2 * margin;
    for (const ImageSpan &span : imageSpans(document)) {
        const QImage image = document.resource(QTextDocument::ImageResource, QUrl(span.format.name())).value<QImage>();
        if (image.isNull() || image.width() <= textWidth)
            continue;
        QTextImageFormat format = span.format;
        format.setWidth(textWidth);
        format.setHeight(textWidth * image.height() / image.width());
        QTextCursor cursor(&document);
        cursor.setPosition(span.position);
        cursor.setPosition(span.position + span.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
}

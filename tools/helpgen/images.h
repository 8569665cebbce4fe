// The pictures of a rendered manual: Markdown images ("![caption](path)")
// are loaded from files beside the manual and drawn no wider than the text.
#pragma once

#include <QString>
#include <QStringList>

class QPagedPaintDevice;
class QTextDocument;

// Loads every image the document refers to, relative to `baseFolder`, into
// the document's resources. Returns the names of the images that could not
// be loaded (missing, unreadable, or not a local relative path); nothing is
// drawn for those, so the caller refuses the document.
QStringList loadImages(QTextDocument &document, const QString &baseFolder);

// Gives every image wider than the printed text (on `device`, with the 2 cm
// margins the document's printing adds) the text's width, keeping its
// proportions; narrower images keep their size at the screen's resolution.
void fitImages(QTextDocument &document, QPagedPaintDevice &device);

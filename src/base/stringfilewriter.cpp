#include "stringfilewriter.h"

#include "stringdocument.h"

#include <QSaveFile>
#include <QXmlStreamWriter>

#include <memory>
#include <vector>

namespace {

// The element tree to write: every node keeps its children in the order
// they were first named, and items carry their two texts.
struct WriteNode {
    QString name;
    bool isItem = false;
    QString rus;
    QString eng;
    bool hasValue = false; // plain character content, no Text/Rus/Eng
    QString value;
    std::vector<std::unique_ptr<WriteNode>> children;

    WriteNode *child(const QString &childName)
    {
        for (auto &c : children) {
            if (c->name == childName)
                return c.get();
        }
        children.push_back(std::make_unique<WriteNode>());
        children.back()->name = childName;
        return children.back().get();
    }
};

void placeItem(WriteNode &root, const CatalogItem &item)
{
    WriteNode *node = root.child(item.section);
    for (const QString &name : item.path.split(QLatin1Char('/')))
        node = node->child(name);
    if (node->isItem)
        return; // an item read twice is written once
    node->isItem = true;
    node->rus = item.rus;
    node->eng = item.eng;
}

void writeNode(QXmlStreamWriter &xml, const WriteNode &node)
{
    if (node.hasValue) {
        xml.writeTextElement(node.name, node.value);
        return;
    }
    xml.writeStartElement(node.name);
    if (node.isItem) {
        xml.writeStartElement(QStringLiteral("Text"));
        xml.writeTextElement(QStringLiteral("Rus"), node.rus);
        xml.writeTextElement(QStringLiteral("Eng"), node.eng);
        xml.writeEndElement();
    }
    for (const auto &c : node.children)
        writeNode(xml, *c);
    xml.writeEndElement();
}

} // namespace

quint16 catalogSectionChecksum(const QVector<CatalogItem> &sectionItems)
{
    quint16 running = 0;
    for (const CatalogItem &item : sectionItems)
        running = feedStringChecksum(feedStringChecksum(running, item.rus), item.eng);
    return running;
}

QByteArray buildStringFile(const QVector<CatalogItem> &items, const QVector<CatalogItem> &extraElements)
{
    WriteNode root;
    root.name = QStringLiteral("Settings");
    QStringList sections;
    for (const CatalogItem &item : items) {
        if (!sections.contains(item.section))
            sections.append(item.section);
        placeItem(root, item);
    }
    for (const CatalogItem &item : extraElements)
        placeItem(root, item);

    // The checksum goes last into every section that has read items.
    for (const QString &section : sections) {
        QVector<CatalogItem> sectionItems;
        for (const CatalogItem &item : items) {
            if (item.section == section)
                sectionItems.append(item);
        }
        // StatusCode/Text holds the number directly, without Rus and Eng.
        WriteNode *text = root.child(section)->child(QStringLiteral("StatusCode"))->child(QStringLiteral("Text"));
        text->hasValue = true;
        text->value = QString::number(catalogSectionChecksum(sectionItems));
    }

    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    writeNode(xml, root);
    xml.writeEndDocument();
    return out;
}

bool writeStringFile(const QString &filePath, const QVector<CatalogItem> &items,
                     const QVector<CatalogItem> &extraElements, QString *error)
{
    const QByteArray bytes = buildStringFile(items, extraElements);
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

#include "stringdocument.h"

#include "base/checksum.h"
#include "stringcatalog.h"

#include <QFile>
#include <QHash>
#include <QStringTokenizer>
#include <QXmlStreamReader>

#include <vector>

namespace {

// The string file is a few tens of kilobytes; anything far larger is not a
// string file and is refused rather than parsed.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

// Deepest nesting accepted: the deepest item of the program sits eight
// levels below the document; the limit only guards against absurd files.
constexpr int kMaxDepth = 64;

} // namespace

quint16 feedStringChecksum(quint16 running, const QString &text)
{
    std::uint16_t reg = running;
    for (const QChar unit : text)
        reg = crc16::shiftByte(reg, static_cast<std::uint8_t>(unit.unicode() & 0xFFu));
    return reg;
}

QString SectionTexts::text(const QString &path) const
{
    return texts.value(path);
}

// One element of the document: its name, the character data directly inside
// it (kept only while it has no element children: the text of an element
// that has them is never read), whether it has element children, and those
// children in file order.
struct StringDocument::Node {
    QString name;
    QString text;
    bool hasElementChildren = false;
    std::vector<std::unique_ptr<Node>> children;

    // The first child element of that name, or nullptr.
    const Node *child(QStringView childName) const
    {
        for (const auto &c : children) {
            if (c->name == childName)
                return c.get();
        }
        return nullptr;
    }
};

StringDocument::StringDocument(std::unique_ptr<Node> root) : root_(std::move(root)) {}

StringDocument::~StringDocument() = default;

std::unique_ptr<StringDocument> StringDocument::load(const QString &filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    if (file.size() > kMaxFileSize)
        return nullptr;
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (bytes.size() > kMaxFileSize || file.error() != QFileDevice::NoError)
        return nullptr;
    return fromBytes(bytes);
}

std::unique_ptr<StringDocument> StringDocument::fromBytes(const QByteArray &xml)
{
    QXmlStreamReader reader(xml);
    std::unique_ptr<Node> root;
    std::vector<Node *> open; // path from the root to the current element
    // Every distinct element name once, shared by the nodes that carry it
    // (a string file repeats a handful of names, Text, Rus and Eng above
    // all). A key views the characters of its own value, which stay where
    // they are for as long as the value is in the table.
    QHash<QStringView, QString> names;

    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::StartElement: {
            if (static_cast<int>(open.size()) >= kMaxDepth)
                return nullptr;
            auto node = std::make_unique<Node>();
            const QStringView name = reader.name();
            auto known = names.constFind(name);
            if (known == names.cend()) {
                const QString copy = name.toString();
                known = names.insert(QStringView(copy), copy);
            }
            node->name = known.value();
            Node *raw = node.get();
            if (open.empty()) {
                if (root)
                    return nullptr; // a second root element
                root = std::move(node);
            } else {
                Node *parent = open.back();
                if (!parent->hasElementChildren) {
                    parent->hasElementChildren = true;
                    parent->text = QString();
                }
                parent->children.push_back(std::move(node));
            }
            open.push_back(raw);
            break;
        }
        case QXmlStreamReader::EndElement:
            if (!open.empty())
                open.pop_back();
            break;
        case QXmlStreamReader::Characters:
            if (!open.empty() && !open.back()->hasElementChildren)
                open.back()->text += reader.text();
            break;
        default:
            break;
        }
    }
    if (reader.hasError() || !root)
        return nullptr;
    return std::unique_ptr<StringDocument>(new StringDocument(std::move(root)));
}

QString StringDocument::rootName() const
{
    return root_->name;
}

const StringDocument::Node *StringDocument::itemText(const QString &section, const QString &path) const
{
    const Node *node = root_->child(section);
    for (const QStringView name : qTokenize(path, QLatin1Char('/'))) {
        if (!node)
            return nullptr;
        node = node->child(name);
    }
    return node ? node->child(QStringLiteral("Text")) : nullptr;
}

QString StringDocument::ReadText(int language, quint16 &running, const QString &section, const QString &path) const
{
    const Node *text = itemText(section, path);
    if (!text)
        return QString();
    const Node *rus = text->child(QStringLiteral("Rus"));
    const Node *eng = text->child(QStringLiteral("Eng"));
    if ((rus && rus->hasElementChildren) || (eng && eng->hasElementChildren)) {
        // Not readable as text: the item is empty and the section's running
        // value starts over, so the section can only pass by coincidence.
        running = 0;
        return QString();
    }
    const QString rusText = rus ? rus->text : QString();
    const QString engText = eng ? eng->text : QString();
    running = feedStringChecksum(feedStringChecksum(running, rusText), engText);
    return language == 0 ? rusText : engText;
}

QString StringDocument::lookup(int language, const QString &section, const QString &path) const
{
    quint16 unused = 0;
    return ReadText(language, unused, section, path);
}

SectionTexts StringDocument::readSection(const QString &section, int language) const
{
    QStringList paths;
    for (const CatalogItem &item : catalogSection(section))
        paths.append(item.path);
    SectionTexts result = readSection(section, paths, language);
    // The second names some items carry feed no checksum, but a reader that
    // takes the section's texts must find them as the key lookup does (the
    // single-phase scheme line of the protocol is one).
    for (const CatalogItem &extra : catalogExtraElements()) {
        if (extra.section == section && !result.texts.contains(extra.path))
            result.texts.insert(extra.path, lookup(language, section, extra.path));
    }
    return result;
}

SectionTexts StringDocument::readSection(const QString &section, const QStringList &paths, int language) const
{
    SectionTexts result;
    result.section = section;
    quint16 running = 0;
    for (const QString &path : paths)
        result.texts.insert(path, ReadText(language, running, section, path));
    result.ok = statusCodeMatches(section, running);
    return result;
}

bool StringDocument::statusCodeMatches(const QString &section, quint16 running) const
{
    const Node *sectionNode = root_->child(section);
    const Node *status = sectionNode ? sectionNode->child(QStringLiteral("StatusCode")) : nullptr;
    const Node *text = status ? status->child(QStringLiteral("Text")) : nullptr;
    if (!text || text->hasElementChildren)
        return false;
    const QString digits = text->text.trimmed();
    if (digits.isEmpty() || digits.size() > 18)
        return false;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    const qulonglong value = digits.toULongLong();
    return value <= 0xFFFFu && value == running;
}

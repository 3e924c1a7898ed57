#include "platform/system/HtmlDocument.h"

#include <QList>

#include <libxml/HTMLparser.h>
#include <libxml/SAX2.h>
#include <libxml/encoding.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>

#include <climits>
#include <vector>

namespace {

// Where a cell's text lies in the text of all cells.
struct CellRange {
    qint32 start = 0;
    qint32 end = 0;
};

} // namespace

struct HtmlDocument::Cells {
    // The text inside the cells, in document order: each cell's text is a range of it.
    QString text;
    QList<CellRange> ranges;
};

namespace {

// Reads a document through the tree builder's own SAX handlers, so that the
// elements are those of libxml2's tree (their names, and where its depth limit
// stops the document), while the cells' texts are taken as the text arrives
// and whatever the parser has left behind is freed: the children of a closed
// element and its earlier siblings are never looked at again.
struct Reader {
    QByteArray tag;
    xmlSAXHandler builder{}; // the tree builder's handlers
    QString text;
    QList<CellRange>* ranges = nullptr;
    std::vector<std::pair<xmlNodePtr, qsizetype>> open; // the cells open now, innermost last

    static Reader& of(void* context) {
        return *static_cast<Reader*>(static_cast<htmlParserCtxtPtr>(context)->_private);
    }
    static htmlParserCtxtPtr parser(void* context) { return static_cast<htmlParserCtxtPtr>(context); }

    qint32 position() const { return qint32(text.size()); }

    static void startElement(void* context, const xmlChar* name, const xmlChar** attributes) {
        Reader& reader = of(context);
        xmlNodePtr parent = parser(context)->node;
        xmlNodePtr lastBefore = parent ? parent->last : nullptr;
        reader.builder.startElement(context, name, attributes);
        xmlNodePtr current = parser(context)->node;
        const bool entered = current != parent && current != nullptr;
        // Past the parser's depth limit an element is added without being entered, and parsing stops.
        xmlNodePtr made = entered ? current : parent && parent->last != lastBefore ? parent->last : nullptr;
        // The element's name as the tree has it ("t:td" is a "td" there).
        if (!made || made->type != XML_ELEMENT_NODE || !made->name ||
            xmlStrcasecmp(made->name, reinterpret_cast<const xmlChar*>(reader.tag.constData())) != 0)
            return;
        reader.ranges->append({reader.position(), reader.position()});
        if (entered)
            reader.open.emplace_back(current, reader.ranges->size() - 1);
    }

    static void endElement(void* context, const xmlChar* name) {
        Reader& reader = of(context);
        xmlNodePtr closing = parser(context)->node;
        reader.builder.endElement(context, name);
        if (!closing)
            return;
        if (!reader.open.empty() && reader.open.back().first == closing) {
            (*reader.ranges)[reader.open.back().second].end = reader.position();
            reader.open.pop_back();
        }
        // The parser reads no more of the tree than the element it is in and that element's last
        // child: the closed element's own children and its earlier siblings are done with.
        if (closing->children) {
            xmlFreeNodeList(closing->children);
            closing->children = closing->last = nullptr;
        }
        xmlNodePtr parent = closing->parent;
        if (parent && parent->type == XML_ELEMENT_NODE) {
            while (parent->children && parent->children != closing) {
                xmlNodePtr earlier = parent->children;
                xmlUnlinkNode(earlier);
                xmlFreeNode(earlier);
            }
        }
    }

    void keep(void* context, const xmlChar* characters, int length) {
        // The tree builder drops text outside any element; text outside every cell is not needed.
        if (length > 0 && parser(context)->node && !open.empty())
            text.append(QString::fromUtf8(reinterpret_cast<const char*>(characters), length));
    }

    static void characters(void* context, const xmlChar* characters, int length) {
        Reader& reader = of(context);
        reader.builder.characters(context, characters, length);
        reader.keep(context, characters, length);
    }

    static void cdataBlock(void* context, const xmlChar* characters, int length) {
        Reader& reader = of(context);
        reader.builder.cdataBlock(context, characters, length);
        reader.keep(context, characters, length);
    }
};

} // namespace

std::optional<HtmlDocument> HtmlDocument::parse(QByteArrayView html, QByteArrayView tag) {
    if (html.size() > INT_MAX)
        return std::nullopt;
    // What htmlReadMemory does with the library's forgiving defaults, with the handlers above.
    htmlParserCtxtPtr parser = htmlCreateMemoryParserCtxt(html.data(), int(html.size()));
    if (!parser)
        return std::nullopt;
    auto cells = std::make_unique<Cells>();
    Reader reader;
    reader.tag = tag.toByteArray().toLower();
    reader.ranges = &cells->ranges;
    reader.builder = *parser->sax;
    if (!reader.builder.startElement || !reader.builder.endElement || !reader.builder.characters ||
        !reader.builder.cdataBlock) {
        htmlFreeParserCtxt(parser);
        return std::nullopt;
    }
    parser->sax->startElement = &Reader::startElement;
    parser->sax->endElement = &Reader::endElement;
    parser->sax->characters = &Reader::characters;
    parser->sax->cdataBlock = &Reader::cdataBlock;
    parser->_private = &reader;
    htmlCtxtUseOptions(parser,
                       HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
    if (xmlCharEncodingHandlerPtr utf8 = xmlFindCharEncodingHandler("UTF-8")) {
        xmlSwitchToEncoding(parser, utf8);
        if (parser->input->encoding)
            xmlFree(const_cast<xmlChar*>(parser->input->encoding));
        parser->input->encoding = xmlStrdup(reinterpret_cast<const xmlChar*>("UTF-8"));
    }
    htmlParseDocument(parser);
    const bool document = parser->myDoc != nullptr;
    if (parser->myDoc)
        xmlFreeDoc(parser->myDoc);
    parser->myDoc = nullptr;
    htmlFreeParserCtxt(parser);
    if (!document)
        return std::nullopt;
    // Cells still open when the text ended (the parser stopped) hold all the text that came.
    for (const auto& [node, index] : reader.open)
        cells->ranges[index].end = reader.position();
    cells->text = std::move(reader.text);
    return HtmlDocument(std::move(cells));
}

HtmlDocument::HtmlDocument(std::unique_ptr<Cells> cells) : m_cells(std::move(cells)) {}
HtmlDocument::HtmlDocument(HtmlDocument&&) noexcept = default;
HtmlDocument& HtmlDocument::operator=(HtmlDocument&&) noexcept = default;
HtmlDocument::~HtmlDocument() = default;

qsizetype HtmlDocument::cellCount() const {
    return m_cells ? m_cells->ranges.size() : 0;
}

QStringView HtmlDocument::cell(qsizetype index) const {
    if (!m_cells || index < 0 || index >= m_cells->ranges.size())
        return {};
    const CellRange range = m_cells->ranges.at(index);
    return QStringView(m_cells->text).mid(range.start, range.end - range.start);
}

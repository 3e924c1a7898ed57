// libFuzzer target: the firmware version page's reading. Whatever the page,
// reading its cells touches nothing it has freed; and for a page of UTF-8 text
// (the only pages the player reads) the cells' texts are those of libxml2's
// own tree of it, read the plain way, whole tree kept.

#include "platform/system/HtmlDocument.h"

#include <QString>
#include <QStringDecoder>
#include <QStringList>

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

namespace {

// The texts of the `td` elements of libxml2's tree, in document order; none without a document.
bool treeCells(const uint8_t* data, size_t size, QStringList& cells) {
    htmlDocPtr tree =
        htmlReadMemory(reinterpret_cast<const char*>(data), int(size), nullptr, "UTF-8",
                       HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
    if (!tree)
        return false;
    std::vector<xmlNodePtr> pending;
    if (xmlNodePtr root = xmlDocGetRootElement(tree))
        pending.push_back(root);
    while (!pending.empty()) {
        xmlNodePtr node = pending.back();
        pending.pop_back();
        if (node->next)
            pending.push_back(node->next);
        if (node->type != XML_ELEMENT_NODE)
            continue;
        if (xmlStrcasecmp(node->name, BAD_CAST "td") == 0) {
            xmlChar* text = xmlNodeGetContent(node);
            cells.append(text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QString());
            xmlFree(text);
        }
        if (node->children)
            pending.push_back(node->children);
    }
    xmlFreeDoc(tree);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > INT_MAX)
        return 0;
    const QByteArrayView html(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::optional<HtmlDocument> page = HtmlDocument::parse(html, "td");
    for (qsizetype i = 0; page && i < page->cellCount(); ++i)
        (void)page->cell(i).toString();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(html);
    if (utf8.hasError())
        return 0;
    QStringList expected;
    const bool document = treeCells(data, size, expected);
    if (page.has_value() != document)
        std::abort();
    if (!page)
        return 0;
    if (page->cellCount() != expected.size())
        std::abort();
    for (qsizetype i = 0; i < expected.size(); ++i) {
        if (page->cell(i) != expected.at(i))
            std::abort();
    }
    return 0;
}

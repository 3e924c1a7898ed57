#include "platform/HtmlDocument.h"

#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <vector>

struct HtmlDocument::Document {
    htmlDocPtr doc = nullptr;
    ~Document() {
        if (doc)
            xmlFreeDoc(doc);
    }
};

std::optional<HtmlDocument> HtmlDocument::parse(const QString& html) {
    const QByteArray bytes = html.toUtf8();
    // The library's defaults for a forgiving reader: repair, and stay quiet.
    const int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET;
    htmlDocPtr doc = htmlReadMemory(bytes.constData(), int(bytes.size()), nullptr, "UTF-8", options);
    if (!doc)
        return std::nullopt;
    auto document = std::make_unique<Document>();
    document->doc = doc;
    return HtmlDocument(std::move(document));
}

HtmlDocument::HtmlDocument(std::unique_ptr<Document> document) : m_document(std::move(document)) {}
HtmlDocument::HtmlDocument(HtmlDocument&&) noexcept = default;
HtmlDocument& HtmlDocument::operator=(HtmlDocument&&) noexcept = default;
HtmlDocument::~HtmlDocument() = default;

QStringList HtmlDocument::cells(const QString& tag) const {
    QStringList texts;
    if (!m_document || !m_document->doc)
        return texts;
    const QByteArray name = tag.toLower().toUtf8();
    // Depth-first in document order, without recursion (a page may nest deeply).
    std::vector<xmlNodePtr> pending;
    if (xmlNodePtr root = xmlDocGetRootElement(m_document->doc))
        pending.push_back(root);
    while (!pending.empty()) {
        xmlNodePtr node = pending.back();
        pending.pop_back();
        if (node->type == XML_ELEMENT_NODE && node->name &&
            xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar*>(name.constData())) == 0) {
            xmlChar* content = xmlNodeGetContent(node);
            texts.append(content ? QString::fromUtf8(reinterpret_cast<const char*>(content)) : QString());
            if (content)
                xmlFree(content);
        }
        // Children pushed last-first so that the first child comes out next.
        std::vector<xmlNodePtr> children;
        for (xmlNodePtr child = node->children; child; child = child->next)
            if (child->type == XML_ELEMENT_NODE)
                children.push_back(child);
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            pending.push_back(*it);
    }
    return texts;
}

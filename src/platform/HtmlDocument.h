#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// An HTML document parsed by libxml2's HTML parser with its forgiving default
// options (broken markup is repaired, errors are not reported).
class HtmlDocument {
public:
    // Parses UTF-8 `html`; none when libxml2 makes no document of it (for
    // example an empty text).
    static std::optional<HtmlDocument> parse(const QString& html);

    HtmlDocument(HtmlDocument&&) noexcept;
    HtmlDocument& operator=(HtmlDocument&&) noexcept;
    ~HtmlDocument();

    // The text of every element named `tag` ("td"), in document order: all
    // the text inside it, untrimmed.
    QStringList cells(const QString& tag) const;

private:
    struct Document;
    explicit HtmlDocument(std::unique_ptr<Document> document);
    std::unique_ptr<Document> m_document;
};

#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <memory>
#include <optional>

// An HTML document read by libxml2's HTML parser with its forgiving default
// options (broken markup is repaired, errors are not reported), kept as the
// texts of its elements of one name ("td"), each as libxml2's tree gives it.
// The tree itself is let go of as the parser leaves it behind, and the text
// of nested elements is held once: a hostile page of deeply nested cells
// around megabytes of text costs about its own size, not its size times the
// nesting.
class HtmlDocument {
public:
    // Parses UTF-8 `html`, keeping the text of every element named `tag`
    // (lower case); none when libxml2 makes no document of it (an empty text).
    static std::optional<HtmlDocument> parse(QByteArrayView html, QByteArrayView tag);

    HtmlDocument(HtmlDocument&&) noexcept;
    HtmlDocument& operator=(HtmlDocument&&) noexcept;
    ~HtmlDocument();

    // The number of `tag` elements.
    qsizetype cellCount() const;
    // The text of the `tag` element `index`, in document order: all the text
    // inside it, untrimmed. A view into the document, valid while it lives.
    QStringView cell(qsizetype index) const;

private:
    struct Cells;
    explicit HtmlDocument(std::unique_ptr<Cells> cells);
    std::unique_ptr<Cells> m_cells;
};

#pragma once

#include <QByteArray>
#include <QStringList>

// A child process gets its arguments as QStrings, which QProcess encodes as
// UTF-8: a path holding bytes that are not UTF-8 (kept in the path string as
// U+DC80-U+DCFF, see FileSystemRepresentation.h) would name another file.
// Each such argument is replaced by a symbolic link with a plain name in a
// private temporary folder, pointing at the path's own bytes; a link to a file
// that does not exist yet serves as an output too, since opening it for
// writing creates the file it points at. Links and folder go with the object.
class ProcessArgumentAliases {
public:
    explicit ProcessArgumentAliases(const QStringList& arguments);
    ~ProcessArgumentAliases();
    ProcessArgumentAliases(const ProcessArgumentAliases&) = delete;
    ProcessArgumentAliases& operator=(const ProcessArgumentAliases&) = delete;

    // The arguments to start the process with.
    const QStringList& arguments() const { return m_arguments; }

private:
    QStringList m_arguments;
    QByteArray m_folder; // empty: no alias was needed
    QList<QByteArray> m_links;
};

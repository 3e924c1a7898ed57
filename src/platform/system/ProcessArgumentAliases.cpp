#include "platform/system/ProcessArgumentAliases.h"

#include "platform/system/FileSystemRepresentation.h"

#include <QDir>
#include <QFile>

#include <cstdlib>
#include <unistd.h>

namespace {

bool holdsEscapedBytes(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (platform::isEscapedByte(text[i], i > 0 ? text[i - 1] : QChar()))
            return true;
    }
    return false;
}

// The extension of a path's last component when it is plain ASCII (".avi"),
// so that a tool that goes by the name still knows the kind of file.
QByteArray plainExtension(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    const qsizetype dot = path.lastIndexOf('.');
    if (dot <= slash + 1)
        return {};
    const QByteArray extension = path.mid(dot);
    for (const char c : extension) {
        if (!(c == '.' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
            return {};
    }
    return extension;
}

} // namespace

ProcessArgumentAliases::ProcessArgumentAliases(const QStringList& arguments) : m_arguments(arguments) {
    for (qsizetype i = 0; i < m_arguments.size(); ++i) {
        if (!holdsEscapedBytes(m_arguments[i]))
            continue;
        if (m_folder.isEmpty()) {
            QByteArray pattern = QFile::encodeName(QDir::tempPath()) + "/kavrin-names-XXXXXX";
            if (!mkdtemp(pattern.data()))
                return;
            m_folder = pattern;
        }
        QByteArray target = platform::fileSystemRepresentation(m_arguments[i]);
        if (!target.startsWith('/'))
            target = QFile::encodeName(QDir::currentPath()) + '/' + target;
        const QByteArray link = m_folder + '/' + QByteArray::number(i) + plainExtension(target);
        if (::symlink(target.constData(), link.constData()) != 0)
            continue;
        m_links.append(link);
        m_arguments[i] = QFile::decodeName(link);
    }
}

ProcessArgumentAliases::~ProcessArgumentAliases() {
    for (const QByteArray& link : std::as_const(m_links))
        ::unlink(link.constData());
    if (!m_folder.isEmpty())
        ::rmdir(m_folder.constData());
}

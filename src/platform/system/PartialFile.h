#pragma once

#include <QByteArray>
#include <QString>

// A file that appears under its name only when complete. It is written under
// a hidden temporary name in the same folder, held locked by this process, and
// renamed onto its name in one step: a crash, a full disk or a failed writer
// never leaves a half file under the name, and whatever stands under the name
// (an old file, a symbolic link, a FIFO) is replaced as a name, never written
// through. Paths are path strings that keep bytes that are not UTF-8
// (FileSystemRepresentation.h).
class PartialFile {
public:
    // Creates the temporary file beside `path`. On failure isOpen() is false
    // and error() says why (errno).
    explicit PartialFile(const QString& path);
    // Removes the temporary file unless it was committed.
    ~PartialFile();
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    bool isOpen() const { return m_handle >= 0; }
    int error() const { return m_error; }
    // The temporary file, for another writer (a child process) to fill.
    QString temporaryPath() const;

    // Writes all of `data` to the temporary file. The disk's write-back of
    // each few megabytes written is started at once (commit's flush of a large
    // file then has little left to wait for).
    bool write(const QByteArray& data);
    // Renames the temporary file onto the name, first flushing it to the disk
    // when `flush` is set (a power cut then leaves the old file or the new).
    // False, the temporary file removed and error() set, when either fails
    // (a folder under the name: EISDIR).
    bool commit(bool flush = true);
    // Removes the temporary file.
    void discard();

    // Removes the temporary files in `folder` that no live writer holds: those
    // of a writer that was killed or crashed.
    static void removeAbandoned(const QString& folder);
    // Whether a file name has the form of a temporary file's (removeAbandoned
    // takes such a file for the rest of a killed writer).
    static bool isTemporaryName(const QByteArray& name);

private:
    QByteArray m_path;      // the name, as bytes
    QByteArray m_temporary; // empty once committed or discarded
    int m_handle = -1;
    int m_error = 0;
    qint64 m_written = 0;       // bytes written by write()
    qint64 m_writeBackFrom = 0; // where the disk's write-back not yet started begins
};

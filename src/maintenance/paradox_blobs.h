#pragma once
// The memo and picture data of a Paradox table, kept in its .MB file.
// Read here rather than through the library: the Debian build of pxlib
// overruns its stack when it opens a blob file, so the library reads the
// records and this class follows their 10-byte blob pointers.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace paradox {

class BlobFile {
public:
    // False with `error` set when the file cannot be read.
    bool open(const QString& path, QString& error);
    bool isOpen() const { return m_file.isOpen(); }

    // The data a blob field points to: `field` is the whole field of the
    // record (its leading part holds the beginning of short data, its last
    // ten bytes the pointer). Null with `error` set when it cannot be read.
    QByteArray read(const QByteArray& field, QString& error);

private:
    QByteArray readAt(qint64 offset, qint64 length, QString& error);

    QFile m_file;
};

}  // namespace paradox

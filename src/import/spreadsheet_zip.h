#pragma once
// The zipped parts of an .xlsx or .ods file, read whole by name.

#include <QByteArray>
#include <QString>

struct zip;

namespace import {

class ZipArchive {
public:
    // Throws Error naming the file when it is no readable zip archive.
    explicit ZipArchive(const QString& path);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    // Part names are compared without regard to letter case.
    bool contains(const QString& name) const;
    // Throws Error naming the file when the part is missing or damaged.
    QByteArray read(const QString& name) const;

private:
    struct zip* zip_ = nullptr;
    QString path_;
};

// The message of a spreadsheet file that cannot be read.
QString unreadableFileMessage(const QString& path);

}  // namespace import

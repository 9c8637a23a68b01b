#include "import/spreadsheet_zip.h"

#include "store/error.h"

#include <QDir>
#include <QFile>

#include <zip.h>

namespace import {
namespace {

// A part larger than this is no sheet a kindergarten keeps, but a zip bomb.
constexpr zip_uint64_t maxPartSize = 512ull * 1024 * 1024;

}  // namespace

QString unreadableFileMessage(const QString& path)
{
    return QStringLiteral("Nie można odczytać pliku %1").arg(QDir::toNativeSeparators(path));
}

ZipArchive::ZipArchive(const QString& path) : path_(path)
{
    int error = 0;
    zip_ = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (!zip_) throw Error(unreadableFileMessage(path));
}

ZipArchive::~ZipArchive()
{
    zip_discard(zip_);
}

bool ZipArchive::contains(const QString& name) const
{
    return zip_name_locate(zip_, name.toUtf8().constData(), ZIP_FL_NOCASE) >= 0;
}

QByteArray ZipArchive::read(const QString& name) const
{
    const zip_int64_t index = zip_name_locate(zip_, name.toUtf8().constData(), ZIP_FL_NOCASE);
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (index < 0 || zip_stat_index(zip_, zip_uint64_t(index), 0, &stat) != 0
        || !(stat.valid & ZIP_STAT_SIZE) || stat.size > maxPartSize)
        throw Error(unreadableFileMessage(path_));
    zip_file_t* file = zip_fopen_index(zip_, zip_uint64_t(index), 0);
    if (!file) throw Error(unreadableFileMessage(path_));
    QByteArray bytes(qsizetype(stat.size), Qt::Uninitialized);
    const zip_int64_t got = stat.size ? zip_fread(file, bytes.data(), stat.size) : 0;
    zip_fclose(file);
    if (got != zip_int64_t(stat.size)) throw Error(unreadableFileMessage(path_));
    return bytes;
}

}  // namespace import

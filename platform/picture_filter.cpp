#include "platform/picture_filter.h"

#include "exchange/file_kind.h"

#include <QFile>
#include <QImageReader>

namespace huelinx {

QStringList picturePatterns() {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << "*." + QString::fromLatin1(format).toLower();
    patterns << "*.tif"
             << "*.tiff";
    patterns.removeDuplicates();
    patterns.sort();
    return patterns;
}

QString pictureFileFilter() {
    const QStringList patterns = picturePatterns();
    return "Pictures (" + patterns.join(' ') + ")|" + patterns.join(';') + "|All files|*";
}

bool isReadablePicture(const QString& path) {
    if (!QImageReader::imageFormat(path).isEmpty()) return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    return kindOfFile(file.read(fileKindBytes).toStdString(), path.toStdString()) ==
           FileKind::Picture;
}

} // namespace huelinx

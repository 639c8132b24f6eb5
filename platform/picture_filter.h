// The pictures the program opens: every format the toolkit's image readers
// take, and TIFF, which the photo reader decodes itself.
#pragma once

#include <QString>
#include <QStringList>

namespace huelinx {

// The file patterns, "*.bmp", "*.jpg", …, "*.tif", "*.tiff", each once.
QStringList picturePatterns();

// The file dialog filter: "Pictures (*.bmp *.jpg …)|*.bmp;*.jpg;…|All files|*".
QString pictureFileFilter();

// Whether the file at `path` is a picture the program can open: the toolkit
// recognises its format from its content, or it is a TIFF.
bool isReadablePicture(const QString& path);

} // namespace huelinx

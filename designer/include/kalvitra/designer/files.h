#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "kalvitra/designer/form.h"

// The designer's files: every write goes through a temporary file renamed
// into place, so a failed save leaves the old file whole; every read is of
// bounded size and says what is wrong in the UI language.

namespace kalvitra::designer {

// Writes bytes to path atomically. Returns why it failed, or nothing.
std::optional<QString> saveBytes(const QString& path, const QByteArray& bytes);

// A design file (.kvd): a JSON object naming its format and version, and
// the text of every input by key.
QByteArray writeDesignFile(const DesignTexts& texts);

struct FileRead {
    DesignTexts texts;  // every input: the file's, or the default where it names none
    QString error;      // empty when the file was read
};

// Reads a design file. Keys the file does not name keep their defaults; an
// unknown key, a value that is not text, or a choice out of its list make
// the whole file refused.
FileRead readDesignFile(const QString& path);

// Reads a sheet (.kvs): D, its widths as given, and the frame and material
// fields it fills, over base.
FileRead readSheetFile(const QString& path, const DesignTexts& base);

// A loss curve file's text, or why it cannot be read.
FileRead readCurveFile(const QString& path, const DesignTexts& base);

}  // namespace kalvitra::designer

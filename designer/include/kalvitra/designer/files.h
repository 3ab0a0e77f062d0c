#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "kalvitra/designer/form.h"
#include "kalvitra/sheet/lenient_reading.h"

// The designer's files: every write goes through a temporary file renamed
// into place, so a failed save leaves the old file whole; every read is the
// core's bounded read (kalvitra/sheet/sheet_file.h), and says what is wrong
// in the UI language.

namespace kalvitra::designer {

// Writes bytes to path atomically. Returns why it failed, or nothing.
std::optional<QString> saveBytes(const QString& path, const QByteArray& bytes);

// A design file (.kvd): a JSON object naming its format and version, and
// the text of every input by key.
QByteArray writeDesignFile(const DesignTexts& texts);

// Why a file was not taken: the file system's kinds, or what it holds.
enum class FileProblem {
    NotFound,
    Folder,
    CannotOpen,  // it exists, but opening it failed: the message says why
    TooLarge,
    ReadFailed,
    Content,  // read whole, but not a file of its kind: the message says what is wrong
};

struct FileError {
    FileProblem problem = FileProblem::NotFound;
    QString message;  // in the UI language
};

struct FileRead {
    DesignTexts texts;               // every input: the file's, or the default where it names none
    std::optional<FileError> error;  // when the file was not read
    // A sheet's fields that the calculations read leniently, as the batch
    // tool warns about them (findLenientReadings), in sheet order.
    std::vector<LenientFinding> lenient;
};

// Reads a design file. Keys the file does not name keep their defaults; an
// unknown key, a value that is not text, or a choice out of its list make
// the whole file refused.
FileRead readDesignFile(const QString& path);

// Reads a sheet (.kvs): D, its widths as given, and the frame and material
// fields it fills, over base. A field read leniently is taken as the
// calculations read it ("200,5" as 200) and listed in lenient; an empty one
// keeps base's text. A sheet whose widths cannot be read is refused, its
// message naming each width field read leniently and what was read.
FileRead readSheetFile(const QString& path, const DesignTexts& base);

// One line in the UI language for a field read leniently, naming the field,
// its text and what the design took for it (texts: what the sheet gave):
//   PK2: “200,5” read as 200 (a comma ends a number: use a decimal point)
//   H: empty; the design keeps 760
QString lenientNote(const LenientFinding& finding, const DesignTexts& texts);
QStringList lenientNotes(const std::vector<LenientFinding>& findings, const DesignTexts& texts);

// A curve file's path and text over base, or why it cannot be read: a loss
// curve's (Curve), which becomes the grade chosen, or the joints' (JointCurve).
FileRead readCurveFile(const QString& path, const DesignTexts& base,
                       DesignInput curve = DesignInput::Curve);

}  // namespace kalvitra::designer

#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

#include "kalvitra/sheet/sheet.h"
#include "kalvitra/sheet/sheet_text.h"

// A sheet file: a sheet in the batch tool's NAME=TEXT form, named on the
// command line (`kalvitra FILE`) so the window starts with its texts. Reading
// it is kept apart from the window, which only shows the sheet or the report.

namespace kalvitra::ui {

// A sheet has a few dozen short lines. Anything beyond this is not a sheet,
// and reading it whole would only eat memory.
inline constexpr qint64 kMaxSheetFileBytes = 1024 * 1024;

struct SheetFileError {
    enum class Kind {
        TooManyFiles,  // more than one file named: paths holds them all
        NotFound,
        IsDirectory,
        NotReadable,  // it exists, but this user may not read it
        ReadFailed,   // opening or reading failed otherwise: reason says why
        TooLarge,     // longer than the limit: limit holds it
        Malformed,    // text says what is wrong and on which line
    };
    Kind kind = Kind::NotFound;
    QStringList paths;  // the file, as it was named
    QString reason;
    qint64 limit = 0;
    std::optional<SheetTextError> text;
};

// The sheet read, or why there is none. On an error the sheet is the initial
// sheet, never one filled up to the bad line.
struct SheetFileRead {
    Sheet sheet;
    std::optional<SheetFileError> error;
};

// Reads the sheet file at path. Fields the file does not name keep their
// initial texts. Pipes are read too (`kalvitra <(kalvitra-cli ...)`).
SheetFileRead readSheetFile(const QString& path, qint64 maxBytes = kMaxSheetFileBytes);

// The sheet to start with, given the program's arguments after its own name
// (the toolkit has removed its options by then): the initial sheet when there
// is none, the file's sheet for one, an error for more.
SheetFileRead readStartSheet(const QStringList& arguments);

// The report the designer reads, in Chinese: which file, which line, what is
// wrong, and that the window goes on with the initial sheet.
QString sheetFileErrorMessage(const SheetFileError& error);

}  // namespace kalvitra::ui

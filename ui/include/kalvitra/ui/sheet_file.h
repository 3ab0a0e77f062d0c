#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "kalvitra/sheet/sheet.h"
#include "kalvitra/sheet/sheet_file.h"

// A sheet file: a sheet in the batch tool's NAME=TEXT form, named on the
// command line (`kalvitra FILE`) so the window starts with its texts. The
// core reads it (kalvitra/sheet/sheet_file.h); here it is only worded, and
// kept apart from the window, which only shows the sheet or the report.

namespace kalvitra::ui {

struct SheetFileError {
    QStringList paths;                  // the files, as they were named
    std::optional<FileReadError> file;  // why the one file was not taken;
                                        // nothing when more than one was named
};

// The sheet read, or why there is none. On an error the sheet is the initial
// sheet, never one filled up to the bad line.
struct SheetFileRead {
    Sheet sheet;
    std::optional<SheetFileError> error;
};

// The sheet to start with, given the program's arguments after its own name
// (the toolkit has removed its options by then): the initial sheet when there
// is none, the file's sheet for one, an error for more. Pipes are read too
// (`kalvitra <(kalvitra-cli ...)`).
SheetFileRead readStartSheet(const QStringList& arguments);

// The report the designer reads, in Chinese: which file, which line, what is
// wrong, and that the window goes on with the initial sheet.
QString sheetFileErrorMessage(const SheetFileError& error);

}  // namespace kalvitra::ui

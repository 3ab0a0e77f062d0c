#include "kalvitra/designer/files.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <algorithm>

#include "kalvitra/designer/language.h"
#include "kalvitra/inputs/catalogue.h"
#include "kalvitra/inputs/checks.h"
#include "kalvitra/sheet/sheet_file.h"
#include "kalvitra/text/typed_numbers.h"
#include "kalvitra/text/utf8.h"

namespace kalvitra::designer {
namespace {

const QString kFormatKey = QStringLiteral("kalvitra-design");
constexpr int kFormatVersion = 1;

// Far more than any design: a field may hold a long paste, but no file
// this large is one of ours. A sheet has the core's limit.
constexpr std::uintmax_t kMostDesignBytes = 64 * 1024 * 1024;
// A loss curve has a few dozen lines.
constexpr std::uintmax_t kMostCurveBytes = 1024 * 1024;

QString localised(const char* text) {
    return QCoreApplication::translate("kalvitra::designer::Files", text);
}

FileError contentError(const QString& message) {
    return {FileProblem::Content, message};
}

QString systemWords(const std::string& reason) {
    return QString::fromLocal8Bit(reason.data(), static_cast<qsizetype>(reason.size()));
}

// Why the core did not read a file, in the designer's words.
FileError fileError(const FileReadError& error) {
    using Kind = FileReadError::Kind;
    switch (error.kind) {
        case Kind::NotFound:
            return {FileProblem::NotFound,
                    localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files",
                                                "The file does not exist."))};
        case Kind::IsDirectory:
            return {FileProblem::Folder,
                    localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files", "This is a folder."))};
        case Kind::NotReadable:
            return {FileProblem::CannotOpen,
                    localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files",
                                                "You may not read this file."))};
        case Kind::CannotOpen:
            return {
                FileProblem::CannotOpen,
                localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files", "It cannot be opened: %1"))
                    .arg(systemWords(error.reason))};
        case Kind::TooLarge:
            return {FileProblem::TooLarge,
                    localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files",
                                                "The file is larger than %1 bytes."))
                        .arg(error.limit)};
        case Kind::ReadFailed:
            return {FileProblem::ReadFailed,
                    localised(
                        QT_TRANSLATE_NOOP("kalvitra::designer::Files", "It could not be read: %1"))
                        .arg(systemWords(error.reason))};
        case Kind::Malformed:
            break;
    }
    return contentError(localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files",
                                                    "Line %1 is not NAME=TEXT of a sheet field."))
                            .arg(error.text ? error.text->line : 0));
}

std::filesystem::path pathOf(const QString& path) {
    return pathFromUtf8(path.toStdString());
}

// The whole file, or why not.
std::optional<QByteArray> readBounded(const QString& path, std::uintmax_t most,
                                      std::optional<FileError>& error) {
    FileBytes read = readBoundedFile(pathOf(path), most);
    if (read.error) {
        error = fileError(*read.error);
        return std::nullopt;
    }
    return QByteArray::fromStdString(read.bytes);
}

QString choiceError(const QString& key, const QString& value) {
    return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files", "“%1” is not a choice of %2."))
        .arg(value.left(40), key);
}

bool isChoiceOf(const InputRow& row, const QString& value) {
    for (const Choice& choice : choicesOf(row)) {
        if (choice.key == value) {
            return true;
        }
    }
    return false;
}

bool isWidthField(Field field) {
    return indexOf(field) >= indexOf(Field::PK1) && indexOf(field) <= indexOf(Field::PK9);
}

// Why a sheet's widths were not taken: each width field read leniently, with
// what was read, then the core's reason in English, or the rule of the
// widths in another language.
QString widthsRefusal(const std::vector<LenientFinding>& lenient, const DesignError& error) {
    QStringList lines = {localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files",
                                                     "The sheet's stage widths cannot be taken:"))};
    for (const LenientFinding& finding : lenient) {
        if (isWidthField(finding.field)) {
            lines.append(lenientNote(finding, {}));
        }
    }
    lines.append(problemText({DesignInput::Widths, error.rule(), error.what()}, currentLanguage()));
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

std::optional<QString> saveBytes(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return std::nullopt;
}

QByteArray writeDesignFile(const DesignTexts& texts) {
    QJsonObject object;
    object.insert(kFormatKey, kFormatVersion);
    for (auto it = texts.begin(); it != texts.end(); ++it) {
        object.insert(it.key(), it.value());
    }
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

FileRead readDesignFile(const QString& path) {
    FileRead read;
    read.texts = defaultTexts();
    const std::optional<QByteArray> bytes = readBounded(path, kMostDesignBytes, read.error);
    if (!bytes) {
        return read;
    }
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(*bytes, &parse);
    if (document.isNull()) {
        read.error = contentError(
            localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files", "Not JSON: %1 at byte %2."))
                .arg(parse.errorString())
                .arg(parse.offset));
        return read;
    }
    const QJsonObject object = document.object();
    if (!document.isObject() || object.value(kFormatKey).toInt(-1) < 1) {
        read.error =
            contentError(localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files",
                                                     "Not a Kalvitra design: it has no “%1”."))
                             .arg(kFormatKey));
        return read;
    }
    if (object.value(kFormatKey).toInt() > kFormatVersion) {
        read.error =
            contentError(localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files",
                                                     "Written by a newer Kalvitra (format %1)."))
                             .arg(object.value(kFormatKey).toInt()));
        return read;
    }
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (it.key() == kFormatKey) {
            continue;
        }
        const InputRow* row = findInputRow(it.key());
        if (row == nullptr && it.key() != kCurveTextKey && it.key() != kJointCurveTextKey) {
            read.error = contentError(
                localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files", "Unknown input “%1”."))
                    .arg(it.key().left(40)));
            return read;
        }
        if (!it.value().isString()) {
            read.error = contentError(localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files",
                                                                  "The input “%1” is not a text."))
                                          .arg(it.key()));
            return read;
        }
        const QString value = it.value().toString();
        if (row != nullptr && row->kind == InputKind::Choice && !isChoiceOf(*row, value)) {
            read.error = contentError(choiceError(it.key(), value));
            return read;
        }
        read.texts[it.key()] = value;
    }
    return read;
}

FileRead readSheetFile(const QString& path, const DesignTexts& base) {
    FileRead read{base, {}, {}};
    const LoadedSheet loaded = loadSheetFile(pathOf(path));
    if (loaded.error) {
        read.error = fileError(*loaded.error);
        return read;
    }
    const Sheet& sheet = loaded.sheet;
    read.lenient = findLenientReadings(sheet, kAllActions);
    std::vector<double> widths;
    try {
        widths = stageWidths(sheet);
    } catch (const DesignError& error) {
        read.error = contentError(widthsRefusal(read.lenient, error));
        return read;
    }
    read.texts[QStringLiteral("widthMode")] = QStringLiteral("given");
    read.texts[QStringLiteral("widths")] = QString::fromStdString(writeWidthList(widths));
    // Every input the sheet holds in a field of its own, as the catalogue
    // keeps it; a text read leniently is taken as the calculations read it.
    for (const InputDefinition& entry : inputCatalogue()) {
        if (!entry.field || entry.key.empty()) {
            continue;
        }
        QString value = QString::fromStdString(sheet.textRef(*entry.field)).trimmed();
        const auto finding = std::ranges::find(read.lenient, *entry.field, &LenientFinding::field);
        if (finding != read.lenient.end() && finding->kind != LenientKind::Empty) {
            value = QString::fromStdString(writeDefault(finding->value));
        }
        if (!value.isEmpty()) {
            read.texts[QLatin1String(entry.key)] = value;
        }
    }
    return read;
}

QString lenientNote(const LenientFinding& finding, const DesignTexts& texts) {
    const QString field = QString::fromUtf8(fieldName(finding.field));
    const QString text = QString::fromStdString(quoteForMessage(finding.text));
    const QString value = QString::fromStdString(writeDefault(finding.value));
    const QString other = QString::fromUtf8(fieldName(finding.other));
    switch (finding.kind) {
        case LenientKind::NotOneNumber:
            return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files", "%1: %2 read as %3"))
                .arg(field, text, value);
        case LenientKind::DecimalComma:
            return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files",
                                               "%1: %2 read as %3 (a comma ends a number: use "
                                               "a decimal point)"))
                .arg(field, text, value);
        case LenientKind::Empty: {
            const InputDefinition* entry = findInputByField(finding.field);
            const QString kept = entry ? texts.value(QLatin1String(entry->key)) : value;
            return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files",
                                               "%1: empty; the design keeps %2"))
                .arg(field, kept);
        }
        case LenientKind::NotDecreasing:
            return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files",
                                               "%1: %2 is not below %3 (%4): the widths must "
                                               "decrease"))
                .arg(field, text, other, QString::fromStdString(writeDefault(finding.otherValue)));
        case LenientKind::SkippedStage:
            return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files",
                                               "%1: empty while %2 is given: stage %3 is skipped"))
                .arg(field, other)
                .arg(static_cast<int>(indexOf(finding.field) - indexOf(Field::PK1)) + 1);
    }
    return field;
}

QStringList lenientNotes(const std::vector<LenientFinding>& findings, const DesignTexts& texts) {
    QStringList notes;
    for (const LenientFinding& finding : findings) {
        notes.append(lenientNote(finding, texts));
    }
    return notes;
}

FileRead readCurveFile(const QString& path, const DesignTexts& base, DesignInput curve) {
    FileRead read{base, {}, {}};
    const std::optional<QByteArray> bytes = readBounded(path, kMostCurveBytes, read.error);
    if (!bytes) {
        return read;
    }
    read.texts[QLatin1String(definitionOf(curve).key)] = path;
    if (curve == DesignInput::JointCurve) {
        read.texts[kJointCurveTextKey] = QString::fromUtf8(*bytes);
    } else {
        read.texts[kCurveTextKey] = QString::fromUtf8(*bytes);
        read.texts[QStringLiteral("grade")] = QStringLiteral("curveFile");
    }
    return read;
}

}  // namespace kalvitra::designer

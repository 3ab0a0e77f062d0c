#include "kalvitra/designer/files.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include "kalvitra/inputs/checks.h"
#include "kalvitra/sheet/sheet_text.h"
#include "kalvitra/text/typed_numbers.h"

namespace kalvitra::designer {
namespace {

const QString kFormatKey = QStringLiteral("kalvitra-design");
constexpr int kFormatVersion = 1;

// Far more than any design, curve or sheet: a field may hold a long paste,
// but no file this large is one of ours.
constexpr qint64 kMostBytes = 64 * 1024 * 1024;

QString localised(const char* text) {
    return QCoreApplication::translate("kalvitra::designer::Files", text);
}

FileError contentError(const QString& message) {
    return {FileProblem::Content, message};
}

// The whole file, or why not.
std::optional<QByteArray> readBounded(const QString& path, qint64 most,
                                      std::optional<FileError>& error) {
    QFile file(path);
    if (QFileInfo(path).isDir()) {
        error = FileError{
            FileProblem::Folder,
            localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files", "This is a folder."))};
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        error = FileError{QFileInfo::exists(path) ? FileProblem::CannotOpen : FileProblem::NotFound,
                          file.errorString()};
        return std::nullopt;
    }
    QByteArray bytes = file.read(most + 1);
    if (file.error() != QFileDevice::NoError) {
        error = FileError{FileProblem::ReadFailed, file.errorString()};
        return std::nullopt;
    }
    if (bytes.size() > most) {
        error = FileError{FileProblem::TooLarge,
                          localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files",
                                                      "The file is larger than %1 bytes."))
                              .arg(most)};
        return std::nullopt;
    }
    return bytes;
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
    const std::optional<QByteArray> bytes = readBounded(path, kMostBytes, read.error);
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
        if (row == nullptr && it.key() != kCurveTextKey) {
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
    FileRead read{base, {}};
    const std::optional<QByteArray> bytes = readBounded(path, 1024 * 1024, read.error);
    if (!bytes) {
        return read;
    }
    Sheet sheet;
    const std::string_view text(bytes->constData(), static_cast<std::size_t>(bytes->size()));
    if (const std::optional<SheetTextError> problem = readSheetLines(text, sheet)) {
        read.error =
            contentError(localised(QT_TRANSLATE_NOOP("kalvitra::designer::Files",
                                                     "Line %1 is not NAME=TEXT of a sheet field."))
                             .arg(problem->line));
        return read;
    }
    std::vector<double> widths;
    try {
        widths = stageWidths(sheet);
    } catch (const DesignError&) {
        read.error = contentError(localised(QT_TRANSLATE_NOOP(
            "kalvitra::designer::Files",
            "The sheet gives no stage widths from PK1 on, each greater than 0.")));
        return read;
    }
    read.texts[QStringLiteral("widthMode")] = QStringLiteral("given");
    read.texts[QStringLiteral("widths")] = QString::fromStdString(writeWidthList(widths));
    const std::pair<Field, const char*> taken[] = {
        {Field::D, "diameter"}, {Field::H, "windowHeight"}, {Field::M, "centreDistance"},
        {Field::Z, "limbs"},    {Field::MD, "density"},     {Field::dpxs, "stackingFactor"},
    };
    for (const auto& [field, key] : taken) {
        const QString value = QString::fromStdString(sheet.textRef(field)).trimmed();
        if (!value.isEmpty()) {
            read.texts[QLatin1String(key)] = value;
        }
    }
    return read;
}

FileRead readCurveFile(const QString& path, const DesignTexts& base) {
    FileRead read{base, {}};
    const std::optional<QByteArray> bytes = readBounded(path, 1024 * 1024, read.error);
    if (bytes) {
        read.texts[QStringLiteral("curveFile")] = path;
        read.texts[kCurveTextKey] = QString::fromUtf8(*bytes);
        read.texts[QStringLiteral("grade")] = QStringLiteral("curveFile");
    }
    return read;
}

}  // namespace kalvitra::designer

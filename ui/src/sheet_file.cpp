#include "kalvitra/ui/sheet_file.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <string_view>

#include "kalvitra/text/utf8.h"

namespace kalvitra::ui {
namespace {

SheetFileRead failed(SheetFileError::Kind kind, const QString& path, const QString& reason = {}) {
    SheetFileRead read;
    read.error = SheetFileError{kind, {path}, reason, 0, std::nullopt};
    return read;
}

QString lineNumber(std::size_t line) {
    return QString::number(static_cast<qulonglong>(line));
}

// What is wrong with a line of the sheet, in the designer's words.
QString sheetTextProblemText(const SheetTextError& error) {
    const QString subject = QString::fromStdString(quoteForMessage(error.subject));
    QString problem;
    switch (error.kind) {
        case SheetTextProblem::InvalidUtf8:
            problem = QStringLiteral(
                          "第 %1 个字节不是有效的 UTF-8 文字（计算单文件须以 UTF-8 编码保存）。")
                          .arg(lineNumber(error.byte));
            break;
        case SheetTextProblem::MissingEquals:
            problem =
                QStringLiteral("缺少“=”：%1（每行应写作 字段名=内容，例如 D=200）。").arg(subject);
            break;
        case SheetTextProblem::UnknownField:
            problem = QStringLiteral("未知的字段 %1（字段名区分大小写，例如 D、PK1、dpxs）。")
                          .arg(subject);
            break;
        case SheetTextProblem::GivenTwice:
            problem = QStringLiteral("字段 %1 出现了两次（第一次在第 %2 行）。")
                          .arg(QString::fromStdString(error.subject), lineNumber(error.firstLine));
            break;
    }
    return QStringLiteral("第 %1 行：%2").arg(lineNumber(error.line), problem);
}

}  // namespace

SheetFileRead readSheetFile(const QString& path, qint64 maxBytes) {
    using Kind = SheetFileError::Kind;
    const QFileInfo info(path);
    if (info.isDir()) {
        return failed(Kind::IsDirectory, path);
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (!info.exists()) {
            return failed(Kind::NotFound, path);
        }
        if (file.error() == QFileDevice::PermissionsError || !info.isReadable()) {
            return failed(Kind::NotReadable, path);
        }
        return failed(Kind::ReadFailed, path, file.errorString());
    }
    // Read up to one byte past the limit, whatever size the file claims: a
    // pipe or a device tells no size, and a file may grow while it is read.
    QByteArray bytes;
    for (;;) {
        const QByteArray chunk = file.read(maxBytes + 1 - bytes.size());
        if (file.error() != QFileDevice::NoError) {
            return failed(Kind::ReadFailed, path, file.errorString());
        }
        if (chunk.isEmpty()) {
            break;
        }
        bytes += chunk;
        if (bytes.size() > maxBytes) {
            SheetFileRead read = failed(Kind::TooLarge, path);
            read.error->limit = maxBytes;
            return read;
        }
    }

    // A scratch sheet: a bad line further down must not leave the lines
    // before it filled in.
    SheetFileRead read;
    Sheet sheet;
    const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (std::optional<SheetTextError> problem = readSheetLines(text, sheet)) {
        read.error = SheetFileError{Kind::Malformed, {path}, {}, 0, std::move(problem)};
        return read;
    }
    read.sheet = sheet;
    return read;
}

SheetFileRead readStartSheet(const QStringList& arguments) {
    if (arguments.isEmpty()) {
        return {};
    }
    if (arguments.size() > 1) {
        SheetFileRead read;
        read.error =
            SheetFileError{SheetFileError::Kind::TooManyFiles, arguments, {}, 0, std::nullopt};
        return read;
    }
    return readSheetFile(arguments.front());
}

QString sheetFileErrorMessage(const SheetFileError& error) {
    using Kind = SheetFileError::Kind;
    const QString carryOn = QStringLiteral("\n\n窗口以初始内容打开。");
    if (error.kind == Kind::TooManyFiles) {
        QStringList shown;
        for (const QString& path : error.paths) {
            shown += QDir::toNativeSeparators(path);
        }
        return QStringLiteral("一次只能打开一个计算单文件，命令行中却有 %1 个：\n%2")
                   .arg(QString::number(error.paths.size()), shown.join(QLatin1Char('\n'))) +
               carryOn;
    }

    QString reason;
    switch (error.kind) {
        case Kind::TooManyFiles:
            break;
        case Kind::NotFound:
            reason = QStringLiteral("文件不存在。");
            break;
        case Kind::IsDirectory:
            reason = QStringLiteral("这是一个文件夹，不是计算单文件。");
            break;
        case Kind::NotReadable:
            reason = QStringLiteral("没有读取此文件的权限。");
            break;
        case Kind::ReadFailed:
            reason = QStringLiteral("读取出错。\n详细信息：%1").arg(error.reason);
            break;
        case Kind::TooLarge:
            reason = QStringLiteral("文件大于 %1 字节，不是计算单文件（计算单文件只有几十行）。")
                         .arg(QString::number(error.limit));
            break;
        case Kind::Malformed:
            if (error.text) {
                reason = sheetTextProblemText(*error.text);
            }
            break;
    }
    const QString path = error.paths.isEmpty() ? QString() : error.paths.front();
    return QStringLiteral("无法打开计算单文件：%1\n%2")
               .arg(QDir::toNativeSeparators(path), reason) +
           carryOn;
}

}  // namespace kalvitra::ui

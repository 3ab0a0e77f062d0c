#include "kalvitra/ui/sheet_file.h"

#include <QDir>

#include "kalvitra/text/utf8.h"

namespace kalvitra::ui {
namespace {

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

SheetFileRead readStartSheet(const QStringList& arguments) {
    if (arguments.isEmpty()) {
        return {};
    }
    SheetFileRead read;
    if (arguments.size() > 1) {
        read.error = SheetFileError{arguments, std::nullopt};
        return read;
    }
    LoadedSheet loaded = loadSheetFile(pathFromUtf8(arguments.front().toStdString()));
    if (loaded.error) {
        read.error = SheetFileError{arguments, std::move(loaded.error)};
        return read;
    }
    read.sheet = loaded.sheet;
    return read;
}

QString sheetFileErrorMessage(const SheetFileError& error) {
    using Kind = FileReadError::Kind;
    const QString carryOn = QStringLiteral("\n\n窗口以初始内容打开。");
    if (!error.file) {
        QStringList shown;
        for (const QString& path : error.paths) {
            shown += QDir::toNativeSeparators(path);
        }
        return QStringLiteral("一次只能打开一个计算单文件，命令行中却有 %1 个：\n%2")
                   .arg(QString::number(error.paths.size()), shown.join(QLatin1Char('\n'))) +
               carryOn;
    }

    const FileReadError& file = *error.file;
    QString reason;
    switch (file.kind) {
        case Kind::NotFound:
            reason = QStringLiteral("文件不存在。");
            break;
        case Kind::IsDirectory:
            reason = QStringLiteral("这是一个文件夹，不是计算单文件。");
            break;
        case Kind::NotReadable:
            reason = QStringLiteral("没有读取此文件的权限。");
            break;
        case Kind::CannotOpen:
        case Kind::ReadFailed:
            reason = QStringLiteral("读取出错。\n详细信息：%1")
                         .arg(QString::fromLocal8Bit(file.reason.data(),
                                                     static_cast<qsizetype>(file.reason.size())));
            break;
        case Kind::TooLarge:
            reason = QStringLiteral("文件大于 %1 字节，不是计算单文件（计算单文件只有几十行）。")
                         .arg(QString::number(file.limit));
            break;
        case Kind::Malformed:
            if (file.text) {
                reason = sheetTextProblemText(*file.text);
            }
            break;
    }
    const QString path = error.paths.isEmpty() ? QString() : error.paths.front();
    return QStringLiteral("无法打开计算单文件：%1\n%2")
               .arg(QDir::toNativeSeparators(path), reason) +
           carryOn;
}

}  // namespace kalvitra::ui
